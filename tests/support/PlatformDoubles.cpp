#include "PlatformDoubles.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace tepa::test {

const char* kindName(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Message:
        return "message";
    case MessageKind::Information:
        return "information";
    case MessageKind::YesNo:
        return "yes/no question";
    case MessageKind::YesNoCancel:
        return "yes/no/cancel question";
    case MessageKind::Error:
        return "error";
    }
    return "?";
}

ScriptedMessages::~ScriptedMessages()
{
    verifyAllShown();
}

ScriptedMessages& ScriptedMessages::expect(MessageKind kind, const QString& text, bool answer)
{
    m_script.push_back({kind, text, answer});
    return *this;
}

ScriptedMessages& ScriptedMessages::expectAny(MessageKind kind, bool answer)
{
    m_script.push_back({kind, std::nullopt, answer});
    return *this;
}

ScriptedMessages& ScriptedMessages::expectQuestion(const QString& text, platform::Answer answer)
{
    m_script.push_back({MessageKind::YesNoCancel, text, answer == platform::Answer::Yes, answer});
    return *this;
}

void ScriptedMessages::verifyAllShown()
{
    for (const auto& e : m_script)
        ADD_FAILURE() << "expected " << kindName(e.kind)
                      << " was not shown: " << (e.text ? e.text->toStdString() : std::string("(any text)"));
    m_script.clear();
}

ScriptedMessages::Expectation ScriptedMessages::take(MessageKind kind, const QString& text)
{
    m_shown.push_back(text);
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << text.toStdString();
        return {kind, text, false, platform::Answer::Cancel};
    }
    const Expectation e = m_script.front();
    m_script.pop_front();
    EXPECT_EQ(kindName(kind), std::string(kindName(e.kind))) << "for the box " << text.toStdString();
    if (e.text) {
        EXPECT_EQ(text.toStdString(), e.text->toStdString());
    }
    return e;
}

void ScriptedMessages::showMessage(const QString& text)
{
    take(MessageKind::Message, text);
}

void ScriptedMessages::showInformation(const QString& text)
{
    take(MessageKind::Information, text);
}

bool ScriptedMessages::askYesNo(const QString& text)
{
    return take(MessageKind::YesNo, text).answer;
}

platform::Answer ScriptedMessages::askYesNoCancel(const QString& text)
{
    return take(MessageKind::YesNoCancel, text).choice;
}

void ScriptedMessages::showError(const QString& text)
{
    take(MessageKind::Error, text);
}

ScriptedDialogs::~ScriptedDialogs()
{
    verifyAllUsed();
}

ScriptedDialogs& ScriptedDialogs::answerOpen(std::optional<QString> path)
{
    m_openAnswers.push_back(std::move(path));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerSave(std::optional<QString> path)
{
    m_saveAnswers.push_back(std::move(path));
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerDirectory(std::optional<QString> path)
{
    m_directoryAnswers.push_back(std::move(path));
    return *this;
}

void ScriptedDialogs::verifyAllUsed()
{
    if (!m_openAnswers.empty())
        ADD_FAILURE() << m_openAnswers.size() << " scripted open dialog answer(s) unused";
    if (!m_saveAnswers.empty())
        ADD_FAILURE() << m_saveAnswers.size() << " scripted save dialog answer(s) unused";
    if (!m_directoryAnswers.empty())
        ADD_FAILURE() << m_directoryAnswers.size() << " scripted folder dialog answer(s) unused";
    m_openAnswers.clear();
    m_saveAnswers.clear();
    m_directoryAnswers.clear();
}

namespace {

// The next scripted answer of a dialog; a call without one fails the test and cancels.
std::optional<QString> nextAnswer(std::deque<std::optional<QString>>& answers, const char* dialog)
{
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << dialog << " dialog";
        return std::nullopt;
    }
    std::optional<QString> answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

} // namespace

std::optional<QString> ScriptedDialogs::openFile(const platform::FileDialogRequest& request)
{
    openRequests.push_back(request);
    return nextAnswer(m_openAnswers, "open");
}

std::optional<QString> ScriptedDialogs::saveFile(const platform::FileDialogRequest& request)
{
    saveRequests.push_back(request);
    return nextAnswer(m_saveAnswers, "save");
}

std::optional<QString> ScriptedDialogs::chooseDirectory(const platform::FileDialogRequest& request)
{
    directoryRequests.push_back(request);
    initialDirExisted.push_back(QFileInfo(request.initialDir).isDir());
    return nextAnswer(m_directoryAnswers, "folder");
}

} // namespace tepa::test
