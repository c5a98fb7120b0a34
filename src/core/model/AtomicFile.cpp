#include "core/model/AtomicFile.h"

#include "core/model/ProjectLayout.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tepa {
namespace fs = std::filesystem;

namespace {

constexpr int MaxLinkDepth = 40; // as the system's own limit on nested links

std::string fileError(const fs::path& file, int code)
{
    return file.string() + ": " + std::generic_category().message(code);
}

bool anyWriteBit(mode_t mode)
{
    return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

// The mode a new file gets from the process's umask (read without changing it for long; the
// program has one thread).
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// The target must be writable by its permissions, not only by whoever runs the program: an
// administrator can write anything, and a file someone made read-only is still not to be
// replaced behind his back.
Status checkTarget(const fs::path& target)
{
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    struct stat folderInfo{};
    if (::stat(folder.c_str(), &folderInfo) != 0)
        return Error{fileError(target, errno)};
    if (!S_ISDIR(folderInfo.st_mode))
        return Error{fileError(target, ENOTDIR)};
    if (!anyWriteBit(folderInfo.st_mode))
        return Error{target.string() + ": the folder is read-only"};

    struct stat info{};
    if (::stat(target.c_str(), &info) != 0)
        return errno == ENOENT ? Status(Done{}) : Status(Error{fileError(target, errno)});
    if (S_ISDIR(info.st_mode))
        return Error{fileError(target, EISDIR)};
    if (!S_ISREG(info.st_mode))
        return Error{target.string() + ": not a regular file; it is not replaced"};
    if (!anyWriteBit(info.st_mode))
        return Error{target.string() + ": the file is read-only; it is not replaced"};
    if (info.st_nlink > 1)
        return Error{target.string() + ": the file has " + std::to_string(info.st_nlink - 1) +
                     " further hard link(s), which would keep the old content; save under another "
                     "name or remove the other links"};
    return Done{};
}

bool syncFolder(const fs::path& folder)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

bool isTemporaryName(const std::string& name)
{
    return name.size() == TemporaryFileNameLength && name.starts_with(TemporaryFilePrefix);
}

} // namespace

fs::path resolveWriteTarget(const fs::path& file)
{
    fs::path current = file;
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        std::error_code ec;
        if (!fs::is_symlink(current, ec))
            return current;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec)
            return current;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current;
}

PendingFile::PendingFile(fs::path target, fs::path temporary, int descriptor)
    : m_target(std::move(target))
    , m_temporary(std::move(temporary))
    , m_descriptor(descriptor)
{
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : m_target(std::move(other.m_target))
    , m_temporary(std::move(other.m_temporary))
    , m_descriptor(other.m_descriptor)
    , m_failed(other.m_failed)
{
    other.m_descriptor = -1;
    other.m_temporary.clear();
}

PendingFile::~PendingFile()
{
    discard();
}

void PendingFile::discard()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

Result<PendingFile> PendingFile::create(const fs::path& file)
{
    const fs::path target = resolveWriteTarget(file);
    if (Status usable = checkTarget(target); !usable)
        return Error{usable.error()};

    const fs::path folder = target.parent_path();
    std::string pattern = (folder / (std::string(TemporaryFilePrefix) + "XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        return Error{fileError(target, errno)};
    return PendingFile(target, fs::path(name.data()), descriptor);
}

Status PendingFile::write(std::string_view bytes)
{
    if (m_descriptor < 0)
        return Error{fileError(m_target, EBADF)};
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const int code = written < 0 ? errno : ENOSPC;
            m_failed = true;
            return Error{fileError(m_target, code)};
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return Done{};
}

Status PendingFile::commit()
{
    if (m_descriptor < 0 || m_failed)
        return Error{fileError(m_target, EIO)};

    struct stat info{};
    const mode_t mode = ::stat(m_target.c_str(), &info) == 0 ? (info.st_mode & 07777) : newFileMode();
    int code = 0;
    if (::fchmod(m_descriptor, mode) != 0 || ::fsync(m_descriptor) != 0)
        code = errno;
    if (::close(m_descriptor) != 0 && code == 0)
        code = errno; // a delayed write error (network folders) shows only here
    m_descriptor = -1;
    if (code == 0 && ::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        code = errno;
    if (code != 0) {
        discard();
        return Error{fileError(m_target, code)};
    }
    m_temporary.clear();
    // The new content is in place; a folder that cannot be flushed (some network file
    // systems) only loses the guarantee for a power cut in the next moments.
    syncFolder(m_target.parent_path());
    return Done{};
}

Status writeFileAtomically(const fs::path& file, std::string_view bytes)
{
    Result<PendingFile> pending = PendingFile::create(file);
    if (!pending)
        return Error{pending.error()};
    if (Status written = pending->write(bytes); !written)
        return written;
    return pending->commit();
}

Status refuseOverwritingInput(const fs::path& output, const fs::path& input)
{
    std::error_code ec;
    if (fs::equivalent(output, input, ec) && !ec)
        return Error{output.string() + ": this is the input file " + input.string() +
                     "; it is not overwritten, name another output file"};
    ec.clear();
    const fs::path target = resolveWriteTarget(output);
    if (fs::is_regular_file(target, ec) && fs::file_size(target, ec) == ProjectRecordSize && !ec)
        return Error{output.string() + ": this is a project file; it is not overwritten, name another "
                                       "output file"};
    return Done{};
}

void removeStaleTemporaryFiles(const fs::path& folder, std::chrono::seconds age)
{
    std::error_code ec;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        if (!isTemporaryName(it->path().filename().string()) || !it->is_regular_file(entryError))
            continue;
        const auto modified = it->last_write_time(entryError);
        if (!entryError && now - modified > age)
            fs::remove(it->path(), entryError);
    }
}

} // namespace tepa
