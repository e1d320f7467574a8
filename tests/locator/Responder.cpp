#include "Responder.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "support/Process.h"
#include "support/TempDir.h"

namespace vantrel::test {
namespace {

// Waits for `pid` at most `ms` milliseconds; true when it ended.
bool Reap(pid_t pid, int ms) {
    for (int waited = 0; waited <= ms; waited += 10) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

Responder::Responder(const std::vector<std::string>& args, const std::filesystem::path& logDir) {
    static int serial = 0;
    log_ = logDir / ("nxt-sim-" + std::to_string(++serial) + ".log");
    std::vector<std::string> argv = {(BinDir() / "nxt-sim").string(), "--exit-after", "60"};
    argv.insert(argv.end(), args.begin(), args.end());
    pid_ = fork();
    if (pid_ == 0) {
        int in = open("/dev/null", O_RDONLY);
        int out = open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        dup2(out, 2);
        std::vector<char*> v;
        for (auto& a : argv)
            v.push_back(a.data());
        v.push_back(nullptr);
        execv(v[0], v.data());
        _exit(127);
    }
    if (pid_ < 0) return;
    for (int i = 0; i < 500 && !ready_; ++i) {
        if (Log().find("answering discover requests") != std::string::npos)
            ready_ = true;
        else if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
            pid_ = -1; // ended before it listened; its log says why
            break;
        } else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

Responder::~Responder() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!Reap(pid_, 2000)) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

std::string Responder::Log() const {
    return ReadFile(log_);
}

} // namespace vantrel::test
