// The Qt print surface on a QImage and a PDF, and the printer's way from the PDF file dialog
// through the preview to the file, offscreen (this machine has no printer).
#include "platform/qt/QtPrintSurface.h"

#include "ModalAnswer.h"

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>

namespace tepa::platform {
namespace {

// Bounding box of everything not white on a white A4 sheet at 300 dpi, after `draw` on it.
QRect ink(const std::function<void(QtPrintSurface&)>& draw)
{
    QImage image(2480, 3508, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(300 / 0.0254)); // fonts get their size in points
    image.setDotsPerMeterY(qRound(300 / 0.0254));
    {
        QPainter painter(&image);
        QtPrintSurface surface(painter, 300, {});
        draw(surface);
    }
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

int pdfPages(const QString& file)
{
    QFile pdf(file);
    return pdf.open(QIODevice::ReadOnly) ? static_cast<int>(pdf.readAll().count("/Type /Page\n")) : -1;
}

Status twoPages(PrintSurface& surface)
{
    surface.setFont("DejaVu Sans", 12, false);
    surface.drawText(600, 600, "Seite 1");
    surface.newPage();
    surface.drawText(600, 600, "Seite 2");
    return Done{};
}

TEST(QtPrintSurface, TextHangsFromItsPositionAndBitmapsKeepTheirProportions)
{
    int width = 0;
    const QRect text = ink([&](QtPrintSurface& surface) {
        surface.setFont("DejaVu Sans", 12, false);
        surface.drawText(300, 600, "HHHH");
        width = surface.textWidth("HHHH");
    });
    // 12 pt at 300 dpi is 50 dots; a capital H is about 36 dots high and starts below the top of
    // the line box, never above it (which drawing at the baseline would do). The ink spans the
    // advance width, less the side bearings of the first and last H.
    EXPECT_GE(text.top(), 600);
    EXPECT_LE(text.top(), 600 + 20);
    EXPECT_NEAR(text.height(), 36, 6);
    EXPECT_NEAR(text.left(), 300, 8);
    EXPECT_NEAR(text.right(), 300 + width, 8);

    QTemporaryDir dir;
    QImage logo(2, 2, QImage::Format_RGB32);
    logo.fill(Qt::black);
    ASSERT_TRUE(logo.save(dir.filePath("image4.bmp"), "BMP"));
    // A square picture in a 500 x 220 box: 220 x 220, centred.
    EXPECT_EQ(ink([&](QtPrintSurface& surface) {
                  ASSERT_TRUE(surface.loadBitmap(dir.filePath("image4.bmp").toStdString()));
                  surface.drawBitmap(1750, 140, 500, 220);
              }),
              QRect(1890, 140, 220, 220));
    ink([](QtPrintSurface& surface) {
        const Status missing = surface.loadBitmap("/no/such/folder/image4.bmp");
        EXPECT_EQ(missing.error(), "Datei /no/such/folder/image4.bmp kann nicht geöffnet werden");
    });
}

TEST(WritePdf, WritesEveryPageAndOnFailureKeepsTheFileThatWasThere)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("out.pdf");
    ASSERT_TRUE(writePdf(file, "Test", PdfResolution, twoPages));
    EXPECT_EQ(pdfPages(file), 2);

    const Status stopped = writePdf(file, "Test", PdfResolution, [](PrintSurface& surface) -> Status {
        surface.drawText(0, 0, "x");
        return Error{"Datei image4.bmp kann nicht geöffnet werden"};
    });
    EXPECT_EQ(stopped.error(), "Datei image4.bmp kann nicht geöffnet werden");
    EXPECT_EQ(pdfPages(file), 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"})
        << "no temporary file";
    EXPECT_FALSE(writePdf(dir.filePath("no/such/dir/x.pdf"), "Test", PdfResolution, twoPages));
}

// Without a printer: the PDF file dialog, a dry run of the layout, the preview, the file.
TEST(QtPrinter, PrintsThroughThePreviewIntoThePdfChosen)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer; the PDF way is not taken";
    QTemporaryDir dir;
    const QString file = dir.filePath("Konvektorenliste.pdf");
    enum Step
    {
        CancelFile,
        FailingLayout,
        CancelPreview,
        Print
    };
    for (const Step step : {CancelFile, FailingLayout, CancelPreview, Print}) {
        SCOPED_TRACE(step);
        whenModalOpens([&](QWidget* modal) {
            if (step == CancelFile) {
                qobject_cast<QDialog*>(modal)->reject();
                return;
            }
            modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
            if (step != FailingLayout) {
                whenModalOpens([step](QWidget* preview) {
                    auto* buttons = preview->findChild<QDialogButtonBox*>();
                    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Drucken"));
                    buttons->button(step == Print ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
                });
            }
            static_cast<QDialog*>(modal)->accept(); // through QDialog: the file dialog checks the name first
        });
        int laidOut = 0, dpiSeen = 0;
        const auto outcome =
            QtPrinter().print(QStringLiteral("Konvektorenliste"), [&](PrintSurface& surface) {
                ++laidOut;
                dpiSeen = surface.verticalDpi();
                return step == FailingLayout ? Status(Error{"kaputt"}) : twoPages(surface);
            });
        EXPECT_EQ(outcome.has_value(), step == FailingLayout || step == Print);
        EXPECT_EQ(outcome && *outcome, step == Print);
        EXPECT_EQ(dpiSeen, step == CancelFile ? 0 : PdfResolution);
        if (step == FailingLayout) {
            EXPECT_EQ(outcome->error(), "kaputt");
            EXPECT_EQ(laidOut, 1) << "reported before the preview";
        }
        EXPECT_EQ(pdfPages(file), step == Print ? 2 : -1);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
} // namespace tepa::platform
