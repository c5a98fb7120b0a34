#include "CliRun.h"

#include "cli/Command.h"
#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

// The file's format is proved in the report tests; these check where the command writes it and
// that an error writes nothing.

namespace tepa::cli {
namespace {

using test::Outcome;
using test::readAll;

Outcome techdata(const std::vector<std::string>& args)
{
    return test::runCommand("techdata", args, TEPA_TEST_DATA_DIR);
}

// The head of the file of a room named "Bad": seven lines, Windows-1252, CR LF.
const std::string head = "\r\n\r\nTechnische Daten:   \r\n\r\n\r\nRaumbezeichnung:   Bad\r\n\r\n";

class TechdataCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectRecord p;
        p.RoomName.setText("Bad");
        p.HeatingEntryCount = 1;
        p.HeatingEntries[0].TypeName.setText("W1");
        p.HeatingEntries[0].Height = 200;
        p.HeatingEntries[0].InUse = true;
        p.HeatingFlowTemp = 70;
        ASSERT_TRUE(saveProjectFile(project, p).ok());
    }

    test::TempFolder folder{"tepa-techdata-"};
    std::filesystem::path project = folder / "Haus.orv";
};

TEST_F(TechdataCommand, WritesBesideTheProjectWithItsExtensionOrWhereTold)
{
    const auto beside = folder / "techdaten.orv", chosen = folder / "out.txt";
    for (const bool told : {false, true}) {
        SCOPED_TRACE(told);
        const Outcome r = told ? techdata({"-o", chosen.string(), project.string()}) : techdata({project.string()});
        ASSERT_EQ(r.exitCode, ExitOk) << r.err;
        EXPECT_EQ(r.out, (told ? chosen : beside).string() + "\n");
        const std::string bytes = readAll(told ? chosen : beside);
        EXPECT_EQ(bytes.rfind(head + "Auslegung f\xFCr H E I Z U N G\r\n", 0), 0u) << bytes;
        EXPECT_NE(bytes.find("\r\nH\xF6he:\t200\t mm\r\n"), std::string::npos);
        EXPECT_EQ(folder.fileCount(), 2u); // the project and the one file written
        std::filesystem::remove(told ? chosen : beside);
    }
}

} // namespace
} // namespace tepa::cli
