#pragma once

#include "RecordingSurface.h"

#include "platform/Services.h"

#include <gtest/gtest.h>

#include <QtCore>

#include <algorithm>
#include <array>
#include <deque>
#include <optional>
#include <utility>

namespace tepa::test {

enum class MessageKind
{
    Message,
    Information,
    YesNo,
    YesNoCancel,
    Error,
};

inline const char* kindName(MessageKind kind)
{
    return std::array{"message", "information", "yes/no question", "yes/no/cancel question",
                      "error"}[static_cast<int>(kind)];
}

// Message boxes with a script of expected boxes and answers; an unexpected box fails the test
// (answered No or Cancel), and so does an expectation left unused.
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
    ScriptedMessages& expectQuestion(const QString& text, platform::Answer answer)
    {
        return add({MessageKind::YesNoCancel, text, answer});
    }
    void verifyAllShown()
    {
        for (const auto& e : std::exchange(m_script, {}))
            ADD_FAILURE() << "expected " << kindName(e.kind)
                          << " was not shown: " << e.text.value_or("(any text)").toStdString();
    }

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
    platform::Answer take(MessageKind kind, const QString& text)
    {
        m_shown.push_back(text);
        if (m_script.empty()) {
            ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << text.toStdString();
            return platform::Answer::Cancel;
        }
        const Expectation e = m_script.front();
        m_script.pop_front();
        EXPECT_EQ(kindName(kind), std::string(kindName(e.kind))) << "for the box " << text.toStdString();
        EXPECT_EQ(text.toStdString(), e.text.value_or(text).toStdString());
        return e.answer;
    }

    std::deque<Expectation> m_script;
    QStringList m_shown;
};

// File dialogs with scripted answers (a path, or nothing for Cancel); requests are recorded.
class ScriptedDialogs : public platform::FileDialogs
{
public:
    ~ScriptedDialogs() override { verifyAllUsed(); }

    ScriptedDialogs& answerOpen(std::optional<QString> path) { return add(Open, std::move(path)); }
    ScriptedDialogs& answerSave(std::optional<QString> path) { return add(Save, std::move(path)); }
    ScriptedDialogs& answerDirectory(std::optional<QString> path) { return add(Folder, std::move(path)); }
    void verifyAllUsed()
    {
        for (int dialog = Open; dialog <= Folder; ++dialog)
            if (!std::exchange(m_answers[dialog], {}).empty())
                ADD_FAILURE() << "scripted " << DialogNames[dialog] << " dialog answer(s) unused";
    }

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
    std::optional<QString> chooseDirectory(const platform::FileDialogRequest& request) override
    {
        directoryRequests.push_back(request);
        initialDirExisted.push_back(QFileInfo(request.initialDir).isDir());
        return next(Folder);
    }

    std::vector<platform::FileDialogRequest> openRequests, saveRequests, directoryRequests;
    std::vector<bool> initialDirExisted; // for each folder dialog: its initial folder existed

private:
    using Dialog = int;
    static constexpr Dialog Open = 0, Save = 1, Folder = 2;
    static constexpr const char* DialogNames[] = {"open", "save", "folder"};
    ScriptedDialogs& add(Dialog dialog, std::optional<QString> path)
    {
        m_answers[dialog].push_back(std::move(path));
        return *this;
    }
    // The next scripted answer; a call without one fails the test and cancels.
    std::optional<QString> next(Dialog dialog)
    {
        if (m_answers[dialog].empty()) {
            ADD_FAILURE() << "unexpected " << DialogNames[dialog] << " dialog";
            return std::nullopt;
        }
        const std::optional<QString> answer = m_answers[dialog].front();
        m_answers[dialog].pop_front();
        return answer;
    }

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

// A printer without dialogs: each job is drawn on a recording surface, or cancelled.
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

// The first offset at which two byte strings differ, -1 when they are equal.
inline qsizetype firstDifference(const QByteArray& a, const QByteArray& b)
{
    const auto differs = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first;
    return differs == a.end() && a.size() == b.size() ? -1 : differs - a.begin();
}

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
