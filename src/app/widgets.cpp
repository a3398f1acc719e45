#include "app/widgets.h"

#include <QPainter>
#include <QStyle>
#include <algorithm>

#include "package/text_list.h"

namespace qh::app {

QString ShownText(const std::string& utf8) { return QString::fromStdString(TrimText(ToValidUtf8(utf8))); }

QString EditedText(const std::string& utf8) { return QString::fromStdString(ToValidUtf8(utf8)); }

QColor LinkColor(int scheme, bool hover) {
    if (scheme == 0) return hover ? QColor(0xB3, 0x26, 0x1E) : QColor(0x06, 0x45, 0xAD);
    return hover ? QColor(0xFF, 0x8A, 0x80) : QColor(0x6C, 0xB4, 0xFF);
}

void SetTip(QWidget* control, const QString& tip) {
    control->setProperty("tip", tip);
    control->setToolTip(tip);
}

void ShowRefusalOrTip(QWidget* control, const QString& refusal) {
    control->setToolTip(refusal.isEmpty() ? control->property("tip").toString() : refusal);
}

QSlider* NamedSlider(QWidget* parent, const QString& name, int low, int high) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(low, high);
    return slider;
}

TickScale::TickScale(QSlider* slider, int interval, QWidget* parent)
    : QWidget(parent), slider_(slider), interval_(std::max(1, interval)) {
    setObjectName(slider->objectName() + QStringLiteral("Ticks"));
}

void TickScale::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    // Where the slider puts its handle's middle for a value, in this widget's coordinates.
    const int handle = slider_->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, slider_);
    const int offset = slider_->mapTo(parentWidget(), QPoint(0, 0)).x() - pos().x();
    const int span = slider_->width() - handle;
    for (int value = slider_->minimum(); value <= slider_->maximum(); value += interval_) {
        const int x = offset + handle / 2 +
                      QStyle::sliderPositionFromValue(slider_->minimum(), slider_->maximum(), value, span);
        const bool zero = value == 0;
        painter.drawLine(x, 0, x, zero ? 6 : 3);
        if (zero) painter.drawText(QRect(x - 10, 6, 20, height() - 6), Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("0"));
    }
}

QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QString ControlName(const char* prefix, std::string_view field) {
    QString name = QString::fromLatin1(field.data(), static_cast<qsizetype>(field.size()));
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return QString::fromLatin1(prefix) + name;
}

SliderForm::SliderForm(QWidget* parent, std::vector<FieldRow> rows, int rowsPerColumn,
                       std::function<void(const QString& slider)> moved)
    : QWidget(parent), rows_(std::move(rows)), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(12);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const FieldRow& row = rows_[i];
        const int line = static_cast<int>(i) % rowsPerColumn;
        const int column = static_cast<int>(i) / rowsPerColumn * 2;
        auto* label = NamedLabel(this, row.label);
        auto* slider = NamedSlider(this, row.slider, row.low, row.high);
        slider->setPageStep(std::max(1, (row.high - row.low) / 10));
        label->setBuddy(slider);
        grid_->addWidget(label, line, column);
        grid_->addWidget(slider, line, column + 1);
        grid_->setColumnStretch(column + 1, 1);
        labels_.push_back(label);
        sliders_.push_back(slider);
        const QString name = row.slider;
        connect(slider, &QSlider::valueChanged, this, [moved, name] { moved(name); });
    }
}

std::vector<int> SliderForm::Values() const {
    std::vector<int> values;
    for (const QSlider* slider : sliders_) values.push_back(slider->value());
    return values;
}

void SliderForm::Relabel() {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].text) labels_[i]->setText(rows_[i].text(sliders_[i]->value()));
        const bool shown = !rows_[i].shown || rows_[i].shown();
        labels_[i]->setVisible(shown);
        sliders_[i]->setVisible(shown);
    }
}

}  // namespace qh::app
