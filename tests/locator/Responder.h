#pragma once
// An nxt-sim responder running in the background for the length of a test. It is told to end
// by itself after a while too, and is killed when the test ends.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace vantrel::test {

class Responder {
  public:
    // Starts nxt-sim with `args` and waits (at most 5 s) until it listens. Ready() says
    // whether it did.
    Responder(const std::vector<std::string>& args, const std::filesystem::path& logDir);
    ~Responder();
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    bool Ready() const { return ready_; }
    std::string Log() const;

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
    std::filesystem::path log_;
};

} // namespace vantrel::test
