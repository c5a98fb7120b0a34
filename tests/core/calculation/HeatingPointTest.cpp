#include "core/calculation/HeatingPoint.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/ProductLines.h"
#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace tepa::calculation {
namespace {

// A free convector of 1300 mm in a room at 20 °C with 75 °C flow, rated with `heightFactor`,
// its limits and operating point set as "weiter" leaves them.
struct Room
{
    ProjectRecord project;
    HeatingEntry e;

    explicit Room(double heightFactor)
    {
        project.HeatingFlowTemp = 75;
        project.HeatingRoomTemp = 20;
        e.TypeName.setText("W3");
        e.TypeText1.setText(engine::test::typicalDataLine());
        e.Length = 1300;
        e.HeightFactor = heightFactor;
        e.FreeConvection = true;
        const std::string dataLine = e.TypeText1.text();
        const engine::ConvectorCoefficients c = engine::Zwangskennwerte({.typeName = "W3",
                                                                         .lengthMm = 1300,
                                                                         .dataLine = dataLine,
                                                                         .freeConvection = true,
                                                                         .heightFactor = heightFactor});
        e.CoeffK = c.characteristic.K;
        e.ExponentN = c.characteristic.n;
        e.EffectiveLength = c.effectiveLengthMm;
        const engine::ReturnLimits l = engine::Ruecklaufgrenzen(c.characteristic, {75, 20});
        e.ReturnTempStart = l.returnTempStart, e.ReturnTempEnd = l.returnTempEnd;
        e.MassFlowStart = l.massFlowStart, e.MassFlowEnd = l.massFlowEnd;
        e.OutputStart = l.outputStart, e.OutputEnd = l.outputEnd;
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
        typeValue(e, room.project, Quantity::Output, v.outputText);
        EXPECT_NEAR(e.ReturnTemp, returnTemp, 1e-9);
        v = moveSlider(e, room.project, Quantity::ReturnTemp, 30);
        EXPECT_EQ(v.outputText, fixedDigits(e.Output, 7, 0));
    }
}

// A value shown inside the window beside the field is taken (a decimal comma reads as a point);
// one outside is refused with its text and leaves the entry as it was.
TEST(HeatingPoint, TypedValuesAreCheckedAgainstTheWindowShown)
{
    Room room(1.16);
    HeatingEntry& e = room.e;
    struct Case
    {
        Quantity q;
        double value;
        std::size_t refusal; // 0: taken
    };
    const Case cases[] = {
        {Quantity::Output, std::trunc(e.OutputStart), 0},
        {Quantity::Output, double(roundHalfEven(e.OutputEnd)), 0},
        {Quantity::Output, double(roundHalfEven(e.OutputEnd)) + 1, OutputRefusedText},
        {Quantity::Output, std::trunc(e.OutputStart) - 1, OutputRefusedText},
        {Quantity::MassFlow, std::trunc(e.MassFlowStart), 0},
        {Quantity::MassFlow, double(roundHalfEven(e.MassFlowEnd)) + 1, MassFlowRefusedText},
        {Quantity::MassFlow, std::trunc(e.MassFlowStart) - 1, MassFlowRefusedText},
        {Quantity::ReturnTemp, e.ReturnTempEnd, 0},
        {Quantity::ReturnTemp, e.ReturnTempStart, 0},
        {Quantity::ReturnTemp, e.ReturnTempEnd + 0.5, ReturnTempRefusedText},
        {Quantity::ReturnTemp, e.ReturnTempStart - 0.5, ReturnTempRefusedText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.q) << " " << c.value);
        moveSlider(e, room.project, Quantity::ReturnTemp, 50);
        const HeatingEntry before = e;
        const HeatingPointView v = typeValue(e, room.project, c.q, strFixed(c.value, 0, 1));
        EXPECT_EQ(v.entryChanged, c.refusal == 0);
        EXPECT_EQ(v.messages, c.refusal ? std::vector<std::size_t>{c.refusal} : std::vector<std::size_t>{});
        if (c.refusal) {
            EXPECT_EQ(e, before);
        }
    }
    const double t = std::floor(e.ReturnTempEnd) - 1;
    typeValue(e, room.project, Quantity::ReturnTemp, strFixed(t, 0, 0) + ",8");
    EXPECT_DOUBLE_EQ(e.ReturnTemp, t + 0.8);
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
    EXPECT_EQ(v.warnings, (PressureDropWarnings{true, false})); // a few kg/h run laminar through the tubes
    EXPECT_EQ(v.pressureDropText, strFixed(e.PressureDrop, 4, 0));
    EXPECT_FALSE(moveSlider(e, room.project, Quantity::MassFlow, 100).warnings.laminarFlow);

    v = moveSlider(e, room.project, Quantity::Output, 100);
    EXPECT_DOUBLE_EQ(e.Output, e.OutputEnd);
    EXPECT_EQ(v.outputPosition, 100);
    EXPECT_EQ(v.returnTempPosition, sliderPosition(e.ReturnTemp, e.ReturnTempStart, e.ReturnTempEnd));
    v = moveSlider(e, room.project, Quantity::ReturnTemp, 100);
    EXPECT_DOUBLE_EQ(e.ReturnTemp, e.ReturnTempEnd);
    EXPECT_EQ(v.returnTempText, fixedDigits(e.ReturnTemp, 3, 0));

    engine::PressureDropResult drop;
    drop.highPressureDrop = true;
    EXPECT_EQ(warningsOf(drop), (PressureDropWarnings{false, true}));
    // Positions within [40, 60], clamped at the ends; an empty window puts the slider at 0.
    std::vector<int> positions;
    for (double x : {40.0, 60.0, 50.1, 70.0, 30.0})
        positions.push_back(sliderPosition(x, 40, 60));
    EXPECT_EQ(positions, (std::vector<int>{0, 100, 51, 100, 0}));
    EXPECT_EQ(sliderPosition(50, 50, 50), 0);
}

} // namespace
} // namespace tepa::calculation
