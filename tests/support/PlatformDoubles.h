#pragma once

#include "RecordingSurface.h"

#include "platform/Services.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <deque>
#include <optional>

namespace tepa::test {

enum class MessageKind
{
    Message,
    Information,
    YesNo,
    YesNoCancel,
    Error,
};

// The kind of a box as failure messages name it.
const char* kindName(MessageKind kind);

// Message boxes with a script: each expected box in order, with the answer to give. An
// unexpected box fails the test (and is answered No, or Cancel); so does an expectation left
// unused when the double is destroyed or `verifyAllShown` is called.
class ScriptedMessages : public platform::Messages
{
public:
    ~ScriptedMessages() override { verifyAllShown(); }

    ScriptedMessages& expect(MessageKind kind, const QString& text, bool answer = true)
    {
        return add({kind, text, answer ? platform::Answer::Yes : platform::Answer::No});
    }
    // Any text of this kind (for platform errors whose wording is the system's).
    ScriptedMessages& expectAny(MessageKind kind, bool answer = true)
    {
        return add({kind, std::nullopt, answer ? platform::Answer::Yes : platform::Answer::No});
    }
    // A question with Yes, No and Cancel.
    ScriptedMessages& expectQuestion(const QString& text, platform::Answer answer)
    {
        return add({MessageKind::YesNoCancel, text, answer});
    }
    void verifyAllShown();

    void showMessage(const QString& text) override { take(MessageKind::Message, text); }
    void showInformation(const QString& text) override { take(MessageKind::Information, text); }
    bool askYesNo(const QString& text) override
    {
        return take(MessageKind::YesNo, text) == platform::Answer::Yes;
    }
    platform::Answer askYesNoCancel(const QString& text) override
    {
        return take(MessageKind::YesNoCancel, text);
    }
    void showError(const QString& text) override { take(MessageKind::Error, text); }

    // Every box shown, in order.
    const QStringList& shown() const { return m_shown; }

private:
    struct Expectation
    {
        MessageKind kind;
        std::optional<QString> text; // none: any text
        platform::Answer answer;
    };
    ScriptedMessages& add(Expectation e)
    {
        m_script.push_back(std::move(e));
        return *this;
    }
    platform::Answer take(MessageKind kind, const QString& text);

    std::deque<Expectation> m_script;
    QStringList m_shown;
};

// File dialogs with scripted answers: each call takes the next answer (a path, or nothing for
// Cancel) and records the request. A call without a scripted answer fails the test.
class ScriptedDialogs : public platform::FileDialogs
{
public:
    ~ScriptedDialogs() override { verifyAllUsed(); }

    ScriptedDialogs& answerOpen(std::optional<QString> path) { return add(Open, std::move(path)); }
    ScriptedDialogs& answerSave(std::optional<QString> path) { return add(Save, std::move(path)); }
    ScriptedDialogs& answerDirectory(std::optional<QString> path) { return add(Folder, std::move(path)); }
    void verifyAllUsed();

    std::optional<QString> openFile(const platform::FileDialogRequest& request) override
    {
        openRequests.push_back(request);
        return next(Open);
    }
    std::optional<QString> saveFile(const platform::FileDialogRequest& request) override
    {
        saveRequests.push_back(request);
        return next(Save);
    }
    std::optional<QString> chooseDirectory(const platform::FileDialogRequest& request) override;

    std::vector<platform::FileDialogRequest> openRequests, saveRequests, directoryRequests;
    std::vector<bool> initialDirExisted; // for each folder dialog: its initial folder existed

private:
    enum Dialog
    {
        Open,
        Save,
        Folder
    };
    ScriptedDialogs& add(Dialog dialog, std::optional<QString> path)
    {
        m_answers[dialog].push_back(std::move(path));
        return *this;
    }
    std::optional<QString> next(Dialog dialog);

    std::deque<std::optional<QString>> m_answers[3];
};

// Records what the shell was asked to open; answers with `result`.
class RecordingShell : public platform::Shell
{
public:
    bool open(const QString& target) override
    {
        opened.push_back(target);
        return result;
    }
    QStringList opened;
    bool result = true;
};

// Settings held in memory.
class MemorySettings : public platform::Settings
{
public:
    bool open() override
    {
        isOpen = true;
        return true;
    }
    std::optional<QString> readString(const QString& name) override
    {
        return values.contains(name) ? std::optional(values.value(name)) : std::nullopt;
    }
    bool writeString(const QString& name, const QString& value) override
    {
        values.insert(name, value);
        return true;
    }
    void close() override { isOpen = false; }

    QMap<QString, QString> values;
    bool isOpen = false;
};

// A printer without dialogs: each print job is drawn on a recording surface of `dpi`, or,
// with `cancel` set, ends as if the user had cancelled the printer dialog.
class RecordingPrinter : public platform::Printer
{
public:
    std::optional<Status> print(const QString& jobName, const platform::PrintLayout& layout) override
    {
        jobNames.push_back(jobName);
        if (cancel)
            return std::nullopt;
        return layout(jobs.emplace_back(dpi));
    }

    bool cancel = false;
    int dpi = 600;
    QStringList jobNames;              // every job asked for, cancelled ones included
    std::deque<RecordingSurface> jobs; // what each job received
};

// The first offset at which two byte strings differ, -1 when they are equal: a readable failure
// for whole files.
inline qsizetype firstDifference(const QByteArray& a, const QByteArray& b)
{
    const auto differs = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first;
    return differs == a.end() && a.size() == b.size() ? -1 : differs - a.begin();
}

// All doubles together, ready to hand to a window.
struct PlatformDoubles
{
    MemorySettings settings;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    RecordingShell shell;
    RecordingPrinter printer;

    platform::Services services() { return {settings, messages, dialogs, shell, &printer}; }
};

} // namespace tepa::test
