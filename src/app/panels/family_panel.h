// The Family Tree panel: the selected sim with its parents and spouse in slots (each with its
// menu to select, change or remove the sim in it), its siblings and children, and a chart of
// its family from grandparents to grandchildren.
#pragma once

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <optional>

#include "app/panels/panel.h"
#include "workspace/family_tree.h"

namespace qh::app {

class FamilyChartView;

class FamilyPanel : public Panel {
public:
    FamilyPanel(Document& document, PanelContext& context, const PanelRow& row);
    void AdvancedChanged() override;
    void DocumentChanged(const Change& change) override;

protected:
    void Fill() override;  // btnFamilyTiesClick

private:
    struct Slot {
        explicit Slot(FamilySlot s) : slot(s) {}
        FamilySlot slot;
        QFrame* frame = nullptr;
        QLabel* picture = nullptr;
        QLabel* caption = nullptr;
        QMenu* filledMenu = nullptr;  // on the picture: select, change, remove, help
        QMenu* emptyMenu = nullptr;   // on the empty slot: add, help
        QString hint;
        std::optional<std::size_t> holder;
    };
    void BuildSlot(Slot& slot, const char* frame, const char* picture, const char* caption, const QString& hint,
                   const char* filledMenu, const char* emptyMenu, const QString& noun);
    void ShowSlot(Slot& slot, std::optional<std::size_t> holder);
    void ShowSpouseSlot();
    void FillList(QComboBox* list, const std::vector<std::size_t>& sims);
    void SelectHolder(const Slot& slot);  // imgPrimaryParentDblClick, imgSecondParentDblClick, imgSpouseDblClick
    void ChangeFamilyTieClick(Slot& slot);
    void RemoveFamilyTieClick(Slot& slot);
    bool Refused();
    // When the change reaches other sims' ties or relationships, lists what it does and asks;
    // false when the player cancels.
    // `doing` is the change in words ("Changing Pablo Moreno's second parent").
    bool ConfirmConsequences(const QString& doing, const std::vector<std::size_t>& involved,
                             const std::function<void(Workspace&)>& change);
    void cbListChange(QComboBox* list);  // cbChildrenChange, cbSiblingsChange
    bool eventFilter(QObject* watched, QEvent* event) override;

    QFrame* pnlSelf_;
    QLabel* imgSelf_;
    Slot first_{FamilySlot::FirstParent};
    Slot second_{FamilySlot::SecondParent};
    Slot spouse_{FamilySlot::Spouse};
    QComboBox* cbSiblings_;
    QComboBox* cbChildren_;
    QLabel* lblNoFamilyTree_;
    FamilyChartView* chart_;
};

}  // namespace qh::app
