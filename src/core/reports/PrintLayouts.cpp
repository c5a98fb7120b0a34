#include "core/reports/PrintLayouts.h"

#include "core/reports/FanPercent.h"

#include "core/text/Numbers.h"

#include <cmath>
#include <string_view>

namespace tepa {
namespace {

// Draws in layout units on a surface that takes device units.
class Pen
{
public:
    Pen(PrintSurface& surface, std::int32_t scale)
        : m_surface(surface)
        , m_scale(scale)
    {}

    void font(int points, bool bold = false) { m_surface.setFont(PrintFontName, points, bold); }
    void text(int x, int y, const std::string& text) { m_surface.drawText(x * m_scale, y * m_scale, text); }
    // Ends the text at the right edge `edge`, so that columns of numbers line up on their
    // last digit whatever the font's digit widths.
    void right(int edge, int y, const std::string& text)
    {
        m_surface.drawText(edge * m_scale - m_surface.textWidth(text), y * m_scale, text);
    }

private:
    PrintSurface& m_surface;
    std::int32_t m_scale;
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

bool contains(const std::string& text, std::string_view code)
{
    return text.find(code) != std::string::npos;
}

const std::string& line(const PrintContext& context, std::size_t n)
{
    return context.Texts.line(n);
}

std::string continuationNote(const PrintContext& context)
{
    return "( zu " + line(context, 107) + context.Project.Number.text() + " )";
}

// Fan speed as a percentage of the series' top speed; nothing when the type is no fan type.
std::string fanPercent(const std::string& typeName, double fanSpeed, bool coolingSeries)
{
    const double divisor = fanPercentDivisor(typeName, coolingSeries);
    if (divisor == 0)
        return "----";
    return strFixed(fanSpeed / divisor, 4, 0);
}

// Column edges of one table; heating and cooling tables are laid out a little differently.
struct TableColumns
{
    int height, length, units, returnTemp, massFlow, volumeFlowFan, volumeFlowOther, fanSpeed, pressureDrop,
        sound, output, outputAll;
    int totalsLabel;
};

// clang-format off
constexpr TableColumns HeatingColumns{640, 820, 910, 1050, 1230, 1380, 1380, 1520, 1670, 1820, 2020, 2250, 1400};
constexpr TableColumns CoolingColumns{655, 840, 920, 1020, 1190, 1360, 1340, 1480, 1650, 1790, 1980, 2180, 1320};
// clang-format on

constexpr int FirstPageTop = 1100;
constexpr int FollowingPageTop = 550;
constexpr int RowPitch = 160;
constexpr int EntriesOnFirstPage = 10;

// Entry rows, the single page change and the totals of both tables.
template <class Entry, class Row>
Status printRows(PrintSurface& surface,
                 const PrintContext& context,
                 const std::array<Entry, MaxEntries>& entries,
                 std::int32_t count,
                 const TableColumns& columns,
                 std::size_t totalLine,
                 std::size_t secondTotalLine,
                 Row printRow)
{
    Pen pen(surface, context.PrintScale);
    pen.font(11);
    int top = FirstPageTop;
    int r = 0;
    int page = 1;
    double total = 0;
    double secondTotal = 0;
    const std::int32_t last = std::min<std::int32_t>(count, static_cast<std::int32_t>(MaxEntries));
    for (std::int32_t k = 1; k <= last; ++k) {
        const int y = top + 450 + RowPitch * r;
        const auto sums = printRow(pen, k, entries[static_cast<std::size_t>(k - 1)], y);
        total += sums.first;
        secondTotal += sums.second;
        pen.font(12);
        ++r;
        if (k == EntriesOnFirstPage && k < last) {
            ++page;
            pen.text(2000, 3200, "--> " + std::to_string(page));
            surface.newPage();
            if (Status header = PrintPageHeader(surface, context); !header)
                return header;
            pen.font(10);
            pen.text(800, 700, line(context, 112) + "  " + std::to_string(page));
            pen.text(1100, 700, continuationNote(context));
            top = FollowingPageTop;
            r = 0;
        }
    }

    const int yt = top + 450 + RowPitch * r;
    pen.text(columns.totalsLabel, yt, line(context, totalLine));
    pen.right(columns.outputAll, yt, strFixed(total, 5, 0));
    if (secondTotal != 0) {
        pen.font(10);
        pen.text(columns.totalsLabel, yt + 80, line(context, secondTotalLine));
        pen.right(columns.outputAll, yt + 80, strFixed(secondTotal, 5, 0));
        pen.font(12);
    }
    return Done{};
}

} // namespace

std::int32_t PrintScaleFor(int verticalDpi)
{
    const auto scale = roundHalfEven(static_cast<double>(verticalDpi) / 300.0);
    return static_cast<std::int32_t>(std::max<std::int64_t>(scale, 1));
}

Status PrintLetterhead(PrintSurface& surface, const PrintContext& context)
{
    if (Status loaded = surface.loadBitmap(context.ProgramDir / LetterheadBitmapName); !loaded)
        return loaded;
    Pen pen(surface, context.PrintScale);
    pen.font(9, true);
    pen.text(1200, 80, line(context, 141));
    pen.text(1200, 130, line(context, 142));
    pen.font(8);
    pen.text(1200, 180, line(context, 143));
    pen.text(1200, 225, line(context, 144));
    pen.text(1200, 270, line(context, 145));
    pen.text(1200, 315, line(context, 146));
    const std::int32_t s = context.PrintScale;
    surface.drawBitmap(1750 * s, 140 * s, 500 * s, 220 * s);
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
    pen.text(300, 430, line(context, 102));
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
    pen.text(750, 600, p.Title.text() + " / " + p.Number.text());
    pen.text(300, 700, line(context, 108));
    pen.text(750, 700, p.DataLines[5].text() + " , " + p.DataLines[6].text());
    pen.text(300, 800, line(context, 160));
    for (std::size_t i = 0; i < 5; ++i)
        pen.text(750, 800 + 50 * static_cast<int>(i), p.DataLines[i].text());
}

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
    pen.text(400, 1255, std::string(79, '-'));
    pen.font(12);
    pen.text(400, 1320, line(context, 87));

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
            surface.newPage();
            if (Status header = PrintPageHeader(surface, context); !header)
                return header;
            ++page;
            top = 800;
            pen.font(12);
            pen.text(800, 750, line(context, 112) + " " + std::to_string(page));
            pen.text(1100, 750, continuationNote(context));
            pen.text(600, 850, line(context, 87));
            y = top + 150;
            row = 0;
        }
        const std::string_view current = slot(i);
        if (!current.empty()) {
            // The slot is the key, one or more blanks and the count right-aligned in 3.
            pen.text(400, y, withoutLast(current, 4));
            pen.text(1200, y, lastCharacters(current, 3));
        } else {
            --row;
        }
        ++i;
        if (slot(i) == " " || i >= SlotCount)
            break;
    }
    return Done{};
}

// The type as a calculation row prints it: its code up to the first blank. A heating entry keeps
// ten characters of the listed name ("WFW-2L Zwe"), whose description would run into the height
// column.
static std::string printedType(const std::string& typeName)
{
    return typeName.substr(0, typeName.find(' '));
}

Status HeatingDataPrint(PrintSurface& surface, const PrintContext& context)
{
    const ProjectRecord& p = context.Project;
    Pen pen(surface, context.PrintScale);
    pen.font(12);
    pen.text(300, 1090, std::string(69, '_'));
    pen.text(300, 1220, line(context, 90) + " ");
    pen.text(800, 1220, p.RoomName.text());
    pen.text(1400, 1220, line(context, 25) + " " + strFixed(p.HeatingRoomTemp, 2, 0));
    pen.text(300, 1320, line(context, 26) + " " + strFixed(p.HeatingDemand, 5, 0));
    pen.text(1400, 1320, line(context, 27) + " " + strFixed(p.HeatingFlowTemp, 3, 1));
    pen.font(10);
    pen.text(300, 1390, line(context, 109) + "                >>  " + line(context, 164) + "  <<");
    pen.text(300, 1450, line(context, 110));
    pen.text(300, 1500, std::string(170, '.'));

    const TableColumns& c = HeatingColumns;
    const auto row = [&context, &c](Pen& pen, std::int32_t k, const HeatingEntry& e, int y) {
        const std::string type = e.TypeName.text();
        const bool primaryAir = contains(type, "WNF");
        pen.text(300, y, strInt(k, 2) + "  " + printedType(type));
        pen.right(c.height, y, strFixed(e.Height, 3, 0));
        pen.right(c.length, y, strFixed(e.Length, 4, 0));
        pen.right(c.units, y, strInt(e.Count, 2));
        pen.right(c.returnTemp, y, strFixed(e.ReturnTemp, 2, 0));
        pen.right(c.massFlow, y, strFixed(e.MassFlow, 3, 0));
        pen.right(c.volumeFlowFan, y, primaryAir ? strFixed(e.FanSetting, 3, 0) : "----");
        pen.right(c.fanSpeed, y, primaryAir ? "----" : fanPercent(type, e.FanSpeed, false));
        pen.right(c.pressureDrop, y, strFixed(e.PressureDrop, 4, 0));
        pen.right(c.sound, y, strFixed(e.SoundLevel, 3, 0));
        pen.right(c.output, y, strFixed(e.Output, 4, 0));
        const double all = e.Count * e.Output;
        pen.right(c.outputAll, y, strFixed(all, 5, 0));
        double secondAll = 0;
        if (e.CoolingNominalOutput != 0) {
            secondAll = e.Count * e.CoolingNominalOutput;
            pen.font(10);
            pen.text(975, y + 80, line(context, contains(type, "DWF") ? 211 : 212));
            pen.right(c.output, y + 80, strFixed(e.CoolingNominalOutput, 4, 0));
            pen.right(c.outputAll, y + 80, strFixed(secondAll, 5, 0));
        }
        return std::pair{all, secondAll};
    };
    return printRows(surface, context, p.HeatingEntries, p.HeatingEntryCount, c, 111, 187, row);
}

Status CoolingDataPrint(PrintSurface& surface, const PrintContext& context)
{
    const ProjectRecord& p = context.Project;
    // Primary-air types ("WNF") are set by air temperature, the others by flow temperature;
    // the heading shows what the room's entries need.
    bool primaryAirSeen = false;
    bool waterSeen = false;
    for (std::int32_t k = 1; k <= std::min<std::int32_t>(p.CoolingEntryCount, MaxEntries); ++k) {
        if (contains(p.CoolingEntries[static_cast<std::size_t>(k - 1)].TypeName.text(), "WNF"))
            primaryAirSeen = true;
        else
            waterSeen = true;
    }

    Pen pen(surface, context.PrintScale);
    pen.font(12);
    pen.text(300, 1090, std::string(68, '_'));
    pen.text(300, 1220, line(context, 90) + " ");
    pen.text(800, 1220, p.RoomName.text());
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
    pen.text(1400, 1390, line(context, 241));
    pen.text(300, 1450, line(context, 186));
    pen.text(300, 1500, std::string(166, '.'));

    const TableColumns& c = CoolingColumns;
    const auto row = [&context, &c](Pen& pen, std::int32_t k, const CoolingEntry& e, int y) {
        const std::string type = e.TypeName.text();
        const bool primaryAir = contains(type, "WNF");
        pen.text(300, y, strInt(k, 2) + "  " + printedType(type));
        pen.right(c.height, y, strFixed(e.Height, 3, 0));
        pen.right(c.length, y, strFixed(e.Length, 4, 0));
        pen.right(c.units, y, strInt(e.Count, 2));
        pen.right(c.returnTemp, y, primaryAir ? "--" : strFixed(e.ReturnTemp, 2, 0));
        // Cooling mass flows and sound levels may be stored with a negative sign.
        pen.right(c.massFlow, y, strFixed(std::fabs(e.MassFlow), 3, 0));
        if (primaryAir)
            pen.right(c.volumeFlowFan, y, strFixed(e.FanSetting, 3, 0));
        else
            pen.right(c.volumeFlowOther, y, "----");
        pen.right(c.fanSpeed, y, primaryAir ? "----" : fanPercent(type, e.FanSpeed, true));
        pen.right(c.pressureDrop, y, strFixed(e.PressureDrop, 4, 0));
        pen.right(c.sound, y, strFixed(std::fabs(e.SoundLevel), 3, 0));
        pen.right(c.output, y, strFixed(e.Output, 4, 0));
        const double all = e.Count * e.Output;
        pen.right(c.outputAll, y, strFixed(all, 5, 0));
        double secondAll = 0;
        if (e.HeatingNominalOutput != 0) {
            secondAll = e.Count * e.HeatingNominalOutput;
            pen.font(10);
            pen.text(975, y + 80, line(context, contains(type, "DWF") ? 209 : 210));
            pen.right(c.output, y + 80, strFixed(e.HeatingNominalOutput, 4, 0));
            pen.right(c.outputAll, y + 80, strFixed(secondAll, 5, 0));
        }
        return std::pair{all, secondAll};
    };
    return printRows(surface, context, p.CoolingEntries, p.CoolingEntryCount, c, 187, 111, row);
}

Status printCalculationData(PrintSurface& surface, PrintContext& context)
{
    context.PrintScale = PrintScaleFor(surface.verticalDpi());
    if (Status header = PrintPageHeader(surface, context); !header)
        return header;
    PrintProjectBlock(surface, context);
    return context.Project.HeatingInUse ? HeatingDataPrint(surface, context)
                                        : CoolingDataPrint(surface, context);
}

} // namespace tepa
