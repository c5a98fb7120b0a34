#include "CliRun.h"
#include "cli/Command.h"
#include "cli/Json.h"
#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

namespace tepa::cli {
namespace {

struct Unit
{
    const char* type;
    double height, length, output;
    int count;
    double pressureDrop = 1000;
};

template <class Entries>
void fill(Entries& entries, std::int32_t& entryCount, std::initializer_list<Unit> units)
{
    entryCount = static_cast<std::int32_t>(units.size());
    std::size_t k = 0;
    for (const Unit& u : units) {
        auto& e = entries[k++];
        e.TypeName.setText(u.type);
        e.Height = u.height;
        e.Length = u.length;
        e.Output = u.output;
        e.Count = u.count;
        e.PressureDrop = u.pressureDrop;
    }
}

// A building of hand-built rooms: a dual-use room (heating and cooling on the same units, which
// its own list counts once), a heating room sharing a key with it, a room without entries, and
// a file that is no project. The rooms' figures and the bill follow from the entries by hand.
class Summary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ProjectRecord dual;
        dual.RoomCount = 1;
        dual.RoomName.setText("Büro 1");
        dual.HeatingDemand = 2000;
        dual.CoolingDemand = 1500;
        fill(dual.HeatingEntries, dual.HeatingEntryCount, {{"WFW-2L", 220, 2000, 600, 2}});
        fill(dual.CoolingEntries, dual.CoolingEntryCount, {{"WFW-2L", 220, 2000, 500, 3, 150000}});
        ASSERT_TRUE(saveProjectFile(folder / "1-dual.kon", dual).ok());

        ProjectRecord heating;
        heating.RoomCount = 1;
        heating.RoomName.setText("Flur");
        heating.HeatingDemand = 1000;
        fill(heating.HeatingEntries, heating.HeatingEntryCount,
             {{"WFW-2L", 220, 2000, 400, 1}, {"W1", 100, 1000, 300, 2}, {"W1", 100, 1000, 300, 1}});
        ASSERT_TRUE(saveProjectFile(folder / "2-heating.KON", heating).ok());

        ProjectRecord empty;
        empty.RoomCount = 1;
        empty.RoomName.setText("Lager");
        ASSERT_TRUE(saveProjectFile(folder / "3-empty.kon", empty).ok());
        std::ofstream(folder / "4-damaged.kon") << "no project";
        std::ofstream(folder / "notes.txt") << "not listed";
    }
    test::TempFolder folder{"tepa-summary-"};
};

TEST_F(Summary, ListsEveryRoomAndSumsTheBillOverRooms)
{
    const auto r = test::runTepa({"summary", folder.path().string(), "--csv"});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    const std::string f = folder.path().string() + "/";
    EXPECT_EQ(r.out,
              "file,room,heatingDemand,coolingDemand,heatingInstalled,coolingInstalled,heatingResidual,"
              "coolingResidual,units,warnings,error\n" +
                  f + "1-dual.kon,Büro 1,2000,1500,1200,1500,800,0,3,"
                      "cooling entry 1 (WFW-2L): pressure drop above 100 kPa; heating demand not covered,\n" +
                  f + "2-heating.KON,Flur,1000,0,1300,0,-300,0,4,,\n" + //
                  f + "3-empty.kon,Lager,0,0,0,0,0,0,0,,\n" +           //
                  f + "4-damaged.kon,,,,,,,,,,Loading - Error\n" +
                  "\ntype,height,length,count\n"
                  "WFW-2L,220,2000,4\n"
                  "W1,100,1000,3\n");
    EXPECT_NE(r.err.find("4-damaged.kon: Loading - Error"), std::string::npos) << r.err;
}

// The JSON form holds the same figures; a damaged file named on its own is listed too.
TEST_F(Summary, JsonAndTextFormsHoldTheSameRooms)
{
    const auto json = test::runTepa({"summary", (folder / "1-dual.kon").string(), (folder / "4-damaged.kon").string(), "--json"});
    ASSERT_EQ(json.exitCode, ExitOk) << json.err;
    const auto document = Json::parse(json.out);
    EXPECT_EQ(document["rooms"][0]["room"], "Büro 1");
    EXPECT_EQ(document["rooms"][0]["heatingResidual"], 800);
    EXPECT_EQ(document["rooms"][0]["warnings"].size(), 2u);
    EXPECT_EQ(document["rooms"][1]["error"], "Loading - Error");
    EXPECT_EQ(document["convectors"], Json::parse(R"([{"type":"WFW-2L","height":220,"length":2000,"count":3}])"));

    const auto text = test::runTepa({"summary", (folder / "3-empty.kon").string()});
    ASSERT_EQ(text.exitCode, ExitOk) << text.err;
    EXPECT_EQ(text.out, folder.path().string() + "/3-empty.kon\n"
                        "  Room              Lager\n"
                        "  Heating  demand       0 W, installed       0 W, residual       0 W\n"
                        "  Cooling  demand       0 W, installed       0 W, residual       0 W\n"
                        "  Units             0\n"
                        "\nConvectors of the building\n");
}

// The PDF holds the same lines, drawn by the printouts' layout: each room line, the reason of the
// damaged file, the warnings and the bill.
TEST_F(Summary, PdfHoldsEveryRoomLineAndTheBill)
{
    test::TempFolder out{"tepa-summary-pdf-"};
    const std::string pdf = (out / "building.pdf").string();
    const auto r = test::runTepa({"summary", folder.path().string(), "--pdf", pdf});
    ASSERT_EQ(r.exitCode, ExitOk) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string command = "pdftotext -layout '" + pdf + "' '" + (out / "text").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "pdftotext (package poppler-utils) failed";
    const std::string text = std::regex_replace(test::readAll(out / "text"), std::regex(" +"), " ");
    for (const char* line : {"1-dual.kon Büro 1 2000 1200 800 1500 1500 0 3\n",
                             "Warning: cooling entry 1 (WFW-2L): pressure drop above 100 kPa\n",
                             "2-heating.KON Flur 1000 1300 -300 0 0 0 4\n", "3-empty.kon Lager 0 0 0 0 0 0 0\n",
                             "4-damaged.kon\n not a project: Loading - Error\n", "Convectors of the building\n",
                             "WFW-2L 220 2000 4\n", "W1 100 1000 3\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in:\n" << text;
}

TEST_F(Summary, RefusesWhatItCannotSummarise)
{
    test::TempFolder nothing{"tepa-summary-empty-"};
    struct Case
    {
        std::vector<std::string> args;
        int exitCode;
        std::string message;
    };
    const Case cases[] = {
        {{"summary"}, ExitUsage, "usage: tepa summary"},
        {{"summary", folder.path().string(), "--csv", "--json"}, ExitUsage, "usage: tepa summary"},
        {{"summary", folder.path().string(), "--json", "--pdf", "x.pdf"}, ExitUsage, "usage: tepa summary"},
        {{"summary", folder.path().string(), "--pdf", (folder / "1-dual.kon").string()}, ExitBadInput, "1-dual.kon"},
        {{"summary", nothing.path().string()}, ExitBadInput, "the folder holds no *.kon file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto r = test::runTepa(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(folder.fileCount(), 5u); // nothing written
    }
}

} // namespace
} // namespace tepa::cli
