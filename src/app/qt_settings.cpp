#include "app/qt_settings.h"

#include <QFileInfo>

namespace qh::app {

QtSettings::QtSettings() : settings_(std::make_unique<QSettings>(QStringLiteral("Bramblesoft"), QStringLiteral("Quillhaven"))) {}

QtSettings::QtSettings(const QString& iniFile) : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

std::optional<std::string> QtSettings::Get(std::string_view name) const {
    const QString key = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    if (!settings_->contains(key)) return std::nullopt;
    return settings_->value(key).toString().toStdString();
}

void QtSettings::Set(std::string_view name, const std::string& value) {
    settings_->setValue(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), QString::fromStdString(value));
    settings_->sync();
}

std::optional<std::filesystem::path> QtSettings::Folder() const {
    const QString file = settings_->fileName();
    if (file.isEmpty()) return std::nullopt;
    return std::filesystem::path(QFileInfo(file).absolutePath().toStdString());
}

}  // namespace qh::app
