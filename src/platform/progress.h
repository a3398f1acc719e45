// How long work shows itself: a status text and a progress bar. The window shows them in its
// status bar and pumps its events in Step so it repaints; the CLI and tests ignore them.
#pragma once

#include <string_view>

#include "platform/errors.h"

namespace qh {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetStatus(std::string_view text) = 0;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    // Called between steps of long work: the place to let the window repaint.
    virtual void Step() {}
    // Whether the player asked to stop the work; asked only by work that can stop without harm.
    virtual bool Cancelled() const { return false; }
};

// A step of work the player may stop: OperationCancelled once they asked.
inline void StepOrStop(Progress& progress) {
    progress.Step();
    if (progress.Cancelled()) throw OperationCancelled();
}

class NullProgress final : public Progress {
public:
    void SetStatus(std::string_view) override {}
    void SetMaximum(int) override {}
    void SetPosition(int) override {}
};

}  // namespace qh
