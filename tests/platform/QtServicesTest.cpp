// The Qt implementations of the platform services, driven offscreen. Modal boxes and dialogs
// are answered by a timer that waits for them to open.
#include "platform/qt/QtServices.h"
#include "app/Translations.h"

#include "ModalAnswer.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include <functional>

namespace tepa::platform {
namespace {

// Each test uses a value of its own: test processes may run side by side on the one store.
class QtSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { removeValue(); }
    void TearDown() override { removeValue(); }
    QString valueName() const
    {
        return QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void removeValue() const
    {
        QSettings store(QStringLiteral("Orva"), QStringLiteral("kiv"));
        store.remove(valueName());
        store.sync();
    }
};

TEST_F(QtSettingsTest, ValueWrittenUnderOrvaKivIsReadBackAfterReopeningButNotWhileClosed)
{
    QtSettings first;
    EXPECT_FALSE(first.writeString(valueName(), QStringLiteral("/y")));
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(first.readString(valueName()).has_value()) << "the refused write left nothing";
    EXPECT_TRUE(first.writeString(valueName(), QStringLiteral("/srv/Planung/ORVA Ä")));
    first.close();
    EXPECT_FALSE(first.readString(valueName()).has_value());
    EXPECT_FALSE(first.writeString(valueName(), QStringLiteral("/z")));

    QtSettings second;
    ASSERT_TRUE(second.open());
    EXPECT_EQ(second.readString(valueName()), QStringLiteral("/srv/Planung/ORVA Ä"));
    second.close();
    const QSettings store(QStringLiteral("Orva"), QStringLiteral("kiv"));
    // Tests never touch the user's own settings.
    EXPECT_TRUE(store.fileName().contains(QStringLiteral(".qttest"))) << store.fileName().toStdString();
    EXPECT_EQ(store.value(valueName()).toString().toStdString(), "/srv/Planung/ORVA Ä");
}

TEST(QtShellTest, AddressesAndFilesWithoutALauncherAreRefusedNotIgnored)
{
    // Offscreen there is nothing that opens documents or addresses; the caller must learn it.
    QtShell shell;
    EXPECT_FALSE(shell.open(QStringLiteral("mailto:info@example.org")));
    EXPECT_FALSE(shell.open(QDir::temp().filePath(QStringLiteral("no-such-attachment.pdf"))));
}

TEST(QtMessagesTest, BoxesShowTheirTextAndTheQuestionReportsTheButtonPressed)
{
    struct Case
    {
        std::function<bool(QtMessages&, const QString&)> call;
        QMessageBox::StandardButton pressed;
        int buttons;
        bool result;
    };
    const Case cases[] = {
        {[](QtMessages& m, const QString& t) { return m.askYesNo(t); }, QMessageBox::Yes, 2, true},
        {[](QtMessages& m, const QString& t) { return m.askYesNo(t); }, QMessageBox::No, 2, false},
        {[](QtMessages& m, const QString& t) { return m.askYesNoCancel(t) == Answer::Yes; }, QMessageBox::Yes, 3,
         true},
        {[](QtMessages& m, const QString& t) { return m.askYesNoCancel(t) == Answer::No; }, QMessageBox::No, 3,
         true},
        {[](QtMessages& m, const QString& t) { return m.askYesNoCancel(t) == Answer::Cancel; },
         QMessageBox::Cancel, 3, true},
        {[](QtMessages& m, const QString& t) { return m.showMessage(t), true; }, QMessageBox::Ok, 1, true},
        {[](QtMessages& m, const QString& t) { return m.showInformation(t), true; }, QMessageBox::Ok, 1,
         true},
        {[](QtMessages& m, const QString& t) { return m.showError(t), true; }, QMessageBox::Ok, 1, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(++n);
        QtMessages messages;
        QString shownText;
        qsizetype buttons = -1;
        whenModalOpens([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (!box || !box->button(c.pressed)) {
                ADD_FAILURE() << "no message box with the expected button";
                modal->close();
                return;
            }
            shownText = box->text();
            buttons = box->buttons().size();
            box->button(c.pressed)->click();
        });
        EXPECT_EQ(c.call(messages, QStringLiteral("Datei x kann nicht geöffnet werden")), c.result);
        EXPECT_EQ(shownText.toStdString(), "Datei x kann nicht geöffnet werden");
        EXPECT_EQ(buttons, c.buttons);
    }
}

class QtFileDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }
    QString folder() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};

TEST_F(QtFileDialogsTest, SaveDialogOpensWithTheRequestAndAddsTheDefaultSuffix)
{
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Projekt speichern");
    request.filter = QStringLiteral("Konvektor-Dateien (*.kon)");
    request.defaultSuffix = QStringLiteral("kon");
    request.initialDir = folder();
    request.fileName = QStringLiteral("tepa");
    QString title;
    QString directory;
    whenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        directory = dialog->directory().absolutePath();
        static_cast<QDialog*>(dialog)->accept(); // through QDialog: the file dialog checks the name first
    });
    EXPECT_EQ(dialogs.saveFile(request), QDir(folder()).filePath("tepa.kon"));
    EXPECT_EQ(title.toStdString(), "Projekt speichern");
    EXPECT_EQ(QDir(directory).canonicalPath().toStdString(), QDir(folder()).canonicalPath().toStdString());
}

TEST_F(QtFileDialogsTest, FolderDialogStartsInTheGivenFolderAndGivesTheFolderChosen)
{
    QDir(folder()).mkpath(QStringLiteral("ORVA"));
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.title = QStringLiteral("Arbeitsverzeichnis");
    request.initialDir = QDir(folder()).filePath(QStringLiteral("ORVA"));
    whenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto chosen = dialogs.chooseDirectory(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(*chosen).canonicalPath(), QDir(request.initialDir).canonicalPath());
}

TEST(QtTranslationsTest, QtsOwnButtonsAreGermanLikeTheInterfaceTexts)
{
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance()));
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&').toStdString(), "Ja");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&').toStdString(), "Nein");
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&').toStdString(), "Abbrechen");
}

TEST_F(QtFileDialogsTest, OpenDialogGivesTheFileChosenAndCancelledDialogsNothing)
{
    QFile existing(QDir(folder()).filePath("Raum 1.kon"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.filter = QStringLiteral("Konvektor-Dateien (*.kon *.orv);;Alle Dateien (*)");
    request.initialDir = folder();
    whenModalOpens([](QWidget* modal) {
        auto* name = modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("Raum 1.kon"));
        static_cast<QDialog*>(modal)->accept();
    });
    EXPECT_EQ(dialogs.openFile(request), existing.fileName());

    for (const bool save : {false, true}) {
        whenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
        EXPECT_FALSE((save ? dialogs.saveFile(request) : dialogs.openFile(request)).has_value());
    }
}

} // namespace
} // namespace tepa::platform
