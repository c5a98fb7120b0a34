// Random use of both windows: a seeded stream of menu commands, list picks, slider moves, typed
// text (garbage included), counts, buttons, list editing, damaged project files and saves, with the
// invariants checked after every event. A broken invariant names the seed and the event and shows
// the events before it, so the run can be replayed. The default run is four fixed seeds of 5000
// events; the environment changes that:
//   TEPA_MONKEY_SEED=n     run only Monkey.Replay, with this seed
//   TEPA_MONKEY_EVENTS=n   events per run (5000)
//   TEPA_MONKEY_TRACE=1    print every event as it starts
#include "PlatformDoubles.h"

#include "app/TForm1.h"
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "core/model/ProjectCodec.h"
#include "core/model/ProjectLayout.h"
#include "core/model/Session.h"
#include "project/AttachmentPolicy.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include <cmath>
#include <csignal>
#include <cstring>
#include <random>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace tepa::test {
namespace {

// The run and the event under way, for the reports of a crash or a hang.
std::atomic<std::uint64_t> g_seed;
std::atomic<long> g_event;

// An event that has not returned after HangLimitMs hangs and ends the run; events are checked
// against EventLimitMs afterwards (the hang limit leaves room for a sanitizer build under load).
constexpr qint64 HangLimitMs = 30000, EventLimitMs = 1000;
constexpr std::size_t LogLength = 40, SavedFilesKept = 6;

std::string quoted(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return '"' + (text.size() > 120 ? text.left(120) + "..." : text).toStdString() + '"';
}

// A list's count and current index as the windows may leave them: a count of 1 to 12, or 0 once
// the last entry was deleted (entry 1 is then no longer in use); the index within the count.
std::optional<std::string>
listProblem(const char* list, std::int32_t count, bool firstInUse, std::int32_t index)
{
    if (count < 0 || count > static_cast<std::int32_t>(MaxEntries) || (count == 0 && firstInUse))
        return std::string(list) + " count " + std::to_string(count) +
               (firstInUse ? " (entry 1 in use)" : "");
    if (index < 1 || index > std::max(count, 1))
        return std::string(list) + " index " + std::to_string(index) + " outside the count " +
               std::to_string(count);
    return std::nullopt;
}

// What is wrong with a project image, if anything: the reader must take it back unchanged. It
// makes safe what no program may write (a double that is no number, an entry count outside its
// list, a string longer than its field), so such a value comes back changed.
std::optional<std::string> imageProblem(const QByteArray& image)
{
    if (static_cast<std::size_t>(image.size()) != ProjectRecordSize)
        return "an image of " + std::to_string(image.size()) + " bytes";
    const auto bytes = std::as_bytes(std::span(image.constData(), image.size()));
    auto decoded = ProjectCodec::decode(bytes);
    if (!decoded)
        return "an image that does not decode: " + decoded.error();
    // The room count is 0 until the first New and is read as 1 whatever it holds: left as it was.
    std::memcpy(&decoded->RoomCount, image.constData() + layout::record::RoomCount.offset, 4);
    const std::vector<std::byte> again = ProjectCodec::encode(*decoded);
    const auto changed = std::mismatch(bytes.begin(), bytes.end(), again.begin()).first;
    if (changed != bytes.end())
        return "byte " + std::to_string(changed - bytes.begin()) + " of the image reads back changed";
    return std::nullopt;
}

// The texts a message box may show: an interface text line, the few fixed texts of the program
// and the ways the program composes them, and the platform's errors of the files the monkey
// hands over (a missing project file, a save into a missing folder, a return temperature that
// is no number).
class MessageRules
{
public:
    MessageRules(const InterfaceTexts& texts, const QString& tempDir)
        : m_tempDir(tempDir)
    {
        for (const std::string& line : texts.lines())
            if (!line.empty())
                m_lines.insert(QString::fromStdString(line));
        // The information box's mail and web lines start with one character that is no part of
        // the address; without a program to open it the address itself is shown.
        for (const std::size_t line : {std::size_t{161}, std::size_t{162}})
            if (texts.line(line).size() > 1)
                m_addresses.insert(QString::fromStdString(texts.line(line)).mid(1));
    }

    // Nothing when the box is one the program may show; else what is wrong with it.
    std::optional<std::string> problem(MessageKind kind, const QString& text) const
    {
        static const QRegularExpression numbered(QStringLiteral("^Konvektor Nr (\\d+)   (.*)$"),
                                                 QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression notANumber(QStringLiteral("^'.*' ist kein gültiger Gleitkommawert$"),
                                                   QRegularExpression::DotMatchesEverythingOption);
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
        const auto match = numbered.match(text);
        const int number = match.hasMatch() ? match.captured(1).toInt() : 0;
        const bool allowed =
            kind != MessageKind::Error
                ? m_lines.contains(text) ||
                      (number >= 1 && number <= int(MaxEntries) && m_lines.contains(match.captured(2))) ||
                      text == QLatin1String(LoadingErrorMessage) ||
                      text == QLatin1String("KONVEKTORTYP NOCH NICHT INTEGRIERT !!") ||
                      text.startsWith(QString::fromUtf8(RefusedAttachmentText) + QLatin1Char('\n')) ||
                      // an interface text with the file or address it is about on the next line
                      (lineEnd > 0 && m_lines.contains(text.left(lineEnd))) ||
                      (kind == MessageKind::Message && m_addresses.contains(text))
                // the monkey's own missing files and folders
                : notANumber.match(text).hasMatch() ||
                      text.startsWith(m_tempDir + QStringLiteral("/missing/")) ||
                      (text.startsWith(QStringLiteral("Datei ") + m_tempDir) &&
                       text.endsWith(QStringLiteral(" kann nicht geöffnet werden")));
        if (allowed)
            return std::nullopt;
        return std::string("unexpected ") + kindName(kind) + " " + quoted(text);
    }

private:
    QSet<QString> m_lines, m_addresses;
    QString m_tempDir;
};

// The monkey is the windows' message boxes and file dialogs too: it records every box, answers
// each question at random and hands the dialogs its own files, damaged ones among them.
class Monkey : public platform::Messages, public platform::FileDialogs
{
public:
    Monkey(std::uint64_t seed, bool trace)
        : m_seed(seed)
        , m_trace(trace)
        , m_random(seed)
        , m_temp(QDir(m_tempDir.path()).canonicalPath())
    {
        m_settings.values.insert(QStringLiteral("Arbeitsverzeichnis"), m_temp + QStringLiteral("/work"));
        StartOptions options;
        options.installedDataDir = TEPA_SOURCE_DATA_DIR;
        const platform::Services services{m_settings, *this, *this, m_shell, &m_printer};
        m_form1 = std::make_unique<TForm1>(m_session, services, options);
        m_form2 = std::make_unique<TForm2>(m_session, services, m_form1.get());
        m_form2->FormCreate();
        m_form1->setCalculationWindow(m_form2.get());
        m_form1->show();
        QApplication::setActiveWindow(m_form1.get());
        QCoreApplication::processEvents();
        m_rules.emplace(m_session.InterfaceTexts, m_temp);
        g_seed = seed;
        m_watchdog = std::thread([this] {
            for (; !m_stopWatchdog; std::this_thread::sleep_for(std::chrono::milliseconds(200)))
                if (const qint64 started = m_eventStartMs; started > 0 && nowMs() - started > HangLimitMs) {
                    printReplay("an event hangs");
                    std::abort();
                }
        });
    }

    ~Monkey() override
    {
        m_stopWatchdog = true;
        m_watchdog.join();
        m_form1->setCalculationWindow(nullptr);
        m_form2.reset();
        m_form1.reset();
    }

    // Runs `events` events, checking the invariants after each; the first broken invariant is a
    // test failure and ends the run.
    void run(long events)
    {
        struct Kind
        {
            const char* name;
            int weight;
            bool (Monkey::*action)(); // false when nothing of its kind can be reached now
        };
        static const Kind kinds[] = {
            {"main menu", 10, &Monkey::mainMenu},
            {"calculation window", 9, &Monkey::calcWindow},
            {"list pick", 14, &Monkey::listPick},
            {"slider", 14, &Monkey::sliderMove},
            {"typing", 18, &Monkey::typeIntoEdit},
            {"count arrows", 6, &Monkey::countArrows},
            {"button", 19, &Monkey::clickButton},
            {"mouse click", 2, &Monkey::mouseClick},
            {"convector choice", 4, &Monkey::chooseConvector},
        };
        int totalWeight = 0;
        for (const Kind& kind : kinds)
            totalWeight += kind.weight;

        for (long n = 1; n <= events; ++n) {
            g_event = n;
            // The services' own answers vary too: a desktop that cannot open a document, a
            // cancelled printer dialog.
            m_shell.result = chance(80);
            m_printer.cancel = chance(20);
            QElapsedTimer timer;
            timer.start();
            m_eventStartMs = nowMs();
            // The calculation window, once open, gets most of the planner's attention.
            const bool calcWindowFirst = m_form2->isVisible() && chance(60);
            bool ran = false;
            for (int attempt = 0; attempt < 100 && !ran; ++attempt) {
                m_calcWindowOnly = calcWindowFirst && attempt < 50;
                int roll = pickInt(totalWeight);
                const Kind* kind = kinds;
                for (; roll >= kind->weight; ++kind)
                    roll -= kind->weight;
                m_kind = kind->name;
                ran = (this->*kind->action)();
            }
            QCoreApplication::processEvents();
            m_eventStartMs = 0;
            if (const auto problem = problemAfterEvent(timer.elapsed())) {
                std::string log;
                for (const std::string& line : m_log)
                    log += "  " + line + "\n";
                ADD_FAILURE() << "monkey seed " << m_seed << ", event " << n << ": " << *problem << "\n"
                              << replay() << "last events:\n"
                              << log;
                return;
            }
            tidyUp();
        }
    }

    // Also when a sanitizer, a crash or the watchdog ends the run.
    static std::string replay()
    {
        return "replay: TEPA_MONKEY_SEED=" + std::to_string(g_seed) +
               " TEPA_MONKEY_EVENTS=" + std::to_string(g_event) +
               " TEPA_MONKEY_TRACE=1 test_monkey --gtest_filter=Monkey.Replay\n";
    }
    static void printReplay(const char* why)
    {
        std::fprintf(stderr, "\n== monkey: %s; %s", why, replay().c_str());
    }

    void showMessage(const QString& text) override { m_boxes.emplace_back(MessageKind::Message, text); }
    void showInformation(const QString& text) override
    {
        m_boxes.emplace_back(MessageKind::Information, text);
    }
    void showError(const QString& text) override { m_boxes.emplace_back(MessageKind::Error, text); }
    bool askYesNo(const QString& text) override
    {
        m_boxes.emplace_back(MessageKind::YesNo, text);
        return chance(50);
    }

    // The project file dialog has a title; the attachment dialog offers every file.
    std::optional<QString> openFile(const platform::FileDialogRequest& request) override
    {
        const std::size_t roll = pick(100);
        QString path;
        if (request.title.isEmpty()) {
            static const char* const names[] = {
                "plan.pdf",         "setup.exe",     "run.sh",      "Notiz mit Leerzeichen.txt",
                "Übersicht °C.txt", "archiv.tar.gz", "ohne-endung", "start.bat. "};
            if (roll >= 20 && roll < 80)
                path = m_temp + QStringLiteral("/anhang/") + QString::fromUtf8(names[pick(std::size(names))]);
            else if (roll >= 80)
                path = m_temp + QLatin1Char('/') + QString(200 + pickInt(200), QChar(u'ä'));
        } else if (roll >= 8) {
            path = roll < 11   ? m_temp + QStringLiteral("/gone.kon")
                   : roll < 13 ? m_temp
                               : damagedProjectFile();
        }
        note(path.isEmpty() ? "cancel" : quoted(path), "  open dialog");
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }

    std::optional<QString> saveFile(const platform::FileDialogRequest&) override
    {
        const std::size_t roll = pick(100);
        const QString path = roll < 10   ? QString()
                             : roll < 14 ? m_temp + QStringLiteral("/missing/projekt.kon")
                             : roll < 24 && !m_savedFiles.empty()
                                 ? m_savedFiles.back() // over the last save
                                 : m_temp + QStringLiteral("/save-%1.kon").arg(++m_fileCounter);
        note(path.isEmpty() ? "cancel" : quoted(path), "  save dialog");
        if (path.isEmpty())
            return std::nullopt;
        m_savesThisEvent.push_back(path);
        return path;
    }

private:
    static qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

    // The invariants, checked after every event.
    std::optional<std::string> problemAfterEvent(qint64 elapsedMs)
    {
        if (elapsedMs > EventLimitMs)
            return "the event took " + std::to_string(elapsedMs) + " ms";
        for (const auto& [kind, text] : m_boxes)
            if (auto problem = m_rules->problem(kind, text))
                return problem;
        const ProjectRecord& p = m_session.Project;
        if (auto problem = listProblem("heating", p.HeatingEntryCount, p.HeatingEntries[0].InUse,
                                       m_session.HeatingEntryIndex))
            return problem;
        if (auto problem = listProblem("cooling", p.CoolingEntryCount, p.CoolingEntries[0].InUse,
                                       m_session.CoolingEntryIndex))
            return problem;
        const std::vector<std::byte> image = ProjectCodec::encode(p);
        if (auto problem = imageProblem(
                QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()))))
            return "project in memory: " + *problem;
        for (const QString& path : m_savesThisEvent) {
            QFile file(path);
            if (!file.exists())
                continue; // the save did not happen (room data changed, a failed write)
            if (!file.open(QIODevice::ReadOnly))
                return "cannot read the saved file " + path.toStdString();
            if (auto problem = imageProblem(file.readAll()))
                return "saved file " + path.toStdString() + ": " + *problem;
            if (!m_savedFiles.contains(path))
                m_savedFiles.push_back(path);
        }
        return std::nullopt;
    }

    void tidyUp()
    {
        QFile::remove(m_temp + QStringLiteral("/load.kon"));
        QFile::remove(m_temp + QStringLiteral("/load.orv"));
        for (; m_savedFiles.size() > qsizetype(SavedFilesKept); m_savedFiles.removeFirst())
            QFile::remove(m_savedFiles.front());
        m_savesThisEvent.clear();
        m_boxes.clear();
        m_printer.jobs.clear();
        m_printer.jobNames.clear();
        m_shell.opened.clear();
    }

    void note(const std::string& detail, const char* kind = nullptr)
    {
        std::string line = "#" + std::to_string(g_event) + " " + (kind ? kind : m_kind) + ": " + detail;
        if (m_trace)
            std::fprintf(stderr, "%s\n", line.c_str());
        m_log.push_back(std::move(line));
        if (m_log.size() > LogLength)
            m_log.pop_front();
    }

    std::size_t pick(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(m_random() % n); }
    int pickInt(int n) { return static_cast<int>(pick(static_cast<std::size_t>(std::max(n, 0)))); }
    bool chance(int percent) { return pickInt(100) < percent; }
    template <class W> W* calc(const char* name) const { return m_form2->findChild<W*>(QLatin1String(name)); }

    // One control of a kind that `keep` accepts and the planner can reach now: shown, enabled, in
    // a shown window, and not covered by another control at its centre (the type panel lies over
    // the operating-point panels). It is noted in the log and given the focus, as a press on it
    // would (the edit that had it finishes its editing before the control acts).
    template <class W> W* pickReachable(const std::function<bool(W*)>& keep, const std::string& detail = "")
    {
        std::vector<W*> found;
        for (QWidget* window : {static_cast<QWidget*>(m_form1.get()), static_cast<QWidget*>(m_form2.get())}) {
            if (!window->isVisible() || (m_calcWindowOnly && window != m_form2.get()))
                continue;
            for (W* widget : window->findChildren<W*>()) {
                QWidget* hit = window->childAt(widget->mapTo(window, widget->rect().center()));
                if (widget->isVisible() && widget->isEnabled() && hit &&
                    (hit == widget || widget->isAncestorOf(hit)) && (!keep || keep(widget)))
                    found.push_back(widget);
            }
        }
        if (found.empty())
            return nullptr;
        std::sort(found.begin(), found.end(), [](const W* a, const W* b) {
            return a->objectName() < b->objectName() || (a->objectName() == b->objectName() && a < b);
        });
        W* widget = found[pick(found.size())];
        note((widget->objectName().isEmpty() ? widget->metaObject()->className()
                                             : widget->objectName().toStdString()) +
             (widget->window() == m_form2.get() ? " (calculation)" : "") + detail);
        giveFocus(widget);
        return widget;
    }

    void giveFocus(QWidget* widget)
    {
        QApplication::setActiveWindow(widget->window());
        if (widget->focusPolicy() & Qt::ClickFocus)
            widget->setFocus(Qt::MouseFocusReason);
    }

    // Clicks a row of the list, as the planner would; the focus change may first have finished an
    // edit whose handler rebuilt the list.
    void clickRow(QListWidget* list, bool twice)
    {
        const int row = pickInt(list->count());
        note(quoted(list->item(row)->text()) + (twice ? " double click" : ""), "  row");
        giveFocus(list);
        if (row >= list->count() || !list->isVisible())
            return;
        list->scrollToItem(list->item(row));
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        if (!list->viewport()->rect().contains(centre))
            return;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        if (twice && list->isVisible() && list->isEnabled())
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    // Numbers of every form, garbage, control characters, Latin-1, anything of the basic plane.
    QString randomText()
    {
        static const QStringList odd =
            QStringLiteral("nan|inf|-inf|NaN|abc|12a|1,2,3|--5|5-|1e|e5|.|-|,|+|1e308|1E309|-1e400|1e-400|"
                           "99999999999999999999|2147483648|-2147483649|0x7fffffff|$FFFFFFFF|0x|$|-0|00000|"
                           "1.7976931348623157e308|4.9e-324|1..2|1.2.3|١٢|12°|½|  42  |")
                .split(QLatin1Char('|'));
        static const std::pair<char16_t, int> ranges[] = {
            {1, 31}, {0x20, 0x5f}, {0xa0, 0x60}, {0x100, 0xd700}};
        QString text;
        switch (pick(6)) {
        case 0: // counts, temperatures
            return QString::number(chance(50) ? pickInt(16) : pickInt(251) - 50);
        case 1:
            text = QString::number(static_cast<double>(pick(100000)) / 7, 'f', pickInt(4));
            return chance(50) ? text : text.replace(QLatin1Char('.'), QLatin1Char(','));
        case 2:
            return odd[pickInt(int(odd.size()))];
        case 3:
            return text.fill(QLatin1Char(chance(50) ? '9' : 'x'), 40 + pickInt(300));
        }
        for (int i = 0, n = 1 + pickInt(12); i < n; ++i) {
            const auto& [first, size] = ranges[pick(4)];
            text += chance(50) ? QStringLiteral("-+.,eE0123456789 ")[pickInt(17)]
                               : QChar(char16_t(first + pickInt(size)));
        }
        return text;
    }

    // ---- events ----

    bool triggerOne(std::vector<QAction*> actions, QWidget* window)
    {
        std::erase_if(actions, [](const QAction* a) { return !a->isEnabled(); });
        if (actions.empty())
            return false;
        QAction* action = actions[pick(actions.size())];
        note(action->objectName().toStdString());
        giveFocus(window);
        action->trigger();
        return true;
    }

    bool mainMenu()
    {
        TForm1& f = *m_form1;
        // Not the exit command: it ends the application.
        std::vector<QAction*> actions{f.Neu1,          f.Laden1,     f.Speichern1,    f.Konvliste,
                                      f.Projektdaten1, f.Raumdaten1, f.Berechnungen1, f.Info2};
        if (f.Drucken1->isEnabled() && f.Drucken1->menuAction()->isEnabled())
            actions.insert(actions.end(), {f.normal1, f.Orvapapier1, f.normal2, f.Orvapapier2});
        return !m_calcWindowOnly && triggerOne(actions, m_form1.get());
    }

    // The calculation window's menu, its frame's close button, or a switch between the windows.
    bool calcWindow()
    {
        if (!m_form2->isVisible())
            return false;
        if (const std::size_t way = pick(9); way < 2) {
            note("calculation window frame");
            m_form2->close();
        } else if (way < 4) {
            QWidget* other = QApplication::activeWindow() == m_form1.get()
                                 ? static_cast<QWidget*>(m_form2.get())
                                 : m_form1.get();
            note("switch to " + other->objectName().toStdString());
            QApplication::setActiveWindow(other);
        } else {
            std::vector<QAction*> actions{calc<QAction>("Schliessen1")};
            if (const QMenu* menu = calc<QMenu>("Konvektoren1");
                menu->isEnabled() && menu->menuAction()->isEnabled())
                actions.insert(actions.end(),
                               {calc<QAction>("FreieKonvektion1"), calc<QAction>("FreieZwangsKonv1")});
            return triggerOne(actions, m_form2.get());
        }
        return true;
    }

    bool listPick()
    {
        QListWidget* list = pickReachable<QListWidget>([](QListWidget* l) { return l->count() > 0; });
        if (list)
            clickRow(list, chance(25));
        return list;
    }

    // The planner's usual way through the type panel: a type, a length, a height, then "weiter",
    // each by a click on what the panel shows at that moment.
    bool chooseConvector()
    {
        if (!m_form2->isVisible() || !calc<QWidget>("Panel4")->isVisible() ||
            calc<QListWidget>("ListBox1")->count() == 0)
            return false;
        note("type, length, height, weiter");
        for (const char* name : {"ListBox1", "ListBox3", "ListBox4"})
            if (auto* list = pickReachable<QListWidget>([name](QListWidget* l) {
                    return l->objectName() == QLatin1String(name) && l->count() > 0;
                }))
                clickRow(list, false);
        if (auto* next = pickReachable<QPushButton>(
                [](QPushButton* b) { return b->objectName() == QLatin1String("Konweiter"); }))
            next->click();
        return true;
    }

    bool sliderMove()
    {
        // The window's own sliders, not the scroll bars of its lists.
        QScrollBar* bar = pickReachable<QScrollBar>(
            [this](QScrollBar* b) { return b->window() == m_form2.get() && !b->objectName().isEmpty(); });
        if (!bar)
            return false;
        // Half the moves drag the slider to a value; the others are its actions, single step to
        // maximum.
        const int value = bar->minimum() + pickInt(bar->maximum() - bar->minimum() + 1);
        const auto action =
            chance(50) ? QAbstractSlider::SliderMove : QAbstractSlider::SliderAction(1 + pick(6));
        note("action " + std::to_string(action) + " at " + std::to_string(bar->value()) + " of " +
                 std::to_string(bar->minimum()) + ".." + std::to_string(bar->maximum()) + " to " +
                 std::to_string(value),
             "  slider");
        if (action == QAbstractSlider::SliderMove)
            bar->setValue(value);
        else
            bar->triggerAction(action);
        return true;
    }

    bool typeIntoEdit()
    {
        QWidget* field = pickReachable<QWidget>([](QWidget* w) {
            const auto* edit = qobject_cast<QLineEdit*>(w);
            return qobject_cast<QPlainTextEdit*>(w) ||
                   (edit && !edit->isReadOnly() && !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()));
        });
        if (!field)
            return false;
        const bool memo = qobject_cast<QPlainTextEdit*>(field) != nullptr;
        QString text = randomText();
        if (memo && chance(50))
            text += QLatin1Char('\n') + randomText();
        const bool replace = chance(80);
        const int ending = pickInt(10); // 0-4 Enter, 5-7 focus elsewhere, 8-9 left in the field
        note((replace ? "replaced by " : "appended ") + quoted(text) +
                 (ending < 5   ? " + Enter"
                  : ending < 8 ? " + focus out"
                               : ""),
             "  text");
        QTest::keyClick(field, replace ? Qt::Key_A : Qt::Key_End,
                        replace ? Qt::ControlModifier : Qt::NoModifier);
        if (text.size() > 24) {
            // A long text arrives in one paste, as a planner would enter it: typed key by key it
            // would be hundreds of user actions in one event.
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        }
        // Key by key as the planner types: each key carries its character (only the key of a
        // line break matters to the windows).
        for (const QChar c : text.size() > 24 ? QString() : text) {
            if (!field->isVisible() || !field->isEnabled() || field != QApplication::focusWidget())
                break;
            if (c == QLatin1Char('\n')) {
                QTest::keyClick(field, Qt::Key_Return);
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            QApplication::sendEvent(field, &release);
        }
        if (ending < 5 && !memo && field->hasFocus()) {
            QTest::keyClick(field, Qt::Key_Return);
        } else if (ending < 8 && field->hasFocus()) {
            // On to the next control of the window that takes the focus, or to none.
            QWidget* next = field->nextInFocusChain();
            while (next != field && (!next->isVisible() || !next->isEnabled() || field->isAncestorOf(next) ||
                                     !(next->focusPolicy() & Qt::ClickFocus)))
                next = next->nextInFocusChain();
            if (next == field)
                field->clearFocus();
            else
                next->setFocus(Qt::MouseFocusReason);
        }
        return true;
    }

    bool countArrows()
    {
        static const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
        const Qt::Key key = keys[pick(4)];
        const std::size_t presses = 1 + pick(3);
        UpDown* upDown =
            pickReachable<UpDown>(nullptr, " key " + std::to_string(key) + " x" + std::to_string(presses));
        for (std::size_t i = 0; upDown && i < presses && upDown->isVisible() && upDown->isEnabled(); ++i)
            QTest::keyClick(upDown, key);
        return upDown;
    }

    // Push and radio buttons: the stage buttons, list editing, operating-point choices.
    bool clickButton()
    {
        auto* button = pickReachable<QAbstractButton>([](QAbstractButton* b) {
            return qobject_cast<QPushButton*>(b) || qobject_cast<QRadioButton*>(b);
        });
        if (button && button->isVisible() && button->isEnabled())
            button->click();
        return button;
    }

    // A click on the information lines of the main window, or on a spot of the type panel's own
    // surface where no control lies.
    bool mouseClick()
    {
        if (chance(50)) {
            QLabel* label = pickReachable<QLabel>(
                [this](QLabel* l) { return l == m_form1->Label2 || l == m_form1->Label4; },
                m_shell.result ? "" : " (no program opens it)");
            if (label)
                QTest::mouseClick(label, Qt::LeftButton);
            return label;
        }
        auto* panel = calc<QWidget>("Panel4");
        if (!m_form2->isVisible() || !panel->isVisible())
            return false;
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QPoint spot(pickInt(std::max(1, panel->width())), pickInt(std::max(1, panel->height())));
            if (panel->childAt(spot))
                continue;
            note("type panel at " + std::to_string(spot.x()) + "," + std::to_string(spot.y()));
            giveFocus(m_form2.get());
            QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, spot);
            return true;
        }
        return false;
    }

    // A field a reader has to guard, given a value no program writes: a count, a double, or a
    // string's length byte or flag (any byte).
    void damageField(QByteArray& image)
    {
        using namespace layout;
        static constexpr std::int32_t counts[] = {0, -1, 13, 100, INT32_MIN, INT32_MAX, 12, 1};
        static constexpr double doubles[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308, 4.9e-324, -0.0, 1e12};
        const std::size_t heat = record::HeatingEntries.offset + pick(MaxEntries) * HeatingEntrySize;
        const std::size_t cool = record::CoolingEntries.offset + pick(MaxEntries) * CoolingEntrySize;
        // clang-format off
        const std::size_t countAt[] = {record::HeatingEntryCount.offset, record::CoolingEntryCount.offset,
                                       record::RoomCount.offset};
        const std::size_t doubleAt[] = {
            record::HeatingDemand.offset + 8 * pick(9),       // demands to humidity
            heat + entry::Length.offset + 8 * pick(7),        // length to fan setting
            heat + entry::CoeffK.offset + 8 * pick(4),        // k to output
            heat + heating::PressureDrop.offset + 8 * pick(12),
            cool + entry::Length.offset + 8 * pick(7), cool + entry::CoeffK.offset + 8 * pick(4),
            cool + cooling::PressureDrop.offset + 8 * pick(6)};
        const std::size_t byteAt[] = {
            record::Title.offset, record::Number.offset, record::Date.offset, record::RoomName.offset,
            record::Attachments.offset + 256 * pick(record::AttachmentCount),
            heat, heat + entry::TypeText1.offset, cool, cool + entry::TypeText2.offset,
            record::CalculationDone.offset, record::HeatingInUse.offset, record::CoolingInUse.offset,
            record::CoolingDualUse.offset, record::HeatingDualUse.offset, heat + heating::InUse.offset,
            heat + heating::FreeConvection.offset, cool + cooling::InUse.offset, record::ReturnTempFixed.offset};
        // clang-format on
        if (const std::size_t kind = pick(3); kind == 0)
            std::memcpy(image.data() + countAt[pick(3)], &counts[pick(std::size(counts))], 4);
        else if (kind == 1)
            std::memcpy(image.data() + doubleAt[pick(std::size(doubleAt))],
                        &doubles[pick(std::size(doubles))], 8);
        else
            image[qsizetype(byteAt[pick(std::size(byteAt))])] = static_cast<char>(pick(256));
    }

    // An intact or saved project file, damaged in one of the ways a reader has to survive.
    QString damagedProjectFile()
    {
        QStringList sources{QStringLiteral(TEPA_TEST_DATA_DIR "/new-project.kon"),
                            QStringLiteral(TEPA_TEST_DATA_DIR "/sample-project.kon"),
                            QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon")};
        sources += m_savedFiles;
        QFile in(sources[pickInt(int(sources.size()))]);
        if (!in.open(QIODevice::ReadOnly))
            return in.fileName();
        QByteArray image = in.readAll();
        const auto size = static_cast<std::size_t>(image.size());
        static const char* const ways[] = {"intact", "bytes flipped", "fields", "fields",
                                           "cut",    "grown",         "random"};
        const std::size_t way = pick(std::size(ways));
        for (std::size_t i = 0, n = way == 1 ? 1 + pick(16) : 0; i < n && size > 0; ++i)
            image[qsizetype(pick(size))] ^= static_cast<char>(1 + pick(255));
        for (std::size_t i = 0, n = (way == 2 || way == 3) && size >= ProjectRecordSize ? 1 + pick(6) : 0;
             i < n; ++i)
            damageField(image);
        if (way == 4)
            image.truncate(qsizetype(pick(size + 1)));
        for (std::size_t i = 0, n = way == 5 ? 1 + pick(100) : 0; i < n; ++i)
            image.append(static_cast<char>(pick(256)));
        if (way == 6)
            std::generate(image.begin(), image.end(), [this] { return static_cast<char>(pick(256)); });
        const QString path =
            m_temp + (chance(80) ? QStringLiteral("/load.kon") : QStringLiteral("/load.orv"));
        if (QFile out(path); out.open(QIODevice::WriteOnly))
            out.write(image);
        note(QFileInfo(in).fileName().toStdString() + " " + ways[way] + ", " + std::to_string(image.size()) +
                 " bytes",
             "  open dialog");
        return path;
    }

    const std::uint64_t m_seed;
    const bool m_trace;
    std::mt19937_64 m_random;
    QTemporaryDir m_tempDir;
    const QString m_temp;
    MemorySettings m_settings;
    RecordingShell m_shell;
    RecordingPrinter m_printer;
    Session m_session;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::optional<MessageRules> m_rules;

    std::vector<std::pair<MessageKind, QString>> m_boxes; // shown during the event
    QStringList m_savedFiles;                             // recent saves, loaded again now and then
    QStringList m_savesThisEvent;                         // save answers given during the event
    long m_fileCounter = 0;
    const char* m_kind = "";
    bool m_calcWindowOnly = false; // this event's controls are taken from the calculation window
    std::atomic<qint64> m_eventStartMs{0};
    std::deque<std::string> m_log;
    std::atomic<bool> m_stopWatchdog{false};
    std::thread m_watchdog;
};

// A sanitizer report or a crash signal ends the process; the events before it are printed first.
[[maybe_unused]] const bool crashReportSet = [] {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] { Monkey::printReplay("sanitizer report"); });
#else
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, [](int signal) {
            Monkey::printReplay(strsignal(signal));
            std::signal(signal, SIG_DFL);
            std::raise(signal);
        });
#endif
    return true;
}();

const char* environment(const char* name)
{
    const char* text = std::getenv(name);
    return text && *text ? text : nullptr;
}

void runMonkey(std::uint64_t seed)
{
    const char* trace = environment("TEPA_MONKEY_TRACE");
    const char* events = environment("TEPA_MONKEY_EVENTS");
    Monkey(seed, trace && std::strcmp(trace, "0") != 0).run(events ? std::strtol(events, nullptr, 10) : 5000);
}

class MonkeySeed : public ::testing::TestWithParam<std::uint64_t>
{
};

TEST_P(MonkeySeed, BothWindowsSurviveRandomUse)
{
    if (environment("TEPA_MONKEY_SEED"))
        GTEST_SKIP() << "TEPA_MONKEY_SEED is set: only Monkey.Replay runs";
    runMonkey(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Monkey, MonkeySeed, ::testing::Values(20261206u, 7u, 4242u, 99991u));

TEST(Monkey, Replay)
{
    const char* seed = environment("TEPA_MONKEY_SEED");
    if (!seed)
        GTEST_SKIP() << "set TEPA_MONKEY_SEED to run a seed of your own";
    runMonkey(std::strtoull(seed, nullptr, 10));
}

// The monkey's checks must be able to fail, or a clean run proves nothing.
TEST(MonkeyChecks, BrokenImagesListsAndUnknownMessagesAreCaught)
{
    using namespace layout;
    QFile file(QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray intact = file.readAll();
    EXPECT_EQ(imageProblem(intact), std::nullopt);
    QByteArray notFinite = intact, tooMany = intact;
    const double notANumber = NAN;
    const std::int32_t thirteen = 13;
    std::memcpy(notFinite.data() + record::CoolingEntries.offset + 11 * CoolingEntrySize +
                    entry::Output.offset,
                &notANumber, 8);
    std::memcpy(tooMany.data() + record::HeatingEntryCount.offset, &thirteen, 4);
    for (const QByteArray& broken : {notFinite, tooMany, intact.left(15000)})
        EXPECT_NE(imageProblem(broken), std::nullopt);
    EXPECT_EQ(listProblem("heating", 0, false, 1), std::nullopt);
    EXPECT_NE(listProblem("heating", 0, true, 1), std::nullopt);
    EXPECT_NE(listProblem("heating", 3, true, 4), std::nullopt);

    auto texts = InterfaceTexts::load(TEPA_SOURCE_DATA_DIR);
    ASSERT_TRUE(texts.ok()) << texts.error();
    const MessageRules rules(texts.value(), QStringLiteral("/tmp/monkey"));
    const QString line118 = QString::fromStdString(texts.value().line(118));
    const std::tuple<MessageKind, QString, bool> cases[] = {
        {MessageKind::Information, QString::fromStdString(texts.value().line(78)), true},
        {MessageKind::Message, QStringLiteral("Konvektor Nr 3   ") + line118, true},
        {MessageKind::Message, QStringLiteral("Konvektor Nr 3 ") + line118, false},
        {MessageKind::Message, QStringLiteral("Loading - Error"), true},
        {MessageKind::Message, QString(), false},
        {MessageKind::Message, QStringLiteral("nan"), false},
        {MessageKind::Error, QStringLiteral("'x1' ist kein gültiger Gleitkommawert"), true},
        {MessageKind::Error, QStringLiteral("Datei /tmp/monkey/gone.kon kann nicht geöffnet werden"), true},
        {MessageKind::Error, QStringLiteral("Datei /usr/x.kon kann nicht geöffnet werden"), false},
    };
    for (const auto& [kind, text, allowed] : cases)
        EXPECT_EQ(rules.problem(kind, text) == std::nullopt, allowed) << text.toStdString();
}

} // namespace
} // namespace tepa::test
