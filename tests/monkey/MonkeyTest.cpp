// Random use of both windows: a seeded stream of menu commands, list picks, slider moves, typed
// text (garbage included), counts, stage buttons, list editing, damaged project files and saves,
// with the invariants checked after every event. A broken invariant names the seed and the event
// and shows the events before it, so the run can be replayed. The default run is four fixed seeds
// of 5000 events; the environment changes that:
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

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <iostream>
#include <limits>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#else
#include <execinfo.h>
#include <unistd.h>
#endif

namespace tepa::test {
namespace {

namespace fs = std::filesystem;

// An event that has not returned after HangLimit hangs and ends the run; events are checked
// against EventLimitMs afterwards (the hang limit leaves room for a sanitizer build under load).
constexpr std::chrono::seconds HangLimit{30};
constexpr qint64 EventLimitMs = 1000;
constexpr std::size_t LogLength = 40, SavedFilesKept = 6;
constexpr qsizetype PastedLength = 24;
constexpr long DefaultEvents = 5000;

std::string quoted(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return "\"" + (text.size() > 120 ? text.left(120) + "..." : text).toStdString() + "\"";
}

std::string nameOf(const QObject* object)
{
    return object->objectName().isEmpty() ? std::string(object->metaObject()->className())
                                          : object->objectName().toStdString();
}

void writeLittleEndian(QByteArray& bytes, std::size_t offset, std::size_t size, std::uint64_t value)
{
    for (std::size_t i = 0; i < size; ++i, value >>= 8)
        bytes[static_cast<qsizetype>(offset + i)] = static_cast<char>(value & 0xff);
}

template <class T> T valueAt(const QByteArray& bytes, std::size_t offset)
{
    T value; // the file is little-endian, as is every machine the tests run on
    std::memcpy(&value, bytes.constData() + offset, sizeof value);
    return value;
}

// Offsets of every double in a project file image: runs of doubles in the record and its entries.
const std::vector<std::size_t>& projectDoubleOffsets()
{
    static const std::vector<std::size_t> offsets = [] {
        using namespace layout;
        std::vector<std::size_t> all;
        const auto run = [&](std::size_t base, std::size_t first, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                all.push_back(base + first + 8 * i);
        };
        run(0, record::HeatingDemand.offset, 9); // demands to humidity
        for (std::size_t k = 0; k < MaxEntries; ++k) {
            for (const auto& [base, first, count] :
                 {std::tuple{record::HeatingEntries.offset + k * HeatingEntrySize,
                             heating::PressureDrop.offset, 12},
                  std::tuple{record::CoolingEntries.offset + k * CoolingEntrySize,
                             cooling::PressureDrop.offset, 6}}) {
                run(base, entry::Length.offset, 7); // length to fan setting
                run(base, entry::CoeffK.offset, 4); // k to output
                run(base, first, static_cast<std::size_t>(count));
            }
        }
        return all;
    }();
    return offsets;
}

std::optional<std::string> nonFiniteDouble(const QByteArray& image, const std::string& where)
{
    for (const std::size_t offset : projectDoubleOffsets())
        if (const auto value = valueAt<double>(image, offset); !std::isfinite(value))
            return where + ": byte " + std::to_string(offset) + " holds the double " + std::to_string(value);
    return std::nullopt;
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

// What is wrong with a saved project file, if anything: its size, a non-finite double, a record
// the codec cannot read, counts outside their lists.
std::optional<std::string> savedFileProblem(const QByteArray& image)
{
    using namespace layout;
    if (static_cast<std::size_t>(image.size()) != ProjectRecordSize)
        return "saved file of " + std::to_string(image.size()) + " bytes";
    if (auto problem = nonFiniteDouble(image, "saved file"))
        return problem;
    if (const auto decoded = ProjectCodec::decode(std::as_bytes(std::span(image.constData(), image.size())));
        !decoded)
        return "saved file does not decode: " + decoded.error();
    const auto firstInUse = [&](std::size_t list, std::size_t inUse) {
        return image[qsizetype(list + inUse)] != 0;
    };
    if (auto problem =
            listProblem("saved heating", valueAt<std::int32_t>(image, record::HeatingEntryCount.offset),
                        firstInUse(record::HeatingEntries.offset, heating::InUse.offset), 1))
        return problem;
    return listProblem("saved cooling", valueAt<std::int32_t>(image, record::CoolingEntryCount.offset),
                       firstInUse(record::CoolingEntries.offset, cooling::InUse.offset), 1);
}

struct Box
{
    MessageKind kind;
    QString text;
};

// Message boxes that record every box and answer each question with `answer`.
class RecordingMessages : public platform::Messages
{
public:
    void showMessage(const QString& text) override { boxes.push_back({MessageKind::Message, text}); }
    void showInformation(const QString& text) override { boxes.push_back({MessageKind::Information, text}); }
    bool askYesNo(const QString& text) override
    {
        boxes.push_back({MessageKind::YesNo, text});
        return answer();
    }
    void showError(const QString& text) override { boxes.push_back({MessageKind::Error, text}); }

    std::function<bool()> answer;
    std::vector<Box> boxes;
};

// File dialogs answered by callbacks.
class AnsweringDialogs : public platform::FileDialogs
{
public:
    using Answer = std::function<std::optional<QString>(const platform::FileDialogRequest&)>;
    std::optional<QString> openFile(const platform::FileDialogRequest& request) override
    {
        return open(request);
    }
    std::optional<QString> saveFile(const platform::FileDialogRequest& request) override
    {
        return save(request);
    }
    Answer open, save;
};

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
    std::optional<std::string> problem(const Box& box) const
    {
        static const QRegularExpression numbered(QStringLiteral("^Konvektor Nr (\\d+)   (.*)$"),
                                                 QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression notANumber(QStringLiteral("^'.*' ist kein gültiger Gleitkommawert$"),
                                                   QRegularExpression::DotMatchesEverythingOption);
        const QString& text = box.text;
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
        const auto match = numbered.match(text);
        const bool allowed =
            box.kind != MessageKind::Error
                ? m_lines.contains(text) ||
                      (match.hasMatch() && match.captured(1).toInt() >= 1 &&
                       match.captured(1).toInt() <= static_cast<int>(MaxEntries) &&
                       m_lines.contains(match.captured(2))) ||
                      text == QLatin1String(LoadingErrorMessage) ||
                      text == QLatin1String("KONVEKTORTYP NOCH NICHT INTEGRIERT !!") ||
                      text.startsWith(QString::fromUtf8(RefusedAttachmentText) + QLatin1Char('\n')) ||
                      // an interface text with the file or address it is about on the next line
                      (lineEnd > 0 && m_lines.contains(text.left(lineEnd))) ||
                      (box.kind == MessageKind::Message && m_addresses.contains(text))
                // the monkey's own missing files and folders
                : notANumber.match(text).hasMatch() ||
                      (text.startsWith(QStringLiteral("Datei ") + m_tempDir) &&
                       text.endsWith(QStringLiteral(" kann nicht geöffnet werden"))) ||
                      text.startsWith(m_tempDir + QStringLiteral("/missing/"));
        if (allowed)
            return std::nullopt;
        return std::string("unexpected ") + kindName(box.kind) + " " + quoted(text);
    }

private:
    QSet<QString> m_lines, m_addresses;
    QString m_tempDir;
};

class Monkey;
Monkey* g_running = nullptr;
void printRunningTail(const char* why);

class Monkey
{
public:
    Monkey(std::uint64_t seed, bool trace)
        : m_seed(seed)
        , m_trace(trace)
        , m_random(seed)
    {
        m_temp = QDir(m_tempDir.path()).canonicalPath();
        m_settings.values.insert(QStringLiteral("Arbeitsverzeichnis"), m_temp + QStringLiteral("/work"));
        m_messages.answer = [this] { return chance(50); };
        // The project file dialog has a title; the attachment dialog offers every file.
        m_dialogs.open = [this](const platform::FileDialogRequest& request) {
            return request.title.isEmpty() ? attachmentPath() : damagedProjectFile();
        };
        m_dialogs.save = [this](const platform::FileDialogRequest&) { return saveAnswer(); };
        const fs::path fixtures(TEPA_TEST_DATA_DIR), installation(TEPA_SOURCE_DATA_DIR);
        m_sources = {fixtures / "new-project.kon", fixtures / "sample-project.kon",
                     installation / "Beispiel.kon"};

        StartOptions options;
        options.installedDataDir = installation;
        const platform::Services services{m_settings, m_messages, m_dialogs, m_shell, &m_printer};
        m_form1 = std::make_unique<TForm1>(m_session, services, options);
        m_form2 = std::make_unique<TForm2>(m_session, services, m_form1.get());
        m_form2->FormCreate();
        m_form1->setCalculationWindow(m_form2.get());
        m_form1->show();
        QApplication::setActiveWindow(m_form1.get());
        QCoreApplication::processEvents();
        m_rules = std::make_unique<MessageRules>(m_session.InterfaceTexts, m_temp);

        g_running = this;
        m_watchdog = std::thread([this] {
            while (!m_stopWatchdog.load()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                const std::int64_t started = m_eventStartMs.load();
                if (started > 0 && nowMs() - started > std::chrono::milliseconds(HangLimit).count()) {
                    printRunningTail("an event hangs");
                    std::abort();
                }
            }
        });
    }

    ~Monkey()
    {
        m_stopWatchdog = true;
        m_watchdog.join();
        g_running = nullptr;
        m_form1->setCalculationWindow(nullptr);
        m_form2.reset();
        m_form1.reset();
    }

    // Runs `events` events, checking the invariants after each; the first broken invariant is a
    // test failure and ends the run.
    void run(long events)
    {
        using Action = bool (Monkey::*)();
        static const std::tuple<const char*, int, Action> kinds[] = {
            {"main menu", 10, &Monkey::mainMenu},
            {"calculation menu", 5, &Monkey::calcMenu},
            {"close window", 2, &Monkey::closeCalcWindow},
            {"list pick", 14, &Monkey::listPick},
            {"slider", 14, &Monkey::sliderMove},
            {"typing", 18, &Monkey::typeIntoEdit},
            {"count arrows", 6, &Monkey::countArrows},
            {"radio button", 7, &Monkey::clickOne<QRadioButton>},
            {"button", 12, &Monkey::clickOne<QPushButton>},
            {"information line", 1, &Monkey::infoLineClick},
            {"type panel", 1, &Monkey::typePanelClick},
            {"window switch", 2, &Monkey::switchWindow},
            {"convector choice", 4, &Monkey::chooseConvector},
        };
        int totalWeight = 0;
        for (const auto& kind : kinds)
            totalWeight += std::get<1>(kind);

        for (long n = 1; n <= events; ++n) {
            m_event = n;
            // The services' own answers vary too: a desktop that cannot open a document, a
            // cancelled printer dialog.
            m_shell.result = chance(80);
            m_printer.cancel = chance(20);
            m_savesThisEvent.clear();
            QElapsedTimer timer;
            timer.start();
            m_eventStartMs = nowMs();
            // The calculation window, once open, gets most of the planner's attention.
            m_calcWindowOnly = m_form2->isVisible() && chance(60);
            m_eventsWithCalcWindow += m_form2->isVisible() ? 1 : 0;
            for (int attempt = 0, ran = 0; attempt < 100 && !ran; ++attempt) {
                m_calcWindowOnly = m_calcWindowOnly && attempt < 50;
                int roll = static_cast<int>(pick(static_cast<std::size_t>(totalWeight)));
                const auto* chosen = &kinds[0];
                for (const auto& kind : kinds) {
                    if (roll < std::get<1>(kind)) {
                        chosen = &kind;
                        break;
                    }
                    roll -= std::get<1>(kind);
                }
                m_kind = std::get<0>(*chosen);
                if ((this->*std::get<2>(*chosen))()) {
                    ++m_kindsRun[m_kind];
                    ran = 1;
                }
            }
            QCoreApplication::processEvents();
            const qint64 elapsed = timer.elapsed();
            m_eventStartMs = 0;
            m_slowestMs = std::max(m_slowestMs, elapsed);
            if (const auto problem = problemAfterEvent(elapsed)) {
                ADD_FAILURE()
                    << "monkey seed " << m_seed << ", event " << n << ": " << *problem
                    << "\nreplay: TEPA_MONKEY_SEED=" << m_seed << " TEPA_MONKEY_EVENTS=" << n
                    << " TEPA_MONKEY_TRACE=1 test_monkey --gtest_filter=Monkey.Replay\nlast events:\n"
                    << logTail();
                return;
            }
            tidyUp();
        }
    }

    std::string summary() const
    {
        std::ostringstream out;
        out << "monkey seed " << m_seed << ", slowest event " << m_slowestMs
            << " ms, calculation window open in " << m_eventsWithCalcWindow << " events:";
        for (const auto& [kind, count] : m_kindsRun)
            out << " " << kind << " " << count << ";";
        return out.str();
    }

    // The last events, oldest first (also printed when a sanitizer or the watchdog ends the run).
    std::string logTail() const
    {
        const std::lock_guard lock(m_logMutex);
        std::string tail;
        for (const std::string& line : m_log)
            tail += "  " + line + "\n";
        return tail;
    }
    std::uint64_t seed() const { return m_seed; }
    long eventNumber() const { return m_event.load(); }

private:
    static std::int64_t nowMs()
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    std::optional<std::string> problemAfterEvent(qint64 elapsedMs)
    {
        if (elapsedMs > EventLimitMs)
            return "the event took " + std::to_string(elapsedMs) + " ms";
        for (const Box& box : m_messages.boxes)
            if (auto problem = m_rules->problem(box))
                return problem;
        const Session& s = m_session;
        const ProjectRecord& p = s.Project;
        if (auto problem =
                listProblem("heating", p.HeatingEntryCount, p.HeatingEntries[0].InUse, s.HeatingEntryIndex))
            return problem;
        // A value that is no number would be saved with the next save command.
        const std::vector<std::byte> image = ProjectCodec::encode(p);
        if (auto problem = nonFiniteDouble(
                QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())),
                "project in memory"))
            return problem;
        if (auto problem =
                listProblem("cooling", p.CoolingEntryCount, p.CoolingEntries[0].InUse, s.CoolingEntryIndex))
            return problem;
        for (const QString& path : m_savesThisEvent) {
            QFile file(path);
            if (!file.exists())
                continue; // the save did not happen (room data changed, a failed write)
            if (!file.open(QIODevice::ReadOnly))
                return "cannot read the saved file " + path.toStdString();
            if (auto problem = savedFileProblem(file.readAll()))
                return *problem + " (" + path.toStdString() + ")";
            if (std::find(m_savedFiles.begin(), m_savedFiles.end(), path) == m_savedFiles.end())
                m_savedFiles.push_back(path);
        }
        return std::nullopt;
    }

    void tidyUp()
    {
        for (const QString& path : m_scratchFiles)
            QFile::remove(path);
        m_scratchFiles.clear();
        for (; m_savedFiles.size() > SavedFilesKept; m_savedFiles.pop_front())
            QFile::remove(m_savedFiles.front());
        m_messages.boxes.clear();
        m_printer.jobs.clear();
        m_printer.jobNames.clear();
        m_shell.opened.clear();
    }

    void note(const std::string& detail, const char* kind = nullptr)
    {
        std::string line =
            "#" + std::to_string(m_event.load()) + " " + (kind ? kind : m_kind) + ": " + detail;
        if (m_trace)
            std::fprintf(stderr, "%s\n", line.c_str());
        const std::lock_guard lock(m_logMutex);
        m_log.push_back(std::move(line));
        if (m_log.size() > LogLength)
            m_log.pop_front();
    }

    std::size_t pick(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(m_random() % n); }
    bool chance(int percent) { return static_cast<int>(pick(100)) < percent; }
    template <class T> const T& pickOf(const std::vector<T>& items) { return items[pick(items.size())]; }

    template <class W> W* calc(const char* name) const { return m_form2->findChild<W*>(QLatin1String(name)); }
    std::string inCalc(const QWidget* widget) const
    {
        return widget->window() == m_form2.get() ? " (calculation)" : "";
    }

    // A control the planner can reach now: shown, enabled, in a shown window, and not covered by
    // another control at its centre (the type panel lies over the operating-point panels).
    template <class W> std::vector<W*> reachable() const
    {
        std::vector<W*> found;
        for (QWidget* window : {static_cast<QWidget*>(m_form1.get()), static_cast<QWidget*>(m_form2.get())}) {
            if (!window->isVisible() || (m_calcWindowOnly && window != m_form2.get()))
                continue;
            for (W* widget : window->findChildren<W*>()) {
                if (!widget->isVisible() || !widget->isEnabled())
                    continue;
                QWidget* hit = window->childAt(widget->mapTo(window, widget->rect().center()));
                if (hit == widget || (hit && widget->isAncestorOf(hit)))
                    found.push_back(widget);
            }
        }
        std::sort(found.begin(), found.end(), [](const W* a, const W* b) {
            return a->objectName() < b->objectName() || (a->objectName() == b->objectName() && a < b);
        });
        return found;
    }

    // A press on a control gives it the focus first, when it takes focus by click: the edit that
    // had it finishes its editing before the control acts.
    void giveFocus(QWidget* widget)
    {
        QApplication::setActiveWindow(widget->window());
        if (widget->focusPolicy() & Qt::ClickFocus)
            widget->setFocus(Qt::MouseFocusReason);
    }

    // Clicks a row of the list, as the planner would; the focus change may first have finished an
    // edit whose handler rebuilt the list.
    void clickRow(QListWidget* list, int row, bool twice)
    {
        giveFocus(list);
        if (row >= list->count() || !list->isVisible())
            return;
        QListWidgetItem* item = list->item(row);
        list->scrollToItem(item);
        const QPoint centre = list->visualItemRect(item).center();
        if (!list->viewport()->rect().contains(centre))
            return;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        if (twice && list->isVisible() && list->isEnabled())
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    QString randomText()
    {
        static const QStringList odd = QStringLiteral("nan|inf|-inf|NaN|abc|12a|1,2,3|--5|5-|1e|e5|.|-|,|+|"
                                                      "1e308|1E309|-1e400|1e-400|99999999999999999999|"
                                                      "2147483648|-2147483649|0x7fffffff|$FFFFFFFF|0x|$|-0|"
                                                      "00000|1.7976931348623157e308|4.9e-324|1..2|"
                                                      "1.2.3|١٢|12°|½")
                                           .split(QLatin1Char('|'));
        QString text;
        switch (pick(11)) {
        case 0:
            return QString::number(static_cast<int>(pick(251)) - 50);
        case 1:
            text = QString::number(static_cast<int>(pick(120)) - 10);
            text += chance(50) ? QStringLiteral(".") : QStringLiteral(",");
            return text + QString::number(pick(100));
        case 2:
            return odd[static_cast<qsizetype>(pick(static_cast<std::size_t>(odd.size())))];
        case 3:
            return text;
        case 4:
            return QStringLiteral("  ") + QString::number(pick(100)) + QStringLiteral("  ");
        case 5:
            for (std::size_t i = 0, n = 1 + pick(8); i < n; ++i)
                text += QStringLiteral("-+.,eE0123456789 ")[static_cast<qsizetype>(pick(17))];
            return text;
        case 6: // control characters, Latin-1, anything of the basic plane
            for (std::size_t i = 0, n = 1 + pick(12); i < n; ++i) {
                static const std::pair<char16_t, std::size_t> ranges[] = {
                    {1, 31}, {0x20, 0x5f}, {0xa0, 0x60}, {0x100, 0xd700}};
                const auto& [first, size] = ranges[pick(4)];
                text += QChar(static_cast<char16_t>(first + pick(size)));
            }
            return text;
        case 7:
            text.fill(QLatin1Char(chance(50) ? '9' : 'x'), static_cast<qsizetype>(40 + pick(300)));
            return text;
        case 8:
            return QString::number(static_cast<int>(pick(16)));
        case 9:
            return QString::number(static_cast<int>(10 + pick(80)));
        default:
            return QString::number(static_cast<double>(pick(100000)) / 7, 'f', static_cast<int>(pick(4)));
        }
    }

    // Key by key as the planner types. QTest's ASCII keys carry their text; other characters
    // arrive as key events carrying the character.
    void typeText(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            if (!widget->isVisible() || !widget->isEnabled() || widget != QApplication::focusWidget())
                return;
            if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
                QTest::keyClick(widget, c.toLatin1());
                continue;
            }
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }

    // ---- events: each returns false when nothing of its kind can be reached now ----

    bool triggerOne(std::vector<QAction*> actions, QWidget* window)
    {
        std::erase_if(actions, [](const QAction* a) { return !a->isEnabled(); });
        if (actions.empty())
            return false;
        QAction* action = pickOf(actions);
        note(nameOf(action));
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

    bool calcMenu()
    {
        if (!m_form2->isVisible())
            return false;
        std::vector<QAction*> actions{calc<QAction>("Schliessen1")};
        if (const QMenu* menu = calc<QMenu>("Konvektoren1");
            menu->isEnabled() && menu->menuAction()->isEnabled())
            actions.insert(actions.end(),
                           {calc<QAction>("FreieKonvektion1"), calc<QAction>("FreieZwangsKonv1")});
        return triggerOne(actions, m_form2.get());
    }

    bool closeCalcWindow()
    {
        if (!m_form2->isVisible())
            return false;
        note("calculation window frame");
        m_form2->close();
        return true;
    }

    bool listPick()
    {
        std::vector<QListWidget*> lists = reachable<QListWidget>();
        std::erase_if(lists, [](const QListWidget* l) { return l->count() == 0; });
        if (lists.empty())
            return false;
        QListWidget* list = pickOf(lists);
        const int row = static_cast<int>(pick(static_cast<std::size_t>(list->count())));
        const bool twice = chance(25);
        note(nameOf(list) + inCalc(list) + " row " + std::to_string(row) + (twice ? " double click" : "") +
             " " + quoted(list->item(row)->text()));
        clickRow(list, row, twice);
        return true;
    }

    // The planner's usual way through the type panel: a type, a length, a height, then "weiter",
    // each by a click on what the panel shows at that moment.
    bool chooseConvector()
    {
        const auto* panel = calc<QWidget>("Panel4");
        if (!m_form2->isVisible() || !panel->isVisible() || calc<QListWidget>("ListBox1")->count() == 0)
            return false;
        note("type, length, height, weiter");
        for (const char* name : {"ListBox1", "ListBox3", "ListBox4"}) {
            QListWidget* list = calc<QListWidget>(name);
            const std::vector<QListWidget*> lists = reachable<QListWidget>();
            if (list->count() == 0 || std::find(lists.begin(), lists.end(), list) == lists.end())
                continue;
            const int row = static_cast<int>(pick(static_cast<std::size_t>(list->count())));
            note(nameOf(list) + " " + quoted(list->item(row)->text()), "  pick");
            clickRow(list, row, false);
        }
        auto* next = calc<QPushButton>("Konweiter");
        if (const auto buttons = reachable<QPushButton>();
            std::find(buttons.begin(), buttons.end(), next) != buttons.end()) {
            note("Konweiter", "  button");
            giveFocus(next);
            next->click();
        }
        return true;
    }

    bool sliderMove()
    {
        std::vector<QScrollBar*> own; // the window's own sliders, not the scroll bars of its lists
        for (QScrollBar* bar : reachable<QScrollBar>())
            if (bar->window() == m_form2.get() && bar->parentWidget() && !bar->objectName().isEmpty())
                own.push_back(bar);
        if (own.empty())
            return false;
        QScrollBar* bar = pickOf(own);
        giveFocus(bar);
        if (chance(50)) {
            const int span = bar->maximum() - bar->minimum();
            const int value = bar->minimum() + static_cast<int>(pick(static_cast<std::size_t>(span) + 1));
            note(nameOf(bar) + " to " + std::to_string(value) + " of " + std::to_string(bar->minimum()) +
                 ".." + std::to_string(bar->maximum()));
            bar->setValue(value);
        } else {
            static const QAbstractSlider::SliderAction actions[] = {
                QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
                QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
                QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
            const auto action = actions[pick(std::size(actions))];
            note(nameOf(bar) + " action " + std::to_string(int(action)) + " at " +
                 std::to_string(bar->value()));
            bar->triggerAction(action);
        }
        return true;
    }

    bool typeIntoEdit()
    {
        std::vector<QWidget*> fields;
        for (QLineEdit* edit : reachable<QLineEdit>())
            if (!edit->isReadOnly() && !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
                fields.push_back(edit);
        for (QPlainTextEdit* memo : reachable<QPlainTextEdit>())
            fields.push_back(memo);
        if (fields.empty())
            return false;
        QWidget* field = pickOf(fields);
        const bool memo = qobject_cast<QPlainTextEdit*>(field) != nullptr;
        QString text = randomText();
        if (memo && chance(50))
            text += QLatin1Char('\n') + randomText();
        const bool replace = chance(80);
        const std::size_t ending = pick(10); // 0-4 Enter, 5-7 focus elsewhere, 8-9 left in the field
        note(nameOf(field) + inCalc(field) + (replace ? " replaced by " : " appended ") +
             (text.size() > PastedLength ? "pasted " : "") + quoted(text) +
             (ending < 5   ? " + Enter"
              : ending < 8 ? " + focus out"
                           : ""));
        giveFocus(field);
        QTest::keyClick(field, replace ? Qt::Key_A : Qt::Key_End,
                        replace ? Qt::ControlModifier : Qt::NoModifier);
        if (text.size() > PastedLength) {
            // A long text arrives in one paste, as a planner would enter it: typed key by key it
            // would be hundreds of user actions in one event.
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        } else if (!memo) {
            typeText(field, text);
        } else {
            // A line break is a key of its own in the memo.
            const QStringList lines = text.split(QLatin1Char('\n'));
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    QTest::keyClick(field, Qt::Key_Return);
                typeText(field, lines[i]);
            }
        }
        if (ending < 5 && !memo && field->hasFocus()) {
            QTest::keyClick(field, Qt::Key_Return);
        } else if (ending < 8 && field->hasFocus()) {
            std::vector<QWidget*> others;
            for (QWidget* w : reachable<QWidget>())
                if (w != field && w->window() == field->window() && (w->focusPolicy() & Qt::ClickFocus) &&
                    !field->isAncestorOf(w))
                    others.push_back(w);
            if (others.empty())
                field->clearFocus();
            else
                pickOf(others)->setFocus(Qt::MouseFocusReason);
        }
        return true;
    }

    bool countArrows()
    {
        const std::vector<UpDown*> arrows = reachable<UpDown>();
        if (arrows.empty())
            return false;
        UpDown* upDown = pickOf(arrows);
        static const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
        const Qt::Key key = keys[pick(std::size(keys))];
        const std::size_t presses = 1 + pick(3);
        note(nameOf(upDown) + " key " + std::to_string(int(key)) + " x" + std::to_string(presses) + " at " +
             std::to_string(upDown->value()));
        giveFocus(upDown);
        for (std::size_t i = 0; i < presses && upDown->isVisible() && upDown->isEnabled(); ++i)
            QTest::keyClick(upDown, key);
        return true;
    }

    template <class B> bool clickOne()
    {
        const std::vector<B*> buttons = reachable<B>();
        if (buttons.empty())
            return false;
        B* button = pickOf(buttons);
        note(nameOf(button) + inCalc(button) +
             (button->isCheckable() && button->isChecked() ? " (checked)" : ""));
        giveFocus(button);
        if (button->isVisible() && button->isEnabled())
            button->click();
        return true;
    }

    bool infoLineClick()
    {
        std::vector<QLabel*> lines;
        for (QLabel* label : {m_form1->Label2, m_form1->Label4})
            if (!m_calcWindowOnly && label->isVisible() && label->isEnabled())
                lines.push_back(label);
        if (lines.empty())
            return false;
        QLabel* label = pickOf(lines);
        note(nameOf(label) + (m_shell.result ? "" : " (no program opens it)"));
        QTest::mouseClick(label, Qt::LeftButton);
        return true;
    }

    bool typePanelClick()
    {
        auto* panel = calc<QWidget>("Panel4");
        if (!m_form2->isVisible() || !panel->isVisible())
            return false;
        // A spot of the panel's own surface, where no control lies.
        for (int attempt = 0; attempt < 20; ++attempt) {
            const QPoint spot(static_cast<int>(pick(static_cast<std::size_t>(std::max(1, panel->width())))),
                              static_cast<int>(pick(static_cast<std::size_t>(std::max(1, panel->height())))));
            if (panel->childAt(spot))
                continue;
            note("click at " + std::to_string(spot.x()) + "," + std::to_string(spot.y()));
            giveFocus(m_form2.get());
            QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, spot);
            return true;
        }
        return false;
    }

    bool switchWindow()
    {
        if (!m_form2->isVisible())
            return false;
        QWidget* other = QApplication::activeWindow() == m_form1.get() ? static_cast<QWidget*>(m_form2.get())
                                                                       : static_cast<QWidget*>(m_form1.get());
        note(nameOf(other));
        QApplication::setActiveWindow(other);
        return true;
    }

    // ---- dialog answers ----

    std::optional<QString> damagedProjectFile()
    {
        const std::size_t roll = pick(100);
        if (roll < 13) {
            const char* what[] = {"cancel", "a file that does not exist", "a folder"};
            note(what[roll < 8 ? 0 : roll < 11 ? 1 : 2], "  open dialog");
            if (roll < 8)
                return std::nullopt;
            return roll < 11 ? m_temp + QStringLiteral("/gone.kon") : m_temp;
        }
        std::vector<QString> sources;
        for (const fs::path& source : m_sources)
            sources.push_back(QString::fromStdString(source.string()));
        sources.insert(sources.end(), m_savedFiles.begin(), m_savedFiles.end());
        const QString source = pickOf(sources);
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            return source;
        QByteArray image = in.readAll();
        damage(image);
        const QString path = m_temp + QStringLiteral("/load-") + QString::number(++m_fileCounter) +
                             (chance(80) ? QStringLiteral(".kon") : QStringLiteral(".orv"));
        if (QFile out(path); out.open(QIODevice::WriteOnly))
            out.write(image);
        m_scratchFiles.push_back(path);
        note(QFileInfo(source).fileName().toStdString() + " damaged to " + std::to_string(image.size()) +
                 " bytes",
             "  open dialog");
        return path;
    }

    void damage(QByteArray& image)
    {
        using namespace layout;
        const auto size = static_cast<std::size_t>(image.size());
        switch (pick(7)) {
        case 0:
            return; // intact
        case 1:
            for (std::size_t i = 0, n = 1 + pick(16); i < n && size > 0; ++i)
                image[static_cast<qsizetype>(pick(size))] ^= static_cast<char>(1 + pick(255));
            return;
        case 2:
        case 3: // the fields a reader has to guard: counts, doubles, string lengths, flags
            for (std::size_t i = 0, n = size < ProjectRecordSize ? 0 : 1 + pick(6); i < n; ++i)
                damageField(image);
            return;
        case 4:
            image.truncate(static_cast<qsizetype>(pick(size + 1)));
            return;
        case 5:
            for (std::size_t i = 0, n = 1 + pick(100); i < n; ++i)
                image.append(static_cast<char>(pick(256)));
            return;
        default:
            for (qsizetype i = 0; i < image.size(); ++i)
                image[i] = static_cast<char>(pick(256));
            return;
        }
    }

    void damageField(QByteArray& image)
    {
        using namespace layout;
        constexpr auto i32 = std::numeric_limits<std::int32_t>();
        constexpr auto dbl = std::numeric_limits<double>();
        const auto heatingEntry = [](std::size_t k) {
            return record::HeatingEntries.offset + k * HeatingEntrySize;
        };
        const auto coolingEntry = [](std::size_t k) {
            return record::CoolingEntries.offset + k * CoolingEntrySize;
        };
        switch (pick(4)) {
        case 0: {
            static const std::int64_t counts[] = {0, -1, 13, 100, i32.min(), i32.max(), 12, 1};
            const std::size_t field =
                std::array{record::HeatingEntryCount.offset, record::CoolingEntryCount.offset,
                           record::RoomCount.offset}[pick(3)];
            writeLittleEndian(image, field, 4, static_cast<std::uint64_t>(counts[pick(std::size(counts))]));
            return;
        }
        case 1: {
            static const double values[] = {
                dbl.quiet_NaN(), dbl.infinity(), -dbl.infinity(), 1e308, -1e308, 4.9e-324, -0.0, 1e12};
            const std::size_t offset = pickOf(projectDoubleOffsets());
            std::uint64_t bits;
            std::memcpy(&bits, &values[pick(std::size(values))], sizeof bits);
            writeLittleEndian(image, offset, 8, bits);
            return;
        }
        case 2: { // string lengths
            const std::size_t k = pick(MaxEntries);
            const std::size_t lengths[] = {record::Title.offset,
                                           record::Number.offset,
                                           record::Date.offset,
                                           record::RoomName.offset,
                                           record::Attachments.offset + pick(record::AttachmentCount) * 256,
                                           heatingEntry(k),
                                           heatingEntry(k) + entry::TypeText1.offset,
                                           coolingEntry(k),
                                           coolingEntry(k) + entry::TypeText2.offset};
            image[static_cast<qsizetype>(lengths[pick(std::size(lengths))])] = static_cast<char>(pick(256));
            return;
        }
        default: { // flags
            const std::size_t k = pick(MaxEntries);
            const std::size_t flags[] = {record::CalculationDone.offset,
                                         record::HeatingInUse.offset,
                                         record::CoolingInUse.offset,
                                         record::CoolingDualUse.offset,
                                         record::HeatingDualUse.offset,
                                         heatingEntry(k) + heating::InUse.offset,
                                         heatingEntry(k) + heating::FreeConvection.offset,
                                         coolingEntry(k) + cooling::InUse.offset,
                                         record::ReturnTempFixed.offset};
            image[static_cast<qsizetype>(flags[pick(std::size(flags))])] = static_cast<char>(pick(256));
            return;
        }
        }
    }

    std::optional<QString> attachmentPath()
    {
        static const std::vector<const char*> names = {
            "plan.pdf",         "setup.exe",     "run.sh",      "Notiz mit Leerzeichen.txt",
            "Übersicht °C.txt", "archiv.tar.gz", "ohne-endung", "start.bat. "};
        const std::size_t roll = pick(10);
        QString path;
        if (roll >= 2 && roll < 8)
            path = m_temp + QStringLiteral("/anhang/") + QString::fromUtf8(pickOf(names));
        else if (roll >= 8)
            path =
                m_temp + QStringLiteral("/") + QString(static_cast<qsizetype>(200 + pick(200)), QChar(u'ä'));
        note(path.isEmpty() ? std::string("cancel") : quoted(path), "  open dialog");
        if (path.isEmpty())
            return std::nullopt;
        return path;
    }

    std::optional<QString> saveAnswer()
    {
        const std::size_t roll = pick(100);
        if (roll < 10) {
            note("cancel", "  save dialog");
            return std::nullopt;
        }
        const QString path = roll < 14 ? m_temp + QStringLiteral("/missing/projekt.kon")
                             : roll < 24 && !m_savedFiles.empty()
                                 ? m_savedFiles.back() // over the last save
                                 : m_temp + QStringLiteral("/save-") + QString::number(++m_fileCounter) +
                                       QStringLiteral(".kon");
        note(path.toStdString(), "  save dialog");
        m_savesThisEvent.push_back(path);
        return path;
    }

    std::uint64_t m_seed;
    bool m_trace;
    std::mt19937_64 m_random;
    QTemporaryDir m_tempDir;
    QString m_temp;
    MemorySettings m_settings;
    RecordingMessages m_messages;
    AnsweringDialogs m_dialogs;
    RecordingShell m_shell;
    RecordingPrinter m_printer;
    Session m_session;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<MessageRules> m_rules;

    std::vector<fs::path> m_sources;       // intact project files to damage
    std::deque<QString> m_savedFiles;      // recent saves, loaded again now and then
    std::vector<QString> m_savesThisEvent; // save answers given during the event
    std::vector<QString> m_scratchFiles;   // damaged copies, removed after the event
    long m_fileCounter = 0;
    const char* m_kind = "";

    std::map<std::string, long> m_kindsRun;
    long m_eventsWithCalcWindow = 0;
    qint64 m_slowestMs = 0;
    bool m_calcWindowOnly = false; // this event's controls are taken from the calculation window
    std::atomic<long> m_event{0};
    std::atomic<std::int64_t> m_eventStartMs{0};
    mutable std::mutex m_logMutex;
    std::deque<std::string> m_log;
    std::atomic<bool> m_stopWatchdog{false};
    std::thread m_watchdog;
};

void printRunningTail(const char* why)
{
    if (!g_running)
        return;
    std::fprintf(stderr, "\n== monkey: %s at seed %llu, event %ld\n%s", why,
                 static_cast<unsigned long long>(g_running->seed()), g_running->eventNumber(),
                 g_running->logTail().c_str());
    std::fflush(stderr);
}

// A sanitizer report or a crash signal ends the process; the events before it are printed first.
[[maybe_unused]] const bool crashReportSet = [] {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] { printRunningTail("sanitizer report"); });
#else
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, [](int signal) {
            printRunningTail(strsignal(signal));
            void* frames[64];
            backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
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
    Monkey monkey(seed, trace && std::strcmp(trace, "0") != 0);
    monkey.run(events ? std::strtol(events, nullptr, 10) : DefaultEvents);
    std::cout << monkey.summary() << std::endl;
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
TEST(MonkeyChecks, SavedFileWithANonFiniteDoubleOrABadCountIsCaught)
{
    QFile file(QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray intact = file.readAll();
    EXPECT_EQ(savedFileProblem(intact), std::nullopt);
    QByteArray notFinite = intact, tooMany = intact; // the last double of the last cooling entry
    writeLittleEndian(notFinite, projectDoubleOffsets().back(), 8, 0x7ff8000000000000u);
    writeLittleEndian(tooMany, layout::record::HeatingEntryCount.offset, 4, 13);
    for (const QByteArray& broken : {notFinite, tooMany, intact.left(15000)})
        EXPECT_NE(savedFileProblem(broken), std::nullopt);
}

TEST(MonkeyChecks, OnlyInterfaceTextsAndTheProgramsOwnMessagesPass)
{
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
        EXPECT_EQ(rules.problem({kind, text}) == std::nullopt, allowed) << text.toStdString();
}

} // namespace
} // namespace tepa::test
