// Loads arbitrary bytes as the convector type index "konvektoren.txt" beside the shipped type
// files, and picks every line of it the way the room data panel does: the picked line's filter
// then selects the types of the calculation window's type list.
//
// Checked: the loader agrees with the in-memory reading; each parsed line holds what its columns
// say; every load stays within its table; and whenever the installation check finds nothing wrong
// with the index, every line the user can pick loads a non-empty, uncut type list (the check
// exists so the program never meets an empty or cut list).
#include "FuzzSupport.h"

#include "core/productdata/InstallationCheck.h"
#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/TextFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tepa::fuzz::require;
using Lines = std::vector<std::string>;

const tepa::fuzz::TempFolder& folder()
{
    static const tepa::fuzz::TempFolder instance;
    return instance;
}

// The shipped installation, read once.
const tepa::InstallationFiles& shipped()
{
    static const tepa::InstallationFiles files = [] {
        auto read = tepa::readInstallation(TEPA_SOURCE_DATA_DIR);
        require(read.freeTypes && read.forcedTypes);
        return read;
    }();
    return files;
}

void checkParsedLine(std::string_view line, const tepa::TypeIndexLine& entry)
{
    using namespace tepa;
    require(entry.kind == (line.empty() ? 0 : line.front()));
    // The shown name is column 11 and the type code after it, up to the blank that ends the
    // code (at most column 21).
    const std::string_view columns = utf8Mid(line, 11, 11);
    const std::string_view name = entry.shownName;
    require(columns.starts_with(name));
    const std::size_t code = std::min(name.find_first_not_of(' '), name.size());
    require(name.find(' ', code) == std::string_view::npos);
    require(name.size() == columns.size() || columns[name.size()] == ' ');
    require(utf8Length(entry.chosenTypeRow) <= MaxChosenTypeRowLength);
    // The filter starts at the second character of the shown name.
    require(entry.chosenTypeRow.starts_with(utf8Mid(entry.shownName, 2, 5)));
    require(entry.cooling == (line.find("HW") != std::string_view::npos));
    require(fuzz::isCp1252Text(entry.shownName) && fuzz::isCp1252Text(entry.chosenTypeRow));
}

// Returns whether the load found types and kept them all.
bool checkLoad(const tepa::Result<tepa::TypeLoad>& load, const tepa::TypeTable& table, bool forced)
{
    require(load.ok()); // the shipped type files are complete
    const std::size_t capacity = forced ? tepa::MaxForcedTypesPerLoad : tepa::MaxFreeTypesPerLoad;
    require(load->names.size() == std::min(load->matchedCount, capacity));
    require(load->cut == (load->matchedCount > capacity));
    for (std::size_t k = 1; k <= load->names.size(); ++k)
        require(table.at(k).Text == load->names[k - 1]);
    return !load->names.empty() && !load->cut;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tepa;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    fuzz::writeFile(folder().path() / TypeIndexFileName, bytes);
    const auto loaded = loadConvectorTypeIndex(folder().path());
    require(loaded.ok());
    const Lines index = splitLines(cp1252ToUtf8(bytes));
    require(*loaded == index);

    // Only the type files bear on the index; the texts and heights are left out to save time.
    InstallationFiles files;
    files.freeTypes = shipped().freeTypes;
    files.forcedTypes = shipped().forcedTypes;
    files.typeIndex = index;
    const auto problems = checkInstallationFiles(files);
    const bool indexValid = std::none_of(problems.begin(), problems.end(),
                                         [](const Problem& p) { return p.file == TypeIndexFileName; });

    // One table per kind across all picks, as in the program, so later loads meet what earlier
    // ones left behind.
    TypeTable freeTable, forcedTable;
    for (std::size_t i = FirstTypeIndexLine; i < index.size(); ++i) {
        const TypeIndexLine entry = parseTypeIndexLine(index[i]);
        checkParsedLine(index[i], entry);
        if (i > LastTypeIndexLine || (entry.kind != 'F' && entry.kind != 'Z'))
            continue;
        const bool forced = entry.kind == 'Z';
        for (bool heating : {true, false}) {
            if (!heating && !entry.cooling)
                continue; // the cooling list offers "HW" lines only
            TypeSelection selection;
            selection.FreeTypeChosen = !forced;
            selection.ForcedTypeChosen = forced;
            selection.ChosenTypeRow = entry.chosenTypeRow;
            selection.HeatingMode = heating;
            const bool complete =
                forced ? checkLoad(selectForcedTypes(*files.forcedTypes, selection, forcedTable), forcedTable,
                                   true)
                       : checkLoad(selectFreeTypes(*files.freeTypes, selection, freeTable), freeTable, false);
            if (indexValid)
                require(complete);
        }
    }
    return 0;
}
