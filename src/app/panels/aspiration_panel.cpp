#include "app/panels/aspiration_panel.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "app/widgets.h"
#include "character/character_rules.h"
#include "workspace/aspiration_items.h"
#include "workspace/sim_items.h"

namespace qh::app {

namespace {

QComboBox* List(QWidget* parent, const char* name, const QString& tip) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setMinimumWidth(180);
    list->setMaximumWidth(320);
    SetTip(list, tip);
    return list;
}

QSlider* Slider(QWidget* parent, const char* name, int high, const QString& tip) {
    QSlider* slider = NamedSlider(parent, QString::fromLatin1(name), 0, high);
    SetTip(slider, tip);
    return slider;
}

// "Caption (value)" and, for a value stored beyond the slider's range (by another tool), what is
// kept: the slider shows its end, and the value stays until the slider is moved.
QString Valued(const QString& caption, const QSlider* slider, std::optional<int> stored) {
    QString text = caption + QString::number(slider->value()) + QLatin1Char(')');
    if (stored) text += QString::fromStdString(StoredBeyondNote(*stored, slider->value(), slider->minimum(), slider->maximum()));
    return text;
}

}  // namespace

AspirationPanel::AspirationPanel(Document& document, PanelContext& context, const PanelRow& row)
    : Panel(document, context, row) {
    auto* column = new QVBoxLayout(this);
    lblNoAspiration_ = NamedLabel(this, QStringLiteral("lblNoAspiration"));
    lblNoAspiration_->setWordWrap(true);
    column->addWidget(lblNoAspiration_);

    auto* grid = new QGridLayout;
    int line = 0;
    cbAspiration1_ = List(this, "cbAspiration1", QStringLiteral("The sim's aspiration (kept both in its description and as "
                                                                "an item of the neighborhood)"));
    grid->addWidget(NamedLabel(this, QStringLiteral("lblAspiration1"), QStringLiteral("Primary Aspiration:")), line, 0);
    grid->addWidget(cbAspiration1_, line++, 1);
    lblAspiration2_ = NamedLabel(this, QStringLiteral("lblAspiration2"), QStringLiteral("Secondary Aspiration:"));
    cbAspiration2_ = List(this, "cbAspiration2", QStringLiteral("The sim's secondary aspiration (FreeTime); it cannot be "
                                                                "the primary one"));
    grid->addWidget(lblAspiration2_, line, 0);
    grid->addWidget(cbAspiration2_, line++, 1);
    lblAspirationScore_ = NamedLabel(this, QStringLiteral("lblAspirationScore"));
    trkAspirationScore_ = Slider(this, "trkAspirationScore", 100, QStringLiteral("The sim's aspiration meter"));
    grid->addWidget(lblAspirationScore_, line, 0);
    grid->addWidget(trkAspirationScore_, line++, 1);
    lblAspirationLevel_ = NamedLabel(this, QStringLiteral("lblAspirationLevel"));
    trkAspirationLevel_ = Slider(this, "trkAspirationLevel", kAspirationLevelMaximum,
                                 QStringLiteral("The sim's aspiration level: 0 to 1200"));
    grid->addWidget(lblAspirationLevel_, line, 0);
    grid->addWidget(trkAspirationLevel_, line++, 1);
    edtAspirationRewardPoints_ = new QLineEdit(this);
    edtAspirationRewardPoints_->setObjectName(QStringLiteral("edtAspirationRewardPoints"));
    edtAspirationRewardPoints_->setMaximumWidth(100);
    SetTip(edtAspirationRewardPoints_, QStringLiteral("The sim's aspiration reward points; the game keeps them in tens, "
                                                      "so the last digit is always 0"));
    grid->addWidget(NamedLabel(this, QStringLiteral("lblAspirationRewardPoints"), QStringLiteral("Reward Points:")), line, 0);
    grid->addWidget(edtAspirationRewardPoints_, line++, 1);
    grid->setColumnStretch(1, 1);
    column->addLayout(grid);

    grpLTAspiration_ = new QGroupBox(QStringLiteral("Long Term Aspiration"), this);
    grpLTAspiration_->setObjectName(QStringLiteral("grpLTAspiration"));
    auto* lta = new QGridLayout(grpLTAspiration_);
    lblLTAspiration_ = NamedLabel(grpLTAspiration_, QStringLiteral("lblLTAspiration"));
    trkLTAspiration_ = Slider(grpLTAspiration_, "trkLTAspiration", kLtaLevelMaximum,
                              QStringLiteral("The sim's long-term aspiration level: 0 to 30000"));
    cbLTAUnlocks_ = List(grpLTAspiration_, "cbLTAUnlocks", QStringLiteral("How many long-term aspiration unlocks the sim has "
                                                                          "still to use"));
    cbLTAUnlocks_->setMinimumWidth(70);
    lblLTAUnlocks_ = NamedLabel(grpLTAspiration_, QStringLiteral("lblLTAUnlocks"));
    lta->addWidget(lblLTAspiration_, 0, 0, 1, 3);
    lta->addWidget(trkLTAspiration_, 1, 0, 1, 3);
    lta->addWidget(NamedLabel(grpLTAspiration_, QStringLiteral("lblLTAUnlocksCaption"), QStringLiteral("Unlocks:")), 2, 0);
    lta->addWidget(cbLTAUnlocks_, 2, 1);
    lta->addWidget(lblLTAUnlocks_, 2, 2);
    lta->setColumnStretch(2, 1);
    column->addWidget(grpLTAspiration_);

    grpWeeklyBenefit_ = new QGroupBox(QStringLiteral("Weekly Benefit"), this);
    grpWeeklyBenefit_->setObjectName(QStringLiteral("grpWeeklyBenefit"));
    auto* benefit = new QVBoxLayout(grpWeeklyBenefit_);
    lblWeeklyBenefit_ = NamedLabel(grpWeeklyBenefit_, QStringLiteral("lblWeeklyBenefit"));
    trkWeeklyBenefit_ = Slider(grpWeeklyBenefit_, "trkWeeklyBenefit", kWeeklyBenefitMaximum,
                               QStringLiteral("The sim's weekly benefit: 0 to 7 (kept as an item of the neighborhood)"));
    benefit->addWidget(lblWeeklyBenefit_);
    benefit->addWidget(trkWeeklyBenefit_);
    column->addWidget(grpWeeklyBenefit_);

    grpInfluence_ = new QGroupBox(QStringLiteral("Influence"), this);
    grpInfluence_->setObjectName(QStringLiteral("grpInfluence"));
    auto* influence = new QVBoxLayout(grpInfluence_);
    lblInfluenceLevel_ = NamedLabel(grpInfluence_, QStringLiteral("lblInfluenceLevel"));
    trkInfluenceLevel_ = Slider(grpInfluence_, "trkInfluenceLevel", kInfluenceLevelMaximum,
                                QStringLiteral("The sim's influence level: 0 to 5"));
    lblInfluenceMinimum_ = NamedLabel(grpInfluence_, QStringLiteral("lblInfluenceMinimum"));
    lblInfluenceScore_ = NamedLabel(grpInfluence_, QStringLiteral("lblInfluenceScore"));
    influence->addWidget(lblInfluenceLevel_);
    influence->addWidget(trkInfluenceLevel_);
    influence->addWidget(lblInfluenceMinimum_);
    influence->addWidget(lblInfluenceScore_);
    column->addWidget(grpInfluence_);
    column->addStretch();

    connect(cbAspiration1_, &QComboBox::activated, this, [this] { cbAspirationChange(); });
    connect(cbAspiration2_, &QComboBox::activated, this, [this] { cbAspirationChange(); });
    connect(trkAspirationScore_, &QSlider::valueChanged, this, [this] { trkAspirationScoreChange(); });
    connect(trkAspirationLevel_, &QSlider::valueChanged, this, [this] { trkAspirationLevelChange(); });
    connect(edtAspirationRewardPoints_, &QLineEdit::textEdited, this, [this] { edtAspirationRewardPointsKeyUp(); });
    connect(edtAspirationRewardPoints_, &QLineEdit::editingFinished, this, [this] { edtAspirationRewardPointsExit(); });
    connect(trkLTAspiration_, &QSlider::valueChanged, this, [this] { trkLTAspirationChange(); });
    connect(cbLTAUnlocks_, &QComboBox::activated, this, [this](int index) { cbLTAUnlocksChange(index); });
    connect(trkWeeklyBenefit_, &QSlider::valueChanged, this, [this] { trkWeeklyBenefitChange(); });
    connect(trkInfluenceLevel_, &QSlider::valueChanged, this, [this] { trkInfluenceLevelChange(); });
}

void AspirationPanel::Fill() {
    const Character& sim = *Sim();
    const GameEnvironment& env = document_.session().env;
    const Workspace& ws = document_.workspace();
    const bool described = HasDescription(sim);
    lblNoAspiration_->setText(described ? QString() : QString::fromStdString(NoDescriptionRefusal(sim)));
    lblNoAspiration_->setVisible(!described);
    const QString itemsRefusal = QString::fromStdString(described ? ItemsRefusal(ws) : NoDescriptionRefusal(sim));

    // The lists: the primary always, the secondary with FreeTime.
    const ShownAspiration shown = ShownAspirations(ws.simItemList, sim, env);
    cbAspiration1_->clear();
    for (int position = 0; position < PrimaryAspirationCount(env); ++position) {
        cbAspiration1_->addItem(QString::fromLatin1(AspirationName(position).data()), position);
    }
    cbAspiration1_->setCurrentIndex(shown.primary);
    const bool secondary = HasSecondaryAspiration(env);
    cbAspiration2_->clear();
    if (secondary) {
        for (int position = 0; position <= 8; ++position) {
            cbAspiration2_->addItem(QString::fromLatin1(AspirationName(position).data()), position);
        }
        cbAspiration2_->setCurrentIndex(shown.secondary);
    }
    lblAspiration2_->setVisible(secondary);
    cbAspiration2_->setVisible(secondary);
    for (QComboBox* list : {cbAspiration1_, cbAspiration2_}) {
        list->setEnabled(itemsRefusal.isEmpty());
        ShowRefusalOrTip(list, itemsRefusal);
    }

    // Meter and level: a baby's are shown only.
    trkAspirationScore_->setMaximum(AspirationMeterMaximum(sim, env));
    trkAspirationScore_->setPageStep(std::max(1, trkAspirationScore_->maximum() / 10));
    trkAspirationScore_->setValue(sim.aspirationScore);
    trkAspirationLevel_->setPageStep(100);
    trkAspirationLevel_->setValue(sim.aspirationLevel);
    const QString meterRefusal = !described                        ? QString::fromStdString(NoDescriptionRefusal(sim))
                                 : !AspirationMeterEditable(sim) ? QStringLiteral("A baby's aspiration is shown, not changed")
                                                                   : QString();
    for (QSlider* slider : {trkAspirationScore_, trkAspirationLevel_}) {
        slider->setEnabled(meterRefusal.isEmpty());
        ShowRefusalOrTip(slider, meterRefusal);
    }
    edtAspirationRewardPoints_->setText(QString::number(ShownRewardPoints(sim)));
    edtAspirationRewardPoints_->setEnabled(described);

    // FreeTime's long-term aspiration.
    grpLTAspiration_->setVisible(LongTermAspirationShown(env));
    const QString ltaRefusal = QString::fromStdString(described ? LongTermRefusal(sim, env) : NoDescriptionRefusal(sim));
    trkLTAspiration_->setValue(sim.ltaLevel);
    FillUnlocks(sim);
    for (QWidget* control : std::initializer_list<QWidget*>{trkLTAspiration_, cbLTAUnlocks_}) {
        control->setEnabled(ltaRefusal.isEmpty());
        ShowRefusalOrTip(control, ltaRefusal);
    }

    // The weekly benefit, for a sim the game gave one.
    const std::optional<int> benefit = WeeklyBenefit(ws.simItemList, sim);
    grpWeeklyBenefit_->setVisible(benefit.has_value());
    trkWeeklyBenefit_->setValue(benefit.value_or(0));
    trkWeeklyBenefit_->setEnabled(itemsRefusal.isEmpty());
    ShowRefusalOrTip(trkWeeklyBenefit_, itemsRefusal);

    // Influence.
    const QString influenceRefusal =
        QString::fromStdString(described ? InfluenceRefusal(sim, env) : NoDescriptionRefusal(sim));
    trkInfluenceLevel_->setValue(sim.influenceLevel);
    for (QWidget* control : std::initializer_list<QWidget*>{trkInfluenceLevel_, lblInfluenceLevel_, lblInfluenceMinimum_,
                                                             lblInfluenceScore_}) {
        control->setEnabled(InfluenceEnabled(sim, env));
    }
    trkInfluenceLevel_->setEnabled(influenceRefusal.isEmpty());
    ShowRefusalOrTip(trkInfluenceLevel_, influenceRefusal);
    Relabel();
}

void AspirationPanel::FillUnlocks(const Character& sim) {
    cbLTAUnlocks_->clear();
    for (int i = 0; i < LtaUnlockChoices(sim); ++i) cbLTAUnlocks_->addItem(QString::number(i));
    cbLTAUnlocks_->setCurrentIndex(ShownLtaUnlocks(sim));
    QString used = QStringLiteral("(%1 of 16 Used)").arg(sim.ltaUnlocksUsed);
    if (ShownLtaUnlocks(sim) < 0) used += QStringLiteral(" - stored: %1 earned").arg(sim.ltaUnlocksEarned);
    lblLTAUnlocks_->setText(used);
}

void AspirationPanel::Relabel() {
    const Character* sim = Sim();
    if (!sim) return;
    const GameEnvironment& env = document_.session().env;
    lblAspirationScore_->setText(Valued(QStringLiteral("Aspiration Meter: ("), trkAspirationScore_, sim->aspirationScore));
    lblAspirationLevel_->setText(Valued(QStringLiteral("Aspiration Level: ("), trkAspirationLevel_, sim->aspirationLevel));
    lblLTAspiration_->setText(Valued(QStringLiteral("Long Term Aspiration Level ("), trkLTAspiration_, sim->ltaLevel));
    const std::optional<int> benefit = WeeklyBenefit(document_.workspace().simItemList, *sim);
    lblWeeklyBenefit_->setText(benefit ? Valued(QStringLiteral("Weekly Benefit: ("), trkWeeklyBenefit_, *benefit) : QString());
    if (InfluenceEnabled(*sim, env)) {
        lblInfluenceLevel_->setText(Valued(QStringLiteral("Influence Level: ("), trkInfluenceLevel_, sim->influenceLevel));
        lblInfluenceMinimum_->setText(QStringLiteral("Influence Minimum: (%1)").arg(sim->influenceMinimum));
        lblInfluenceScore_->setText(QStringLiteral("Influence Score: (%1)").arg(sim->influenceScore));
    } else {
        lblInfluenceLevel_->setText(QStringLiteral("Influence Level: "));
        lblInfluenceMinimum_->setText(QStringLiteral("Influence Minimum: "));
        lblInfluenceScore_->setText(QStringLiteral("Influence Score: "));
    }
}

void AspirationPanel::cbAspirationChange() {
    const int primary = cbAspiration1_->currentData().toInt();
    const int secondary = cbAspiration2_->count() > 0 ? cbAspiration2_->currentData().toInt() : 0;
    EditSelected(QStringLiteral("aspiration"), [&](Workspace& ws, Character& sim) {
        SetAspirations(ws, sim, document_.session().env, primary, secondary);
    });
    Refill();  // the secondary may have gone back to "-"
}

void AspirationPanel::trkAspirationScoreChange() {
    Relabel();
    const int value = trkAspirationScore_->value();
    EditSelected(QStringLiteral("aspiration meter"),
                 [&](Workspace&, Character& sim) { SetAspirationScore(sim, document_.session().env, value); },
                 trkAspirationScore_->objectName());
    Relabel();
}

void AspirationPanel::trkAspirationLevelChange() {
    Relabel();
    const int value = trkAspirationLevel_->value();
    EditSelected(QStringLiteral("aspiration level"), [&](Workspace&, Character& sim) { SetAspirationLevel(sim, value); },
                 trkAspirationLevel_->objectName());
    Relabel();
}

// Each keystroke keeps the digit filter and stores what leaving the box will show, so that a save
// made with the keyboard while the caret is still in the box stores what was typed.
void AspirationPanel::edtAspirationRewardPointsKeyUp() {
    const int caret = edtAspirationRewardPoints_->cursorPosition();
    const std::u32string typed = edtAspirationRewardPoints_->text().toStdU32String();
    const std::u32string filtered = FilterDigits(typed);
    if (filtered != typed) {
        edtAspirationRewardPoints_->setText(QString::fromStdU32String(filtered));
        edtAspirationRewardPoints_->setCursorPosition(caret);
    }
    std::string refused;
    EditSelected(QStringLiteral("reward points"),
                 [&](Workspace&, Character& sim) { refused = SetRewardPoints(sim, filtered); },
                 edtAspirationRewardPoints_->objectName());
    context_.status.SetStatus(QString::fromStdString(refused));
}

void AspirationPanel::edtAspirationRewardPointsExit() {
    const Character* sim = Sim();
    if (Filling() || !sim) return;
    // The box shows what is kept: the last digit 0, or the points as they were after a refusal.
    edtAspirationRewardPoints_->setText(QString::number(ShownRewardPoints(*sim)));
}

void AspirationPanel::trkLTAspirationChange() {
    Relabel();
    const int value = trkLTAspiration_->value();
    EditSelected(QStringLiteral("long-term aspiration level"),
                 [&](Workspace&, Character& sim) { SetLtaLevel(sim, document_.session().env, value); },
                 trkLTAspiration_->objectName());
    Relabel();
}

void AspirationPanel::cbLTAUnlocksChange(int index) {
    EditSelected(QStringLiteral("long-term unlocks"),
                 [&](Workspace&, Character& sim) { SetLtaUnlocks(sim, document_.session().env, index); });
    if (const Character* sim = Sim()) FillUnlocks(*sim);
}

void AspirationPanel::trkWeeklyBenefitChange() {
    Relabel();
    const int value = trkWeeklyBenefit_->value();
    EditSelected(QStringLiteral("weekly benefit"), [&](Workspace& ws, Character& sim) { SetWeeklyBenefit(ws, sim, value); },
                 trkWeeklyBenefit_->objectName());
    Relabel();
}

void AspirationPanel::trkInfluenceLevelChange() {
    Relabel();
    const int value = trkInfluenceLevel_->value();
    EditSelected(QStringLiteral("influence level"),
                 [&](Workspace&, Character& sim) { SetInfluenceLevel(sim, document_.session().env, value); },
                 trkInfluenceLevel_->objectName());
    Relabel();
}

}  // namespace qh::app
