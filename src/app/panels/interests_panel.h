// The Interests panel: eighteen conversation interests of a sim; a pet uses nine of them under
// names of its own.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <vector>

#include "app/panels/panel.h"

namespace qh::app {

class InterestsPanel : public Panel {
public:
    InterestsPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnInterests

private:
    bool ShowsPet();
    void Relabel();
    void SliderChange(const QString& mergeKey);
    void MoveSliders(const std::vector<int>& values, const QString& what);

    SliderForm* form_;
    std::vector<QSlider*> sliders_;  // the form's, in record order
    QPushButton* btnRandomInterests_;
    QPushButton* btnMaxInterests_;
    QLabel* lblNoDescription_;
};

}  // namespace qh::app
