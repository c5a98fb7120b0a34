#include "CliRun.h"

#include "cli/Command.h"
#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

namespace tepa::cli {
namespace {

using test::Outcome;

Outcome list(const std::vector<std::string>& args)
{
    return test::runCommand("list", args, TEPA_TEST_DATA_DIR);
}

class ListCommand : public ::testing::Test
{
protected:
    std::string save(const std::string& name, const ProjectRecord& record)
    {
        const auto file = folder / name;
        EXPECT_TRUE(saveProjectFile(file, record).ok());
        return file.string();
    }

    test::TempFolder folder{"tepa-list-"};
};

TEST_F(ListCommand, PrintsTheListLinesInUtf8WithoutHeadings)
{
    ProjectRecord p;
    p.RoomCount = 1;
    p.HeatingEntryCount = 2;
    p.CoolingEntryCount = 1;
    const char* heatingTypes[] = {"Wä1", "WF2"};
    for (std::size_t k = 0; k < 2; ++k) {
        p.HeatingEntries[k].TypeName.setText(heatingTypes[k]);
        p.HeatingEntries[k].Height = 110;
        p.HeatingEntries[k].Length = 1250;
        p.HeatingEntries[k].Count = 2;
        p.HeatingEntries[k].InUse = true;
    }
    p.CoolingEntries[0].TypeName.setText("WF2");
    p.CoolingEntries[0].Height = 110;
    p.CoolingEntries[0].Length = 1250;
    p.CoolingEntries[0].Count = 3;

    const Outcome r = list({save("Haus.kon", p)});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.err, "");
    // "ä" is one character of the list and two bytes of UTF-8; the count column stays at 36.
    EXPECT_EQ(r.out, "   Wä1 /   110 /  1250             2\n"
                     "   WF2 /   110 /  1250             3\n");

    const Outcome fresh = list({TEPA_TEST_DATA_DIR "/new-project.kon"}); // no named entries
    EXPECT_EQ(fresh.exitCode, ExitOk) << fresh.err;
    EXPECT_EQ(fresh.out + fresh.err, "");
}

} // namespace
} // namespace tepa::cli
