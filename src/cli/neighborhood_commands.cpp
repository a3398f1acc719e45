#include "cli/neighborhood_commands.h"

#include <iostream>

#include "character/character_fields.h"
#include "cli/cli_support.h"
#include "package/index.h"
#include "package/text_list.h"
#include "platform/paths.h"
#include "workspace/loader.h"

namespace qh::cli {

nlohmann::ordered_json NeighborhoodJson(const Neighborhood& n) {
    return {{"prefix", n.prefix},
            {"packagePath", n.packagePath.string()},
            {"ngbdName", ToValidUtf8(n.ngbdName)},
            {"ngbdDescription", ToValidUtf8(n.ngbdDescription)},
            {"versionText", ToValidUtf8(n.versionText)},
            {"text", n.Text()}};
}

nlohmann::ordered_json CharacterJson(const Character& sim) {
    nlohmann::ordered_json out;
    for (const CharacterField& field : CharacterFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                const std::string name(field.name);
                if constexpr (std::is_same_v<T, Guid4>) {
                    out[name] = GuidKey(sim.*member);
                } else if constexpr (std::is_same_v<T, std::string>) {
                    out[name] = ToValidUtf8(sim.*member);
                } else {
                    out[name] = sim.*member;
                }
            },
            field.member);
    }
    out["listText"] = sim.listText;
    out["hasPicture"] = sim.portrait.has_value();
    return out;
}

nlohmann::ordered_json ItemJson(const NeighborhoodItem& item) {
    return {{"owner", item.owner},       {"secondary", item.secondary}, {"ownerWord", item.ownerWord},
            {"itemGuid", HexId(item.itemGuid)}, {"flags1", item.flags1}, {"flags2", item.flags2},
            {"invNumber", item.invNumber}, {"padding", item.padding},    {"values", item.values}};
}

void LoadByPrefix(const GlobalOptions& options, const std::string& prefix, Reporter& reporter, Loaded& loaded) {
    loaded.discovery = Discover(options);
    loaded.settings = OpenSettings(options);
    const GameEnvironment& env = loaded.discovery.env;
    if (env.neighborhoodsFolder.empty()) throw UsageError("Unable to continue, Game User Data Not Found.");
    NullProgress progress;
    loaded.catalogue = ScanNeighborhoods(env.neighborhoodsFolder, env.languageCode, reporter, progress);
    for (Neighborhood& n : loaded.catalogue) {
        if (EqualsNoCase(n.prefix, prefix)) loaded.neighborhood = &n;
    }
    if (!loaded.neighborhood) throw UsageError("No neighborhood " + prefix + " in " + env.neighborhoodsFolder.string());
    LoadOptions load{env.languageCode, loaded.settings->Sort()};
    LoadNeighborhood(loaded.workspace, *loaded.neighborhood, env.neighborhoodsFolder, load, reporter, progress);
}

void AddNeighborhoodCommands(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto* list = app.add_subcommand("neighborhoods", "List the player's neighborhoods as JSON");
    list->callback([&options, &reporter] {
        const Discovery discovery = Discover(options);
        if (discovery.env.neighborhoodsFolder.empty()) throw UsageError("Unable to continue, Game User Data Not Found.");
        NullProgress progress;
        const auto catalogue = ScanNeighborhoods(discovery.env.neighborhoodsFolder, discovery.env.languageCode,
                                                 reporter, progress);
        nlohmann::ordered_json out = nlohmann::json::array();
        for (const Neighborhood& n : catalogue) out.push_back(NeighborhoodJson(n));
        std::cout << out.dump(2) << '\n';
    });

    auto prefix = std::make_shared<std::string>();
    auto* dump = app.add_subcommand("dump", "Load a neighborhood and print it as JSON");
    dump->add_option("PREFIX", *prefix, "The neighborhood's prefix, such as N001")->required();
    dump->callback([prefix, &options, &reporter] {
        Loaded loaded;
        LoadByPrefix(options, *prefix, reporter, loaded);
        const Workspace& ws = loaded.workspace;
        nlohmann::ordered_json out;
        out["neighborhood"] = NeighborhoodJson(*loaded.neighborhood);
        out["characters"] = nlohmann::json::array();
        for (const Character& sim : ws.characters) out["characters"].push_back(CharacterJson(sim));
        out["lots"] = nlohmann::json::array();
        for (const LotDesc& lot : ws.lotDescList) {
            out["lots"].push_back({{"lotId", lot.lotId},
                                   {"lotFile", lot.lotFile},
                                   {"lotType", lot.lotType},
                                   {"lotTypeText", LotTypeText(lot.lotType)},
                                   {"lotName", ToValidUtf8(lot.lotName)},
                                   {"lotDescription", ToValidUtf8(lot.lotDescription)}});
        }
        for (auto [name, items] : {std::pair{"simItems", &ws.simItemList}, std::pair{"familyItems", &ws.familyItemList},
                                  std::pair{"lotItems", &ws.lotItemList}}) {
            out[name] = nlohmann::json::array();
            for (const NeighborhoodItem& item : *items) out[name].push_back(ItemJson(item));
        }
        std::cout << out.dump(2) << '\n';
    });
}

}  // namespace qh::cli
