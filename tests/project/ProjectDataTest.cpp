#include "MainWindowFixture.h"

#include "core/model/ProjectReset.h"
#include "project/AttachmentPolicy.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <functional>

namespace tepa::test {
namespace {

QString makeFile(const QString& path, QFileDevice::Permissions permissions)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("x");
    file.close();
    EXPECT_TRUE(file.setPermissions(permissions));
    return path;
}

constexpr QFileDevice::Permissions ReadWrite = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// --- Which attachments are refused ------------------------------------------------------------

TEST(AttachmentPolicy, ProgramsAndScriptsAreRecognisedByTheirExtension)
{
    struct Case
    {
        const char* path;
        bool refused;
    };
    // None of these exist, so only the name decides.
    // clang-format off
    const Case cases[] = {
        {"C:\\Tools\\setup.EXE", true},
        {"C:\\Tools\\tool.com", true},
        {"\\\\server\\share\\start.Bat", true},
        {"C:\\x\\run.cmd", true},
        {"C:\\x\\bild.scr", true},
        {"C:\\x\\paket.MSI", true},
        {"C:\\x\\skript.ps1", true},
        {"C:\\x\\makro.vbs", true},
        {"C:\\x\\code.js", true},
        {"/opt/app.jar", true},
        {"/home/p/install.sh", true},
        {"/home/p/start.desktop", true},
        {"C:\\Users\\p\\Desktop\\Heizlast.lnk", true},
        {"C:\\x\\setup.exe.", true},        // Windows drops trailing dots and blanks
        {"C:\\x\\setup.exe . ", true},
        {"C:\\ORVA\\Projekte\\Grundriss 2.OG.pdf", false},
        {"/home/p/Heizlast.xls", false},
        {"/home/p/Bericht.exe.pdf", false}, // only the last extension counts
        {"/home/p/exe", false},
        {"/home/p/notes.shx", false},
        {"/home/p/.sh", true},
        {"/home/p/ohne-endung", false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(isProgramOrScript(QString::fromUtf8(c.path)), c.refused);
    }
}

TEST(AttachmentPolicy, AnExistingExecutableFileIsRefusedWhateverItsName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString executable =
        makeFile(dir.filePath("Angebot.pdf"), ReadWrite | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    const QString document = makeFile(dir.filePath("Angebot2.pdf"), ReadWrite);
    const QString script = makeFile(dir.filePath("auswertung"), ReadWrite | QFileDevice::ExeOwner);

    EXPECT_TRUE(isProgramOrScript(executable));
    EXPECT_TRUE(isProgramOrScript(script));
    EXPECT_FALSE(isProgramOrScript(document));
    // A folder carries the search bit, but opening one shows its contents.
    EXPECT_FALSE(isProgramOrScript(dir.path()));
}

// --- New, the project data panel and its attachments ----------------------------------------

class ProjectDataWindow : public MainWindowFixture
{
protected:
    QString sampleCopy()
    {
        const QString path = tempPath("sample.kon");
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QString::fromStdString(testData("sample-project.kon").string()), path));
        return path;
    }

    // The sample project loaded: both lists in use, two attachments.
    void loadSample()
    {
        doubles.dialogs.answerOpen(sampleCopy());
        doubles.messages.expect(MessageKind::Information, text(213));
        form1->Laden1->trigger();
        doubles.messages.verifyAllShown();
        ASSERT_TRUE(session->ProjectLoaded);
    }

    void newProject()
    {
        form1->Neu1->trigger();
        ASSERT_FALSE(form1->GroupBox1->isHidden());
    }

    // The attachment list holding these paths, the last one selected.
    void setAttachments(const QStringList& paths)
    {
        for (auto& attachment : session->Project.Attachments)
            attachment.clear();
        for (int i = 0; i < paths.size(); ++i)
            session->Project.Attachments[static_cast<std::size_t>(i)].setText(paths[i].toStdString());
        form1->RecordToProjectData();
        ASSERT_EQ(form1->ListBox2->count(), paths.size());
    }

    QStringList attachmentItems() const
    {
        QStringList items;
        for (int i = 0; i < form1->ListBox2->count(); ++i)
            items.push_back(form1->ListBox2->item(i)->text());
        return items;
    }

    int selectedAttachment() const
    {
        const QListWidgetItem* item = form1->ListBox2->currentItem();
        return item && item->isSelected() ? form1->ListBox2->currentRow() : -1;
    }

    bool menuEnabled(QMenu* menu) const { return menu->isEnabled() && menu->menuAction()->isEnabled(); }
};

TEST_F(ProjectDataWindow, NewResetsTheLoadedProjectAndOpensTheProjectDataPanel)
{
    loadSample();
    session->ProjectSaved = true; // no question before New
    session->HeatingEntryIndex = 2;
    session->CoolingEntryIndex = 2;
    session->DemandChanged = true;
    session->HeatingDualUseOn = true;
    session->EntryDeleted = true;
    form1->GroupBox2->show();
    form1->ListBox1->show();
    form1->Berechnungen1->setEnabled(true);

    newProject();

    const ProjectRecord& p = session->Project;
    EXPECT_TRUE(p.Title.empty());
    EXPECT_TRUE(p.Number.empty());
    EXPECT_EQ(p.Date.text(), todayShortDate());
    EXPECT_TRUE(p.Attachments[0].empty());
    EXPECT_TRUE(p.Attachments[1].empty());
    EXPECT_TRUE(p.RemarkLines[0].empty());
    EXPECT_FALSE(p.HeatingEntries[0].InUse);
    EXPECT_FALSE(p.CoolingEntries[1].InUse);
    EXPECT_FALSE(p.HeatingInUse);
    EXPECT_FALSE(p.CoolingInUse);
    EXPECT_FALSE(p.CalculationDone);
    EXPECT_EQ(p.RoomCount, 1);
    EXPECT_EQ(p.HeatingEntryCount, 1);
    EXPECT_EQ(p.HeatingFlowTemp, 75);
    EXPECT_EQ(p.CoolingRoomTemp, 26);

    EXPECT_TRUE(form1->Edit15->text().isEmpty());
    EXPECT_EQ(form1->Edit17->text().toStdString(), todayShortDate());
    EXPECT_TRUE(form1->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(form1->ListBox2->count(), 0);
    EXPECT_TRUE(form1->run1->text().isEmpty());
    EXPECT_TRUE(form1->Label19->text().isEmpty());
    EXPECT_TRUE(form1->GroupBox2->isHidden());
    EXPECT_TRUE(form1->ListBox1->isHidden());

    EXPECT_FALSE(session->ProjectSaved);
    EXPECT_FALSE(session->ProjectLoaded);
    EXPECT_TRUE(session->ProjectTouched); // the panel opened for editing
    EXPECT_TRUE(session->CentreReturnTemp);
    EXPECT_FALSE(session->CoolingRoomTempLoaded);
    EXPECT_FALSE(session->DemandChanged);
    EXPECT_FALSE(session->HeatingDualUseOn);
    EXPECT_FALSE(session->EntryDeleted);
    EXPECT_FALSE(session->RoomDataShown);
    EXPECT_EQ(session->HeatingEntryIndex, 1);
    EXPECT_EQ(session->CoolingEntryIndex, 1);
    EXPECT_TRUE(session->HeatingMode);
    EXPECT_FALSE(session->CoolingMode);
    EXPECT_TRUE(form1->RadioButton1->isChecked());
    EXPECT_TRUE(form1->RadioButton4->isChecked());
    EXPECT_TRUE(form1->RadioButton2->isEnabled());

    EXPECT_TRUE(form1->Projektdaten1->isEnabled());
    EXPECT_TRUE(form1->Raumdaten1->isEnabled());
    EXPECT_FALSE(form1->Berechnungen1->isEnabled());
    EXPECT_FALSE(form1->Konvliste->isEnabled());
    EXPECT_FALSE(menuEnabled(form1->Drucken1));
}

TEST_F(ProjectDataWindow, NewFromCoolingModeSwitchesThePanelBackToHeating)
{
    form1->RadioButton2->click();
    ASSERT_TRUE(session->CoolingMode);
    form1->RadioButton3->click();

    newProject();

    EXPECT_TRUE(form1->RadioButton1->isChecked());
    EXPECT_TRUE(form1->RadioButton4->isChecked());
    EXPECT_TRUE(session->HeatingMode);
    EXPECT_FALSE(session->CoolingMode);
    // The heating inputs are the ones on show, as after a click on the heating button.
    EXPECT_TRUE(form1->Panel1->isHidden());
    EXPECT_FALSE(form1->Panel2->isHidden());
    EXPECT_EQ(form1->Label21->text(), text(254));
    // The new project is no dual-use project.
    EXPECT_FALSE(session->Project.HeatingDualUse);
    EXPECT_FALSE(session->Project.CoolingDualUse);
    EXPECT_FALSE(session->HeatingDualUseOn);
}

TEST_F(ProjectDataWindow, NewEmptiesTheCalculationWindowsRoomList)
{
    createCalculationWindow();
    form2->ListBox2->addItem("W2 1000 x 180");
    form2->GroupBox4->show();

    newProject();

    EXPECT_EQ(form2->ListBox2->count(), 0);
    EXPECT_TRUE(form2->GroupBox4->isHidden());
    EXPECT_EQ(form2->Panel12->palette().color(QPalette::Window), QColor(Qt::gray));
}

TEST_F(ProjectDataWindow, NewAsksToSaveAnUnsavedProjectAndDiscardsItOnNo)
{
    loadSample();
    ASSERT_FALSE(session->ProjectSaved);
    ASSERT_TRUE(session->ProjectTouched);
    doubles.messages.expect(MessageKind::YesNo, text(121), false);

    newProject();

    EXPECT_TRUE(session->Project.Title.empty());
    EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
}

TEST_F(ProjectDataWindow, NewKeepsTheProjectWhenTheWantedSaveDoesNotHappen)
{
    loadSample();
    const std::string title = session->Project.Title.text();
    doubles.messages.expect(MessageKind::YesNo, text(121), true);
    doubles.dialogs.answerSave(std::nullopt);

    form1->Neu1->trigger();

    EXPECT_EQ(session->Project.Title.text(), title);
    EXPECT_EQ(form1->ListBox2->count(), 2);
    EXPECT_TRUE(session->ProjectLoaded);
    EXPECT_FALSE(session->ProjectSaved);
}

TEST_F(ProjectDataWindow, NewAsksOnlyForAnUnsavedProjectThatWasOpenedForEditing)
{
    struct Case
    {
        bool saved;
        bool touched;
    };
    for (const Case c : {Case{true, true}, Case{false, false}, Case{true, false}}) {
        SCOPED_TRACE(testing::Message() << "saved " << c.saved << ", touched " << c.touched);
        session->ProjectSaved = c.saved;
        session->ProjectTouched = c.touched;
        session->Project.Title.setText("alt");

        newProject(); // an unexpected question fails the test

        EXPECT_TRUE(session->Project.Title.empty());
    }
}

TEST_F(ProjectDataWindow, ProjectDataCommandTogglesThePanelAndStoresItOnClosing)
{
    form1->GroupBox2->show();
    form1->Projektdaten1->setEnabled(true);

    form1->Projektdaten1->trigger();
    EXPECT_FALSE(form1->GroupBox1->isHidden());
    EXPECT_TRUE(form1->GroupBox2->isHidden());
    EXPECT_TRUE(session->ProjectTouched);
    EXPECT_TRUE(session->ProjectDataShown);
    EXPECT_TRUE(form1->Raumdaten1->isEnabled());

    QTest::keyClicks(form1->Edit16, "4711");
    form1->Projektdaten1->trigger();
    EXPECT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_EQ(session->Project.Number.text(), "4711");
}

TEST_F(ProjectDataWindow, FieldsAreCutToTheirRecordLengths)
{
    newProject();
    const QString longText = QString(80, QChar('x')) + "ENDE";
    struct Field
    {
        QLineEdit* edit;
        int length;
        std::function<std::string()> stored;
    };
    const ProjectRecord& p = session->Project;
    const Field fields[] = {
        {form1->Edit15, 50, [&] { return p.Title.text(); }},
        {form1->Edit16, 16, [&] { return p.Number.text(); }},
        {form1->Edit17, 10, [&] { return p.Date.text(); }},
        {form1->Edit18, 40, [&] { return p.DataLines[0].text(); }},
        {form1->Edit21, 40, [&] { return p.DataLines[3].text(); }},
        {form1->Edit24, 40, [&] { return p.DataLines[6].text(); }},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.edit->objectName().toStdString());
        f.edit->clear();
        QTest::keyClicks(f.edit, longText);
        EXPECT_EQ(f.edit->text().size(), f.length);
    }
    QTest::keyClicks(form1->Memo1, longText);

    form1->ProjectDataToRecord();

    for (const Field& f : fields) {
        SCOPED_TRACE(f.edit->objectName().toStdString());
        EXPECT_EQ(f.stored(), std::string(static_cast<std::size_t>(f.length), 'x'));
    }
    EXPECT_EQ(p.RemarkLines[0].text(), std::string(72, 'x'));
}

TEST_F(ProjectDataWindow, MemoStoresItsFirst25LinesAndAnEmptyMemoEmptiesAll)
{
    newProject();
    QStringList lines;
    for (int i = 1; i <= 30; ++i)
        lines.push_back(QString("Zeile %1").arg(i));
    form1->Memo1->setPlainText(lines.join('\n'));

    form1->ProjectDataToRecord();

    const ProjectRecord& p = session->Project;
    EXPECT_EQ(p.RemarkLines[0].text(), "Zeile 1");
    EXPECT_EQ(p.RemarkLines[24].text(), "Zeile 25");
    form1->RecordToProjectData();
    EXPECT_EQ(form1->Memo1->toPlainText().split('\n'), lines.mid(0, 25));

    form1->Memo1->clear();
    form1->ProjectDataToRecord();
    for (std::size_t i = 0; i < p.RemarkLines.size(); ++i)
        EXPECT_TRUE(p.RemarkLines[i].empty()) << "line " << i + 1;
}

TEST_F(ProjectDataWindow, RecordListsAttachmentsUpToTheFirstEmptyOneAndSelectsTheLast)
{
    newProject();
    auto& attachments = session->Project.Attachments;
    attachments[0].setText("C:\\ORVA\\Projekte\\Grundriss.pdf");
    attachments[1].setText("C:\\ORVA\\Projekte\\Nordring\\Heizlast 2.OG.xls");
    attachments[3].setText("C:\\hinter\\der\\Luecke.doc");

    form1->RecordToProjectData();

    EXPECT_EQ(form1->ListBox2->count(), 2);
    EXPECT_EQ(selectedAttachment(), 1);
    EXPECT_EQ(form1->run1->text().toStdString(), "Heizlast 2.OG.xls");
}

TEST_F(ProjectDataWindow, AddAppendsTheChosenFileAndSelectsIt)
{
    newProject();
    setAttachments({"/a/eins.pdf"});
    const QString chosen = tempPath("Angebot.pdf");
    doubles.dialogs.answerOpen(chosen).answerOpen(std::nullopt);

    form1->Add1->click();
    EXPECT_EQ(attachmentItems(), QStringList({"/a/eins.pdf", chosen}));
    EXPECT_EQ(selectedAttachment(), 1);
    EXPECT_EQ(form1->run1->text().toStdString(), "Angebot.pdf");

    form1->ListBox2->setCurrentRow(0);
    form1->Add1->click(); // cancelled: nothing added, the caption follows the selection
    EXPECT_EQ(form1->ListBox2->count(), 2);
    EXPECT_EQ(form1->run1->text().toStdString(), "eins.pdf");

    form1->ProjectDataToRecord();
    EXPECT_EQ(session->Project.Attachments[1].text(), chosen.toStdString());
    EXPECT_TRUE(session->Project.Attachments[2].empty());
}

TEST_F(ProjectDataWindow, TheTwentyFirstAttachmentIsRefusedWithAMessage)
{
    newProject();
    QStringList paths;
    for (int i = 1; i <= 19; ++i)
        paths.push_back(QString("/docs/anhang%1.pdf").arg(i));
    setAttachments(paths);
    doubles.dialogs.answerOpen(QString("/docs/anhang20.pdf"));
    form1->Add1->click();
    ASSERT_EQ(form1->ListBox2->count(), 20);

    // No dialog is scripted for the next click: the list is full.
    doubles.messages.expect(MessageKind::Message, text(266));
    form1->Add1->click();

    EXPECT_EQ(form1->ListBox2->count(), 20);
    EXPECT_EQ(doubles.dialogs.openRequests.size(), 1u);
    form1->ProjectDataToRecord();
    EXPECT_EQ(session->Project.Attachments[19].text(), "/docs/anhang20.pdf");
}

TEST_F(ProjectDataWindow, DeleteSelectsTheItemThatTakesThePlaceOrTheNewLast)
{
    struct Case
    {
        const char* what;
        QStringList items;
        int selected;
        QStringList remaining;
        int selectedAfter;
        const char* caption;
    };
    // clang-format off
    const Case cases[] = {
        {"first",  {"/d/a.pdf", "/d/b.pdf", "/d/c.pdf"}, 0, {"/d/b.pdf", "/d/c.pdf"}, 0, "b.pdf"},
        {"middle", {"/d/a.pdf", "/d/b.pdf", "/d/c.pdf"}, 1, {"/d/a.pdf", "/d/c.pdf"}, 1, "c.pdf"},
        {"last",   {"/d/a.pdf", "/d/b.pdf", "/d/c.pdf"}, 2, {"/d/a.pdf", "/d/b.pdf"}, 1, "b.pdf"},
        {"only",   {"/d/a.pdf"},                         0, {},                       -1, ""},
    };
    // clang-format on
    newProject();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setAttachments(c.items);
        form1->ListBox2->setCurrentRow(c.selected);

        form1->Del1->click();

        EXPECT_EQ(attachmentItems(), c.remaining);
        EXPECT_EQ(selectedAttachment(), c.selectedAfter);
        EXPECT_EQ(form1->run1->text().toStdString(), c.caption);
    }
}

TEST_F(ProjectDataWindow, ClickAndDoubleClickOnTheListShowAndOpenTheAttachment)
{
    form1->show();
    newProject();
    const QString plan = makeFile(tempPath("Grundriss.pdf"), ReadWrite);
    setAttachments({plan, "/d/b.pdf"});
    QListWidget* list = form1->ListBox2;
    const QPoint first = list->visualItemRect(list->item(0)).center();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(form1->run1->text().toStdString(), "Grundriss.pdf");
    EXPECT_TRUE(doubles.shell.opened.isEmpty());

    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(doubles.shell.opened, QStringList({plan}));
}

TEST_F(ProjectDataWindow, RunOpensADocumentThroughTheDesktop)
{
    newProject();
    const QString document = makeFile(tempPath("Heizlast.xls"), ReadWrite);
    setAttachments({document});

    form1->run1->click();

    EXPECT_EQ(doubles.shell.opened, QStringList({document}));
}

TEST_F(ProjectDataWindow, RunRefusesProgramsAndScripts)
{
    newProject();
    const QString script = makeFile(tempPath("pruefen"), ReadWrite | QFileDevice::ExeOwner);
    const QString paths[] = {QStringLiteral("C:\\Users\\p\\Downloads\\Rechnung.pdf.exe"), script};
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        setAttachments({path});
        doubles.messages.expect(MessageKind::Message,
                                QString::fromUtf8(RefusedAttachmentText) + QLatin1Char('\n') + path);

        form1->run1->click();

        doubles.messages.verifyAllShown();
        EXPECT_TRUE(doubles.shell.opened.isEmpty());
    }
}

TEST_F(ProjectDataWindow, WithoutASelectionDeleteAndRunDoNothing)
{
    newProject();
    setAttachments({"/d/a.pdf", "/d/b.pdf"});
    form1->ListBox2->clearSelection();

    form1->Del1->click();
    form1->run1->click();

    EXPECT_EQ(attachmentItems(), QStringList({"/d/a.pdf", "/d/b.pdf"}));
    EXPECT_TRUE(doubles.shell.opened.isEmpty());
}

} // namespace
} // namespace tepa::test
