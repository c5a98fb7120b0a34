// Peak resident memory over a scripted design session with the real windows, offscreen: the
// program's start as main() does it, the sample project loaded, the calculation window opened,
// the operating-point sliders moved over their whole range, the room filled to its twelve
// heating entries, the window closed and the convector list built. Prints the resident memory
// after start and the peak (getrusage ru_maxrss) at the end; exits 1 when a step did not happen,
// so a broken script cannot pass for a small figure.
#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "core/productdata/DataFolder.h"
#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

// A control of the calculation window by its name.
template <class W> W* control(const QObject& window, const char* name)
{
    return window.findChild<W*>(QString::fromLatin1(name));
}

using namespace tepa;

// Services without boxes or dialogs: every question is answered No, the open dialog names the
// sample project, the settings hold a working directory in a temporary folder.
struct ScriptedPlatform : platform::Settings, platform::Messages, platform::FileDialogs, platform::Shell
{
    QString workDir;
    QString projectFile;

    bool open() override { return true; }
    std::optional<QString> readString(const QString&) override { return workDir; }
    bool writeString(const QString&, const QString&) override { return true; }
    void close() override {}
    void showMessage(const QString&) override {}
    void showInformation(const QString&) override {}
    bool askYesNo(const QString&) override { return false; }
    void showError(const QString& text) override
    {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
    }
    std::optional<QString> openFile(const platform::FileDialogRequest&) override { return projectFile; }
    std::optional<QString> saveFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    bool open(const QString&) override { return false; }
};

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss; // KiB on Linux
}

int fail(const char* step)
{
    std::fprintf(stderr, "session step failed: %s\n", step);
    return 1;
}

// Every position of a slider, there and back, each running its handler.
void sweep(QScrollBar* slider)
{
    for (int v = slider->minimum(); v <= slider->maximum(); ++v)
        slider->setValue(v);
    for (int v = slider->maximum(); v >= slider->minimum(); --v)
        slider->setValue(v);
    QCoreApplication::processEvents();
}

void pick(QListWidget* list, int row)
{
    list->setCurrentRow(row);
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("ORVA TEPA"));

    QTemporaryDir temp;
    if (!temp.isValid())
        return fail("temporary folder");
    const std::filesystem::path dataDir = findDataFolder(
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()), TEPA_SOURCE_DATA_DIR);
    ScriptedPlatform platform;
    platform.workDir = temp.filePath(QStringLiteral("work"));
    platform.projectFile = QString::fromStdU16String((dataDir / "Beispiel.kon").u16string());
    const platform::Services services{platform, platform, platform, platform};

    Session session;
    TForm1 form1(session, services, {dataDir, {}, QDir::currentPath()});
    TForm2 form2(session, services, &form1);
    form1.setCalculationWindow(&form2);
    form2.setAttribute(Qt::WA_QuitOnClose, false);
    form1.show();
    QCoreApplication::processEvents();
    if (session.InterfaceTexts.size() == 0)
        return fail("start-up: interface texts");
    const long afterStart = residentKiB();

    form1.Laden1Click();
    QCoreApplication::processEvents();
    if (!session.ProjectLoaded)
        return fail("load the sample project");

    form1.Raumdaten1Click();
    form1.Berechnungen1Click();
    QCoreApplication::processEvents();
    if (form2.isHidden())
        return fail("open the calculation window");

    for (QScrollBar* slider :
         {control<QScrollBar>(form2, "ScrollBar1"), control<QScrollBar>(form2, "ScrollBar2"),
          control<QScrollBar>(form2, "ScrollBar3")})
        sweep(slider);

    // Fill the room: each new entry gets a type of the list, its first length and height.
    int added = 0;
    while (session.Project.HeatingEntryCount < 12) {
        control<QPushButton>(form2, "Erweitern")->click();
        if (!session.EntryBeingAdded)
            return fail("add an entry");
        // Free and fan convectors by turns, from the window's type menu.
        (added % 2 ? control<QAction>(form2, "FreieZwangsKonv1")
                   : control<QAction>(form2, "FreieKonvektion1"))
            ->trigger();
        if (control<QListWidget>(form2, "ListBox1")->count() == 0)
            return fail("type list");
        pick(control<QListWidget>(form2, "ListBox1"),
             added % control<QListWidget>(form2, "ListBox1")->count());
        form2.ListBox1Click();
        if (control<QListWidget>(form2, "ListBox3")->count() == 0)
            return fail("lengths of the chosen type");
        pick(control<QListWidget>(form2, "ListBox3"), 0);
        form2.ListBox3Click();
        if (control<QListWidget>(form2, "ListBox4")->count() > 0) {
            pick(control<QListWidget>(form2, "ListBox4"), 0);
            form2.ListBox4Click();
        }
        if (!control<QPushButton>(form2, "Konweiter")->isEnabled())
            return fail("continue with the chosen type");
        control<QPushButton>(form2, "Konweiter")->click();
        sweep(control<QScrollBar>(form2, "ScrollBar1"));
        ++added;
    }
    if (control<QListWidget>(form2, "ListBox2")->count() < 12)
        return fail("room list of twelve entries");

    control<QAction>(form2, "Schliessen1")->trigger();
    QCoreApplication::processEvents();
    form1.KonvlisteClick();
    QCoreApplication::processEvents();

    std::printf("entries added: %d, room list lines: %d\n", added,
                control<QListWidget>(form2, "ListBox2")->count());
    std::printf("resident after start: %.1f MiB\n", afterStart / 1024.0);
    std::printf("peak resident over the session: %.1f MiB\n", peakResidentKiB() / 1024.0);
    return 0;
}
