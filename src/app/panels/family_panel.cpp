#include "app/panels/family_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "package/text_list.h"

namespace qh::app {

namespace {

QString FullName(const Character& sim) {
    return (QString::fromStdString(TrimText(ToValidUtf8(sim.firstName))) + QLatin1Char(' ') +
            QString::fromStdString(TrimText(ToValidUtf8(sim.lastName))))
        .trimmed();
}

QLabel* TextLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

}  // namespace

// The chart: one row per generation, each sim a portrait with its name under it, lines from
// parents to children and between spouses. A click centres the chart on that sim; a double
// click selects it in the editor.
class FamilyChartView : public QWidget {
public:
    FamilyChartView(Document& document, PanelContext& context, QWidget* parent)
        : QWidget(parent), document_(document), context_(context) {
        setObjectName(QStringLiteral("pnlFamilyChart"));
        setMinimumSize(400, 5 * kRow);
        setToolTip(QStringLiteral("Click a sim to centre the tree on it; double click to select it."));
    }
    void Centre(std::optional<std::size_t> sim) {
        centre_ = sim;
        chart_ = sim ? BuildFamilyChart(document_.workspace(), *sim) : FamilyChart{};
        pictures_.clear();
        for (const FamilyChartNode& node : chart_.nodes) {
            pictures_.push_back(context_.pictures.SimPicture(document_.workspace().characters[node.sim], kPicture));
        }
        update();
    }
    std::optional<std::size_t> centre() const { return centre_; }
    const FamilyChart& chart() const { return chart_; }
    // Where a node is drawn: the centre of its portrait.
    QPoint NodeCentre(const FamilyChartNode& node) const {
        return {width() / 2 + static_cast<int>(node.column * kColumn), (node.generation + 2) * kRow + kPicture / 2 + 6};
    }
    std::optional<std::size_t> NodeAt(QPoint point) const {
        for (std::size_t i = 0; i < chart_.nodes.size(); ++i) {
            const QPoint c = NodeCentre(chart_.nodes[i]);
            if (std::abs(point.x() - c.x()) <= kColumn / 2 && std::abs(point.y() - c.y()) <= kRow / 2) return i;
        }
        return std::nullopt;
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor text = palette().color(QPalette::WindowText);
        painter.setPen(QPen(text, 1));
        for (const FamilyChartLink& link : chart_.links) {
            const QPoint a = NodeCentre(chart_.nodes[link.from]);
            const QPoint b = NodeCentre(chart_.nodes[link.to]);
            if (link.spouses) {
                painter.drawLine(a.x() + kPicture / 2, a.y(), b.x() - kPicture / 2, b.y());
            } else {
                // Down from the parent's name, across, and down to the child's portrait.
                const int from = a.y() + kPicture / 2 + 18;
                const int to = b.y() - kPicture / 2 - 2;
                const int mid = (from + to) / 2;
                painter.drawLine(a.x(), from, a.x(), mid);
                painter.drawLine(a.x(), mid, b.x(), mid);
                painter.drawLine(b.x(), mid, b.x(), to);
            }
        }
        const Workspace& ws = document_.workspace();
        for (std::size_t i = 0; i < chart_.nodes.size(); ++i) {
            const FamilyChartNode& node = chart_.nodes[i];
            const QPoint c = NodeCentre(node);
            const QRect picture(c.x() - kPicture / 2, c.y() - kPicture / 2, kPicture, kPicture);
            painter.drawPixmap(picture, pictures_[i]);
            if (node.centre) painter.drawRect(picture.adjusted(-2, -2, 1, 1));
            const QRect name(c.x() - kColumn / 2 + 2, picture.bottom() + 2, kColumn - 4, 16);
            painter.drawText(name, Qt::AlignHCenter | Qt::AlignTop,
                             painter.fontMetrics().elidedText(FullName(ws.characters[node.sim]), Qt::ElideRight, name.width()));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (const auto node = NodeAt(event->position().toPoint())) Centre(chart_.nodes[*node].sim);
    }
    void mouseDoubleClickEvent(QMouseEvent* event) override {
        if (const auto node = NodeAt(event->position().toPoint())) context_.selection.SelectSim(chart_.nodes[*node].sim);
    }

private:
    static constexpr int kPicture = 40;
    static constexpr int kColumn = 104;
    static constexpr int kRow = 74;
    Document& document_;
    PanelContext& context_;
    std::optional<std::size_t> centre_;
    FamilyChart chart_;
    std::vector<QPixmap> pictures_;
};

FamilyPanel::FamilyPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left);

    auto* places = new QGridLayout;
    BuildSlot(first_, "pnlPrimaryParent", "imgPrimaryParent", "lblPrimaryParent", QStringLiteral("Primary Parent"),
              "popFirstParent", "popAddParent1", QStringLiteral("Parent"));
    BuildSlot(second_, "pnlSecondParent", "imgSecondParent", "lblSecondParent", QStringLiteral("Secondary Parent"),
              "popSecondParent", "popAddParent2", QStringLiteral("Parent"));
    BuildSlot(spouse_, "pnlSpouse", "imgSpouse", "lblSpouse", QStringLiteral("Spouse"), "popSpouse", "popAddSpouse",
              QStringLiteral("Spouse"));
    pnlSelf_ = new QFrame(this);
    pnlSelf_->setObjectName(QStringLiteral("pnlSelf"));
    pnlSelf_->setFrameShape(QFrame::Box);
    auto* self = new QVBoxLayout(pnlSelf_);
    imgSelf_ = new QLabel(pnlSelf_);
    imgSelf_->setObjectName(QStringLiteral("imgSelf"));
    imgSelf_->setFixedSize(128, 128);
    self->addWidget(new QLabel(QStringLiteral("Self"), pnlSelf_), 0, Qt::AlignHCenter);
    self->addWidget(imgSelf_, 0, Qt::AlignHCenter);
    pnlSelf_->setProperty("helpTopic", row.helpTopic);  // its menu is "Help" alone
    for (Slot* slot : {&first_, &second_}) {
        auto* column = new QVBoxLayout;
        column->addWidget(slot->caption, 0, Qt::AlignHCenter);
        column->addWidget(slot->frame, 0, Qt::AlignHCenter);
        places->addLayout(column, 0, slot == &first_ ? 0 : 2);
    }
    places->addWidget(pnlSelf_, 1, 1);
    auto* spouseColumn = new QVBoxLayout;
    spouseColumn->addWidget(spouse_.caption, 0, Qt::AlignHCenter);
    spouseColumn->addWidget(spouse_.frame, 0, Qt::AlignHCenter);
    places->addLayout(spouseColumn, 1, 2);
    left->addLayout(places);

    left->addWidget(TextLabel(this, QStringLiteral("You can Double Click the images to the left or make a selection from "
                                                   "the lists below to change the selected character.")));
    left->addWidget(TextLabel(this, QStringLiteral("Right Click each parent to Add, Change, or Remove the Parent. Family "
                                                   "ties will be changed to reflect the change.")));
    auto* lists = new QGridLayout;
    cbSiblings_ = new QComboBox(this);
    cbSiblings_->setObjectName(QStringLiteral("cbSiblings"));
    cbChildren_ = new QComboBox(this);
    cbChildren_->setObjectName(QStringLiteral("cbChildren"));
    lists->addWidget(new QLabel(QStringLiteral("Siblings"), this), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Children"), this), 0, 1);
    for (QComboBox* list : {cbSiblings_, cbChildren_}) {
        list->setIconSize(QSize(32, 32));
        list->setMinimumWidth(180);
        lists->addWidget(list, 1, list == cbSiblings_ ? 0 : 1);
        connect(list, &QComboBox::activated, this, [this, list] { cbListChange(list); });
    }
    left->addLayout(lists);
    left->addWidget(TextLabel(this, QStringLiteral("This provides an easy method to select characters related to each "
                                                   "other when changing their attributes.")));
    left->addWidget(TextLabel(this, QStringLiteral("Note: All Family Ties are changed by changing one or more of the "
                                                   "parents assigned to the current character. The exception is the "
                                                   "spouse. The married/joined relationship value overides the spouse "
                                                   "family tie so there isn't a way to change it here.")));
    lblNoFamilyTree_ = TextLabel(this, {});
    lblNoFamilyTree_->setObjectName(QStringLiteral("lblNoFamilyTree"));
    left->addWidget(lblNoFamilyTree_);
    left->addStretch();

    chart_ = new FamilyChartView(document, context, this);
    layout->addWidget(chart_, 1);
}

void FamilyPanel::BuildSlot(Slot& slot, const char* frame, const char* picture, const char* caption,
                            const QString& hint, const char* filledMenu, const char* emptyMenu, const QString& noun) {
    slot.hint = hint;
    slot.caption = new QLabel(noun, this);
    slot.caption->setObjectName(QString::fromLatin1(caption));
    slot.frame = new QFrame(this);
    slot.frame->setObjectName(QString::fromLatin1(frame));
    slot.frame->setFrameShape(QFrame::Box);
    slot.frame->setFixedSize(72, 72);
    slot.picture = new QLabel(slot.frame);
    slot.picture->setObjectName(QString::fromLatin1(picture));
    slot.picture->setGeometry(4, 4, 64, 64);
    slot.picture->setAlignment(Qt::AlignCenter);
    slot.filledMenu = new QMenu(this);
    slot.filledMenu->setObjectName(QString::fromLatin1(filledMenu));
    slot.filledMenu->addAction(QStringLiteral("Select ") + noun, this, [this, &slot] { SelectHolder(slot); });
    slot.filledMenu->addAction(QStringLiteral("Change ") + noun, this, [this, &slot] { ChangeFamilyTieClick(slot); });
    slot.filledMenu->addAction(QStringLiteral("Remove ") + noun, this, [this, &slot] { RemoveFamilyTieClick(slot); });
    slot.emptyMenu = new QMenu(this);
    slot.emptyMenu->setObjectName(QString::fromLatin1(emptyMenu));
    slot.emptyMenu->addAction(QStringLiteral("Add ") + noun, this, [this, &slot] { ChangeFamilyTieClick(slot); });
    for (QMenu* menu : {slot.filledMenu, slot.emptyMenu}) {
        menu->addAction(QStringLiteral("Help"), this, [this] { context_.dialogs.ShowHelp(row().helpTopic); });
    }
    for (QWidget* target : std::initializer_list<QWidget*>{slot.frame, slot.picture}) {
        target->setProperty("ownMenu", true);
        target->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(target, &QWidget::customContextMenuRequested, this, [this, &slot, target](const QPoint& at) {
            (slot.holder ? slot.filledMenu : slot.emptyMenu)->popup(target->mapToGlobal(at));
        });
    }
    slot.picture->installEventFilter(this);
}

bool FamilyPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (Slot* slot : {&first_, &second_, &spouse_}) {
            if (watched == slot->picture && slot->holder) {
                SelectHolder(*slot);
                return true;
            }
        }
    }
    return Panel::eventFilter(watched, event);
}

void FamilyPanel::Fill() {
    const Character& sim = *Sim();
    const Workspace& ws = document_.workspace();
    imgSelf_->setPixmap(context_.pictures.SimPicture(sim, 128));
    imgSelf_->setToolTip(FullName(sim));
    const FamilyView view = ShowFamily(ws, sim);
    ShowSlot(first_, view.firstParent);
    ShowSlot(second_, view.secondParent);
    ShowSlot(spouse_, view.spouse);
    FillList(cbSiblings_, view.siblings);
    FillList(cbChildren_, view.children);
    ShowSpouseSlot();
    const std::string refusal = FamilyTiesRefusal(ws);
    lblNoFamilyTree_->setText(QString::fromStdString(refusal));
    lblNoFamilyTree_->setVisible(!refusal.empty());
    chart_->Centre(SimIndex());
}

void FamilyPanel::ShowSlot(Slot& slot, std::optional<std::size_t> holder) {
    slot.holder = holder;
    if (!holder) {
        slot.picture->clear();
        slot.picture->setEnabled(false);
        slot.picture->setToolTip(slot.hint);
        slot.frame->setToolTip(slot.hint);
        slot.frame->setStyleSheet({});
        return;
    }
    const Character& sim = document_.workspace().characters[*holder];
    slot.picture->setPixmap(context_.pictures.SimPicture(sim, 64));
    slot.picture->setEnabled(true);
    slot.picture->setToolTip(FullName(sim));
    slot.frame->setToolTip(FullName(sim));
    // A filled slot is blue, as the game's own family panel draws it.
    slot.frame->setStyleSheet(QStringLiteral("QFrame#") + slot.frame->objectName() + QStringLiteral(" { background: #0000ff; }"));
}

void FamilyPanel::ShowSpouseSlot() {
    const Character* sim = Sim();
    const bool shown = sim && SpouseShown(*sim, context_.view.Advanced());
    spouse_.frame->setVisible(shown);
    spouse_.caption->setVisible(shown);
}

void FamilyPanel::FillList(QComboBox* list, const std::vector<std::size_t>& sims) {
    const Workspace& ws = document_.workspace();
    std::vector<std::pair<QString, std::size_t>> entries;
    for (std::size_t i : sims) entries.emplace_back(FullName(ws.characters[i]), i);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first, Qt::CaseInsensitive) < 0; });
    list->clear();
    for (const auto& [text, index] : entries) {
        list->addItem(QIcon(context_.pictures.SimPicture(ws.characters[index], 32)), text, QVariant::fromValue<qulonglong>(index));
    }
    list->setEnabled(!entries.empty());
}

void FamilyPanel::AdvancedChanged() { ShowSpouseSlot(); }

void FamilyPanel::DocumentChanged(const Change& change) {
    if (!change.replay || !isVisible()) return;
    if ((change.subject == Subject::Sim || change.subject == Subject::Family) &&
        SimIndex() != std::optional<std::size_t>(static_cast<std::size_t>(change.sim))) {
        return;
    }
    Refill();
}

void FamilyPanel::cbListChange(QComboBox* list) {
    const QVariant chosen = list->currentData();
    if (Filling() || !chosen.isValid()) return;
    context_.selection.SelectSim(static_cast<std::size_t>(chosen.toULongLong()));
}

void FamilyPanel::SelectHolder(const Slot& slot) {
    if (!Filling() && slot.holder) context_.selection.SelectSim(*slot.holder);
}

bool FamilyPanel::Refused() {
    const std::string refusal = FamilyTiesRefusal(document_.workspace());
    if (refusal.empty()) return false;
    context_.dialogs.reporter().Info(refusal);
    return true;
}

void FamilyPanel::ChangeFamilyTieClick(Slot& slot) {
    const auto sim = SimIndex();
    if (Filling() || !sim || Refused()) return;
    const Workspace& ws = document_.workspace();
    SimPick pick;
    const bool spouse = slot.slot == FamilySlot::Spouse;
    pick.caption = spouse ? QStringLiteral("Choose New Spouse") : QStringLiteral("Choose New Parent");
    pick.helpTopic = spouse ? 3034 : 3032;
    pick.text = spouse ? QStringLiteral("Choose a new spouse from the selection box above and then select OK to change the "
                                        "current Spouse. Select Cancel to return to the Family Ties without changing the Spouse.")
                       : QStringLiteral("Choose a new parent from the selection box above and then select OK to change the "
                                        "current Parent. Select Cancel to return to the Family Ties without changing the Parent.");
    pick.sims = FamilyCandidates(ws, *sim, slot.slot, context_.view.Advanced());
    pick.preselected = slot.holder;
    const auto chosen = context_.dialogs.PickSim(pick);
    if (!chosen) return;
    const QString what = slot.slot == FamilySlot::FirstParent    ? QStringLiteral("first parent")
                         : slot.slot == FamilySlot::SecondParent ? QStringLiteral("second parent")
                                                                 : QStringLiteral("spouse");
    const std::function<void(Workspace&)> change = [&](Workspace& w) { ChangeFamilyTie(w, *sim, slot.slot, *chosen); };
    std::vector<std::size_t> involved{*sim, *chosen};
    if (slot.holder) involved.push_back(*slot.holder);
    if (!ConfirmConsequences(QStringLiteral("Changing %1's %2").arg(FullName(ws.characters[*sim]), what), involved, change)) {
        return;
    }
    document_.EditFamily(*sim, what, change);
    Refill();
}

bool FamilyPanel::ConfirmConsequences(const QString& doing, const std::vector<std::size_t>& involved,
                                      const std::function<void(Workspace&)>& change) {
    const Workspace& ws = document_.workspace();
    const FamilyConsequences consequences = FamilyChangeConsequences(ws, involved, change);
    if (!consequences.othersTouched) return true;
    constexpr int kShown = 25;
    QString list;
    int shown = 0;
    for (const std::string& line : consequences.lines) {
        if (shown++ == kShown) break;
        list += QStringLiteral("\u2022 ") + ShownText(line) + QLatin1Char('\n');
    }
    if (static_cast<int>(consequences.lines.size()) > kShown) {
        list += QStringLiteral("\u2026 and %1 more\n").arg(static_cast<int>(consequences.lines.size()) - kShown);
    }
    return context_.dialogs.asker().AskOkCancel(
        QStringLiteral("%1 reaches other sims too:\n\n%2\nMake the change? (Undo takes all of it back.)").arg(doing, list));
}

void FamilyPanel::RemoveFamilyTieClick(Slot& slot) {
    const auto sim = SimIndex();
    if (Filling() || !sim || !slot.holder || Refused()) return;
    const QString what = slot.slot == FamilySlot::Spouse ? QStringLiteral("spouse removed") : QStringLiteral("parent removed");
    const std::function<void(Workspace&)> change = [&](Workspace& w) { RemoveFamilyTie(w, *sim, slot.slot); };
    const QString doing = QStringLiteral("Removing %1's %2")
                              .arg(FullName(document_.workspace().characters[*sim]),
                                   slot.slot == FamilySlot::Spouse ? QStringLiteral("spouse") : QStringLiteral("parent"));
    if (!ConfirmConsequences(doing, {*sim, *slot.holder}, change)) return;
    document_.EditFamily(*sim, what, change);
    Refill();
}

}  // namespace qh::app
