// Loads arbitrary bytes as the convector type index "konvektoren.txt" beside the shipped type
// files, and picks every line of it the way the room data panel does: the picked line's filter
// then selects the types of the calculation window's type list.
//
// Checked: the loader agrees with the in-memory reading; each parsed line keeps its kind and
// whole characters, its filter within its length; every load stays within its table; and
// whenever the installation check finds nothing wrong with the index, every line the user can
// pick loads a non-empty, uncut type list (the check exists so the program never meets an empty
// or cut list).
#include "FuzzSupport.h"

#include "core/productdata/InstallationCheck.h"
#include "core/text/TextFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    using fuzz::require;
    // Only the type files bear on the index; the texts and heights are left out to save time.
    static const InstallationFiles shipped = readInstallation(TEPA_SOURCE_DATA_DIR);
    fuzz::writeFile(fuzz::tempFolder() / TypeIndexFileName, fuzz::bytesOf(data, size));
    const auto loaded = loadConvectorTypeIndex(fuzz::tempFolder());
    const std::vector<std::string> index = splitLines(cp1252ToUtf8(fuzz::bytesOf(data, size)));
    require(loaded.ok() && *loaded == index && shipped.freeTypes && shipped.forcedTypes);
    const InstallationFiles files{
        .freeTypes = shipped.freeTypes, .forcedTypes = shipped.forcedTypes, .typeIndex = index};
    const auto problems = checkInstallationFiles(files);
    const bool indexValid = std::none_of(problems.begin(), problems.end(),
                                         [](const Problem& p) { return p.file == TypeIndexFileName; });

    // One table per kind across all picks, as in the program, so later loads meet what earlier
    // ones left behind.
    TypeTable freeTable, forcedTable;
    for (std::size_t i = FirstTypeIndexLine; i < index.size(); ++i) {
        const TypeIndexLine entry = parseTypeIndexLine(index[i]);
        require(entry.kind == (index[i].empty() ? 0 : index[i].front()));
        require(utf8Length(entry.chosenTypeRow) <= MaxChosenTypeRowLength);
        require(fuzz::isCp1252Text(entry.shownName) && fuzz::isCp1252Text(entry.chosenTypeRow));
        if (i > LastTypeIndexLine || (entry.kind != 'F' && entry.kind != 'Z'))
            continue;
        const bool forced = entry.kind == 'Z';
        TypeTable& table = forced ? forcedTable : freeTable;
        // The cooling list offers "HW" lines only.
        for (bool heating : entry.cooling ? std::vector{true, false} : std::vector{true}) {
            const TypeSelection selection{!forced, forced, entry.chosenTypeRow, heating};
            const auto load = forced ? selectForcedTypes(*files.forcedTypes, selection, table)
                                     : selectFreeTypes(*files.freeTypes, selection, table);
            require(load.ok()); // the shipped type files are complete
            for (std::size_t k = 1; k <= load->names.size(); ++k)
                require(table.at(k).Text == load->names[k - 1]);
            require(fuzz::checkLoad(load, table, forced) || !indexValid);
        }
    }
    return 0;
}
