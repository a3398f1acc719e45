#include "cli/resource_commands.h"

#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "cli/cli_support.h"
#include "cli/path_options.h"
#include "package/extract.h"
#include "package/property_set.h"
#include "package/text_list.h"
#include "platform/errors.h"
#include "workspace/lots_objects.h"
#include "workspace/picture.h"

namespace qh::cli {
namespace fs = std::filesystem;

namespace {

struct ResourceOptions {
    fs::path file;
    std::string type;
    std::string instance;
    std::string group;
    std::optional<std::size_t> nth;
    std::string as;
};

nlohmann::ordered_json TextListJson(const Bytes& content, int languageCode) {
    nlohmann::ordered_json out;
    const auto list = ParseTextList(content);
    if (!list) throw FormatError("not a text list (no 0xFD 0xFF code at 64)");
    out["entries"] = nlohmann::json::array();
    std::size_t english = 0;
    for (const TextEntry& entry : list->entries) {
        out["entries"].push_back({{"language", entry.language},
                                  {"value", ToValidUtf8(entry.value)},
                                  {"description", ToValidUtf8(entry.description)}});
        if (entry.language == 1) ++english;
    }
    std::vector<std::string> strings(english);
    ApplyLanguageRule(*list, languageCode, strings);
    out["strings"] = nlohmann::json::array();
    for (const auto& s : strings) out["strings"].push_back(ToValidUtf8(s));
    return out;
}

nlohmann::ordered_json PropertiesJson(const Bytes& content) {
    const auto set = ReadPropertySet(content);
    if (!set) throw FormatError("not a binary property set (magic is not CBE750E0)");
    nlohmann::ordered_json out;
    out["magic"] = HexId(kPropertySetMagic);
    out["properties"] = nlohmann::json::array();
    for (const Property& p : set->properties) {
        nlohmann::ordered_json property{{"name", ToValidUtf8(p.name)}, {"type", HexId(p.type)}};
        if (p.type == kPropertyString) {
            property["text"] = ToValidUtf8(p.text);
        } else {
            property["int"] = p.integer;
        }
        out["properties"].push_back(property);
    }
    if (set->unknownType) out["stoppedAtUnknownType"] = HexId(*set->unknownType);
    return out;
}

void ResourceCommand(const ResourceOptions& options, const GlobalOptions& global, Reporter& reporter) {
    const std::uint32_t type = ParseHexId(options.type, "--type");
    const std::uint32_t instance = ParseHexId(options.instance, "--instance");
    std::optional<std::uint32_t> group;
    if (!options.group.empty()) group = ParseHexId(options.group, "--group");
    int languageCode = 1;
    if (global.language) {
        try {
            languageCode = std::stoi(*global.language);
        } catch (const std::exception&) {
            throw UsageError("--language must be a number for the resource command");
        }
    }
    if (global.languageSwitch) languageCode = *global.languageSwitch;

    const Bytes bytes = ReadFileBytes(options.file);
    const std::string name = options.file.filename().string();
    try {
        std::vector<IndexEntry> entries;
        const std::uint32_t width = ReadIndex(bytes, PackageSource::File, entries);
        // The one rule of every reader: a stream the package's directory lists is decoded.
        const CompressedListing listing = CompressedListing::Of(bytes, entries, width);
        std::size_t seen = 0;
        for (const IndexEntry& entry : entries) {
            if (entry.key.typeId != type || entry.key.instanceId != instance) continue;
            if (group && entry.key.groupId != *group) continue;
            if (seen++ != options.nth.value_or(0)) continue;
            Bytes content;
            if (!ExtractResource(bytes, entry, content, reporter, listing.Lists(entry.key))) {
                throw FormatError("the resource does not decode to its declared length");
            }
            nlohmann::ordered_json out;
            if (options.as == "textlist") {
                out = TextListJson(content, languageCode);
            } else if (options.as == "properties") {
                out = PropertiesJson(content);
            } else if (options.as == "lot") {
                const LotDesc lot = ReadLotDescription(content, entry, name);
                out = {{"lotId", lot.lotId},
                       {"lotFile", lot.lotFile},
                       {"lotType", lot.lotType},
                       {"lotTypeText", LotTypeText(lot.lotType)},
                       {"lotName", ToValidUtf8(lot.lotName)},
                       {"lotDescription", ToValidUtf8(lot.lotDescription)}};
            } else {
                const OBJd object = ReadObjectDefinition(content);
                out = {{"objectGuid", HexId(object.objectGuid)}, {"objectName", ToValidUtf8(object.objectName)}};
            }
            std::cout << out.dump(2) << '\n';
            return;
        }
    } catch (const FormatError& error) {
        throw FormatError(name + ": " + error.what());
    }
    throw UsageError(name + ": no resource of type " + HexId(type) + " and instance " +
                     HexId(instance) + " matches");
}

void ObjectsCommand(const GlobalOptions& global, Reporter& reporter) {
    GameSession discovery;
    Discover(global, discovery);
    NullProgress progress;
    const auto catalogue = LoadObjectCatalogue(discovery.env.objectsPackagePath, reporter, progress);
    nlohmann::ordered_json out = nlohmann::json::array();
    for (const OBJd& object : catalogue) {
        out.push_back({{"objectGuid", HexId(object.objectGuid)}, {"objectName", ToValidUtf8(object.objectName)}});
    }
    std::cout << out.dump(2) << '\n';
}

struct PictureOptions {
    fs::path input;
    fs::path output;
    std::optional<int> square;
    std::string fit;
    bool grey = false;
};

void PictureCommand(const PictureOptions& options) {
    if (options.square.has_value() == !options.fit.empty()) {
        throw UsageError("give exactly one of --square S and --fit WxH");
    }
    Bitmap picture;
    try {
        picture = DecodePicture(ReadFileBytes(options.input));
    } catch (const FormatError& error) {
        throw FormatError(options.input.filename().string() + ": " + error.what());
    }
    if (options.square) {
        if (*options.square < 1 || *options.square > kMaxPictureSide) throw UsageError("--square must be 1 to 16384");
        picture = ScaleToSquare(picture, *options.square);
    } else {
        int width = 0;
        int height = 0;
        char x = 0;
        std::istringstream text(options.fit);
        if (!(text >> width >> x >> height) || (x != 'x' && x != 'X') || width < 1 || height < 1 ||
            width > kMaxPictureSide || height > kMaxPictureSide) {
            throw UsageError("--fit must be WIDTHxHEIGHT, for example 400x300");
        }
        picture = ScaleToFit(picture, width, height);
    }
    if (options.grey) GreyPicture(picture);
    AtomicReplace(options.output, EncodePng(picture));
}

}  // namespace

void AddResourceCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto resource = std::make_shared<ResourceOptions>();
    auto* rs = app.add_subcommand("resource", "Decode one resource of a package as JSON");
    AddPathOption(rs, "FILE", resource->file, "Package file", true)->required();
    rs->add_option("--type", resource->type, "Type id (hexadecimal)")->required();
    rs->add_option("--instance", resource->instance, "Instance id (hexadecimal)")->required();
    rs->add_option("--group", resource->group, "Group id (hexadecimal)");
    rs->add_option("--nth", resource->nth, "Take the N-th matching entry, from 0");
    rs->add_option("--as", resource->as, "How to decode it")
        ->required()
        ->check(CLI::IsMember({"textlist", "properties", "lot", "objd"}));
    rs->callback([resource, &options, &reporter] { ResourceCommand(*resource, options, reporter); });

    auto* objects = app.add_subcommand("objects", "List the game's object catalogue as JSON");
    objects->callback([&options, &reporter] { ObjectsCommand(options, reporter); });

    auto picture = std::make_shared<PictureOptions>();
    auto* pc = app.add_subcommand("picture", "Scale a JPEG, PNG or BMP picture and write a PNG");
    AddPathOption(pc, "IN", picture->input, "Picture to read", true)->required();
    AddPathOption(pc, "OUT", picture->output, "PNG file to write")->required();
    pc->add_option("--square", picture->square, "Scale to S x S");
    pc->add_option("--fit", picture->fit, "Fit within WxH");
    pc->add_flag("--grey", picture->grey, "Turn the result grey");
    pc->callback([picture] { PictureCommand(*picture); });
}

}  // namespace qh::cli
