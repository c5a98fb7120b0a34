// Fuzzes the product data readers and the installation check over one in-memory installation.
//
// The input holds the files separated by NUL bytes, in the order freikon.txt, zwangskon.txt,
// bauhoehen.txt, konvektoren.txt, tepatext.txt. An input without NUL (such as a fixture file
// used as seed) stands for every file at once, so each seed reaches every reader.
#include "FuzzSupport.h"

#include "core/productdata/InstallationCheck.h"
#include "core/text/TextFile.h"

namespace {

using namespace tepa;
using Lines = std::vector<std::string>;

// What the calculation window does after a load: pick each type, its lengths and its heights.
void pickEveryType(const TypeTable& table, const Result<TypeLoad>& load, const Lines& heights)
{
    const std::size_t count = load ? load->names.size() : 0;
    for (std::size_t k = 1; k <= count; ++k) {
        fuzz::require(!lengthFields(table.at(count + k).Text).empty());
        const auto offered = offeredHeights(table.at(k).Text, heights);
        fuzz::require(!offered || offered->preselected < offered->lines.size());
        for (const auto& line : offered ? offered->lines : Lines()) {
            (void)heightOfLine(line);
            (void)heightFactor(table.at(k).Text, line, ',');
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::bytesOf(data, size);
    std::vector<Lines> files;
    for (std::size_t start = 0; files.size() < 5 && start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        files.push_back(splitLines(cp1252ToUtf8(input.substr(start, end - start))));
        start = end + 1;
    }
    files.resize(5, input.find('\0') == std::string_view::npos ? files.front() : Lines());
    const auto& [freeLines, forcedLines, heights, typeIndex, texts] =
        std::tie(files[0], files[1], files[2], files[3], files[4]);

    // Every type, cooling types, filters, and the rows the type index would hand over as the main
    // window picks them.
    std::vector<TypeSelection> selections(2);
    selections[1].HeatingMode = false;
    for (const char* filter : {"W", "WF", "WFW", "WFWL", "WNF", "WM"})
        selections.push_back({.FreeTypeChosen = true, .ForcedTypeChosen = true, .ChosenTypeRow = filter});
    for (std::size_t i = FirstTypeIndexLine; i < typeIndex.size() && i <= LastTypeIndexLine; ++i) {
        const auto entry = parseTypeIndexLine(typeIndex[i]);
        selections.push_back({.FreeTypeChosen = entry.kind == 'F',
                              .ForcedTypeChosen = entry.kind == 'Z',
                              .ChosenTypeRow = entry.chosenTypeRow,
                              .HeatingMode = !entry.cooling});
    }
    // One table per kind across all loads, as in the program, so later loads meet the leftovers
    // of earlier ones. The first load lists every type; picking them all once reaches every name.
    TypeTable freeTable, forcedTable;
    for (const auto& selection : selections) {
        const auto free = selectFreeTypes(freeLines, selection, freeTable);
        const auto forced = selectForcedTypes(forcedLines, selection, forcedTable);
        fuzz::checkLoad(free, freeTable, false);
        fuzz::checkLoad(forced, forcedTable, true);
        if (&selection == &selections.front()) {
            pickEveryType(freeTable, free, heights);
            pickEveryType(forcedTable, forced, heights);
        }
    }
    for (bool forced : {false, true})
        if (const auto records = typesFromLines(forced ? forcedLines : freeLines, forced))
            for (const auto& record : *records)
                (void)lengthFields(record.lengthLine);

    const InstallationFiles installation{.texts = texts,
                                         .freeTypes = freeLines,
                                         .forcedTypes = forcedLines,
                                         .heights = heights,
                                         .typeIndex = typeIndex};
    for (const auto& problem : checkInstallationFiles(installation))
        fuzz::require(!problem.file.empty() && !problem.message.empty());
    return 0;
}
