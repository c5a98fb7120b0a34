#include "MainWindowFixture.h"

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectReset.h"
#include "project/ProjectPaths.h"

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

#include <vector>

namespace tepa::test {
namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray imageOf(const ProjectRecord& record)
{
    const std::vector<std::byte> image = ProjectCodec::encode(record);
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

ProjectRecord decodeImage(const QByteArray& bytes)
{
    auto record = ProjectCodec::decode(std::as_bytes(std::span(bytes.constData(), bytes.size())));
    EXPECT_TRUE(record.ok());
    return record.ok() ? record.value() : ProjectRecord{};
}

QByteArray sampleImage()
{
    return readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/sample-project.kon"));
}

// --- The file names of command-line mode ---------------------------------------------------

TEST(ProjectPaths, CommandLineNamesTheFileByAllButTheLastThreeArguments)
{
    struct Case
    {
        QStringList arguments;
        std::optional<QString> file;
    };
    // clang-format off
    const Case cases[] = {
        {{}, std::nullopt},
        {{"/p/a.kon", "1", "2"}, std::nullopt},
        {{"/p/a.kon", "1", "2", "3"}, QString("/p/a.kon")},
        {{"/p/Mein", "Projekt.kon", "x", "y", "z"}, QString("/p/Mein Projekt.kon")},
        {{"C:\\ORVA\\Neuer", "Ordner", "Raum 1.kon", "a", "b", "c"}, QString("C:\\ORVA\\Neuer Ordner Raum 1.kon")},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join('|').toStdString());
        const auto file = projectFileFromArguments(c.arguments);
        ASSERT_EQ(file.has_value(), c.file.has_value());
        if (file) {
            EXPECT_EQ(file->toStdString(), c.file->toStdString());
        }
    }
}

TEST(ProjectPaths, TechnicalDataFileSitsBesideTheProjectWithItsExtension)
{
    struct Case
    {
        const char* project;
        const char* techData;
    };
    // clang-format off
    const Case cases[] = {
        {"/p/Mein Projekt.kon", "/p/techdaten.kon"},
        {"/p/alt.orv", "/p/techdaten.orv"},
        {"/p/ohne", "/p/techdaten"},
        {"/p.d/ohne", "/p.d/techdaten"},            // a dot in the folder is no extension
        {"/p/a.b.kon", "/p/techdaten.kon"},          // only the last extension
        {"C:\\ORVA\\Projekte\\x.kon", "C:\\ORVA\\Projekte\\techdaten.kon"},
        {"x.kon", "techdaten.kon"},                  // beside a file named without folder
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        EXPECT_EQ(technicalDataPath(QString::fromUtf8(c.project)).toStdString(), c.techData);
    }
}

TEST(ProjectPaths, FileNamePartEndsAtEitherSeparator)
{
    struct Case
    {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"/home/p/Grundriss.pdf", "Grundriss.pdf"},
        {"C:\\ORVA\\Projekte\\Nordring\\Grundriss 2.OG.pdf", "Grundriss 2.OG.pdf"},
        {"C:\\a/b\\c.txt", "c.txt"},
        {"nur-name.doc", "nur-name.doc"},
        {"/ordner/", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(fileNamePart(QString::fromUtf8(c.path)).toStdString(), c.name);
    }
}

// --- Load and save through the main window --------------------------------------------------

class ProjectFilesWindow : public MainWindowFixture
{
protected:
    // Loads `path` through the menu command, the open dialog answering with it.
    void load(const QString& path)
    {
        doubles.dialogs.answerOpen(path);
        form1->Laden1->trigger();
    }

    QString writeProjectFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = tempPath(name);
        writeBytes(path, bytes);
        return path;
    }

    void newProject()
    {
        form1->Neu1->trigger();
        ASSERT_TRUE(session->ProjectDataShown);
    }

    QColor statusColour() const { return form1->Label19->palette().color(QPalette::Window); }

    bool menuEnabled(QMenu* menu) const { return menu->isEnabled() && menu->menuAction()->isEnabled(); }
};

TEST_F(ProjectFilesWindow, LoadTakesAWholeRecordAndShowsItsFileInYellow)
{
    const QByteArray sample = sampleImage();
    ASSERT_EQ(sample.size(), 15858);
    const QString path = writeProjectFile("Nordring.kon", sample);
    session->DemandChanged = true;
    session->RoomTempChanged = true;
    session->CentreReturnTemp = true;
    session->HeatingEntryIndex = 4;
    // A panel open before the load stays open on the new data; the panel command toggles.
    form1->GroupBox1->show();
    // The data files are read from the current directory, whatever a dialog made of it.
    QDir::setCurrent(tempPath(""));
    doubles.messages.expect(MessageKind::Information, text(213));

    load(path);

    EXPECT_EQ(QDir::current(), QDir(QString::fromStdString(session->ProgramDir.string())));
    EXPECT_EQ(imageOf(session->Project), sample);
    EXPECT_EQ(form1->Label19->text().toStdString(), (text(36) + "  Nordring.kon").toStdString());
    EXPECT_EQ(statusColour(), QColor(Qt::yellow));
    EXPECT_FALSE(form1->Label19->isHidden());
    EXPECT_FALSE(session->ProjectSaved);
    EXPECT_TRUE(session->ProjectLoaded);
    EXPECT_TRUE(session->CoolingRoomTempLoaded);
    EXPECT_FALSE(session->CentreReturnTemp);
    EXPECT_FALSE(session->DemandChanged);
    EXPECT_FALSE(session->RoomTempChanged);
    EXPECT_EQ(session->HeatingEntryIndex, 1);
    // The project data panel opens on the loaded data.
    EXPECT_FALSE(form1->GroupBox1->isHidden());
    EXPECT_EQ(form1->Edit15->text().toStdString(), session->Project.Title.text());
    EXPECT_EQ(form1->ListBox2->count(), 2);
}

TEST_F(ProjectFilesWindow, LoadReadsOnlyTheFirstRecordOfALongerFile)
{
    const QByteArray sample = sampleImage();
    const QString path = writeProjectFile("lang.kon", sample + QByteArray(20000 - sample.size(), '\xAB'));
    doubles.messages.expect(MessageKind::Information, text(213));

    load(path);

    EXPECT_EQ(imageOf(session->Project), sample);
}

TEST_F(ProjectFilesWindow, FailedOrCancelledLoadChangesNothingButTheFirstSteps)
{
    struct Case
    {
        const char* what;
        std::optional<QString> answer;
        std::optional<MessageKind> box;
        QString boxText;
    };
    const QString shortFile = writeProjectFile("kurz.kon", sampleImage().left(15857));
    const QString folder = tempPath("ordner.kon");
    ASSERT_TRUE(QDir().mkpath(folder));
    const Case cases[] = {
        {"one byte short", shortFile, MessageKind::Message, QStringLiteral("Loading - Error")},
        {"cancelled", std::nullopt, std::nullopt, {}},
        {"not a file", folder, MessageKind::Error, {}},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session->Project = ProjectRecord{};
        session->Project.Title.setText("Bestand");
        session->Project.HeatingInUse = true;
        const QByteArray before = imageOf(session->Project);
        session->ProjectSaved = true;
        session->ProjectLoaded = false;
        session->ProjectTouched = true;
        session->CoolingRoomTempLoaded = false;
        session->DemandChanged = true;
        session->HeatingEntryIndex = 3;
        if (c.box && c.boxText.isEmpty())
            doubles.messages.expectAny(*c.box);
        else if (c.box)
            doubles.messages.expect(*c.box, c.boxText);

        doubles.dialogs.answerOpen(c.answer);
        form1->Laden1->trigger();

        EXPECT_EQ(imageOf(session->Project), before);
        EXPECT_TRUE(session->ProjectSaved);
        EXPECT_FALSE(session->ProjectLoaded);
        EXPECT_TRUE(session->DemandChanged);
        EXPECT_EQ(session->HeatingEntryIndex, 3);
        EXPECT_TRUE(form1->Label19->isHidden());
        EXPECT_TRUE(form1->Label19->text().isEmpty());
        EXPECT_FALSE(form1->Projektdaten1->isEnabled());
        EXPECT_FALSE(form1->Konvliste->isEnabled());
        EXPECT_FALSE(menuEnabled(form1->Drucken1));
        EXPECT_TRUE(form1->GroupBox1->isHidden());
        // The two first steps run before the dialog.
        EXPECT_FALSE(session->ProjectTouched);
        EXPECT_TRUE(session->CoolingRoomTempLoaded);
        doubles.messages.verifyAllShown();
    }
}

TEST_F(ProjectFilesWindow, OpenDialogOffersProjectFilesInTheProjectFolder)
{
    doubles.dialogs.answerOpen(std::nullopt);
    form1->Laden1->trigger();

    ASSERT_EQ(doubles.dialogs.openRequests.size(), 1u);
    const platform::FileDialogRequest& request = doubles.dialogs.openRequests[0];
    EXPECT_EQ(request.title.toStdString(), "Konvektor-Dateien:  *.kon  /  *.orv");
    EXPECT_EQ(request.defaultSuffix.toStdString(), "kon");
    EXPECT_EQ(QDir(request.initialDir), QDir(projectDir()));
    const QStringList filters = request.filter.split(";;");
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].contains("(*.kon *.orv)")) << filters[0].toStdString();
    EXPECT_TRUE(filters[1].endsWith("(*)")) << filters[1].toStdString();
}

TEST_F(ProjectFilesWindow, LoadedModesDecideMessageAndModeButtons)
{
    struct Case
    {
        const char* what;
        bool heatingInUse;
        bool coolingInUse;
        std::optional<std::size_t> message;
        bool heatingButton;
        bool coolingButton;
        bool heatingMode;
    };
    // Each load starts from the opposite mode with every mode button disabled, so that what the
    // load sets is seen.
    const Case cases[] = {
        {"heating and cooling", true, true, 213, true, true, false},
        {"heating only", true, false, 214, true, false, true},
        {"cooling only", false, true, 215, false, true, false},
        {"neither", false, false, std::nullopt, true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectRecord record;
        resetForNewProject(record, "01.01.2025");
        record.HeatingInUse = c.heatingInUse;
        record.CoolingInUse = c.coolingInUse;
        const QString path = writeProjectFile("modus.kon", imageOf(record));
        session->HeatingMode = !c.heatingMode;
        session->CoolingMode = c.heatingMode;
        for (QRadioButton* button :
             {form1->RadioButton1, form1->RadioButton2, form1->RadioButton3, form1->RadioButton4})
            button->setEnabled(false);
        if (c.message)
            doubles.messages.expect(MessageKind::Information, text(*c.message));

        load(path);

        doubles.messages.verifyAllShown();
        EXPECT_EQ(form1->RadioButton1->isEnabled(), c.heatingButton);
        EXPECT_EQ(form1->RadioButton2->isEnabled(), c.coolingButton);
        EXPECT_TRUE(form1->RadioButton3->isEnabled());
        EXPECT_TRUE(form1->RadioButton4->isEnabled());
        if (c.message == 214u || c.message == 215u) {
            EXPECT_EQ(session->HeatingMode, c.heatingMode);
            EXPECT_NE(session->CoolingMode, c.heatingMode);
        }
    }
}

TEST_F(ProjectFilesWindow, MenusAfterNewLoadAndSave)
{
    form1->Berechnungen1->setEnabled(true);
    newProject();
    EXPECT_TRUE(form1->Projektdaten1->isEnabled());
    EXPECT_TRUE(form1->Raumdaten1->isEnabled());
    EXPECT_FALSE(form1->Berechnungen1->isEnabled());
    EXPECT_FALSE(form1->Konvliste->isEnabled());
    EXPECT_FALSE(menuEnabled(form1->Drucken1));

    form1->Berechnungen1->setEnabled(true);
    doubles.messages.expect(MessageKind::Information, text(213));
    load(writeProjectFile("p.kon", sampleImage()));
    EXPECT_TRUE(form1->Projektdaten1->isEnabled());
    EXPECT_TRUE(form1->Raumdaten1->isEnabled());
    EXPECT_FALSE(form1->Berechnungen1->isEnabled());
    EXPECT_TRUE(form1->Konvliste->isEnabled());
    EXPECT_TRUE(menuEnabled(form1->Drucken1));
    EXPECT_TRUE(form1->ListBox1->isHidden());

    // Saving changes no menu.
    form1->Berechnungen1->setEnabled(true);
    doubles.dialogs.answerSave(tempPath("q.kon"));
    form1->Speichern1->trigger();
    EXPECT_TRUE(form1->Projektdaten1->isEnabled());
    EXPECT_TRUE(form1->Raumdaten1->isEnabled());
    EXPECT_TRUE(form1->Berechnungen1->isEnabled());
    EXPECT_TRUE(form1->Konvliste->isEnabled());
    EXPECT_TRUE(menuEnabled(form1->Drucken1));
}

TEST_F(ProjectFilesWindow, SaveThroughTheDialogWritesTheNewProjectAndShowsItInGreen)
{
    newProject();
    const QString path = projectDir() + "/Neu.kon";
    doubles.dialogs.answerSave(path);

    EXPECT_TRUE(form1->Speichern1Click());

    ASSERT_EQ(doubles.dialogs.saveRequests.size(), 1u);
    const platform::FileDialogRequest& request = doubles.dialogs.saveRequests[0];
    EXPECT_EQ(request.filter.toStdString(), "Konvektor-Dateien (*.kon)");
    EXPECT_EQ(request.defaultSuffix.toStdString(), "kon");
    EXPECT_EQ(QDir(request.initialDir), QDir(projectDir()));

    const QByteArray written = readBytes(path);
    ASSERT_EQ(written.size(), 15858);
    EXPECT_EQ(written, imageOf(session->Project));
    const ProjectRecord saved = decodeImage(written);
    EXPECT_EQ(saved.RoomCount, 1);
    EXPECT_EQ(saved.HeatingEntryCount, 1);
    EXPECT_EQ(saved.CoolingEntryCount, 1);
    EXPECT_EQ(saved.HeatingFlowTemp, 75);
    EXPECT_EQ(saved.Date.text(), todayShortDate());

    EXPECT_TRUE(session->ProjectSaved);
    EXPECT_EQ(form1->Label19->text().toStdString(), (text(36) + "  Neu.kon").toStdString());
    EXPECT_EQ(statusColour(), QColor(Qt::green));
    EXPECT_FALSE(form1->Label19->isHidden());
}

TEST_F(ProjectFilesWindow, CancelledSaveLeavesProjectUnsaved)
{
    newProject();
    doubles.dialogs.answerSave(std::nullopt);

    EXPECT_FALSE(form1->Speichern1Click());

    EXPECT_FALSE(session->ProjectSaved);
    EXPECT_TRUE(form1->Label19->text().isEmpty());
    EXPECT_TRUE(QDir(projectDir()).entryList(QDir::Files).isEmpty());
}

TEST_F(ProjectFilesWindow, SaveIsRefusedWhileRoomDataChangedSinceTheCalculation)
{
    bool Session::*const flags[] = {&Session::DemandChanged, &Session::FlowTempChanged,
                                    &Session::RoomTempChanged};
    newProject();
    for (bool Session::*flag : flags) {
        session->ResetChangeFlags();
        (*session).*flag = true;
        doubles.messages.expect(MessageKind::Message, text(117));

        // No dialog is scripted: asking for a file name would fail the test.
        EXPECT_FALSE(form1->Speichern1Click());

        doubles.messages.verifyAllShown();
        EXPECT_FALSE(session->ProjectSaved);
        EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
        EXPECT_TRUE(form1->Label19->text().isEmpty());
    }
}

TEST_F(ProjectFilesWindow, FailedSaveShowsThePlatformErrorAndKeepsTheSavedFlag)
{
    newProject();
    const QString folder = projectDir() + "/belegt.kon";
    ASSERT_TRUE(QDir().mkpath(folder));
    doubles.dialogs.answerSave(folder);
    doubles.messages.expectAny(MessageKind::Error);

    EXPECT_FALSE(form1->Speichern1Click());

    EXPECT_FALSE(session->ProjectSaved);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(form1->Label19->text().isEmpty());
    ASSERT_EQ(doubles.messages.shown().size(), 1);
    EXPECT_TRUE(doubles.messages.shown()[0].contains("belegt.kon"))
        << doubles.messages.shown()[0].toStdString();
}

TEST_F(ProjectFilesWindow, SaveMarksTheListsInUseFromTheirFirstEntries)
{
    struct Case
    {
        bool heatingEntry, coolingEntry;
        bool heatingBefore, coolingBefore;
        bool heatingAfter, coolingAfter;
    };
    // Only set, never cleared.
    const Case cases[] = {
        {true, false, false, false, true, false},
        {false, true, false, false, false, true},
        {false, false, true, true, true, true},
    };
    newProject();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heatingEntry << c.coolingEntry << c.heatingBefore);
        session->Project.HeatingEntries[0].InUse = c.heatingEntry;
        session->Project.CoolingEntries[0].InUse = c.coolingEntry;
        session->Project.HeatingInUse = c.heatingBefore;
        session->Project.CoolingInUse = c.coolingBefore;
        const QString path = tempPath("inuse.kon");
        doubles.dialogs.answerSave(path);

        ASSERT_TRUE(form1->Speichern1Click());

        const ProjectRecord saved = decodeImage(readBytes(path));
        EXPECT_EQ(saved.HeatingInUse, c.heatingAfter);
        EXPECT_EQ(saved.CoolingInUse, c.coolingAfter);
    }
}

TEST_F(ProjectFilesWindow, CommandLineModeSavesToTheRejoinedPathWithoutADialog)
{
    const QString folder = tempPath("Neuer Ordner");
    ASSERT_TRUE(QDir().mkpath(folder));
    createWindow({folder + "/Raum", "A.kon", "-x", "7", "ende"});
    const QString expected = folder + "/Raum A.kon";
    ASSERT_TRUE(form1->commandLineProjectFile().has_value());
    EXPECT_EQ(form1->commandLineProjectFile()->toStdString(), expected.toStdString());
    EXPECT_EQ(technicalDataPath(*form1->commandLineProjectFile()).toStdString(),
              (folder + "/techdaten.kon").toStdString());

    newProject();
    form1->Edit15->setText("Kommandozeile");
    form1->Speichern1->trigger();

    EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
    EXPECT_TRUE(session->ProjectSaved);
    const ProjectRecord saved = decodeImage(readBytes(expected));
    EXPECT_EQ(saved.Title.text(), "Kommandozeile");
    EXPECT_EQ(form1->Label19->text().toStdString(), (text(36) + "  Raum A.kon").toStdString());
}

TEST_F(ProjectFilesWindow, RelativeCommandLinePathIsTakenFromTheStartFolder)
{
    // The program moves into its data folder at start; the project named relative to the folder
    // it was started from must not land among the installation's files.
    const QString folder = tempPath("Start");
    ASSERT_TRUE(QDir().mkpath(folder));
    createWindow({"Raum", "B.kon", "a", "b", "c"}, folder);
    ASSERT_TRUE(form1->commandLineProjectFile().has_value());
    EXPECT_EQ(form1->commandLineProjectFile()->toStdString(), (folder + "/Raum B.kon").toStdString());
}

TEST_F(ProjectFilesWindow, EnteredProjectDataSurviveSaveAndLoad)
{
    newProject();
    const QString title = QString::fromUtf8("Bürogebäude Nordring, 3. Obergeschoss, Westflügel mit Anbau");
    ASSERT_GT(title.size(), 50);
    typeInto(form1->Edit15, title);
    QTest::keyClicks(form1->Edit16, "P-2025-0042");
    form1->Edit17->clear();
    QTest::keyClicks(form1->Edit17, "01.02.2026");
    QLineEdit* const dataEdits[] = {form1->Edit18, form1->Edit19, form1->Edit20, form1->Edit21,
                                    form1->Edit22, form1->Edit23, form1->Edit24};
    for (int i = 0; i < 7; ++i)
        typeInto(dataEdits[i], QString("Angabe %1 äöü").arg(i + 1));
    for (int i = 1; i <= 30; ++i) {
        QTest::keyClicks(form1->Memo1, QString("Bemerkung %1").arg(i));
        if (i < 30)
            QTest::keyClick(form1->Memo1, Qt::Key_Return);
    }
    const QString plan = tempPath("Grundriss 1.OG.pdf");
    const QString heatLoad = tempPath("Heizlast.xls");
    doubles.dialogs.answerOpen(plan).answerOpen(heatLoad);
    form1->Add1->click();
    form1->Add1->click();

    const QString path = tempPath("runde.kon");
    doubles.dialogs.answerSave(path);
    form1->Speichern1->trigger();
    ASSERT_TRUE(session->ProjectSaved);

    newProject();
    ASSERT_TRUE(form1->Edit15->text().isEmpty());
    load(path);

    const ProjectRecord& p = session->Project;
    EXPECT_EQ(QString::fromStdString(p.Title.text()).toStdString(), title.left(50).toStdString());
    EXPECT_EQ(form1->Edit15->text().toStdString(), title.left(50).toStdString());
    EXPECT_EQ(form1->Edit16->text().toStdString(), "P-2025-0042");
    EXPECT_EQ(form1->Edit17->text().toStdString(), "01.02.2026");
    for (int i = 0; i < 7; ++i) {
        const std::string expected = QString("Angabe %1 äöü").arg(i + 1).toStdString();
        EXPECT_EQ(p.DataLines[static_cast<std::size_t>(i)].text(), expected);
        EXPECT_EQ(dataEdits[i]->text().toStdString(), expected);
    }
    const QStringList memo = form1->Memo1->toPlainText().split('\n');
    ASSERT_EQ(memo.size(), 25);
    EXPECT_EQ(memo.front().toStdString(), "Bemerkung 1");
    EXPECT_EQ(memo.back().toStdString(), "Bemerkung 25");
    EXPECT_EQ(p.RemarkLines[24].text(), "Bemerkung 25");
    ASSERT_EQ(form1->ListBox2->count(), 2);
    EXPECT_EQ(form1->ListBox2->item(0)->text(), plan);
    EXPECT_EQ(form1->ListBox2->item(1)->text(), heatLoad);
    EXPECT_TRUE(p.Attachments[2].empty());
    EXPECT_EQ(form1->run1->text().toStdString(), "Heizlast.xls");
}

TEST_F(ProjectFilesWindow, SavingALoadedProjectReproducesItsFileByteForByte)
{
    const QByteArray sample = sampleImage();
    doubles.messages.expect(MessageKind::Information, text(213));
    load(writeProjectFile("original.kon", sample));
    const QString copy = tempPath("kopie.kon");
    doubles.dialogs.answerSave(copy);

    form1->Speichern1->trigger();

    EXPECT_EQ(readBytes(copy), sample);
}

} // namespace
} // namespace tepa::test
