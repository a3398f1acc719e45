#include "app/widgets.h"

#include "package/text_list.h"

namespace qh::app {

QString ShownText(const std::string& utf8) { return QString::fromStdString(TrimText(ToValidUtf8(utf8))); }

QString EditedText(const std::string& utf8) { return QString::fromStdString(ToValidUtf8(utf8)); }

QSlider* NamedSlider(QWidget* parent, const QString& name, int low, int high) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(low, high);
    return slider;
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

}  // namespace qh::app
