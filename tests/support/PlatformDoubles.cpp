#include "PlatformDoubles.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace tepa::test {

namespace {
const char* const DialogNames[] = {"open", "save", "folder"};
}

const char* kindName(MessageKind kind)
{
    static const char* const names[] = {"message", "information", "yes/no question", "yes/no/cancel question",
                                        "error"};
    return names[static_cast<int>(kind)];
}

void ScriptedMessages::verifyAllShown()
{
    for (const auto& e : m_script)
        ADD_FAILURE() << "expected " << kindName(e.kind)
                      << " was not shown: " << e.text.value_or("(any text)").toStdString();
    m_script.clear();
}

platform::Answer ScriptedMessages::take(MessageKind kind, const QString& text)
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

void ScriptedDialogs::verifyAllUsed()
{
    for (int dialog = Open; dialog <= Folder; ++dialog) {
        if (!m_answers[dialog].empty())
            ADD_FAILURE() << m_answers[dialog].size() << " scripted " << DialogNames[dialog]
                          << " dialog answer(s) unused";
        m_answers[dialog].clear();
    }
}

// The next scripted answer of a dialog; a call without one fails the test and cancels.
std::optional<QString> ScriptedDialogs::next(Dialog dialog)
{
    auto& answers = m_answers[dialog];
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected " << DialogNames[dialog] << " dialog";
        return std::nullopt;
    }
    const std::optional<QString> answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::chooseDirectory(const platform::FileDialogRequest& request)
{
    directoryRequests.push_back(request);
    initialDirExisted.push_back(QFileInfo(request.initialDir).isDir());
    return next(Folder);
}

} // namespace tepa::test
