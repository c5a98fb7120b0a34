#include "core/calculation/UpdateCycle.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/WaterSide.h"
#include "core/model/ProjectReset.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace tepa::calculation {

namespace {

std::size_t slotOf(int index)
{
    return static_cast<std::size_t>(std::clamp<int>(index, 1, static_cast<int>(MaxEntries)) - 1);
}

// The digits of a count field as a number, without limits; a text without digits reads 0.
int typedCount(std::string_view text)
{
    if (const auto whole = readInteger(text))
        return *whole;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit = -1;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::tolower(c) - 'a' + 10;
        if (digit < 0)
            break;
        value = std::min<long long>(value * base + digit, 1000000);
    }
    return static_cast<int>(value);
}

bool blank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

} // namespace

std::string
entryDescription(const InterfaceTexts& texts, const std::string& typeName, double height, double length)
{
    return typeName + " " + texts.line(149) + "[mm] " + strFixed(height, 3, 0) + " " + texts.line(150) +
           "[mm] " + strFixed(length, 4, 0);
}

TypedCount countOfText(std::string_view text)
{
    const int typed = typedCount(text);
    TypedCount result;
    result.count = std::clamp(typed, MinCount, MaxCount);
    if (result.count != typed && !blank(text))
        result.correctedText = std::to_string(result.count);
    return result;
}

// ---- Heating ----

HeatingHeading update0(const Session& session, int index)
{
    const HeatingEntry& e = session.Project.HeatingEntries[slotOf(index)];
    HeatingHeading h;
    h.countText = strInt(e.Count, 2);
    h.count = e.Count;
    h.modeLine = e.FreeConvection ? FreeConvectionText : ForcedConvectionText;
    h.fanControlsShown = !e.FreeConvection;
    h.description = entryDescription(session.InterfaceTexts, e.TypeName.text(), e.Height, e.Length);
    return h;
}

HeatingLimits update_grenzen(Session& session, int index, bool returnTempHeld)
{
    ProjectRecord& project = session.Project;
    HeatingEntry& e = project.HeatingEntries[slotOf(index)];
    const std::string name = e.TypeName.text(), dataLine = e.TypeText1.text(), fanLine = e.TypeText2.text();

    engine::ConvectorSetting setting;
    setting.typeName = name;
    setting.lengthMm = e.Length;
    setting.speedRpm = e.FanSpeed;
    setting.dataLine = dataLine;
    setting.fanLine = fanLine;
    setting.freeConvection = e.FreeConvection;
    setting.heightFactor = e.HeightFactor;
    setting.mode = engine::Mode::Heating;
    setting.stage = stageOf(e.FanSpeed);
    const engine::ConvectorCoefficients coefficients = engine::Zwangskennwerte(setting);
    e.CoeffK = coefficients.characteristic.K;
    e.ExponentN = coefficients.characteristic.n;
    e.SoundLevel = coefficients.soundLevelDb;
    e.EffectiveLength = coefficients.effectiveLengthMm;

    const engine::ReturnLimits limits =
        engine::Ruecklaufgrenzen({e.CoeffK, e.ExponentN}, {project.HeatingFlowTemp, project.HeatingRoomTemp});
    e.ReturnTempEnd = limits.returnTempEnd;
    e.ReturnTempStart = limits.returnTempStart;
    e.MassFlowEnd = limits.massFlowEnd;
    e.MassFlowStart = limits.massFlowStart;
    e.OutputEnd = limits.outputEnd;
    e.OutputStart = limits.outputStart;
    project.ReturnTempFixed = returnTempHeld ? 1 : 0;
    project.MassFlowFixed = returnTempHeld ? 0 : 1;

    HeatingLimits v;
    v.status = limits.status;
    v.soundLevelText = strFixed(std::fabs(e.SoundLevel), 4, 0);
    v.returnEndText = fixedDigits(e.ReturnTempEnd, 3, 0);
    v.returnStartText = fixedDigits(e.ReturnTempStart, 3, 0);
    v.massEndText = fixedDigits(e.MassFlowEnd, 3, 0);
    v.massStartText = fixedDigits(e.MassFlowStart, 3, 0);
    v.outputEndText = fixedDigits(e.OutputEnd, 7, 0);
    v.outputStartText = fixedDigits(e.OutputStart, 7, 0);
    return v;
}

Residual Restwaerme(const ProjectRecord& project)
{
    double installed = 0;
    const int count = std::clamp<int>(project.HeatingEntryCount, 0, static_cast<int>(MaxEntries));
    for (int i = 0; i < count; ++i) {
        const HeatingEntry& e = project.HeatingEntries[static_cast<std::size_t>(i)];
        installed += e.Count * e.Output;
    }
    const double residual = project.HeatingDemand - installed;
    Residual r;
    r.surplus = residual < 0;
    r.captionLine = r.surplus ? SurplusText : StillToInstallText;
    r.valueText = strFixed(std::fabs(residual), 5, 0);
    return r;
}

HeatingUpdate update1(Session& session, int index, bool massFlowCheckArmed)
{
    const ProjectRecord& project = session.Project;
    HeatingEntry& e = session.Project.HeatingEntries[slotOf(index)];
    const double Tv = project.HeatingFlowTemp, Ti = project.HeatingRoomTemp;
    const engine::Characteristic characteristic{e.CoeffK, e.ExponentN};
    const bool returnTempHeld = project.ReturnTempFixed == 1;

    HeatingUpdate v;
    if (returnTempHeld) {
        const engine::OutputResult output = engine::Heizleistung(characteristic, {Tv, e.ReturnTemp, Ti});
        e.Output = output.outputW;
        e.MassFlow = output.massFlowKgPerH;
        v.status = output.status;
    } else {
        if (massFlowCheckArmed && e.MassFlow < e.MassFlowStart) {
            v.messages.push_back(MassFlowRaisedText);
            e.MassFlow = e.MassFlowStart;
        }
        const engine::ReturnFromFlowResult result =
            engine::Ruecklauf_aus_Massenstrom(characteristic, {Tv, Ti, e.MassFlow});
        e.Output = result.outputW;
        e.ReturnTemp = result.returnTempC;
        v.status = result.status;
    }
    const engine::PressureDropResult drop = heatingDrop(e, project);
    if (drop.status != 0)
        v.status = drop.status;
    v.warnings = warningsOf(drop);
    v.pressureDropText = strFixed(e.PressureDrop, 4, 0);

    // Only an inverted window (the value below its start and above its end at once) is caught:
    // within a normal window the held quantity is always reachable, and a value just outside
    // it after rounding of the window ends must not interrupt the user.
    const auto outside = [](double x, double start, double end) { return x < start && x > end; };
    const bool rejected = (returnTempHeld ? outside(e.MassFlow, e.MassFlowStart, e.MassFlowEnd)
                                          : outside(e.ReturnTemp, e.ReturnTempStart, e.ReturnTempEnd)) ||
                          outside(e.Output, e.OutputStart, e.OutputEnd);
    if (rejected) {
        v.refusal = InvertedWindowText;
        return v;
    }
    v.point = viewOf(e);
    v.residual = Restwaerme(project);
    return v;
}

namespace {

// After a speed change the held quantity stays inside its new window.
void keepInWindow(HeatingEntry& e, const ProjectRecord& project)
{
    if (project.ReturnTempFixed != 1)
        e.MassFlow = std::max(std::min(e.MassFlow, e.MassFlowEnd), e.MassFlowStart);
    else
        e.ReturnTemp = std::max(std::min(e.ReturnTemp, e.ReturnTempEnd), e.ReturnTempStart);
}

} // namespace

SpeedChange afterSpeedChange(Session& session, bool returnTempHeld, bool massFlowCheckArmed)
{
    SpeedChange c;
    const int index = session.HeatingEntryIndex;
    c.limits = update_grenzen(session, index, returnTempHeld);
    keepInWindow(session.currentHeatingEntry(), session.Project);
    c.update = update1(session, index, massFlowCheckArmed);
    return c;
}

HeatingFanStep DrehzahlBar4Change(
    Session& session, int position, bool returnTempHeld, bool massFlowCheckArmed, FanMemory& memory)
{
    HeatingEntry& e = session.currentHeatingEntry();
    HeatingFanStep step;
    step.bar = moveHeatingFanBar(e.TypeName.text(), e.FanSpeed, position, memory);
    e.FanSpeed = step.bar.fanSpeed;
    e.FanSetting = step.bar.fanSetting;
    step.change = afterSpeedChange(session, returnTempHeld, massFlowCheckArmed);
    return step;
}

BarCaptions Balken_grenzwerte(const Session& session, int index)
{
    BarCaptions c;
    if (session.HeatingMode) {
        const bool primaryAir =
            series::isPrimaryAir(session.Project.HeatingEntries[slotOf(index)].TypeName.text());
        c.speedHeading = primaryAir ? 179 : 52;
        c.speedUnit = primaryAir ? 183 : 184;
        return c;
    }
    const CoolingEntry& e = session.Project.CoolingEntries[slotOf(index)];
    const bool primaryAir = series::isPrimaryAir(e.TypeName.text());
    c.speedHeading = primaryAir ? 179 : 178;
    c.speedUnit = primaryAir ? 189 : 184;
    c.coolingReset = reset4(e);
    return c;
}

void Nullen(ProjectRecord& project, int index)
{
    clearHeatingEntry(project.HeatingEntries[slotOf(index)]);
}

void Nullen_K(ProjectRecord& project, int index)
{
    clearCoolingEntry(project.CoolingEntries[slotOf(index)]);
}

HeatingStage heatingStage(Session& session, double speedRpm, bool returnTempHeld, bool massFlowCheckArmed)
{
    HeatingStage s;
    HeatingEntry& e = session.currentHeatingEntry();
    // A stage belongs to the staged series; on any other entry it is no setting at all.
    if (!series::isStaged(e.TypeName.text()))
        return s;
    s.applied = true;
    e.FanSpeed = speedRpm;
    const int index = session.HeatingEntryIndex;
    s.heading = update0(session, index);
    s.limits = update_grenzen(session, index, returnTempHeld);
    s.update = update1(session, index, massFlowCheckArmed);
    return s;
}

// ---- Cooling ----

CoolingHeading update0_K(const Session& session, int index)
{
    const CoolingEntry& e = session.Project.CoolingEntries[slotOf(index)];
    CoolingHeading h;
    h.countText = strInt(e.Count, 2);
    h.count = e.Count;
    h.description = entryDescription(session.InterfaceTexts, e.TypeName.text(), e.Height, e.Length);
    return h;
}

namespace {

// The current cooling entry rated again after one of its inputs changed.
CoolingStep rateCurrentCooling(Session& session, std::string_view countField)
{
    CoolingStep s;
    s.applied = true;
    const int index = session.CoolingEntryIndex;
    CoolingEntry& e = session.currentCoolingEntry();
    s.heading = update0_K(session, index);
    s.captions = Balken_grenzwerte(session, index);
    s.point = update1_K(session.Project.CoolingEntries[slotOf(index)], e, session.Project);
    s.massFlowLow = e.MassFlow < 50;
    const TypedCount count = countOfText(countField);
    e.Count = count.count;
    s.countText = count.correctedText;
    s.outputText = strFixed(e.Output, 0, 1);
    s.totalText = strFixed(e.Count * e.Output, 0, 1);
    return s;
}

} // namespace

CoolingStep Edit6Change(Session& session, std::string_view returnTempText, std::string_view countField)
{
    // A decimal comma is a decimal point here as in every number field of the window.
    auto returnTemp = localeFloat(commaToPoint(returnTempText), '.');
    if (!returnTemp) {
        CoolingStep refused;
        refused.error = returnTemp.error();
        return refused;
    }
    session.currentCoolingEntry().ReturnTemp = returnTemp.value();
    return rateCurrentCooling(session, countField);
}

CoolingStep coolingStage(Session& session, double speedRpm, std::string_view countField)
{
    CoolingEntry& e = session.currentCoolingEntry();
    if (!series::isStaged(e.TypeName.text()))
        return {};
    e.FanSpeed = speedRpm;
    return rateCurrentCooling(session, countField);
}

CountChange Edit9Change(Session& session, std::string_view countField)
{
    CountChange c;
    if (session.EntryBeingAdded)
        return c;
    CoolingEntry& e = session.currentCoolingEntry();
    const TypedCount typed = countOfText(countField);
    c.applied = true;
    c.count = e.Count = typed.count;
    c.correctedText = typed.correctedText;
    c.totalText = fixedDigits(e.Count * e.Output, 5, 1);
    return c;
}

CountChange Edit5Change(Session& session, std::string_view countField)
{
    CountChange c;
    if (session.EntryBeingAdded)
        return c;
    const TypedCount typed = countOfText(countField);
    c.applied = true;
    c.count = session.currentHeatingEntry().Count = typed.count;
    c.correctedText = typed.correctedText;
    return c;
}

} // namespace tepa::calculation
