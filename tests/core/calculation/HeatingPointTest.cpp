#include "core/calculation/HeatingPoint.h"

#include "SessionFixture.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/ProductLines.h"
#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        engine::ConvectorSetting setting;
        setting.typeName = "W3", setting.lengthMm = 1300, setting.dataLine = dataLine;
        setting.freeConvection = true, setting.heightFactor = heightFactor;
        const engine::ConvectorCoefficients c = engine::Zwangskennwerte(setting);
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

void shown(test::Golden& golden, const std::string& label, const HeatingPointView& v, const HeatingEntry& e)
{
    golden(label, v.returnTempText, v.returnTempPosition, v.massFlowText, v.massFlowPosition, v.outputText,
           v.outputPosition, v.pressureDropText, v.warnings, v.messages, v.entryChanged, v.status);
    golden("  entry", e.ReturnTemp, e.MassFlow, e.Output, e.PressureDrop);
}

// The sliders give each quantity as a share of its window and the other two from the law, with
// the pressure drop and its warnings (a few kg/h run laminar through the tubes). A value typed
// inside the window beside the field is taken (a decimal comma reads as a point), one outside is
// refused with its text and leaves the entry as it was. The output field shows the entry's
// output whatever the height factor: the factor is part of the characteristic already.
TEST(HeatingPoint, SlidersAndTypedValuesAtEveryHeightFactor)
{
    test::Golden golden;
    const std::pair<Quantity, const char*> quantities[] = {
        {Quantity::ReturnTemp, "return"}, {Quantity::MassFlow, "mass flow"}, {Quantity::Output, "output"}};
    for (double factor : {1.0, 1.16, 0.8}) {
        Room room(factor);
        HeatingEntry& e = room.e;
        golden("factor", factor, e.ReturnTempStart, e.ReturnTempEnd, e.MassFlowStart, e.MassFlowEnd,
               e.OutputStart, e.OutputEnd);
        for (const auto& [q, name] : quantities) {
            for (int position : {0, 30, 100})
                shown(golden, std::string(name) + " slider " + std::to_string(position),
                      moveSlider(e, room.project, q, position), e);
            const Window w = typedWindow(e, q);
            const double step = q == Quantity::ReturnTemp ? 0.5 : 1;
            for (double value :
                 {w.lowest - step, w.lowest, (w.lowest + w.highest) / 2, w.highest, w.highest + step}) {
                moveSlider(e, room.project, Quantity::ReturnTemp, 50);
                const HeatingEntry before = e;
                std::string text = strFixed(value, 0, 1);
                std::replace(text.begin(), text.end(), '.', ',');
                const HeatingPointView v = typeValue(e, room.project, q, text);
                shown(golden, std::string(name) + " typed " + text, v, e);
                if (!v.entryChanged) {
                    EXPECT_EQ(e, before);
                }
            }
            // Confirming the field as shown (a click or Tab through it) leaves the operating point.
            const HeatingPointView v =
                typeValue(e, room.project, Quantity::Output,
                          strFixed(std::round((e.OutputStart + e.OutputEnd) / 2), 0, 0));
            const double returnTemp = e.ReturnTemp;
            typeValue(e, room.project, Quantity::Output, v.outputText);
            EXPECT_NEAR(e.ReturnTemp, returnTemp, 1e-9);
        }
    }
    engine::PressureDropResult drop;
    drop.highPressureDrop = true;
    golden("warnings of a high drop", warningsOf(drop));
    // Positions within [40, 60], clamped at the ends; an empty window puts the slider at 0.
    std::vector<int> positions;
    for (double x : {40.0, 60.0, 50.1, 70.0, 30.0})
        positions.push_back(sliderPosition(x, 40, 60));
    golden("positions", positions, sliderPosition(50, 50, 50), fieldValue("abc"));
}

} // namespace
} // namespace tepa::calculation
