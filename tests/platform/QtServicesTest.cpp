// The Qt implementations of the platform services: the settings store, message boxes, file
// dialogs and the shell, driven offscreen. Modal boxes and dialogs are answered by a timer that
// waits for them to open.
#include "platform/qt/QtServices.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace tepa::platform {
namespace {

// Runs `answer` on the next modal window once it is open (within about two seconds).
void whenModalOpens(std::function<void(QWidget*)> answer)
{
    auto* poll = new QTimer(qApp);
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, attempts, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && ++*attempts < 200)
            return;
        poll->stop();
        poll->deleteLater();
        if (!modal) {
            ADD_FAILURE() << "no modal window opened";
            return;
        }
        answer(modal);
        // An answer that did not end the window fails the test instead of hanging it.
        QTimer::singleShot(2000, qApp, [window = QPointer<QWidget>(modal)] {
            if (window && window == QApplication::activeModalWidget()) {
                ADD_FAILURE() << "the modal window was not answered";
                window->close();
            }
        });
    });
    poll->start(10);
}

// Each test uses a value of its own: test processes may run side by side on the one store.
class QtSettingsTest : public ::testing::Test
{
protected:
    // The test main keeps settings in the test location; start and end without the value.
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

TEST_F(QtSettingsTest, ValueWrittenIsReadBackAfterReopening)
{
    QtSettings first;
    ASSERT_TRUE(first.open());
    EXPECT_FALSE(first.readString(valueName()).has_value());
    EXPECT_TRUE(first.writeString(valueName(), QStringLiteral("/srv/Planung/ORVA Ä")));
    first.close();

    QtSettings second;
    ASSERT_TRUE(second.open());
    const auto value = second.readString(valueName());
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->toStdString(), "/srv/Planung/ORVA Ä");
    second.close();
}

TEST_F(QtSettingsTest, KeyIsOrvaKivInTheTestLocation)
{
    const QSettings store(QStringLiteral("Orva"), QStringLiteral("kiv"));
    // Tests never touch the user's own settings.
    EXPECT_TRUE(store.fileName().contains(QStringLiteral(".qttest"))) << store.fileName().toStdString();
    EXPECT_TRUE(store.fileName().endsWith(QStringLiteral("Orva/kiv.conf"))) << store.fileName().toStdString();

    QtSettings settings;
    ASSERT_TRUE(settings.open());
    ASSERT_TRUE(settings.writeString(valueName(), QStringLiteral("/x")));
    settings.close();
    const QSettings reread(QStringLiteral("Orva"), QStringLiteral("kiv"));
    EXPECT_EQ(reread.value(valueName()).toString().toStdString(), "/x");
}

TEST_F(QtSettingsTest, NothingIsReadOrWrittenWhileClosed)
{
    QtSettings settings;
    EXPECT_FALSE(settings.writeString(valueName(), QStringLiteral("/y")));
    EXPECT_FALSE(settings.readString(valueName()).has_value());
    ASSERT_TRUE(settings.open());
    EXPECT_FALSE(settings.readString(valueName()).has_value()) << "the refused write left nothing";
    settings.close();
    EXPECT_FALSE(settings.writeString(valueName(), QStringLiteral("/z")));
}

TEST(QtShellTest, AddressesAndFilesWithoutALauncherAreRefusedNotIgnored)
{
    // Offscreen there is nothing that opens documents or addresses; the caller must learn it.
    QtShell shell;
    EXPECT_FALSE(shell.open(QStringLiteral("mailto:info@example.org")));
    EXPECT_FALSE(shell.open(QStringLiteral("http://www.example.org")));
    EXPECT_FALSE(shell.open(QDir::temp().filePath(QStringLiteral("no-such-attachment.pdf"))));
}

QMessageBox* asMessageBox(QWidget* modal)
{
    auto* box = qobject_cast<QMessageBox*>(modal);
    EXPECT_NE(box, nullptr) << "a message box was expected";
    return box;
}

TEST(QtMessagesTest, YesNoQuestionReportsTheButtonPressed)
{
    struct Case
    {
        QMessageBox::StandardButton pressed;
        bool result;
    };
    const Case cases[] = {{QMessageBox::Yes, true}, {QMessageBox::No, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result ? "Yes" : "No");
        QtMessages messages;
        QString shownText;
        bool hadBothButtons = false;
        whenModalOpens([&](QWidget* modal) {
            QMessageBox* box = asMessageBox(modal);
            if (!box) {
                modal->close();
                return;
            }
            shownText = box->text();
            hadBothButtons = box->button(QMessageBox::Yes) && box->button(QMessageBox::No) &&
                             !box->button(QMessageBox::Cancel);
            box->button(c.pressed)->click();
        });
        EXPECT_EQ(messages.askYesNo(QStringLiteral("Projekt jetzt speichern?")), c.result);
        EXPECT_EQ(shownText.toStdString(), "Projekt jetzt speichern?");
        EXPECT_TRUE(hadBothButtons) << "only Yes and No are offered";
    }
}

TEST(QtMessagesTest, MessagesShowTheirTextWithOneButton)
{
    QtMessages messages;
    const std::function<void(QtMessages&, const QString&)> calls[] = {
        [](QtMessages& m, const QString& t) { m.showMessage(t); },
        [](QtMessages& m, const QString& t) { m.showInformation(t); },
        [](QtMessages& m, const QString& t) { m.showError(t); },
    };
    for (const auto& call : calls) {
        QString shownText;
        qsizetype buttons = -1;
        whenModalOpens([&](QWidget* modal) {
            if (QMessageBox* box = asMessageBox(modal)) {
                shownText = box->text();
                buttons = box->buttons().size();
                box->button(QMessageBox::Ok)->click();
            } else {
                modal->close();
            }
        });
        call(messages, QStringLiteral("Datei x kann nicht geöffnet werden"));
        EXPECT_EQ(shownText.toStdString(), "Datei x kann nicht geöffnet werden");
        EXPECT_EQ(buttons, 1);
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
    const auto chosen = dialogs.saveFile(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->toStdString(), QDir(folder()).filePath("tepa.kon").toStdString());
    EXPECT_EQ(title.toStdString(), "Projekt speichern");
    EXPECT_EQ(QDir(directory).canonicalPath().toStdString(), QDir(folder()).canonicalPath().toStdString());
}

TEST_F(QtFileDialogsTest, CancelledDialogsGiveNothing)
{
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.initialDir = folder();
    request.fileName = QStringLiteral("tepa");
    whenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(dialogs.saveFile(request).has_value());
    whenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_FALSE(dialogs.openFile(request).has_value());
}

TEST_F(QtFileDialogsTest, OpenDialogReturnsTheExistingFileChosen)
{
    QFile existing(QDir(folder()).filePath("Raum 1.kon"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QtFileDialogs dialogs;
    FileDialogRequest request;
    request.filter = QStringLiteral("Konvektor-Dateien (*.kon *.orv);;Alle Dateien (*)");
    request.defaultSuffix = QStringLiteral("kon");
    request.initialDir = folder();
    whenModalOpens([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        // As the planner does it: the name typed into the dialog's file name field.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("Raum 1.kon"));
        static_cast<QDialog*>(dialog)->accept(); // through QDialog: the file dialog checks the name first
    });
    const auto chosen = dialogs.openFile(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(chosen->toStdString(), existing.fileName().toStdString());
}

} // namespace
} // namespace tepa::platform
