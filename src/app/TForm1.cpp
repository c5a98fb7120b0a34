// Start-up, the window frame with its menus, and exit of the main window.
#include "app/TForm1.h"

#include "app/Mnemonics.h"
#include "calcwindow/TForm2.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QTemporaryFile>

namespace tepa {
namespace {

// Interface texts of the working folder.
constexpr std::size_t WorkDirMissingText = 153;
constexpr std::size_t ProjectDirFailedText = 154;
constexpr std::size_t TmpDirFailedText = 155;
constexpr std::size_t ChangeWorkDirText = 271;
constexpr std::size_t RefusedWorkDirText = 272;
constexpr std::size_t SaveQuestionText = 121;

constexpr int WindowWidth = 801;
constexpr int WindowHeight = 611;
const QString WorkDirValueName = QStringLiteral("Arbeitsverzeichnis");
const char* const BackgroundFile = "background.jpg";

QString toQString(const std::filesystem::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

std::filesystem::path toPath(const QString& text)
{
    return std::filesystem::path(text.toStdU16String());
}

bool holdsInterfaceTexts(const std::filesystem::path& dir)
{
    return QFileInfo::exists(toQString(dir / InterfaceTexts::FileName));
}

// The folder the program reads its texts, product data and pictures from. A planner who keeps
// an installation of his own starts the program in it; otherwise the installed data are used,
// so the program can be started from any folder.
std::filesystem::path programDirectory(const std::filesystem::path& installedDataDir)
{
    const QString current = QDir::currentPath();
    if (holdsInterfaceTexts(toPath(current)) || installedDataDir.empty())
        return toPath(current);
    return installedDataDir;
}

// Without a trailing separator (a root folder keeps its own).
std::filesystem::path withoutTrailingSeparator(const std::filesystem::path& dir)
{
    return toPath(QDir::cleanPath(toQString(dir)));
}

// Where the projects go when the planner names no folder.
QString defaultWorkDir()
{
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\ORVA");
#else
    return QDir(QDir::homePath()).filePath(QStringLiteral("ORVA"));
#endif
}

// True when the folder exists afterwards.
bool ensureFolder(const QString& dir)
{
    QDir().mkpath(dir);
    return QFileInfo(dir).isDir();
}

// The exit key: the platform's quit key, Ctrl+Q where the platform has none. Never Ctrl+Z,
// which planners press to undo.
QKeySequence quitKey()
{
    const QKeySequence platformKey(QKeySequence::Quit);
    return platformKey.isEmpty() ? QKeySequence(Qt::CTRL | Qt::Key_Q) : platformKey;
}

// The folder as an absolute path with symbolic links resolved where it exists.
QString resolvedFolder(const QString& dir)
{
    const QFileInfo info(dir);
    const QString canonical = info.canonicalFilePath();
    return QDir::cleanPath(canonical.isEmpty() ? info.absoluteFilePath() : canonical);
}

bool isSameOrInside(const QString& dir, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return dir == folder ||
           dir.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

QAction* addItem(QMenu* menu, const char* name, const QKeySequence& shortcut = {})
{
    auto* action = menu->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    return action;
}

QMenu* addSubmenu(QWidget* owner, QMenu* parentMenu, const char* name)
{
    auto* menu = new QMenu(QString::fromLatin1(name), owner);
    menu->setObjectName(QString::fromLatin1(name));
    parentMenu->addMenu(menu);
    return menu;
}

QAction* addBarItem(QMenuBar* bar, const char* name)
{
    auto* action = bar->addAction(QString::fromLatin1(name));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Caption-less menu bar items that only make room, so the help menu stands far to the right.
void addSpacers(QMenuBar* bar, int count)
{
    for (int i = 0; i < count; ++i) {
        auto* spacer = bar->addAction(QString());
        spacer->setEnabled(false);
    }
}

// Captions of controls that may not have been built (a window may be tested without them).
void setCaption(QMenu* menu, const QString& text)
{
    if (menu)
        menu->setTitle(text);
}

void setCaption(QAction* action, const QString& text)
{
    if (action)
        action->setText(text);
}

void setCaption(QLabel* label, const QString& text)
{
    if (label)
        label->setText(text);
}

void setCaption(QGroupBox* box, const QString& text)
{
    if (box)
        box->setTitle(text);
}

void setCaption(QAbstractButton* button, const QString& text)
{
    if (button)
        button->setText(text);
}

void hideIfBuilt(QWidget* widget)
{
    if (widget)
        widget->hide();
}

} // namespace

TForm1::TForm1(Session& session, platform::Services services, StartOptions options, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_services(services)
    , m_options(std::move(options))
{
    setObjectName(QStringLiteral("Form1"));
    // "[*]" is where the title shows that the project has unsaved changes.
    setWindowTitle(QStringLiteral("ORVA TEPA[*]"));
    QFont windowFont;
    // Fonts of fonts-dejavu-core, which the program depends on, so the captions measure alike on
    // every installation.
    windowFont.setFamily(QStringLiteral("DejaVu Sans"));
    windowFont.setPixelSize(11);
    windowFont.setBold(true);
    setFont(windowFont);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, windowPalette.color(QPalette::Button));
    setPalette(windowPalette);

    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(central);

    // The background picture belongs to the window; it comes with the installation, so it is
    // looked up where the other data files are. Without it the window stays plain.
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setScaledContents(true);
    for (const auto& dir : {programDirectory(m_options.installedDataDir), m_options.installedDataDir}) {
        QPixmap background;
        if (!dir.empty() && background.load(toQString(dir / BackgroundFile))) {
            Image1->setPixmap(background);
            break;
        }
    }

    buildMenus();

    ListBox1 = new QListWidget(central);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    QFont listFont;
    listFont.setFamily(QStringLiteral("DejaVu Sans Mono"));
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPixelSize(13);
    listFont.setBold(true);
    ListBox1->setFont(listFont);
    ListBox1->setGeometry(80, 40, 385, 161);
    ListBox1->setStyleSheet(QStringLiteral("QListWidget { background-color: rgb(221, 215, 208); }"
                                           " QListWidget::item { height: 16px; }"));
    ListBox1->hide();
    connect(ListBox1, &QListWidget::itemClicked, this, &TForm1::ListBox1Click);

    Label12 = new QLabel(central);
    Label12->setObjectName(QStringLiteral("Label12"));
    Label12->setGeometry(16, 540, 500, 18);

    Label19 = new QLabel(central);
    Label19->setObjectName(QStringLiteral("Label19"));
    Label19->setGeometry(16, 562, 560, 18);
    Label19->setAutoFillBackground(true);
    Label19->hide();

    GroupBox4 = new QGroupBox(central);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    GroupBox4->setGeometry(560, 380, 225, 150);
    GroupBox4->hide();

    buildProjectDataPanel();
    buildRoomDataPanel();
    buildInfoBox();
    Image1->lower();

    resize(WindowWidth, WindowHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Centred, but never with the title bar above or left of the screen.
        const QRect available = screen->availableGeometry();
        QRect placed(QPoint(0, 0), frameGeometry().size());
        placed.moveCenter(available.center());
        move(std::max(placed.left(), available.left()), std::max(placed.top(), available.top()));
    }

    FormCreate();
}

TForm1::~TForm1()
{
    // A focused edit reports the end of its editing while the window is torn down; by then the
    // handlers would work on a half-destroyed window.
    for (auto* edit : findChildren<QLineEdit*>())
        QObject::disconnect(edit, nullptr, this, nullptr);
    for (auto* memo : findChildren<QPlainTextEdit*>())
        QObject::disconnect(memo, nullptr, this, nullptr);
}

void TForm1::buildMenus()
{
    QMenuBar* bar = menuBar();
    keepMnemonics(bar);

    Projekt1 = new QMenu(QStringLiteral("Projekt1"), this);
    Projekt1->setObjectName(QStringLiteral("Projekt1"));
    bar->addMenu(Projekt1);
    Neu1 = addItem(Projekt1, "Neu1", QKeySequence(Qt::CTRL | Qt::Key_N));
    Laden1 = addItem(Projekt1, "Laden1", QKeySequence(Qt::CTRL | Qt::Key_L));
    Speichern1 = addItem(Projekt1, "Speichern1", QKeySequence(Qt::CTRL | Qt::Key_S));
    Projekt1->addSeparator();
    Arbeitsverzeichnis1 = addItem(Projekt1, "Arbeitsverzeichnis1");
    Arbeitsverzeichnis1->setText(QStringLiteral("Arbeitsverzeichnis ..."));
    Projekt1->addSeparator();
    Programmbeenden1 = addItem(Projekt1, "Programmbeenden1", quitKey());

    Drucken1 = new QMenu(QStringLiteral("Drucken1"), this);
    Drucken1->setObjectName(QStringLiteral("Drucken1"));
    bar->addMenu(Drucken1);
    Konlistedrucken = addSubmenu(this, Drucken1, "Konlistedrucken");
    normal1 = addItem(Konlistedrucken, "normal1");
    Orvapapier1 = addItem(Konlistedrucken, "Orvapapier1");
    Berchdatendrucken = addSubmenu(this, Drucken1, "Berchdatendrucken");
    normal2 = addItem(Berchdatendrucken, "normal2");
    Orvapapier2 = addItem(Berchdatendrucken, "Orvapapier2");
    Drucken1->setEnabled(false);

    Konvliste = addBarItem(bar, "Konvliste");
    Konvliste->setEnabled(false);
    addSpacers(bar, 3);
    Projektdaten1 = addBarItem(bar, "Projektdaten1");
    Projektdaten1->setEnabled(false);
    addSpacers(bar, 1);
    Raumdaten1 = addBarItem(bar, "Raumdaten1");
    Raumdaten1->setEnabled(false);
    addSpacers(bar, 1);
    Berechnungen1 = addBarItem(bar, "Berechnungen1");
    Berechnungen1->setEnabled(false);
    addSpacers(bar, 12);

    Hilfe2 = new QMenu(QStringLiteral("Hilfe2"), this);
    Hilfe2->setObjectName(QStringLiteral("Hilfe2"));
    bar->addMenu(Hilfe2);
    Info2 = addItem(Hilfe2, "Info2");
    Info2->setText(QStringLiteral("Info"));

    connect(Neu1, &QAction::triggered, this, &TForm1::Neu1Click);
    connect(Laden1, &QAction::triggered, this, &TForm1::Laden1Click);
    connect(Speichern1, &QAction::triggered, this, &TForm1::Speichern1Click);
    connect(Programmbeenden1, &QAction::triggered, this, &TForm1::Programmbeenden1Click);
    connect(Arbeitsverzeichnis1, &QAction::triggered, this, &TForm1::Arbeitsverzeichnis1Click);
    connect(Konvliste, &QAction::triggered, this, &TForm1::KonvlisteClick);
    connect(Projektdaten1, &QAction::triggered, this, &TForm1::Projektdaten1Click);
    connect(Raumdaten1, &QAction::triggered, this, &TForm1::Raumdaten1Click);
    connect(Berechnungen1, &QAction::triggered, this, &TForm1::Berechnungen1Click);
    connect(Info2, &QAction::triggered, this, &TForm1::Info2Click);
    // The paper choice is taken by the print command that follows it.
    connect(normal1, &QAction::triggered, this, &TForm1::normal1Click);
    connect(Orvapapier1, &QAction::triggered, this, &TForm1::Orvapapier1Click);
    connect(normal2, &QAction::triggered, this, &TForm1::normal2Click);
    connect(Orvapapier2, &QAction::triggered, this, &TForm1::Orvapapier2Click);
}

void TForm1::FormCreate()
{
    // Attachment paths are long; the list always offers to scroll sideways.
    if (ListBox2)
        ListBox2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // The data files, the type index and the pictures are read relative to the current
    // directory, and the file commands take the program directory from it again; so the
    // program directory is made current.
    m_session.ProgramDir = withoutTrailingSeparator(programDirectory(m_options.installedDataDir));
    QDir::setCurrent(toQString(m_session.ProgramDir));

    auto texts = InterfaceTexts::load(m_session.ProgramDir);
    m_texts.clear();
    if (texts) {
        m_session.InterfaceTexts = std::move(texts).value();
        for (const auto& line : m_session.InterfaceTexts.lines())
            m_texts.push_back(QString::fromStdString(line));
        setCaptions();
    } else {
        // The window keeps its design captions; the program stays usable enough to be ended.
        m_session.InterfaceTexts = {};
        m_services.messages.showError(QString::fromStdString(texts.error()));
    }

    m_session.markProjectClean();
    m_session.ProjectTouched = false;
    m_session.CoolingMode = false;
    m_session.HeatingMode = true;
    m_session.ProjectLoaded = false;
    m_session.ProjectDataShown = false;
    m_session.RoomDataShown = false;

    establishWorkingDirectory();

    hideIfBuilt(GroupBox1);
    hideIfBuilt(GroupBox2);
    hideIfBuilt(GroupBox3);
    hideIfBuilt(GroupBox4);
    hideIfBuilt(Panel1);
}

void TForm1::setCaptions()
{
    setWindowTitle(text(0) + QStringLiteral("[*]"));
    setCaption(Projekt1, text(1));
    setCaption(Neu1, text(2));
    setCaption(Laden1, text(3));
    setCaption(Speichern1, text(4));
    setCaption(Hilfe2, text(6));
    setCaption(Projektdaten1, text(8));
    setCaption(Raumdaten1, text(9));
    setCaption(Label31, text(13));
    setCaption(Label30, text(14));
    setCaption(Drucken1, text(7));
    setCaption(Konvliste, text(28));
    setCaption(Konlistedrucken, text(29));
    setCaption(Berchdatendrucken, text(30));
    setCaption(GroupBox2, text(9));
    setCaption(Label8, text(25));
    setCaption(Label7, text(26));
    setCaption(Label9, text(27));
    setCaption(Label11, text(17));
    setCaption(Label26, text(15));
    setCaption(Label25, text(16));
    setCaption(Label28, text(18));
    setCaption(Label29, text(19));
    setCaption(Programmbeenden1, text(120));
    setCaption(Berechnungen1, text(139));
    setCaption(normal1, text(147));
    setCaption(normal2, text(147));
    setCaption(Orvapapier1, text(148));
    setCaption(Orvapapier2, text(148));
    setCaption(Label1, text(158));
    setCaption(Label3, text(159));
    setCaption(Label5, text(156));
    setCaption(Add1, text(157));
    setCaption(Del1, text(163));
    setCaption(RadioButton1, text(164));
    setCaption(RadioButton2, text(165));
    setCaption(Label6, text(31));
    setCaption(Label16, text(188));
    setCaption(Label15, text(190));
    setCaption(Label17, text(188));
    setCaption(Label13, text(185));
    setCaption(Label20, text(246));
    setCaption(Label14, text(90));
    setCaption(Label11, text(17));
    setCaption(RadioButton3, text(252));
    setCaption(RadioButton4, text(253));
    if (!text(ChangeWorkDirText).isEmpty())
        setCaption(Arbeitsverzeichnis1, text(ChangeWorkDirText));
    // The dual-use pair side by side, each as wide as its caption needs in the window's font.
    if (RadioButton3 && RadioButton4) {
        RadioButton3->resize(RadioButton3->sizeHint().width(), RadioButton3->height());
        RadioButton4->move(RadioButton3->geometry().right() + 12, RadioButton4->y());
        RadioButton4->resize(RadioButton4->sizeHint().width(), RadioButton4->height());
    }
}

void TForm1::establishWorkingDirectory()
{
    platform::Settings& settings = m_services.settings;
    settings.open();
    QString workDir;
    const auto stored = settings.readString(WorkDirValueName);
    // A blank value names no folder; taking it would put the project folders at the root. A
    // folder inside the installation (which an earlier version could store) is asked for again.
    if (stored && !stored->trimmed().isEmpty())
        workDir = QDir::cleanPath(QDir::fromNativeSeparators(*stored));
    if (workDir.isEmpty() ||
        isSameOrInside(resolvedFolder(workDir), resolvedFolder(toQString(m_session.ProgramDir)))) {
        m_services.messages.showMessage(text(WorkDirMissingText));
        // The proposal exists before the dialog opens, so the dialog can start in it.
        const QString proposed = defaultWorkDir();
        const bool created = !QFileInfo(proposed).exists() && QDir().mkpath(proposed);
        workDir.clear();
        platform::FileDialogRequest request;
        request.title = text(ChangeWorkDirText);
        request.initialDir = proposed;
        while (workDir.isEmpty()) {
            const auto chosen = m_services.dialogs.chooseDirectory(request);
            QDir::setCurrent(toQString(m_session.ProgramDir));
            if (!chosen) {
                workDir = proposed;
            } else if (const auto refusal = workDirRefusal(*chosen)) {
                m_services.messages.showMessage(*refusal);
            } else {
                workDir = QDir::cleanPath(*chosen);
            }
        }
        // An unused proposal is not left behind empty.
        if (created && resolvedFolder(workDir) != resolvedFolder(proposed))
            QDir().rmdir(proposed);
        settings.writeString(WorkDirValueName, QDir::toNativeSeparators(workDir));
    }
    settings.close();
    useWorkDir(workDir);
}

std::optional<QString> TForm1::workDirRefusal(const QString& dir) const
{
    const QString refused = text(RefusedWorkDirText) + QLatin1Char('\n') + QDir::toNativeSeparators(dir);
    // The installation is replaced by updates and, installed for all users, not writable.
    const QString folder = resolvedFolder(dir);
    for (const auto& installation : {m_session.ProgramDir, m_options.installedDataDir}) {
        if (!installation.empty() && isSameOrInside(folder, resolvedFolder(toQString(installation))))
            return refused;
    }
    const QString projectDir = QDir(dir).filePath(QStringLiteral("Projekte"));
    if (!ensureFolder(projectDir) || !ensureFolder(QDir(dir).filePath(QStringLiteral("tmp"))))
        return refused;
    QTemporaryFile probe(QDir(projectDir).filePath(QStringLiteral("probe-XXXXXX")));
    if (!probe.open())
        return refused;
    return std::nullopt;
}

void TForm1::useWorkDir(const QString& workDir)
{
    const QString projectDir = QDir(workDir).filePath(QStringLiteral("Projekte"));
    const QString tmpDir = QDir(workDir).filePath(QStringLiteral("tmp"));
    m_session.WorkDir = toPath(workDir);
    m_session.ProjectDir = toPath(projectDir);
    m_session.TmpDir = toPath(tmpDir);
    if (!ensureFolder(projectDir))
        m_services.messages.showMessage(text(ProjectDirFailedText));
    if (!ensureFolder(tmpDir))
        m_services.messages.showMessage(text(TmpDirFailedText));
}

void TForm1::Arbeitsverzeichnis1Click()
{
    platform::FileDialogRequest request;
    request.title = text(ChangeWorkDirText);
    request.initialDir = toQString(m_session.WorkDir);
    const auto chosen = m_services.dialogs.chooseDirectory(request);
    QDir::setCurrent(toQString(m_session.ProgramDir));
    if (!chosen)
        return;
    if (const auto refusal = workDirRefusal(*chosen)) {
        m_services.messages.showMessage(*refusal);
        return;
    }
    const QString workDir = QDir::cleanPath(*chosen);
    platform::Settings& settings = m_services.settings;
    settings.open();
    settings.writeString(WorkDirValueName, QDir::toNativeSeparators(workDir));
    settings.close();
    useWorkDir(workDir);
}

void TForm1::setCalculationWindow(TForm2* form2)
{
    if (m_form2)
        m_form2->removeEventFilter(this);
    m_form2 = form2;
    // Closing the calculation window writes its entry back into the project.
    if (m_form2)
        m_form2->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_form2 && event->type() == QEvent::Hide)
        updateModifiedMarker();
    return QMainWindow::eventFilter(watched, event);
}

bool TForm1::projectModified()
{
    if (m_session.projectModified() || projectDataTyped())
        return true;
    for (const auto* edit : {Edit1, Edit2, Edit3, Edit4, Edit6, Edit7, Edit9})
        if (edit && edit->isModified())
            return true;
    return false;
}

void TForm1::updateModifiedMarker()
{
    setWindowModified(projectModified());
}

bool TForm1::mayReplaceProject()
{
    storeTypedProjectData();
    checkTypedRoomData();
    if (!m_session.projectModified())
        return true;
    switch (m_services.messages.askYesNoCancel(text(SaveQuestionText))) {
    case platform::Answer::Yes:
        return Speichern1Click();
    case platform::Answer::No:
        return true;
    case platform::Answer::Cancel:
        break;
    }
    return false;
}

void TForm1::Programmbeenden1Click()
{
    // Cancel, or a Yes whose save did not happen, keeps the program open: quitting then would
    // lose exactly the work the planner asked to keep.
    if (!mayReplaceProject())
        return;
    m_quitting = true;
    QCoreApplication::quit();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_quitting || mayReplaceProject()) {
        m_quitting = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (Image1 && centralWidget())
        Image1->setGeometry(centralWidget()->rect());
}

const QString& TForm1::text(std::size_t line) const
{
    static const QString empty;
    return line < static_cast<std::size_t>(m_texts.size()) ? m_texts[static_cast<qsizetype>(line)] : empty;
}

} // namespace tepa
