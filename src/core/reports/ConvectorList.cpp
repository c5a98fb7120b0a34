#include "core/reports/ConvectorList.h"

#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tepa {
namespace {

// One working record of the builder; the key in Windows-1252 bytes.
struct ListRecord
{
    std::string key;
    std::int32_t count = 0;
};

// Counts in the list are signed 32-bit values; a sum past that range wraps as it always has
// instead of being undefined.
std::int32_t wrappingSum(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Descending order of the keys over records first..last (0-based, inclusive). std::string
// compares its characters as unsigned codes, and a key that begins another is the smaller.
void sortDescending(std::vector<ListRecord>& records, std::size_t first, std::size_t last)
{
    for (std::size_t i = first; i < last; ++i)
        for (std::size_t j = i; j <= last; ++j)
            if (records[i].key < records[j].key)
                std::swap(records[i], records[j]);
}

// Merges equal neighbours from `first` on until a pass finds none. Each pass advances past a
// merged record, so a run of three equal keys needs a second pass.
template <class Combine>
void combineEqualNeighbours(std::vector<ListRecord>& records, std::size_t first, Combine combine)
{
    bool combined = true;
    while (combined) {
        combined = false;
        for (std::size_t i = first; i + 1 < records.size(); ++i) {
            if (records[i].key == records[i + 1].key) {
                records[i].count = combine(records[i].count, records[i + 1].count);
                records.erase(records.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                combined = true;
            }
        }
    }
}

void sortAndSum(std::vector<ListRecord>& records, std::size_t first)
{
    sortDescending(records, first, records.size() - 1);
    combineEqualNeighbours(records, first, wrappingSum);
}

template <class Entries>
std::size_t addNamedEntries(std::vector<ListRecord>& records, const Entries& entries, std::int32_t count)
{
    const auto last = static_cast<std::size_t>(
        std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(entries.size())));
    std::size_t added = 0;
    for (std::size_t k = 0; k < last; ++k) {
        const auto& entry = entries[k];
        if (entry.TypeName.empty())
            continue;
        // A record holds at most 50 characters of its key.
        std::string key = ListKey(entry.TypeName, entry.Height, entry.Length);
        key.resize(std::min(key.size(), ConvectorListLineLength));
        records.push_back({std::move(key), entry.Count});
        ++added;
    }
    return added;
}

// Every project made by the program has one room. A damaged record in memory may claim more;
// the passes then repeat as they would, but no more often than this.
constexpr std::int32_t MaxRoomPasses = 16;

} // namespace

ConvectorListSlots emptyConvectorList()
{
    ConvectorListSlots slots;
    slots.fill(std::string(FreeListSlot));
    return slots;
}

std::string ListKey(const FixedString<10>& typeName, double heightMm, double lengthMm)
{
    // A heating entry keeps the first ten characters of the listed name, a cooling entry the part
    // before its first blank: the type code, followed in the heating entry by blanks or the start
    // of the description. The key takes the code, so that one unit is named alike in both lists.
    std::string_view name = typeName.bytes();
    name = name.substr(0, name.find(' '));
    return "   " + std::string(name) + " / " + strFixed(heightMm, 5, 0) + " / " + strFixed(lengthMm, 5, 0);
}

ConvectorListSlots BuildConvectorList(const ProjectRecord& project)
{
    std::vector<ListRecord> records;
    const std::int32_t passes = std::clamp<std::int32_t>(project.RoomCount, 0, MaxRoomPasses);
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        addNamedEntries(records, project.HeatingEntries, project.HeatingEntryCount);
        if (records.size() > 1)
            sortAndSum(records, 0);
        const std::size_t heatingRecords = records.size();
        const std::size_t coolingRecords =
            addNamedEntries(records, project.CoolingEntries, project.CoolingEntryCount);
        if (coolingRecords > 1)
            sortAndSum(records, heatingRecords);
    }
    // Heating and cooling use the same convectors where the dual-use option is on, so a key
    // in both lists needs only the larger of the two counts.
    if (records.size() > 1) {
        sortDescending(records, 0, records.size() - 1);
        combineEqualNeighbours(records, 0, [](std::int32_t a, std::int32_t b) { return std::max(a, b); });
    }

    ConvectorListSlots slots = emptyConvectorList();
    constexpr std::size_t CountColumn = 35; // 0-based: the count starts in column 36
    for (std::size_t r = 0; r < records.size() && r < slots.size(); ++r) {
        std::string line = records[r].key + ' ';
        if (line.size() < CountColumn)
            line.append(CountColumn - line.size(), ' ');
        line += std::to_string(records[r].count);
        line.resize(std::min(line.size(), ConvectorListLineLength));
        slots[r] = cp1252ToUtf8(line);
    }
    return slots;
}

std::vector<std::string> convectorListLines(const ConvectorListSlots& slots)
{
    std::vector<std::string> lines;
    for (const std::string& slot : slots) {
        if (slot == FreeListSlot)
            break;
        if (!slot.empty())
            lines.push_back(slot);
    }
    return lines;
}

} // namespace tepa
