#include "core/calculation/HeatingPoint.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/ProductLines.h"
#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tepa::calculation {
namespace {

// A free convector of 1300 mm in a room at 20 °C with 75 °C flow, rated with `heightFactor`,
// its limits and operating point set as "weiter" leaves them.
struct Room
{
    ProjectRecord project;
    HeatingEntry e;

    explicit Room(double heightFactor, const char* name = "W3")
    {
        project.HeatingFlowTemp = 75;
        project.HeatingRoomTemp = 20;
        e.TypeName.setText(name);
        const std::string dataLine = engine::test::typicalDataLine();
        e.TypeText1.setText(dataLine);
        e.Length = 1300;
        e.HeightFactor = heightFactor;
        e.FreeConvection = true;
        engine::ConvectorSetting setting;
        setting.typeName = name;
        setting.lengthMm = e.Length;
        setting.dataLine = dataLine;
        setting.freeConvection = true;
        setting.heightFactor = heightFactor;
        const engine::ConvectorCoefficients c = engine::Zwangskennwerte(setting);
        e.CoeffK = c.characteristic.K;
        e.ExponentN = c.characteristic.n;
        e.EffectiveLength = c.effectiveLengthMm;
        const engine::ReturnLimits limits = engine::Ruecklaufgrenzen(c.characteristic, {75, 20});
        e.ReturnTempStart = limits.returnTempStart;
        e.ReturnTempEnd = limits.returnTempEnd;
        e.MassFlowStart = limits.massFlowStart;
        e.MassFlowEnd = limits.massFlowEnd;
        e.OutputStart = limits.outputStart;
        e.OutputEnd = limits.outputEnd;
        moveSlider(e, project, Quantity::ReturnTemp, 50);
    }
};

// The output field shows the entry's output and a typed output is the entry's output, whatever
// the height factor: the factor is part of the characteristic already.
TEST(HeatingPoint, OutputFieldIsTheEntrysOutputAtEveryHeightFactor)
{
    for (double factor : {1.0, 1.16, 0.8}) {
        SCOPED_TRACE(factor);
        Room room(factor);
        HeatingEntry& e = room.e;
        const double wanted = std::round((e.OutputStart + e.OutputEnd) / 2);

        HeatingPointView v = typeValue(e, room.project, Quantity::Output, std::to_string(int(wanted)));
        EXPECT_DOUBLE_EQ(e.Output, wanted);
        EXPECT_EQ(v.outputText, fixedDigits(wanted, 7, 0));
        EXPECT_TRUE(v.messages.empty());

        // Confirming the field as shown (a click or Tab through it) leaves the operating point.
        const double returnTemp = e.ReturnTemp;
        v = typeValue(e, room.project, Quantity::Output, v.outputText);
        EXPECT_NEAR(e.ReturnTemp, returnTemp, 1e-9);

        v = moveSlider(e, room.project, Quantity::ReturnTemp, 30);
        EXPECT_EQ(v.outputText, fixedDigits(e.Output, 7, 0));
    }
}

// A value shown inside the window beside the field is taken; one outside is refused with its
// text and leaves the entry as it was.
TEST(HeatingPoint, TypedValuesAreCheckedAgainstTheWindowShown)
{
    Room room(1.16);
    HeatingEntry& e = room.e;
    struct Case
    {
        Quantity q;
        double value;
        bool taken;
        std::size_t refusal;
    };
    const Case cases[] = {
        {Quantity::Output, std::trunc(e.OutputStart), true, 0},
        {Quantity::Output, double(roundHalfEven(e.OutputEnd)), true, 0},
        {Quantity::Output, double(roundHalfEven(e.OutputEnd)) + 1, false, OutputRefusedText},
        {Quantity::Output, std::trunc(e.OutputStart) - 1, false, OutputRefusedText},
        {Quantity::MassFlow, std::trunc(e.MassFlowStart), true, 0},
        {Quantity::MassFlow, double(roundHalfEven(e.MassFlowEnd)) + 1, false, MassFlowRefusedText},
        {Quantity::MassFlow, std::trunc(e.MassFlowStart) - 1, false, MassFlowRefusedText},
        {Quantity::ReturnTemp, e.ReturnTempEnd, true, 0},
        {Quantity::ReturnTemp, e.ReturnTempStart, true, 0},
        {Quantity::ReturnTemp, e.ReturnTempEnd + 0.5, false, ReturnTempRefusedText},
        {Quantity::ReturnTemp, e.ReturnTempStart - 0.5, false, ReturnTempRefusedText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.q) << " " << c.value);
        moveSlider(e, room.project, Quantity::ReturnTemp, 50);
        const HeatingEntry before = e;
        const HeatingPointView v = typeValue(e, room.project, c.q, strFixed(c.value, 0, 1));
        EXPECT_EQ(v.entryChanged, c.taken);
        if (c.taken) {
            EXPECT_TRUE(v.messages.empty());
        } else {
            EXPECT_EQ(v.messages, std::vector<std::size_t>{c.refusal});
            EXPECT_EQ(e, before);
        }
    }
}

TEST(HeatingPoint, NumberFieldsReadADecimalComma)
{
    Room room(1);
    HeatingEntry& e = room.e;
    const double t = std::floor(e.ReturnTempEnd) - 0.2;
    typeValue(e, room.project, Quantity::ReturnTemp, strFixed(std::floor(t), 0, 0) + ",8");
    EXPECT_DOUBLE_EQ(e.ReturnTemp, std::floor(t) + 0.8);
    EXPECT_DOUBLE_EQ(fieldValue("700,9"), 700.9);
    EXPECT_DOUBLE_EQ(fieldValue("60.8"), 60.8);
    EXPECT_DOUBLE_EQ(fieldValue("abc"), 0);
}

// The sliders give each quantity as a share of its window and the other two from the law; the
// pressure drop and its warnings follow the engine.
TEST(HeatingPoint, SlidersSetOneQuantityAndTheLawTheOthers)
{
    Room room(1);
    HeatingEntry& e = room.e;
    HeatingPointView v = moveSlider(e, room.project, Quantity::MassFlow, 0);
    EXPECT_DOUBLE_EQ(e.MassFlow, e.MassFlowStart);
    EXPECT_EQ(v.massFlowPosition, 0);
    const engine::OutputResult law = engine::Heizleistung({e.CoeffK, e.ExponentN}, {75, e.ReturnTemp, 20});
    EXPECT_NEAR(law.massFlowKgPerH, e.MassFlow, 0.01);
    EXPECT_TRUE(v.warnings.laminarFlow); // a few kg/h run laminar through the tubes
    EXPECT_EQ(v.pressureDropText, strFixed(e.PressureDrop, 4, 0));
    EXPECT_FALSE(moveSlider(e, room.project, Quantity::MassFlow, 100).warnings.laminarFlow);

    v = moveSlider(e, room.project, Quantity::Output, 100);
    EXPECT_DOUBLE_EQ(e.Output, e.OutputEnd);
    EXPECT_EQ(v.outputPosition, 100);
    EXPECT_EQ(v.returnTempPosition, sliderPosition(e.ReturnTemp, e.ReturnTempStart, e.ReturnTempEnd));

    v = moveSlider(e, room.project, Quantity::ReturnTemp, 100);
    EXPECT_DOUBLE_EQ(e.ReturnTemp, e.ReturnTempEnd);
    EXPECT_EQ(v.returnTempText, fixedDigits(e.ReturnTemp, 3, 0));
}

TEST(HeatingPoint, WarningsAreTheEnginesFlags)
{
    for (bool laminar : {false, true})
        for (bool high : {false, true}) {
            engine::PressureDropResult drop;
            drop.laminarFlow = laminar;
            drop.highPressureDrop = high;
            EXPECT_EQ(warningsOf(drop), (PressureDropWarnings{laminar, high}));
        }
}

TEST(HeatingPoint, SliderPositionWithinTheWindow)
{
    EXPECT_EQ(sliderPosition(40, 40, 60), 0);
    EXPECT_EQ(sliderPosition(60, 40, 60), 100);
    EXPECT_EQ(sliderPosition(50.1, 40, 60), 51);
    EXPECT_EQ(sliderPosition(70, 40, 60), 100);
    EXPECT_EQ(sliderPosition(30, 40, 60), 0);
    EXPECT_EQ(sliderPosition(50, 50, 50), 0);
}

} // namespace
} // namespace tepa::calculation
