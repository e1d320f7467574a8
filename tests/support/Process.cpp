#include "support/Process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/TempDir.h"

namespace vantrel::test {

namespace {

// `closedPipeFd` (1 or 2, else none): that stream is a pipe without a reader.
ProcessResult Run(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
                  int timeoutSeconds, int signalAfterMs, int signal, int closedPipeFd) {
    TempDir scratch;
    auto outPath = scratch / "stdout";
    auto errPath = scratch / "stderr";
    // The read end is closed before the child exists, so no write of the child can succeed.
    int pipeEnds[2] = {-1, -1};
    if (closedPipeFd == 1 || closedPipeFd == 2) {
        if (pipe(pipeEnds) != 0) return {};
        close(pipeEnds[0]);
    }
    pid_t pid = fork();
    if (pid < 0) {
        if (pipeEnds[1] >= 0) close(pipeEnds[1]);
        return {};
    }
    if (pid == 0) {
        int in = open("/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(127);
        if (closedPipeFd == 1) out = pipeEnds[1];
        if (closedPipeFd == 2) err = pipeEnds[1];
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        // As from a login shell, whatever the test runner ignores: a closed pipe would
        // otherwise look handled by the program under test.
        ::signal(SIGPIPE, SIG_DFL);
        // The program never sees this machine's serial adapters, also when a test runs
        // outside CTest: only the pseudo-terminals a test names in [Ports].
        setenv("VANTREL_DEVICE_ROOT", "/nonexistent-device-tree", 0);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    if (pipeEnds[1] >= 0) close(pipeEnds[1]);
    ProcessResult result;
    auto start = std::chrono::steady_clock::now();
    auto deadline = start + std::chrono::seconds(timeoutSeconds);
    bool signalled = signalAfterMs <= 0;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (!signalled &&
            std::chrono::steady_clock::now() > start + std::chrono::milliseconds(signalAfterMs)) {
            kill(pid, signal);
            signalled = true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
                         int timeoutSeconds, int signalAfterMs, int signal) {
    return Run(argv, cwd, timeoutSeconds, signalAfterMs, signal, 0);
}

ProcessResult RunProcessWithClosedPipe(const std::vector<std::string>& argv,
                                       const std::filesystem::path& cwd, int fd,
                                       int timeoutSeconds) {
    return Run(argv, cwd, timeoutSeconds, 0, 0, fd);
}

std::filesystem::path BinDir() {
    const char* dir = std::getenv("VANTREL_BIN_DIR");
    if (!dir || !*dir) throw std::runtime_error("VANTREL_BIN_DIR is not set");
    return dir;
}

std::filesystem::path Install(const std::string& program, const std::filesystem::path& dir) {
    auto target = dir / program;
    std::filesystem::copy_file(BinDir() / program, target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}

void InstallSampleDevice(const std::filesystem::path& dir) {
    std::filesystem::copy(BinDir() / "Device", dir / "Device",
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::overwrite_existing);
    WriteFile(dir / "vantrel.ini",
              std::string("[Settings]\r\nDevice=\"") + kSampleDevice + "\"\r\n");
}

} // namespace vantrel::test
