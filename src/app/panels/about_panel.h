// The About panel: version, credits, disclaimer, the web page link and the colour scheme.
#pragma once

#include <QColor>

#include <QLabel>
#include <QRadioButton>

#include "app/panels/panel.h"

namespace qh::app {

class AboutPanel : public Panel {
public:
    AboutPanel(Document& document, PanelContext& context, const PanelRow& row);
    void SchemeChanged() override;
    void ColorLink(bool hover);
    void SetCaption(const QString& caption) { lblVersion_->setText(caption); }
    // Checks the scheme's choice, which applies it.
    void SelectScheme(int scheme);
    QRadioButton* lightChoice() const { return rbLight_; }
    QRadioButton* darkChoice() const { return rbDark_; }
    QLabel* link() const { return lblLink_; }

protected:
    // The About panel opens with or without a neighborhood.
    bool CanOpen() const override { return true; }
    void Fill() override {}
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
