#include "core/reports/ConvectorList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The list lines of the rooms in tests/data/reports/convector-lists.txt, compared byte for byte.
// A new case is a "case:" block with its entries; TEPA_WRITE_GOLDEN=1 bin/test_reports writes its
// "= " lines, to be checked by hand before they are committed.

namespace tepa {
namespace {

const std::string goldenFile = TEPA_TEST_DATA_DIR "/reports/convector-lists.txt";

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
    std::ifstream in(goldenFile, std::ios::binary);
    ASSERT_TRUE(in) << goldenFile;
    std::string expected, actual, line;
    ProjectRecord p;
    bool open = false;
    auto finish = [&] {
        if (open)
            for (const std::string& listLine : convectorListLines(BuildConvectorList(p)))
                actual += "= " + listLine + "\n";
        open = false;
    };
    while (std::getline(in, line)) {
        expected += line + "\n";
        if (line.starts_with("heating: ")) {
            add(p.HeatingEntries[p.HeatingEntryCount++], line.substr(9));
        } else if (line.starts_with("left over: ")) {
            add(p.HeatingEntries[MaxEntries - 1], line.substr(11)); // beyond the list's count
        } else if (line.starts_with("cooling: ")) {
            add(p.CoolingEntries[p.CoolingEntryCount++], line.substr(9));
        } else if (!line.starts_with("= ")) {
            finish();
            if (line.starts_with("case: ")) {
                p = ProjectRecord{};
                p.RoomCount = 1;
                open = true;
            }
        }
        if (!line.starts_with("= "))
            actual += line + "\n";
    }
    finish();
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(goldenFile, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
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
