#include "app/cancellable_progress.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>

namespace qh::app {

namespace {
// How long the work runs before the dialog shows: a short load is never interrupted by a dialog
// that vanishes at once.
constexpr int kShowAfterMs = 800;
}  // namespace

CancellableProgress::CancellableProgress(QWidget* window, Progress& statusLine, const QString& title)
    : line_(statusLine), title_(title), dialog_(window) {
    dialog_.setWindowTitle(title);
    dialog_.setLabelText(title);
    dialog_.setCancelButtonText(QStringLiteral("Cancel"));
    dialog_.setWindowModality(Qt::WindowModal);
    dialog_.setMinimumDuration(kShowAfterMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
    dialog_.setRange(0, 1);
    dialog_.setValue(0);
}

void CancellableProgress::SetStatus(std::string_view text) {
    line_.SetStatus(text);
    // What is being done, under the work it is a step of.
    if (!text.empty()) {
        dialog_.setLabelText(title_ + QStringLiteral("\n") + QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }
}

void CancellableProgress::SetMaximum(int maximum) {
    line_.SetMaximum(maximum);
    dialog_.setMaximum(std::max(1, maximum));
}

void CancellableProgress::SetPosition(int position) {
    line_.SetPosition(position);
    position_ = position;
}

void CancellableProgress::Step() {
    // The first step takes the events at once, then every few hundredths of a second.
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventsEveryMs) return;
    sinceEvents_.start();
    // The dialog's value shows it once the work has lasted. While it is up the window is blocked
    // by it and every event may be taken, the Cancel button's click among them; before, the
    // player's input waits, as the window's controls would otherwise act in the middle of the work.
    dialog_.setValue(std::clamp(position_, 0, dialog_.maximum()));
    QCoreApplication::processEvents(dialog_.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

bool CancellableProgress::Cancelled() const { return dialog_.wasCanceled(); }

}  // namespace qh::app
