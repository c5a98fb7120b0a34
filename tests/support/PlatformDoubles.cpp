#include "PlatformDoubles.h"

#include <gtest/gtest.h>

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

void ScriptedMessages::verifyAllShown()
{
    for (const auto& e : m_script)
        ADD_FAILURE() << "expected " << kindName(e.kind)
                      << " was not shown: " << (e.text ? e.text->toStdString() : std::string("(any text)"));
    m_script.clear();
}

bool ScriptedMessages::take(MessageKind kind, const QString& text)
{
    m_shown.push_back(text);
    if (m_script.empty()) {
        ADD_FAILURE() << "unexpected " << kindName(kind) << ": " << text.toStdString();
        return false;
    }
    const Expectation e = m_script.front();
    m_script.pop_front();
    EXPECT_EQ(kindName(kind), std::string(kindName(e.kind))) << "for the box " << text.toStdString();
    if (e.text) {
        EXPECT_EQ(text.toStdString(), e.text->toStdString());
    }
    return e.answer;
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
    return take(MessageKind::YesNo, text);
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

void ScriptedDialogs::verifyAllUsed()
{
    if (!m_openAnswers.empty())
        ADD_FAILURE() << m_openAnswers.size() << " scripted open dialog answer(s) unused";
    if (!m_saveAnswers.empty())
        ADD_FAILURE() << m_saveAnswers.size() << " scripted save dialog answer(s) unused";
    m_openAnswers.clear();
    m_saveAnswers.clear();
}

std::optional<QString> ScriptedDialogs::openFile(const platform::FileDialogRequest& request)
{
    openRequests.push_back(request);
    if (m_openAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog: " << request.title.toStdString();
        return std::nullopt;
    }
    const QString path = m_openAnswers.front().value_or(QString());
    const bool cancelled = !m_openAnswers.front().has_value();
    m_openAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedDialogs::saveFile(const platform::FileDialogRequest& request)
{
    saveRequests.push_back(request);
    if (m_saveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog: " << request.title.toStdString();
        return std::nullopt;
    }
    const QString path = m_saveAnswers.front().value_or(QString());
    const bool cancelled = !m_saveAnswers.front().has_value();
    m_saveAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return path;
}

} // namespace tepa::test
