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

// The type an entry was chosen from, found by the name the entry keeps.
const TypeRecord* typeOfEntry(const std::string& entryName, Mode mode)
{
    for (bool forced : {false, true})
        for (const TypeRecord& type : test::installedTypes(forced))
            if (entryName == (mode == Mode::Heating ? test::heatingEntryName(type.name)
                                                    : test::coolingEntryName(type.name)))
                return &type;
    return nullptr;
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

// An entry in use holds the lines of its type as they are now and the engine's figures for it.
template <class Entry> void expectFreshCalculation(const ProjectRecord& r, const Entry& e)
{
    constexpr bool heating = std::is_same_v<Entry, HeatingEntry>;
    const Mode mode = heating ? Mode::Heating : Mode::Cooling;
    const std::string name = e.TypeName.text();
    const TypeRecord* type = typeOfEntry(name, mode);
    ASSERT_TRUE(type) << "no type of that name in the installation";
    const bool free = type->fanLine.empty();
    EXPECT_EQ(e.TypeText1.text(), type->dataLine);
    EXPECT_EQ(e.TypeText2.text(), type->fanLine);
    const auto lengths = test::offeredLengths(*type);
    EXPECT_NE(std::find(lengths.begin(), lengths.end(), e.Length), lengths.end()) << e.Length;

    const OperatingPoint p = engine::rateConvector({.type = {name, e.TypeText1.text(), e.TypeText2.text()},
                                                    .mode = mode,
                                                    .freeConvection = free,
                                                    .lengthMm = e.Length,
                                                    .heightFactor = e.HeightFactor,
                                                    .speedRpm = e.FanSpeed,
                                                    .stage = test::stageAt(name, e.FanSpeed),
                                                    .Tv = heating ? r.HeatingFlowTemp : r.CoolingFlowTemp,
                                                    .Ti = heating ? r.HeatingRoomTemp : r.CoolingRoomTemp,
                                                    .given = engine::Given::ReturnTemp,
                                                    .givenValue = e.ReturnTemp});
    ASSERT_EQ(p.status, 0);
    EXPECT_FALSE(p.laminarFlow || p.highPressureDrop);
    expectStored(e.CoeffK, p.coefficients.characteristic.K, "CoeffK");
    expectStored(e.ExponentN, p.coefficients.characteristic.n, "ExponentN");
    expectStored(e.SoundLevel, p.coefficients.soundLevelDb, "SoundLevel");
    expectStored(e.Output, p.outputW, "Output");
    expectStored(e.MassFlow, p.massFlowKgPerH, "MassFlow");
    expectStored(e.PressureDrop, p.pressureDropPa, "PressureDrop");

    // The rating of the other mode, which only the series that can cool have.
    const engine::OtherModeRating other = engine::otherModeRating({.typeName = name,
                                                                   .lengthMm = e.Length,
                                                                   .dataLine = e.TypeText1.text(),
                                                                   .fanLine = e.TypeText2.text(),
                                                                   .currentMode = mode});
    EXPECT_EQ(other.showBox, engine::Kuehltyp(name) && !free);
    if constexpr (heating) {
        EXPECT_EQ(e.FreeConvection, free);
        EXPECT_EQ(e.FreeConvectionB, free);
        // A design point inside the admissible window.
        EXPECT_TRUE(e.ReturnTemp >= e.ReturnTempStart && e.ReturnTemp <= e.ReturnTempEnd) << e.ReturnTemp;
        expectStored(e.ReturnTempStart, p.limits.returnTempStart, "ReturnTempStart");
        expectStored(e.ReturnTempEnd, p.limits.returnTempEnd, "ReturnTempEnd");
        expectStored(e.OutputEnd, p.limits.outputEnd, "OutputEnd");
        expectStored(e.CoolingNominalOutput, other.outputW, "CoolingNominalOutput");
    } else {
        EXPECT_TRUE(other.showBox);
        EXPECT_EQ(e.HeightFactor, 1);
        // The return temperature control runs from the flow temperature to 12 K above it.
        EXPECT_TRUE(e.ReturnTemp > r.CoolingFlowTemp && e.ReturnTemp <= r.CoolingFlowTemp + 12)
            << e.ReturnTemp;
        expectStored(e.HeatingNominalOutput, other.outputW, "HeatingNominalOutput");
    }
}

TEST(SampleProject, EntriesHoldAFreshCalculation)
{
    const ProjectRecord& r = sample();
    for (std::int32_t k = 0; k < r.HeatingEntryCount; ++k) {
        SCOPED_TRACE("heating entry " + std::to_string(k + 1) + " " + r.HeatingEntries[k].TypeName.text());
        expectFreshCalculation(r, r.HeatingEntries[static_cast<std::size_t>(k)]);
    }
    for (std::int32_t k = 0; k < r.CoolingEntryCount; ++k) {
        SCOPED_TRACE("cooling entry " + std::to_string(k + 1) + " " + r.CoolingEntries[k].TypeName.text());
        expectFreshCalculation(r, r.CoolingEntries[static_cast<std::size_t>(k)]);
    }
}

} // namespace
} // namespace tepa
