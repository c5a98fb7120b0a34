#include "project/ProjectPaths.h"

#include <QDir>

#include <algorithm>

namespace tepa {

std::optional<QString> projectFileFromArguments(const QStringList& arguments)
{
    constexpr qsizetype TrailingArguments = 3;
    if (arguments.size() < TrailingArguments + 1)
        return std::nullopt;
    return arguments.mid(0, arguments.size() - TrailingArguments).join(QLatin1Char(' '));
}

std::optional<std::filesystem::path> projectPathFromArguments(const std::vector<std::string>& arguments)
{
    constexpr std::size_t TrailingArguments = 3;
    if (arguments.size() < TrailingArguments + 1)
        return std::nullopt;
    std::string joined = arguments.front();
    for (std::size_t i = 1; i + TrailingArguments < arguments.size(); ++i)
        joined += ' ' + arguments[i];
    return std::filesystem::path(joined);
}

QString technicalDataPath(const QString& projectFile)
{
    const QString name = fileNamePart(projectFile);
    const QString folder = projectFile.left(projectFile.size() - name.size());
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    return folder + QStringLiteral("techdaten") + extension;
}

QString fileNamePart(const QString& path)
{
    const qsizetype separator =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(separator + 1);
}

void makeProgramDirCurrent(const std::filesystem::path& programDir)
{
    if (!programDir.empty())
        QDir::setCurrent(QString::fromStdU16String(programDir.u16string()));
}

} // namespace tepa
