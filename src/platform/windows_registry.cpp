#ifdef _WIN32
#include "platform/windows_registry.h"

#include <windows.h>

#include <vector>

namespace qh {

namespace {

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
    if (length == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), narrow.data(), n, nullptr, nullptr);
    return narrow;
}

HKEY Root(Hive hive) { return hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// The 64-bit view: the 32-bit game's keys are then found under Wow6432Node, which discovery
// looks up explicitly.
constexpr REGSAM kAccess = KEY_READ | KEY_WOW64_64KEY;

}  // namespace

bool WindowsRegistry::KeyExists(Hive hive, std::string_view keyPath) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(Root(hive), Widen(keyPath).c_str(), 0, kAccess, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::optional<RegistryValue> WindowsRegistry::Read(Hive hive, std::string_view keyPath,
                                                   std::string_view valueName) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(Root(hive), Widen(keyPath).c_str(), 0, kAccess, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::wstring name = Widen(valueName);
    DWORD type = 0;
    DWORD size = 0;
    std::optional<RegistryValue> result;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 2, 0);
        if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
            RegistryValue value;
            data.resize(size);
            if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
                std::size_t chars = size / sizeof(wchar_t);
                const auto* text = reinterpret_cast<const wchar_t*>(data.data());
                while (chars > 0 && text[chars - 1] == L'\0') --chars;
                std::wstring wide(text, chars);
                if (type == REG_MULTI_SZ) {
                    for (auto& c : wide) if (c == L'\0') c = L'\n';
                }
                value.kind = type == REG_SZ ? RegistryValue::Kind::String
                             : type == REG_EXPAND_SZ ? RegistryValue::Kind::ExpandString
                                                     : RegistryValue::Kind::MultiString;
                value.text = Narrow(wide.data(), wide.size());
            } else if (type == REG_DWORD && size >= 4) {
                value.kind = RegistryValue::Kind::Dword;
                value.dword = data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24;
            } else {
                value.kind = type == REG_BINARY ? RegistryValue::Kind::Binary : RegistryValue::Kind::Other;
            }
            value.data.assign(data.begin(), data.end());
            result = std::move(value);
        }
    }
    RegCloseKey(key);
    return result;
}

std::string WindowsRegistry::Describe(Hive hive) const {
    return hive == Hive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

}  // namespace qh
#endif
