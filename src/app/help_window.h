// Help: one HTML page per topic number in the help folder beside the executable, shown in a
// window of its own.
#pragma once

#include <QString>
#include <QTextBrowser>

namespace qh::app {

class HelpWindow : public QTextBrowser {
public:
    explicit HelpWindow(QString folder);
    // Shows the page of the topic (topic 1000 when that one has no page).
    void ShowTopic(int topic);
    int shownTopic() const { return shownTopic_; }

private:
    QString folder_;
    int shownTopic_ = 0;
};

}  // namespace qh::app
