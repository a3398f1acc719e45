// The Households panel: the neighborhood's households, the shown one's lot, members, name,
// description and funds, and moving the selected sim in.
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "app/panels/panel.h"

namespace qh::app {

class HouseholdsPanel : public Panel {
public:
    HouseholdsPanel(Document& document, PanelContext& context, const PanelRow& row);
    void AdvancedChanged() override;
    void DocumentChanged(const Change& change) override;

protected:
    void Fill() override;  // btnHouseHolds

private:
    // The household shown, by its index in the workspace.
    std::optional<std::size_t> Shown() const;
    Household* ShownHousehold();
    void FillHouseholdList(std::optional<std::size_t> select);
    void cbHouseHoldChange();  // shows the chosen household
    void ShowHousehold();
    void cbHouseMembersChange();
    void edtHouseholdNameKeyUp();
    void memHouseholdDescriptionKeyUp();
    void edtCashKeyUp();
    void btnMoveInClick();
    void ShowMoveIn();
    QString Target() const;

    QLabel* lblLingeringNumber_;
    QLabel* lblGhostFlags_;
    QLabel* lblFamilyNumber_;
    QComboBox* cbHouseHold_;
    QLabel* lblLotName_;
    QLabel* lblLotDescription_;
    QLabel* lblLotType_;
    QGroupBox* grpHousehold_;
    QComboBox* cbHouseMembers_;
    QLabel* lblHouseFamilyNumber_;
    QLabel* lblLotFile_;
    QLabel* lblFamilyFriends_;
    QLineEdit* edtHouseholdName_;
    QPlainTextEdit* memHouseholdDescription_;
    QLineEdit* edtCash_;
    QPushButton* btnMoveIn_;
    QLabel* lblNoTextList_;
    QLabel* lblEmpty_;
    bool moveInAllowed_ = false;  // the shown household has members and lacks the selected sim
    int showing_ = 0;  // the household's own controls are being filled
};

}  // namespace qh::app
