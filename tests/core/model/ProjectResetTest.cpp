#include "core/model/ProjectReset.h"

#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <locale>

namespace tepa {
namespace {

TEST(ProjectReset, NewProjectHoldsTheDefaultsAndNothingElse)
{
    ProjectRecord expected; // all zero, then what New sets
    expected.Date.setText("14.03.2025");
    expected.HeatingRoomTemp = 20, expected.CoolingRoomTemp = 26;
    expected.HeatingFlowTemp = 75, expected.CoolingFlowTemp = 16;
    expected.HeatingSecondTemp = 20, expected.CoolingSecondTemp = 16;
    expected.CoolingHumidity = 45;
    expected.HeatingEntryCount = expected.CoolingEntryCount = expected.RoomCount = 1;
    for (std::size_t k = 0; k < MaxEntries; ++k) {
        expected.HeatingEntries[k].Count = expected.CoolingEntries[k].Count = 1;
        expected.HeatingEntries[k].FreeConvection = true;
    }
    EXPECT_EQ(test::newProject(), expected);
}

// Every double finite and non-zero, every flag set, every text and unassigned byte filled.
ProjectRecord filledRecord()
{
    const auto decoded = ProjectCodec::decode(std::vector<std::byte>(ProjectRecordSize, std::byte{0x41}));
    return decoded ? *decoded : ProjectRecord{};
}

template <std::size_t N> FixedString<N> emptied(FixedString<N> text)
{
    text.clear(); // the length byte only: the characters stay behind it
    return text;
}

// A cleared entry: all zero but for what clearing sets (Count 1) or keeps.
template <class Entry> Entry clearedFrom(const Entry& filled)
{
    Entry e;
    e.TypeName = emptied(filled.TypeName);
    e.TypeText1 = emptied(filled.TypeText1);
    e.TypeText2 = emptied(filled.TypeText2);
    e.Height = filled.Height;
    e.HeightFactor = filled.HeightFactor;
    e.Count = 1;
    e.Unassigned = filled.Unassigned;
    return e;
}

TEST(ProjectReset, ClearingAnEntryKeepsHeightHeightFactorAndInUse)
{
    const ProjectRecord filled = filledRecord();
    ASSERT_NE(filled.HeatingEntries[0].Height, 0.0);
    HeatingEntry heating = filled.HeatingEntries[0];
    clearHeatingEntry(heating);
    HeatingEntry expectedHeating = clearedFrom(filled.HeatingEntries[0]);
    expectedHeating.FreeConvection = true;
    expectedHeating.InUse = true;
    EXPECT_EQ(heating, expectedHeating);

    CoolingEntry cooling = filled.CoolingEntries[0];
    clearCoolingEntry(cooling);
    CoolingEntry expectedCooling = clearedFrom(filled.CoolingEntries[0]);
    expectedCooling.InUse = true;
    EXPECT_EQ(cooling, expectedCooling);
}

TEST(ProjectReset, NewOverAFilledProjectIsNewButForWhatNewLeavesAlone)
{
    const ProjectRecord filled = filledRecord();
    ProjectRecord record = filled;
    resetForNewProject(record, "14.03.2025 und mehr");

    // Left alone: the given quantity and the heights. Everything else, every text over its whole
    // field, the unassigned bytes and every entry's InUse included, is as on a zeroed record.
    ProjectRecord expected = test::newProject();
    expected.ReturnTempFixed = filled.ReturnTempFixed;
    expected.MassFlowFixed = filled.MassFlowFixed;
    for (std::size_t k = 0; k < MaxEntries; ++k) {
        expected.HeatingEntries[k].Height = filled.HeatingEntries[k].Height;
        expected.HeatingEntries[k].HeightFactor = filled.HeatingEntries[k].HeightFactor;
        expected.CoolingEntries[k].Height = filled.CoolingEntries[k].Height;
        expected.CoolingEntries[k].HeightFactor = filled.CoolingEntries[k].HeightFactor;
    }
    EXPECT_EQ(record, expected);
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
    date.tm_mday = 4, date.tm_mon = 2, date.tm_year = 2025 - 1900;
    EXPECT_EQ(formatShortDate(date, std::locale::classic()), "04.03.2025");
    const std::locale longFormat(std::locale::classic(), new LongDateFormat);
    EXPECT_EQ(formatShortDate(date, longFormat), "Mittwoch, ");
}

} // namespace
} // namespace tepa
