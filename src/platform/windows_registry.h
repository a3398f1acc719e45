// The real registry, on Windows only.
#pragma once

#ifdef _WIN32
#include "platform/registry.h"

namespace qh {

class WindowsRegistry final : public RegistryView {
public:
    bool KeyExists(Hive hive, std::string_view keyPath) const override;
    std::optional<RegistryValue> Read(Hive hive, std::string_view keyPath,
                                      std::string_view valueName) const override;
    std::string Describe(Hive hive) const override;
};

}  // namespace qh
#endif
