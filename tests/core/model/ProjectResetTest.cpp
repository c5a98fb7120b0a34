#include "core/model/ProjectReset.h"

#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <locale>

namespace tepa {
namespace {

using test::bytesOf;
using test::put;

// Every byte a new project sets in an all-zero record, at the offsets of the file format.
// Doubles by hand: 20 = 1.25 * 2^4 -> 0x4034000000000000; 26 = 1.625 * 2^4 -> 0x403A...;
// 16 = 2^4 -> 0x4030...; 75 = 1.171875 * 2^6 -> 0x4052C0...; 45 = 1.40625 * 2^5 -> 0x404680...
std::vector<std::byte> expectedNewProjectImage()
{
    std::vector<std::byte> image(15858);
    put(image, 68, bytesOf({10, '1', '4', '.', '0', '3', '.', '2', '0', '2', '5'})); // Date
    put(image, 7549 + 6, bytesOf({0x34, 0x40}));                                     // HeatingRoomTemp 20
    put(image, 7557 + 6, bytesOf({0x3A, 0x40}));                                     // CoolingRoomTemp 26
    put(image, 7565 + 5, bytesOf({0xC0, 0x52, 0x40}));                               // HeatingFlowTemp 75
    put(image, 7573 + 6, bytesOf({0x30, 0x40}));                                     // CoolingFlowTemp 16
    put(image, 7581 + 6, bytesOf({0x34, 0x40}));                                     // HeatingSecondTemp 20
    put(image, 7589 + 6, bytesOf({0x30, 0x40}));                                     // CoolingSecondTemp 16
    put(image, 7597 + 5, bytesOf({0x80, 0x46, 0x40}));                               // CoolingHumidity 45
    put(image, 7605, bytesOf({1}));                                                  // HeatingEntryCount
    put(image, 7609, bytesOf({1}));                                                  // CoolingEntryCount
    put(image, 15854, bytesOf({1}));                                                 // RoomCount
    for (std::size_t k = 0; k < 12; ++k) {
        const std::size_t heating = 7617 + k * 368;
        put(image, heating + 67, bytesOf({1}));  // Count
        put(image, heating + 265, bytesOf({1})); // FreeConvection
        put(image, 12033 + k * 318 + 67, bytesOf({1}));
    }
    return image;
}

TEST(ProjectReset, NewProjectImageHoldsTheDefaultsAtTheirOffsets)
{
    ProjectRecord record;
    resetForNewProject(record, "14.03.2025");
    const auto image = ProjectCodec::encode(record);
    const auto expected = expectedNewProjectImage();
    ASSERT_EQ(image.size(), expected.size());
    for (std::size_t i = 0; i < image.size(); ++i)
        ASSERT_EQ(image[i], expected[i]) << "byte " << i;
}

TEST(ProjectReset, NewProjectOverAFilledOneClearsDataButKeepsWhatNewLeavesAlone)
{
    ProjectRecord record = test::sampleProject();
    record.UnassignedAfterDate[5] = 0x42;
    record.HeatingEntries[0].Height = 650;
    record.HeatingEntries[0].HeightFactor = 1.08;
    record.CoolingEntries[11].InUse = true;
    record.CoolingDualUse = true;
    record.HeatingDualUse = true;

    resetForNewProject(record, "01.02.2026 und mehr");

    EXPECT_EQ(record.Date.text(), "01.02.2026");
    EXPECT_EQ(record.Title.text(), "");
    EXPECT_EQ(record.DataLines[6].text(), "");
    EXPECT_EQ(record.RemarkLines[2].text(), "");
    EXPECT_EQ(record.Attachments[1].text(), "");
    EXPECT_EQ(record.RoomName.text(), "");
    EXPECT_EQ(record.HeatingDemand, 0.0);
    EXPECT_EQ(record.CoolingDemand, 0.0);
    EXPECT_EQ(record.HeatingFlowTemp, 75.0);
    EXPECT_EQ(record.CoolingHumidity, 45.0);
    EXPECT_EQ(record.HeatingEntryCount, 1);
    EXPECT_EQ(record.CoolingEntryCount, 1);
    EXPECT_FALSE(record.CalculationDone);
    EXPECT_FALSE(record.HeatingInUse);
    EXPECT_FALSE(record.CoolingInUse);
    EXPECT_FALSE(record.CoolingDualUse);
    EXPECT_FALSE(record.HeatingDualUse);
    EXPECT_FALSE(record.HeatingEntries[0].InUse);
    EXPECT_FALSE(record.CoolingEntries[0].InUse);
    EXPECT_EQ(record.CoolingEntries[0].FanSpeed, 0.0);
    EXPECT_EQ(record.HeatingEntries[1].TypeName.text(), "");
    // Left as they were: heights, the given quantity, the unassigned bytes, the texts' old bytes.
    EXPECT_EQ(record.HeatingEntries[0].Height, 650.0);
    EXPECT_EQ(record.HeatingEntries[0].HeightFactor, 1.08);
    EXPECT_EQ(record.ReturnTempFixed, 1);
    EXPECT_EQ(record.UnassignedAfterDate[5], 0x42);
    EXPECT_EQ(record.Title.raw()[1], 'B');
    // No entry of the old project stays marked as in use.
    EXPECT_FALSE(record.HeatingEntries[1].InUse);
    EXPECT_FALSE(record.CoolingEntries[11].InUse);
}

HeatingEntry filledHeatingEntry()
{
    HeatingEntry e;
    e.TypeName.setText("WFWL-2L");
    e.TypeText1.setText("data");
    e.TypeText2.setText("fan");
    for (double HeatingEntry::*field : {&HeatingEntry::Length,
                                        &HeatingEntry::Height,
                                        &HeatingEntry::HeightFactor,
                                        &HeatingEntry::EffectiveLength,
                                        &HeatingEntry::FanSpeed,
                                        &HeatingEntry::MassFlow,
                                        &HeatingEntry::FanSetting,
                                        &HeatingEntry::CoeffK,
                                        &HeatingEntry::ExponentN,
                                        &HeatingEntry::ReturnTemp,
                                        &HeatingEntry::Output,
                                        &HeatingEntry::PressureDrop,
                                        &HeatingEntry::SoundLevel,
                                        &HeatingEntry::ReturnTempEnd,
                                        &HeatingEntry::ReturnTempStart,
                                        &HeatingEntry::MassFlowEnd,
                                        &HeatingEntry::MassFlowStart,
                                        &HeatingEntry::OutputEnd,
                                        &HeatingEntry::OutputStart,
                                        &HeatingEntry::CoolingNominalOutput,
                                        &HeatingEntry::CoolingNominalSound,
                                        &HeatingEntry::CoolingNominalPressureDrop,
                                        &HeatingEntry::CoolingNominalMassFlow})
        e.*field = 3.5;
    e.Count = 7;
    e.FreeConvection = false;
    e.FreeConvectionB = true;
    e.InUse = true;
    e.Unassigned = {1, 2, 3, 4};
    return e;
}

TEST(ProjectReset, ClearHeatingEntryKeepsHeightAndHeightFactor)
{
    HeatingEntry e = filledHeatingEntry();
    e.Height = 650;
    e.HeightFactor = 1.08;
    clearHeatingEntry(e);

    HeatingEntry expected; // all zero, then what clearing sets or keeps
    // Texts are emptied by their length byte; the characters stay behind it.
    expected.TypeName = filledHeatingEntry().TypeName;
    expected.TypeName.clear();
    expected.TypeText1 = filledHeatingEntry().TypeText1;
    expected.TypeText1.clear();
    expected.TypeText2 = filledHeatingEntry().TypeText2;
    expected.TypeText2.clear();
    expected.Height = 650;
    expected.HeightFactor = 1.08;
    expected.Count = 1;
    expected.FreeConvection = true;
    expected.FreeConvectionB = false;
    expected.InUse = true;
    expected.Unassigned = {1, 2, 3, 4};
    EXPECT_EQ(e, expected);
}

TEST(ProjectReset, ClearCoolingEntryKeepsHeightAndHeightFactor)
{
    CoolingEntry e;
    e.TypeName.setText("WFW");
    e.TypeText1.setText("data");
    for (double CoolingEntry::*field :
         {&CoolingEntry::Length, &CoolingEntry::Height, &CoolingEntry::HeightFactor,
          &CoolingEntry::EffectiveLength, &CoolingEntry::FanSpeed, &CoolingEntry::MassFlow,
          &CoolingEntry::FanSetting, &CoolingEntry::CoeffK, &CoolingEntry::ExponentN,
          &CoolingEntry::ReturnTemp, &CoolingEntry::Output, &CoolingEntry::PressureDrop,
          &CoolingEntry::SoundLevel, &CoolingEntry::HeatingNominalOutput, &CoolingEntry::HeatingNominalSound,
          &CoolingEntry::HeatingNominalPressureDrop, &CoolingEntry::HeatingNominalMassFlow})
        e.*field = 3.5;
    e.Count = 4;
    e.InUse = true;
    clearCoolingEntry(e);

    EXPECT_EQ(e.TypeName.length(), 0u);
    EXPECT_EQ(e.TypeText1.length(), 0u);
    EXPECT_EQ(e.Height, 3.5);
    EXPECT_EQ(e.HeightFactor, 3.5);
    EXPECT_EQ(e.Count, 1);
    EXPECT_TRUE(e.InUse);
    for (double CoolingEntry::*field :
         {&CoolingEntry::Length, &CoolingEntry::EffectiveLength, &CoolingEntry::FanSpeed,
          &CoolingEntry::MassFlow, &CoolingEntry::FanSetting, &CoolingEntry::CoeffK, &CoolingEntry::ExponentN,
          &CoolingEntry::ReturnTemp, &CoolingEntry::Output, &CoolingEntry::PressureDrop,
          &CoolingEntry::SoundLevel, &CoolingEntry::HeatingNominalOutput, &CoolingEntry::HeatingNominalSound,
          &CoolingEntry::HeatingNominalPressureDrop, &CoolingEntry::HeatingNominalMassFlow})
        EXPECT_EQ(e.*field, 0.0);
}

// A date format longer than the field, as some locales write their "%x".
class LongDateFormat : public std::time_put<char>
{
protected:
    iter_type do_put(iter_type out, std::ios_base&, char_type, const std::tm* date, char, char) const override
    {
        const std::string text = "Mittwoch, " + std::to_string(date->tm_mday) + ". März";
        return std::copy(text.begin(), text.end(), out);
    }
};

TEST(ProjectReset, ShortDateUsesTheLocaleFormatCutToTenCharacters)
{
    std::tm date{};
    date.tm_year = 2025 - 1900;
    date.tm_mon = 2;
    date.tm_mday = 4;
    EXPECT_EQ(formatShortDate(date, std::locale::classic()), "04.03.2025");
    const std::locale longFormat(std::locale::classic(), new LongDateFormat);
    EXPECT_EQ(formatShortDate(date, longFormat), "Mittwoch, ");
}

} // namespace
} // namespace tepa
