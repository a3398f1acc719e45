// The hidden neighborhood data panel (Ctrl+Shift+N in advanced mode): the raw items of the
// selected sim, or of every family or lot, for viewing and editing.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/panels/panel.h"
#include "workspace/sim_items.h"

namespace qh::app {

class DataPanel : public Panel {
public:
    DataPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    // The selected sim's items each time it opens.
    void Fill() override { FillFrom(Source::Sim); }

private:
    enum class Source { Sim, Families, Lots };
    void FillFrom(Source source);
    std::vector<NeighborhoodItem>& Items();
    std::vector<NeighborhoodItem>& ItemsOf(Workspace& workspace) const;
    void lstItemsClick();
    void btnSaveDataClick();
    void btnDeleteClick();

    QLabel* lblWarning1_;
    QLabel* lblWarning2_;
    QListWidget* lstItems_;
    QLineEdit* edtOwner_;
    QLineEdit* edtGuid_;
    QLineEdit* edtFlags1_;
    QLineEdit* edtFlags2_;
    QLineEdit* edtInvNumber_;
    QLineEdit* edtPadding_;
    QPlainTextEdit* memValues_;
    QRadioButton* rbPrimary_;
    QRadioButton* rbSecondary_;
    QPushButton* btnSaveData_ = nullptr;
    QPushButton* btnDeleteData_ = nullptr;
    Source source_ = Source::Sim;
    std::vector<DataPanelRow> rows_;
};

}  // namespace qh::app
