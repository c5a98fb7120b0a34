#include "core/reports/PrintLayouts.h"

#include "core/reports/FanPercent.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace tepa {
namespace {

// Texts of the printouts added to the installation's texts: the column headings of the
// calculation tables as two rows (names, then units; fields separated by "|"), the word
// between page number and page count, and the question which calculation sheet to print.
constexpr std::size_t ColumnNamesLine = 285;
constexpr std::size_t ColumnUnitsLine = 286;
constexpr std::size_t PageOfLine = 287;

// Nothing may be drawn right of this (the sheet is 2480 wide; printers keep a few millimetres
// free at its edge).
constexpr int TextRight = 2330;
// Texts that are too long for their place are drawn smaller, down to this size.
constexpr int SmallestFittedPoints = 6;

// Draws in layout units on a surface that takes device units.
class Pen
{
public:
    Pen(PrintSurface& surface, double scale)
        : m_surface(surface)
        , m_scale(scale)
    {}

    void font(int points, bool bold = false)
    {
        m_points = points;
        m_bold = bold;
        m_surface.setFont(PrintFontName, points, bold);
    }
    int points() const { return m_points; }
    void text(int x, int y, const std::string& text) { m_surface.drawText(device(x), device(y), text); }
    // Ends the text at the right edge `edge`, so that columns of numbers line up on their
    // last digit whatever the font's digit widths.
    void right(int edge, int y, const std::string& text)
    {
        m_surface.drawText(device(edge) - m_surface.textWidth(text), device(y), text);
    }
    // Draws the text at (x, y), in a smaller size when it would run past `limit`; the font in
    // force before is set again afterwards. Titles, names and addresses have the length the
    // record allows, which the columns cannot always hold at the normal size.
    void fitted(int x, int y, const std::string& text, int limit)
    {
        const int normal = m_points;
        const bool bold = m_bold;
        int points = normal;
        while (points > SmallestFittedPoints && m_surface.textWidth(text) > device(limit) - device(x))
            font(--points, bold);
        this->text(x, y, text);
        if (points != normal)
            font(normal, bold);
    }
    // A rule of `mark` characters from `left` that ends before `rightEdge`. A surface that
    // measures nothing (no font at all) gets a rule of MaxRuleMarks marks, not an endless one.
    void rule(int left, int y, char mark, int rightEdge)
    {
        constexpr std::size_t MaxRuleMarks = 400;
        std::string line;
        const int room = device(rightEdge) - device(left);
        while (line.size() < MaxRuleMarks && m_surface.textWidth(line + mark) <= room)
            line += mark;
        text(left, y, line);
    }
    int device(int layout) const { return static_cast<int>(std::lround(layout * m_scale)); }

private:
    PrintSurface& m_surface;
    double m_scale;
    int m_points = 12;
    bool m_bold = false;
};

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Byte offset of the character `count` characters before the end of the UTF-8 text (0 when the
// text is shorter), so that list slots are cut by the characters the user sees.
std::size_t offsetFromEnd(std::string_view text, std::size_t count)
{
    std::size_t pos = text.size();
    while (count > 0 && pos > 0) {
        --pos;
        while (pos > 0 && isContinuationByte(text[pos]))
            --pos;
        --count;
    }
    return pos;
}

std::string withoutLast(std::string_view text, std::size_t count)
{
    return std::string(text.substr(0, offsetFromEnd(text, count)));
}

std::string lastCharacters(std::string_view text, std::size_t count)
{
    return std::string(text.substr(offsetFromEnd(text, count)));
}

std::string trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        parts.emplace_back(text.substr(start, at - start));
        if (at == std::string_view::npos)
            return parts;
        start = at + separator.size();
    }
}

// The non-empty texts joined by `separator`, so that an empty field leaves no stray "/" or ",".
std::string joined(std::initializer_list<std::string> texts, std::string_view separator)
{
    std::string result;
    for (const std::string& text : texts) {
        if (trimmed(text).empty())
            continue;
        if (!result.empty())
            result += separator;
        result += text;
    }
    return result;
}

const std::string& line(const PrintContext& context, std::size_t n)
{
    return context.Texts.line(n);
}

std::string continuationNote(const PrintContext& context)
{
    return "( zu " + line(context, 107) + context.Project.Number.text() + " )";
}

// "Seite n von m" at the foot of every page.
void pageFooter(Pen& pen, const PrintContext& context, int page, int pages)
{
    constexpr int FooterY = 3350;
    pen.font(10);
    pen.text(
        300, FooterY,
        joined({line(context, 112), std::to_string(page), line(context, PageOfLine), std::to_string(pages)},
               " "));
}

// Fan speed as a percentage of the series' top speed; nothing when the type is no fan type.
std::string fanPercent(const std::string& typeName, double fanSpeed, bool coolingSeries)
{
    const double divisor = fanPercentDivisor(typeName, coolingSeries);
    if (divisor == 0)
        return "----";
    return strFixed(fanSpeed / divisor, 4, 0);
}

// A sound level of 0 means the unit has no fan running or none at all; a dash says so.
std::string soundLevel(double level)
{
    const std::string text = strFixed(std::fabs(level), 3, 0);
    return trimmed(text) == "0" ? "--" : text;
}

// Columns of the calculation tables: the entry number ends at NumberEdge, the type starts at
// TypeLeft and must end before TypeLimit, every other column is right-aligned on its edge. The
// edges leave room for the longest type code (seven characters) and the widest values the
// calculation window allows.
constexpr int NumberEdge = 350;
constexpr int TypeLeft = 380;
constexpr int TypeLimit = 690;
constexpr int ValueEdges[] = {790, 940, 1050, 1150, 1310, 1450, 1580, 1730, 1860, 2040, 2250};
constexpr std::size_t HeadingFields = 2 + std::size(ValueEdges);
enum ValueColumn : std::size_t
{
    HeightColumn,
    LengthColumn,
    UnitsColumn,
    ReturnTempColumn,
    MassFlowColumn,
    VolumeFlowColumn,
    FanSpeedColumn,
    PressureDropColumn,
    SoundColumn,
    OutputColumn,
    OutputAllColumn,
};
constexpr int TableRight = 2250;
constexpr int TotalsLabelX = 1300;
constexpr int SecondLineX = 975;

// First rows of the pages; rows are 160 apart, the second line of a row 80 below its first.
constexpr int FirstPageFirstRow = 1650;
constexpr int FollowingPageFirstRow = 1000;
constexpr int RowPitch = 160;
constexpr int EntriesOnFirstPage = 10;
constexpr int PageMarkY = 3260;

// Column headings over the columns they name (names, units below), and a dotted rule under
// them, ending above the first row at `firstRow`. An installation whose texts lack the column
// headings gets the one-line heading `fallbackLine`.
void columnHeadings(Pen& pen, const PrintContext& context, int firstRow, std::size_t fallbackLine)
{
    pen.font(10);
    const std::vector<std::string> names = split(line(context, ColumnNamesLine), "|");
    const std::vector<std::string> units = split(line(context, ColumnUnitsLine), "|");
    if (names.size() != HeadingFields || units.size() != HeadingFields) {
        pen.text(300, firstRow - 100, line(context, fallbackLine));
    } else {
        for (const auto* row : {&names, &units}) {
            const int y = firstRow - (row == &names ? 150 : 100);
            pen.right(NumberEdge, y, (*row)[0]);
            pen.text(TypeLeft, y, (*row)[1]);
            for (std::size_t c = 0; c < std::size(ValueEdges); ++c)
                pen.right(ValueEdges[c], y, (*row)[c + 2]);
        }
    }
    pen.rule(300, firstRow - 50, '.', TableRight);
}

// What every row of a table shows, heating or cooling alike.
struct RowValues
{
    std::string type;
    double height = 0, length = 0;
    std::int32_t count = 0;
    std::string returnTemp, massFlow, volumeFlow, fanSpeed;
    double pressureDrop = 0, sound = 0, output = 0;
    std::string secondLabel; // empty: no second line
    double secondOutput = 0;
};

// Draws one row; returns its output and its second-line output, for the totals.
std::pair<double, double> printRow(Pen& pen, std::int32_t k, const RowValues& v, int y)
{
    const auto edge = [](ValueColumn c) { return ValueEdges[c]; };
    pen.font(11);
    pen.right(NumberEdge, y, strInt(k, 2));
    pen.fitted(TypeLeft, y, v.type, TypeLimit);
    pen.right(edge(HeightColumn), y, strFixed(v.height, 3, 0));
    pen.right(edge(LengthColumn), y, strFixed(v.length, 4, 0));
    pen.right(edge(UnitsColumn), y, strInt(v.count, 2));
    pen.right(edge(ReturnTempColumn), y, v.returnTemp);
    pen.right(edge(MassFlowColumn), y, v.massFlow);
    pen.right(edge(VolumeFlowColumn), y, v.volumeFlow);
    pen.right(edge(FanSpeedColumn), y, v.fanSpeed);
    pen.right(edge(PressureDropColumn), y, strFixed(v.pressureDrop, 4, 0));
    pen.right(edge(SoundColumn), y, soundLevel(v.sound));
    pen.right(edge(OutputColumn), y, strFixed(v.output, 4, 0));
    const double all = v.count * v.output;
    pen.right(edge(OutputAllColumn), y, strFixed(all, 5, 0));
    double secondAll = 0;
    if (!v.secondLabel.empty()) {
        secondAll = v.count * v.secondOutput;
        pen.font(10);
        pen.text(SecondLineX, y + 80, v.secondLabel);
        pen.right(edge(OutputColumn), y + 80, strFixed(v.secondOutput, 4, 0));
        pen.right(edge(OutputAllColumn), y + 80, strFixed(secondAll, 5, 0));
    }
    return {all, secondAll};
}

// The type as a calculation row prints it: its code, the name up to the first blank.
std::string printedType(const std::string& typeName)
{
    return typeName.substr(0, typeName.find(' '));
}

// Entry rows, the page change with repeated headings, the totals and the page footers of both
// tables.
template <class Entry, class Values>
Status printRows(PrintSurface& surface,
                 const PrintContext& context,
                 const std::array<Entry, MaxEntries>& entries,
                 std::int32_t count,
                 std::size_t headingLine,
                 std::size_t totalLine,
                 std::size_t secondTotalLine,
                 Values values)
{
    Pen pen(surface, context.PrintScale);
    columnHeadings(pen, context, FirstPageFirstRow, headingLine);
    const std::int32_t last = std::clamp<std::int32_t>(count, 0, static_cast<std::int32_t>(MaxEntries));
    const int pages = last > EntriesOnFirstPage ? 2 : 1;
    int firstRow = FirstPageFirstRow;
    int r = 0;
    int page = 1;
    double total = 0;
    double secondTotal = 0;
    for (std::int32_t k = 1; k <= last; ++k) {
        const auto sums =
            printRow(pen, k, values(entries[static_cast<std::size_t>(k - 1)]), firstRow + RowPitch * r);
        total += sums.first;
        secondTotal += sums.second;
        ++r;
        if (k == EntriesOnFirstPage && k < last) {
            ++page;
            pen.font(12);
            pen.text(2000, PageMarkY, "--> " + std::to_string(page));
            pageFooter(pen, context, page - 1, pages);
            surface.newPage();
            if (Status header = PrintPageHeader(surface, context); !header)
                return header;
            pen.font(10);
            pen.text(800, 700, line(context, 112) + "  " + std::to_string(page));
            pen.fitted(1100, 700, continuationNote(context), TextRight);
            firstRow = FollowingPageFirstRow;
            columnHeadings(pen, context, firstRow, headingLine);
            r = 0;
        }
    }

    const int yt = firstRow + RowPitch * r;
    pen.font(12);
    pen.text(TotalsLabelX, yt, line(context, totalLine));
    pen.right(TableRight, yt, strFixed(total, 5, 0));
    if (secondTotal != 0) {
        pen.font(10);
        pen.text(TotalsLabelX, yt + 80, line(context, secondTotalLine));
        pen.right(TableRight, yt + 80, strFixed(secondTotal, 5, 0));
    }
    pageFooter(pen, context, page, pages);
    return Done{};
}

} // namespace

double PrintScaleFor(int verticalDpi)
{
    return verticalDpi > 0 ? verticalDpi / 300.0 : 1.0;
}

PrintMode defaultPrintMode(const ProjectRecord& project)
{
    return project.HeatingInUse ? PrintMode::Heating : PrintMode::Cooling;
}

bool bothModesInUse(const ProjectRecord& project)
{
    return (project.HeatingInUse || project.HeatingEntries[0].InUse) &&
           (project.CoolingInUse || project.CoolingEntries[0].InUse);
}

Status PrintLetterhead(PrintSurface& surface, const PrintContext& context)
{
    if (Status loaded = surface.loadBitmap(context.ProgramDir / LetterheadBitmapName); !loaded)
        return loaded;
    Pen pen(surface, context.PrintScale);
    pen.font(9, true);
    pen.fitted(1200, 80, line(context, 141), 1730);
    pen.fitted(1200, 130, line(context, 142), 1730);
    pen.font(8);
    pen.fitted(1200, 180, line(context, 143), 1730);
    pen.fitted(1200, 225, line(context, 144), 1730);
    pen.fitted(1200, 270, line(context, 145), 1730);
    pen.fitted(1200, 315, line(context, 146), 1730);
    surface.drawBitmap(pen.device(1750), pen.device(140), pen.device(500), pen.device(220));
    return Done{};
}

Status PrintPageHeader(PrintSurface& surface, const PrintContext& context)
{
    Pen pen(surface, context.PrintScale);
    pen.font(12);
    if (!context.LetterPaper) {
        if (Status letterhead = PrintLetterhead(surface, context); !letterhead)
            return letterhead;
    }
    pen.font(14);
    pen.fitted(300, 430, line(context, 102), 1580);
    pen.font(12);
    pen.text(1600, 430, line(context, 17));
    pen.text(1800, 430, context.Today);
    pen.text(300, 500, std::string(69, '_'));
    return Done{};
}

void PrintProjectBlock(PrintSurface& surface, const PrintContext& context)
{
    const ProjectRecord& p = context.Project;
    Pen pen(surface, context.PrintScale);
    pen.font(12);
    pen.text(300, 600, line(context, 16));
    pen.fitted(750, 600, joined({p.Title.text(), p.Number.text()}, " / "), TextRight);
    pen.text(300, 700, line(context, 108));
    pen.fitted(750, 700, joined({p.DataLines[5].text(), p.DataLines[6].text()}, ", "), TextRight);
    pen.text(300, 800, line(context, 160));
    // The address lines at 11 point, so that five of them fit above the rule of the
    // calculation sheet at 1090.
    pen.font(11);
    for (std::size_t i = 0; i < 5; ++i)
        pen.fitted(750, 800 + 55 * static_cast<int>(i), p.DataLines[i].text(), TextRight);
    pen.font(12);
}

namespace {

// Columns of the printed convector list: the type from ListTypeLeft, height, length and count
// right-aligned on their edges.
constexpr int ListTypeLeft = 400;
constexpr int ListHeightEdge = 850;
constexpr int ListLengthEdge = 1200;
constexpr int ListCountEdge = 1500;
constexpr int ListRowsOnFirstPage = 23;
constexpr int ListRowsOnFollowingPages = 29;

// A list line split into its columns: "   type / height / length   count".
struct ListColumns
{
    std::string type, height, length, count;
};

std::optional<ListColumns> listColumns(std::string_view text)
{
    const std::vector<std::string> parts = split(text, " / ");
    if (parts.size() != 3)
        return std::nullopt;
    const std::string rest = trimmed(parts[2]);
    const std::size_t gap = rest.find(' ');
    if (gap == std::string::npos)
        return std::nullopt;
    return ListColumns{trimmed(parts[0]), trimmed(parts[1]), rest.substr(0, gap), trimmed(rest.substr(gap))};
}

void drawListColumns(Pen& pen, int y, const ListColumns& c)
{
    pen.fitted(ListTypeLeft, y, c.type, ListHeightEdge - 150);
    pen.right(ListHeightEdge, y, c.height);
    pen.right(ListLengthEdge, y, c.length);
    pen.right(ListCountEdge, y, c.count);
}

// The column heading of the list ("   Typ / Höhe / Länge [mm]      Anzahl") over its columns;
// a heading of another shape is drawn as it stands.
void listHeading(Pen& pen, const PrintContext& context, int y)
{
    const std::string& heading = line(context, 87);
    const std::vector<std::string> parts = split(heading, " / ");
    const std::size_t countAt = parts.size() == 3 ? parts[2].find("  ") : std::string::npos;
    if (countAt == std::string::npos) {
        pen.text(ListTypeLeft, y, trimmed(heading));
        return;
    }
    drawListColumns(pen, y,
                    {trimmed(parts[0]), trimmed(parts[1]), trimmed(parts[2].substr(0, countAt)),
                     trimmed(parts[2].substr(countAt))});
}

// Rows the list printout uses: every slot up to the first free one (at most 99), empty ones
// left out, and at least one.
int listRowCount(std::span<const std::string> listSlots)
{
    int rows = 0;
    for (std::size_t i = 1; i < 100; ++i) {
        const std::string_view slot = i <= listSlots.size() ? std::string_view(listSlots[i - 1]) : " ";
        if (i > 1 && slot == " ")
            break;
        rows += !slot.empty();
    }
    return std::max(rows, 1);
}

} // namespace

Status
printConvectorList(PrintSurface& surface, PrintContext& context, std::span<const std::string> listSlots)
{
    context.PrintScale = PrintScaleFor(surface.verticalDpi());
    if (Status header = PrintPageHeader(surface, context); !header)
        return header;
    PrintProjectBlock(surface, context);

    Pen pen(surface, context.PrintScale);
    pen.font(14);
    pen.text(400, 1200, line(context, 86));
    pen.font(12);
    pen.text(400, 1275, std::string(79, '-'));
    listHeading(pen, context, 1345);

    const int rows = listRowCount(listSlots);
    const int pages = 1 + (std::max(rows - ListRowsOnFirstPage, 0) + ListRowsOnFollowingPages - 1) /
                              ListRowsOnFollowingPages;

    constexpr std::size_t SlotCount = 100;
    const auto slot = [listSlots](std::size_t i) -> std::string_view {
        return i <= listSlots.size() ? std::string_view(listSlots[i - 1]) : std::string_view(" ");
    };

    int top = 1200;
    int row = 0;
    int page = 1;
    std::size_t i = 1;
    for (;;) {
        ++row;
        int y = top + 80 * row + 150;
        if (y > 3200) {
            // The list holds at most 24 lines per project, so it never runs beyond a second
            // page and the marker names page 2 whatever page follows.
            pen.text(2000, 3200, "-> 2");
            pageFooter(pen, context, page, pages);
            surface.newPage();
            if (Status header = PrintPageHeader(surface, context); !header)
                return header;
            ++page;
            top = 800;
            pen.font(12);
            pen.text(800, 750, line(context, 112) + " " + std::to_string(page));
            pen.fitted(1100, 750, continuationNote(context), TextRight);
            listHeading(pen, context, 850);
            y = top + 150;
            row = 0;
        }
        const std::string_view current = slot(i);
        if (!current.empty()) {
            pen.font(12);
            if (const auto columns = listColumns(current)) {
                drawListColumns(pen, y, *columns);
            } else {
                // Not a line of the list's own making: the key and the count right-aligned in 3.
                pen.text(ListTypeLeft, y, withoutLast(current, 4));
                pen.right(ListCountEdge, y, trimmed(lastCharacters(current, 3)));
            }
        } else {
            --row;
        }
        ++i;
        if (slot(i) == " " || i >= SlotCount)
            break;
    }
    pageFooter(pen, context, page, pages);
    return Done{};
}

Status HeatingDataPrint(PrintSurface& surface, const PrintContext& context)
{
    const ProjectRecord& p = context.Project;
    Pen pen(surface, context.PrintScale);
    pen.font(12);
    pen.text(300, 1090, std::string(69, '_'));
    pen.text(300, 1220, line(context, 90) + " ");
    pen.fitted(800, 1220, p.RoomName.text(), 1380);
    pen.text(1400, 1220, line(context, 25) + " " + strFixed(p.HeatingRoomTemp, 2, 0));
    pen.text(300, 1320, line(context, 26) + " " + strFixed(p.HeatingDemand, 5, 0));
    pen.text(1400, 1320, line(context, 27) + " " + strFixed(p.HeatingFlowTemp, 3, 1));
    pen.font(10);
    pen.text(300, 1390, line(context, 109) + "                >>  " + line(context, 164) + "  <<");

    const auto values = [&context](const HeatingEntry& e) {
        const std::string type = e.TypeName.text();
        const bool primaryAir = series::isPrimaryAir(type);
        RowValues v;
        v.type = printedType(type);
        v.height = e.Height;
        v.length = e.Length;
        v.count = e.Count;
        v.returnTemp = strFixed(e.ReturnTemp, 2, 0);
        v.massFlow = strFixed(e.MassFlow, 3, 0);
        v.volumeFlow = primaryAir ? strFixed(e.FanSetting, 3, 0) : "----";
        v.fanSpeed = primaryAir ? "----" : fanPercent(type, e.FanSpeed, false);
        v.pressureDrop = e.PressureDrop;
        v.sound = e.SoundLevel;
        v.output = e.Output;
        if (e.CoolingNominalOutput != 0) {
            v.secondLabel = line(context, series::isStaged(type) ? 211 : 212);
            v.secondOutput = e.CoolingNominalOutput;
        }
        return v;
    };
    return printRows(surface, context, p.HeatingEntries, p.HeatingEntryCount, 110, 111, 187, values);
}

Status CoolingDataPrint(PrintSurface& surface, const PrintContext& context)
{
    const ProjectRecord& p = context.Project;
    // Primary-air types ("WNF") are set by air temperature, the others by flow temperature;
    // the heading shows what the room's entries need.
    bool primaryAirSeen = false;
    bool waterSeen = false;
    for (std::int32_t k = 1; k <= std::min<std::int32_t>(p.CoolingEntryCount, MaxEntries); ++k) {
        if (series::isPrimaryAir(p.CoolingEntries[static_cast<std::size_t>(k - 1)].TypeName.text()))
            primaryAirSeen = true;
        else
            waterSeen = true;
    }

    Pen pen(surface, context.PrintScale);
    pen.font(12);
    pen.text(300, 1090, std::string(68, '_'));
    pen.text(300, 1220, line(context, 90) + " ");
    pen.fitted(800, 1220, p.RoomName.text(), 1380);
    pen.text(1400, 1220, line(context, 25) + " " + strFixed(p.CoolingRoomTemp, 2, 0));
    pen.text(300, 1300, line(context, 185) + " " + strFixed(p.CoolingDemand, 5, 0));
    const std::string airTemp = line(context, 208) + "  " + strFixed(p.CoolingSecondTemp, 2, 0);
    if (waterSeen) {
        pen.text(1400, 1300, line(context, 190) + "  " + strFixed(p.CoolingFlowTemp, 3, 1));
        if (primaryAirSeen)
            pen.text(1400, 1370, airTemp);
    } else if (primaryAirSeen) {
        pen.text(1400, 1300, airTemp);
    }
    pen.font(10);
    pen.text(300, 1390, line(context, 109) + "                >>  " + line(context, 165) + "  <<");
    // Below the primary-air temperature, which may stand in the line above, and ending with the
    // table.
    pen.right(TableRight, 1440, line(context, 241));

    const auto values = [&context](const CoolingEntry& e) {
        const std::string type = e.TypeName.text();
        const bool primaryAir = series::isPrimaryAir(type);
        RowValues v;
        v.type = printedType(type);
        v.height = e.Height;
        v.length = e.Length;
        v.count = e.Count;
        v.returnTemp = primaryAir ? "--" : strFixed(e.ReturnTemp, 2, 0);
        // Cooling mass flows and sound levels may be stored with a negative sign.
        v.massFlow = strFixed(std::fabs(e.MassFlow), 3, 0);
        v.volumeFlow = primaryAir ? strFixed(e.FanSetting, 3, 0) : "----";
        v.fanSpeed = primaryAir ? "----" : fanPercent(type, e.FanSpeed, true);
        v.pressureDrop = e.PressureDrop;
        v.sound = e.SoundLevel;
        v.output = e.Output;
        if (e.HeatingNominalOutput != 0) {
            v.secondLabel = line(context, series::isStaged(type) ? 209 : 210);
            v.secondOutput = e.HeatingNominalOutput;
        }
        return v;
    };
    return printRows(surface, context, p.CoolingEntries, p.CoolingEntryCount, 186, 187, 111, values);
}

Status printCalculationData(PrintSurface& surface, PrintContext& context, PrintMode mode)
{
    context.PrintScale = PrintScaleFor(surface.verticalDpi());
    if (Status header = PrintPageHeader(surface, context); !header)
        return header;
    PrintProjectBlock(surface, context);
    return mode == PrintMode::Heating ? HeatingDataPrint(surface, context)
                                      : CoolingDataPrint(surface, context);
}

namespace {

// The building summary's columns: file and room from the left, the figures ending at their
// right edges (heating demand, installed, residual, cooling the same, units).
constexpr int SummaryFileLeft = 200;
constexpr int SummaryRoomLeft = 600;
constexpr int SummaryFigureEdges[7] = {1150, 1350, 1550, 1780, 1980, 2180, TextRight};
constexpr int SummaryConvectorEdges[3] = {1400, 1700, 2000}; // height, length, count
constexpr int SummaryRowStep = 50;
constexpr int SummaryTop = 250;
constexpr int SummaryBottom = 3300;

// Rows top down, beginning a new page where the next one would not fit; `heading` draws the
// column headings at the top of every page after the first.
class SummaryRows
{
public:
    explicit SummaryRows(PrintSurface& surface)
        : m_surface(surface)
    {}
    // The top of a row `height` high; the new page's headings come first when it does not fit.
    int next(int height)
    {
        if (m_y + height > SummaryBottom) {
            m_surface.newPage();
            m_y = SummaryTop;
            if (m_heading)
                m_heading();
        }
        const int top = m_y;
        m_y += height;
        return top;
    }
    void skip(int height) { m_y += height; }
    void setHeading(std::function<void()> heading)
    {
        m_heading = std::move(heading);
        if (m_heading)
            m_heading();
    }

private:
    PrintSurface& m_surface;
    int m_y = SummaryTop;
    std::function<void()> m_heading;
};

} // namespace

Status printBuildingSummary(PrintSurface& surface, const SummaryPrintout& summary)
{
    Pen pen(surface, PrintScaleFor(surface.verticalDpi()));
    SummaryRows rows(surface);
    pen.font(14, true);
    int y = rows.next(100);
    pen.text(SummaryFileLeft, y, "Building summary");
    pen.font(10);
    pen.right(TextRight, y, summary.Today);
    rows.skip(30);

    rows.setHeading([&] {
        pen.font(8, true);
        int top = rows.next(SummaryRowStep);
        pen.right(SummaryFigureEdges[2], top, "Heating [W]");
        pen.right(SummaryFigureEdges[5], top, "Cooling [W]");
        top = rows.next(SummaryRowStep);
        pen.text(SummaryFileLeft, top, "File");
        pen.text(SummaryRoomLeft, top, "Room");
        const char* const names[] = {"demand", "installed", "residual", "demand", "installed", "residual", "units"};
        for (std::size_t k = 0; k < std::size(names); ++k)
            pen.right(SummaryFigureEdges[k], top, names[k]);
        pen.font(9);
        pen.rule(SummaryFileLeft, rows.next(SummaryRowStep), '-', TextRight);
    });
    for (const SummaryPrintRoom& room : summary.Rooms) {
        // A room and its warnings stay on one page.
        const int height = SummaryRowStep * static_cast<int>(1 + room.Warnings.size() + !room.Error.empty());
        const int top = rows.next(height);
        pen.font(9);
        pen.fitted(SummaryFileLeft, top, room.File, SummaryRoomLeft - 20);
        if (!room.Error.empty()) {
            pen.fitted(SummaryRoomLeft, top + SummaryRowStep, "not a project: " + room.Error, TextRight);
            continue;
        }
        pen.fitted(SummaryRoomLeft, top, room.Room, SummaryFigureEdges[0] - 160);
        for (std::size_t k = 0; k < std::size(room.Figures); ++k)
            pen.right(SummaryFigureEdges[k], top, room.Figures[k]);
        pen.font(8);
        int warningTop = top;
        for (const std::string& warning : room.Warnings)
            pen.fitted(SummaryRoomLeft, warningTop += SummaryRowStep, "Warning: " + warning, TextRight);
    }

    rows.setHeading({});
    rows.skip(SummaryRowStep);
    pen.font(12, true);
    pen.text(SummaryFileLeft, rows.next(80), "Convectors of the building");
    rows.setHeading([&] {
        pen.font(9, true);
        const int top = rows.next(SummaryRowStep);
        pen.text(SummaryFileLeft, top, "Type");
        const char* const names[] = {"height", "length", "count"};
        for (std::size_t k = 0; k < std::size(names); ++k)
            pen.right(SummaryConvectorEdges[k], top, names[k]);
        pen.font(9);
    });
    for (const SummaryPrintConvector& convector : summary.Convectors) {
        const int top = rows.next(SummaryRowStep);
        pen.fitted(SummaryFileLeft, top, convector.Type, SummaryConvectorEdges[0] - 200);
        const std::string* const figures[] = {&convector.Height, &convector.Length, &convector.Count};
        for (std::size_t k = 0; k < std::size(figures); ++k)
            pen.right(SummaryConvectorEdges[k], top, *figures[k]);
    }
    return Done{};
}

std::string printJobName(std::string_view printoutName, std::string_view projectNumber)
{
    std::string name = joined({trimmed(printoutName), trimmed(projectNumber)}, " ");
    for (char& c : name)
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos)
            c = '-';
    return name;
}

} // namespace tepa
