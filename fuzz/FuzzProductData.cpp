// The product data readers, the interface texts and the installation check over one in-memory
// installation. The input holds the files separated by NUL bytes: freikon.txt, zwangskon.txt,
// bauhoehen.txt, konvektoren.txt, tepatext.txt; an input without NUL (a fixture file as seed)
// stands for every file at once. The type index is also read beside the shipped type files.
#include "FuzzSupport.h"

#include "core/productdata/InstallationCheck.h"
#include "core/text/InterfaceTexts.h"
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

// The loader agrees with the in-memory reading; each text is its line, whole characters, the
// 3-character prefix taken off line 0 and each following non-empty line up to LastStrippedLine.
void checkTexts(std::string_view bytes)
{
    fuzz::writeFile(fuzz::tempFolder() / InterfaceTexts::FileName, bytes);
    const auto loaded = InterfaceTexts::load(fuzz::tempFolder());
    const Lines raw = splitLines(cp1252ToUtf8(bytes));
    const InterfaceTexts texts = InterfaceTexts::fromRawLines(raw);
    fuzz::require(loaded.ok() && loaded->lines() == texts.lines() && texts.size() == raw.size());
    bool inBlock = true;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        inBlock = inBlock && (i == 0 || (!raw[i].empty() && i <= InterfaceTexts::LastStrippedLine));
        const std::string& text = texts.line(i);
        fuzz::require(text.find_first_of("\r\n") == std::string::npos && fuzz::isCp1252Text(text));
        fuzz::require(raw[i] == std::string(utf8Left(raw[i], inBlock ? 3 : 0)) + text);
    }
    fuzz::require(texts.line(raw.size()).empty() && texts.line(static_cast<std::size_t>(-1)).empty());
}

// The type index beside the shipped type files, every line picked as the room data panel does;
// when the installation check passes the index, every line the user can pick loads a full list.
void checkIndex(std::string_view bytes)
{
    static const InstallationFiles shipped = readInstallation(TEPA_SOURCE_DATA_DIR);
    fuzz::writeFile(fuzz::tempFolder() / TypeIndexFileName, bytes);
    const auto loaded = loadConvectorTypeIndex(fuzz::tempFolder());
    const Lines index = splitLines(cp1252ToUtf8(bytes));
    fuzz::require(loaded.ok() && *loaded == index && shipped.freeTypes && shipped.forcedTypes);
    const InstallationFiles files{
        .freeTypes = shipped.freeTypes, .forcedTypes = shipped.forcedTypes, .typeIndex = index};
    const auto problems = checkInstallationFiles(files);
    const bool indexValid = std::none_of(problems.begin(), problems.end(),
                                         [](const Problem& p) { return p.file == TypeIndexFileName; });
    TypeTable freeTable, forcedTable; // one per kind across all picks, as in the program
    for (std::size_t i = FirstTypeIndexLine; i < index.size(); ++i) {
        const TypeIndexLine entry = parseTypeIndexLine(index[i]);
        fuzz::require(entry.kind == (index[i].empty() ? 0 : index[i].front()));
        fuzz::require(utf8Length(entry.chosenTypeRow) <= MaxChosenTypeRowLength);
        fuzz::require(fuzz::isCp1252Text(entry.shownName) && fuzz::isCp1252Text(entry.chosenTypeRow));
        if (i > LastTypeIndexLine || (entry.kind != 'F' && entry.kind != 'Z'))
            continue;
        const bool forced = entry.kind == 'Z';
        TypeTable& table = forced ? forcedTable : freeTable;
        // The cooling list offers "HW" lines only.
        for (bool heating : entry.cooling ? std::vector{true, false} : std::vector{true}) {
            const TypeSelection selection{!forced, forced, entry.chosenTypeRow, heating};
            const auto load = forced ? selectForcedTypes(*files.forcedTypes, selection, table)
                                     : selectFreeTypes(*files.freeTypes, selection, table);
            fuzz::require(load.ok()); // the shipped type files are complete
            for (std::size_t k = 1; k <= load->names.size(); ++k)
                fuzz::require(table.at(k).Text == load->names[k - 1]);
            fuzz::require(fuzz::checkLoad(load, table, forced) || !indexValid);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = fuzz::bytesOf(data, size);
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; parts.size() < 5 && start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        parts.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    parts.resize(5, input.find('\0') == std::string_view::npos ? input : std::string_view());
    std::vector<Lines> files;
    for (const std::string_view part : parts)
        files.push_back(splitLines(cp1252ToUtf8(part)));
    const auto& [freeLines, forcedLines, heights, typeIndex, texts] =
        std::tie(files[0], files[1], files[2], files[3], files[4]);
    checkTexts(parts[4]);
    checkIndex(parts[3]);

    // Every type, cooling types, and filters (the index's own filters meet the shipped types above).
    std::vector<TypeSelection> selections(2);
    selections[1].HeatingMode = false;
    for (const char* filter : {"W", "WF", "WFW", "WFWL", "WNF", "WM"})
        selections.push_back({.FreeTypeChosen = true, .ForcedTypeChosen = true, .ChosenTypeRow = filter});
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
