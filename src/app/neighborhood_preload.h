// The first neighborhood loaded on a thread of its own while the window is being built, when the
// program knows which one it will load without asking: the load and the building of the window's
// panels then share the wait.
#pragma once

#include <atomic>
#include <cstddef>
#include <future>
#include <mutex>
#include <string>
#include <vector>

#include "platform/progress.h"
#include "platform/reporter.h"
#include "workspace/game_session.h"

namespace qh::app {

class NeighborhoodPreload {
public:
    // Begins loading the session's catalogue entry into a model of its own, from copies of what
    // the load reads: the session is not touched before Adopt.
    NeighborhoodPreload(const GameSession& session, std::size_t entry);
    // A load never adopted is stopped and waited for.
    ~NeighborhoodPreload();
    NeighborhoodPreload(const NeighborhoodPreload&) = delete;
    NeighborhoodPreload& operator=(const NeighborhoodPreload&) = delete;

    std::size_t entry() const { return entry_; }
    // Waits for the load while `progress` shows it and steps (its Cancelled stops the load), then
    // makes it the session's loaded neighborhood and tells `reporter` what the load reported, in
    // order. Throws what the load threw (OperationCancelled when cancelled), the session's model
    // then empty.
    void Adopt(GameSession& session, Reporter& reporter, Progress& progress);

private:
    // What the loading thread tells: its status and bar, read by the window's thread.
    class Shared final : public Progress, public Reporter {
    public:
        void SetStatus(std::string_view text) override;
        void SetMaximum(int maximum) override { maximum_ = maximum; }
        void SetPosition(int position) override { position_ = position; }
        bool Cancelled() const override { return cancelled_; }
        void Report(Severity severity, std::string_view text) override;
        // The status when it changed since the last call.
        std::optional<std::string> NewStatus();
        std::vector<RecordingReporter::Message> TakeMessages();
        std::atomic<int> maximum_{0};
        std::atomic<int> position_{0};
        std::atomic<bool> cancelled_{false};

    private:
        std::mutex mutex_;
        std::string status_;
        bool statusChanged_ = false;
        std::vector<RecordingReporter::Message> messages_;
    };
    struct Loaded {
        Workspace workspace;
        Neighborhood neighborhood;
    };
    std::size_t entry_;
    Shared shared_;
    std::future<Loaded> load_;
};

}  // namespace qh::app
