#include "core/calculation/TypeChoice.h"

#include "SessionFixture.h"

#include "core/calculation/UpdateCycle.h"
#include "core/engine/AirSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

using test::describe;

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

// Each load lists the types of its kind (cooling only the series that can cool) and marks the
// entry's kind; a pick offers the heights of its series, preselects one and sets the entry's
// name (heating: the item cut to 10 characters; cooling: up to the first blank), height and
// height factor; a ceiling unit is built in one height in both modes. In dual use a heating type
// without a cooling rating is queried.
TEST(TypeChoice, ListsAndPicksOfEachKind)
{
    test::Golden golden;
    struct Case
    {
        bool forced, heatingMode, dualUse;
        const char* type;
    };
    const Case cases[] = {
        {false, true, false, "W1"},   {false, true, true, "W1"},      {false, true, false, "WM"},
        {true, true, true, "WFW-2L"}, {true, true, false, "WFWL-2L"}, {true, true, true, "DWF"},
        {true, true, true, "WNF1"},   {true, false, false, "WFW-4L"}, {true, false, false, "DWF"}};
    for (const Case& c : cases) {
        Session s = test::designSession();
        s.HeatingMode = c.heatingMode;
        s.HeatingDualUseOn = c.dualUse;
        s.currentHeatingEntry().FreeConvection = c.forced;
        s.currentHeatingEntry().HeightFactor = s.currentCoolingEntry().HeightFactor = 0.5;
        s.currentCoolingEntry().Height = 80;
        const TypeListView list = loadTypeList(s, c.forced);
        golden(c.type, c.forced, c.heatingMode, c.dualUse, list.error, list.types, list.captionLine,
               list.coolingNoteShown, list.messages, s.currentHeatingEntry().FreeConvection,
               s.currentHeatingEntry().FreeConvectionB);
        const TypeChosenView v = pick(s, c.forced, c.type);
        golden("  pick", v.lengths, v.heights ? v.heights->size() : 0, v.heightRow, v.messages, v.error,
               v.otherModeRatingHidden, v.weiterEnabled, v.description);
        const auto entry = [&](const auto& e) {
            golden("  entry", e.TypeName.text(), e.Height, e.HeightFactor, e.TypeText1.text().size(),
                   e.TypeText2.text().size());
        };
        entry(s.currentHeatingEntry());
        entry(s.currentCoolingEntry());
    }
}

// A load cut at the table size says so; a missing file changes nothing; a single length is
// chosen at once; an entry beyond the table or its blocks is reported and the entry keeps its type.
TEST(TypeChoice, UnusualTypeFiles)
{
    test::Golden golden;
    Session s = test::designSession();
    const auto chosen = [&](const std::string& label, const TypeChosenView& v) {
        golden(label, v.error, v.lengths, v.weiterEnabled, v.description,
               s.currentHeatingEntry().TypeName.text(), s.currentHeatingEntry().Length);
    };
    // Installations of 21 W3 types of two lengths, and of one W3 of a single length.
    const std::filesystem::path data = TEPA_TEST_DATA_DIR "/calculation";
    s.ProgramDir = data / "cut-install";
    const TypeListView cut = loadTypeList(s, false);
    golden("21 types", cut.types.size(), cut.messages);

    s.currentHeatingEntry().TypeName.setText("W4");
    s.FreeTypeTable.at(1).TypeCount = 40; // its data line would lie beyond the table
    chosen("beyond the table", chooseType(s, 0, "W3"));
    chosen("beyond the list", chooseType(s, static_cast<int>(TypeTable::Size), "W9"));
    chosen("no row", chooseType(s, -1, ""));

    s.ProgramDir = data; // no free-type file
    s.currentHeatingEntry().FreeConvection = false;
    const TypeListView missing = loadTypeList(s, false);
    golden("missing file", missing.error.has_value(), missing.types, s.currentHeatingEntry().FreeConvection);

    s.ProgramDir = data / "single-install";
    chosen("a single length", pick(s, false, "W3"));
}

// ---- "weiter" ----

// Each fan starts by its series (a ceiling unit keeps its stage); the end of "weiter" shows the
// stages and the third value of the series listed.
TEST(Weiter, FanStartAndEndByTheSeries)
{
    test::Golden golden;
    for (const char* name : {"W1", "WF2", "WNF1", "WFW-2L", "WFWL-2L", "DWF"}) {
        const HeatingFanStart h = heatingFanStart(name);
        const CoolingFanStart k = coolingFanStart(name);
        golden(name, h.fanSpeed, h.settingText, h.settingFixed, h.keepsPreviousSpeed, k.fanSpeed,
               k.settingText, k.fixedText, k.keepsPreviousSpeed);
        for (const char* heating : {"W1", "DWF"}) {
            Session s = test::designSession();
            s.currentHeatingEntry().TypeName.setText(heating);
            s.currentCoolingEntry().TypeName.setText(name);
            const WeiterEnd end = weiterEnd(s);
            golden(std::string("  end after ") + heating, end.heatingStagesShown, end.coolingStagesShown,
                   end.thirdValueLine, end.thirdValueShown);
        }
    }
}

// The first entry starts in the middle of its window; an added one takes over the held quantity
// of the one before and starts at rest; a list emptied by deleting starts again in the middle; a
// return temperature above the flow is confirmed (set to the window's end) or leaves the entry
// unfinished.
TEST(Weiter, TheHeatingEntryStartsInTheMiddleOrAtTheHeldQuantityOfTheOneBefore)
{
    test::Golden golden;
    const auto never = [](std::size_t) {
        ADD_FAILURE() << "no question expected";
        return false;
    };
    Session s = test::designSession();
    HeatingEntry& first = s.Project.HeatingEntries[0];
    HeatingEntry& added = s.Project.HeatingEntries[1];
    const auto started = [&](const std::string& label, const HeatingEntryStart& start) {
        golden(label, start.confirmed, start.speedChangeEnded, first.ReturnTemp, first.InUse,
               added.ReturnTemp, added.MassFlow, added.FanSpeed, s.CentreReturnTemp,
               s.Project.HeatingEntryCount);
    };
    first.ReturnTempStart = 35, first.ReturnTempEnd = 74;
    s.CentreReturnTemp = true;
    started("first", startHeatingEntry(s, never));
    for (int held : {1, 0}) {
        s.Project.ReturnTempFixed = held;
        s.EntryBeingAdded = true;
        s.HeatingEntryIndex = 2;
        added.ReturnTemp = 40, added.MassFlow = 10, added.FanSpeed = 900;
        first.MassFlow = 33;
        started("added, held " + std::to_string(held), startHeatingEntry(s, never));
    }
    s.EntryBeingAdded = false;
    s.HeatingEntryIndex = 1;
    s.EntryDeleted = true;
    first.ReturnTemp = 70;
    started("after deleting", startHeatingEntry(s, never));

    for (bool yes : {false, true}) {
        Session above = test::designSession();
        above.currentHeatingEntry().ReturnTemp = 80;
        std::vector<std::size_t> asked;
        const HeatingEntryStart start = startHeatingEntry(above, [&](std::size_t line) {
            asked.push_back(line);
            return yes;
        });
        golden("above the flow", yes, asked, start.confirmed, above.currentHeatingEntry().ReturnTemp);
    }
}

} // namespace
} // namespace tepa::calculation
