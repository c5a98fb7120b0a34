// The main window's frame: size, font, background, menus with their captions, enabling and
// shortcuts, and the panels hidden at start.
#include "AppFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace tepa::test {
namespace {

class MainWindow : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        storeWorkDir(tempPath("work"));
    }

    // The caption of a control found by its name: menu title, action text, label or button
    // text, group box title.
    QString captionOf(const char* name) const
    {
        const QString objectName = QString::fromLatin1(name);
        if (auto* menu = form->findChild<QMenu*>(objectName))
            return menu->title();
        if (auto* action = form->findChild<QAction*>(objectName))
            return action->text();
        if (auto* label = form->findChild<QLabel*>(objectName))
            return label->text();
        if (auto* button = form->findChild<QAbstractButton*>(objectName))
            return button->text();
        if (auto* box = form->findChild<QGroupBox*>(objectName))
            return box->title();
        ADD_FAILURE() << "no control named " << name;
        return {};
    }

    // Whether a menu bar entry or menu item can be chosen.
    bool enabled(const char* name) const
    {
        const QString objectName = QString::fromLatin1(name);
        if (auto* menu = form->findChild<QMenu*>(objectName))
            return menu->menuAction()->isEnabled();
        auto* action = form->findChild<QAction*>(objectName);
        EXPECT_NE(action, nullptr) << "no menu item named " << name;
        return action && action->isEnabled();
    }

    // Shown and active, so that shortcuts reach the window.
    void showActive()
    {
        form->show();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
};

struct CaptionCase
{
    const char* control;
    const char* caption;
};

TEST_F(MainWindow, MenuCaptionsComeFromTheInterfaceTexts)
{
    start();
    // The fixture's lines 0 to 9 carry words, the others read "Text n".
    // clang-format off
    const CaptionCase cases[] = {
        {"Projekt1", "Projekt"},          {"Neu1", "Neu"},               {"Laden1", "Laden"},
        {"Speichern1", "Speichern"},      {"Hilfe2", "Hilfe"},           {"Drucken1", "Drucken"},
        {"Projektdaten1", "Projektdaten"}, {"Raumdaten1", "Raumdaten"},  {"Konvliste", "Text 28"},
        {"Konlistedrucken", "Text 29"},   {"Berchdatendrucken", "Text 30"},
        {"Programmbeenden1", "Text 120"}, {"Berechnungen1", "Text 139"},
        {"normal1", "Text 147"},          {"normal2", "Text 147"},
        {"Orvapapier1", "Text 148"},      {"Orvapapier2", "Text 148"},   {"Info2", "Info"},
    };
    // clang-format on
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(captionOf(c.control).toStdString(), c.caption);
    }
    EXPECT_EQ(form->windowTitle().toStdString(), "ORVA TEPA");
}

TEST_F(MainWindow, PanelCaptionsComeFromTheInterfaceTexts)
{
    start();
    // clang-format off
    const CaptionCase cases[] = {
        {"GroupBox2", "Raumdaten"},
        {"Label31", "Text 13"},   {"Label30", "Text 14"},   {"Label26", "Text 15"},
        {"Label25", "Text 16"},   {"Label11", "Text 17"},   {"Label28", "Text 18"},
        {"Label29", "Text 19"},   {"Label8", "Text 25"},    {"Label7", "Text 26"},
        {"Label9", "Text 27"},    {"Label6", "Text 31"},    {"Label14", "Text 90"},
        {"Label5", "Text 156"},   {"Add1", "Text 157"},     {"Del1", "Text 163"},
        {"Label1", "Text 158"},   {"Label3", "Text 159"},
        {"RadioButton1", "Text 164"}, {"RadioButton2", "Text 165"},
        {"Label13", "Text 185"},  {"Label16", "Text 188"},  {"Label17", "Text 188"},
        {"Label15", "Text 190"},  {"Label20", "Text 246"},
        {"RadioButton3", "Text 252"}, {"RadioButton4", "Text 253"},
    };
    // clang-format on
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(captionOf(c.control).toStdString(), c.caption);
    }
}

TEST_F(MainWindow, CaptionsOfTheBundledInstallationKeepTheirUmlauts)
{
    start(sourceDataDir());
    EXPECT_EQ(form->Programmbeenden1->text().toStdString(), "Programm beenden");
    EXPECT_EQ(form->Konvliste->text().toStdString(), "Konvektorliste");
    EXPECT_EQ(form->text(154).toStdString(),
              "Der Projektordner „Projekte“ im Arbeitsverzeichnis konnte nicht angelegt werden. "
              "Bitte Laufwerk und Schreibrechte prüfen.");
}

TEST_F(MainWindow, MenuEnablingAtStart)
{
    start();
    struct Case
    {
        const char* item;
        bool enabled;
    };
    // clang-format off
    const Case cases[] = {
        {"Projekt1", true},   {"Neu1", true},           {"Laden1", true},
        {"Speichern1", true}, {"Programmbeenden1", true},
        {"Drucken1", false},  {"Konvliste", false},     {"Projektdaten1", false},
        {"Raumdaten1", false}, {"Berechnungen1", false},
        {"Hilfe2", true},     {"Info2", true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        EXPECT_EQ(enabled(c.item), c.enabled);
    }
}

TEST_F(MainWindow, MenuBarOrderWithSpacersPutsHelpFarRight)
{
    start();
    QStringList entries;
    for (QAction* action : form->menuBar()->actions())
        entries << (action->menu() ? action->menu()->objectName() : action->objectName());
    QStringList expected{"Projekt1",   "Drucken1", "Konvliste",    "", "", "", "Projektdaten1", "",
                         "Raumdaten1", "",         "Berechnungen1"};
    for (int i = 0; i < 12; ++i)
        expected << "";
    expected << "Hilfe2";
    EXPECT_EQ(entries.join('|').toStdString(), expected.join('|').toStdString());
    for (QAction* action : form->menuBar()->actions()) {
        if (action->objectName().isEmpty() && !action->menu())
            EXPECT_FALSE(action->isEnabled()) << "a spacer is not a command";
    }
}

TEST_F(MainWindow, SubmenusHoldTheirItems)
{
    start();
    auto names = [](QMenu* menu) {
        QStringList list;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                list << (action->menu() ? action->menu()->objectName() : action->objectName());
        return list.join('|').toStdString();
    };
    EXPECT_EQ(names(form->Projekt1), "Neu1|Laden1|Speichern1|Programmbeenden1");
    EXPECT_EQ(names(form->Drucken1), "Konlistedrucken|Berchdatendrucken");
    EXPECT_EQ(names(form->Konlistedrucken), "normal1|Orvapapier1");
    EXPECT_EQ(names(form->Berchdatendrucken), "normal2|Orvapapier2");
    EXPECT_EQ(names(form->Hilfe2), "Info2");
}

TEST_F(MainWindow, ShortcutsReachTheirCommands)
{
    start();
    showActive();
    const QString project = tempPath("work/Projekte");

    // Ctrl+L: the open dialog of the load command, in the projects folder.
    doubles.dialogs.answerOpen(std::nullopt);
    QTest::keyClick(form.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_EQ(doubles.dialogs.openRequests.size(), 1u);
    EXPECT_EQ(doubles.dialogs.openRequests.front().initialDir.toStdString(), project.toStdString());

    // Ctrl+S: the save command, which refuses while room data await a calculation.
    session.DemandChanged = true;
    doubles.messages.expect(MessageKind::Message, "Text 117");
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    doubles.messages.verifyAllShown();
    session.DemandChanged = false;

    // Ctrl+N: a new project opens the data menus.
    QTest::keyClick(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(form->Projektdaten1->isEnabled());

    // Ctrl+Z: exit, which asks about the unsaved new project first.
    session.ProjectSaved = false;
    doubles.messages.expect(MessageKind::YesNo, "Text 121", false);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    doubles.messages.verifyAllShown();
}

TEST_F(MainWindow, FrameSizeFontAndHiddenPanels)
{
    start();
    form->show();
    QCoreApplication::processEvents();

    EXPECT_EQ(form->width(), 801);
    EXPECT_EQ(form->height(), 611);
    EXPECT_EQ(form->font().pixelSize(), 11);
    EXPECT_TRUE(form->font().bold());
    EXPECT_EQ(form->font().families().value(0).toStdString(), "Verdana");
    EXPECT_TRUE(form->ListBox1->font().bold());
    EXPECT_TRUE(form->ListBox1->font().families().contains("Courier New"));

    for (const char* name :
         {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4", "Panel1", "ListBox1", "Label19"}) {
        SCOPED_TRACE(name);
        auto* widget = form->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr);
        EXPECT_FALSE(widget->isVisible());
    }
    EXPECT_TRUE(form->Image1->isVisible());
    EXPECT_TRUE(form->menuBar()->isVisible());
}

TEST_F(MainWindow, WindowStartsWithItsTitleBarOnTheScreen)
{
    start();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(form->x(), available.left());
    EXPECT_GE(form->y(), available.top());
    // Centred along each axis where the screen has room for the window.
    if (available.width() > form->frameGeometry().width()) {
        EXPECT_NEAR(form->frameGeometry().center().x(), available.center().x(), 1);
    }
    if (available.height() > form->frameGeometry().height()) {
        EXPECT_NEAR(form->frameGeometry().center().y(), available.center().y(), 1);
    }
}

TEST_F(MainWindow, BackgroundPictureCoversTheClientAreaAfterEveryResize)
{
    start(sourceDataDir());
    const QImage picture(qPath(sourceDataDir() / "background.jpg"));
    ASSERT_FALSE(picture.isNull()) << "the installation's background picture decodes";
    ASSERT_FALSE(form->Image1->pixmap().isNull());
    EXPECT_EQ(form->Image1->pixmap().size(), picture.size());
    EXPECT_TRUE(form->Image1->hasScaledContents());

    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->Image1->geometry(), form->centralWidget()->rect());
    for (const QSize size : {QSize(1000, 750), QSize(640, 480)}) {
        form->resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(form->Image1->geometry(), form->centralWidget()->rect());
        EXPECT_GT(form->Image1->height(), size.height() / 2);
    }
}

TEST_F(MainWindow, ClickOnTheConvectorListHidesIt)
{
    start();
    form->show();
    form->ListBox1->addItem(QStringLiteral("W1  1000  180"));
    form->ListBox1->show();
    QCoreApplication::processEvents();
    const QRect itemRect = form->ListBox1->visualItemRect(form->ListBox1->item(0));
    QTest::mouseClick(form->ListBox1->viewport(), Qt::LeftButton, {}, itemRect.center());
    EXPECT_FALSE(form->ListBox1->isVisible());
}

TEST_F(MainWindow, AttachmentListScrollsSideways)
{
    start();
    auto* attachments = form->findChild<QListWidget*>(QStringLiteral("ListBox2"));
    ASSERT_NE(attachments, nullptr);
    EXPECT_EQ(attachments->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

} // namespace
} // namespace tepa::test
