#include "core/calculation/CoolingPoint.h"

#include "core/engine/AirSide.h"
#include "core/engine/PressureDrop.h"
#include "core/engine/WaterSide.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tepa::calculation {

namespace {

int rounded(double x)
{
    return static_cast<int>(roundHalfEven(x));
}

BarRange barOf(const series::SpeedRange& range)
{
    return {static_cast<int>(range.minimum), static_cast<int>(range.maximum)};
}

PressureDropWarnings coolingPressureDrop(CoolingEntry& e, const ProjectRecord& project)
{
    const std::string name = e.TypeName.text(), dataLine = e.TypeText1.text();
    engine::PressureDropInput in;
    in.massFlowKgPerH = e.MassFlow;
    in.lengthMm = e.EffectiveLength;
    in.Tv = project.CoolingFlowTemp;
    in.Tr = e.ReturnTemp;
    in.typeName = name;
    in.dataLine = dataLine;
    in.mode = engine::Mode::Cooling;
    const engine::PressureDropResult drop = engine::Druckverlust(in);
    e.PressureDrop = drop.pressureDropPa;
    return warningsOf(drop);
}

// The entry's characteristic and sound level at its own speed; the engine's output law status.
engine::OutputResult rateWaterSide(CoolingEntry& e, const ProjectRecord& project, double heightFactor)
{
    const engine::ConvectorCoefficients c = coolingCoefficients(e, e.FanSpeed, heightFactor);
    e.CoeffK = c.characteristic.K;
    e.ExponentN = c.characteristic.n;
    e.SoundLevel = c.soundLevelDb;
    e.EffectiveLength = c.effectiveLengthMm;
    return engine::Kuehlleistung(
        c.characteristic, {project.CoolingFlowTemp, e.ReturnTemp, project.CoolingRoomTemp}, e.MassFlow);
}

double airOutput(const ProjectRecord& project, double airFlow)
{
    return engine::Luftleistung({project.CoolingSecondTemp, project.CoolingRoomTemp, airFlow}).outputW;
}

} // namespace

engine::DwfStage stageOf(double speedRpm)
{
    const long long rpm = std::llround(speedRpm);
    if (rpm >= 1400)
        return engine::DwfStage::Rpm1400;
    if (rpm >= 1000)
        return engine::DwfStage::Rpm1000;
    if (rpm >= 700)
        return engine::DwfStage::Rpm700;
    return engine::DwfStage::Off;
}

engine::ConvectorCoefficients coolingCoefficients(const CoolingEntry& e, double speedRpm, double heightFactor)
{
    const std::string name = e.TypeName.text(), dataLine = e.TypeText1.text(), fanLine = e.TypeText2.text();
    engine::ConvectorSetting setting;
    setting.typeName = name;
    setting.lengthMm = e.Length;
    setting.speedRpm = speedRpm;
    setting.dataLine = dataLine;
    setting.fanLine = fanLine;
    setting.freeConvection = false;
    setting.heightFactor = heightFactor;
    setting.mode = engine::Mode::Cooling;
    setting.stage = stageOf(speedRpm);
    return engine::Zwangskennwerte(setting);
}

double Minmax_K(const CoolingEntry& e, const ProjectRecord& project, double setting)
{
    if (series::isPrimaryAir(e.TypeName.text()))
        return airOutput(project, setting);
    // Rated on copies: the entry keeps the values of its own speed.
    const engine::ConvectorCoefficients c = coolingCoefficients(e, setting, e.HeightFactor);
    return std::fabs(engine::Kuehlleistung(c.characteristic,
                                           {project.CoolingFlowTemp, e.ReturnTemp, project.CoolingRoomTemp},
                                           e.MassFlow)
                         .outputW);
}

CoolingPointView update1_K(CoolingEntry& entry, CoolingEntry& current, const ProjectRecord& project)
{
    CoolingPointView v;
    CoolingEntry* e = &entry;
    for (bool retried = false;; retried = true) {
        const std::string name = e->TypeName.text();
        if (series::isPrimaryAir(name)) {
            const engine::AirOutputResult air =
                engine::Luftleistung({project.CoolingSecondTemp, project.CoolingRoomTemp, e->FanSetting});
            e->Output = air.outputW;
            v.status = air.status;
            v.maxAirFlow = series::coolingAirFlowLimit(name, e->Length);
            v.qmin = 0;
            v.qmax = Minmax_K(*e, project, *v.maxAirFlow);
            v.barPosition = rounded(e->FanSetting);
            v.settingText = fixedDigits(e->FanSetting, 4, 0);
            // Cooled by its primary air alone: no water side to warn of.
            v.waterSide = false;
            v.rated = true;
            return v;
        }

        const engine::OutputResult output = rateWaterSide(*e, project, e->HeightFactor);
        v.status = output.status;
        if (output.status == 1) {
            // Replaced once; when 18 °C fails too (a flow of 18 °C, say) the entry keeps its values.
            if (retried)
                return v;
            v.messages.push_back(NoCoolingResultText);
            v.returnTempText = "18";
            e->ReturnTemp = 18;
            e = &current;
            continue;
        }

        e->Output = std::fabs(output.outputW);
        e->MassFlow = std::fabs(output.massFlowKgPerH);
        v.warnings = coolingPressureDrop(*e, project);

        const series::SpeedRange range = series::coolingSpeedRange(series::seriesOf(name));
        v.barRange = barOf(range);
        // A slow fan's bar stands where its speed rule puts it, so that running that rule from
        // here is no move along its steps.
        v.barPosition =
            series::isSlowFan(name) ? static_cast<int>(std::trunc(e->FanSpeed)) : rounded(e->FanSpeed);
        v.settingText = fixedDigits(e->FanSpeed / (range.maximum / 100), 4, 0);
        v.waterSide = true;
        v.qmin = Minmax_K(*e, project, static_cast<int>(range.minimum));
        v.qmax = Minmax_K(*e, project, static_cast<int>(range.maximum));
        v.pressureDropText = strFixed(e->PressureDrop, 4, 1);
        v.soundLevelText = strFixed(std::fabs(e->SoundLevel), 4, 1);
        v.massFlowText = strFixed(e->MassFlow, 4, 1);
        v.rated = true;
        return v;
    }
}

FanBarReset reset4(const CoolingEntry& e)
{
    const std::string name = e.TypeName.text();
    FanBarReset r;
    if (series::isPrimaryAir(name)) {
        r.maxAirFlow = series::coolingAirFlowLimit(name, e.Length);
        r.barRange = BarRange{0, rounded(*r.maxAirFlow)};
    } else if (series::isWfwFamily(name)) {
        r.barRange = barOf(series::coolingSpeedRange(series::seriesOf(name)));
    }
    return r;
}

CoolingFanView moveCoolingFanBar(CoolingEntry& e,
                                 const ProjectRecord& project,
                                 int position,
                                 int count,
                                 double heightFactor,
                                 FanMemory& memory)
{
    const std::string name = e.TypeName.text();
    CoolingFanView v;

    if (series::isPrimaryAir(name)) {
        v.barRange = BarRange{0, rounded(memory.airFlowLimit)};
        e.FanSetting = position;
        v.settingText = std::to_string(position);
        e.FanSpeed = 0;
        e.Output = airOutput(project, position);
        e.Count = count;
        v.outputText = strFixed(e.Output, 0, 1);
        v.totalText = strFixed(e.Count * e.Output, 0, 1);
        // A primary-air unit has no water side to recalculate or warn of.
        return v;
    }

    if (!series::isStaged(name)) {
        const series::Series kind = series::seriesOf(name);
        const series::SpeedRange range = series::coolingSpeedRange(kind);
        const double storedSpeed = e.FanSpeed;
        e.FanSpeed = position;
        e.FanSetting = 0;
        v.barRange = barOf(range);
        if (kind == series::Series::Wfwl) {
            v.settingAsLabel = true;
            if (e.FanSpeed < range.minimum) {
                e.FanSpeed = range.minimum;
                v.messages.push_back(WfwlMinimumText);
            }
            e.FanSpeed = slowFanStep(memory.previousSpeed, storedSpeed, e.FanSpeed);
        }
        v.barPosition = static_cast<int>(std::trunc(e.FanSpeed));
        memory.previousSpeed = e.FanSpeed;
        v.settingText = strFixed(series::coolingPercentFromSpeed(kind, e.FanSpeed), 4, 0);
        v.slowSettingText = v.settingText;
    }

    const engine::OutputResult output = rateWaterSide(e, project, heightFactor);
    e.Output = std::fabs(output.outputW);
    e.MassFlow = std::fabs(output.massFlowKgPerH);
    v.status = output.status;
    v.massFlowLow = e.MassFlow < 50;
    v.warnings = coolingPressureDrop(e, project);
    e.Count = count;
    v.waterSide = true;
    v.outputText = strFixed(e.Output, 0, 1);
    v.totalText = strFixed(e.Count * e.Output, 0, 1);
    v.soundLevelText = strFixed(e.SoundLevel, 0, 1);
    v.pressureDropText = strFixed(e.PressureDrop, 0, 1);
    v.massFlowText = strFixed(e.MassFlow, 0, 1);
    return v;
}

TypedCoolingSetting typeCoolingSetting(CoolingEntry& e, std::string_view text, const FanMemory& memory)
{
    double v = fieldValue(text);
    if (series::isPrimaryAir(e.TypeName.text())) {
        v = std::min(v, memory.airFlowLimit);
        e.FanSetting = v;
        return {strFixed(v, 0, 0), rounded(v)};
    }
    const series::SpeedRange range = series::coolingSpeedRange(series::seriesOf(e.TypeName.text()));
    const double perPercent = range.maximum / 100;
    v = std::clamp(v, range.minimum / perPercent, 100.0);
    e.FanSpeed = v * perPercent;
    return {fixedDigits(v, 4, 0), rounded(v * perPercent)};
}

} // namespace tepa::calculation
