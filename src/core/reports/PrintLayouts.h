#pragma once

#include "core/Result.h"
#include "core/model/ProjectRecord.h"
#include "core/reports/PrintSurface.h"
#include "core/text/InterfaceTexts.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tepa {

// The printouts of the main window: the convector list and the calculation data of one room.
// Positions are layout units of 1/300 inch from the top left corner of the printable area; the
// surface gets them multiplied by PrintScale. All text is in PrintFontName, regular unless a
// routine says bold. The font is one every installation has (the package the program depends
// on), so the layout's widths hold on every machine and the PDF files embed it.

inline constexpr const char* PrintFontName = "DejaVu Sans";

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
    double PrintScale = 1;
};

// Layout units are 1/300 inch: the device resolution over 300 (2.4 at 720 dpi, 1.2 at 360),
// so the layout keeps its size on the paper at every resolution, as the fonts do. A device
// that reports no resolution is taken as 300 dpi.
double PrintScaleFor(int verticalDpi);

// Which list a calculation printout shows.
enum class PrintMode
{
    Heating,
    Cooling,
};
// The list the calculation printout shows when nobody chose one: heating when it is in use.
PrintMode defaultPrintMode(const ProjectRecord& project);
// Both lists hold a designed first entry, so either printout makes sense.
bool bothModesInUse(const ProjectRecord& project);

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

// The calculation data printout of the heating or the cooling list. Sets context.PrintScale
// from the surface.
Status printCalculationData(PrintSurface& surface, PrintContext& context, PrintMode mode);
// The heating and cooling tables with their headings and totals, after page header and project
// block.
Status HeatingDataPrint(PrintSurface& surface, const PrintContext& context);
Status CoolingDataPrint(PrintSurface& surface, const PrintContext& context);

// A building summary of many project files: one line per file (its room's demand, the output
// installed and what is left, heating and cooling, and its units; or why the file is no project)
// with the warnings of its entries below it, then the building's bill of convectors. Figures
// arrive as the texts to print.
struct SummaryPrintRoom
{
    std::string File;  // the file's name, without its folder
    std::string Error; // why the file is no project; the figures are then empty
    std::string Room;
    std::string Figures[7]; // heating demand, installed, residual; cooling the same; units
    std::vector<std::string> Warnings;
};
struct SummaryPrintConvector
{
    std::string Type, Height, Length, Count;
};
struct SummaryPrintout
{
    std::string Today;
    std::vector<SummaryPrintRoom> Rooms;
    std::vector<SummaryPrintConvector> Convectors;
};
// No letterhead and no project block: the sheet belongs to no single project. As many pages as
// the rooms need, with the column headings again on each.
Status printBuildingSummary(PrintSurface& surface, const SummaryPrintout& summary);

// The name of a print job, also proposed as the PDF file's name: the printout's name without
// surrounding blanks, then the project number when there is one. Characters a file name cannot
// hold become "-".
std::string printJobName(std::string_view printoutName, std::string_view projectNumber);

} // namespace tepa
