#pragma once

#include <QString>

namespace tepa {

// Attachments are paths stored in a project file, and project files travel between people. A
// double click hands the path to the desktop, which starts programs as readily as it opens
// documents; so a path that names a program or a script is refused instead of opened.

// The message shown instead of opening such an attachment; the path follows it on a new line.
inline constexpr const char* RefusedAttachmentText =
    "Dieser Anhang ist ein Programm oder Skript und wird aus Sicherheitsgründen nicht geöffnet:";

// True when `path` names a program or script: its extension is one that the desktop runs
// (checked without regard to case, and after the blanks and dots that Windows drops from the end
// of a name), or it is an existing regular file with an executable permission. Directories and
// documents are false.
bool isProgramOrScript(const QString& path);

} // namespace tepa
