#include "app/panels/relationships_panel.h"

#include <QStandardItemModel>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "character/character_rules.h"
#include "package/text_list.h"
#include "workspace/sim_items.h"

namespace qh::app {

namespace {

QString FullName(const Character& sim) { return ShownText(sim.firstName) + QLatin1Char(' ') + ShownText(sim.lastName); }


// The design's names of the flag boxes, by bit; panel two's end in "2".
const char* FlagBoxName(int bit) {
    switch (bit) {
        case kCrushBit: return "ckCrush";
        case kLoveBit: return "ckLove";
        case kEngagedBit: return "ckEngaged";
        case kMarriedBit: return "ckMarried";
        case kFriendBit: return "ckFriend";
        case kBestFriendBit: return "ckBestFriend";
        case kSteadyBit: return "ckSteady";
        case kEnemyBit: return "ckEnemy";
        case kContactBit: return "ckContact";
        case kFamilyBit: return "ckUnAvailable";
        default: return "ckAquaintance";  // Met
    }
}


QComboBox* AttractionSelector(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    int widest = 0;
    for (const AttractionEntry& entry : AttractionPlan()) {
        box->addItem(QString::fromLatin1(entry.caption));
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(QString::fromLatin1(entry.caption)));
    }
    // The longest caption ("Full Face Makeup") whole, beside the drop-down arrow.
    box->setMinimumWidth(widest + 40);
    return box;
}

}  // namespace

RelationshipsPanel::RelationshipsPanel(Document& document, PanelContext& context, const PanelRow& row)
    : Panel(document, context, row) {
    auto* layout = new QVBoxLayout(this);

    // A row of attraction traits: its label, and a strip of names that scrolls sideways.
    auto traitRow = [&](const char* label, const char* scroller, const char* strip, QLabel*& labelOut,
                        QScrollArea*& scrollerOut, QWidget*& stripOut) {
        auto* line = new QHBoxLayout;
        labelOut = NamedLabel(this, QString::fromLatin1(label));
        scrollerOut = new QScrollArea(this);
        scrollerOut->setObjectName(QString::fromLatin1(scroller));
        stripOut = new QWidget;
        stripOut->setObjectName(QString::fromLatin1(strip));
        scrollerOut->setWidget(stripOut);
        scrollerOut->setWidgetResizable(false);
        scrollerOut->setFixedHeight(40);
        scrollerOut->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollerOut->horizontalScrollBar()->setSingleStep(10);
        scrollerOut->setFrameShape(QFrame::NoFrame);
        scrollerOut->hide();
        line->addWidget(labelOut);
        line->addWidget(scrollerOut, 1);
        layout->addLayout(line);
    };
    traitRow("lblSelAttractionTraits", "scrTraits1", "pnlTraits1", lblSelAttractionTraits_, scrTraits1_, pnlTraits1_);

    auto* turnOns = new QHBoxLayout;
    lblTurnOns_ = NamedLabel(this, QStringLiteral("lblTurnOns"));
    cbTurnOn1_ = AttractionSelector(this, "cbTurnOn1");
    cbTurnOn2_ = AttractionSelector(this, "cbTurnOn2");
    lblTurnOff_ = NamedLabel(this, QStringLiteral("lblTurnOff"));
    cbTurnOff_ = AttractionSelector(this, "cbTurnOff");
    turnOns->addWidget(lblTurnOns_);
    turnOns->addWidget(cbTurnOn1_);
    turnOns->addWidget(cbTurnOn2_);
    turnOns->addSpacing(16);
    turnOns->addWidget(lblTurnOff_);
    turnOns->addWidget(cbTurnOff_);
    turnOns->addStretch();
    layout->addLayout(turnOns);

    auto* chooser = new QHBoxLayout;
    cbRelationShips_ = new QComboBox(this);
    cbRelationShips_->setObjectName(QStringLiteral("cbRelationShips"));
    cbRelationShips_->setIconSize(QSize(32, 32));
    cbRelationShips_->setMinimumWidth(320);
    btnRelSwapChar_ = new QPushButton(QStringLiteral("Swap"), this);
    btnRelSwapChar_->setObjectName(QStringLiteral("btnRelSwapChar"));
    btnRelSwapChar_->setToolTip(QStringLiteral("Show this relationship from the other sim's side"));
    btnMaxBothRelationships_ = new QPushButton(QStringLiteral("Max Both Relationships"), this);
    btnMaxBothRelationships_->setObjectName(QStringLiteral("btnMaxBothRelationships"));
    SetTip(btnMaxBothRelationships_, QStringLiteral("Set both sims' daily and lifetime levels for each other to 100"));
    chooser->addWidget(new QLabel(QStringLiteral("Relationship:"), this));
    chooser->addWidget(cbRelationShips_);
    chooser->addWidget(btnRelSwapChar_);
    chooser->addWidget(btnMaxBothRelationships_);
    chooser->addStretch();
    layout->addLayout(chooser);

    auto* sides = new QHBoxLayout;
    BuildSide(one_, QString(), QStringLiteral("cbFamRel1"));
    BuildSide(two_, QStringLiteral("2"), QStringLiteral("cbFamRel2"));
    one_.frame->setObjectName(QStringLiteral("pnlRelationshipsOne"));
    two_.frame->setObjectName(QStringLiteral("pnlRelationshipsTwo"));
    one_.heading->setObjectName(QStringLiteral("lblSimLike"));
    two_.heading->setObjectName(QStringLiteral("lblSim2Like"));
    sides->addWidget(one_.frame);
    sides->addWidget(two_.frame);
    layout->addLayout(sides);

    lblOneWay_ = NamedLabel(this, QStringLiteral("lblOneWay"));
    lblOneWay_->setWordWrap(true);
    layout->addWidget(lblOneWay_);
    lblNoRelationships_ = NamedLabel(this, QStringLiteral("lblNoRelationships"),
                                     QStringLiteral("This sim has no relationships with the sims of this neighborhood."));
    layout->addWidget(lblNoRelationships_);

    traitRow("lblRelAttractionTraits", "scrTraits2", "pnlTraits2", lblRelAttractionTraits_, scrTraits2_, pnlTraits2_);
    layout->addStretch();

    connect(cbRelationShips_, &QComboBox::currentIndexChanged, this, [this] {
        if (!showing_) cbRelationShipsChange();
    });
    connect(btnMaxBothRelationships_, &QPushButton::clicked, this, [this] { btnMaxBothRelationshipsClick(); });
    connect(btnRelSwapChar_, &QPushButton::clicked, this, [this] { btnRelSwapCharClick(); });
    for (QComboBox* box : {cbTurnOn1_, cbTurnOn2_, cbTurnOff_}) {
        connect(box, &QComboBox::activated, this, [this] { cbTurnOnOffChange(); });
    }
}

void RelationshipsPanel::BuildSide(Side& side, const QString& suffix, const QString& famRelName) {
    side.frame = new QFrame(this);
    side.frame->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(side.frame);
    side.heading = new QLabel(side.side == RelationshipSide::Own
                                  ? QStringLiteral("How much Selected Character likes Relationship Character")
                                  : QStringLiteral("How much Relationship Character likes Selected Character"),
                              side.frame);
    side.heading->setWordWrap(true);
    grid->addWidget(side.heading, 0, 0, 1, 2);
    side.lblShortTerm = NamedLabel(side.frame, QStringLiteral("lblShortTerm") + suffix);
    side.trkShortTerm = NamedSlider(side.frame, QStringLiteral("trkShortTerm") + suffix, -100, 100);
    side.lblLongTerm = NamedLabel(side.frame, QStringLiteral("lblLongTerm") + suffix);
    side.trkLongTerm = NamedSlider(side.frame, QStringLiteral("trkLongTerm") + suffix, -100, 100);
    SetTip(side.trkShortTerm, QStringLiteral("How this sim feels about the other today (daily), from -100 to 100"));
    SetTip(side.trkLongTerm, QStringLiteral("How this sim feels about the other over their lives (lifetime), from -100 to 100"));
    for (QSlider* slider : {side.trkShortTerm, side.trkLongTerm}) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(10);
        connect(slider, &QSlider::valueChanged, this, [this, &side] { trkRelLevelChange(side); });
    }
    // A tick every 10 under each level, the zero between liking and disliking marked.
    grid->addWidget(side.lblShortTerm, 1, 0, 1, 2);
    grid->addWidget(side.trkShortTerm, 2, 0, 1, 2);
    grid->addWidget(new TickScale(side.trkShortTerm, 10, side.frame), 3, 0, 1, 2);
    grid->addWidget(side.lblLongTerm, 4, 0, 1, 2);
    grid->addWidget(side.trkLongTerm, 5, 0, 1, 2);
    grid->addWidget(new TickScale(side.trkLongTerm, 10, side.frame), 6, 0, 1, 2);
    // The boxes in pairs a player reads together; those of advanced mode last, so that hiding
    // them leaves no gap. -1 is Furious, which is no flag of the record.
    constexpr int kOrder[] = {kMetBit,     kContactBit, kFriendBit,  kBestFriendBit, kCrushBit,  kLoveBit,
                              kEnemyBit,   -1,          kSteadyBit,  kEngagedBit,    kMarriedBit, kFamilyBit};
    int at = 0;
    for (int bit : kOrder) {
        QCheckBox* box = nullptr;
        if (bit < 0) {
            box = side.ckFurious = new QCheckBox(QStringLiteral("Furious"), side.frame);
            box->setObjectName(QStringLiteral("ckFurious") + suffix);
            SetTip(box, QStringLiteral("Whether this sim is furious with the other (kept as an item of the neighborhood)"));
            connect(box, &QCheckBox::clicked, this, [this, &side] { ckFuriousClick(side); });
        } else {
            const RelationshipFlag& flag = *RelationshipFlagOfBit(bit);
            box = new QCheckBox(QString::fromLatin1(flag.caption.data(), static_cast<qsizetype>(flag.caption.size())),
                                side.frame);
            box->setObjectName(QString::fromLatin1(FlagBoxName(bit)) + suffix);
            side.flags[bit] = box;
            SetTip(box, bit == kContactBit
                            ? QStringLiteral("Whether this sim has the other in its phone book (also an item of the neighborhood)")
                            : QStringLiteral("Whether the game counts the other sim as this sim's \"%1\"").arg(box->text()));
            if (RelationshipFlagAdvancedOnly(bit)) context_.view.RegisterAdvanced(box, AdvancedEffect::ShowWhenOn);
            connect(box, &QCheckBox::clicked, this, [this, &side, bit] { ckRelBits(side, bit); });
        }
        grid->addWidget(box, 7 + at / 2, at % 2);
        ++at;
    }
    side.cbFamRel = new QComboBox(side.frame);
    side.cbFamRel->setObjectName(famRelName);
    side.cbFamRel->setToolTip(QStringLiteral("What this sim is to the other"));
    for (const FamilyRelationRow& relation : FamilyRelations()) {
        side.cbFamRel->addItem(QString::fromLatin1(relation.text.data(), static_cast<qsizetype>(relation.text.size())));
    }
    grid->addWidget(side.cbFamRel, 14, 0, 1, 2);
    connect(side.cbFamRel, &QComboBox::activated, this, [this, &side](int index) { cbFamRelChange(side, index); });
}

std::optional<std::size_t> RelationshipsPanel::Chosen() const {
    const QVariant chosen = cbRelationShips_->currentData();
    if (!chosen.isValid()) return std::nullopt;
    const auto record = static_cast<std::size_t>(chosen.toULongLong());
    if (record >= document_.workspace().relationshipList.size()) return std::nullopt;
    return record;
}

std::optional<std::size_t> RelationshipsPanel::OtherSim() const {
    const auto record = Chosen();
    if (!record) return std::nullopt;
    const Workspace& ws = document_.workspace();
    const auto it = ws.simByInstance.find(ws.relationshipList[*record].otherId);
    if (it == ws.simByInstance.end()) return std::nullopt;
    return it->second;
}

QString RelationshipsPanel::Target() const {
    const auto sim = SimIndex();
    const auto other = OtherSim();
    const Workspace& ws = document_.workspace();
    if (!sim || !other) return QStringLiteral("a relationship");
    return SimName(ws.characters[*sim]) + QStringLiteral(" and ") + SimName(ws.characters[*other]);
}

void RelationshipsPanel::Edit(const QString& what, const std::function<void(Workspace&)>& change,
                              const QString& mergeKey) {
    const auto record = Chosen();
    if (!Ready() || !record || !hasReverse_) return;
    document_.EditRelationshipPair(*record, Target(), what, change, mergeKey);
}

void RelationshipsPanel::Fill() {
    ready_ = false;
    ++showing_;
    const Character& sim = *Sim();
    const Workspace& ws = document_.workspace();
    const GameEnvironment& env = document_.session().env;
    FillTraits(scrTraits1_, pnlTraits1_, nullptr);
    cbRelationShips_->clear();

    const bool attraction = AttractionShown(sim, env);
    for (QWidget* control : std::initializer_list<QWidget*>{lblSelAttractionTraits_, lblTurnOns_, lblTurnOff_,
                                                            lblRelAttractionTraits_, cbTurnOn1_, cbTurnOn2_, cbTurnOff_}) {
        control->setVisible(attraction);
    }
    for (Side* side : {&one_, &two_}) side->ckFurious->setVisible(FuriousShown(env));
    if (attraction) {
        const QString name = FullName(sim);
        lblSelAttractionTraits_->setText(QStringLiteral("Attraction Traits for ") + name + QStringLiteral(":"));
        lblTurnOns_->setText(QStringLiteral("Turn Ons for ") + name + QStringLiteral(":"));
        lblTurnOff_->setText(QStringLiteral("Turn Off for ") + name + QStringLiteral(":"));
        lblRelAttractionTraits_->clear();
        FillTraits(scrTraits1_, pnlTraits1_, &sim);
        // Only what the sim's format keeps is offered; an entry it lacks is shown greyed.
        for (QComboBox* box : {cbTurnOn1_, cbTurnOn2_, cbTurnOff_}) {
            auto* model = qobject_cast<QStandardItemModel*>(box->model());
            for (int position = 0; model && position < box->count(); ++position) {
                if (QStandardItem* item = model->item(position)) item->setEnabled(AttractionStored(sim, position));
            }
            box->setEnabled(AttractionStored(sim, 1));
        }
        const TurnOnSelection shown = ShownTurnOns(sim);
        cbTurnOn1_->setCurrentIndex(shown.turnOn1);
        cbTurnOn2_->setCurrentIndex(shown.turnOn2);
        cbTurnOff_->setCurrentIndex(shown.turnOff);
    }

    // The list by the other sims' entry texts, as the character selector shows them.
    context_.status.SetStatus(QStringLiteral("Loading Relationships"));
    context_.status.progress().SetMaximum(200);
    struct Entry {
        QString text;
        ListedRelationship listed;
    };
    std::vector<Entry> entries;
    int position = 0;
    for (const ListedRelationship& listed : ListedRelationships(ws, sim)) {
        entries.push_back({context_.pictures.SimEntryText(ws.characters[listed.other]), listed});
        context_.status.progress().SetPosition(++position % 200);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    });
    for (const Entry& entry : entries) {
        cbRelationShips_->addItem(QIcon(context_.pictures.SimPicture(ws.characters[entry.listed.other], 32)), entry.text,
                                  QVariant::fromValue<qulonglong>(entry.listed.record));
    }
    --showing_;
    context_.status.SetStatus({});
    context_.status.progress().SetPosition(0);

    const bool any = cbRelationShips_->count() > 0;
    lblNoRelationships_->setVisible(!any);
    if (any) {
        int row = 0;
        for (int i = 0; chooseAfterFill_ && i < cbRelationShips_->count(); ++i) {
            const auto r = static_cast<std::size_t>(cbRelationShips_->itemData(i).toULongLong());
            if (ws.relationshipList[r].otherId == *chooseAfterFill_) row = i;
        }
        chooseAfterFill_.reset();
        ++showing_;
        cbRelationShips_->setCurrentIndex(row);
        --showing_;
        cbRelationShipsChange();
    } else {
        hasReverse_ = false;
        one_.frame->hide();
        two_.frame->hide();
        lblOneWay_->hide();
        EnableEditing(false);
    }
}

void RelationshipsPanel::FillTraits(QScrollArea* scroller, QWidget* strip, const Character* sim) {
    // Emptying a strip removes its labels and hides its scroller.
    for (QLabel* label : strip->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) delete label;
    strip->resize(0, scroller->height() - 4);
    scroller->hide();
    if (!sim) return;
    int x = 21;
    bool first = true;
    for (std::string_view name : OwnTraitNames(*sim)) {
        const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        auto* label = new QLabel(first ? text : QStringLiteral(", ") + text, strip);
        label->adjustSize();
        label->move(x, 8);
        label->show();
        x = label->geometry().right() + 1;
        strip->resize(x + 20, strip->height());
        scroller->show();
        first = false;
    }
}

void RelationshipsPanel::cbRelationShipsChange() {
    ready_ = false;
    ++showing_;
    const Workspace& ws = document_.workspace();
    const GameEnvironment& env = document_.session().env;
    for (Side* side : {&one_, &two_}) side->ckFurious->setChecked(false);
    FillTraits(scrTraits2_, pnlTraits2_, nullptr);
    lblRelAttractionTraits_->clear();
    const auto record = Chosen();
    const Character* sim = Sim();
    hasReverse_ = false;
    if (record && sim) {
        const RelationshipRecord& r = ws.relationshipList[*record];
        ShowSide(one_, r);
        const auto reverse = ReverseRecords(ws, *record);
        hasReverse_ = !reverse.empty();
        const auto other = OtherSim();
        if (hasReverse_) ShowSide(two_, ws.relationshipList[reverse.front()]);
        if (other) {
            const Character& o = ws.characters[*other];
            one_.heading->setText(QStringLiteral("How much ") + FullName(*sim) + QStringLiteral(" likes ") + FullName(o));
            two_.heading->setText(QStringLiteral("How much ") + FullName(o) + QStringLiteral(" likes ") + FullName(*sim));
            if (AttractionShown(o, env) && AttractionShown(*sim, env)) {
                lblRelAttractionTraits_->setText(QStringLiteral("Attraction Traits for ") + FullName(o) + QStringLiteral(":"));
                FillTraits(scrTraits2_, pnlTraits2_, &o);
            }
            lblOneWay_->setText(FullName(o) + QStringLiteral(" has no relationship with ") + FullName(*sim) +
                                QStringLiteral(" in return; a one-way relationship cannot be edited here."));
        }
    }
    one_.frame->setVisible(hasReverse_);
    two_.frame->setVisible(hasReverse_);
    btnRelSwapChar_->setVisible(hasReverse_);
    btnMaxBothRelationships_->setVisible(hasReverse_);
    lblOneWay_->setVisible(record && !hasReverse_);
    ShowFamilyRelations();
    ColourFurious(one_);
    ColourFurious(two_);
    EnableEditing(hasReverse_);
    --showing_;
    ready_ = hasReverse_;
}

void RelationshipsPanel::ShowSide(Side& side, const RelationshipRecord& record) {
    side.trkShortTerm->setValue(LimitRelationshipLevel(record.shortTerm));
    side.trkLongTerm->setValue(LimitRelationshipLevel(record.longTerm));
    side.lblShortTerm->setText(QStringLiteral("Short Term: ") + QString::number(side.trkShortTerm->value()));
    side.lblLongTerm->setText(QStringLiteral("Long Term: ") + QString::number(side.trkLongTerm->value()));
    // A stored relation outside the list shows none chosen.
    side.cbFamRel->setCurrentIndex(MirrorFamilyRelation(record.familyRelation) ? record.familyRelation : -1);
    for (auto& [bit, box] : side.flags) box->setChecked(HasRelationshipFlag(record, bit));
    side.ckFurious->setChecked(IsFurious(document_.workspace(), record.ownerId, record.otherId));
}

void RelationshipsPanel::EnableEditing(bool on) {
    // Furious and Contact are items as well: where the save could not write them they are shown,
    // never changed.
    const QString itemsRefusal = QString::fromStdString(ItemsRefusal(document_.workspace()));
    const bool items = on && itemsRefusal.isEmpty();
    for (Side* side : {&one_, &two_}) {
        side->trkShortTerm->setEnabled(on);
        side->trkLongTerm->setEnabled(on);
        for (auto& [bit, box] : side->flags) {
            box->setEnabled(bit == kContactBit ? items : on);
            if (bit == kContactBit) ShowRefusalOrTip(box, itemsRefusal);
        }
        side->ckFurious->setEnabled(items);
        ShowRefusalOrTip(side->ckFurious, itemsRefusal);
        side->cbFamRel->setEnabled(on);
        side->lblShortTerm->setVisible(on);
        side->lblLongTerm->setVisible(on);
        side->heading->setVisible(on);
    }
    cbRelationShips_->setEnabled(cbRelationShips_->count() > 0);
    btnRelSwapChar_->setEnabled(on);
    btnMaxBothRelationships_->setEnabled(on);
}

void RelationshipsPanel::ShowFamilyRelations() {
    for (Side* side : {&one_, &two_}) {
        side->cbFamRel->setVisible(context_.view.Advanced() && side->flags[kFamilyBit]->isChecked());
    }
}

void RelationshipsPanel::ColourFurious(Side& side) {
    // A furious sim's side is red, as the game's own warning colour; otherwise the scheme's.
    side.frame->setStyleSheet(side.ckFurious->isChecked() ? QStringLiteral("QWidget { background: #ff0000; }")
                                                          : QString());
}

void RelationshipsPanel::AdvancedChanged() { ShowFamilyRelations(); }

void RelationshipsPanel::DocumentChanged(const Change& change) {
    if (!change.replay || !isVisible()) return;
    if (change.subject == Subject::Sim && SimIndex() != std::optional<std::size_t>(static_cast<std::size_t>(change.sim))) {
        return;
    }
    // An undo or redo: the panel again, on the relationship that was shown.
    const auto shown = Chosen();
    Refill();
    if (!shown) return;
    const int row = cbRelationShips_->findData(QVariant::fromValue<qulonglong>(*shown));
    if (row >= 0 && row != cbRelationShips_->currentIndex()) cbRelationShips_->setCurrentIndex(row);
}

void RelationshipsPanel::trkRelLevelChange(Side& side) {
    side.lblShortTerm->setText(QStringLiteral("Short Term: ") + QString::number(side.trkShortTerm->value()));
    side.lblLongTerm->setText(QStringLiteral("Long Term: ") + QString::number(side.trkLongTerm->value()));
    const auto record = Chosen();
    if (!record) return;
    const int shortTerm = side.trkShortTerm->value();
    const int longTerm = side.trkLongTerm->value();
    Edit(QStringLiteral("relationship levels"),
         [&](Workspace& ws) { SetRelationshipLevels(ws, *record, side.side, shortTerm, longTerm); },
         QStringLiteral("levels") + QString::number(static_cast<int>(side.side)));
}

void RelationshipsPanel::ckRelBits(Side& side, int bit) {
    const auto record = Chosen();
    QCheckBox* box = side.flags[bit];
    if (!record || !Ready()) return;
    const bool on = box->isChecked();
    const RelationshipFlag* flag = RelationshipFlagOfBit(bit);
    Edit(QString::fromLatin1(flag->caption.data(), static_cast<qsizetype>(flag->caption.size())) +
             (on ? QStringLiteral(" on") : QStringLiteral(" off")),
         [&](Workspace& ws) { SetRelationshipFlagRule(ws, *record, side.side, bit, on); });
    if (flag->bothSides) {
        ++showing_;
        OtherSide(side).flags[bit]->setChecked(on);
        --showing_;
    }
    if (bit == kFamilyBit) ShowFamilyRelations();
}

void RelationshipsPanel::ckFuriousClick(Side& side) {
    const auto record = Chosen();
    if (!record || !Ready()) return;
    const bool on = side.ckFurious->isChecked();
    Edit(on ? QStringLiteral("Furious on") : QStringLiteral("Furious off"), [&](Workspace& ws) {
        const RelationshipSideIds ids = SideIds(ws, *record, side.side);
        SetFurious(ws, ids.owner, ids.other, on);
    });
    ColourFurious(side);
}

void RelationshipsPanel::cbFamRelChange(Side& side, int index) {
    const auto record = Chosen();
    if (!record || !Ready()) return;
    bool stored = false;
    Edit(QStringLiteral("family relation"), [&](Workspace& ws) { stored = SetFamilyRelation(ws, *record, side.side, index); });
    if (const auto mirror = MirrorFamilyRelation(index); stored && mirror) {
        OtherSide(side).cbFamRel->setCurrentIndex(*mirror);
    }
}

void RelationshipsPanel::btnMaxBothRelationshipsClick() {
    const auto record = Chosen();
    if (!record || !Ready()) return;
    Edit(QStringLiteral("Max Both Relationships"), [&](Workspace& ws) { MaxBothRelationships(ws, *record); });
    cbRelationShipsChange();
}

void RelationshipsPanel::btnRelSwapCharClick() {
    const auto record = Chosen();
    const auto other = OtherSim();
    if (!record || !other || Filling()) return;
    // The window shows the other sim and fills this panel for it; the same pair is then chosen
    // from its side.
    chooseAfterFill_ = document_.workspace().relationshipList[*record].ownerId;
    context_.selection.SelectSim(*other);
}

void RelationshipsPanel::cbTurnOnOffChange() {
    if (!isEnabled() || showing_) return;
    const TurnOnSelection chosen{cbTurnOn1_->currentIndex(), cbTurnOn2_->currentIndex(), cbTurnOff_->currentIndex()};
    EditSelected(QStringLiteral("turn-ons and turn-off"),
                 [&](Workspace&, Character& sim) { (void)SetTurnOnsAndOffs(sim, chosen); });
}

}  // namespace qh::app
