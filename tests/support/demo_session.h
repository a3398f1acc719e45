// The demo game loaded in a test, as the window holds it, and a way to change its neighborhood
// package as another program would.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "demo_game.h"
#include "fixture/package_builder.h"
#include "package/extract.h"
#include "package/index.h"
#include "package/resource_types.h"
#include "platform/file_io.h"
#include "platform/progress.h"
#include "platform/reporter.h"
#include "support/temp_dir.h"
#include "workspace/loader.h"
#include "workspace/neighborhood_catalogue.h"
#include "workspace/save.h"

namespace qh::test {
namespace fs = std::filesystem;

// The demo game loaded at N001, as the window holds it.
struct Session {
    test::TempDir dir;
    demo::DemoGame game = demo::WriteDemoGame(dir.path());
    fs::path folder = game.userData / "Neighborhoods";
    std::vector<Neighborhood> catalogue;
    Neighborhood* neighborhood = nullptr;
    Workspace ws;
    RecordingReporter reporter;
    NullProgress progress;
    int languageCode = 1;

    explicit Session(int language = 1) : languageCode(language) { Load(); }
    void Load() {
        catalogue = ScanNeighborhoods(folder, languageCode, reporter, progress);
        neighborhood = &*std::find_if(catalogue.begin(), catalogue.end(), [](auto& n) { return n.prefix == "N001"; });
        LoadNeighborhood(ws, *neighborhood, folder, {languageCode}, reporter, progress);
    }
    SaveResult Save(SaveOptions options = {}) {
        options.languageCode = languageCode;
        return SaveNeighborhood(ws, *neighborhood, options, reporter, progress);
    }
    Character& Sim(const std::string& first) {
        auto it = std::find_if(ws.characters.begin(), ws.characters.end(), [&](auto& c) { return c.firstName == first; });
        if (it == ws.characters.end()) throw std::runtime_error("no sim named " + first);
        return *it;
    }
    fs::path PackageOf(const Character& sim) const { return ws.charactersFolder / sim.packageFile; }
    std::vector<IndexEntry> Index(const fs::path& file) const {
        std::vector<IndexEntry> entries;
        ReadIndex(ReadFileBytes(file), PackageSource::File, entries);
        return entries;
    }
    Bytes Resource(const fs::path& file, std::uint32_t type, std::uint32_t instance) const {
        const Bytes bytes = ReadFileBytes(file);
        for (const IndexEntry& e : Index(file)) {
            if (e.key.typeId == type && e.key.instanceId == instance) {
                Bytes out;
                SilentReporter quiet;
                ExtractResource(bytes, e, out, quiet);
                return out;
            }
        }
        return {};
    }
};

// Writes the neighborhood package anew, as another program would: every resource stored plain,
// each passed through `change` (which may alter it), then the `extra` resources.
inline void RewritePackage(const fs::path& package, const std::function<void(const IndexEntry&, Bytes&)>& change,
                    const std::vector<std::pair<ResourceKey, Bytes>>& extra = {}) {
    const Bytes original = ReadFileBytes(package);
    std::vector<IndexEntry> entries;
    ReadIndex(original, PackageSource::File, entries);
    fixture::PackageBuilder builder;
    for (const IndexEntry& entry : entries) {
        if (entry.key.typeId == kCompressedDirectoryType) continue;  // everything is stored plain now
        Bytes content;
        SilentReporter quiet;
        ExtractResource(original, entry, content, quiet);
        change(entry, content);
        builder.Add(entry.key, content);
    }
    for (const auto& [key, content] : extra) builder.Add(key, content);
    AtomicReplace(package, builder.Build());
}

}  // namespace qh::test
