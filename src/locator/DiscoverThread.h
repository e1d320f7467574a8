#pragma once
// The dialog's worker: sets up the socket and runs discovery rounds on a thread of its own
// until it is asked to stop. Each finished round is handed to `onRound` on the worker thread;
// the receiver copies the table and shows it on its own thread. The destructor asks the
// thread to stop and waits for it (at most one round, about 600 ms).
#include <atomic>
#include <thread>

#include "locator/DiscoverRounds.h"

namespace vantrel::locator {

class DiscoverThread {
  public:
    explicit DiscoverThread(RoundHandler onRound);
    ~DiscoverThread();
    DiscoverThread(const DiscoverThread&) = delete;
    DiscoverThread& operator=(const DiscoverThread&) = delete;

    void RequestStop() { stop_.store(true); }

  private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vantrel::locator
