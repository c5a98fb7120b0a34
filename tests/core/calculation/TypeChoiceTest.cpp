#include "core/calculation/TypeChoice.h"

#include "SessionFixture.h"

#include "core/calculation/UpdateCycle.h"
#include "core/engine/AirSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

using test::describe;

// ---- Type lists ----

TEST(TypeChoice, EachLoadListsItsTypesAndMarksTheEntrysKind)
{
    struct Case
    {
        bool forced, heatingMode;
        int count;
        const char* first;
        std::size_t caption;
        std::optional<bool> coolingNote;
    };
    const Case cases[] = {
        {false, true, 6, "W1", FreeListText, std::nullopt},
        {true, true, 12, "WF1", ForcedListText, false},
        // Cooling lists only the series that can cool: WFW and WFWL in two builds, three WNF, DWF.
        {true, false, 8, "WFW-2L", ForcedListText, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        Session s = test::designSession();
        s.HeatingMode = c.heatingMode;
        s.currentHeatingEntry().FreeConvection = c.forced;
        const TypeListView v = loadTypeList(s, c.forced);
        EXPECT_FALSE(v.error);
        ASSERT_EQ(v.types.size(), static_cast<std::size_t>(c.count));
        EXPECT_EQ(v.types.front().rfind(c.first, 0), 0u);
        EXPECT_EQ(v.captionLine, c.caption);
        EXPECT_EQ(v.coolingNoteShown, c.coolingNote);
        EXPECT_TRUE(v.messages.empty());
        EXPECT_EQ(s.currentHeatingEntry().FreeConvection, !c.forced);
        EXPECT_EQ(s.currentHeatingEntry().FreeConvectionB, !c.forced);
    }
}

TEST(TypeChoice, ALoadCutAtTheTableSizeSaysSoAndAMissingFileChangesNothing)
{
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "typechoice-install";
    std::filesystem::create_directories(dir);
    {
        std::ofstream out(dir / FreeTypeFileName, std::ios::binary);
        out << "Freie Konvektion\r\n";
        for (int i = 0; i < 21; ++i)
            out << "W1\r\n";
        out << "\r\n";
        for (int i = 0; i < 21; ++i)
            out << "0800 1000\r\n";
        out << "Typdaten\r\n";
        for (int i = 0; i < 21; ++i)
            out << "  4.50  1.300 13.0      2   1              0.0   0.0    13.0      2   1\r\n";
    }
    Session s = test::designSession();
    s.ProgramDir = dir;
    const TypeListView cut = loadTypeList(s, false);
    EXPECT_EQ(cut.types.size(), 20u);
    EXPECT_EQ(cut.messages, std::vector<std::size_t>{TypeListCutTextLine});

    std::filesystem::remove(dir / FreeTypeFileName);
    s.currentHeatingEntry().FreeConvection = false;
    const TypeListView missing = loadTypeList(s, false);
    EXPECT_TRUE(missing.error);
    EXPECT_TRUE(missing.types.empty());
    EXPECT_FALSE(s.currentHeatingEntry().FreeConvection);
}

// ---- Type, length and height ----

// Loads the list of the kind and picks the type whose item starts with `prefix`.
TypeChosenView pick(Session& s, bool forced, const std::string& prefix)
{
    const TypeListView list = loadTypeList(s, forced);
    for (std::size_t row = 0; row < list.types.size(); ++row)
        if (list.types[row].rfind(prefix, 0) == 0)
            return chooseType(s, static_cast<int>(row), list.types[row]);
    ADD_FAILURE() << "no type " << prefix;
    return {};
}

// The heights a series offers, which is preselected, and the height factor of the pick.
TEST(TypeChoice, ATypePickOffersTheHeightsOfItsSeries)
{
    struct Case
    {
        bool forced, heatingMode;
        const char* type;
        std::size_t heightCount;
        int heightRow;
        double height, factor;
        const char* name; // as the entry keeps it
        std::size_t lengthCount;
    };
    const Case cases[] = {
        {false, true, "W1", 0, 1, 100, 0.79, "W1", 5}, // every height line
        {false, true, "WM", 1, 0, 100, 1, "WM", 0},
        {true, true, "WFW-2L", 1, 0, 220, 1, "WFW-2L Zwe", 0}, // the item cut to 10 characters
        {true, true, "WFWL-2L", 1, 0, 360, 1, "WFWL-2L Zw", 0},
        {true, true, "DWF", 1, 0, 500, 1, "DWF Decken", 0}, // one height, not in the list
        {true, false, "WFW-4L", 1, 0, 220, 1, "WFW-4L", 0}, // cooling: the name up to the first blank
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Session s = test::designSession();
        s.HeatingMode = c.heatingMode;
        s.currentHeatingEntry().HeightFactor = 0.5;
        const TypeChosenView v = pick(s, c.forced, c.type);
        EXPECT_FALSE(v.error);
        ASSERT_TRUE(v.heights);
        EXPECT_EQ(v.heights->size(), c.heightCount ? c.heightCount : s.HeightList.size());
        EXPECT_EQ(v.heightRow, c.heightRow);
        if (c.lengthCount) {
            EXPECT_EQ(v.lengths.size(), c.lengthCount);
        }
        EXPECT_FALSE(v.weiterEnabled);
        if (c.heatingMode) {
            const HeatingEntry& e = s.currentHeatingEntry();
            EXPECT_EQ(e.TypeName.text(), c.name);
            EXPECT_DOUBLE_EQ(e.Height, c.height);
            EXPECT_DOUBLE_EQ(e.HeightFactor, c.factor);
            EXPECT_FALSE(e.TypeText1.text().empty());
            EXPECT_TRUE(v.otherModeRatingHidden);
        } else {
            const CoolingEntry& e = s.currentCoolingEntry();
            EXPECT_EQ(e.TypeName.text(), c.name);
            EXPECT_DOUBLE_EQ(e.Height, c.height);
            EXPECT_FALSE(e.TypeText2.text().empty());
            EXPECT_TRUE(s.currentHeatingEntry().TypeText1.text().empty()); // heating untouched
        }
    }
    // A ceiling unit is built in one height in both modes.
    Session s = test::designSession();
    s.currentCoolingEntry().Height = 80;
    pick(s, true, "DWF");
    EXPECT_DOUBLE_EQ(s.currentCoolingEntry().Height, 500);
    EXPECT_DOUBLE_EQ(s.currentCoolingEntry().HeightFactor, 1);
}

TEST(TypeChoice, LengthAndHeightPicksSetTheEntry)
{
    Session s = test::designSession();
    s.FreeTypeChosen = true;
    s.ChosenTypeRow = "W2";
    const TypeChosenView v = pick(s, false, "W2"); // first in its list
    EXPECT_DOUBLE_EQ(s.currentHeatingEntry().HeightFactor, 0.77);
    const std::string description = chooseLength(s, v.lengths.at(2));
    EXPECT_DOUBLE_EQ(s.currentHeatingEntry().Length, 1200);
    EXPECT_EQ(description, entryDescription(s.InterfaceTexts, "W2", 100, 1200));
    // The factor column belongs to the series, whatever place the type has in the list.
    EXPECT_FALSE(chooseHeight(s, s.HeightList.at(7))); // 200 mm
    EXPECT_DOUBLE_EQ(s.currentHeatingEntry().Height, 200);
    EXPECT_DOUBLE_EQ(s.currentHeatingEntry().HeightFactor, 1.05);

    // In cooling the length names the cooling entry and the factor is the cooling entry's.
    s.HeatingMode = false;
    describe(s.currentCoolingEntry(), "WFW-4L", true, 0);
    EXPECT_EQ(chooseLength(s, "2750").rfind("WFW-4L ", 0), 0u);
    EXPECT_DOUBLE_EQ(s.currentCoolingEntry().Length, 2750);
    chooseHeight(s, s.HeightList.at(0));
    EXPECT_DOUBLE_EQ(s.currentCoolingEntry().HeightFactor, 0.69); // the W2 column at 80 mm
}

TEST(TypeChoice, ASingleLengthIsChosenAtOnce)
{
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "typechoice-single";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(test::FixtureInstall / HeightFileName, dir / HeightFileName,
                               std::filesystem::copy_options::overwrite_existing);
    {
        std::ofstream out(dir / FreeTypeFileName, std::ios::binary);
        out << "Freie Konvektion\r\nW3\r\n\r\n1500\r\nTypdaten\r\n"
            << "  4.50  1.300 13.0      2   1              0.0   0.0    13.0      2   1\r\n";
    }
    Session s = test::designSession();
    s.ProgramDir = dir;
    const TypeChosenView v = pick(s, false, "W3");
    EXPECT_TRUE(v.weiterEnabled);
    EXPECT_DOUBLE_EQ(s.currentHeatingEntry().Length, 1500);
    ASSERT_TRUE(v.description);
    EXPECT_EQ(v.description->substr(v.description->size() - 9), "[mm] 1500");
}

// In dual use a heating type without a cooling rating is queried; a type that cools is not.
TEST(TypeChoice, ATypeThatCannotCoolIsQueriedInDualUse)
{
    Session s = test::designSession();
    s.HeatingDualUseOn = true;
    EXPECT_EQ(pick(s, false, "W1").messages, std::vector<std::size_t>{CannotCoolText});
    for (const char* type : {"WFW-2L", "WNF1", "DWF"})
        EXPECT_TRUE(pick(s, true, type).messages.empty()) << type;
    s.HeatingDualUseOn = false;
    EXPECT_TRUE(pick(s, false, "W1").messages.empty());
}

TEST(TypeChoice, AnUnreadableTableEntryIsReportedAndTheEntryKeepsItsType)
{
    Session s = test::designSession();
    s.currentHeatingEntry().TypeName.setText("W4");
    const TypeChosenView v = chooseType(s, static_cast<int>(TypeTable::Size), "W9"); // beyond the table
    EXPECT_TRUE(v.error);
    EXPECT_TRUE(v.lengths.empty());
    EXPECT_EQ(s.currentHeatingEntry().TypeName.text(), "W4");
    EXPECT_TRUE(chooseType(s, -1, "").lengths.empty());
}

TEST(TypeChoice, LeavingTheTypePanelShowsThePreparedHeatingPanel)
{
    Session s = test::designSession();
    EXPECT_FALSE(leaveTypePanel(s).heatingPanelShown);
    s.HeatingPanelReady = true;
    EXPECT_TRUE(leaveTypePanel(s).heatingPanelShown);
}

// ---- "weiter" ----

TEST(Weiter, TheFanOfANewEntryStartsByItsSeries)
{
    struct Case
    {
        const char* name;
        double heatingSpeed;
        const char* heatingText;
        bool fixed;
        std::optional<double> coolingSpeed;
        std::optional<std::string> coolingText, coolingFixed;
    };
    const Case cases[] = {
        {"W1", 0, "0", false, 0.0, "0", std::nullopt},
        {"WF2", 0, "0", false, 0.0, "0", std::nullopt},
        {"WNF2", 0, "0", false, 0.0, "0", std::nullopt},
        {"WFW-2L", 700, "44", false, 700.0, std::nullopt, std::nullopt},
        {"WFWL-2L", 345, "30", true, 345.0, std::nullopt, "30"},
        {"DWF", 0, "0", false, std::nullopt, std::nullopt, std::nullopt}, // keeps its stage
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HeatingFanStart h = heatingFanStart(c.name);
        EXPECT_DOUBLE_EQ(h.fanSpeed, c.heatingSpeed);
        EXPECT_EQ(h.settingText, c.heatingText);
        EXPECT_EQ(h.settingFixed, c.fixed);
        EXPECT_EQ(h.keepsPreviousSpeed, c.fixed);
        const CoolingFanStart k = coolingFanStart(c.name);
        EXPECT_EQ(k.fanSpeed, c.coolingSpeed);
        EXPECT_EQ(k.settingText, c.coolingText);
        EXPECT_EQ(k.fixedText, c.coolingFixed);
    }
}

TEST(Weiter, ACoolingEntryStartsTwoKelvinAboveTheFlowAndWarnsOfCondensation)
{
    Session s = test::designSession();
    describe(s.currentCoolingEntry(), "WFW-2L", true, 1250);
    CoolingReturnStart r = coolingReturnStart(s);
    EXPECT_EQ(r.minimum, 16);
    EXPECT_EQ(r.maximum, 28);
    EXPECT_EQ(r.value, 18);
    EXPECT_EQ(r.text, "18");
    EXPECT_TRUE(r.shown);
    s.currentCoolingEntry().TypeName.setText("WNF2");
    EXPECT_FALSE(coolingReturnStart(s).shown);

    // 16 °C at 26 °C and 40 % is above the condensation limit; 12 °C at 70 % is not.
    EXPECT_FALSE(dewPointWarning(s.Project));
    s.Project.CoolingHumidity = 70;
    s.Project.CoolingFlowTemp = 12;
    const auto warning = dewPointWarning(s.Project);
    ASSERT_TRUE(warning);
    const engine::DewPointResult dew = engine::Taupunkt(26, 70);
    EXPECT_EQ(warning->dewPointText, strFixed(dew.dewPointC, 0, 1));
    EXPECT_EQ(warning->lowestFlowText, strFixed(engine::dewPointFlowLimit(26, dew.dewPointC), 0, 1));
    EXPECT_EQ(coolingReturnStart(s).text, "14");
}

TEST(Weiter, TheHeatingEntryStartsInTheMiddleOrAtTheHeldQuantityOfTheOneBefore)
{
    const auto never = [](std::size_t) {
        ADD_FAILURE() << "no question expected";
        return false;
    };
    Session s = test::designSession();
    HeatingEntry& first = s.Project.HeatingEntries[0];
    first.ReturnTempStart = 35, first.ReturnTempEnd = 74;
    s.CentreReturnTemp = true;
    EXPECT_TRUE(startHeatingEntry(s, never).confirmed);
    EXPECT_DOUBLE_EQ(first.ReturnTemp, 54.5);
    EXPECT_TRUE(first.InUse);
    EXPECT_FALSE(s.CentreReturnTemp);

    // An added entry takes over the held quantity of the one before and starts at rest.
    for (int held : {1, 0}) {
        s.Project.ReturnTempFixed = held;
        s.EntryBeingAdded = true;
        s.HeatingEntryIndex = 2;
        HeatingEntry& added = s.Project.HeatingEntries[1];
        added.ReturnTemp = 40, added.MassFlow = 10, added.FanSpeed = 900;
        first.MassFlow = 33;
        startHeatingEntry(s, never);
        EXPECT_DOUBLE_EQ(added.ReturnTemp, held ? 54.5 : 40);
        EXPECT_DOUBLE_EQ(added.MassFlow, held ? 10 : 33);
        EXPECT_DOUBLE_EQ(added.FanSpeed, 0);
    }

    // A list emptied by deleting starts again in the middle.
    s.EntryBeingAdded = false;
    s.HeatingEntryIndex = 1;
    s.EntryDeleted = true;
    first.ReturnTemp = 70;
    EXPECT_TRUE(startHeatingEntry(s, never).speedChangeEnded);
    EXPECT_DOUBLE_EQ(first.ReturnTemp, 54.5);
    EXPECT_EQ(s.Project.HeatingEntryCount, 1);
}

TEST(Weiter, AReturnTemperatureAboveTheFlowIsConfirmedOrLeavesTheEntryUnfinished)
{
    for (bool yes : {false, true}) {
        Session s = test::designSession();
        s.currentHeatingEntry().ReturnTemp = 80;
        std::vector<std::size_t> asked;
        const HeatingEntryStart start = startHeatingEntry(s, [&](std::size_t line) {
            asked.push_back(line);
            return yes;
        });
        EXPECT_EQ(asked, std::vector<std::size_t>{ReturnAboveFlowText});
        EXPECT_EQ(start.confirmed, yes);
        EXPECT_DOUBLE_EQ(s.currentHeatingEntry().ReturnTemp, yes ? 74 : 80);
    }
}

TEST(Weiter, TheEndShowsTheStagesAndTheThirdValueOfTheListedSeries)
{
    struct Case
    {
        const char* heating;
        const char* cooling;
        bool heatingStages, coolingStages;
        std::size_t third;
    };
    for (const Case& c : {Case{"W1", "WFW-2L", false, false, 190}, Case{"DWF", "DWF", true, true, 190},
                          Case{"WF2", "WNF1", false, false, 208}}) {
        SCOPED_TRACE(c.cooling);
        Session s = test::designSession();
        s.currentHeatingEntry().TypeName.setText(c.heating);
        s.currentCoolingEntry().TypeName.setText(c.cooling);
        const WeiterEnd end = weiterEnd(s);
        EXPECT_EQ(end.heatingStagesShown, c.heatingStages);
        EXPECT_EQ(end.coolingStagesShown, c.coolingStages);
        EXPECT_EQ(end.thirdValueLine, c.third);
        EXPECT_EQ(end.thirdValueShown, c.third == 190);
    }
}

} // namespace
} // namespace tepa::calculation
