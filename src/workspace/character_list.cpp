#include "workspace/character_list.h"

#include <algorithm>
#include <filesystem>

#include "package/text_list.h"
#include "workspace/loader.h"

namespace qh {

namespace {

bool BeginsWith(const std::string& label, const std::string& start) {
    return label.compare(0, start.size(), start) == 0;
}

}  // namespace

std::optional<SortOrder> DetectSortOrder(const Character& sim) {
    const std::string first = TrimText(ToValidUtf8(sim.firstName));
    const std::string last = TrimText(ToValidUtf8(sim.lastName));
    const std::string file = std::filesystem::path(sim.packageFile).stem().string();
    if (BeginsWith(sim.listText, first)) return SortOrder::First;
    if (BeginsWith(sim.listText, file)) return SortOrder::File;
    if (BeginsWith(sim.listText, last)) return SortOrder::Last;
    return std::nullopt;
}

std::optional<SortOrder> NextSortOrder(const Character& selected) {
    const auto current = DetectSortOrder(selected);
    if (!current) return std::nullopt;
    switch (*current) {
        case SortOrder::First: return SortOrder::File;
        case SortOrder::File: return SortOrder::Last;
        default: return SortOrder::First;
    }
}

void RelabelCharacters(Workspace& workspace, SortOrder order) {
    for (Character& sim : workspace.characters) sim.listText = CharacterListText(sim, order);
    SortCharacters(workspace.characters);
}

std::size_t RenameSim(Workspace& workspace, std::size_t index, NameField field, const std::string& name,
                      SortOrder storedSort) {
    auto& sims = workspace.characters;
    if (index >= sims.size()) return index;
    std::optional<SortOrder> order;
    const std::size_t reference = index == 0 ? 1 : 0;
    if (reference < sims.size()) order = DetectSortOrder(sims[reference]);
    if (!order) order = storedSort;
    Character& sim = sims[index];
    (field == NameField::First ? sim.firstName : sim.lastName) = name;
    sim.dirty = 1;
    sim.listText = CharacterListText(sim, *order);
    const Guid4 guid = sim.simGuid;
    const std::string file = sim.packageFile;
    SortCharacters(sims);
    for (std::size_t i = 0; i < sims.size(); ++i) {
        if (sims[i].simGuid == guid && sims[i].packageFile == file) return i;
    }
    return 0;
}

}  // namespace qh
