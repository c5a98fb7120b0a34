#include "SessionFixture.h"

#include "core/calculation/UpdateCycle.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

using test::describe;
using test::Golden;

void limits(Golden& golden, const HeatingLimits& l)
{
    golden("  limits", l.status, l.returnStartText, l.returnEndText, l.massStartText, l.massEndText,
           l.outputStartText, l.outputEndText, l.soundLevelText);
}

void point(Golden& golden, const HeatingUpdate& u, const HeatingEntry& e)
{
    golden("  update", u.status, u.messages, u.refusal, u.warnings, u.pressureDropText, e.ReturnTemp,
           e.MassFlow, e.Output, e.FanSpeed);
    if (u.point)
        golden("  point", u.point->returnTempText, u.point->returnTempPosition, u.point->massFlowText,
               u.point->massFlowPosition, u.point->outputText, u.point->outputPosition);
    if (u.residual)
        golden("  residual", u.residual->captionLine, u.residual->valueText, u.residual->surplus);
}

void cooling(Golden& golden, const CoolingStep& c, const CoolingEntry& e)
{
    golden("  cooling", c.applied, c.error.has_value(), c.heading.countText, c.heading.description,
           c.captions.speedHeading, c.point.rated, c.point.messages, c.massFlowLow, c.outputText, c.totalText,
           c.countText);
    golden("  entry", e.FanSpeed, e.Count, e.ReturnTemp, e.Output, e.MassFlow);
}

// A free W1 convector of 1000 mm at 75/20 °C: K = 0.7 m · 4.50 = 3.15, n = 1.3. Its window runs
// from Tr = 35 °C (m = 6.88 kg/h, Q = 320.3 W) to Tr = 74 °C (m = 489.5 kg/h, Q = 569.7 W); at
// Tr = 60 °C Q = 476.4 W and m = 27.29 kg/h. The held quantity gives the operating point; the
// fields show the entry's own output at every height factor and the residual demand counts it.
// An armed check raises a held mass flow below its window; an inverted window is refused.
TEST(HeatingCycle, TheHeldQuantityGivesTheOperatingPoint)
{
    Golden golden;
    struct Case
    {
        bool returnTempHeld;
        double heightFactor, massFlow;
        bool armed;
        double massFlowStart = 0, massFlowEnd = 0; // set after the limits when not 0
    };
    const Case cases[] = {{true, 1, 27.2904, false},  {true, 0.9, 27.2904, false},
                          {false, 1, 27.2904, false}, {false, 1, 3, false},
                          {false, 1, 3, true},        {true, 1, 27.2904, false, 100, 10}};
    for (const Case& c : cases) {
        Session s = test::designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "W1", false, 1000);
        e.Height = 200, e.HeightFactor = c.heightFactor, e.FreeConvection = true;
        e.ReturnTemp = 60, e.MassFlow = c.massFlow;
        s.Project.HeatingDemand = 1000;
        golden("W1", c.returnTempHeld, c.heightFactor, c.massFlow, c.armed, c.massFlowStart, c.massFlowEnd);
        limits(golden, update_grenzen(s, 1, c.returnTempHeld));
        golden("  held", s.Project.ReturnTempFixed, s.Project.MassFlowFixed);
        if (c.massFlowStart)
            e.MassFlowStart = c.massFlowStart, e.MassFlowEnd = c.massFlowEnd;
        point(golden, update1(s, 1, c.armed), e);
    }

    // Residual demand: twice 400 W and the second entry are listed, the third is not.
    for (double second : {200, 201, 100}) {
        ProjectRecord p;
        p.HeatingDemand = 1000;
        p.HeatingEntryCount = 2;
        p.HeatingEntries[0].Count = 2, p.HeatingEntries[0].Output = 400;
        p.HeatingEntries[1].Count = 1, p.HeatingEntries[1].Output = second;
        p.HeatingEntries[2].Count = 1, p.HeatingEntries[2].Output = 5000;
        const Residual r = Restwaerme(p);
        golden("residual", second, r.captionLine, r.valueText, r.surplus);
    }

    // After a speed change the held quantity is kept inside the new window.
    for (bool returnTempHeld : {true, false}) {
        Session s = test::designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "WF2", true, 1000, 1400);
        e.ReturnTemp = 74.9, e.MassFlow = 1e6;
        update_grenzen(s, 1, returnTempHeld);
        const SpeedChange change = afterSpeedChange(s, returnTempHeld, false);
        golden("speed change", returnTempHeld);
        limits(golden, change.limits);
        point(golden, change.update, e);
    }
}

// Headings and bar captions of either list by mode and series; a stage button belongs to the
// ceiling unit and does nothing on an entry of another series.
TEST(HeatingCycle, HeadingsCaptionsAndStages)
{
    Golden golden;
    for (const char* name : {"W1", "WF2", "WNF1", "WFW-2L", "WNF2", "DWF"}) {
        for (bool heatingMode : {true, false}) {
            Session s = test::designSession();
            s.HeatingMode = heatingMode;
            const bool forced = name[1] != '1';
            HeatingEntry& h = s.currentHeatingEntry();
            describe(h, name, forced, 1350, 0);
            h.FreeConvection = !forced, h.Height = 200, h.Count = 3, h.ReturnTemp = 60;
            describe(s.currentCoolingEntry(), name, forced, 1350, 700);
            s.currentCoolingEntry().Count = 12, s.currentCoolingEntry().ReturnTemp = 18;
            const HeatingHeading heading = update0(s, 1);
            const CoolingHeading coolingHeading = update0_K(s, 1);
            const BarCaptions captions = Balken_grenzwerte(s, 1);
            golden(name, heatingMode, heading.countText, heading.count, heading.modeLine,
                   heading.fanControlsShown, heading.description, coolingHeading.countText,
                   coolingHeading.description, captions.speedHeading, captions.speedUnit,
                   captions.coolingReset.has_value());
            if (captions.coolingReset)
                golden("  reset", captions.coolingReset->barRange, captions.coolingReset->maxAirFlow);
            if (!heatingMode)
                continue;
            golden("  heating stage", heatingStage(s, 1000, true, false).applied);
            point(golden, heatingStage(s, 1000, true, false).update, h);
            s.HeatingMode = false;
            cooling(golden, coolingStage(s, 1400, "2"), s.currentCoolingEntry());
        }
    }
    // Clearing empties the entry it names.
    Session s = test::designSession();
    describe(s.currentHeatingEntry(), "W1", false, 1000);
    describe(s.currentCoolingEntry(), "W1", false, 1000);
    Nullen(s.Project, 1);
    Nullen_K(s.Project, 1);
    EXPECT_EQ(s.currentHeatingEntry().TypeName.text() + s.currentCoolingEntry().TypeName.text(), "");
}

// A count is read as a whole number within 1..15 (C-style hexadecimal included) and corrected
// where it was out of range or no number; the current entry's count follows its field unless an
// entry is being added. A typed cooling return temperature reads a decimal comma as a point, a
// text without a number is refused; a wide water spread shows the mass flow red below 50 kg/h.
TEST(CountFields, CountsAndTypedCoolingReturnTemperatures)
{
    Golden golden;
    for (const char* text : {"3", " 7", "15", "0", "99", "-4", "", "  ", "$F", "0x0c", "4x", "abc", "$1F"}) {
        const TypedCount typed = countOfText(text);
        golden(std::string("count '") + text + "'", typed.count, typed.correctedText);
    }
    for (bool adding : {false, true}) {
        Session s = test::designSession();
        s.currentCoolingEntry().Output = 250.5;
        s.EntryBeingAdded = adding;
        const CountChange cooling = Edit9Change(s, "4"), heating = Edit5Change(s, "20");
        golden("count fields", adding, cooling.applied, cooling.totalText, heating.applied,
               heating.correctedText, s.currentCoolingEntry().Count, s.currentHeatingEntry().Count);
    }
    for (const char* text : {"17", "19,5", "20.5", "warm"}) {
        Session s = test::designSession();
        s.HeatingMode = false;
        describe(s.currentCoolingEntry(), "WFW-2L", true, 1250, 700);
        s.currentCoolingEntry().ReturnTemp = 18;
        golden(std::string("return ") + text);
        cooling(golden, Edit6Change(s, text, "1"), s.currentCoolingEntry());
    }
}

} // namespace
} // namespace tepa::calculation
