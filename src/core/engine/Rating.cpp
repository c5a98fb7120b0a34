#include "core/engine/Rating.h"

#include "core/engine/PressureDrop.h"
#include "core/series/Series.h"

#include <cmath>

namespace tepa::engine {

OperatingPoint rateConvector(const OperatingPointInput& in)
{
    OperatingPoint r;
    if (!allFinite({in.lengthMm, in.heightFactor, in.speedRpm, in.Tv, in.Ti, in.givenValue})) {
        r.status = 1;
        return r;
    }
    r.coefficients = Zwangskennwerte({.typeName = in.type.name,
                                      .lengthMm = in.lengthMm,
                                      .speedRpm = in.speedRpm,
                                      .dataLine = in.type.dataLine,
                                      .fanLine = in.type.fanLine,
                                      .freeConvection = in.freeConvection,
                                      .heightFactor = in.heightFactor,
                                      .mode = in.mode,
                                      .stage = in.stage});
    if (r.coefficients.status != 0) {
        r.status = 1;
        return r;
    }
    const Characteristic& c = r.coefficients.characteristic;

    if (in.mode == Mode::Heating) {
        r.limits = Ruecklaufgrenzen(c, {in.Tv, in.Ti});
        switch (in.given) {
        case Given::ReturnTemp: {
            const OutputResult q = Heizleistung(c, {in.Tv, in.givenValue, in.Ti});
            r.returnTempC = in.givenValue;
            r.outputW = q.outputW;
            r.massFlowKgPerH = q.massFlowKgPerH;
            r.status = q.status;
            break;
        }
        case Given::MassFlow: {
            const ReturnFromFlowResult q = Ruecklauf_aus_Massenstrom(c, {in.Tv, in.Ti, in.givenValue});
            r.massFlowKgPerH = in.givenValue;
            r.returnTempC = q.returnTempC;
            r.outputW = q.outputW;
            r.status = q.status;
            break;
        }
        case Given::Output: {
            const ReturnFromOutputResult q = Ruecklauf_aus_Leistung(c, {in.Tv, in.Ti, in.givenValue});
            r.outputW = in.givenValue;
            r.returnTempC = q.returnTempC;
            r.massFlowKgPerH = q.massFlowKgPerH;
            // More output than the convector gives at this flow temperature: the return would
            // lie above the flow and the mass flow be negative, which is no operating point.
            r.status = q.massFlowKgPerH < 0 ? 1 : q.status;
            break;
        }
        }
    } else {
        // Primary-air units cool with their primary air (an air-side output from the air inlet
        // temperature and flow), not by a water-side operating point; and the water-side
        // cooling point is only solved from the return temperature.
        if (in.given != Given::ReturnTemp || series::isPrimaryAir(in.type.name)) {
            r.status = 1;
            return r;
        }
        const OutputResult q = Kuehlleistung(c, {in.Tv, in.givenValue, in.Ti}, 0);
        r.returnTempC = in.givenValue;
        r.outputW = std::abs(q.outputW);
        r.massFlowKgPerH = std::abs(q.massFlowKgPerH);
        r.status = q.status;
    }

    const PressureDropResult dp = Druckverlust({.massFlowKgPerH = r.massFlowKgPerH,
                                                .lengthMm = r.coefficients.effectiveLengthMm,
                                                .Tv = in.Tv,
                                                .Tr = r.returnTempC,
                                                .typeName = in.type.name,
                                                .dataLine = in.type.dataLine,
                                                .mode = in.mode});
    r.pressureDropPa = dp.pressureDropPa;
    r.laminarFlow = dp.laminarFlow;
    r.highPressureDrop = dp.highPressureDrop;
    return r;
}

} // namespace tepa::engine
