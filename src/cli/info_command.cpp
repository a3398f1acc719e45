#include "cli/info_command.h"

#include <iostream>

#include "cli/cli_support.h"
#include "genetics/gene_catalogue.h"
#include "package/text_list.h"
#include "workspace/sim_genes.h"
#include <nlohmann/json.hpp>

#include "career/career_table.h"

namespace qh::cli {

void AddInfoCommand(CLI::App& app, const GlobalOptions& options) {
    auto listPrefixes = std::make_shared<bool>(false);
    auto* info = app.add_subcommand("info", "Show where the game and the player's data were found");
    info->add_flag("--list-prefixes", *listPrefixes,
                   "Also list every Wine prefix considered and why it was taken or passed over");
    info->callback([&options, listPrefixes] {
        GameSession discovery;
        Discover(options, discovery);
        const GameEnvironment& env = discovery.env;
        nlohmann::ordered_json out;
        out["userDataFolder"] = env.userDataFolder.string();
        out["neighborhoodsFolder"] = env.neighborhoodsFolder.string();
        out["objectsPackagePath"] = env.objectsPackagePath.string();
        out["hasUniversity"] = env.hasUniversity;
        out["hasNightlife"] = env.hasNightlife;
        out["hasOpenForBusiness"] = env.hasOpenForBusiness;
        out["hasPets"] = env.hasPets;
        out["hasSeasons"] = env.hasSeasons;
        out["hasBonVoyage"] = env.hasBonVoyage;
        out["hasFreeTime"] = env.hasFreeTime;
        out["hasApartmentLife"] = env.hasApartmentLife;
        out["languageCode"] = env.languageCode;
        out["uiFontName"] = env.uiFontName;
        out["uiCharset"] = env.uiCharset;
        out["winePrefix"] = discovery.prefixes.chosen ? discovery.prefixes.chosen->string() : "";
        // Every edition found, the one in use first named by its place in the list.
        out["edition"] = discovery.edition ? nlohmann::ordered_json(*discovery.edition) : nlohmann::ordered_json();
        out["editions"] = nlohmann::ordered_json::array();
        for (const GameEdition& edition : discovery.editions.editions) {
            const GameEnvironment& e = edition.env;
            nlohmann::ordered_json expansions = nlohmann::ordered_json::array();
            const std::pair<bool, const char*> flags[] = {
                {e.hasUniversity, "University"},   {e.hasNightlife, "Nightlife"}, {e.hasOpenForBusiness, "Open for Business"},
                {e.hasPets, "Pets"},               {e.hasSeasons, "Seasons"},     {e.hasBonVoyage, "Bon Voyage"},
                {e.hasFreeTime, "FreeTime"},       {e.hasApartmentLife, "Apartment Life"}};
            for (const auto& [has, name] : flags) {
                if (has) expansions.push_back(name);
            }
            out["editions"].push_back({{"edition", edition.edition},
                                       {"displayName", edition.displayName},
                                       {"userDataFolder", e.userDataFolder.string()},
                                       {"installFolder", edition.installFolder.string()},
                                       {"objectsPackagePath", e.objectsPackagePath.string()},
                                       {"winePrefix", edition.prefix.string()},
                                       {"languageCode", e.languageCode},
                                       {"expansions", expansions}});
        }
        out["skipped"] = discovery.editions.skipped;
        out["sources"] = nlohmann::ordered_json::object();
        for (const auto& [name, source] : env.sources) out["sources"][name] = source;
        if (*listPrefixes) {
            out["prefixes"] = nlohmann::ordered_json::array();
            for (const auto& candidate : discovery.prefixes.considered) {
                out["prefixes"].push_back({{"path", candidate.path.string()},
                                           {"origin", candidate.origin},
                                           {"taken", candidate.taken},
                                           {"reason", candidate.reason}});
            }
        }
        std::cout << out.dump(2) << '\n';
    });
}

void AddCareersCommand(CLI::App& app, const GlobalOptions& options) {
    auto lifeStage = std::make_shared<int>(19);
    auto species = std::make_shared<int>(0);
    auto retired = std::make_shared<bool>(false);
    auto* careers = app.add_subcommand("careers", "List the careers the game offers a sim, as JSON");
    careers->add_option("--life-stage", *lifeStage, "16 teen, 19 adult (the default), 51 elder");
    careers->add_option("--species", *species, "0 a sim (the default), 1 large dog, 2 small dog, 3 cat");
    careers->add_flag("--retired", *retired, "The retired careers an elder may have instead");
    careers->callback([&options, lifeStage, species, retired] {
        GameSession discovery;
        Discover(options, discovery);
        const ExpansionFlags flags = InstalledExpansions(discovery.env);
        const auto choices = *retired ? RetiredCareerChoices(*lifeStage, *species, flags)
                                      : CareerChoices(*lifeStage, *species, flags);
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        for (const auto& [name, key] : choices) {
            out.push_back({{"name", name}, {"key", key}, {"titles", CareerJobTitles(key)}});
        }
        std::cout << out.dump(2) << '\n';
    });
}

void AddGenesCommand(CLI::App& app, const GlobalOptions& options, Reporter& reporter) {
    auto* genes = app.add_subcommand("genes", "List the custom hair, skin and eye genes installed, as JSON");
    genes->callback([&options, &reporter] {
        GameSession discovery;
        Discover(options, discovery);
        if (discovery.env.userDataFolder.empty()) throw UsageError(UserDataNotFound(discovery));
        const GeneScanOptions scan = GeneScanFor(discovery);
        const GeneCatalogue catalogue = BuildGeneCatalogue(scan);
        nlohmann::ordered_json out = nlohmann::ordered_json::object();
        out["folders"] = nlohmann::json::array();
        for (const auto& folder : scan.folders) out["folders"].push_back(folder.string());
        out["filesSeen"] = catalogue.filesSeen;
        out["filesFromCache"] = catalogue.filesFromCache;
        out["genes"] = nlohmann::json::array();
        for (const GeneMod& gene : catalogue.genes) {
            out["genes"].push_back({{"kind", GeneKindText(gene.kind)},
                                    {"family", ToValidUtf8(gene.family)},
                                    {"name", ToValidUtf8(gene.displayName)},
                                    {"package", gene.packagePath.string()}});
        }
        out["unreadable"] = nlohmann::json::array();
        for (const UnreadableFile& file : catalogue.unreadable) {
            out["unreadable"].push_back({{"package", file.path.string()}, {"reason", ToValidUtf8(file.reason)}});
        }
        if (!catalogue.unreadable.empty()) reporter.Error(DataReadErrors(catalogue));
        std::cout << out.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    });
}

}  // namespace qh::cli
