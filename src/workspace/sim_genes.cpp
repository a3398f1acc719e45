#include "workspace/sim_genes.h"

#include <algorithm>
#include <cctype>

#include "character/character_rules.h"
#include "platform/paths.h"
#include "workspace/game_session.h"

namespace qh {

std::span<const GeneColour> BuiltInColours(GeneKind kind) {
    static constexpr GeneColour kHair[] = {
        {"NA", "000000000000000000000000000000000000"},
        {"Black Hair", "00000001-0000-0000-0000-000000000000"},
        {"Brown Hair", "00000002-0000-0000-0000-000000000000"},
        {"Blonde Hair", "00000003-0000-0000-0000-000000000000"},
        {"Red Hair", "00000004-0000-0000-0000-000000000000"},
    };
    static constexpr GeneColour kSkin[] = {
        {"NA", "000000000000000000000000000000000000"},
        {"Light Skin", "00000001-0000-0000-0000-000000000000"},
        {"Tan Skin", "00000002-0000-0000-0000-000000000000"},
        {"Medium Skin", "00000003-0000-0000-0000-000000000000"},
        {"Dark Skin", "00000004-0000-0000-0000-000000000000"},
        {"Alien Skin", "6baf064a-85ad-4e37-8d81-a987e9f8da46"},
    };
    static constexpr GeneColour kEye[] = {
        {"NA", "000000000000000000000000000000000000"},
        {"Brown Eyes", "32dee745-b6ce-419f-9e86-ae93802d2682"},
        {"Green Eyes", "51c4a750-c9f4-4cfe-801c-898efc360cb7"},
        {"Gray Eyes", "0758508c-7111-40f9-b33b-706464626ac9"},
        {"Lt. Blue Eyes", "e43f3360-3a08-4755-8b83-a0d37a6c424b"},
        {"Dk. Blue Eyes", "2d6839c5-0b7c-48a1-9c55-4bd9cc873b0f"},
        {"Alien Eyes", "12d4f3e1-fdbe-4fe7-ace3-46dd9ff52b51"},
    };
    switch (kind) {
        case GeneKind::Hair: return kHair;
        case GeneKind::Skin: return kSkin;
        case GeneKind::Eye: return kEye;
    }
    return {};
}

std::span<const GeneSelector> GeneSelectors() {
    using enum GeneKind;
    static const GeneSelector kSelectors[] = {
        {"cbHairColor", "Hair Color:", Hair, &Character::hairColor, nullptr, true},
        {"cbEyeColor", "Eye Color:", Eye, &Character::eyeColor, nullptr, true},
        {"cbSkinTone", "Skin Tone:", Skin, nullptr, "skinTone", true},
        {"cbRecSkinTone", "Recessive Skin Tone:", Skin, nullptr, "recessiveSkinTone", false},
        {"cbFatherHairColor", "Fathers Hair Color:", Hair, nullptr, "fatherHairColor", false},
        {"cbMotherHairColor", "Mothers Hair Color:", Hair, nullptr, "motherHairColor", false},
        {"cbFatherSkinTone", "Fathers Skin Tone:", Skin, nullptr, "fatherSkinTone", false},
        {"cbMotherSkinTone", "Mothers Skin Tone:", Skin, nullptr, "motherSkinTone", false},
        {"cbDomEyeColor", "Parent Eye Color (Dominant):", Eye, nullptr, "dominantEyeColor", false},
        {"cbRecEyeColor", "Parent Eye Color:", Eye, nullptr, "parentEyeColor", false},
    };
    return kSelectors;
}

namespace {

// The sim's own skin: kept by the game beside hair and eyes, not on the panel.
const GeneSelector kSkinColor{"", "Skin Color:", GeneKind::Skin, &Character::skinColor, nullptr, true};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

bool IsPetWithPets(const Character& sim, bool hasPets) { return hasPets && sim.species >= 1 && sim.species <= 3; }

}  // namespace

std::string GeneValue(const Workspace& workspace, const Character& sim, const GeneSelector& selector) {
    if (selector.simField) return sim.*selector.simField;
    const DNA* dna = FindDna(workspace, sim.instanceId);
    const DnaField* field = FindDnaField(selector.dnaField);
    return dna && field ? dna->*field->member : std::string(kNoGene);
}

std::string GeneRefusal(const Workspace& workspace, const Character& sim, const GeneSelector& selector, bool hasPets) {
    if (IsPetWithPets(sim, hasPets)) return "a pet's genes come with its breed and are not changed here";
    if (selector.simField) return {};  // kept in the sim's own package
    if (!HasDescription(sim)) return NoDescriptionRefusal(sim);
    const DNA* dna = FindDna(workspace, sim.instanceId);
    if (!dna) {
        const bool two = std::any_of(workspace.dnaList.begin(), workspace.dnaList.end(),
                                     [&](const DNA& d) { return d.instanceId == sim.instanceId; });
        return two ? "the sim has more than one genetic record, so they are kept as they are"
                   : "the sim has no genetic record in this neighborhood";
    }
    return dna->keptAsIs;
}

std::string SetSimGene(Workspace& workspace, Character& sim, const GeneSelector& selector, std::string_view value,
                       bool hasPets) {
    if (std::string refusal = GeneRefusal(workspace, sim, selector, hasPets); !refusal.empty()) return refusal;
    const std::string stored = value == kNoGene ? std::string(kNoGeneValue) : std::string(value);
    if (!IsGeneText(stored)) {
        return "a gene is NA or a GUID text of 36 characters (8-4-4-4-12 hexadecimal digits, or 36 zeros)";
    }
    DNA* dna = FindDna(workspace, sim.instanceId);
    if (selector.simField) {
        if (sim.*selector.simField == stored) return {};
        sim.*selector.simField = stored;
    } else {
        const DnaField* field = FindDnaField(selector.dnaField);
        if (dna->*field->member == stored) return {};
        SetGene(*dna, *field, stored);
    }
    // The game reads a record only with its sim's description.
    if (dna && dna->keptAsIs.empty()) dna->dirty = 1;
    sim.dirty = 1;
    if (selector.rebuildsPackage) sim.needsPackageRebuild = 1;
    return {};
}

const GeneSelector* FindGeneSelector(std::string_view name) {
    if (name == "skinColor") return &kSkinColor;
    for (const GeneSelector& selector : GeneSelectors()) {
        std::string_view caption = selector.caption;
        if (caption.ends_with(':')) caption.remove_suffix(1);
        const std::string_view field = selector.dnaField ? std::string_view(selector.dnaField)
                                       : selector.simField == &Character::hairColor ? std::string_view("hairColor")
                                                                                     : std::string_view("eyeColor");
        if (name == selector.control || SameIgnoringCase(name, caption) || name == field) return &selector;
    }
    return nullptr;
}

std::vector<std::filesystem::path> GeneFolders(const GameEnvironment& env,
                                               std::span<const std::filesystem::path> otherDataFolders) {
    std::vector<std::filesystem::path> folders;
    auto add = [&](const std::filesystem::path& data) {
        if (data.empty()) return;
        for (const char* name : {"Downloads", "SavedSims", "Teleport"}) {
            const std::filesystem::path folder = ResolveNoCase(data, name);
            if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
        }
    };
    add(env.userDataFolder);
    for (const std::filesystem::path& data : otherDataFolders) add(data);
    return folders;
}

GeneScanOptions GeneScanFor(const GameSession& session) {
    std::vector<std::filesystem::path> others;
    for (const GameEdition& edition : session.editions.editions) others.push_back(edition.env.userDataFolder);
    GeneScanOptions options;
    options.folders = GeneFolders(session.env, others);
    if (session.settings) {
        if (const auto folder = session.settings->Folder()) options.cacheFile = *folder / "gene-catalogue.json";
    }
    return options;
}

std::vector<GeneEntry> GeneEntries(GeneKind kind, std::span<const GeneMod> customGenes) {
    std::vector<GeneEntry> entries;
    for (const GeneColour& colour : BuiltInColours(kind)) entries.push_back({colour.text, colour.value});
    for (const GeneMod& gene : customGenes) {
        if (gene.kind == kind) entries.push_back({"* " + gene.displayName, gene.family});
    }
    return entries;
}

std::optional<std::size_t> GeneEntryOf(std::span<const GeneEntry> entries, std::string_view value) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].value == value) return i;
    }
    // "NA" (an empty gene) shows as the first entry, which stores thirty-six zeros.
    if (value == kNoGene && !entries.empty()) return 0;
    return std::nullopt;
}

}  // namespace qh
