#include "cli/Cli.h"
#include "cli/Command.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tepa::cli {
namespace {

// Both ends of a pipe, closed with the object unless handed on.
struct Pipe
{
    int read = -1, write = -1;
    Pipe()
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) == 0) {
            read = ends[0];
            write = ends[1];
        }
    }
    ~Pipe()
    {
        closeRead();
        closeWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool ok() const { return read >= 0; }
    void closeRead()
    {
        if (read >= 0)
            ::close(read);
        read = -1;
    }
    void closeWrite()
    {
        if (write >= 0)
            ::close(write);
        write = -1;
    }
};

// Copies both pipes to their streams until the program has closed both; reading them together
// keeps a program that writes much to one from waiting on the other.
void passOn(Pipe& output, std::ostream& out, Pipe& errors, std::ostream& err)
{
    struct Source
    {
        Pipe* pipe;
        std::ostream* stream;
    } sources[] = {{&output, &out}, {&errors, &err}};
    char buffer[4096];
    for (;;) {
        pollfd fds[2];
        nfds_t count = 0;
        for (const Source& source : sources)
            if (source.pipe->read >= 0)
                fds[count++] = {source.pipe->read, POLLIN, 0};
        if (count == 0)
            return;
        if (::poll(fds, count, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        for (nfds_t i = 0; i < count; ++i) {
            if (fds[i].revents == 0)
                continue;
            for (Source& source : sources)
                if (source.pipe->read == fds[i].fd) {
                    const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
                    if (n > 0)
                        source.stream->write(buffer, n);
                    else if (n == 0 || errno != EINTR)
                        source.pipe->closeRead();
                }
        }
    }
}

} // namespace

int runPrintProgram(const std::filesystem::path& program, std::string_view command, Invocation& call)
{
    const std::string name = "tepa " + std::string(command) + ": ";
    std::vector<std::string> words = {program.string(), std::string(command), "--data", call.dataDir.string()};
    words.insert(words.end(), call.args.begin(), call.args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    Pipe output, errors;
    if (!output.ok() || !errors.ok()) {
        call.err << name << "cannot start the print program: " << std::strerror(errno) << '\n';
        return ExitBadInput;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors.write, STDERR_FILENO);
    pid_t child = 0;
    const int started = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) {
        call.err << name << "cannot start the print program " << program.string() << ": "
                 << std::strerror(started) << '\n';
        return ExitBadInput;
    }
    output.closeWrite();
    errors.closeWrite();
    passOn(output, call.out, errors, call.err);

    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) {
            call.err << name << "the print program was lost: " << std::strerror(errno) << '\n';
            return ExitBadInput;
        }
    if (WIFEXITED(status)) {
        const int code = WEXITSTATUS(status);
        return code == ExitOk || code == ExitUsage ? code : ExitBadInput;
    }
    call.err << name << "the print program ended abnormally (signal " << WTERMSIG(status) << ")\n";
    return ExitBadInput;
}

} // namespace tepa::cli
