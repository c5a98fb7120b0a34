// Fuzzes the product data readers and the installation check over one in-memory installation.
//
// The input holds the files separated by NUL bytes, in the order freikon.txt, zwangskon.txt,
// bauhoehen.txt, konvektoren.txt, tepatext.txt. An input without NUL (such as a fixture file
// used as seed) stands for every file at once, so each seed reaches every reader.
#include "core/productdata/InstallationCheck.h"
#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<Lines> splitFiles(std::string_view input)
{
    constexpr std::size_t fileCount = 5;
    std::vector<Lines> files;
    std::size_t start = 0;
    while (files.size() < fileCount) {
        const std::size_t end = input.find('\0', start);
        files.push_back(tepa::splitLines(tepa::cp1252ToUtf8(input.substr(start, end - start))));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    if (input.find('\0') == std::string_view::npos)
        files.resize(fileCount, files.front());
    files.resize(fileCount);
    return files;
}

void checkLoad(const tepa::Result<tepa::TypeLoad>& load, const tepa::TypeTable& table, bool forced)
{
    if (!load)
        return;
    const std::size_t capacity = forced ? tepa::MaxForcedTypesPerLoad : tepa::MaxFreeTypesPerLoad;
    require(load->names.size() <= capacity);
    require(load->cut == (load->matchedCount > capacity));
    require(load->names.size() == std::min(load->matchedCount, capacity));
    if (!load->names.empty())
        require(table.at(1).TypeCount == static_cast<std::int32_t>(load->names.size()));
    for (const auto& entry : table.entries)
        require(tepa::utf8Length(entry.Text) <= tepa::TypeTable::MaxTextLength);
}

// What the calculation window does after a load: pick each type, its lengths and its heights.
void pickEveryType(const tepa::TypeTable& table, std::size_t count, const Lines& heights)
{
    for (std::size_t k = 1; k <= count; ++k) {
        const std::string& name = table.at(k).Text;
        const auto lengths = tepa::lengthFields(table.at(count + k).Text);
        require(!lengths.empty());
        const auto offered = tepa::offeredHeights(name, heights);
        if (!offered)
            continue;
        require(offered->preselected < offered->lines.size());
        for (const auto& line : offered->lines) {
            (void)tepa::heightOfLine(line);
            (void)tepa::heightFactor(name, line, ',');
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto files = splitFiles({reinterpret_cast<const char*>(data), size});
    const Lines& freeLines = files[0];
    const Lines& forcedLines = files[1];
    const Lines& heights = files[2];
    const Lines& typeIndex = files[3];

    std::vector<tepa::TypeSelection> selections(1);
    tepa::TypeSelection cooling;
    cooling.HeatingMode = false;
    selections.push_back(cooling);
    for (const char* filter : {"W", "WF", "WFW", "WFWL", "WNF", "WM"}) {
        tepa::TypeSelection s;
        s.FreeTypeChosen = s.ForcedTypeChosen = true;
        s.ChosenTypeRow = filter;
        selections.push_back(s);
    }
    // The rows the type index would hand over, as the main window picks them.
    for (std::size_t i = tepa::FirstTypeIndexLine; i < typeIndex.size() && i <= tepa::LastTypeIndexLine;
         ++i) {
        const auto entry = tepa::parseTypeIndexLine(typeIndex[i]);
        tepa::TypeSelection s;
        s.FreeTypeChosen = entry.kind == 'F';
        s.ForcedTypeChosen = entry.kind == 'Z';
        s.ChosenTypeRow = entry.chosenTypeRow;
        s.HeatingMode = !entry.cooling;
        selections.push_back(s);
    }

    // One table per kind across all loads, as in the program, so later loads meet the leftovers
    // of earlier ones. The first load (no filter, heating) lists every type; picking them all
    // once reaches every name without repeating the height work for each filter.
    tepa::TypeTable freeTable, forcedTable;
    bool first = true;
    for (const auto& selection : selections) {
        const auto free = tepa::selectFreeTypes(freeLines, selection, freeTable);
        checkLoad(free, freeTable, false);
        if (free && first)
            pickEveryType(freeTable, free->names.size(), heights);
        const auto forced = tepa::selectForcedTypes(forcedLines, selection, forcedTable);
        checkLoad(forced, forcedTable, true);
        if (forced && first)
            pickEveryType(forcedTable, forced->names.size(), heights);
        first = false;
    }

    for (bool forced : {false, true}) {
        const auto records = tepa::typesFromLines(forced ? forcedLines : freeLines, forced);
        if (records)
            for (const auto& record : *records)
                (void)tepa::lengthFields(record.lengthLine);
    }

    tepa::InstallationFiles installation;
    installation.freeTypes = freeLines;
    installation.forcedTypes = forcedLines;
    installation.heights = heights;
    installation.typeIndex = typeIndex;
    installation.texts = files[4];
    for (const auto& problem : tepa::checkInstallationFiles(installation))
        require(!problem.file.empty() && !problem.message.empty());
    return 0;
}
