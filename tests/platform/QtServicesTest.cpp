// The Qt implementations of the platform services, driven offscreen. Modal boxes and dialogs
// are answered by a timer that waits for them to open.
#include "platform/qt/QtServices.h"

#include "ModalAnswer.h"

#include "app/Translations.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

namespace tepa::platform {
namespace {

// The value has a name of its own: test processes may run side by side on the one store.
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
    // Offscreen there is nothing that opens documents or addresses; the caller must learn it.
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
    press(QMessageBox::Yes);
    EXPECT_EQ(messages.askYesNoCancel(text), Answer::Yes);
    press(QMessageBox::No);
    EXPECT_EQ(messages.askYesNoCancel(text), Answer::No);
    press(QMessageBox::Cancel);
    EXPECT_EQ(messages.askYesNoCancel(text), Answer::Cancel);
    press(QMessageBox::Yes);
    EXPECT_TRUE(messages.askYesNo(text));
    press(QMessageBox::No);
    EXPECT_FALSE(messages.askYesNo(text));
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
    // Types `typed` (if any) into the next dialog and accepts it, after checking title, folder and mode.
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
