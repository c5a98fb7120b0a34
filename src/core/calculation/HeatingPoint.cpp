#include "core/calculation/HeatingPoint.h"

#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tepa::calculation {

double fieldValue(std::string_view text)
{
    return decimalValue(commaToPoint(text));
}

PressureDropWarnings warningsOf(const engine::PressureDropResult& drop)
{
    return {drop.laminarFlow, drop.highPressureDrop};
}

engine::PressureDropResult heatingDrop(HeatingEntry& e, const ProjectRecord& project)
{
    const std::string name = e.TypeName.text(), dataLine = e.TypeText1.text();
    engine::PressureDropInput in;
    in.massFlowKgPerH = e.MassFlow;
    in.lengthMm = e.EffectiveLength;
    in.Tv = project.HeatingFlowTemp;
    in.Tr = e.ReturnTemp;
    in.typeName = name;
    in.dataLine = dataLine;
    in.mode = engine::Mode::Heating;
    const engine::PressureDropResult drop = engine::Druckverlust(in);
    e.PressureDrop = drop.pressureDropPa;
    return drop;
}

PressureDropWarnings heatingPressureDrop(HeatingEntry& e, const ProjectRecord& project)
{
    return warningsOf(heatingDrop(e, project));
}

int sliderPosition(double x, double low, double high)
{
    const double span = high - low;
    if (span == 0 || !std::isfinite(span))
        return 0;
    const double position = 100.0 * (x - low) / span;
    if (!std::isfinite(position))
        return 0;
    return static_cast<int>(
        std::clamp<std::int64_t>(roundHalfEven(std::clamp(position, -1.0, 101.0)), 0, 100));
}

HeatingPointView viewOf(const HeatingEntry& e)
{
    HeatingPointView v;
    v.returnTempText = fixedDigits(e.ReturnTemp, 3, 0);
    v.massFlowText = fixedDigits(e.MassFlow, 3, 0);
    v.outputText = fixedDigits(e.Output, 7, 0);
    v.returnTempPosition = sliderPosition(e.ReturnTemp, e.ReturnTempStart, e.ReturnTempEnd);
    v.massFlowPosition = sliderPosition(e.MassFlow, e.MassFlowStart, e.MassFlowEnd);
    v.outputPosition = sliderPosition(e.Output, e.OutputStart, e.OutputEnd);
    v.pressureDropText = strFixed(e.PressureDrop, 4, 0);
    return v;
}

namespace {

// The other two quantities and the pressure drop from the one just set.
HeatingPointView recalculate(HeatingEntry& e, const ProjectRecord& project, Quantity q)
{
    const engine::Characteristic characteristic{e.CoeffK, e.ExponentN};
    int status = 0;
    const double Tv = project.HeatingFlowTemp, Ti = project.HeatingRoomTemp;
    switch (q) {
    case Quantity::ReturnTemp: {
        const engine::OutputResult r = engine::Heizleistung(characteristic, {Tv, e.ReturnTemp, Ti});
        e.Output = r.outputW;
        e.MassFlow = r.massFlowKgPerH;
        status = r.status;
        break;
    }
    case Quantity::MassFlow: {
        const engine::ReturnFromFlowResult r =
            engine::Ruecklauf_aus_Massenstrom(characteristic, {Tv, Ti, e.MassFlow});
        e.Output = r.outputW;
        e.ReturnTemp = r.returnTempC;
        status = r.status;
        break;
    }
    case Quantity::Output: {
        const engine::ReturnFromOutputResult r =
            engine::Ruecklauf_aus_Leistung(characteristic, {Tv, Ti, e.Output});
        e.MassFlow = r.massFlowKgPerH;
        e.ReturnTemp = r.returnTempC;
        status = r.status;
        break;
    }
    }
    const PressureDropWarnings warnings = heatingPressureDrop(e, project);
    HeatingPointView v = viewOf(e);
    v.warnings = warnings;
    v.entryChanged = true;
    v.status = status;
    return v;
}

double& valueOf(HeatingEntry& e, Quantity q)
{
    switch (q) {
    case Quantity::ReturnTemp:
        return e.ReturnTemp;
    case Quantity::MassFlow:
        return e.MassFlow;
    case Quantity::Output:
        break;
    }
    return e.Output;
}

struct Ends
{
    double start, end;
};
Ends endsOf(const HeatingEntry& e, Quantity q)
{
    switch (q) {
    case Quantity::ReturnTemp:
        return {e.ReturnTempStart, e.ReturnTempEnd};
    case Quantity::MassFlow:
        return {e.MassFlowStart, e.MassFlowEnd};
    case Quantity::Output:
        break;
    }
    return {e.OutputStart, e.OutputEnd};
}

} // namespace

Window typedWindow(const HeatingEntry& e, Quantity q)
{
    const Ends ends = endsOf(e, q);
    if (q == Quantity::ReturnTemp)
        return {ends.start, ends.end};
    // Mass flow and output are typed and shown as whole numbers: the window reaches from the
    // start cut to a whole number to the end rounded, as the limit labels read.
    return {std::trunc(ends.start), static_cast<double>(roundHalfEven(ends.end))};
}

HeatingPointView moveSlider(HeatingEntry& e, const ProjectRecord& project, Quantity q, int position)
{
    const Ends ends = endsOf(e, q);
    valueOf(e, q) = (ends.end - ends.start) * std::clamp(position, 0, 100) / 100 + ends.start;
    return recalculate(e, project, q);
}

HeatingPointView typeValue(HeatingEntry& e, const ProjectRecord& project, Quantity q, std::string_view text)
{
    const double v = fieldValue(text);
    const Window window = typedWindow(e, q);
    if (!(v >= window.lowest && v <= window.highest)) {
        HeatingPointView refused = viewOf(e);
        refused.messages.push_back(q == Quantity::ReturnTemp ? ReturnTempRefusedText
                                   : q == Quantity::MassFlow ? MassFlowRefusedText
                                                             : OutputRefusedText);
        return refused;
    }
    valueOf(e, q) = v;
    return recalculate(e, project, q);
}

} // namespace tepa::calculation
