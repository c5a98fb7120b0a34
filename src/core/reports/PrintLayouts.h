#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"
#include "core/reports/PrintSurface.h"
#include "core/text/InterfaceTexts.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tepa {

// The printouts of the main window: the convector list and the calculation data of one room.
// Positions are layout units of 1/300 inch from the top left corner of the printable area; the
// surface gets them multiplied by PrintScale. All text is in PrintFontName, regular unless a
// routine says bold.

inline constexpr const char* PrintFontName = "Valdana";

// The letterhead logo in the program directory.
inline constexpr const char* LetterheadBitmapName = "image4.bmp";

// What a printout reads. PrintScale is set anew by every printout from the device.
struct PrintContext
{
    const ProjectRecord& Project;
    const InterfaceTexts& Texts;
    std::filesystem::path ProgramDir;
    std::string Today;        // today's date in the system's short date format
    bool LetterPaper = false; // pre-printed letter paper: the letterhead is left out
    std::int32_t PrintScale = 1;
};

// Layout units are 1/300 inch: the device resolution over 300, rounded with halves to even
// (600 and 720 dpi give 2, 450 dpi gives 2, 1200 dpi 4). A device coarser than 150 dpi would
// round to 0 and lose the whole layout in one corner, so the scale is at least 1.
std::int32_t PrintScaleFor(int verticalDpi);

// Logo and address block at the top of a neutral sheet. Fails, before drawing anything, when
// the logo file cannot be opened.
Status PrintLetterhead(PrintSurface& surface, const PrintContext& context);
// Heading of every page: the letterhead unless LetterPaper, title, date and a rule.
Status PrintPageHeader(PrintSurface& surface, const PrintContext& context);
// Project title and number, the person in charge and the client's address (first page).
void PrintProjectBlock(PrintSurface& surface, const PrintContext& context);

// The convector list printout, given the 100 slots of the list (slot 1 first; a slot holding
// one blank ends the list). Sets context.PrintScale from the surface. A failure stops the
// printout where it happened.
Status
printConvectorList(PrintSurface& surface, PrintContext& context, std::span<const std::string> listSlots);

// The calculation data printout: the heating list when Project.HeatingInUse, else the cooling
// list. Sets context.PrintScale from the surface.
Status printCalculationData(PrintSurface& surface, PrintContext& context);
// The heating and cooling tables with their headings and totals, after page header and project
// block.
Status HeatingDataPrint(PrintSurface& surface, const PrintContext& context);
Status CoolingDataPrint(PrintSurface& surface, const PrintContext& context);

} // namespace tepa
