#pragma once

#include <QString>

namespace tepa {

// Attachments are paths stored in a project file, and project files travel between people. A
// double click hands the path to the desktop, which starts programs as readily as it opens
// documents; so a path that names a program or a script is refused instead of opened.

// The message shown instead of opening such an attachment; the path follows it on a new line.
inline constexpr const char* RefusedAttachmentText =
    "Dieser Anhang wird aus Sicherheitsgründen nicht geöffnet; geöffnet werden nur Dokumente (PDF, "
    "Bilder, Office, Text, CAD-Zeichnungen) und Internetadressen, die kein Programm laden:";

// True when `path` is not to be opened: the rules of attachmentOpening (core/model/Attachments.h)
// refuse it, or it is an existing regular file with an executable permission (a document name
// does not make a program harmless).
bool isProgramOrScript(const QString& path);

} // namespace tepa
