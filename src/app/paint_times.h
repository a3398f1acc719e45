// When the window was first painted, and first painted once the neighborhood had loaded: the
// moments a player sees something and sees the neighborhood, taken from the paint events
// themselves (quillhaven --timings).
#pragma once

#include <QObject>
#include <QWidget>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace qh::app {

class PaintTimes final : public QObject {
public:
    using Clock = std::chrono::steady_clock;
    // Watches `window`'s paint events; `report` is told each moment once, as a line of text.
    PaintTimes(QWidget& window, Clock::time_point start, std::function<void(const std::string&)> report);
    // The neighborhood is loaded: the next paint of the window shows it (a repaint is asked for).
    void LoadDone();
    std::optional<Clock::time_point> firstFrame() const { return first_; }
    std::optional<Clock::time_point> loadedFrame() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Report(const char* what, Clock::time_point at) const;
    QWidget& window_;
    Clock::time_point start_;
    std::function<void(const std::string&)> report_;
    bool loaded_ = false;
    std::optional<Clock::time_point> first_;
    std::optional<Clock::time_point> shown_;
};

}  // namespace qh::app
