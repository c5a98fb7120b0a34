#pragma once

#include "core/Result.h"
#include "core/engine/EngineCommon.h"
#include "core/model/ProjectRecord.h"
#include "core/productdata/ProductData.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The sizing assistant: which convectors of the installed range, at which fan setting and in
// how many units, meet a room's demand. Every candidate is rated as the calculation window rates
// an entry (engine::rateConvector) and kept only inside the windows the window keeps an entry in:
// the return temperature within the type's admissible window in heating, a cooling point with a
// result, the primary air within the unit's limit.
namespace tepa::sizing {

// The installed range: every type of both type files and the height list.
struct Catalog
{
    std::vector<TypeRecord> freeTypes, forcedTypes;
    std::vector<std::string> heights;
    char decimalSeparator = '.'; // the height factors are read with the machine's separator
};
// Reads "freikon.txt", "zwangskon.txt" and "bauhoehen.txt" of the installation in `dir`. A type
// whose numbers cannot be read is refused with its file and line, as the type load refuses it.
Result<Catalog> loadCatalog(const std::filesystem::path& dir, char decimalSeparator);

// The name an entry stores for a picked type line: in heating the line cut to the entry's ten
// characters; in cooling the type code, the text before the first blank within the first 20
// characters (the line cut to ten when there is no such blank).
std::string entryTypeName(std::string_view typeLine, engine::Mode mode);

inline constexpr int DefaultMaxCount = 15; // the count field's up-down reaches 15

struct Constraints
{
    std::vector<std::string> series; // series codes the type name must contain one of; empty: all
    std::optional<double> maxLengthMm;
    std::optional<double> heightMm; // the construction height, exactly
    std::optional<double> maxSoundDb;
    std::optional<double> maxPressureDropPa;
    int maxCount = DefaultMaxCount; // units of one type
    bool fanAllowed = true;         // false: free convection only (fans off, no primary air)
};

struct Request
{
    engine::Mode mode = engine::Mode::Heating;
    double demandW = 0; // the room's heat or cooling demand
    double flowTempC = 0;
    double roomTempC = 0;
    double humidityPercent = 50; // cooling: the dew point of the room air
    double airInletC = 16;       // cooling: primary air entering a "WNF" unit
    // Exactly one of the two: the return temperature every unit runs at, or the largest water
    // mass flow one unit may take (heating only; each unit then runs at the largest mass flow
    // its admissible window and this limit allow).
    std::optional<double> returnTempC;
    std::optional<double> maxMassFlowKgPerH;
    Constraints constraints;
};

// How the fan of a candidate is set.
enum class SettingKind
{
    None,    // a free convector
    Speed,   // fan speed in rpm (0: fan off, the unit works as a free convector)
    Stage,   // "DWF" stage
    AirFlow, // primary air of a "WNF" unit, m³/h
};

struct Candidate
{
    std::string typeLine; // the type's name line of its file
    std::string typeName; // as the entry stores it
    bool free = false;    // a type of the free-convection file
    std::string dataLine, fanLine;
    double lengthMm = 0, heightMm = 0, heightFactor = 1;
    SettingKind setting = SettingKind::None;
    double speedRpm = 0;
    engine::DwfStage stage = engine::DwfStage::Off;
    double airFlowM3PerH = 0;
    int count = 0;
    double outputW = 0; // one unit
    double totalW = 0;  // count units
    double returnTempC = 0, massFlowKgPerH = 0, pressureDropPa = 0, soundLevelDb = 0;
    // The engine's warnings for one unit.
    bool laminarFlow = false;
    bool highPressureDrop = false;
    bool lowMassFlow = false; // cooling: below 50 kg/h, shown red in the window
};

struct Outcome
{
    std::vector<Candidate> candidates; // best first
    // Cooling: the dew point of the room air, the lowest flow temperature without condensation
    // on the coil, and whether the flow lies below it (the window warns of it).
    double dewPointC = 0, dewPointLimitC = 0;
    bool flowBelowDewPointLimit = false;
};

// Cooling below this mass flow per unit is marked, as the window marks it.
inline constexpr double LowCoolingMassFlowKgPerH = 50;

// Every candidate meeting the demand within the constraints, each configuration (type, length,
// height, setting) once with its fewest units; best first: fewest units, then shortest total
// length, then lowest sound level, then the order of the range (file, type, length, height,
// setting).
Outcome size(const Catalog& catalog, const Request& request);

// Whether `a` is listed before `b`.
bool better(const Candidate& a, const Candidate& b);

// The settings a type is searched at, lowest first: the series' own steps or stages.
struct Setting
{
    SettingKind kind = SettingKind::None;
    double speedRpm = 0;
    engine::DwfStage stage = engine::DwfStage::Off;
    double airFlowM3PerH = 0;
};
std::vector<Setting>
settingsOf(std::string_view typeName, bool free, engine::Mode mode, double lengthMm, bool fanAllowed);

// One unit of `type` at one length, height and setting, rated as the window rates the entry;
// nothing when the point lies outside the windows the window keeps it in.
struct Unit
{
    double heightMm = 0;
    double heightFactor = 1;
};
std::optional<Candidate> rateUnit(const TypeRecord& type,
                                  bool free,
                                  double lengthMm,
                                  const Unit& height,
                                  const Setting& setting,
                                  const Request& request);

// The heights offered for a type with their factors (heating; cooling rates at factor 1).
Result<std::vector<Unit>> heightsOf(const Catalog& catalog, const TypeRecord& type, engine::Mode mode);

// The search the calculation window offers for its room in `mode`: the demand not yet covered
// by the list's entries (the whole demand once they cover it), the room's temperatures, and the
// operating point the next entry would start at: in heating the mass flow of the last entry when
// the mass flow is the given quantity, else its return temperature, or for a first entry 10 K
// below the flow (at least halfway to the room); in cooling the last entry's return temperature,
// or 2 K above the flow as a new entry starts.
Request roomRequest(const ProjectRecord& project, engine::Mode mode);

// The type, length and height of a candidate written into an entry, as the type panel writes a
// picked type before "weiter".
void pickType(HeatingEntry& e, const Candidate& c);
void pickType(CoolingEntry& e, const Candidate& c);

} // namespace tepa::sizing
