#include "base/MainThreadQueue.h"

namespace vantrel {

void MainThreadQueue::Post(Call call) {
    std::function<void()> waker;
    {
        std::lock_guard guard(lock_);
        calls_.push_back(std::move(call));
        waker = waker_;
    }
    if (waker) waker();
}

void MainThreadQueue::Drain() {
    std::deque<Call> calls;
    {
        std::lock_guard guard(lock_);
        calls.swap(calls_);
    }
    for (Call& call : calls)
        if (call) call();
}

void MainThreadQueue::SetWaker(std::function<void()> waker) {
    std::lock_guard guard(lock_);
    waker_ = std::move(waker);
}

} // namespace vantrel
