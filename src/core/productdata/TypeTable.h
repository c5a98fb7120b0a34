#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tepa {

// One line of a type file as held in a type table.
struct TypeTableEntry
{
    std::string Text; // at most MaxTextLength characters (UTF-8)
    // Number of types taken by the load that wrote this entry; set only in the name entries.
    std::int32_t TypeCount = 0;
};

// A type table holds c loaded types in blocks: names in entries 1..c, length lines in c+1..2c,
// data lines in 2c+1..3c and (forced types) fan lines in 3c+1..4c. A new load overwrites the
// entries it uses and leaves the rest as an earlier load left them.
struct TypeTable
{
    static constexpr std::size_t Size = 60;
    static constexpr std::size_t MaxTextLength = 100;

    std::array<TypeTableEntry, Size> entries{};
    // Number of type names found in the file before selection.
    std::int32_t FileTypeCount = 0;

    // 1-based, as the blocks are numbered.
    TypeTableEntry& at(std::size_t k) { return entries.at(k - 1); }
    const TypeTableEntry& at(std::size_t k) const { return entries.at(k - 1); }
};

// Types a single load may take: as many as the table's blocks leave room for.
constexpr std::size_t MaxFreeTypesPerLoad = TypeTable::Size / 3;   // name, length, data
constexpr std::size_t MaxForcedTypesPerLoad = TypeTable::Size / 4; // name, length, data, fan

} // namespace tepa
