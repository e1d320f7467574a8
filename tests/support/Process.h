#pragma once
// Runs a program as a child process in a given directory and collects its exit code, stdout
// and stderr. Used by the tests that drive vantrel-cli and the emulators as a user would.
#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the program could not be run or was killed
    std::string out;
    std::string err;
};

// stdin is /dev/null, as in CI. The program is killed after `timeoutSeconds`; with
// `signalAfterMs` > 0 it is sent `signal` once that many milliseconds have passed.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::filesystem::path& cwd,
                         int timeoutSeconds = 60, int signalAfterMs = 0, int signal = 0);

// As RunProcess, but stream `fd` (1: stdout, 2: stderr) is a pipe whose read end was closed
// before the program started, as after `| head -1` has ended: every write to it fails (EPIPE,
// and SIGPIPE unless the program ignores it). That stream's text is not collected.
ProcessResult RunProcessWithClosedPipe(const std::vector<std::string>& argv,
                                       const std::filesystem::path& cwd, int fd,
                                       int timeoutSeconds = 60);

// The directory the programs were built into (VANTREL_BIN_DIR, set by the test runner).
std::filesystem::path BinDir();

// Copies a built program into `dir` (a scratch installation) and returns its path there.
std::filesystem::path Install(const std::string& program, const std::filesystem::path& dir);

// The sample device that InstallSampleDevice sets up.
inline constexpr const char* kSampleDevice = "NR16C62A";

// A scratch installation in which a device is set up, so that start-up finds valid device
// settings (without them it reports error 227, which stops a batch): the sample device
// database (Device/ beside the built programs) is copied into `dir`, and a settings file
// "vantrel.ini" naming kSampleDevice is written there. `dir` also serves as the program
// directory of an App in the test's own process.
void InstallSampleDevice(const std::filesystem::path& dir);

} // namespace vantrel::test
