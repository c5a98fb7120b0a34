#include "SessionFixture.h"

#include "core/calculation/UpdateCycle.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

using test::describe;

// A free W1 convector of 1000 mm at 75/20 °C: K = 0.7 m · 4.50 = 3.15, n = 1.3. Its window runs
// from Tr = 35 °C (m = 6.88 kg/h, Q = 320.3 W) to Tr = 74 °C (m = 489.5 kg/h, Q = 569.7 W); at
// Tr = 60 °C Q = 476.4 W and m = 27.29 kg/h.
struct FreeW1
{
    Session s = test::designSession();
    HeatingEntry& e = s.currentHeatingEntry();
    HeatingLimits limits;

    explicit FreeW1(bool returnTempHeld = true, double heightFactor = 1)
    {
        describe(e, "W1", false, 1000);
        e.Height = 200;
        e.HeightFactor = heightFactor;
        e.FreeConvection = true;
        e.ReturnTemp = 60;
        e.MassFlow = 27.2904;
        s.Project.HeatingDemand = 1000;
        limits = update_grenzen(s, 1, returnTempHeld);
    }
};

// The window as the limit labels show it, the given quantity stored in the project, and the
// operating point it gives: the fields show the entry's own output at every height factor and
// the residual demand counts it.
TEST(HeatingCycle, TheHeldQuantityGivesLimitsAndOperatingPoint)
{
    struct Case
    {
        bool returnTempHeld;
        double heightFactor;
        const char* point; // output, mass flow, return temperature and their slider positions
        const char* residual;
    };
    const Case cases[] = {
        {true, 1, "476 @63, 27 @4, 60 @64", "  524"},
        {true, 0.9, "429 @63, 25 @4, 60 @64", "  571"},
        {false, 1, "476 @63, 27 @4, 60 @64", "  524"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.returnTempHeld << " " << c.heightFactor);
        FreeW1 w(c.returnTempHeld, c.heightFactor);
        const HeatingLimits& l = w.limits;
        EXPECT_EQ(l.status, 0);
        if (c.heightFactor == 1) {
            const std::vector<std::string> texts{l.returnEndText, l.returnStartText, l.massEndText,
                                                 l.massStartText, l.outputEndText,   l.outputStartText,
                                                 l.soundLevelText};
            EXPECT_EQ(texts, (std::vector<std::string>{"74", "35", "489", "7", "570", "320", "   0"}));
        }
        EXPECT_EQ(w.s.Project.ReturnTempFixed, c.returnTempHeld ? 1 : 0);
        EXPECT_EQ(w.s.Project.MassFlowFixed, c.returnTempHeld ? 0 : 1);

        const HeatingUpdate u = update1(w.s, 1, false);
        EXPECT_NEAR(w.e.Output, c.heightFactor * 476.444, 0.05);
        EXPECT_NEAR(w.e.ReturnTemp, 60, 0.05);
        ASSERT_TRUE(u.point && u.residual);
        const HeatingPointView& p = *u.point;
        EXPECT_EQ(p.outputText + " @" + std::to_string(p.outputPosition) + ", " + p.massFlowText + " @" +
                      std::to_string(p.massFlowPosition) + ", " + p.returnTempText + " @" +
                      std::to_string(p.returnTempPosition),
                  c.point);
        EXPECT_EQ(u.pressureDropText, strFixed(w.e.PressureDrop, 4, 0));
        EXPECT_TRUE(u.messages.empty());
        EXPECT_EQ(u.residual->valueText, c.residual);
    }
}

TEST(HeatingCycle, AnArmedCheckRaisesAHeldMassFlowBelowItsWindowAndAnInvertedWindowIsRefused)
{
    FreeW1 w(false);
    w.e.MassFlow = 3;
    update1(w.s, 1, false);
    EXPECT_DOUBLE_EQ(w.e.MassFlow, 3);
    const HeatingUpdate raised = update1(w.s, 1, true);
    EXPECT_EQ(raised.messages, std::vector<std::size_t>{MassFlowRaisedText});
    EXPECT_DOUBLE_EQ(w.e.MassFlow, w.e.MassFlowStart);
    EXPECT_NEAR(w.e.ReturnTemp, 35, 0.1);
    EXPECT_EQ(raised.point->massFlowPosition, 0);

    FreeW1 inverted;
    inverted.e.MassFlowStart = 100; // below its start and above its end at once
    inverted.e.MassFlowEnd = 10;
    const HeatingUpdate refused = update1(inverted.s, 1, false);
    EXPECT_EQ(refused.refusal, InvertedWindowText);
    EXPECT_FALSE(refused.point || refused.residual);
}

// Twice 400 W are listed; the third entry is not.
TEST(HeatingCycle, ResidualDemandOfTheListedEntries)
{
    struct Case
    {
        double secondOutput;
        std::size_t caption;
        std::string text;
        bool surplus;
    };
    for (const Case& c :
         {Case{200, StillToInstallText, "    0", false}, Case{201, SurplusText, "    1", true},
          Case{100, StillToInstallText, "  100", false}}) {
        SCOPED_TRACE(c.secondOutput);
        ProjectRecord p;
        p.HeatingDemand = 1000;
        p.HeatingEntryCount = 2;
        p.HeatingEntries[0].Count = 2, p.HeatingEntries[0].Output = 400;
        p.HeatingEntries[1].Count = 1, p.HeatingEntries[1].Output = c.secondOutput;
        p.HeatingEntries[2].Count = 1, p.HeatingEntries[2].Output = 5000;
        const Residual r = Restwaerme(p);
        EXPECT_EQ(r.captionLine, c.caption);
        EXPECT_EQ(r.valueText, c.text);
        EXPECT_EQ(r.surplus, c.surplus);
    }
}

TEST(HeatingCycle, HeadingsAndBarCaptionsFollowModeAndSeries)
{
    Session s = test::designSession();
    HeatingEntry& h = s.currentHeatingEntry();
    describe(h, "W1", false, 1000);
    h.Height = 200;
    h.Count = 3;
    h.FreeConvection = true;
    HeatingHeading heading = update0(s, 1);
    EXPECT_EQ(heading.countText, " 3");
    EXPECT_EQ(heading.count, 3);
    EXPECT_EQ(heading.modeLine, FreeConvectionText);
    EXPECT_FALSE(heading.fanControlsShown);
    EXPECT_EQ(heading.description,
              "W1 " + test::line(s, 149) + "[mm] 200 " + test::line(s, 150) + "[mm] 1000");
    h.FreeConvection = false;
    heading = update0(s, 1);
    EXPECT_EQ(heading.modeLine, ForcedConvectionText);
    EXPECT_TRUE(heading.fanControlsShown);
    describe(s.currentCoolingEntry(), "WFW-2L", true, 1250, 1120);
    s.currentCoolingEntry().Count = 12;
    const CoolingHeading cooling = update0_K(s, 1);
    EXPECT_EQ(cooling.countText, "12");
    EXPECT_EQ(cooling.description, entryDescription(s.InterfaceTexts, "WFW-2L", 140, 1250));

    // Clearing empties the entry it names; what it keeps is the record's business.
    Nullen(s.Project, 1);
    EXPECT_TRUE(h.TypeName.text().empty());
    Nullen_K(s.Project, 1);
    EXPECT_TRUE(s.currentCoolingEntry().TypeName.text().empty());

    struct Case
    {
        bool heatingMode;
        const char* name;
        double length;
        std::size_t heading, unit;
        std::optional<BarRange> range;
        std::optional<double> maxAirFlow;
    };
    const Case cases[] = {
        {true, "WF2", 1000, 52, 184, std::nullopt, std::nullopt},
        {true, "WNF1", 1000, 179, 183, std::nullopt, std::nullopt},
        {false, "WFW-2L", 1250, 178, 184, BarRange{700, 1600}, std::nullopt},
        {false, "WNF2", 1350, 179, 189, BarRange{0, 240}, 240.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        s.HeatingMode = c.heatingMode;
        describe(s.currentHeatingEntry(), c.name, true, c.length);
        describe(s.currentCoolingEntry(), c.name, true, c.length);
        const BarCaptions captions = Balken_grenzwerte(s, 1);
        EXPECT_EQ(captions.speedHeading, c.heading);
        EXPECT_EQ(captions.speedUnit, c.unit);
        EXPECT_EQ(captions.coolingReset.has_value(), !c.heatingMode);
        if (captions.coolingReset) {
            EXPECT_EQ(captions.coolingReset->barRange, c.range);
            EXPECT_EQ(captions.coolingReset->maxAirFlow, c.maxAirFlow);
        }
    }
}

// A count is read as a whole number within 1..15 (C-style hexadecimal included); the field is
// corrected where the number was out of range or no number at all.
TEST(CountFields, ACountIsReadAsAWholeNumberWithinOneToFifteen)
{
    const std::pair<const char*, const char*> cases[] = {
        {"3", "3"},      {" 7", "7"},      {"15", "15"},       {"0", "1 '1'"}, {"99", "15 '15'"},
        {"-4", "1 '1'"}, {"", "1"},        {"  ", "1"},        {"$F", "15"},   {"0x0c", "12"},
        {"4x", "4"},     {"abc", "1 '1'"}, {"$1F", "15 '15'"},
    };
    for (const auto& [text, expected] : cases) {
        const TypedCount typed = countOfText(text);
        EXPECT_EQ(std::to_string(typed.count) +
                      (typed.correctedText ? " '" + *typed.correctedText + "'" : ""),
                  expected)
            << text;
    }

    // The count of the current entry follows its field unless an entry is being added.
    Session s = test::designSession();
    s.currentCoolingEntry().Output = 250.5;
    CountChange c = Edit9Change(s, "4");
    EXPECT_TRUE(c.applied);
    EXPECT_EQ(s.currentCoolingEntry().Count, 4);
    EXPECT_EQ(c.totalText, fixedDigits(1002, 5, 1));
    c = Edit5Change(s, "20");
    EXPECT_EQ(s.currentHeatingEntry().Count, 15);
    EXPECT_EQ(c.correctedText, "15");
    s.EntryBeingAdded = true;
    EXPECT_FALSE(Edit9Change(s, "2").applied);
    EXPECT_FALSE(Edit5Change(s, "2").applied);
    EXPECT_EQ(s.currentCoolingEntry().Count, 4);
    EXPECT_EQ(s.currentHeatingEntry().Count, 15);
}

// A stage button belongs to the ceiling unit: on an entry of another series it does nothing.
TEST(Stages, AStageSetsTheCeilingUnitsSpeedAndNoOtherEntrys)
{
    for (const char* name : {"DWF", "W1", "WFW-2L"}) {
        SCOPED_TRACE(name);
        const bool applies = name[0] == 'D';
        Session s = test::designSession();
        const bool forced = name[1] != '1';
        describe(s.currentHeatingEntry(), name, forced, 1000, 0);
        s.currentHeatingEntry().FreeConvection = !forced;
        s.currentHeatingEntry().ReturnTemp = 60;
        describe(s.currentCoolingEntry(), name, forced, 1000, 700);
        s.currentCoolingEntry().ReturnTemp = 18;

        EXPECT_EQ(heatingStage(s, 1000, true, false).applied, applies);
        EXPECT_DOUBLE_EQ(s.currentHeatingEntry().FanSpeed, applies ? 1000 : 0);
        EXPECT_EQ(s.currentHeatingEntry().Output > 0, applies);

        s.HeatingMode = false;
        const CoolingStep cooling = coolingStage(s, 1400, "2");
        const CoolingEntry& e = s.currentCoolingEntry();
        EXPECT_EQ(cooling.applied, applies);
        EXPECT_DOUBLE_EQ(e.FanSpeed, applies ? 1400 : 700);
        if (applies) {
            EXPECT_EQ(e.Count, 2);
            EXPECT_EQ(cooling.outputText, strFixed(e.Output, 0, 1));
            EXPECT_EQ(cooling.totalText, strFixed(2 * e.Output, 0, 1));
            EXPECT_EQ(cooling.captions.speedHeading, 178u);
        }
    }
}

// A typed return temperature reads a decimal comma as a point; a text without a number is refused.
// A wide water spread carries the output with little water: the mass flow shows red below 50 kg/h.
TEST(CoolingReturn, ATypedReturnTemperatureRatesTheEntry)
{
    struct Case
    {
        const char* text;
        std::optional<double> returnTemp;
        bool massFlowLow;
    };
    for (const Case& c : {Case{"17", 17.0, false}, Case{"19,5", 19.5, true}, Case{"20.5", 20.5, true},
                          Case{"warm", std::nullopt, false}}) {
        SCOPED_TRACE(c.text);
        Session s = test::designSession();
        s.HeatingMode = false;
        describe(s.currentCoolingEntry(), "WFW-2L", true, 1250, 700);
        s.currentCoolingEntry().ReturnTemp = 18;
        const CoolingStep step = Edit6Change(s, c.text, "1");
        EXPECT_EQ(step.error.has_value(), !c.returnTemp);
        EXPECT_DOUBLE_EQ(s.currentCoolingEntry().ReturnTemp, c.returnTemp.value_or(18));
        EXPECT_EQ(step.applied, c.returnTemp.has_value());
        EXPECT_EQ(step.massFlowLow, c.massFlowLow);
        if (c.returnTemp) {
            EXPECT_TRUE(step.point.rated);
            EXPECT_EQ(step.heading.description, entryDescription(s.InterfaceTexts, "WFW-2L", 140, 1250));
        }
    }
}

// After a speed change the held quantity is kept inside the new window.
TEST(SpeedChange, TheHeldQuantityStaysInsideTheNewWindow)
{
    for (bool returnTempHeld : {true, false}) {
        SCOPED_TRACE(returnTempHeld);
        Session s = test::designSession();
        HeatingEntry& e = s.currentHeatingEntry();
        describe(e, "WF2", true, 1000, 1400);
        e.ReturnTemp = 74.9;
        e.MassFlow = 1e6;
        update_grenzen(s, 1, returnTempHeld);
        const SpeedChange change = afterSpeedChange(s, returnTempHeld, false);
        EXPECT_LE(returnTempHeld ? e.ReturnTemp : e.MassFlow,
                  returnTempHeld ? e.ReturnTempEnd : e.MassFlowEnd);
        EXPECT_TRUE(change.update.point);
    }
}

} // namespace
} // namespace tepa::calculation
