#include "locator/DiscoverThread.h"

#include <cstdio>

#include "locator/DiscoverSocket.h"
#include "platform/SteadyClock.h"

namespace vantrel::locator {

DiscoverThread::DiscoverThread(RoundHandler onRound)
    : thread_([this, onRound = std::move(onRound)] {
          DiscoverSocket socket;
          if (auto error = socket.Open()) {
              // No discovery at all: the list stays empty.
              std::fputs(error->c_str(), stdout);
              std::fflush(stdout);
              return;
          }
          SteadyClock clock;
          DiscoverRounds(socket, clock).Run(stop_, 0, onRound);
      }) {}

DiscoverThread::~DiscoverThread() {
    RequestStop();
    if (thread_.joinable()) thread_.join();
}

} // namespace vantrel::locator
