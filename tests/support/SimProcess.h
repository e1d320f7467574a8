#pragma once
// vantrel-sim as a test runs it: started with its options, its terminal path read from the
// first line of its output, stopped with SIGTERM (so it writes its dumps), killed at the end of
// the test however the test ends.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/Process.h"

namespace vantrel::test {

class SimProcess {
  public:
    // `options` follow the program path.
    explicit SimProcess(const std::vector<std::string>& options) {
        std::vector<std::string> args{(BinDir() / "vantrel-sim").string()};
        args.insert(args.end(), options.begin(), options.end());
        int out[2], err[2];
        if (pipe(out) != 0) return;
        if (pipe(err) != 0) {
            close(out[0]);
            close(out[1]);
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            dup2(err[1], 2);
            close(out[0]);
            close(err[0]);
            std::vector<char*> argv;
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~SimProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) close(out_);
        if (err_ >= 0) close(err_);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    pid_t Pid() const { return pid_; }

    // The terminal path (the first line of stdout), or empty when none came in time.
    std::string Path(int timeoutMs = 5000) {
        std::string line;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < end) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            char c;
            if (read(out_, &c, 1) != 1) break;
            if (c == '\n') return line;
            line += c;
        }
        return {};
    }
    // Sends SIGTERM and waits for the end; returns what it wrote on stderr (its summary), and
    // its exit code in `exitCode` (-1 when it did not exit by itself).
    std::string Stop(int* exitCode = nullptr, int timeoutMs = 5000) {
        if (exitCode) *exitCode = -1;
        if (pid_ <= 0) return {};
        kill(pid_, SIGTERM);
        for (int waited = 0; waited < timeoutMs; waited += 25) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                if (exitCode && WIFEXITED(status)) *exitCode = WEXITSTATUS(status);
                std::string text;
                char buf[512];
                ssize_t n;
                while ((n = read(err_, buf, sizeof buf)) > 0)
                    text.append(buf, static_cast<std::size_t>(n));
                return text;
            }
            usleep(25000);
        }
        return {};
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1, err_ = -1;
};

} // namespace vantrel::test
