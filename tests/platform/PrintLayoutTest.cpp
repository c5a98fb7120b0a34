// The printouts laid out on the Qt PDF surface with the real printout font: where the texts
// land, and on whole pages that nothing overlaps or leaves the sheet.
#include "core/model/ProjectFile.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"
#include "core/text/InterfaceTexts.h"
#include "platform/qt/QtPrintSurface.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

namespace tepa::platform {
namespace {

namespace fs = std::filesystem;

const fs::path dataDir = TEPA_SOURCE_DATA_DIR;

// A PDF surface that also records every text and picture with its box in device units.
class MeasuredSurface : public QtPrintSurface
{
public:
    struct Item
    {
        int page = 1;
        QRectF box;
        std::string text;
        bool picture = false;
    };

    MeasuredSurface(QPainter& painter, int dpi, QPdfWriter& writer)
        : QtPrintSurface(painter, dpi, [&writer] { writer.newPage(); })
        , m_painter(painter)
    {}

    void drawText(int x, int y, const std::string& text) override
    {
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        items.push_back(
            {pages, QRectF(x, y, metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()),
             text});
        QtPrintSurface::drawText(x, y, text);
    }
    void drawBitmap(int left, int top, int width, int height) override
    {
        items.push_back({pages, QRectF(left, top, width, height), {}, true});
        QtPrintSurface::drawBitmap(left, top, width, height);
    }
    void newPage() override
    {
        QtPrintSurface::newPage();
        ++pages;
    }

    std::vector<Item> items;
    int pages = 1;

private:
    QPainter& m_painter;
};

enum class Sheet
{
    List,
    Heating,
    Cooling,
};

struct Printed
{
    Status status = Done{};
    std::vector<MeasuredSurface::Item> items;
    int pages = 0;
    QRectF paper;
    double scale = 1;

    // The first text with exactly this content on `page`.
    std::optional<MeasuredSurface::Item> find(const std::string& text, int page = 1) const
    {
        for (const auto& item : items)
            if (item.page == page && item.text == text)
                return item;
        return std::nullopt;
    }
    // Layout units of a device position.
    int layout(double device) const { return static_cast<int>(std::lround(device / scale)); }
};

const InterfaceTexts& installedTexts()
{
    static const InterfaceTexts texts = *InterfaceTexts::load(dataDir);
    return texts;
}

Printed print(const ProjectRecord& project,
              Sheet sheet,
              int dpi = 600,
              bool letterPaper = false,
              const fs::path& programDir = dataDir)
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter writer(&pdf);
    writer.setResolution(dpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                                     QPageLayout::Millimeter));
    QPainter painter(&writer);
    MeasuredSurface surface(painter, dpi, writer);
    PrintContext context{project, installedTexts(), programDir, "07.12.2026", letterPaper};
    Printed printed;
    if (sheet == Sheet::List)
        printed.status = printConvectorList(surface, context, BuildConvectorList(project));
    else
        printed.status = printCalculationData(
            surface, context, sheet == Sheet::Heating ? PrintMode::Heating : PrintMode::Cooling);
    painter.end();
    printed.items = surface.items;
    printed.pages = surface.pages;
    printed.paper = QRectF(writer.pageLayout().paintRectPixels(dpi));
    printed.scale = dpi / 300.0;
    return printed;
}

// --- Projects ---------------------------------------------------------------------------------

ProjectRecord sample()
{
    return *loadProjectFile(dataDir / "Beispiel.kon");
}

ProjectRecord heatingOnly()
{
    ProjectRecord p = sample();
    p.CoolingEntryCount = 0;
    p.CoolingEntries = {};
    p.CoolingInUse = false;
    return p;
}

ProjectRecord coolingOnly()
{
    ProjectRecord p = sample();
    p.HeatingEntryCount = 0;
    p.HeatingEntries = {};
    p.HeatingInUse = false;
    p.CoolingInUse = true;
    // A primary-air unit beside the water-fed ones: the heading shows both temperatures.
    CoolingEntry& e = p.CoolingEntries[static_cast<std::size_t>(p.CoolingEntryCount++)];
    e = p.CoolingEntries[0];
    e.TypeName.setText("WNF2");
    e.FanSetting = 450;
    return p;
}

// Every field as long and every value as wide as the record and the calculation window allow,
// 12 entries in each list with the longest type codes.
ProjectRecord fullest()
{
    ProjectRecord p = sample();
    p.Title.setText("Neubau Verwaltungsgebäude Nordflügel, 3. Obergesch");
    p.Number.setText("2026-0815-A/1234");
    p.RoomName.setText("Großraumbüro 31");
    for (std::size_t i = 0; i < 7; ++i)
        p.DataLines[i].setText("Ingenieurgesellschaft Müller-Wagenknecht");
    p.HeatingDemand = 99999;
    p.CoolingDemand = 99999;
    const char* codes[] = {"WFWL-2L", "WFWL-4L", "WFW-2L", "WFW-4L", "WNF2", "DWF"};
    for (std::size_t k = 0; k < MaxEntries; ++k) {
        auto fill = [&](auto& e) {
            e.TypeName.setText(codes[k % std::size(codes)]);
            e.Height = 360;
            e.Length = 3350 - 100.0 * static_cast<double>(k);
            e.Count = 20;
            e.ReturnTemp = 105;
            e.MassFlow = 1250;
            e.FanSetting = 850;
            e.FanSpeed = 1600;
            e.PressureDrop = 19999;
            e.SoundLevel = 55;
            e.Output = 9999;
            e.InUse = true;
        };
        fill(p.HeatingEntries[k]);
        p.HeatingEntries[k].CoolingNominalOutput = 9999;
        fill(p.CoolingEntries[k]);
        p.CoolingEntries[k].Length -= 50; // other units than the heating list's
        p.CoolingEntries[k].HeatingNominalOutput = 9999;
    }
    p.HeatingEntryCount = MaxEntries;
    p.CoolingEntryCount = MaxEntries;
    return p;
}

ProjectRecord emptyFields()
{
    ProjectRecord p = sample();
    p.Title.setText("");
    p.Number.setText("");
    p.RoomName.setText("");
    for (auto& line : p.DataLines)
        line.setText("");
    return p;
}

// --- Whole pages ------------------------------------------------------------------------------

struct PageCase
{
    const char* project;
    ProjectRecord (*make)();
};

class WholePages : public ::testing::TestWithParam<PageCase>
{
};

// Every text and the logo lie inside the printable area and no two of them overlap, on every
// page of every printout, on both papers and at the resolutions printers report.
TEST_P(WholePages, NoTextLeavesTheSheetOrOverlapsAnother)
{
    const ProjectRecord project = GetParam().make();
    for (const Sheet sheet : {Sheet::List, Sheet::Heating, Sheet::Cooling}) {
        for (const bool letterPaper : {false, true}) {
            for (const int dpi : {300, 360, 600, 720}) {
                const Printed printed = print(project, sheet, dpi, letterPaper);
                SCOPED_TRACE(testing::Message() << "sheet " << static_cast<int>(sheet) << ", letter paper "
                                                << letterPaper << ", " << dpi << " dpi");
                ASSERT_TRUE(printed.status) << printed.status.error();
                std::vector<const MeasuredSurface::Item*> shown;
                for (const auto& item : printed.items)
                    if (item.text.find_first_not_of(' ') != std::string::npos || item.picture)
                        shown.push_back(&item);
                for (std::size_t i = 0; i < shown.size(); ++i) {
                    const auto& a = *shown[i];
                    EXPECT_TRUE(printed.paper.contains(a.box))
                        << "\"" << a.text << "\" leaves the sheet at (" << printed.layout(a.box.left())
                        << ", " << printed.layout(a.box.top()) << ")";
                    for (std::size_t j = i + 1; j < shown.size(); ++j) {
                        const auto& b = *shown[j];
                        EXPECT_FALSE(a.page == b.page && a.box.intersects(b.box))
                            << "page " << a.page << ": \"" << a.text << "\" at ("
                            << printed.layout(a.box.left()) << ", " << printed.layout(a.box.top())
                            << ") overlaps \"" << b.text << "\" at (" << printed.layout(b.box.left()) << ", "
                            << printed.layout(b.box.top()) << ")";
                    }
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Projects,
                         WholePages,
                         ::testing::Values(PageCase{"dual use", sample},
                                           PageCase{"heating", heatingOnly},
                                           PageCase{"cooling", coolingOnly},
                                           PageCase{"fullest", fullest},
                                           PageCase{"empty fields", emptyFields}),
                         [](const auto& info) {
                             std::string name = info.param.project;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// --- Where things land ------------------------------------------------------------------------

// The heating list with a fan unit in row 1 and a primary-air unit in row 5.
ProjectRecord heatingValues()
{
    ProjectRecord p = fullest();
    p.HeatingEntries[0].TypeName.setText("WFWL-2L");
    p.HeatingEntries[0].FanSpeed = 1150;
    p.HeatingEntries[0].Count = 3;
    p.HeatingEntries[0].Output = 412.6;
    p.HeatingEntries[4].TypeName.setText("WNF2");
    p.HeatingEntries[4].SoundLevel = 0;
    return p;
}

// Cooling mass flows and sound levels may be stored negative.
ProjectRecord coolingValues()
{
    ProjectRecord p = fullest();
    p.CoolingEntries[0].MassFlow = -1250;
    p.CoolingEntries[0].SoundLevel = -55;
    return p;
}

// Primary-air temperature 18 beside the water-fed units; without the primary-air unit; with it alone.
ProjectRecord withPrimaryAir()
{
    ProjectRecord p = coolingOnly();
    p.CoolingSecondTemp = 18;
    return p;
}
ProjectRecord waterFedOnly()
{
    ProjectRecord p = withPrimaryAir();
    p.CoolingEntryCount = 3;
    return p;
}
ProjectRecord primaryAirOnly()
{
    ProjectRecord p = withPrimaryAir();
    p.CoolingEntries[0] = p.CoolingEntries[3];
    p.CoolingEntryCount = 1;
    return p;
}

struct Placed
{
    ProjectRecord (*make)();
    Sheet sheet;
    int page;
    const char* heading; // the text stands right-aligned under this heading in row y
    int x, y;            // else: the text starts here (-1: anywhere)
    const char* text;
    bool present = true;
};

// Layout rows of the calculation sheet: the first entry, the fifth, and page 2's totals.
constexpr int Row1 = 1650, Row5 = Row1 + 4 * 160, Totals = 1000 + 2 * 160;
constexpr int Any = -1;

TEST(Printed, TextsStandWhereTheLayoutPutsThem)
{
    const std::string heating = "Betriebsart:                >>  Heizen  <<";
    const std::string cooling = "Betriebsart:                >>  Kühlen  <<";
    const Placed cases[] = {
        // The list: the 2-pipe coil heats with one unit and cools with two, two are ordered.
        {sample, Sheet::List, 1, "", 400, 1510, "WFW-2L"},
        {sample, Sheet::List, 1, "Anzahl", Any, 1510, "2"},
        {sample, Sheet::List, 1, "", Any, Any, "Seite 1 von 1"},
        // 24 lines break after 23, with the heading repeated.
        {fullest, Sheet::List, 1, "", Any, 3200, "-> 2"},
        {fullest, Sheet::List, 2, "Anzahl", Any, 950, "20"},
        {fullest, Sheet::List, 2, "Anzahl", Any, 1030, "<none>"},
        {fullest, Sheet::List, 2, "", Any, Any, "Seite 2 von 2"},
        // Values under their headings.
        {heatingValues, Sheet::Heating, 1, "H", Any, Row1, "360"},
        {heatingValues, Sheet::Heating, 1, "L", Any, Row1, "3350"},
        {heatingValues, Sheet::Heating, 1, "Anz", Any, Row1, " 3"},
        {heatingValues, Sheet::Heating, 1, "tR", Any, Row1, "105"},
        {heatingValues, Sheet::Heating, 1, "m", Any, Row1, "1250"},
        {heatingValues, Sheet::Heating, 1, "V", Any, Row1, "----"},
        {heatingValues, Sheet::Heating, 1, "n", Any, Row1, " 100"},
        {heatingValues, Sheet::Heating, 1, "dp", Any, Row1, "19999"},
        {heatingValues, Sheet::Heating, 1, "LpA", Any, Row1, " 55"},
        {heatingValues, Sheet::Heating, 1, "Q", Any, Row1, " 413"},
        {heatingValues, Sheet::Heating, 1, "ges.", Any, Row1, " 1238"},
        // A primary-air unit: air flow instead of fan speed, and no sound level of its own.
        {heatingValues, Sheet::Heating, 1, "V", Any, Row5, "850"},
        {heatingValues, Sheet::Heating, 1, "n", Any, Row5, "----"},
        {heatingValues, Sheet::Heating, 1, "LpA", Any, Row5, "--"},
        {heatingValues, Sheet::Heating, 1, "Q", Any, Row1 + 80, "9999"}, // its cooling rating
        // Twelve cooling entries continue on page 2 with headings and totals.
        {coolingValues, Sheet::Cooling, 1, "m", Any, Row1, "1250"},
        {coolingValues, Sheet::Cooling, 1, "LpA", Any, Row1, " 55"},
        {coolingValues, Sheet::Cooling, 1, "tR", Any, Row5, "--"},
        {coolingValues, Sheet::Cooling, 1, "V", Any, Row5, "850"},
        {coolingValues, Sheet::Cooling, 1, "", Any, 3260, "--> 2"},
        {coolingValues, Sheet::Cooling, 1, "", Any, Any, "Seite 1 von 2"},
        {coolingValues, Sheet::Cooling, 2, "", Any, Any, "Seite  2"},
        {coolingValues, Sheet::Cooling, 2, "", Any, Any, "( zu Projekt-Nr. 2026-0815-A/1234 )"},
        {coolingValues, Sheet::Cooling, 2, "ges.", Any, 1000, "199980"},
        {coolingValues, Sheet::Cooling, 2, "", Any, Totals, "Summe Kühlleistung [W]:"},
        {coolingValues, Sheet::Cooling, 2, "ges.", Any, Totals, "2399760"},
        {coolingValues, Sheet::Cooling, 2, "ges.", Any, Totals + 80, "2399760"},
        {coolingValues, Sheet::Cooling, 2, "", Any, Any, "Summe Heizleistung [W]:"},
        {coolingValues, Sheet::Cooling, 2, "", Any, Any, "Seite 2 von 2"},
        // The mode chooses the list.
        {sample, Sheet::Cooling, 1, "", Any, Any, cooling.c_str()},
        {sample, Sheet::Cooling, 1, "", Any, Any, heating.c_str(), false},
        {sample, Sheet::Heating, 1, "", Any, Any, heating.c_str()},
        // The cooling heading shows the temperatures its units need.
        {withPrimaryAir, Sheet::Cooling, 1, "", 1400, 1300, "Vorlauftemperatur [°C]  16.0"},
        {withPrimaryAir, Sheet::Cooling, 1, "", 1400, 1370, "Primärlufttemperatur [°C]  18"},
        {waterFedOnly, Sheet::Cooling, 1, "", Any, Any, "Primärlufttemperatur [°C]  18", false},
        {primaryAirOnly, Sheet::Cooling, 1, "", 1400, 1300, "Primärlufttemperatur [°C]  18"},
    };
    for (const Placed& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "sheet " << int(c.sheet) << " page " << c.page << " \"" << c.heading << "\" (" << c.x
                     << ", " << c.y << ") \"" << c.text << "\"");
        const Printed printed = print(c.make(), c.sheet);
        ASSERT_TRUE(printed.status);
        ASSERT_EQ(printed.pages,
                  c.make == fullest || c.make == coolingValues || c.make == heatingValues ? 2 : 1);
        if (*c.heading) {
            const auto head = printed.find(c.heading, c.page);
            ASSERT_TRUE(head);
            std::string found = "<none>";
            for (const auto& item : printed.items)
                if (item.page == c.page && printed.layout(item.box.top()) == c.y &&
                    std::abs(item.box.right() - head->box.right()) < 1) {
                    found = item.text;
                    break;
                }
            EXPECT_EQ(found, c.text);
            continue;
        }
        const bool present = std::any_of(printed.items.begin(), printed.items.end(), [&](const auto& item) {
            return item.page == c.page && item.text == c.text &&
                   (c.x == Any || printed.layout(item.box.left()) == c.x) &&
                   (c.y == Any || printed.layout(item.box.top()) == c.y);
        });
        EXPECT_EQ(present, c.present);
    }
    EXPECT_EQ(defaultPrintMode(sample()), PrintMode::Heating); // the default follows the heating list
    EXPECT_TRUE(bothModesInUse(sample()));
    EXPECT_FALSE(bothModesInUse(heatingOnly()));
    EXPECT_EQ(defaultPrintMode(coolingOnly()), PrintMode::Cooling);
}

TEST(PrintedPages, LayoutKeepsItsSizeOnPaperAtEveryResolution)
{
    for (const int dpi : {300, 360, 720}) {
        const Printed printed = print(sample(), Sheet::List, dpi);
        const auto title = printed.find("Konvektorenliste (Stückliste)");
        ASSERT_TRUE(title);
        EXPECT_NEAR(title->box.left(), 400 * dpi / 300.0, 0.5) << dpi;
        EXPECT_NEAR(title->box.top(), 1200 * dpi / 300.0, 0.5) << dpi;
    }
}

TEST(PrintedPages, EmptyProjectFieldsLeaveNoStraySeparators)
{
    ProjectRecord p = emptyFields();
    const Printed empty = print(p, Sheet::Heating);
    for (const auto& item : empty.items)
        EXPECT_TRUE(item.text != " / " && item.text != ", " && item.text != " , ") << item.text;
    p.Number.setText("2026-17");
    EXPECT_TRUE(print(p, Sheet::Heating).find("2026-17"));
    p.Title.setText("Schule");
    p.DataLines[6].setText("Frau Berg");
    const Printed both = print(p, Sheet::Heating);
    EXPECT_TRUE(both.find("Schule / 2026-17"));
    EXPECT_TRUE(both.find("Frau Berg"));
}

TEST(PrintedPages, LetterPaperLeavesTheLetterheadOutAndNeutralPaperNeedsTheLogo)
{
    const Printed letter = print(sample(), Sheet::List, 600, true);
    ASSERT_TRUE(letter.status);
    for (const auto& item : letter.items)
        EXPECT_GE(letter.layout(item.box.top()), 430) << item.text;

    const Printed neutral = print(sample(), Sheet::List);
    ASSERT_TRUE(neutral.find("ORVA Konvektoren"));
    const Printed noLogo = print(sample(), Sheet::Heating, 600, false, "/no/such/folder");
    ASSERT_FALSE(noLogo.status);
    EXPECT_EQ(noLogo.status.error(), "Datei /no/such/folder/image4.bmp kann nicht geöffnet werden");
    EXPECT_TRUE(noLogo.items.empty());
}

TEST(PrintJobName, HasNoStrayBlankAndCarriesTheProjectNumber)
{
    EXPECT_EQ(printJobName("Berechnungsdaten ", ""), "Berechnungsdaten");
    EXPECT_EQ(printJobName("Berechnungsdaten ", " 2026/17 "), "Berechnungsdaten 2026-17");
    EXPECT_EQ(printJobName("Konvektorenliste", "A:B*C"), "Konvektorenliste A-B-C");
}

} // namespace
} // namespace tepa::platform
