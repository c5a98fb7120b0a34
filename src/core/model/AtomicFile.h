#pragma once

#include "core/Result.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string_view>

namespace tepa {

// Every file the program writes (projects, technical data, printouts) goes through here, so that
// no failure, full disk or kill at any moment leaves a target half-written: the bytes go to a
// temporary file in the target's folder, are flushed to the disk, and only then is the
// temporary file renamed over the target. Until that rename the old file is untouched; after it
// the new one is complete.
//
// The target is the file a link points to: a symbolic link is followed (the link stays a link
// and its target gets the new content, with the target's permissions). A read-only target or
// folder is refused with a message naming it. A file with further hard links is refused too:
// replacing it would leave the other names on the old content without anyone noticing, and
// writing in place would give up the protection against half-written files.

// Temporary files are named ".tepa-" plus six characters, short enough beside any legal file
// name; a kill between creating and renaming leaves one behind, which the next start removes.
inline constexpr std::string_view TemporaryFilePrefix = ".tepa-";
inline constexpr std::size_t TemporaryFileNameLength = 12;

// The file that writing to `file` replaces: `file` itself, or the file its symbolic links lead
// to (a dangling link leads to the file it names). Relative links are taken from the link's
// folder.
std::filesystem::path resolveWriteTarget(const std::filesystem::path& file);

// A temporary file beside a target, written and then either committed over the target or
// removed (the destructor removes what was not committed).
class PendingFile
{
public:
    // Checks the target (above) and creates the temporary file.
    static Result<PendingFile> create(const std::filesystem::path& file);

    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    ~PendingFile();

    // The temporary file, for writers that open files by name (the PDF writer). They must write
    // it in place (truncate, not replace).
    const std::filesystem::path& temporaryPath() const { return m_temporary; }
    const std::filesystem::path& target() const { return m_target; }

    Status write(std::string_view bytes);
    // Flushes the file to the disk, gives it the target's permissions and renames it over the
    // target; then flushes the folder so that the rename itself survives a power cut.
    Status commit();

private:
    PendingFile(std::filesystem::path target, std::filesystem::path temporary, int descriptor);
    void discard();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    int m_descriptor = -1;
    bool m_failed = false;
};

// Writes `bytes` to `file` through a PendingFile.
Status writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// An output file must not destroy what the command was given or any project: refuses `output`
// when it is the same file as `input` (also through links) or an existing project file (a file
// of exactly one project record's size).
Status refuseOverwritingInput(const std::filesystem::path& output, const std::filesystem::path& input);

// Removes this program's temporary files older than `age` from `folder` (not its subfolders):
// what killed saves left behind. Younger ones may belong to a save running right now.
void removeStaleTemporaryFiles(const std::filesystem::path& folder,
                               std::chrono::seconds age = std::chrono::hours(24));

} // namespace tepa
