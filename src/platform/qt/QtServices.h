#pragma once

#include "platform/Services.h"
#include "platform/qt/QtPrintSurface.h"

#include <QSettings>

#include <memory>

class QWidget;

namespace tepa::platform {

class QtSettings : public Settings
{
public:
    bool open() override;
    std::optional<QString> readString(const QString& name) override;
    bool writeString(const QString& name, const QString& value) override;
    void close() override;

private:
    std::unique_ptr<QSettings> m_settings;
};

// Message boxes and dialogs owned by the window given by `owner()` at the time of the call.
class QtMessages : public Messages
{
public:
    void setOwner(QWidget* owner) { m_owner = owner; }
    void showMessage(const QString& text) override;
    void showInformation(const QString& text) override;
    bool askYesNo(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    void showError(const QString& text) override;

private:
    QWidget* m_owner = nullptr;
};

class QtFileDialogs : public FileDialogs
{
public:
    void setOwner(QWidget* owner) { m_owner = owner; }
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QString> chooseDirectory(const FileDialogRequest& request) override;

private:
    QWidget* m_owner = nullptr;
};

class QtShell : public Shell
{
public:
    bool open(const QString& target) override;
};

// One of each, for the application.
struct QtPlatform
{
    QtSettings settings;
    QtMessages messages;
    QtFileDialogs dialogs;
    QtShell shell;
    QtPrinter printer;

    Services services() { return {settings, messages, dialogs, shell, &printer}; }
    void setOwner(QWidget* owner)
    {
        messages.setOwner(owner);
        dialogs.setOwner(owner);
        printer.setOwner(owner);
    }
};

} // namespace tepa::platform
