#pragma once

#include <QString>

#include <optional>

namespace tepa::platform {

struct FileDialogRequest
{
    QString title;
    // Qt filter syntax, entries separated by ";;": "Konvektor-Dateien (*.kon)".
    QString filter;
    QString defaultSuffix; // without dot: "kon"
    QString initialDir;
    QString fileName; // proposed name
};

// Common file dialogs; nothing means the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The chosen file must exist.
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // A folder (title and initial folder from the request); nothing when there is no such dialog.
    virtual std::optional<QString> chooseDirectory(const FileDialogRequest&) { return std::nullopt; }
};

} // namespace tepa::platform
