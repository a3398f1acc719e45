// Long work the player may stop (loading a neighborhood): a dialog with the work's status, a bar
// and Cancel, shown once the work has lasted a moment, while the window's own status line follows
// the work as before.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>

#include "platform/progress.h"

namespace qh::app {

// How often long work lets the window take its events: often enough to repaint smoothly and take
// a click at once, seldom enough to cost the work nothing worth measuring.
inline constexpr int kEventsEveryMs = 30;

class CancellableProgress final : public Progress {
public:
    // `statusLine` is told every status, maximum and position; the dialog is modal to `window`,
    // so while it is up no other control of the window takes input.
    CancellableProgress(QWidget* window, Progress& statusLine, const QString& title);
    void SetStatus(std::string_view text) override;
    void SetMaximum(int maximum) override;
    void SetPosition(int position) override;
    // Lets the window repaint and the dialog take a click (the player's input only once the
    // dialog is up), at most every few hundredths of a second: a step per character file of a
    // large neighborhood is far more often than that.
    void Step() override;
    bool Cancelled() const override;
    // The dialog itself (tests press its button).
    QProgressDialog& dialog() { return dialog_; }

private:
    Progress& line_;
    QString title_;
    QProgressDialog dialog_;
    QElapsedTimer sinceEvents_;
    int position_ = 0;
};

}  // namespace qh::app
