// Work done on a thread of its own while the caller goes on.
#pragma once

#include <future>
#include <utility>

namespace qh {

// Runs `work` on a thread of its own; where no thread can be had, when its result is asked for.
// The future waits for the work when it is destroyed, so nothing the work reads may go before it.
template <typename Work>
auto Beside(Work&& work) {
    return std::async(std::launch::async | std::launch::deferred, std::forward<Work>(work));
}

}  // namespace qh
