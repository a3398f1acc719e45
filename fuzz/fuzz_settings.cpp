// Arbitrary bytes as the program's settings file: reading must never fail, and a value set is
// read back from the rewritten file, with what the file held in other sections kept.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "platform/errors.h"
#include "platform/settings.h"
#include "scratch_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("qh-fuzz-settings-" + std::to_string(::getpid()) + ".ini");
    qh::fuzz::WriteFile(path, std::span<const std::uint8_t>(data, size));
    try {
        qh::IniSettings settings(path);
        (void)settings.ColorScheme();
        (void)settings.Advanced();
        (void)settings.Sort();
        (void)settings.Ngbd();
        const std::string value = "N0" + std::to_string(size % 100);
        settings.SetNgbd(value);
        if (qh::IniSettings(path).Ngbd() != value) std::abort();
    } catch (const qh::IoError&) {
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    return 0;
}
