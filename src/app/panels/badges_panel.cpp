#include "app/panels/badges_panel.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>

#include "app/images.h"
#include "app/widgets.h"
#include "character/character_rules.h"
#include "character/character_traits.h"
#include "workspace/hobby_items.h"
#include "workspace/sim_items.h"

namespace qh::app {

namespace {

QString BadgeControlName(const char* prefix, const char* badge) {
    QString name = QString::fromLatin1(prefix);
    for (const char* c = badge; *c; ++c) {
        if (*c != ' ') name += QLatin1Char(*c);
    }
    return name;
}

const char* const kGradePictures[4] = {"IMGBadgeNone", "IMGBadgeBronze", "IMGBadgeSilver", "IMGBadgeGold"};

}  // namespace

BadgesPanel::BadgesPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    lblBadges_ = NamedLabel(this, QStringLiteral("lblBadges"), QStringLiteral("Badges"));
    grid->addWidget(lblBadges_, 0, 0, 1, 3);
    int line = 1;
    for (const BadgeRow& badge : BadgeRows()) {
        auto* label = NamedLabel(this, BadgeControlName("lbl", badge.name));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Flower Arranging:(1000)")) + 8);
        auto* slider = NamedSlider(this, BadgeControlName("trk", badge.name), 0, 1000);
        slider->setPageStep(333);
        SetTip(slider, QStringLiteral("The sim's %1 badge level: 0 to 1000 (bronze from 333, silver from 666, gold at 999)")
                           .arg(QString::fromLatin1(badge.name).toLower()));
        auto* picture = NamedLabel(this, BadgeControlName("img", badge.name));
        picture->setFixedSize(18, 18);
        picture->setAlignment(Qt::AlignCenter);
        picture->installEventFilter(this);
        picture->setToolTip(QStringLiteral("Click to step the badge to its next grade"));
        grid->addWidget(label, line, 0);
        grid->addWidget(slider, line, 1);
        grid->addWidget(picture, line++, 2);
        const std::size_t index = sliders_.size();
        labels_.push_back(label);
        sliders_.push_back(slider);
        pictures_.push_back(picture);
        connect(slider, &QSlider::valueChanged, this, [this, index] { SliderChange(index); });
    }
    auto* buttons = new QHBoxLayout;
    btnRandomBadges_ = new QPushButton(QStringLiteral("Random"), this);
    btnRandomBadges_->setObjectName(QStringLiteral("btnRandomBadges"));
    SetTip(btnRandomBadges_, QStringLiteral("Give every shown badge a random grade: none, bronze, silver or gold"));
    btnMaxBadges_ = new QPushButton(QStringLiteral("Max All"), this);
    btnMaxBadges_->setObjectName(QStringLiteral("btnMaxBadges"));
    SetTip(btnMaxBadges_, QStringLiteral("Give the sim every shown badge at gold (1000)"));
    buttons->addStretch();
    buttons->addWidget(btnRandomBadges_);
    buttons->addWidget(btnMaxBadges_);
    grid->addLayout(buttons, line++, 0, 1, 3);
    lblNoBadges_ = NamedLabel(this, QStringLiteral("lblNoBadges"));
    lblNoBadges_->setWordWrap(true);
    grid->addWidget(lblNoBadges_, line++, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(line, 1);
    connect(btnRandomBadges_, &QPushButton::clicked, this, [this] {
        MoveAll(RandomBadgeLevels(sliders_.size(), ClockSeed()), QStringLiteral("random badges"));
    });
    connect(btnMaxBadges_, &QPushButton::clicked, this,
            [this] { MoveAll(std::vector<int>(sliders_.size(), 1000), QStringLiteral("maximum badges")); });
}

void BadgesPanel::Fill() {
    const Character& sim = *Sim();
    const GameEnvironment& env = document_.session().env;
    const Workspace& ws = document_.workspace();
    const auto rows = BadgeRows();
    const QString refusal = QString::fromStdString(ItemsRefusal(ws));
    bool any = false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const bool shown = ShowsBadges(sim) && HasDescription(sim) && env.*rows[i].pack;
        any = any || shown;
        for (QWidget* control : std::initializer_list<QWidget*>{labels_[i], sliders_[i], pictures_[i]}) {
            control->setVisible(shown);
        }
        sliders_[i]->setValue(BadgeLevel(ws, sim, rows[i].itemGuid));
        sliders_[i]->setEnabled(refusal.isEmpty());
        ShowRefusalOrTip(sliders_[i], refusal);
    }
    for (QWidget* control : std::initializer_list<QWidget*>{lblBadges_, btnRandomBadges_, btnMaxBadges_}) {
        control->setVisible(any);
        control->setEnabled(refusal.isEmpty());
    }
    lblNoBadges_->setVisible(!any);
    lblNoBadges_->setText(!HasDescription(sim) ? QString::fromStdString(NoDescriptionRefusal(sim))
                          : ShowsBadges(sim)   ? QStringLiteral("Badges come with Open for Business, Seasons and FreeTime, "
                                                            "none of which is installed.")
                                           : QStringLiteral("Only sims past the toddler stage, not pets, earn badges."));
    Relabel();
}

void BadgesPanel::Relabel() {
    const auto rows = BadgeRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int level = sliders_[i]->value();
        labels_[i]->setText(QString::fromLatin1(rows[i].name) + QStringLiteral(":(") + QString::number(level) + QLatin1Char(')'));
        // The library's badges are drawn large; the panel shows them 16 pixels square.
        const QPixmap picture = context_.pictures.images().Picture(QString::fromLatin1(kGradePictures[BadgeGrade(level)]));
        pictures_[i]->setPixmap(picture.isNull() ? picture
                                                 : picture.scaled(16, 16, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void BadgesPanel::SliderChange(std::size_t badge) {
    Relabel();
    if (moving_) return;
    const int level = sliders_[badge]->value();
    const BadgeRow& row = BadgeRows()[badge];
    EditSelected(QString::fromLatin1(row.name).toLower() + QStringLiteral(" badge"),
                 [&](Workspace& ws, Character& sim) { SetBadgeLevel(ws, sim, row, level); }, sliders_[badge]->objectName());
}

void BadgesPanel::MoveAll(const std::vector<int>& levels, const QString& what) {
    moving_ = true;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (sliders_[i]->isVisible()) sliders_[i]->setValue(levels[i]);
    }
    moving_ = false;
    Relabel();
    // One step for the press: every shown badge as its slider stands.
    std::vector<std::pair<const BadgeRow*, int>> shown;
    for (std::size_t i = 0; i < sliders_.size(); ++i) {
        if (sliders_[i]->isVisible()) shown.emplace_back(&BadgeRows()[i], sliders_[i]->value());
    }
    EditSelected(what, [&](Workspace& ws, Character& sim) {
        for (const auto& [row, level] : shown) SetBadgeLevel(ws, sim, *row, level);
    });
}

bool BadgesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        for (std::size_t i = 0; i < pictures_.size(); ++i) {
            if (watched == pictures_[i] && sliders_[i]->isEnabled() && !Filling()) {
                sliders_[i]->setValue(NextBadgeLevel(sliders_[i]->value()));
                return true;
            }
        }
    }
    return Panel::eventFilter(watched, event);
}

}  // namespace qh::app
