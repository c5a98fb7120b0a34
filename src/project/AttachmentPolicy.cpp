#include "project/AttachmentPolicy.h"

#include "project/ProjectPaths.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace tepa {
namespace {

// Extensions the desktop executes rather than opens in a viewer: Windows programs, installers,
// command and script hosts, shortcuts (which may point at a program), Java archives, and Unix
// shell scripts and launchers.
constexpr std::array<const char*, 19> RunnableExtensions{
    "exe", "com", "bat", "cmd", "scr", "msi", "msp", "pif",     "cpl", "ps1",
    "vbs", "vbe", "js",  "wsf", "hta", "jar", "sh",  "desktop", "lnk",
};

// Windows ignores trailing blanks and dots in a file name, so "setup.exe. " still runs as a
// program there.
QString withoutTrailingBlanksAndDots(QString name)
{
    while (!name.isEmpty() && (name.back() == QLatin1Char(' ') || name.back() == QLatin1Char('.')))
        name.chop(1);
    return name;
}

bool hasRunnableExtension(const QString& path)
{
    const QString name = withoutTrailingBlanksAndDots(fileNamePart(path));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QString extension = name.mid(dot + 1);
    return std::any_of(RunnableExtensions.begin(), RunnableExtensions.end(), [&](const char* runnable) {
        return extension.compare(QLatin1String(runnable), Qt::CaseInsensitive) == 0;
    });
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile() && info.isExecutable();
}

} // namespace

bool isProgramOrScript(const QString& path)
{
    return hasRunnableExtension(path) || isExecutableFile(path);
}

} // namespace tepa
