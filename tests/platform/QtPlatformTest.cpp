// The Qt platform services and print surface, driven offscreen; modal windows are answered by a
// timer that waits for them to open.
#include "app/Translations.h"
#include "platform/qt/QtPrintSurface.h"
#include "platform/qt/QtServices.h"

#include <gtest/gtest.h>

#include <QPrinterInfo>
#include <QtWidgets>

#include <functional>

namespace tepa::platform {
namespace {

// Runs `answer` on the next modal window; one it did not end is closed with a failure.
void whenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, answer, attempts = 0]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++attempts < 200)
            return;
        poll->deleteLater();
        poll->stop();
        if (modal)
            answer(modal);
        else
            ADD_FAILURE() << "no modal window opened";
        QTimer::singleShot(2000, qApp, [window = QPointer<QWidget>(modal)] {
            if (window && window == QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the modal window was not answered";
                window->close();
            }
        });
    });
    poll->start(10);
}

// Bounding box of the ink `draw` puts on a white A4 sheet at 300 dpi.
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
    // 12 pt at 300 dpi: a capital H about 36 dots high, below the top of the line box (not above,
    // as drawing at the baseline would put it), as wide as the advance.
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
    for (const std::string_view step : {"cancel file", "failing layout", "cancel preview", "print"}) {
        SCOPED_TRACE(step.data());
        whenModalOpens([&](QWidget* modal) {
            if (step == "cancel file") {
                qobject_cast<QDialog*>(modal)->reject();
                return;
            }
            modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file);
            if (step != "failing layout") {
                whenModalOpens([step](QWidget* preview) {
                    auto* buttons = preview->findChild<QDialogButtonBox*>();
                    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("Drucken"));
                    buttons->button(step == "print" ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)
                        ->click();
                });
            }
            static_cast<QDialog*>(modal)->accept(); // through QDialog: the file dialog checks the name first
        });
        int laidOut = 0, dpiSeen = 0;
        const auto outcome =
            QtPrinter().print(QStringLiteral("Konvektorenliste"), [&](PrintSurface& surface) {
                ++laidOut;
                dpiSeen = surface.verticalDpi();
                return step == "failing layout" ? Status(Error{"kaputt"}) : twoPages(surface);
            });
        EXPECT_EQ(outcome.has_value(), step == "failing layout" || step == "print");
        EXPECT_EQ(outcome && *outcome, step == "print");
        EXPECT_EQ(dpiSeen, step == "cancel file" ? 0 : PdfResolution);
        if (step == "failing layout") {
            EXPECT_EQ(outcome->error(), "kaputt");
            EXPECT_EQ(laidOut, 1) << "reported before the preview";
        }
        EXPECT_EQ(pdfPages(file), step == "print" ? 2 : -1);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtSettings, ValueWrittenUnderOrvaKivIsReadBackAfterReopeningButNotWhileClosed)
{
    const QString name = QStringLiteral("QtSettingsTest");
    QSettings store(QStringLiteral("Orva"), QStringLiteral("kiv"));
    EXPECT_TRUE(store.fileName().contains(QStringLiteral(".qttest")))
        << "tests never touch the user's settings";
    store.remove(name);
    store.sync();
    QtSettings first;
    EXPECT_FALSE(first.writeString(name, QStringLiteral("/y")));
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(first.readString(name).has_value()) << "the refused write left nothing";
    EXPECT_TRUE(first.writeString(name, QStringLiteral("/srv/Planung/ORVA Ä")));
    first.close();
    EXPECT_FALSE(first.readString(name).has_value());
    QtSettings second;
    ASSERT_TRUE(second.open());
    EXPECT_EQ(second.readString(name), QStringLiteral("/srv/Planung/ORVA Ä"));
    store.remove(name);
}

TEST(QtShell, AddressesAndFilesWithoutALauncherAreRefusedNotIgnored)
{
    // Offscreen nothing opens documents or addresses; the caller must learn it.
    EXPECT_FALSE(QtShell().open(QStringLiteral("mailto:info@example.org")));
    EXPECT_FALSE(QtShell().open(QDir::temp().filePath(QStringLiteral("no-such-attachment.pdf"))));
}

TEST(QtMessages, BoxesShowTheirTextWithGermanButtonsAndReportTheButtonPressed)
{
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance()));
    const QString text = QStringLiteral("Datei x kann nicht geöffnet werden");
    QStringList seen; // each box: its text and its buttons
    const auto press = [&seen](QMessageBox::StandardButton pressed) {
        whenModalOpens([&seen, pressed](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QStringList buttons;
            for (QAbstractButton* button : box->buttons())
                buttons << button->text().remove('&');
            buttons.sort();
            seen << box->text() + ": " + buttons.join(' ');
            box->button(pressed)->click();
        });
    };
    QtMessages messages;
    for (const auto& [button, answer] : {std::pair{QMessageBox::Yes, Answer::Yes},
                                         {QMessageBox::No, Answer::No},
                                         {QMessageBox::Cancel, Answer::Cancel}}) {
        press(button);
        EXPECT_EQ(messages.askYesNoCancel(text), answer);
    }
    for (const bool yes : {true, false}) {
        press(yes ? QMessageBox::Yes : QMessageBox::No);
        EXPECT_EQ(messages.askYesNo(text), yes);
    }
    for (const auto show : {&QtMessages::showMessage, &QtMessages::showInformation, &QtMessages::showError}) {
        press(QMessageBox::Ok);
        (messages.*show)(text);
    }
    const QString three = text + ": Abbrechen Ja Nein", two = text + ": Ja Nein", ok = text + ": OK";
    EXPECT_EQ(seen, QStringList({three, three, three, two, two, ok, ok, ok}));
}

TEST(QtFileDialogs, OpenWithTheRequestAndGiveTheChoiceOrNothingWhenCancelled)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("ORVA"));
    QtFileDialogs dialogs;
    FileDialogRequest request{QStringLiteral("Projekt speichern"),
                              QStringLiteral("Konvektor-Dateien (*.kon)"), QStringLiteral("kon"),
                              folder.path(), QStringLiteral("tepa")};
    const auto answer = [&request](const QString& typed, QFileDialog::FileMode mode) {
        whenModalOpens([&request, typed, mode](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            EXPECT_EQ(dialog->windowTitle(), request.title);
            EXPECT_EQ(dialog->directory().canonicalPath(), QDir(request.initialDir).canonicalPath());
            EXPECT_EQ(dialog->fileMode(), mode);
            if (!typed.isEmpty())
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
            static_cast<QDialog*>(dialog)->accept(); // through QDialog: the file dialog checks the name first
        });
    };
    const QString saved = QDir(folder.path()).filePath("tepa.kon");
    answer({}, QFileDialog::AnyFile);
    EXPECT_EQ(dialogs.saveFile(request), saved) << "the proposed name with the default suffix";
    QFile(saved).open(QIODevice::WriteOnly);
    answer(QStringLiteral("tepa.kon"), QFileDialog::ExistingFile);
    EXPECT_EQ(dialogs.openFile(request), saved);
    request.initialDir = QDir(folder.path()).filePath(QStringLiteral("ORVA"));
    answer({}, QFileDialog::Directory);
    EXPECT_EQ(QDir(dialogs.chooseDirectory(request).value()).canonicalPath(),
              QDir(request.initialDir).canonicalPath());
    using Dialog = std::optional<QString> (QtFileDialogs::*)(const FileDialogRequest&);
    for (const Dialog dialog :
         {&QtFileDialogs::openFile, &QtFileDialogs::saveFile, &QtFileDialogs::chooseDirectory}) {
        whenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        EXPECT_FALSE((dialogs.*dialog)(request).has_value()) << "cancelled";
    }
}

} // namespace
} // namespace tepa::platform
