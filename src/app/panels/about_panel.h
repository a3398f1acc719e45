// The About panel: version, credits, disclaimer, the web page link and the colour scheme.
#pragma once

#include <QLabel>
#include <QRadioButton>

#include "app/panels/panel.h"

namespace qh::app {

class AboutPanel : public Panel {
public:
    explicit AboutPanel(MainWindow& window);
    void Open() override;
    void SetCaption(const QString& caption) { lblVersion_->setText(caption); }
    void SetTitlePicture(const QPixmap& picture) { imgAbout_->setPixmap(picture); }
    // Checks the scheme's choice, which applies it.
    void SelectScheme(int scheme);
    QRadioButton* lightChoice() const { return rbLight_; }
    QRadioButton* darkChoice() const { return rbDark_; }
    QLabel* link() const { return lblLink_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* imgAbout_;
    QLabel* lblVersion_;
    QLabel* lblLink_;
    QRadioButton* rbLight_;
    QRadioButton* rbDark_;
};

// "Quillhaven Version: 2.0.0  (Build 1)" from the program's version.
QString VersionCaption();

}  // namespace qh::app
