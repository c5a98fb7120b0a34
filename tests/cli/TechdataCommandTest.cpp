#include "CliRun.h"

#include "cli/Command.h"
#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The file's format is proved in the report tests; these check where the command writes it and
// that an error writes nothing.

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

using test::Outcome;

Outcome techdata(const std::vector<std::string>& args)
{
    return test::runCommand("techdata", args, TEPA_TEST_DATA_DIR);
}

std::string readAll(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The head of the file of a room named "Bad": seven lines, Windows-1252, CR LF.
const std::string head = "\r\n\r\nTechnische Daten:   \r\n\r\n\r\nRaumbezeichnung:   Bad\r\n\r\n";

class TechdataCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("tepa-techdata-" + std::to_string(std::random_device()()));
        fs::create_directories(folder);
        ProjectRecord p;
        p.RoomName.setText("Bad");
        p.HeatingEntryCount = 1;
        p.HeatingEntries[0].TypeName.setText("W1");
        p.HeatingEntries[0].Height = 200;
        p.HeatingEntries[0].InUse = true;
        p.HeatingFlowTemp = 70;
        project = folder / "Haus.orv";
        ASSERT_TRUE(saveProjectFile(project, p).ok());
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    std::size_t filesInFolder() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
    fs::path project;
};

TEST_F(TechdataCommand, WritesBesideTheProjectWithItsExtension)
{
    const Outcome r = techdata({project.string()});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    const fs::path written = folder / "techdaten.orv";
    EXPECT_EQ(r.out, written.string() + "\n");
    const std::string bytes = readAll(written);
    EXPECT_EQ(bytes.rfind(head + "Auslegung f\xFCr H E I Z U N G\r\n", 0), 0u) << bytes;
    EXPECT_NE(bytes.find("\r\nH\xF6he:\t200\t mm\r\n"), std::string::npos);
}

TEST_F(TechdataCommand, OutputOptionNamesTheFile)
{
    const fs::path target = folder / "out.txt";
    const Outcome r = techdata({"-o", target.string(), project.string()});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(readAll(target).rfind(head, 0), 0u);
    EXPECT_FALSE(fs::exists(folder / "techdaten.orv"));
}

TEST_F(TechdataCommand, ErrorsWriteNothing)
{
    std::ofstream(folder / "Datei") << "not a folder";
    const std::string missing = (folder / "fehlt.kon").string();
    const std::string blocked = (folder / "Datei" / "t.txt").string();
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    };
    const Case cases[] = {
        {{missing}, ExitBadInput, "tepa techdata: Datei " + missing + " kann nicht geöffnet werden\n"},
        {{project.string(), "-o", blocked}, ExitBadInput, "tepa techdata: " + blocked + ": "},
        {{}, ExitUsage, "usage: tepa techdata PROJECT.kon [-o FILE]\n"},
        {{project.string(), "-o"}, ExitUsage, "tepa techdata: option --output needs a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome r = techdata(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        EXPECT_EQ(filesInFolder(), 2u); // the project and the blocking file only
    }
}

} // namespace
} // namespace tepa::cli
