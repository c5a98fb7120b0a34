#include "core/model/Attachments.h"

#include "core/model/ProjectLayout.h"
#include "core/text/Encoding.h"

#include <algorithm>
#include <array>
#include <string>
#include <type_traits>

namespace tepa {
namespace {

using AttachmentField = std::remove_cvref_t<decltype(layout::record::Attachments)>::Type::value_type;

// Documents a planner attaches: drawings, data sheets, offers, photographs. Formats that carry
// macros or scripts (docm, xlsm, svg, html) are left out on purpose.
constexpr std::array<std::string_view, 34> DocumentExtensions{
    "pdf", "txt", "csv", "rtf",  "doc", "docx", "xls", "xlsx", "ppt",  "pptx", "odt", "ods",
    "odp", "odg", "png", "jpg",  "jpeg", "gif", "bmp", "tif",  "tiff", "webp", "dwg", "dxf",
    "dwf", "dwfx", "ifc", "step", "stp", "igs",  "iges", "xps", "eml", "msg",
};

// Extensions that run something when a browser hands the download to the desktop: Windows
// programs, installers, script hosts, shortcuts, help and settings files, disk images, and the
// packages and scripts of Linux desktops.
constexpr std::array<std::string_view, 41> ProgramExtensions{
    "exe", "com",      "bat",      "cmd",      "scr",      "msi", "msp", "msix", "appx", "pif",
    "cpl", "ps1",      "psm1",     "vbs",      "vbe",      "js",  "jse", "wsf",  "wsh",  "hta",
    "jar", "sh",       "desktop",  "lnk",      "url",      "reg", "chm", "msc",  "appref-ms",
    "settingcontent-ms", "inf",    "iso",      "img",      "vhd", "py",  "pyw",  "appimage",
    "deb", "rpm",      "run",      "dmg",
};

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), lower);
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && lowered(text.substr(0, prefix.size())) == prefix;
}

// The extension of the last name of a path, lower case. Windows drops trailing blanks and
// dots from a name, so "setup.exe. " is still a program there.
std::string extensionOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '.'))
        name.remove_suffix(1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : lowered(name.substr(dot + 1));
}

bool isIn(std::string_view extension, const auto& list)
{
    return std::find(list.begin(), list.end(), extension) != list.end();
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = lower(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string percentDecoded(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

AttachmentOpening webAddress(std::string_view address, std::size_t schemeLength)
{
    std::string_view rest = address.substr(schemeLength);
    rest = rest.substr(0, rest.find_first_of("?#"));
    const std::size_t slash = rest.find('/');
    const std::string path = slash == std::string_view::npos ? std::string() : percentDecoded(rest.substr(slash));
    if (isIn(extensionOf(path), ProgramExtensions))
        return AttachmentOpening::Refuse;
    return AttachmentOpening::ConfirmAddress;
}

AttachmentOpening mailAddress(std::string_view address)
{
    // A mail program may attach any file the address names ("attach=", "attachment=").
    if (lowered(percentDecoded(address)).find("attach") != std::string::npos)
        return AttachmentOpening::Refuse;
    return AttachmentOpening::ConfirmAddress;
}

// "c:\..." is a path; "file:", "ftp:", "javascript:" and the like are schemes.
bool hasScheme(std::string_view path)
{
    const std::size_t colon = path.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return false;
    return std::all_of(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    });
}

} // namespace

AttachmentStorage attachmentStorage(std::string_view utf8Path)
{
    // The converter marks what the code page lacks with the replacement; a NUL never occurs
    // in a typed path, so it tells a lost character from a "?" the path really has.
    const std::string stored = utf8ToCp1252(utf8Path, '\0');
    if (stored.find('\0') != std::string::npos)
        return AttachmentStorage::CharacterOutsideCodePage;
    if (stored.size() > AttachmentField::MaxLength)
        return AttachmentStorage::TooLong;
    return AttachmentStorage::Exact;
}

AttachmentOpening attachmentOpening(std::string_view path)
{
    const std::size_t start = std::min(path.find_first_not_of(' '), path.size());
    path.remove_prefix(start);
    if (startsWithNoCase(path, "https://"))
        return webAddress(path, 8);
    if (startsWithNoCase(path, "http://"))
        return webAddress(path, 7);
    if (startsWithNoCase(path, "mailto:"))
        return mailAddress(path);
    if (path.empty() || hasScheme(path))
        return AttachmentOpening::Refuse;
    return isIn(extensionOf(path), DocumentExtensions) ? AttachmentOpening::OpenDocument : AttachmentOpening::Refuse;
}

} // namespace tepa
