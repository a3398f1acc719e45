#include "app/panels/households_panel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "character/character_rules.h"
#include "package/text_list.h"
#include "workspace/households.h"

namespace qh::app {

namespace {



}  // namespace

HouseholdsPanel::HouseholdsPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QVBoxLayout(this);
    auto* sim = new QHBoxLayout;
    lblLingeringNumber_ = NamedLabel(this, QStringLiteral("lblLingeringNumber"));
    lblGhostFlags_ = NamedLabel(this, QStringLiteral("lblGhostFlags"));
    lblFamilyNumber_ = NamedLabel(this, QStringLiteral("lblFamilyNumber"));
    sim->addWidget(lblLingeringNumber_);
    sim->addWidget(lblGhostFlags_);
    sim->addWidget(lblFamilyNumber_);
    sim->addStretch();
    layout->addLayout(sim);

    auto* chooser = new QFormLayout;
    cbHouseHold_ = new QComboBox(this);
    cbHouseHold_->setObjectName(QStringLiteral("cbHouseHold"));
    cbHouseHold_->setMinimumWidth(260);
    chooser->addRow(QStringLiteral("Household:"), cbHouseHold_);
    lblLotName_ = NamedLabel(this, QStringLiteral("lblLotName"));
    lblLotDescription_ = NamedLabel(this, QStringLiteral("lblLotDescription"));
    lblLotDescription_->setWordWrap(true);
    lblLotType_ = NamedLabel(this, QStringLiteral("lblLotType"));
    chooser->addRow(lblLotName_);
    chooser->addRow(lblLotDescription_);
    chooser->addRow(lblLotType_);
    layout->addLayout(chooser);

    grpHousehold_ = new QGroupBox(QStringLiteral("Household"), this);
    grpHousehold_->setObjectName(QStringLiteral("grpHousehold"));
    auto* grid = new QGridLayout(grpHousehold_);
    cbHouseMembers_ = new QComboBox(grpHousehold_);
    cbHouseMembers_->setObjectName(QStringLiteral("cbHouseMembers"));
    cbHouseMembers_->setIconSize(QSize(32, 32));
    grid->addWidget(new QLabel(QStringLiteral("Members:"), grpHousehold_), 0, 0);
    grid->addWidget(cbHouseMembers_, 0, 1);
    edtHouseholdName_ = new QLineEdit(grpHousehold_);
    edtHouseholdName_->setObjectName(QStringLiteral("edtHouseholdName"));
    grid->addWidget(new QLabel(QStringLiteral("Name:"), grpHousehold_), 1, 0);
    grid->addWidget(edtHouseholdName_, 1, 1);
    memHouseholdDescription_ = new QPlainTextEdit(grpHousehold_);
    memHouseholdDescription_->setTabChangesFocus(true);  // Tab moves on, as in every other box
    memHouseholdDescription_->setObjectName(QStringLiteral("memHouseholdDescription"));
    memHouseholdDescription_->setMaximumHeight(80);
    grid->addWidget(new QLabel(QStringLiteral("Description:"), grpHousehold_), 2, 0, Qt::AlignTop);
    grid->addWidget(memHouseholdDescription_, 2, 1);
    lblNoTextList_ = NamedLabel(grpHousehold_, QStringLiteral("lblNoTextList"));
    lblNoTextList_->setText(QStringLiteral("The game names this household by its lot: it keeps no name of its own."));
    lblNoTextList_->setWordWrap(true);
    grid->addWidget(lblNoTextList_, 3, 1);
    edtCash_ = new QLineEdit(grpHousehold_);
    edtCash_->setObjectName(QStringLiteral("edtCash"));
    edtCash_->setMaxLength(10);
    edtCash_->setMaximumWidth(140);
    grid->addWidget(new QLabel(QStringLiteral("Funds:"), grpHousehold_), 4, 0);
    grid->addWidget(edtCash_, 4, 1);
    lblFamilyFriends_ = NamedLabel(grpHousehold_, QStringLiteral("lblFamilyFriends"));
    lblHouseFamilyNumber_ = NamedLabel(grpHousehold_, QStringLiteral("lblHouseFamilyNumber"));
    lblLotFile_ = NamedLabel(grpHousehold_, QStringLiteral("lblLotFile"));
    grid->addWidget(lblFamilyFriends_, 5, 1);
    grid->addWidget(lblHouseFamilyNumber_, 6, 1);
    grid->addWidget(lblLotFile_, 7, 1);
    btnMoveIn_ = new QPushButton(QStringLiteral("Move In"), grpHousehold_);
    btnMoveIn_->setObjectName(QStringLiteral("btnMoveIn"));
    SetTip(btnMoveIn_, QStringLiteral("Move the selected sim into this household"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnMoveIn_);
    grid->addLayout(buttons, 8, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    layout->addWidget(grpHousehold_);
    lblEmpty_ = NamedLabel(this, QStringLiteral("lblEmptyHousehold"));
    lblEmpty_->setText(QStringLiteral("No sim of this neighborhood lives in this household."));
    layout->addWidget(lblEmpty_);
    layout->addStretch();

    context_.view.RegisterAdvanced(btnMoveIn_, AdvancedEffect::ShowWhenOn);
    connect(cbHouseHold_, &QComboBox::currentIndexChanged, this, [this] { cbHouseHoldChange(); });
    connect(cbHouseMembers_, &QComboBox::activated, this, [this] { cbHouseMembersChange(); });
    connect(edtHouseholdName_, &QLineEdit::textEdited, this, [this] { edtHouseholdNameKeyUp(); });
    connect(memHouseholdDescription_, &QPlainTextEdit::textChanged, this, [this] { memHouseholdDescriptionKeyUp(); });
    connect(edtCash_, &QLineEdit::textEdited, this, [this] { edtCashKeyUp(); });
    connect(btnMoveIn_, &QPushButton::clicked, this, [this] { btnMoveInClick(); });
}

std::optional<std::size_t> HouseholdsPanel::Shown() const {
    const QVariant chosen = cbHouseHold_->currentData();
    if (!chosen.isValid()) return std::nullopt;
    const auto index = static_cast<std::size_t>(chosen.toULongLong());
    if (index >= document_.workspace().households.size()) return std::nullopt;
    return index;
}

Household* HouseholdsPanel::ShownHousehold() {
    const auto index = Shown();
    return index ? &document_.workspace().households[*index] : nullptr;
}

QString HouseholdsPanel::Target() const {
    const auto index = Shown();
    if (!index) return QStringLiteral("a household");
    return QStringLiteral("household ") + QString::fromStdString(HouseholdLabel(document_.workspace().households[*index]));
}

void HouseholdsPanel::Fill() {
    const Character& sim = *Sim();
    lblLingeringNumber_->setText(QStringLiteral("LingeringNumber: ") + QString::number(sim.lingeringNumber));
    lblGhostFlags_->setText(QStringLiteral("GhostFlags: ") + QString::number(sim.ghostFlags));
    lblFamilyNumber_->setText(QStringLiteral("FamilyNumber: ") + QString::number(sim.familyNumber));
    FillHouseholdList(HouseholdOfSim(document_.workspace(), sim));
}

void HouseholdsPanel::FillHouseholdList(std::optional<std::size_t> select) {
    ++showing_;
    cbHouseHold_->clear();
    const Workspace& ws = document_.workspace();
    for (std::size_t index : HouseholdOrder(ws)) {
        cbHouseHold_->addItem(QString::fromStdString(HouseholdLabel(ws.households[index])),
                              QVariant::fromValue<qulonglong>(index));
    }
    cbHouseHold_->setCurrentIndex(select ? cbHouseHold_->findData(QVariant::fromValue<qulonglong>(*select)) : -1);
    --showing_;
    ShowHousehold();
}

void HouseholdsPanel::cbHouseHoldChange() {
    if (showing_) return;
    ShowHousehold();
}

void HouseholdsPanel::ShowHousehold() {
    ++showing_;
    cbHouseMembers_->clear();
    edtHouseholdName_->clear();
    memHouseholdDescription_->clear();
    lblLotName_->clear();
    lblLotDescription_->clear();
    lblLotType_->clear();
    const Household* household = ShownHousehold();
    const Character* sim = Sim();
    const Workspace& ws = document_.workspace();
    if (household) {
        if (const LotDesc* lot = HouseholdLot(ws, *household)) {
            lblLotName_->setText(QStringLiteral("Lot Name/Address: ") + ShownText(lot->lotName));
            lblLotDescription_->setText(QStringLiteral("Description: ") + ShownText(lot->lotDescription));
            lblLotType_->setText(QString::fromLatin1(LotTypeText(lot->lotType)));
        }
        for (std::size_t index : HouseholdMembers(ws, *household)) {
            const Character& person = ws.characters[index];
            cbHouseMembers_->addItem(QIcon(context_.pictures.SimPicture(person, 32)),
                                     ShownText(person.firstName) + QLatin1Char(' ') + ShownText(person.lastName),
                                     QVariant::fromValue<qulonglong>(index));
            if (sim && person.instanceId == sim->instanceId) cbHouseMembers_->setCurrentIndex(cbHouseMembers_->count() - 1);
        }
        edtHouseholdName_->setText(EditedText(household->householdName));
        memHouseholdDescription_->setPlainText(EditedText(household->householdDescription));
        edtCash_->setText(QString::number(household->funds));
        lblFamilyFriends_->setText(QString::number(household->familyFriends) + QStringLiteral(" Family Friends"));
        lblHouseFamilyNumber_->setText(QStringLiteral("HouseFamilyNumber: ") + QString::number(household->houseFamilyNumber));
        lblLotFile_->setText(QStringLiteral("Lot File : ") + QString::number(household->lotInstance));
        // Without a text list of its own the game shows the lot's name; a name typed here would
        // have nowhere to go.
        edtHouseholdName_->setEnabled(household->hasTextList);
        memHouseholdDescription_->setEnabled(household->hasTextList);
        lblNoTextList_->setVisible(!household->hasTextList);
    }
    const bool empty = cbHouseMembers_->count() == 0;
    grpHousehold_->setVisible(household && !empty);
    lblEmpty_->setVisible(household && empty);
    const std::string refusal = household && sim ? MoveInRefusal(ws, *sim, *household, true) : std::string();
    moveInAllowed_ = household && sim && refusal.empty();
    ShowRefusalOrTip(btnMoveIn_, QString::fromStdString(refusal));
    ShowMoveIn();
    --showing_;
}

void HouseholdsPanel::ShowMoveIn() {
    btnMoveIn_->setVisible(context_.view.Advanced() && grpHousehold_->isVisibleTo(this));
    btnMoveIn_->setEnabled(moveInAllowed_);
}

void HouseholdsPanel::AdvancedChanged() { ShowMoveIn(); }

void HouseholdsPanel::DocumentChanged(const Change& change) {
    if (!change.replay || !isVisible()) return;
    // An undo or redo: the lists again, on the household that was shown.
    const auto shown = Shown();
    Refill();
    if (shown) FillHouseholdList(shown);
}

void HouseholdsPanel::cbHouseMembersChange() {
    const QVariant chosen = cbHouseMembers_->currentData();
    if (showing_ || Filling() || !chosen.isValid()) return;
    context_.selection.SelectSim(static_cast<std::size_t>(chosen.toULongLong()));
}

void HouseholdsPanel::edtHouseholdNameKeyUp() {
    const auto index = Shown();
    if (showing_ || Filling() || !index) return;
    const std::string name = edtHouseholdName_->text().toStdString();
    document_.EditHouseholds(Target(), QStringLiteral("name"), std::nullopt,
                             [&](Workspace& ws) { RenameHousehold(ws.households[*index], name); },
                             QStringLiteral("householdName") + QString::number(*index));
    // The entry takes the typed name as its label where it stands.
    cbHouseHold_->setItemText(cbHouseHold_->currentIndex(),
                              QString::fromStdString(HouseholdLabel(document_.workspace().households[*index])));
}

void HouseholdsPanel::memHouseholdDescriptionKeyUp() {
    const auto index = Shown();
    if (showing_ || Filling() || !index) return;
    const std::string description = memHouseholdDescription_->toPlainText().toStdString();
    document_.EditHouseholds(Target(), QStringLiteral("description"), std::nullopt,
                             [&](Workspace& ws) { DescribeHousehold(ws.households[*index], description); },
                             QStringLiteral("householdDescription") + QString::number(*index));
}

void HouseholdsPanel::edtCashKeyUp() {
    const auto index = Shown();
    if (showing_ || Filling() || !index) return;
    const int caret = edtCash_->cursorPosition();
    const std::u32string typed = edtCash_->text().toStdU32String();
    const std::u32string filtered = FilterDigits(typed);
    if (filtered != typed) {
        edtCash_->setText(QString::fromStdU32String(filtered));
        edtCash_->setCursorPosition(caret);
    }
    const auto funds = static_cast<std::int64_t>(DigitNumber(filtered));
    // The rule refuses what does not fit in 32 bits; the household keeps what it had.
    std::string refused;
    document_.EditHouseholds(Target(), QStringLiteral("funds"), std::nullopt,
                             [&](Workspace& ws) { refused = SetHouseholdFunds(ws.households[*index], funds); },
                             QStringLiteral("funds") + QString::number(*index));
    // What the box shows is what is stored: refused digits go, with the reason in the status
    // line, which a valid entry clears again.
    if (!refused.empty()) {
        edtCash_->setText(QString::number(document_.workspace().households[*index].funds));
        edtCash_->setCursorPosition(std::min(caret, static_cast<int>(edtCash_->text().size())));
        context_.status.SetStatus(QString::fromStdString(refused));
    } else {
        context_.status.SetStatus(QString());
    }
}

void HouseholdsPanel::btnMoveInClick() {
    const auto index = Shown();
    const auto sim = SimIndex();
    if (showing_ || Filling() || !index || !sim) return;
    const QString what = QStringLiteral("move into ") + Target();
    document_.EditHouseholds(SimName(document_.workspace().characters[*sim]), what, sim,
                             [&](Workspace& ws) { MoveIn(ws, ws.characters[*sim], ws.households[*index]); });
    Refill();
    FillHouseholdList(index);
}

}  // namespace qh::app
