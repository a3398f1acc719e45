// What the fuzz targets that work on files share: a folder of the target's own for the whole
// run, removed when the target exits, and writing an input into a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <unistd.h>

namespace qh::fuzz {

inline std::filesystem::path ScratchFolder(const char* name) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / (std::string("qh-fuzz-") + name + "-" + std::to_string(::getpid()));
    static const struct Cleanup {
        ~Cleanup() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } cleanup;
    return path;
}

// Writes the bytes as the file's whole content (a fuzz input is no player's file: no atomic
// replace is needed).
inline void WriteFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace qh::fuzz
