#pragma once

// Random use of both windows: a seeded stream of menu commands, list picks, slider moves, typed
// text (garbage included), counts, stage buttons, list editing, damaged project files and saves,
// with the invariants checked after every event. A broken invariant names the seed and the event
// and shows the events before it, so the run can be replayed.

#include "PlatformDoubles.h"

#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "core/model/Session.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

class QAction;
class QWidget;

namespace tepa::test {

// Message boxes that record every box and answer each question with `answer`.
class RecordingMessages : public platform::Messages
{
public:
    struct Box
    {
        MessageKind kind;
        QString text;
    };

    void showMessage(const QString& text) override { boxes.push_back({MessageKind::Message, text}); }
    void showInformation(const QString& text) override { boxes.push_back({MessageKind::Information, text}); }
    bool askYesNo(const QString& text) override
    {
        boxes.push_back({MessageKind::YesNo, text});
        return answer ? answer() : true;
    }
    void showError(const QString& text) override { boxes.push_back({MessageKind::Error, text}); }

    std::function<bool()> answer;
    std::vector<Box> boxes;
};

// File dialogs answered by callbacks; nothing is Cancel.
class AnsweringDialogs : public platform::FileDialogs
{
public:
    using Answer = std::function<std::optional<QString>(const platform::FileDialogRequest&)>;

    std::optional<QString> openFile(const platform::FileDialogRequest& request) override
    {
        return open ? open(request) : std::nullopt;
    }
    std::optional<QString> saveFile(const platform::FileDialogRequest& request) override
    {
        return save ? save(request) : std::nullopt;
    }

    Answer open;
    Answer save;
};

// The texts a message box may show: an interface text line, the few fixed texts of the program
// and the ways the program composes them, and the platform's errors of the files the monkey
// hands over (a missing project file, a save into a missing folder, a return temperature that
// is no number).
class MessageRules
{
public:
    MessageRules(const InterfaceTexts& texts, const QString& tempDir);
    // Nothing when the box is one the program may show; else what is wrong with it.
    std::optional<std::string> problem(const RecordingMessages::Box& box) const;

private:
    QSet<QString> m_lines;
    QSet<QString> m_addresses;
    QString m_tempDir;
};

// Offsets of every double in a project file image.
const std::vector<std::size_t>& projectDoubleOffsets();

// What is wrong with a saved project file, if anything: its size, a non-finite double, a record
// the codec cannot read, counts outside their lists.
std::optional<std::string> savedFileProblem(const QByteArray& image);

class Monkey
{
public:
    Monkey(std::uint64_t seed, bool trace);
    ~Monkey();
    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    // Runs `events` events, checking the invariants after each. The first broken invariant is
    // reported as a test failure and ends the run.
    void run(long events);

    // How often each kind of event ran, for a line of coverage after the run.
    std::string summary() const;

private:
    using Action = bool (Monkey::*)();
    struct Kind
    {
        const char* name;
        int weight;
        Action action;
    };

    // ---- events: each returns false when nothing of its kind can be reached now ----
    bool mainMenu();
    bool calcMenu();
    bool closeCalcWindow();
    bool listPick();
    bool chooseConvector();
    bool sliderMove();
    bool typeIntoEdit();
    bool countArrows();
    bool radioClick();
    bool buttonClick();
    bool infoLineClick();
    bool typePanelClick();
    bool switchWindow();

    // ---- dialog answers ----
    std::optional<QString> openAnswer(const platform::FileDialogRequest& request);
    std::optional<QString> saveAnswer();
    std::optional<QString> damagedProjectFile();
    std::optional<QString> attachmentPath();
    void damage(QByteArray& image);

    // ---- helpers ----
    std::size_t pick(std::size_t n); // 0 .. n-1
    bool chance(int percent);
    QString randomText();
    void typeText(QWidget* widget, const QString& text);
    void giveFocus(QWidget* widget);
    bool triggerOne(std::vector<QAction*> actions, const char* kind, QWidget* window);
    template <class B> bool clickOne(const char* kind);
    std::string inCalc(const QWidget* widget) const; // " (calculation)" for the calculation window
    template <class W> std::vector<W*> reachable() const;
    void note(const std::string& kind, const std::string& detail);
    std::optional<std::string> problemAfterEvent(std::size_t firstBox, qint64 elapsedMs);
    std::optional<std::string> stateProblem() const;
    void fail(const std::string& problem);
    void tidyUp();

public:
    // The last events, oldest first (also printed when a sanitizer or the watchdog ends the run).
    std::string logTail() const;
    std::uint64_t seed() const { return m_seed; }
    long eventNumber() const { return m_event.load(); }

private:
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
    std::unique_ptr<Session> m_session;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<MessageRules> m_rules;

    std::vector<std::filesystem::path> m_sources; // intact project files to damage
    std::deque<QString> m_savedFiles;             // recent saves, loaded again now and then
    std::vector<QString> m_savesThisEvent;        // save answers given during the event
    std::vector<QString> m_scratchFiles;          // damaged copies, removed after the event
    long m_fileCounter = 0;

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

} // namespace tepa::test
