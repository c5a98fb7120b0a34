#pragma once

#include "core/model/ProjectRecord.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tepa {

// The project's bill of convectors: one line per distinct type, height and length with the
// number of units. Slot i (1-based, as the list is numbered) is element i - 1. A free slot holds
// exactly one blank, and the first such slot ends the list for every reader. Lines are UTF-8;
// their length limit counts characters of the single-byte code page the list was made for.
constexpr std::size_t ConvectorListSlotCount = 100;
constexpr std::size_t ConvectorListLineLength = 50;
constexpr std::string_view FreeListSlot = " ";
using ConvectorListSlots = std::array<std::string, ConvectorListSlotCount>;

// A list whose every slot is free.
ConvectorListSlots emptyConvectorList();

// The sort key of an entry: three blanks, the type code (the name up to its first blank), " / ", the height
// and " / " and the length, each written as a whole number (halves away from zero) right-aligned in 5
// characters. Returned as Windows-1252 bytes, the form in which keys are compared.
std::string ListKey(const FixedString<10>& typeName, double heightMm, double lengthMm);

// Builds the list from the project's heating and cooling entries (those with a type name):
// equal keys within one list add their counts, a key found in both lists keeps the larger of
// its two counts, and the lines come out in descending key order, heating and cooling mixed.
// Each line is the key, blanks up to column 35 (at least one), then the count; at most 50
// characters.
ConvectorListSlots BuildConvectorList(const ProjectRecord& project);

// The list lines: slots 1 .. n before the first free slot, empty slots left out.
std::vector<std::string> convectorListLines(const ConvectorListSlots& slots);

} // namespace tepa
