#include "cli/package_commands.h"

#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_support.h"
#include "cli/path_options.h"
#include "package/extract.h"
#include "package/index.h"
#include "platform/errors.h"
#include "platform/file_io.h"

namespace qh::cli {
namespace fs = std::filesystem;

namespace {

void IndexCommand(const fs::path& file) {
    const Bytes bytes = ReadFileBytes(file);
    std::vector<IndexEntry> entries;
    std::uint32_t width = 0;
    try {
        width = ReadIndex(bytes, PackageSource::File, entries);
    } catch (const FormatError& error) {
        throw FormatError(file.filename().string() + ": " + error.what());
    }
    nlohmann::ordered_json out;
    out["entryWidth"] = width;
    out["entries"] = nlohmann::json::array();
    for (const IndexEntry& entry : entries) {
        bool compressed = false;
        try {
            compressed = IsCompressedEntry(bytes, entry);
        } catch (const FormatError&) {
            // Stored bytes past the end: listed as they are, not compressed.
        }
        out["entries"].push_back({{"type", HexId(entry.key.typeId)},
                                  {"group", HexId(entry.key.groupId)},
                                  {"instance", HexId(entry.key.instanceId)},
                                  {"instance2", HexId(entry.key.instance2Id)},
                                  {"offset", entry.offset},
                                  {"size", entry.size},
                                  {"compressed", compressed}});
    }
    std::cout << out.dump(2) << '\n';
}

struct ExtractOptions {
    fs::path file;
    fs::path output;
    std::string type;
    std::string instance;
    std::string group;
    std::string instance2;
    std::optional<std::size_t> nth;
};

void ExtractCommand(const ExtractOptions& options, Reporter& reporter) {
    const std::uint32_t type = ParseHexId(options.type, "--type");
    const std::uint32_t instance = ParseHexId(options.instance, "--instance");
    std::optional<std::uint32_t> group;
    std::optional<std::uint32_t> instance2;
    if (!options.group.empty()) group = ParseHexId(options.group, "--group");
    if (!options.instance2.empty()) instance2 = ParseHexId(options.instance2, "--instance2");

    const Bytes bytes = ReadFileBytes(options.file);
    std::vector<IndexEntry> entries;
    const std::string name = options.file.filename().string();
    try {
        const std::uint32_t width = ReadIndex(bytes, PackageSource::File, entries);
        // The one rule of every reader: a stream the package's directory lists is decoded.
        const CompressedListing listing = CompressedListing::Of(bytes, entries, width);
        std::size_t seen = 0;
        for (const IndexEntry& entry : entries) {
            if (entry.key.typeId != type || entry.key.instanceId != instance) continue;
            if (group && entry.key.groupId != *group) continue;
            if (instance2 && entry.key.instance2Id != *instance2) continue;
            if (seen++ != options.nth.value_or(0)) continue;
            Bytes content;
            if (!ExtractResource(bytes, entry, content, reporter, listing.Lists(entry.key))) {
                throw FormatError("the resource does not decode to its declared length");
            }
            AtomicReplace(options.output, content);
            return;
        }
    } catch (const FormatError& error) {
        throw FormatError(name + ": " + error.what());
    }
    throw UsageError(name + ": no resource of type " + HexId(type) + " and instance " +
                     HexId(instance) + " matches");
}

void ExpandCommand(const fs::path& file, const fs::path& output, Reporter& reporter) {
    // Read into memory not cleared first: the bytes are only decoded.
    const FileBuffer read = ReadFileBuffer(file);
    if (output.empty()) {
        ExpandPackageRead(read.Span(), file, reporter);
        return;
    }
    // The same refusals as expanding in place: nothing is written for a package that cannot be
    // expanded whole.
    const PackageImage image = ExpandForRewrite(read.Span(), file, reporter);
    AtomicReplace(output, image);
}

}  // namespace

void AddPackageCommands(CLI::App& app, Reporter& reporter) {
    auto file = std::make_shared<fs::path>();
    auto* index = app.add_subcommand("index", "Print a package's index as JSON");
    AddPathOption(index, "FILE", *file, "Package file", true)->required();
    index->callback([file] { IndexCommand(*file); });

    auto extract = std::make_shared<ExtractOptions>();
    auto* ex = app.add_subcommand("extract", "Write one resource's (decompressed) content");
    AddPathOption(ex, "FILE", extract->file, "Package file", true)->required();
    ex->add_option("--type", extract->type, "Type id (hexadecimal)")->required();
    ex->add_option("--instance", extract->instance, "Instance id (hexadecimal)")->required();
    ex->add_option("--group", extract->group, "Group id (hexadecimal)");
    ex->add_option("--instance2", extract->instance2, "Second instance id (hexadecimal)");
    ex->add_option("--nth", extract->nth, "Take the N-th matching entry, from 0");
    AddPathOption(ex, "-o,--output", extract->output, "Output file")->required();
    ex->callback([extract, &reporter] { ExtractCommand(*extract, reporter); });

    auto expandFile = std::make_shared<fs::path>();
    auto expandOut = std::make_shared<fs::path>();
    auto* expand = app.add_subcommand("expand", "Store every resource of a package uncompressed");
    AddPathOption(expand, "FILE", *expandFile, "Package file", true)->required();
    AddPathOption(expand, "-o,--output", *expandOut,
                       "Write the expanded package here and leave FILE unchanged");
    expand->callback([expandFile, expandOut, &reporter] {
        ExpandCommand(*expandFile, *expandOut, reporter);
    });
}

}  // namespace qh::cli
