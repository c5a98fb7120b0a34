#include "core/model/ProjectReset.h"

#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <locale>

namespace tepa {
namespace {

// Every double finite and non-zero, every flag set, every text and unassigned byte filled.
ProjectRecord filledRecord()
{
    return ProjectCodec::decode(std::vector<std::byte>(ProjectRecordSize, std::byte{0x41})).value();
}

// New and the clearing of entry 1 of each list over a filled record give the records of
// tests/data/new-over-filled.kon and cleared-entries.kon, checked by hand: New leaves only the
// given quantity and the heights, wiping every text over its whole field, the unassigned bytes
// and every entry's InUse; clearing keeps Height, HeightFactor, InUse, the unassigned bytes and
// the characters behind the texts' lengths, and sets Count 1 (and FreeConvection for heating).
// TEPA_WRITE_GOLDEN=1 bin/test_model writes them anew, to be checked again before they are
// committed. The defaults of New are those of tests/data/new-project.kon (ProjectFileTest.cpp).
TEST(ProjectReset, NewAndClearingOverAFilledRecordGiveTheGoldenRecords)
{
    ProjectRecord renewed = filledRecord();
    resetForNewProject(renewed, "14.03.2025 und mehr");
    ProjectRecord cleared = filledRecord();
    clearHeatingEntry(cleared.HeatingEntries[0]);
    clearCoolingEntry(cleared.CoolingEntries[0]);
    for (const auto& [name, record] : {std::pair{"new-over-filled.kon", renewed}, {"cleared-entries.kon", cleared}}) {
        SCOPED_TRACE(name);
        const auto golden = test::testDataDir() / name;
        if (std::getenv("TEPA_WRITE_GOLDEN"))
            test::writeFileBytes(golden, ProjectCodec::encode(record));
        EXPECT_EQ(record, ProjectCodec::decode(test::readFileBytes(golden)).value());
    }
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
