// Where the programs look for their installation data (shared by both), given their folder.
#include "core/productdata/DataFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(DataFolder, BesideTheProgramThenThePrefixThenTheBuiltInFolder)
{
    struct Case
    {
        const char* what;
        const char* texts;    // the folder under <prefix> that holds the texts, if any
        const char* empty;    // a folder under <prefix> that exists without the texts, if any
        const char* expected; // relative to <prefix>, or the built-in folder
    };
    const fs::path builtIn = "/opt/somewhere/share/tepa/data";
    const Case cases[] = {
        {"a build tree: data beside the program", "bin/data", nullptr, "bin/data"},
        {"beside wins over an install prefix around it", "bin/data", "share/tepa/data", "bin/data"},
        {"an install prefix unpacked anywhere", "share/tepa/data", nullptr, "share/tepa/data"},
        {"a data folder without the texts is passed over", "share/tepa/data", "bin/data", "share/tepa/data"},
        {"nothing found: the prefix the program was built for", nullptr, "bin/data", builtIn.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path prefix = fs::path(testing::TempDir()) / ("tepa-datafolder-" + std::to_string(&c - cases));
        fs::remove_all(prefix);
        fs::create_directories(prefix / "bin");
        if (c.empty)
            fs::create_directories(prefix / c.empty);
        if (c.texts) {
            fs::create_directories(prefix / c.texts);
            std::ofstream(prefix / c.texts / "tepatext.txt") << "00 ORVA TEPA\n";
        }
        // The folder as a program reports it may end in a separator.
        for (const fs::path& bin : {prefix / "bin", prefix / "bin" / ""})
            EXPECT_EQ(tepa::findDataFolder(bin, builtIn).string(), (prefix / c.expected).string());
        fs::remove_all(prefix);
    }
}
