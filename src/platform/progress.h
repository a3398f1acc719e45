// How long work shows itself: a status text and a progress bar. The window shows them in its
// status bar and pumps its events in Step so it repaints; the CLI and tests ignore them.
#pragma once

#include <string_view>

namespace qh {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void SetStatus(std::string_view text) = 0;
    virtual void SetMaximum(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    // Called between steps of long work: the place to let the window repaint.
    virtual void Step() {}
};

class NullProgress final : public Progress {
public:
    void SetStatus(std::string_view) override {}
    void SetMaximum(int) override {}
    void SetPosition(int) override {}
};

}  // namespace qh
