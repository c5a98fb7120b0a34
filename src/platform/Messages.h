#pragma once

#include <QString>

namespace tepa::platform {

enum class Answer
{
    Yes,
    No,
    Cancel,
};

// Modal message boxes. Every message the windows show goes through here, so tests can script
// the answers and check which text was shown.
class Messages
{
public:
    virtual ~Messages() = default;
    // A plain message with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // An information box with an OK button.
    virtual void showInformation(const QString& text) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // A confirmation with Yes, No and Cancel. Without a box of its own, Yes and No only.
    virtual Answer askYesNoCancel(const QString& text) { return askYesNo(text) ? Answer::Yes : Answer::No; }
    // A file or conversion error of the platform, shown with its own wording.
    virtual void showError(const QString& text) = 0;
};

} // namespace tepa::platform
