#include "app/paint_times.h"

#include <QEvent>
#include <cstdio>

namespace qh::app {

PaintTimes::PaintTimes(QWidget& window, Clock::time_point start, std::function<void(const std::string&)> report)
    : QObject(&window), window_(window), start_(start), report_(std::move(report)) {
    window_.installEventFilter(this);
}

void PaintTimes::LoadDone() {
    loaded_ = true;
    window_.update();
}

bool PaintTimes::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Paint) {
        const Clock::time_point now = Clock::now();
        if (!first_) {
            first_ = now;
            Report("first frame", now);
        }
        if (loaded_ && !shown_) {
            shown_ = now;
            Report("neighborhood shown", now);
        }
    }
    return false;
}

void PaintTimes::Report(const char* what, Clock::time_point at) const {
    if (!report_) return;
    // The steady clock's own reading as well, so that a program that started this one can tell
    // the time from its own start (the process's loading of libraries included).
    const double since = std::chrono::duration<double>(at - start_).count();
    const double clock = std::chrono::duration<double>(at.time_since_epoch()).count();
    char line[160];
    std::snprintf(line, sizeof line, "%s: %.3f s after start (steady clock %.6f)", what, since, clock);
    report_(line);
}

}  // namespace qh::app
