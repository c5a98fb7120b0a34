// Loading and saving project files: the main window's Load and Save commands.
#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "core/model/AtomicFile.h"
#include "core/model/ProjectCodec.h"
#include "core/model/ProjectFile.h"
#include "core/reports/TechnicalData.h"
#include "project/ControlAccess.h"
#include "project/ProjectPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>

#include <filesystem>

namespace tepa {
namespace {

constexpr const char* OpenDialogTitle = "Konvektor-Dateien:  *.kon  /  *.orv";
// Files of the older ".orv" kind have the same layout and load the same way.
constexpr const char* OpenDialogFilter = "Konvektor-Dateien (*.kon *.orv);;Alle Dateien (*)";
constexpr const char* SaveDialogFilter = "Konvektor-Dateien (*.kon)";
constexpr const char* ProjectFileSuffix = "kon";

// Interface text lines of the save checks.
constexpr std::size_t NamedLikeTechnicalDataTextLine = 281;
constexpr std::size_t OpenElsewhereTextLine = 282;
constexpr std::size_t SaveRefusedOpenElsewhereTextLine = 283;

// The lock beside a project file: hidden, named after it.
QString lockFileFor(const QString& file)
{
    const QFileInfo info(file);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
}

QString sameFileKey(const QString& file)
{
    return QFileInfo(file).absoluteFilePath();
}

// Interface texts of the file commands.
constexpr std::size_t FileStatusText = 36;
constexpr std::size_t RoomDataChangedText = 117;
constexpr std::size_t SaveQuestionText = 121;
constexpr std::size_t BothModesText = 213;
constexpr std::size_t HeatingOnlyText = 214;
constexpr std::size_t CoolingOnlyText = 215;
constexpr std::size_t TechnicalDataFileText = 270;

// A name the load dialog lists: one ending in ".kon" or ".orv". Any other name gets ".kon", also
// one with a dot of its own ("Büro 1.12"), which the dialog would take for an extension.
QString withProjectSuffix(const QString& file)
{
    if (file.endsWith(QStringLiteral(".kon"), Qt::CaseInsensitive) ||
        file.endsWith(QStringLiteral(".orv"), Qt::CaseInsensitive))
        return file;
    return file + QStringLiteral(".kon");
}

// The technical data file lies beside the projects under a project's extension; its start tells
// it apart from a project file.
bool holdsTechnicalData(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = in.read(256);
    return isTechnicalDataImage(std::string_view(start.constData(), static_cast<std::size_t>(start.size())));
}

std::filesystem::path toPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// The status line under the panels: which file the project in memory belongs to, yellow when
// it was loaded from it, green when it was saved to it.
void showFileStatus(QLabel* status, const QString& prefix, const QString& file, const QColor& colour)
{
    if (!status)
        return;
    status->setText(prefix + QStringLiteral("  ") + fileNamePart(file));
    controls::setBackground(status, colour);
    status->show();
}

} // namespace

void TForm1::Laden1Click()
{
    // The project in memory is replaced: what was typed is asked for first.
    if (!mayReplaceProject())
        return;
    m_session.ProjectTouched = false;
    m_session.CoolingRoomTempLoaded = true;
    platform::FileDialogRequest request;
    request.title = QString::fromUtf8(OpenDialogTitle);
    request.filter = QString::fromUtf8(OpenDialogFilter);
    request.defaultSuffix = QString::fromUtf8(ProjectFileSuffix);
    request.initialDir = QString::fromStdU16String(m_session.ProjectDir.u16string());
    const std::optional<QString> file = m_services.dialogs.openFile(request);
    makeProgramDirCurrent(m_session.ProgramDir);
    if (!file)
        return;
    loadProject(*file);
}

bool TForm1::loadProject(const QString& file)
{
    if (holdsTechnicalData(file)) {
        m_services.messages.showMessage(text(TechnicalDataFileText) + QLatin1Char('\n') + fileNamePart(file));
        return false;
    }
    // Decoded into a record of its own first: a file too short for a record, or one that
    // cannot be read, leaves the project in memory as it was.
    Result<ProjectRecord> loaded = loadProjectFile(toPath(file));
    if (!loaded) {
        if (loaded.error() == LoadingErrorMessage)
            m_services.messages.showMessage(QString::fromUtf8(LoadingErrorMessage));
        else
            m_services.messages.showError(QString::fromStdString(loaded.error()));
        return false;
    }
    m_session.ProjectTouched = false;
    m_session.CoolingRoomTempLoaded = true;
    m_session.Project = std::move(loaded).value();
    holdProjectFile(file);

    showFileStatus(Label19, text(FileStatusText), file, Qt::yellow);

    // Both lists start at their first entry: an index left from the project before could lie
    // beyond the loaded counts. An entry the calculation window was adding belonged to that
    // project too; closing the window must not take it from the loaded list.
    m_session.HeatingEntryIndex = 1;
    m_session.CoolingEntryIndex = 1;
    m_session.EntryBeingAdded = false;
    // A heating list whose only entry was deleted is saved with no entries: the first entry
    // chosen in it again is counted as right after that delete.
    m_session.EntryDeleted = m_session.Project.HeatingEntryCount == 0;
    clearCalculationList();
    controls::setEnabled(Projektdaten1, true);
    controls::setEnabled(Raumdaten1, true);
    controls::setEnabled(Berechnungen1, false);

    controls::setEnabled(RadioButton1, true);
    controls::setEnabled(RadioButton2, true);
    controls::setEnabled(RadioButton3, true);
    controls::setEnabled(RadioButton4, true);
    controls::setVisible(ListBox1, false);

    // The room data open in the mode the project was made in; a project of one mode only
    // cannot be switched to the other. CoolingMode follows HeatingMode so that the two never
    // both hold.
    const ProjectRecord& project = m_session.Project;
    if (project.HeatingInUse != project.CoolingInUse) {
        m_session.HeatingMode = project.HeatingInUse;
        m_session.CoolingMode = project.CoolingInUse;
    }
    // The mode and dual-use buttons follow the loaded project, not the one before: showing the
    // room data takes the dual-use flag of the mode from them.
    if (RadioButton1 && RadioButton2 && RadioButton3 && RadioButton4) {
        (m_session.HeatingMode ? RadioButton1 : RadioButton2)->setChecked(true);
        const bool dualUse = m_session.HeatingMode ? project.HeatingDualUse : project.CoolingDualUse;
        (dualUse ? RadioButton3 : RadioButton4)->setChecked(true);
    }
    m_session.HeatingDualUseOn = false;
    m_session.CoolingDualUseOn = false;

    m_session.ProjectLoaded = true;
    RecordToRoomData();
    RecordToProjectData();
    m_session.CentreReturnTemp = false;
    if (m_form2)
        m_form2->hideNominalRating();
    controls::setEnabled(Konvliste, true);
    controls::setEnabled(Drucken1, true);
    m_session.ResetChangeFlags();

    if (project.HeatingInUse && project.CoolingInUse) {
        m_services.messages.showInformation(text(BothModesText));
    } else if (project.HeatingInUse) {
        controls::setEnabled(RadioButton2, false);
        m_services.messages.showInformation(text(HeatingOnlyText));
    } else if (project.CoolingInUse) {
        controls::setEnabled(RadioButton1, false);
        m_services.messages.showInformation(text(CoolingOnlyText));
    }

    // The command ends with the project data panel open on the loaded data. The panel command
    // toggles, so a panel left open before the load is closed first.
    controls::setVisible(GroupBox1, false);
    Projektdaten1Click();
    m_session.markProjectClean();
    updateModifiedMarker();
    return true;
}

void TForm1::openCommandLineProject()
{
    const std::optional<QString> file = commandLineProjectFile();
    if (!file)
        return;
    // A calling program hands over the project it wants computed: an existing one is opened as
    // the load command would, a missing one is started new and created by the first save.
    if (QFileInfo(*file).isFile() && loadProject(*file))
        return;
    m_commandLineFileUnread = QFileInfo::exists(*file);
    Neu1Click();
}

bool TForm1::Speichern1Click()
{
    // Room data changed since the last calculation run would be saved with results that no
    // longer belong to them.
    // A room value typed and not yet left is checked as leaving it would.
    checkTypedRoomData();
    if (m_session.DemandChanged || m_session.FlowTempChanged || m_session.RoomTempChanged) {
        m_services.messages.showMessage(text(RoomDataChangedText));
        return false;
    }

    ProjectRecord& project = m_session.Project;
    if (project.HeatingEntries[0].InUse)
        project.HeatingInUse = true;
    if (project.CoolingEntries[0].InUse)
        project.CoolingInUse = true;
    ProjectDataToRecord();

    QString file;
    if (const std::optional<QString> named = commandLineProjectFile()) {
        file = *named;
        // A file there that could not be read at start may be someone's work: it is replaced
        // only when the planner says so.
        if (m_commandLineFileUnread && QFileInfo::exists(file) &&
            !m_services.messages.askYesNo(text(SaveQuestionText) + QLatin1Char('\n') + file))
            return false;
        if (!saveCommandLineFiles(file))
            return false;
    } else {
        platform::FileDialogRequest request;
        request.filter = QString::fromUtf8(SaveDialogFilter);
        request.defaultSuffix = QString::fromUtf8(ProjectFileSuffix);
        // A loaded or saved project is offered under its own name.
        request.initialDir = m_projectFile.isEmpty() ? QString::fromStdU16String(m_session.ProjectDir.u16string())
                                                     : QFileInfo(m_projectFile).absolutePath();
        if (!m_projectFile.isEmpty())
            request.fileName = QFileInfo(m_projectFile).fileName();
        const std::optional<QString> chosen = m_services.dialogs.saveFile(request);
        makeProgramDirCurrent(m_session.ProgramDir);
        if (!chosen)
            return false;
        file = withProjectSuffix(*chosen);
        // Two instances saving one file would each overwrite the other's work unseen.
        if (lockedByOtherInstance(file)) {
            m_services.messages.showMessage(text(SaveRefusedOpenElsewhereTextLine) + QLatin1Char('\n') + file);
            return false;
        }
        const Status saved = saveProjectFile(toPath(file), project);
        if (!saved) {
            m_services.messages.showError(QString::fromStdString(saved.error()));
            return false;
        }
        holdProjectFile(file);
    }

    showFileStatus(Label19, text(FileStatusText), file, Qt::green);
    m_commandLineFileUnread = false;
    m_session.markProjectClean();
    updateModifiedMarker();
    return true;
}

std::optional<QString> TForm1::commandLineProjectFile() const
{
    const std::optional<QString> named = projectFileFromArguments(m_options.arguments);
    if (!named || m_options.startDirectory.isEmpty())
        return named;
    return QDir(m_options.startDirectory).absoluteFilePath(*named);
}

std::filesystem::path TForm1::commandLineProjectPath() const
{
    // The bytes stand for the same arguments unless the application took some of its own out.
    const bool bytesMatch = m_options.argumentBytes.size() == static_cast<std::size_t>(m_options.arguments.size());
    std::filesystem::path named;
    if (const auto fromBytes = projectPathFromArguments(m_options.argumentBytes); bytesMatch && fromBytes)
        named = *fromBytes;
    else if (const std::optional<QString> file = projectFileFromArguments(m_options.arguments))
        named = toPath(*file);
    if (named.is_relative() && !m_options.startDirectory.isEmpty())
        named = toPath(m_options.startDirectory) / named;
    return named;
}

// Command-line mode is how another program has a project computed and collects its results: it
// names the project file and reads the technical data file written beside it. A technical data
// file that is present and new must therefore belong to a saved project: both files are written
// completely first, then the project takes its place, and only then the technical data file.
bool TForm1::saveCommandLineFiles(const QString& shownName)
{
    const std::filesystem::path projectFile = commandLineProjectPath();
    const std::filesystem::path dataFile = technicalDataFileFor(projectFile);
    std::error_code ec;
    if (projectFile.filename() == dataFile.filename() ||
        std::filesystem::equivalent(resolveWriteTarget(projectFile), resolveWriteTarget(dataFile), ec)) {
        m_services.messages.showMessage(text(NamedLikeTechnicalDataTextLine) + QLatin1Char('\n') + shownName);
        return false;
    }
    const auto fail = [this](const std::string& error) {
        m_services.messages.showError(QString::fromStdString(error));
        return false;
    };
    Result<PendingFile> data = PendingFile::create(dataFile);
    if (!data)
        return fail(data.error());
    if (Status written = data->write(TechnicalDataBytes(m_session.Project)); !written)
        return fail(written.error());
    Result<PendingFile> project = PendingFile::create(projectFile);
    if (!project)
        return fail(project.error());
    const std::vector<std::byte> image = ProjectCodec::encode(m_session.Project);
    if (Status written = project->write({reinterpret_cast<const char*>(image.data()), image.size()}); !written)
        return fail(written.error());
    if (Status committed = project->commit(); !committed)
        return fail(committed.error());
    if (Status committed = data->commit(); !committed)
        return fail(committed.error());
    return true;
}

void TForm1::holdProjectFile(const QString& file)
{
    if (!m_projectFile.isEmpty() && sameFileKey(m_projectFile) == sameFileKey(file) && m_projectLock &&
        m_projectLock->isLocked())
        return;
    releaseProjectFile();
    m_projectFile = file;
    auto lock = std::make_unique<QLockFile>(lockFileFor(file));
    // The lock lasts while this program runs; one left by a program that died is taken over.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_projectLock = std::move(lock);
        return;
    }
    if (lock->error() == QLockFile::LockFailedError)
        m_services.messages.showMessage(text(OpenElsewhereTextLine) + QLatin1Char('\n') + file);
}

void TForm1::releaseProjectFile()
{
    m_projectLock.reset();
    m_projectFile.clear();
}

bool TForm1::lockedByOtherInstance(const QString& file) const
{
    if (m_projectLock && m_projectLock->isLocked() && sameFileKey(m_projectFile) == sameFileKey(file))
        return false;
    QLockFile probe(lockFileFor(file));
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}

} // namespace tepa
