#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tepa {

// A fault in the data of an installation folder, found before the program trips over it.
struct Problem
{
    std::string file;     // file name inside the folder, e.g. "freikon.txt"
    std::size_t line = 0; // 1-based, as editors count; 0 when the file as a whole is meant
    std::string message;
};

// The text files the program reads from an installation folder, as UTF-8 lines. A file that
// could not be read is empty (no optional value).
struct InstallationFiles
{
    std::optional<std::vector<std::string>> texts;       // "tepatext.txt"
    std::optional<std::vector<std::string>> freeTypes;   // "freikon.txt"
    std::optional<std::vector<std::string>> forcedTypes; // "zwangskon.txt"
    std::optional<std::vector<std::string>> heights;     // "bauhoehen.txt"
    std::optional<std::vector<std::string>> typeIndex;   // "konvektoren.txt"
};

InstallationFiles readInstallation(const std::filesystem::path& dir);

// Checks every rule the readers rely on: the layout of the type files, the data and fan columns,
// the height lines, the interface texts the program addresses, and that every entry of the type
// index selects types of its type file. Problems come in file order; none means valid.
std::vector<Problem> checkInstallationFiles(const InstallationFiles& files);
std::vector<Problem> checkInstallation(const std::filesystem::path& dir);

} // namespace tepa
