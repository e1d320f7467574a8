#pragma once
// Calls queued for the main thread. Any thread may post; only the main thread drains, from its
// timer and while it pumps messages in a wait. Posting never waits for the call to run: a
// thread that found an error goes on at once. A front end that sleeps between timer ticks sets
// a waker so that a posted call is run soon (a queued call in Qt, a condition variable in the
// console front end).
#include <deque>
#include <functional>
#include <mutex>

namespace vantrel {

class MainThreadQueue {
  public:
    using Call = std::function<void()>;

    void Post(Call call);
    // Runs every call queued so far, in order, on the calling (main) thread. Calls posted while
    // it runs wait for the next drain, so a call that posts again cannot keep it busy.
    void Drain();

    // Called after every post, on the posting thread; must not block.
    void SetWaker(std::function<void()> waker);

  private:
    mutable std::mutex lock_; // a leaf lock: held only while the queue is copied or changed
    std::deque<Call> calls_;
    std::function<void()> waker_;
};

} // namespace vantrel
