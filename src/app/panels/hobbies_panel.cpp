#include "app/panels/hobbies_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <array>

#include "character/character_rules.h"
#include "character/character_traits.h"
#include "workspace/hobby_items.h"
#include "workspace/sim_items.h"

namespace qh::app {

HobbiesPanel::HobbiesPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    std::vector<FieldRow> rows;
    for (const HobbyRow& hobby : HobbyRows()) {
        const QString label = QString::fromLatin1(hobby.label);
        rows.push_back({ControlName("trk", hobby.field), ControlName("lbl", hobby.field), 0, 1000,
                        [label](int value) { return label + QString::number(value) + QLatin1Char(')'); }, {}});
    }
    form_ = new SliderForm(this, std::move(rows), 10, [this](const QString& slider) { StoreShown(QStringLiteral("hobbies"), slider); });
    for (std::size_t i = 0; i < form_->sliders().size(); ++i) {
        SetTip(form_->sliders()[i], QStringLiteral("How keen the sim is on %1: 0 to 1000")
                                        .arg(QString::fromLatin1(HobbyRows()[i].name).toLower()));
    }
    grid->addWidget(NamedLabel(this, QStringLiteral("lblHobbies"), QStringLiteral("Hobbies:")), 0, 0);
    grid->addWidget(form_, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    btnRandomHobbies_ = new QPushButton(QStringLiteral("Random"), this);
    btnRandomHobbies_->setObjectName(QStringLiteral("btnRandomHobbies"));
    SetTip(btnRandomHobbies_, QStringLiteral("Give the sim random hobby enthusiasms"));
    btnMaxHobbies_ = new QPushButton(QStringLiteral("Max All"), this);
    btnMaxHobbies_->setObjectName(QStringLiteral("btnMaxHobbies"));
    SetTip(btnMaxHobbies_, QStringLiteral("Set every hobby enthusiasm of the sim to 1000"));
    buttons->addStretch();
    buttons->addWidget(btnRandomHobbies_);
    buttons->addWidget(btnMaxHobbies_);
    grid->addLayout(buttons, 2, 0, 1, 2);
    lblTalent_ = NamedLabel(this, QStringLiteral("lblTalent"), QStringLiteral("Natural Talent:"));
    cbTalent_ = new QComboBox(this);
    cbTalent_->setObjectName(QStringLiteral("cbTalent"));
    SetTip(cbTalent_, QStringLiteral("The hobby the sim has a natural talent for"));
    cbTalent_->addItem(QStringLiteral("-"), 0);
    for (const HobbyRow& hobby : HobbyRows()) cbTalent_->addItem(QString::fromLatin1(hobby.name), hobby.id);
    grid->addWidget(lblTalent_, 3, 0);
    grid->addWidget(cbTalent_, 3, 1);
    lblLots_ = NamedLabel(this, QStringLiteral("lblHobbyLots"), QStringLiteral("Hobby Membership Lots:"));
    grid->addWidget(lblLots_, 0, 2);
    for (const HobbyRow& hobby : HobbyRows()) {
        auto* box = new QCheckBox(QString::fromLatin1(hobby.lot), this);
        box->setObjectName(QStringLiteral("ckHobbyLot%1").arg(hobby.id));
        SetTip(box, QStringLiteral("Whether the sim is a member of this hobby lot (kept as an item of the neighborhood)"));
        lots_.push_back(box);
        connect(box, &QCheckBox::clicked, this, [this] { LotClick(); });
    }
    auto* lotColumn = new QVBoxLayout;
    for (QCheckBox* box : lots_) lotColumn->addWidget(box);
    ckSetAllHobbyLots_ = new QCheckBox(QStringLiteral("Set All"), this);
    ckSetAllHobbyLots_->setObjectName(QStringLiteral("ckSetAllHobbyLots"));
    SetTip(ckSetAllHobbyLots_, QStringLiteral("Make the sim a member of every hobby lot, or of none"));
    lotColumn->addWidget(ckSetAllHobbyLots_);
    lotColumn->addStretch();
    grid->addLayout(lotColumn, 1, 2);
    lblNoHobbies_ = NamedLabel(this, QStringLiteral("lblNoHobbies"));
    lblNoHobbies_->setWordWrap(true);
    grid->addWidget(lblNoHobbies_, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);

    connect(btnRandomHobbies_, &QPushButton::clicked, this, [this] {
        MoveAll(RandomTraitValues(form_->sliders().size(), ClockSeed()), QStringLiteral("random hobbies"));
    });
    connect(btnMaxHobbies_, &QPushButton::clicked, this,
            [this] { MoveAll(std::vector<int>(form_->sliders().size(), 1000), QStringLiteral("maximum hobbies")); });
    connect(cbTalent_, &QComboBox::activated, this, [this](int index) { cbTalentChange(index); });
    connect(ckSetAllHobbyLots_, &QCheckBox::clicked, this, [this] { ckSetAllHobbyLotsClick(); });
}

void HobbiesPanel::Fill() {
    const Character& sim = *Sim();
    const GameEnvironment& env = document_.session().env;
    // A sim without a description has nowhere to keep enthusiasms, a talent or (without an
    // instance) items of its own: nothing is offered.
    const bool shown = ShowsHobbies(sim, env) && HasDescription(sim);
    for (QWidget* control : findChildren<QWidget*>()) control->setVisible(shown);
    lblNoHobbies_->setVisible(!shown);
    lblNoHobbies_->setText(!env.hasFreeTime      ? QStringLiteral("Hobbies come with FreeTime, which is not installed.")
                           : !HasDescription(sim) ? QString::fromStdString(NoDescriptionRefusal(sim))
                                                  : QStringLiteral("A pet has no hobbies."));
    if (!shown) return;
    const auto rows = HobbyRows();
    for (std::size_t i = 0; i < rows.size(); ++i) form_->sliders()[i]->setValue(sim.*rows[i].member);
    form_->Relabel();
    cbTalent_->setCurrentIndex(cbTalent_->findData(ShownTalent(sim)));
    const std::vector<int> member = HobbyLotMemberships(document_.workspace(), sim);
    const QString refusal = QString::fromStdString(ItemsRefusal(document_.workspace()));
    for (std::size_t i = 0; i < lots_.size(); ++i) {
        lots_[i]->setChecked(std::find(member.begin(), member.end(), rows[i].id) != member.end());
        lots_[i]->setEnabled(refusal.isEmpty());
        ShowRefusalOrTip(lots_[i], refusal);
    }
    ckSetAllHobbyLots_->setChecked(false);
    ckSetAllHobbyLots_->setEnabled(refusal.isEmpty());
}

void HobbiesPanel::StoreShown(const QString& what, const QString& mergeKey) {
    if (moving_) return;
    form_->Relabel();
    std::array<int, 10> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = form_->sliders()[i]->value();
    EditSelected(what, [&](Workspace&, Character& sim) { StoreHobbies(sim, values); }, mergeKey);
}

void HobbiesPanel::MoveAll(const std::vector<int>& values, const QString& what) {
    moving_ = true;
    for (std::size_t i = 0; i < values.size(); ++i) form_->sliders()[i]->setValue(values[i]);
    moving_ = false;
    StoreShown(what);  // one step for the press
}

void HobbiesPanel::LotClick() {
    std::vector<int> checked;
    const auto rows = HobbyRows();
    for (std::size_t i = 0; i < lots_.size(); ++i) {
        if (lots_[i]->isChecked()) checked.push_back(rows[i].id);
    }
    EditSelected(QStringLiteral("hobby lots"),
                 [&](Workspace& ws, Character& sim) { SetHobbyLotMemberships(ws, sim, checked); });
}

void HobbiesPanel::ckSetAllHobbyLotsClick() {
    for (QCheckBox* box : lots_) box->setChecked(ckSetAllHobbyLots_->isChecked());
    LotClick();
}

void HobbiesPanel::cbTalentChange(int index) {
    const int talent = cbTalent_->itemData(index).toInt();
    EditSelected(QStringLiteral("natural talent"), [&](Workspace&, Character& sim) { SetTalent(sim, talent); });
}

}  // namespace qh::app
