#pragma once

#include <string_view>

namespace tepa {

// Attachments are paths (or addresses) stored in a project file in Windows-1252, at most 255
// bytes each. Project files travel between people, and the desktop starts programs as readily
// as it opens documents, so what is stored and what is opened follow the rules below.

// Whether a path can be stored exactly. Anything else would be changed silently on saving (a
// character outside the code page written as "?", a long path cut off with its file name), so
// such an attachment is refused when it is added.
enum class AttachmentStorage
{
    Exact,
    CharacterOutsideCodePage,
    TooLong,
};
AttachmentStorage attachmentStorage(std::string_view utf8Path);

// What a double click on an attachment does:
// - a local file whose extension is that of a document (PDF, pictures, office documents, text,
//   CAD drawings) is opened;
// - an http or https address whose path does not end in a program's or installer's extension
//   (looked at without the query and fragment, and with %-escapes decoded), or a "mailto:"
//   address that attaches no file, is shown to the planner for confirmation first;
// - everything else (programs, scripts, web pages on the disk, other schemes) is refused.
enum class AttachmentOpening
{
    OpenDocument,
    ConfirmAddress,
    Refuse,
};
AttachmentOpening attachmentOpening(std::string_view utf8Path);

} // namespace tepa
