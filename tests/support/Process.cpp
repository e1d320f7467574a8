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

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
                         int timeoutSeconds, int signalAfterMs, int signal) {
    TempDir scratch;
    auto outPath = scratch / "stdout";
    auto errPath = scratch / "stderr";
    pid_t pid = fork();
    if (pid < 0) return {};
    if (pid == 0) {
        int in = open("/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> args;
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
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
