#include "core/sizing/Sizing.h"

#include "core/engine/AirSide.h"
#include "core/engine/FanSetting.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/Rating.h"
#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace tepa::sizing {

using engine::DwfStage;
using engine::Mode;
using series::Series;

namespace {

Result<std::vector<TypeRecord>> checkedTypes(const std::filesystem::path& dir, bool forced)
{
    auto lines = readTextLines(dir / (forced ? ForcedTypeFileName : FreeTypeFileName));
    if (!lines)
        return Error{lines.error()};
    auto types = typesFromLines(*lines, forced);
    if (!types)
        return Error{types.error()};
    // A damaged number would rate as 0 W and silently drop the type from every search.
    for (std::size_t j = 1; j <= types->size(); ++j)
        if (Status valid = checkTypeNumbers(*lines, j, forced); !valid)
            return Error{valid.error()};
    return types;
}

// The cooling fan speeds run from the bottom of the cooling bar, the heating ones from the
// minimum speed; both up to the top of their bar in steps of 10 % of it.
void addSpeedSteps(std::vector<Setting>& settings, double lowest, double highest)
{
    settings.push_back({SettingKind::Speed, lowest});
    const double step = highest / 10;
    for (double speed = std::ceil(lowest / step + 1e-9) * step; speed <= highest + 1e-9; speed += step)
        settings.push_back({SettingKind::Speed, speed});
}

void addAirSteps(std::vector<Setting>& settings, double limit, bool heating)
{
    for (double air : series::wnfAirLadder())
        if (air > 0 && air <= limit)
            settings.push_back(
                {SettingKind::AirFlow, heating ? engine::speedFromPrimaryAir(air) : 0, DwfStage::Off, air});
    // The cooling air per length rarely falls on a ladder step; its limit is a setting of its own.
    if (!heating && limit > 0 && (settings.empty() || settings.back().airFlowM3PerH < limit))
        settings.push_back({SettingKind::AirFlow, 0, DwfStage::Off, limit});
}

DwfStage stageOfSpeed(double rpm)
{
    return rpm >= 1400   ? DwfStage::Rpm1400
           : rpm >= 1000 ? DwfStage::Rpm1000
           : rpm >= 700  ? DwfStage::Rpm700
                         : DwfStage::Off;
}

bool meetsSeries(std::string_view typeName, const std::vector<std::string>& codes)
{
    if (codes.empty())
        return true;
    return std::any_of(codes.begin(), codes.end(),
                       [typeName](const std::string& code) { return series::hasCode(typeName, code); });
}

// The fewest units whose summed output reaches the demand, 0 when more than `maxCount` are needed.
int fewestUnits(double demandW, double outputW, int maxCount)
{
    const double estimate = std::ceil(demandW / outputW);
    if (!(estimate <= maxCount + 1))
        return 0;
    int n = std::max(1, static_cast<int>(estimate));
    // The quotient may round either way; the sum decides.
    while (n > 1 && (n - 1) * outputW >= demandW)
        --n;
    while (n <= maxCount && n * outputW < demandW)
        ++n;
    return n <= maxCount ? n : 0;
}

} // namespace

Result<Catalog> loadCatalog(const std::filesystem::path& dir, char decimalSeparator)
{
    Catalog catalog;
    catalog.decimalSeparator = decimalSeparator;
    auto freeTypes = checkedTypes(dir, false);
    if (!freeTypes)
        return Error{freeTypes.error()};
    auto forcedTypes = checkedTypes(dir, true);
    if (!forcedTypes)
        return Error{forcedTypes.error()};
    auto heights = loadHeights(dir);
    if (!heights)
        return Error{heights.error()};
    catalog.freeTypes = std::move(*freeTypes);
    catalog.forcedTypes = std::move(*forcedTypes);
    catalog.heights = std::move(*heights);
    return catalog;
}

std::string entryTypeName(std::string_view typeLine, Mode mode)
{
    constexpr std::size_t nameField = 10;
    if (mode == Mode::Heating)
        return std::string(utf8Left(typeLine, nameField));
    const std::string_view head = utf8Left(typeLine, 20);
    const auto blank = head.find(' ');
    if (blank == std::string_view::npos)
        return std::string(utf8Left(typeLine, nameField));
    return std::string(utf8Left(head.substr(0, blank), nameField));
}

std::vector<Setting>
settingsOf(std::string_view typeName, bool free, Mode mode, double lengthMm, bool fanAllowed)
{
    std::vector<Setting> settings;
    if (free)
        return {{SettingKind::None}};
    const Series kind = series::seriesOf(typeName);
    const bool heating = mode == Mode::Heating;
    // In heating a fan convector with its fan off is a free convector; in cooling the fan runs.
    // The water-cooling fans cannot be set below their lowest speed.
    if (heating && kind != Series::Wfw && kind != Series::Wfwl)
        settings.push_back({kind == Series::Dwf   ? SettingKind::Stage
                            : kind == Series::Wnf ? SettingKind::AirFlow
                                                  : SettingKind::Speed});
    if (!fanAllowed)
        return settings;
    switch (kind) {
    case Series::None:
        break;
    case Series::Wnf:
        addAirSteps(settings,
                    heating ? series::primaryAirPerSize(typeName)
                            : series::coolingAirFlowLimit(typeName, lengthMm),
                    heating);
        break;
    case Series::Dwf:
        for (double rpm : series::dwfStages())
            if (rpm > 0)
                settings.push_back({SettingKind::Stage, rpm, stageOfSpeed(rpm)});
        break;
    case Series::Wfwl:
        for (double rpm : series::wfwlSpeedLadder())
            settings.push_back({SettingKind::Speed, rpm});
        break;
    case Series::Wf:
    case Series::WfS:
    case Series::Wfw: {
        const series::SpeedRange range =
            heating ? series::SpeedRange{series::minimumSpeed(kind), series::fullSpeed(kind)}
                    : series::coolingSpeedRange(kind);
        addSpeedSteps(settings, range.minimum, range.maximum);
        break;
    }
    }
    return settings;
}

Result<std::vector<Unit>> heightsOf(const Catalog& catalog, const TypeRecord& type, Mode mode)
{
    const std::string name = entryTypeName(type.name, mode);
    if (const double fixed = series::fixedHeight(series::seriesOf(name)); fixed > 0)
        return std::vector<Unit>{{fixed, 1}};
    auto offered = offeredHeights(type.name, catalog.heights);
    if (!offered)
        return Error{std::string(HeightFileName) + ": " + offered.error()};
    std::vector<Unit> units;
    for (const std::string& line : offered->lines) {
        Unit unit{heightOfLine(line), 1};
        if (mode == Mode::Heating) {
            auto factor = heightFactor(name, line, catalog.decimalSeparator);
            if (!factor)
                return Error{std::string(HeightFileName) + ": " + factor.error()};
            unit.heightFactor = *factor;
        }
        units.push_back(unit);
    }
    return units;
}

std::optional<Candidate> rateUnit(const TypeRecord& type,
                                  bool free,
                                  double lengthMm,
                                  const Unit& height,
                                  const Setting& setting,
                                  const Request& request)
{
    Candidate c;
    c.typeLine = type.name;
    c.typeName = entryTypeName(type.name, request.mode);
    c.free = free;
    c.dataLine = type.dataLine;
    c.fanLine = type.fanLine;
    c.lengthMm = lengthMm;
    c.heightMm = height.heightMm;
    c.heightFactor = height.heightFactor;
    c.setting = setting.kind;
    c.speedRpm = setting.speedRpm;
    c.stage = setting.stage;
    c.airFlowM3PerH = setting.airFlowM3PerH;

    const bool heating = request.mode == Mode::Heating;
    if (!heating && series::isPrimaryAir(c.typeName)) {
        // Cooled by its primary air alone, entering at its own temperature and leaving at room
        // temperature; the water side is not rated.
        const engine::AirOutputResult air =
            engine::Luftleistung({request.airInletC, request.roomTempC, setting.airFlowM3PerH});
        // An absurd air temperature gives an output no number can hold.
        if (air.status != 0 || !(air.outputW > 0) || !std::isfinite(air.outputW))
            return std::nullopt;
        c.outputW = air.outputW;
        c.returnTempC = request.returnTempC.value_or(0);
        return c;
    }

    engine::OperatingPointInput in{.type = {c.typeName, type.dataLine, type.fanLine},
                                   .mode = request.mode,
                                   .freeConvection = free,
                                   .lengthMm = lengthMm,
                                   .heightFactor = height.heightFactor,
                                   .speedRpm = setting.speedRpm,
                                   .stage = setting.stage,
                                   .Tv = request.flowTempC,
                                   .Ti = request.roomTempC};
    if (request.returnTempC) {
        in.given = engine::Given::ReturnTemp;
        in.givenValue = *request.returnTempC;
    } else if (heating && request.maxMassFlowKgPerH) {
        in.given = engine::Given::MassFlow;
        in.givenValue = *request.maxMassFlowKgPerH;
    } else {
        return std::nullopt;
    }
    engine::OperatingPoint p = engine::rateConvector(in);
    if (heating) {
        const engine::ReturnLimits& w = p.limits;
        if (w.status != 0)
            return std::nullopt;
        if (in.given == engine::Given::ReturnTemp) {
            if (!(in.givenValue >= w.returnTempStart && in.givenValue <= w.returnTempEnd))
                return std::nullopt;
        } else {
            // The most a unit may take: the planner's limit or the end of its window.
            if (in.givenValue < w.massFlowStart)
                return std::nullopt;
            if (in.givenValue > w.massFlowEnd) {
                in.givenValue = w.massFlowEnd;
                p = engine::rateConvector(in);
            }
        }
    }
    if (p.status != 0 || !(p.outputW > 0) ||
        !engine::allFinite(
            {p.outputW, p.massFlowKgPerH, p.pressureDropPa, p.returnTempC, p.coefficients.soundLevelDb}))
        return std::nullopt;
    c.outputW = p.outputW;
    c.returnTempC = p.returnTempC;
    c.massFlowKgPerH = p.massFlowKgPerH;
    c.pressureDropPa = p.pressureDropPa;
    // Free convectors and fans at rest have no sound level of their own (the engine gives 0).
    c.soundLevelDb = std::fabs(p.coefficients.soundLevelDb);
    c.laminarFlow = p.laminarFlow;
    c.highPressureDrop = p.highPressureDrop;
    c.lowMassFlow = !heating && p.massFlowKgPerH < LowCoolingMassFlowKgPerH;
    return c;
}

bool better(const Candidate& a, const Candidate& b)
{
    return std::make_tuple(a.count, a.count * a.lengthMm, a.soundLevelDb) <
           std::make_tuple(b.count, b.count * b.lengthMm, b.soundLevelDb);
}

Outcome size(const Catalog& catalog, const Request& request)
{
    Outcome outcome;
    const bool heating = request.mode == Mode::Heating;
    if (!heating) {
        const engine::DewPointResult dew = engine::Taupunkt(request.roomTempC, request.humidityPercent);
        if (dew.status == 0) {
            outcome.dewPointC = dew.dewPointC;
            outcome.dewPointLimitC = engine::dewPointFlowLimit(request.roomTempC, dew.dewPointC);
            outcome.flowBelowDewPointLimit = request.flowTempC < outcome.dewPointLimitC;
        }
    }
    const Constraints& limits = request.constraints;
    if (!(request.demandW > 0) || !std::isfinite(request.demandW) || limits.maxCount < 1)
        return outcome;

    for (const bool free : {true, false}) {
        // Free convectors heat only.
        if (free && !heating)
            continue;
        for (const TypeRecord& type : free ? catalog.freeTypes : catalog.forcedTypes) {
            const std::string name = entryTypeName(type.name, request.mode);
            if (!heating && !engine::Kuehltyp(type.name))
                continue;
            if (!meetsSeries(name, limits.series))
                continue;
            auto heights = heightsOf(catalog, type, request.mode);
            if (!heights)
                continue;
            for (const std::string& field : lengthFields(type.lengthLine)) {
                const double lengthMm = decimalValue(field);
                if (!(lengthMm > 0) || (limits.maxLengthMm && lengthMm > *limits.maxLengthMm))
                    continue;
                for (const Unit& height : *heights) {
                    if (limits.heightMm && height.heightMm != *limits.heightMm)
                        continue;
                    for (const Setting& setting :
                         settingsOf(name, free, request.mode, lengthMm, limits.fanAllowed)) {
                        auto unit = rateUnit(type, free, lengthMm, height, setting, request);
                        if (!unit)
                            continue;
                        if (limits.maxSoundDb && unit->soundLevelDb > *limits.maxSoundDb)
                            continue;
                        if (limits.maxPressureDropPa && unit->pressureDropPa > *limits.maxPressureDropPa)
                            continue;
                        const int units = fewestUnits(request.demandW, unit->outputW, limits.maxCount);
                        if (units == 0)
                            continue;
                        unit->count = units;
                        unit->totalW = unit->count * unit->outputW;
                        if (!std::isfinite(unit->totalW))
                            continue;
                        outcome.candidates.push_back(std::move(*unit));
                    }
                }
            }
        }
    }
    std::stable_sort(outcome.candidates.begin(), outcome.candidates.end(), better);
    return outcome;
}

namespace {

template <class Entry>
const Entry* lastInUse(const std::array<Entry, MaxEntries>& entries, std::int32_t count)
{
    for (int i = std::clamp<int>(count, 0, static_cast<int>(MaxEntries)); i > 0; --i)
        if (entries[static_cast<std::size_t>(i - 1)].InUse)
            return &entries[static_cast<std::size_t>(i - 1)];
    return nullptr;
}

template <class Entry>
double residualDemand(double demandW, const std::array<Entry, MaxEntries>& entries, std::int32_t count)
{
    double installed = 0;
    for (int i = 0; i < std::clamp<int>(count, 0, static_cast<int>(MaxEntries)); ++i) {
        const Entry& e = entries[static_cast<std::size_t>(i)];
        if (e.InUse)
            installed += e.Count * e.Output;
    }
    const double residual = demandW - installed;
    return residual > 0 ? residual : demandW;
}

} // namespace

Request roomRequest(const ProjectRecord& p, Mode mode)
{
    Request r;
    r.mode = mode;
    if (mode == Mode::Heating) {
        r.flowTempC = p.HeatingFlowTemp;
        r.roomTempC = p.HeatingRoomTemp;
        r.demandW = residualDemand(p.HeatingDemand, p.HeatingEntries, p.HeatingEntryCount);
        const HeatingEntry* last = lastInUse(p.HeatingEntries, p.HeatingEntryCount);
        if (last && p.ReturnTempFixed != 1 && last->MassFlow > 0)
            r.maxMassFlowKgPerH = last->MassFlow;
        else if (last && last->ReturnTemp > r.roomTempC && last->ReturnTemp < r.flowTempC)
            r.returnTempC = last->ReturnTemp;
        else
            r.returnTempC = std::max(r.flowTempC - 10, (r.flowTempC + r.roomTempC) / 2);
        return r;
    }
    r.flowTempC = p.CoolingFlowTemp;
    r.roomTempC = p.CoolingRoomTemp;
    r.demandW = residualDemand(p.CoolingDemand, p.CoolingEntries, p.CoolingEntryCount);
    if (p.CoolingHumidity > 0 && p.CoolingHumidity <= 100)
        r.humidityPercent = p.CoolingHumidity;
    r.airInletC = p.CoolingSecondTemp;
    const CoolingEntry* last = lastInUse(p.CoolingEntries, p.CoolingEntryCount);
    if (last && last->ReturnTemp > r.flowTempC)
        r.returnTempC = last->ReturnTemp;
    else
        r.returnTempC = static_cast<double>(roundHalfEven(r.flowTempC)) + 2;
    return r;
}

void pickType(HeatingEntry& e, const Candidate& c)
{
    e.FreeConvection = c.free;
    e.FreeConvectionB = c.free;
    e.TypeName.setText(c.typeName);
    e.TypeText1.setText(c.dataLine);
    if (!c.free)
        e.TypeText2.setText(c.fanLine);
    e.Length = c.lengthMm;
    e.Height = c.heightMm;
    e.HeightFactor = c.heightFactor;
}

void pickType(CoolingEntry& e, const Candidate& c)
{
    e.TypeName.setText(c.typeName);
    e.TypeText1.setText(c.dataLine);
    e.TypeText2.setText(c.fanLine);
    e.Length = c.lengthMm;
    e.Height = c.heightMm;
    e.HeightFactor = c.heightFactor;
}

} // namespace tepa::sizing
