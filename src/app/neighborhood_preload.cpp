#include "app/neighborhood_preload.h"

#include <chrono>
#include <optional>

#include "platform/thread_priority.h"
#include "workspace/loader.h"
#include "workspace/neighborhood_check.h"

namespace qh::app {

void NeighborhoodPreload::Shared::SetStatus(std::string_view text) {
    const std::lock_guard lock(mutex_);
    status_.assign(text);
    statusChanged_ = true;
}

void NeighborhoodPreload::Shared::Report(Severity severity, std::string_view text) {
    const std::lock_guard lock(mutex_);
    messages_.push_back({severity, std::string(text)});
}

std::optional<std::string> NeighborhoodPreload::Shared::NewStatus() {
    const std::lock_guard lock(mutex_);
    if (!statusChanged_) return std::nullopt;
    statusChanged_ = false;
    return status_;
}

std::vector<RecordingReporter::Message> NeighborhoodPreload::Shared::TakeMessages() {
    const std::lock_guard lock(mutex_);
    return std::move(messages_);
}

NeighborhoodPreload::NeighborhoodPreload(const GameSession& session, std::size_t entry) : entry_(entry) {
    load_ = std::async(std::launch::async, [this, neighborhood = session.catalogue.at(entry),
                                            folder = session.env.neighborhoodsFolder,
                                            options = LoadOptions{session.env.languageCode,
                                                                  CharacterLimit(session.env)}]() mutable {
        // The window's building comes first: its first frame is what the player waits for.
        LowerThreadPriority();
        Loaded loaded;
        loaded.neighborhood = std::move(neighborhood);
        LoadNeighborhood(loaded.workspace, loaded.neighborhood, folder, options, shared_, shared_);
        return loaded;
    });
}

NeighborhoodPreload::~NeighborhoodPreload() {
    shared_.cancelled_ = true;
    if (load_.valid()) load_.wait();
}

void NeighborhoodPreload::Adopt(GameSession& session, Reporter& reporter, Progress& progress) {
    session.loaded.reset();
    session.workspace = Workspace{};
    int maximum = -1;
    int position = -1;
    // The window's thread shows the load and takes its events while it runs.
    while (load_.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (const auto status = shared_.NewStatus()) progress.SetStatus(*status);
        if (shared_.maximum_ != maximum) progress.SetMaximum(maximum = shared_.maximum_);
        if (shared_.position_ != position) progress.SetPosition(position = shared_.position_);
        progress.Step();
        if (progress.Cancelled()) shared_.cancelled_ = true;
    }
    // A cancel the load no longer saw (it ended meanwhile) still leaves nothing loaded.
    if (progress.Cancelled()) shared_.cancelled_ = true;
    const auto tell = [&] {
        for (const auto& message : shared_.TakeMessages()) reporter.Report(message.severity, message.text);
    };
    try {
        Loaded loaded = load_.get();
        tell();
        if (shared_.cancelled_) throw OperationCancelled();
        session.workspace = std::move(loaded.workspace);
        session.catalogue.at(entry_) = std::move(loaded.neighborhood);
        session.loaded = entry_;
    } catch (...) {
        tell();
        throw;
    }
    if (const auto status = shared_.NewStatus()) progress.SetStatus(*status);
}

}  // namespace qh::app
