// The Relationships panel: the selected sim's relationships, both directions of the chosen one
// side by side (levels, flags, family relation, Furious), and the sim's attraction traits,
// turn-ons and turn-off.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <map>
#include <optional>

#include "app/panels/panel.h"
#include "workspace/relationships.h"

namespace qh::app {

class RelationshipsPanel : public Panel {
public:
    RelationshipsPanel(Document& document, PanelContext& context, const PanelRow& row);
    void AdvancedChanged() override;
    void DocumentChanged(const Change& change) override;

protected:
    void Fill() override;  // btnRelationshipsClick

private:
    // The controls of one direction: panel one is the selected sim's record, panel two the other
    // sim's records about it.
    struct Side {
        explicit Side(RelationshipSide s) : side(s) {}
        RelationshipSide side;
        QFrame* frame = nullptr;
        QLabel* heading = nullptr;
        QLabel* lblShortTerm = nullptr;
        QSlider* trkShortTerm = nullptr;
        QLabel* lblLongTerm = nullptr;
        QSlider* trkLongTerm = nullptr;
        std::map<int, QCheckBox*> flags;  // by bit
        QCheckBox* ckFurious = nullptr;
        QComboBox* cbFamRel = nullptr;
    };
    void BuildSide(Side& side, const QString& suffix, const QString& famRelName);
    // The record of the chosen relationship, and the other sim's index.
    std::optional<std::size_t> Chosen() const;
    std::optional<std::size_t> OtherSim() const;
    bool Ready() const { return ready_ && !Filling(); }
    QString Target() const;
    void Edit(const QString& what, const std::function<void(Workspace&)>& change, const QString& mergeKey = {});

    void cbRelationShipsChange();
    void ShowSide(Side& side, const RelationshipRecord& record);
    void trkRelLevelChange(Side& side);
    void ckRelBits(Side& side, int bit);       // every flag box of either panel
    void ckFuriousClick(Side& side);
    void cbFamRelChange(Side& side, int index);  // cbFamRel1Change, cbFamRel2Change
    void btnMaxBothRelationshipsClick();
    void btnRelSwapCharClick();
    void cbTurnOnOffChange();
    void ShowFamilyRelations();
    void ColourFurious(Side& side);
    void FillTraits(QScrollArea* scroller, QWidget* strip, const Character* sim);
    void EnableEditing(bool on);
    Side& OtherSide(Side& side) { return &side == &one_ ? two_ : one_; }

    QLabel* lblSelAttractionTraits_;
    QScrollArea* scrTraits1_;
    QWidget* pnlTraits1_;
    QLabel* lblTurnOns_;
    QLabel* lblTurnOff_;
    QComboBox* cbTurnOn1_;
    QComboBox* cbTurnOn2_;
    QComboBox* cbTurnOff_;
    QComboBox* cbRelationShips_;
    QPushButton* btnRelSwapChar_;
    QPushButton* btnMaxBothRelationships_;
    Side one_{RelationshipSide::Own};
    Side two_{RelationshipSide::Reverse};
    QLabel* lblRelAttractionTraits_;
    QScrollArea* scrTraits2_;
    QWidget* pnlTraits2_;
    QLabel* lblNoRelationships_;
    QLabel* lblOneWay_;
    bool ready_ = false;
    bool hasReverse_ = false;
    // After "Swap": the sim whose relationship to choose once the panel is filled for the other.
    std::optional<std::uint16_t> chooseAfterFill_;
    int showing_ = 0;
};

}  // namespace qh::app
