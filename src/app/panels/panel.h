// What every panel of the window shares: its button, its opening handler, its help topic.
#pragma once

#include <QWidget>

namespace qh::app {

class MainWindow;

class Panel : public QWidget {
public:
    Panel(MainWindow& window, const QString& objectName) : window_(window) { setObjectName(objectName); }
    // Fills the panel from the model (the selected sim) and shows it.
    virtual void Open() = 0;
    // Advanced mode changed while the panel is shown.
    virtual void AdvancedChanged() {}

protected:
    MainWindow& window_;
};

// The page of a subject whose editor the program does not have yet: it says so.
class PendingPanel : public Panel {
public:
    PendingPanel(MainWindow& window, const QString& objectName, const QString& caption);
    void Open() override;

private:
    QString caption_;
};

}  // namespace qh::app
