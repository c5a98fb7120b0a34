// Where the programs look for their installation data, given the folder they run from.
#include "core/productdata/DataFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A fresh folder for one case, removed afterwards.
struct TempFolder
{
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tepa-datafolder-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    fs::path path;
};

void makeInstallation(const fs::path& dir)
{
    fs::create_directories(dir);
    std::ofstream(dir / "tepatext.txt") << "00 ORVA TEPA\n";
}

TEST(DataFolder, BesideTheProgramThenThePrefixThenTheBuiltInFolder)
{
    struct Case
    {
        const char* what;
        bool beside;          // <prefix>/bin/data holds the texts
        bool besideEmpty;     // <prefix>/bin/data exists without the texts
        bool prefixShare;     // <prefix>/share/tepa/data holds the texts
        const char* expected; // relative to <prefix>, or "built-in"
    };
    const Case cases[] = {
        {"a build tree: data beside the program", true, false, false, "bin/data"},
        {"beside wins over an install prefix around it", true, false, true, "bin/data"},
        {"an install prefix unpacked anywhere", false, false, true, "share/tepa/data"},
        {"a data folder without the texts is passed over", false, true, true, "share/tepa/data"},
        {"nothing found: the prefix the program was built for", false, true, false, "built-in"},
    };
    const fs::path builtIn = "/opt/somewhere/share/tepa/data";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder prefix;
        fs::create_directories(prefix.path / "bin");
        if (c.beside)
            makeInstallation(prefix.path / "bin" / "data");
        if (c.besideEmpty)
            fs::create_directories(prefix.path / "bin" / "data");
        if (c.prefixShare)
            makeInstallation(prefix.path / "share" / "tepa" / "data");

        const fs::path expected = std::string(c.expected) == "built-in" ? builtIn : prefix.path / c.expected;
        EXPECT_EQ(tepa::findDataFolder(prefix.path / "bin", builtIn).string(), expected.string());
        // The folder as a program reports it may end in a separator.
        EXPECT_EQ(tepa::findDataFolder(prefix.path / "bin" / "", builtIn).string(), expected.string());
    }
}

} // namespace
