#include "core/reports/ConvectorList.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// The list lines of the rooms in tests/data/reports/convector-lists.txt, compared byte for byte.
// A new case is a "case:" block with its entries; TEPA_WRITE_GOLDEN=1 bin/test_reports writes its
// "= " lines, to be checked by hand before they are committed.

namespace tepa {
namespace {

template <class Entry> void add(Entry& e, const std::string& fields)
{
    std::istringstream in(fields);
    std::string type, height, length, count;
    std::getline(in, type, '|'), std::getline(in, height, '|'), std::getline(in, length, '|');
    std::getline(in, count);
    e.TypeName.setText(type);
    e.Height = std::stod(height), e.Length = std::stod(length), e.Count = std::stoi(count);
    e.InUse = true;
}

TEST(ConvectorList, LinesOfEveryRoomAreTheGoldenOnes)
{
    test::checkGoldenCases(TEPA_TEST_DATA_DIR "/reports/convector-lists.txt", [](const std::vector<std::string>& entries) {
        ProjectRecord p;
        p.RoomCount = 1;
        for (const std::string& entry : entries) {
            const std::string fields = entry.substr(entry.find(": ") + 2);
            if (entry.starts_with("heating: "))
                add(p.HeatingEntries[p.HeatingEntryCount++], fields);
            else if (entry.starts_with("cooling: "))
                add(p.CoolingEntries[p.CoolingEntryCount++], fields);
            else // "left over": beyond the list's count
                add(p.HeatingEntries[MaxEntries - 1], fields);
        }
        return convectorListLines(BuildConvectorList(p));
    });
}

TEST(ConvectorList, LinesStopAtTheFirstFreeSlotAndSkipEmptySlots)
{
    ConvectorListSlots slots = emptyConvectorList();
    slots[0] = "a", slots[1] = "", slots[2] = "b", slots[4] = "after the end";
    EXPECT_EQ(convectorListLines(slots), (std::vector<std::string>{"a", "b"}));
    slots.fill("x");
    EXPECT_EQ(convectorListLines(slots).size(), 100u);
}

} // namespace
} // namespace tepa
