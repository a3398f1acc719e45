// The program's settings through QSettings: the registry key
// HKEY_CURRENT_USER\Software\Bramblesoft\Quillhaven on Windows, an INI file elsewhere (or the INI
// file given, for the demo and tests).
#pragma once

#include <QSettings>
#include <memory>

#include "platform/settings.h"

namespace qh::app {

class QtSettings final : public Settings {
public:
    QtSettings();                              // QSettings("Bramblesoft", "Quillhaven")
    explicit QtSettings(const QString& iniFile);  // a file of its own
    std::optional<std::string> Get(std::string_view name) const override;
    void Set(std::string_view name, const std::string& value) override;
    std::optional<std::filesystem::path> Folder() const override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace qh::app
