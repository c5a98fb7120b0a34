#include "SampleProject.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/NominalRating.h"
#include "core/engine/Rating.h"
#include "core/model/ProjectReset.h"
#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::sample {
namespace {

struct Installation
{
    std::vector<TypeRecord> freeTypes;
    std::vector<TypeRecord> forcedTypes;
    std::vector<std::string> heights;
};

// One convector of the room as the user chooses it in the calculation window.
struct Choice
{
    std::string_view typeName; // the whole type line, as the type list shows it
    double lengthMm = 0;
    // Line of bauhoehen.txt, for the series that offer every height; the others have one.
    std::size_t heightLine = 1;
    double speedRpm = 0; // 0 for free convection; a "DWF" unit runs at its stage's speed
    std::int32_t count = 1;
    double returnTempC = 0;
};

// A ceiling unit's casing has one height, whatever the height list says.
constexpr double CeilingUnitHeightMm = 500;

// clang-format off
// Room heating: 70/55 °C water, 20 °C room. The fan units run at 70 % of their top speed
// (980 of 1400 rpm, 1120 of 1600 rpm), the ceiling unit at its middle stage.
const Choice heatingChoices[] = {
    {.typeName = "W3",                     .lengthMm = 2500, .heightLine = 4, .speedRpm = 0,    .count = 2, .returnTempC = 55},
    {.typeName = "WF2",                    .lengthMm = 2150, .heightLine = 1, .speedRpm = 980,  .count = 1, .returnTempC = 55},
    {.typeName = "WFW-2L    Zweileiter",   .lengthMm = 2000, .heightLine = 8, .speedRpm = 1120, .count = 1, .returnTempC = 55},
    {.typeName = "DWF       Deckengeraet", .lengthMm = 1800, .heightLine = 1, .speedRpm = 1000, .count = 1, .returnTempC = 55},
};
// Room cooling: 16 °C water, 26 °C room at 45 % humidity (dew point about 13 °C, so the flow
// stays clear of condensation). The 2-pipe coil runs at 80 %, the low-speed coil at 75 %.
const Choice coolingChoices[] = {
    {.typeName = "WFW-2L    Zweileiter",   .lengthMm = 2000, .heightLine = 8,  .speedRpm = 1280,  .count = 2, .returnTempC = 18},
    {.typeName = "WFWL-4L   Vierleiter",   .lengthMm = 2750, .heightLine = 15, .speedRpm = 862.5, .count = 1, .returnTempC = 19},
    {.typeName = "DWF       Deckengeraet", .lengthMm = 1800, .heightLine = 1,  .speedRpm = 1000,  .count = 1, .returnTempC = 18},
};
// clang-format on

constexpr double HeatingDemandW = 8800;
constexpr double CoolingDemandW = 3600;

bool contains(std::string_view text, std::string_view code)
{
    return text.find(code) != std::string_view::npos;
}

Result<Installation> readInstallationData(const std::filesystem::path& dir)
{
    auto freeTypes = readAllTypes(dir, false);
    if (!freeTypes)
        return Error{freeTypes.error()};
    auto forcedTypes = readAllTypes(dir, true);
    if (!forcedTypes)
        return Error{forcedTypes.error()};
    auto heights = loadHeights(dir);
    if (!heights)
        return Error{heights.error()};
    return Installation{std::move(freeTypes).value(), std::move(forcedTypes).value(),
                        std::move(heights).value()};
}

// The type record and whether it is a free-convection type (the file it comes from).
struct FoundType
{
    const TypeRecord* record = nullptr;
    bool free = false;
};

Result<FoundType> findType(const Installation& data, std::string_view name)
{
    for (const auto* list : {&data.freeTypes, &data.forcedTypes}) {
        const auto it = std::find_if(list->begin(), list->end(),
                                     [name](const TypeRecord& type) { return type.name == name; });
        if (it != list->end())
            return FoundType{&*it, list == &data.freeTypes};
    }
    return Error{"no type \"" + std::string(name) + "\" in " + FreeTypeFileName + " or " +
                 ForcedTypeFileName};
}

// The entry names the calculation window gives a picked type: in heating the type line cut to
// the field's 10 characters, in cooling the code before the first blank of its first 20.
std::string heatingEntryName(std::string_view typeName)
{
    return std::string(utf8Left(typeName, 10));
}
std::string coolingEntryName(std::string_view typeName)
{
    const std::string_view head = utf8Left(typeName, 20);
    return std::string(utf8Left(head.substr(0, head.find(' ')), 10));
}

engine::DwfStage stageOf(std::string_view typeName, double speedRpm)
{
    if (!contains(typeName, "DWF"))
        return engine::DwfStage::Off;
    if (speedRpm >= 1400)
        return engine::DwfStage::Rpm1400;
    if (speedRpm >= 1000)
        return engine::DwfStage::Rpm1000;
    return speedRpm >= 700 ? engine::DwfStage::Rpm700 : engine::DwfStage::Off;
}

struct ChosenHeight
{
    double heightMm = 0;
    double factor = 1;
};

// The height the type's height list offers at `line` (the one offered line for series with a
// single height), with the factor the series takes from it once a length has been clicked.
Result<ChosenHeight> chooseHeight(const Installation& data, const std::string& entryName, std::size_t line)
{
    if (contains(entryName, "DWF"))
        return ChosenHeight{CeilingUnitHeightMm, 1};
    const auto offered = offeredHeights(entryName, data.heights);
    if (!offered)
        return Error{offered.error()};
    const std::string& heightLine =
        offered->lines.size() > 1 ? offered->lines.at(line) : offered->lines.front();
    const auto factor = heightFactor(entryName, heightLine);
    if (!factor)
        return Error{factor.error()};
    return ChosenHeight{heightOfLine(heightLine), *factor};
}

// Fields both entry kinds take from the choice and the type record.
template <class Entry>
void fillChoice(Entry& entry,
                const std::string& entryName,
                const Choice& choice,
                const FoundType& type,
                const ChosenHeight& height)
{
    entry.TypeName.setText(entryName);
    entry.Length = choice.lengthMm;
    entry.Height = height.heightMm;
    entry.HeightFactor = height.factor;
    entry.FanSpeed = choice.speedRpm;
    entry.FanSetting = 0; // speeds set directly, as percentages or stages
    entry.Count = choice.count;
    entry.TypeText1.setText(type.record->dataLine);
    if (!type.free)
        entry.TypeText2.setText(type.record->fanLine);
    entry.ReturnTemp = choice.returnTempC;
    entry.InUse = true;
}

template <class Entry> void fillResult(Entry& entry, const engine::OperatingPoint& point)
{
    entry.CoeffK = point.coefficients.characteristic.K;
    entry.ExponentN = point.coefficients.characteristic.n;
    entry.SoundLevel = point.coefficients.soundLevelDb;
    entry.EffectiveLength = point.coefficients.effectiveLengthMm;
    entry.ReturnTemp = point.returnTempC;
    entry.Output = point.outputW;
    entry.MassFlow = point.massFlowKgPerH;
    entry.PressureDrop = point.pressureDropPa;
}

Result<engine::OperatingPoint> rate(const std::string& entryName,
                                    const FoundType& type,
                                    const Choice& choice,
                                    double heightFactorValue,
                                    engine::Mode mode,
                                    double Tv,
                                    double Ti)
{
    const engine::OperatingPoint point = engine::rateConvector(
        {.type = {entryName, type.record->dataLine, type.free ? "" : type.record->fanLine},
         .mode = mode,
         .freeConvection = type.free,
         .lengthMm = choice.lengthMm,
         .heightFactor = heightFactorValue,
         .speedRpm = choice.speedRpm,
         .stage = stageOf(entryName, choice.speedRpm),
         .Tv = Tv,
         .Ti = Ti,
         .given = engine::Given::ReturnTemp,
         .givenValue = choice.returnTempC});
    if (point.status != 0)
        return Error{"the operating point of \"" + entryName + "\" has no result"};
    return point;
}

engine::OtherModeRating
otherMode(const std::string& entryName, const FoundType& type, const Choice& choice, engine::Mode currentMode)
{
    return engine::otherModeRating({.typeName = entryName,
                                    .lengthMm = choice.lengthMm,
                                    .dataLine = type.record->dataLine,
                                    .fanLine = type.record->fanLine,
                                    .currentMode = currentMode});
}

Status
addHeatingEntry(ProjectRecord& record, const Installation& data, const Choice& choice, std::size_t slot)
{
    const auto type = findType(data, choice.typeName);
    if (!type)
        return Error{type.error()};
    const std::string name = heatingEntryName(choice.typeName);
    const auto height = chooseHeight(data, name, choice.heightLine);
    if (!height)
        return Error{height.error()};
    HeatingEntry& entry = record.HeatingEntries.at(slot);
    clearHeatingEntry(entry);
    fillChoice(entry, name, choice, *type, *height);
    entry.FreeConvection = type->free;
    entry.FreeConvectionB = type->free;

    const auto point = rate(name, *type, choice, height->factor, engine::Mode::Heating,
                            record.HeatingFlowTemp, record.HeatingRoomTemp);
    if (!point)
        return Error{point.error()};
    fillResult(entry, *point);
    entry.ReturnTempStart = point->limits.returnTempStart;
    entry.MassFlowStart = point->limits.massFlowStart;
    entry.OutputStart = point->limits.outputStart;
    entry.ReturnTempEnd = point->limits.returnTempEnd;
    entry.MassFlowEnd = point->limits.massFlowEnd;
    entry.OutputEnd = point->limits.outputEnd;

    // The series that can cool keep their cooling rating, for the room's cooling total.
    const engine::OtherModeRating cooling = otherMode(name, *type, choice, engine::Mode::Heating);
    if (cooling.showBox) {
        entry.CoolingNominalOutput = cooling.outputW;
        entry.CoolingNominalSound = cooling.soundLevelDb;
        entry.CoolingNominalPressureDrop = cooling.pressureDropPa;
        entry.CoolingNominalMassFlow = cooling.massFlowKgPerH;
    }
    return Done{};
}

Status
addCoolingEntry(ProjectRecord& record, const Installation& data, const Choice& choice, std::size_t slot)
{
    const auto type = findType(data, choice.typeName);
    if (!type)
        return Error{type.error()};
    if (type->free)
        return Error{"\"" + std::string(choice.typeName) + "\" is a free-convection type and cannot cool"};
    const std::string name = coolingEntryName(choice.typeName);
    auto height = chooseHeight(data, name, choice.heightLine);
    if (!height)
        return Error{height.error()};
    height->factor = 1; // cooling entries are always rated at factor 1
    CoolingEntry& entry = record.CoolingEntries.at(slot);
    clearCoolingEntry(entry);
    fillChoice(entry, name, choice, *type, *height);

    const auto point = rate(name, *type, choice, height->factor, engine::Mode::Cooling,
                            record.CoolingFlowTemp, record.CoolingRoomTemp);
    if (!point)
        return Error{point.error()};
    fillResult(entry, *point);

    const engine::OtherModeRating heating = otherMode(name, *type, choice, engine::Mode::Cooling);
    if (heating.showBox) {
        entry.HeatingNominalOutput = heating.outputW;
        entry.HeatingNominalSound = heating.soundLevelDb;
        entry.HeatingNominalPressureDrop = heating.pressureDropPa;
        entry.HeatingNominalMassFlow = heating.massFlowKgPerH;
    }
    return Done{};
}

void fillProjectData(ProjectRecord& r)
{
    r.Title.setText("Beispielprojekt Verwaltungsgebäude");
    r.Number.setText("BSP-2025-01");
    r.DataLines[0].setText("Bauherr: Muster Immobilien GmbH");
    r.DataLines[1].setText("Planung: TGA-Planungsbüro Beispiel");
    r.DataLines[2].setText("Gebäude: Verwaltung, Erdgeschoss");
    r.DataLines[6].setText("Stand: Entwurf");
    r.RemarkLines[0].setText("Foyer mit Glasfassade: Bodenkanäle vor der Fassade,");
    r.RemarkLines[1].setText("Gebläsekonvektoren und Deckengeräte für Heizen und Kühlen.");
    r.RemarkLines[2].setText("Heizen 70/55 °C, Kühlen 16 °C Vorlauf.");

    r.RoomName.setText("Foyer EG");
    r.HeatingDemand = HeatingDemandW;
    r.CoolingDemand = CoolingDemandW;
    r.HeatingRoomTemp = 20;
    r.HeatingFlowTemp = 70;
    r.CoolingRoomTemp = 26;
    r.CoolingFlowTemp = 16;
    r.CoolingHumidity = 45;
    r.CoolingDualUse = false;
    r.HeatingDualUse = false;
    r.ReturnTempFixed = 1;
    r.MassFlowFixed = 0;
}

} // namespace

Result<ProjectRecord> makeSampleProject(const std::filesystem::path& dataDir)
{
    const auto data = readInstallationData(dataDir);
    if (!data)
        return Error{data.error()};

    ProjectRecord record;
    resetForNewProject(record, SampleDate);
    fillProjectData(record);

    std::size_t slot = 0;
    for (const Choice& choice : heatingChoices) {
        const auto added = addHeatingEntry(record, *data, choice, slot++);
        if (!added)
            return Error{added.error()};
    }
    record.HeatingEntryCount = static_cast<std::int32_t>(slot);
    slot = 0;
    for (const Choice& choice : coolingChoices) {
        const auto added = addCoolingEntry(record, *data, choice, slot++);
        if (!added)
            return Error{added.error()};
    }
    record.CoolingEntryCount = static_cast<std::int32_t>(slot);

    // As a save leaves them: both lists in use, the room calculated.
    record.HeatingInUse = true;
    record.CoolingInUse = true;
    record.CalculationDone = true;
    return record;
}

} // namespace tepa::sample
