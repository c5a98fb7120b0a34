#include "core/model/ProjectCodec.h"

#include "SampleProjects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

// The file format's offsets are pinned by tests/data/every-field.kon, the image of a record in
// which every field holds a value of its own (a field written at a wrong offset moves its bytes,
// which a round trip alone cannot see). The file was checked against the format's table field
// by field; TEPA_WRITE_GOLDEN=1 bin/test_model writes it anew, to be checked again before it
// is committed.

namespace tepa {
namespace {

constexpr std::size_t NoDifference = SIZE_MAX;

std::size_t firstDifference(std::span<const std::byte> a, std::span<const std::byte> b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return ia == a.end() && ib == b.end() ? NoDifference : static_cast<std::size_t>(ia - a.begin());
}

template <class Entry> void fillCommonFields(Entry& e, int k)
{
    const std::string n = std::to_string(k);
    e.TypeName.setText("Typ " + n);
    e.Length = k + 0.01, e.Height = k + 0.02, e.HeightFactor = k + 0.03, e.EffectiveLength = k + 0.04;
    e.FanSpeed = k + 0.05, e.MassFlow = k + 0.06, e.FanSetting = k + 0.07, e.Count = 0x01020300 + k;
    e.TypeText1.setText("Datenzeile " + n), e.TypeText2.setText("Lüfterzeile " + n);
    e.CoeffK = k + 0.08, e.ExponentN = k + 0.09, e.ReturnTemp = k + 0.10, e.Output = k + 0.11;
    e.PressureDrop = k + 0.12, e.SoundLevel = k + 0.13, e.InUse = true;
    e.Unassigned = {0xA1, 0xA2, 0xA3, static_cast<std::uint8_t>(k)};
}

ProjectRecord everyField()
{
    ProjectRecord r;
    r.Title.setText("Verwaltung Nordring"); // a shortened text keeps the old characters behind it
    r.Title.setText("Verwaltung");
    r.Number.setText("2025-117"), r.Date.setText("14.03.2025"), r.RoomName.setText("Büro 1");
    for (std::size_t i = 0; i < r.UnassignedAfterDate.size(); ++i)
        r.UnassignedAfterDate[i] = static_cast<std::uint8_t>(100 + i);
    for (std::size_t i = 0; i < r.UnassignedAfterDataLines.size(); ++i)
        r.UnassignedAfterDataLines[i] = static_cast<std::uint8_t>(1 + i);
    for (std::size_t i = 0; i < r.RemarkLines.size(); ++i)
        r.RemarkLines[i].setText("Bemerkung " + std::to_string(i + 1));
    for (std::size_t i = 0; i < r.DataLines.size(); ++i)
        r.DataLines[i].setText("Angabe " + std::to_string(i + 1));
    for (std::size_t i = 0; i < r.Attachments.size(); ++i)
        r.Attachments[i].setText("C:\\Anlagen\\Plan é" + std::to_string(i + 1) + ".pdf");
    r.HeatingDemand = 1234.5, r.CoolingDemand = 812.25, r.HeatingRoomTemp = 20.5, r.CoolingRoomTemp = 26.5;
    r.HeatingFlowTemp = 75.5, r.CoolingFlowTemp = 16.5, r.HeatingSecondTemp = 21.5, r.CoolingSecondTemp = 17.5;
    r.CoolingHumidity = 45.5, r.HeatingEntryCount = 7, r.CoolingEntryCount = 12;
    r.ReturnTempFixed = 0x0102, r.MassFlowFixed = -2, r.RoomCount = 1;
    r.CalculationDone = r.HeatingInUse = r.CoolingInUse = r.CoolingDualUse = r.HeatingDualUse = true;
    for (int k = 0; k < static_cast<int>(MaxEntries); ++k) {
        HeatingEntry& h = r.HeatingEntries[k];
        fillCommonFields(h, 100 + k);
        h.ReturnTempEnd = k + 0.21, h.ReturnTempStart = k + 0.22, h.MassFlowEnd = k + 0.23;
        h.MassFlowStart = k + 0.24, h.OutputEnd = k + 0.25, h.OutputStart = k + 0.26;
        h.CoolingNominalOutput = k + 0.27, h.CoolingNominalSound = k + 0.28;
        h.CoolingNominalPressureDrop = k + 0.29, h.CoolingNominalMassFlow = k + 0.30;
        h.FreeConvection = h.FreeConvectionB = true;
        CoolingEntry& c = r.CoolingEntries[k];
        fillCommonFields(c, 200 + k);
        c.HeatingNominalOutput = k + 0.31, c.HeatingNominalSound = k + 0.32;
        c.HeatingNominalPressureDrop = k + 0.33, c.HeatingNominalMassFlow = k + 0.34;
    }
    return r;
}

TEST(ProjectCodec, EachFieldIsWrittenAndReadAtItsOffset)
{
    const auto golden = test::testDataDir() / "every-field.kon";
    const ProjectRecord record = everyField();
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        test::writeFileBytes(golden, ProjectCodec::encode(record));
    const auto image = test::readFileBytes(golden);
    EXPECT_EQ(firstDifference(ProjectCodec::encode(record), image), NoDifference);
    const auto decoded = ProjectCodec::decode(image);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(*decoded, record);

    const auto sample = test::readFileBytes(test::testDataDir() / "sample-project.kon");
    EXPECT_EQ(firstDifference(ProjectCodec::encode(test::sampleProject()), sample), NoDifference);
}

} // namespace
} // namespace tepa
