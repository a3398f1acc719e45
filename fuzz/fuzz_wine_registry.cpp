// Arbitrary text as a Wine registry file: the parser may only throw FormatError, and discovery
// over what it read (every edition's keys and values, taken as both hives) finds editions without
// failing, names no data folder that is not a plain name, and writes nothing.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/errors.h"
#include "platform/game_editions.h"
#include "platform/paths.h"
#include "platform/wine_registry.h"

namespace {

// Windows paths into a folder that does not exist: nothing found there, nothing written.
class NowherePaths final : public qh::GamePaths {
public:
    std::filesystem::path Map(std::string_view windowsPath) const override {
        return std::filesystem::path("/nonexistent-quillhaven-fuzz") / std::string(windowsPath);
    }
    std::optional<std::filesystem::path> PersonalFolder(std::string* source) const override {
        if (source) *source = "fuzz";
        return std::filesystem::path("/nonexistent-quillhaven-fuzz/Documents");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const std::string_view text(reinterpret_cast<const char*>(data), size);
        const auto file = qh::WineRegistryFile::Parse(text, "fuzz.reg");
        (void)file.Read("Software\\EA GAMES\\The Sims 2", "DisplayName");
        const qh::WineRegistry registry(file, qh::WineRegistryFile::Parse(text, "fuzz.reg"), "system.reg", "user.reg");
        const NowherePaths paths;
        qh::EditionSearch search;
        qh::FindEditions(&registry, &paths, {}, search);
        for (const qh::GameEdition& edition : search.editions) {
            if (!edition.displayName.empty() && !qh::IsPlainName(edition.displayName)) std::abort();
        }
    } catch (const qh::FormatError&) {
    }
    return 0;
}
