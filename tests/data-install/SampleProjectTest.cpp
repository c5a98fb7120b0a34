#include "InstallationData.h"

#include "core/engine/AirSide.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/NominalRating.h"
#include "core/engine/Rating.h"
#include "core/model/ProjectCodec.h"
#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>

// The sample project shipped with the installation must hold what the program would compute
// from the shipped data: after a change to the data or the engine it is made again with
// make-sample, and these tests say when that is due.

namespace tepa {
namespace {

using engine::Mode;
using engine::OperatingPoint;

const std::filesystem::path sampleFile = test::installationDir() / "Beispiel.kon";

const ProjectRecord& sample()
{
    static const ProjectRecord record = [] {
        auto loaded = loadProjectFile(sampleFile);
        return loaded ? std::move(loaded).value() : ProjectRecord{};
    }();
    return record;
}

// The stored values are the engine's own doubles; a relative difference beyond rounding noise
// means the file was made from other data or by another engine.
void expectStored(double stored, double fresh, const char* field)
{
    EXPECT_NEAR(stored, fresh, 1e-9 * std::max(1.0, std::abs(fresh))) << field;
}

struct TypeOf
{
    const TypeRecord* record = nullptr;
    bool free = false;
};

// The type an entry was chosen from, found by the name the entry keeps.
std::optional<TypeOf> typeOfEntry(const std::string& entryName, Mode mode)
{
    for (bool forced : {false, true})
        for (const TypeRecord& type : test::installedTypes(forced)) {
            const std::string name =
                mode == Mode::Heating ? test::heatingEntryName(type.name) : test::coolingEntryName(type.name);
            if (name == entryName)
                return TypeOf{&type, !forced};
        }
    return std::nullopt;
}

engine::DwfStage stageOfEntry(const std::string& name, double fanSpeed)
{
    if (name.find("DWF") == std::string::npos)
        return engine::DwfStage::Off;
    switch (static_cast<int>(std::lround(fanSpeed + 0.1))) {
    case 700:
        return engine::DwfStage::Rpm700;
    case 1000:
        return engine::DwfStage::Rpm1000;
    case 1400:
        return engine::DwfStage::Rpm1400;
    default:
        return engine::DwfStage::Off;
    }
}

TEST(SampleProject, DecodesAndEncodesToTheSameBytes)
{
    std::ifstream in(sampleFile, std::ios::binary);
    ASSERT_TRUE(in) << sampleFile;
    const std::string chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto bytes = std::as_bytes(std::span(chars));
    ASSERT_EQ(bytes.size(), ProjectRecordSize);
    const auto decoded = ProjectCodec::decode(bytes);
    ASSERT_TRUE(decoded) << decoded.error();
    const std::vector<std::byte> encoded = ProjectCodec::encode(*decoded);
    EXPECT_TRUE(std::equal(encoded.begin(), encoded.end(), bytes.begin(), bytes.end()));
}

TEST(SampleProject, IsOneRoomHeatedAndCooledBySeveralSeries)
{
    const ProjectRecord& r = sample();
    EXPECT_FALSE(r.Title.empty());
    EXPECT_FALSE(r.RoomName.empty());
    EXPECT_EQ(r.RoomCount, 1);
    EXPECT_TRUE(r.CalculationDone);
    EXPECT_TRUE(r.HeatingInUse);
    EXPECT_TRUE(r.CoolingInUse);
    EXPECT_FALSE(r.HeatingDualUse);
    EXPECT_FALSE(r.CoolingDualUse);
    EXPECT_EQ(r.ReturnTempFixed, 1);
    EXPECT_EQ(r.MassFlowFixed, 0);

    // The room's temperatures lie within what the room data accept, and the chilled water stays
    // above the room's condensation limit (dew point plus 15 % of its distance to the room).
    EXPECT_GE(r.HeatingFlowTemp, 40);
    EXPECT_LE(r.HeatingFlowTemp, 110);
    EXPECT_GE(r.CoolingFlowTemp, 5);
    EXPECT_LE(r.CoolingFlowTemp, 25);
    const auto dewPoint = engine::Taupunkt(r.CoolingRoomTemp, r.CoolingHumidity);
    ASSERT_EQ(dewPoint.status, 0);
    EXPECT_GE(r.CoolingFlowTemp, dewPoint.dewPointC + 0.15 * (r.CoolingRoomTemp - dewPoint.dewPointC));

    std::set<std::string> heatingTypes, coolingTypes;
    bool freeConvector = false;
    double heatingTotal = 0, coolingTotal = 0;
    for (std::int32_t k = 0; k < r.HeatingEntryCount; ++k) {
        const HeatingEntry& e = r.HeatingEntries[static_cast<std::size_t>(k)];
        EXPECT_TRUE(e.InUse) << k;
        heatingTypes.insert(e.TypeName.text());
        freeConvector = freeConvector || e.FreeConvection;
        heatingTotal += e.Count * e.Output;
    }
    for (std::int32_t k = 0; k < r.CoolingEntryCount; ++k) {
        const CoolingEntry& e = r.CoolingEntries[static_cast<std::size_t>(k)];
        EXPECT_TRUE(e.InUse) << k;
        coolingTypes.insert(e.TypeName.text());
        coolingTotal += e.Count * e.Output;
    }
    EXPECT_GE(heatingTypes.size(), 3u);
    EXPECT_GE(coolingTypes.size(), 2u);
    EXPECT_TRUE(freeConvector);
    // The chosen convectors cover the demands without gross over-sizing.
    EXPECT_GE(heatingTotal, 0.95 * r.HeatingDemand);
    EXPECT_LE(heatingTotal, 1.15 * r.HeatingDemand);
    EXPECT_GE(coolingTotal, 0.95 * r.CoolingDemand);
    EXPECT_LE(coolingTotal, 1.15 * r.CoolingDemand);
}

TEST(SampleProject, HeatingEntriesHoldAFreshCalculation)
{
    const ProjectRecord& r = sample();
    ASSERT_GE(r.HeatingEntryCount, 1);
    for (std::int32_t k = 0; k < r.HeatingEntryCount; ++k) {
        const HeatingEntry& e = r.HeatingEntries[static_cast<std::size_t>(k)];
        const std::string name = e.TypeName.text();
        SCOPED_TRACE("heating entry " + std::to_string(k + 1) + " " + name);
        const auto type = typeOfEntry(name, Mode::Heating);
        ASSERT_TRUE(type) << "no type of that name in the installation";
        // The entry keeps copies of the type's lines as they are now.
        EXPECT_EQ(e.TypeText1.text(), type->record->dataLine);
        EXPECT_EQ(e.TypeText2.text(), type->free ? "" : type->record->fanLine);
        EXPECT_EQ(e.FreeConvection, type->free);
        EXPECT_EQ(e.FreeConvectionB, type->free);
        const auto lengths = test::offeredLengths(*type->record);
        EXPECT_NE(std::find(lengths.begin(), lengths.end(), e.Length), lengths.end()) << e.Length;

        const OperatingPoint p =
            engine::rateConvector({.type = {name, e.TypeText1.text(), e.TypeText2.text()},
                                   .mode = Mode::Heating,
                                   .freeConvection = e.FreeConvectionB,
                                   .lengthMm = e.Length,
                                   .heightFactor = e.HeightFactor,
                                   .speedRpm = e.FanSpeed,
                                   .stage = stageOfEntry(name, e.FanSpeed),
                                   .Tv = r.HeatingFlowTemp,
                                   .Ti = r.HeatingRoomTemp,
                                   .given = engine::Given::ReturnTemp,
                                   .givenValue = e.ReturnTemp});
        ASSERT_EQ(p.status, 0);
        expectStored(e.CoeffK, p.coefficients.characteristic.K, "CoeffK");
        expectStored(e.ExponentN, p.coefficients.characteristic.n, "ExponentN");
        expectStored(e.SoundLevel, p.coefficients.soundLevelDb, "SoundLevel");
        expectStored(e.EffectiveLength, p.coefficients.effectiveLengthMm, "EffectiveLength");
        expectStored(e.Output, p.outputW, "Output");
        expectStored(e.MassFlow, p.massFlowKgPerH, "MassFlow");
        expectStored(e.PressureDrop, p.pressureDropPa, "PressureDrop");
        expectStored(e.ReturnTempStart, p.limits.returnTempStart, "ReturnTempStart");
        expectStored(e.ReturnTempEnd, p.limits.returnTempEnd, "ReturnTempEnd");
        expectStored(e.MassFlowStart, p.limits.massFlowStart, "MassFlowStart");
        expectStored(e.MassFlowEnd, p.limits.massFlowEnd, "MassFlowEnd");
        expectStored(e.OutputStart, p.limits.outputStart, "OutputStart");
        expectStored(e.OutputEnd, p.limits.outputEnd, "OutputEnd");
        // A design point inside the admissible window, without the window's warnings.
        EXPECT_GE(e.ReturnTemp, e.ReturnTempStart);
        EXPECT_LE(e.ReturnTemp, e.ReturnTempEnd);
        EXPECT_FALSE(p.laminarFlow);
        EXPECT_FALSE(p.highPressureDrop);

        const engine::OtherModeRating cooling = engine::otherModeRating({.typeName = name,
                                                                         .lengthMm = e.Length,
                                                                         .dataLine = e.TypeText1.text(),
                                                                         .fanLine = e.TypeText2.text(),
                                                                         .currentMode = Mode::Heating});
        // Only the series that can cool have a cooling rating; the others keep zeros.
        EXPECT_EQ(cooling.showBox, engine::Kuehltyp(name) && !type->free);
        expectStored(e.CoolingNominalOutput, cooling.outputW, "CoolingNominalOutput");
        expectStored(e.CoolingNominalSound, cooling.soundLevelDb, "CoolingNominalSound");
        expectStored(e.CoolingNominalPressureDrop, cooling.pressureDropPa, "CoolingNominalPressureDrop");
        expectStored(e.CoolingNominalMassFlow, cooling.massFlowKgPerH, "CoolingNominalMassFlow");
    }
}

TEST(SampleProject, CoolingEntriesHoldAFreshCalculation)
{
    const ProjectRecord& r = sample();
    ASSERT_GE(r.CoolingEntryCount, 1);
    for (std::int32_t k = 0; k < r.CoolingEntryCount; ++k) {
        const CoolingEntry& e = r.CoolingEntries[static_cast<std::size_t>(k)];
        const std::string name = e.TypeName.text();
        SCOPED_TRACE("cooling entry " + std::to_string(k + 1) + " " + name);
        const auto type = typeOfEntry(name, Mode::Cooling);
        ASSERT_TRUE(type) << "no type of that name in the installation";
        ASSERT_FALSE(type->free);
        EXPECT_TRUE(engine::Kuehltyp(name));
        EXPECT_EQ(e.TypeText1.text(), type->record->dataLine);
        EXPECT_EQ(e.TypeText2.text(), type->record->fanLine);
        EXPECT_EQ(e.HeightFactor, 1);
        // The return temperature control runs from the flow temperature to 12 K above it.
        EXPECT_GT(e.ReturnTemp, r.CoolingFlowTemp);
        EXPECT_LE(e.ReturnTemp, r.CoolingFlowTemp + 12);

        const OperatingPoint p =
            engine::rateConvector({.type = {name, e.TypeText1.text(), e.TypeText2.text()},
                                   .mode = Mode::Cooling,
                                   .lengthMm = e.Length,
                                   .heightFactor = e.HeightFactor,
                                   .speedRpm = e.FanSpeed,
                                   .stage = stageOfEntry(name, e.FanSpeed),
                                   .Tv = r.CoolingFlowTemp,
                                   .Ti = r.CoolingRoomTemp,
                                   .given = engine::Given::ReturnTemp,
                                   .givenValue = e.ReturnTemp});
        ASSERT_EQ(p.status, 0);
        expectStored(e.CoeffK, p.coefficients.characteristic.K, "CoeffK");
        expectStored(e.ExponentN, p.coefficients.characteristic.n, "ExponentN");
        expectStored(e.SoundLevel, p.coefficients.soundLevelDb, "SoundLevel");
        expectStored(e.EffectiveLength, p.coefficients.effectiveLengthMm, "EffectiveLength");
        expectStored(e.Output, p.outputW, "Output");
        expectStored(e.MassFlow, p.massFlowKgPerH, "MassFlow");
        expectStored(e.PressureDrop, p.pressureDropPa, "PressureDrop");
        EXPECT_FALSE(p.laminarFlow);

        const engine::OtherModeRating heating = engine::otherModeRating({.typeName = name,
                                                                         .lengthMm = e.Length,
                                                                         .dataLine = e.TypeText1.text(),
                                                                         .fanLine = e.TypeText2.text(),
                                                                         .currentMode = Mode::Cooling});
        ASSERT_TRUE(heating.showBox);
        expectStored(e.HeatingNominalOutput, heating.outputW, "HeatingNominalOutput");
        expectStored(e.HeatingNominalSound, heating.soundLevelDb, "HeatingNominalSound");
        expectStored(e.HeatingNominalPressureDrop, heating.pressureDropPa, "HeatingNominalPressureDrop");
        expectStored(e.HeatingNominalMassFlow, heating.massFlowKgPerH, "HeatingNominalMassFlow");
    }
}

TEST(SampleProject, EntriesBeyondTheListsAreEmpty)
{
    const ProjectRecord& r = sample();
    for (std::size_t k = static_cast<std::size_t>(r.HeatingEntryCount); k < r.HeatingEntries.size(); ++k)
        EXPECT_FALSE(r.HeatingEntries[k].InUse) << k;
    for (std::size_t k = static_cast<std::size_t>(r.CoolingEntryCount); k < r.CoolingEntries.size(); ++k)
        EXPECT_FALSE(r.CoolingEntries[k].InUse) << k;
}

} // namespace
} // namespace tepa
