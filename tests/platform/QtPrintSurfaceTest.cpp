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

constexpr int Dpi = 300;

// A white A4 sheet at 300 dpi with the resolution stored, so fonts get their size in points.
QImage sheet()
{
    QImage image(2480, 3508, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(Dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

// Bounding box of everything not white.
QRect ink(const QImage& image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(line[x]) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

TEST(QtPrintSurface, TextHangsFromItsPositionAndEndsAtItsWidth)
{
    QImage image = sheet();
    int width = 0;
    {
        QPainter painter(&image);
        QtPrintSurface surface(painter, Dpi, {});
        surface.setFont("DejaVu Sans", 12, false);
        surface.drawText(300, 600, "HHHH");
        width = surface.textWidth("HHHH");
    }
    const QRect box = ink(image);
    ASSERT_FALSE(box.isNull());
    // 12 pt at 300 dpi is 50 dots; a capital H is about 0.73 of that (36 dots) and starts below
    // the top of the line box, never above it (which drawing at the baseline would do).
    EXPECT_GE(box.top(), 600);
    EXPECT_LE(box.top(), 600 + 20);
    EXPECT_NEAR(box.height(), 36, 6);
    // The ink spans the advance width, less the side bearings of the first and last H.
    EXPECT_NEAR(box.left(), 300, 8);
    EXPECT_NEAR(box.right(), 300 + width, 8);
    EXPECT_GT(width, 4 * 25);
}

TEST(QtPrintSurface, BitmapKeepsItsProportionsInItsRectangleAndAnUnreadableOneGivesTheFileError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage logo(2, 2, QImage::Format_RGB32);
    logo.fill(Qt::black);
    const QString file = dir.filePath("image4.bmp");
    ASSERT_TRUE(logo.save(file, "BMP"));

    QImage image = sheet();
    {
        QPainter painter(&image);
        QtPrintSurface surface(painter, Dpi, {});
        ASSERT_TRUE(surface.loadBitmap(file.toStdString()));
        surface.drawBitmap(1750, 140, 500, 220);
    }
    // A square picture in a 500 x 220 box: 220 x 220, centred.
    EXPECT_EQ(ink(image), QRect(1890, 140, 220, 220));

    QPainter painter(&image);
    QtPrintSurface surface(painter, Dpi, {});
    const Status missing = surface.loadBitmap("/no/such/folder/image4.bmp");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), "Datei /no/such/folder/image4.bmp kann nicht geöffnet werden");
}

int pdfPages(const QString& file)
{
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = pdf.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                            bytes.count("/Type /Page>") + bytes.count("/Type /Page "));
}

TEST(WritePdf, WritesEveryPageAndNothingOnFailure)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath("out.pdf");
    int dpiSeen = 0;
    const Status written = writePdf(file, "Test", PdfResolution, [&](PrintSurface& surface) -> Status {
        dpiSeen = surface.verticalDpi();
        surface.setFont("DejaVu Sans", 12, false);
        surface.drawText(600, 600, "Seite 1");
        surface.newPage();
        surface.drawText(600, 600, "Seite 2");
        return Done{};
    });
    ASSERT_TRUE(written) << written.error();
    EXPECT_EQ(dpiSeen, 600);
    EXPECT_EQ(pdfPages(file), 2);

    // A printout that fails part way leaves the PDF that was there, and no temporary file.
    const QString failed = dir.filePath("failed.pdf");
    {
        QFile old(failed);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old printout");
    }
    const Status stopped = writePdf(failed, "Test", PdfResolution, [](PrintSurface& surface) -> Status {
        surface.drawText(0, 0, "x");
        return Error{"Datei image4.bmp kann nicht geöffnet werden"};
    });
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.error(), "Datei image4.bmp kann nicht geöffnet werden");
    QFile kept(failed);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old printout"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("failed.pdf"), QStringLiteral("out.pdf")}));

    const Status nowhere = writePdf(dir.filePath("no/such/dir/x.pdf"), "Test", PdfResolution,
                                    [](PrintSurface&) -> Status { return Done{}; });
    EXPECT_FALSE(nowhere);
}

class QtPrinterWithoutPrinters : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            GTEST_SKIP() << "this machine has a printer; the PDF way is not taken";
        ASSERT_TRUE(m_dir.isValid());
        file = m_dir.filePath("Konvektorenliste.pdf");
    }

    // Answers the PDF file dialog with `file`, then the preview with `print`.
    void answerDialogs(bool print)
    {
        whenModalOpens([this, print](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(file);
            whenModalOpens([print](QWidget* preview) {
                auto* buttons = preview->findChild<QDialogButtonBox*>();
                ASSERT_NE(buttons, nullptr);
                auto* ok = buttons->button(QDialogButtonBox::Ok);
                ASSERT_NE(ok, nullptr);
                EXPECT_EQ(ok->text(), QStringLiteral("Drucken"));
                if (print)
                    ok->click();
                else
                    buttons->button(QDialogButtonBox::Cancel)->click();
            });
            static_cast<QDialog*>(dialog)->accept();
        });
    }

    static Status twoPages(PrintSurface& surface)
    {
        surface.setFont("DejaVu Sans", 12, false);
        surface.drawText(600, 600, "Seite 1");
        surface.newPage();
        surface.drawText(600, 600, "Seite 2");
        return Done{};
    }

    QString file;

private:
    QTemporaryDir m_dir;
};

TEST_F(QtPrinterWithoutPrinters, PrintFromThePreviewWritesThePdf)
{
    QtPrinter printer;
    int dpiSeen = 0;
    answerDialogs(true);
    const auto outcome = printer.print(QStringLiteral("Konvektorenliste"), [&](PrintSurface& surface) {
        dpiSeen = surface.verticalDpi();
        return twoPages(surface);
    });
    ASSERT_TRUE(outcome.has_value());
    EXPECT_TRUE(*outcome);
    EXPECT_EQ(dpiSeen, PdfResolution);
    EXPECT_EQ(pdfPages(file), 2);
}

TEST_F(QtPrinterWithoutPrinters, CancelledPreviewPrintsNothing)
{
    QtPrinter printer;
    answerDialogs(false);
    const auto outcome = printer.print(QStringLiteral("Konvektorenliste"), twoPages);
    EXPECT_FALSE(outcome.has_value());
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(QtPrinterWithoutPrinters, CancelledFileDialogEndsBeforeAnyLayout)
{
    QtPrinter printer;
    bool laidOut = false;
    whenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    const auto outcome = printer.print(QStringLiteral("Konvektorenliste"), [&](PrintSurface&) -> Status {
        laidOut = true;
        return Done{};
    });
    EXPECT_FALSE(outcome.has_value());
    EXPECT_FALSE(laidOut);
}

TEST_F(QtPrinterWithoutPrinters, FailingLayoutIsReportedBeforeThePreview)
{
    QtPrinter printer;
    whenModalOpens([this](QWidget* modal) {
        modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
        static_cast<QDialog*>(modal)->accept();
    });
    const auto outcome = printer.print(QStringLiteral("Konvektorenliste"),
                                       [](PrintSurface&) -> Status { return Error{"kaputt"}; });
    ASSERT_TRUE(outcome.has_value());
    ASSERT_FALSE(*outcome);
    EXPECT_EQ(outcome->error(), "kaputt");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
} // namespace tepa::platform
