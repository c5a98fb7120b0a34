#pragma once

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tepa {

// The project file named on the command line. With four or more arguments (after the program
// name) the first n - 3 of them, joined by single blanks, are the file name: a path holding
// blanks arrives split into several arguments. The last three arguments are for the caller
// that starts the program and are not read here. Fewer than four arguments name no file.
std::optional<QString> projectFileFromArguments(const QStringList& arguments);
// The same from the arguments as the system gave them (bytes, not decoded), for saving: a name
// that is not valid in the locale's encoding names exactly the file it named.
std::optional<std::filesystem::path> projectPathFromArguments(const std::vector<std::string>& arguments);

// Where the technical data file of a project file goes: its folder, then "techdaten" with the
// project file's extension ("/p/Raum 1.kon" -> "/p/techdaten.kon"; no extension, no dot).
QString technicalDataPath(const QString& projectFile);

// The file name part of a stored path. Paths may come from project files written on another
// system, so both "/" and "\" end a folder name.
QString fileNamePart(const QString& path);

// The product data, the type index and the pictures are read relative to the current
// directory; a file dialog may have moved it, so each command that showed one makes the program
// directory current again.
void makeProgramDirCurrent(const std::filesystem::path& programDir);

} // namespace tepa
