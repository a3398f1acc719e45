#include "workspace/character_list.h"

#include <algorithm>
#include <filesystem>
#include <numeric>

#include "package/text_list.h"
#include "workspace/neighborhood_catalogue.h"

namespace qh {

std::string SimName(const Character& sim) {
    const std::string name = TrimText(ToValidUtf8(TrimText(sim.firstName) + " " + TrimText(sim.lastName)));
    return name.empty() ? sim.packageFile : name;
}

std::string SimNameAndFile(const Character& sim) { return SimName(sim) + " (" + sim.packageFile + ")"; }

std::string CharacterListText(const Character& sim, SortOrder order) {
    const std::string first = TrimText(ToValidUtf8(sim.firstName));
    const std::string last = TrimText(ToValidUtf8(sim.lastName));
    const std::string file = std::filesystem::path(sim.packageFile).stem().string();
    switch (order) {
        case SortOrder::File: return file + " : " + last + ", " + first;
        case SortOrder::Last: return last + ", " + first + " : " + file;
        default: return first + " " + last + " : " + file;
    }
}

SortOrder NextSortOrder(SortOrder current) {
    switch (current) {
        case SortOrder::First: return SortOrder::File;
        case SortOrder::File: return SortOrder::Last;
        default: return SortOrder::First;
    }
}

bool SimListLess(const Workspace& workspace, SortOrder order, std::size_t a, std::size_t b) {
    const std::string left = CharacterListText(workspace.characters[a], order);
    const std::string right = CharacterListText(workspace.characters[b], order);
    if (ListTextLess(left, right)) return true;
    if (ListTextLess(right, left)) return false;
    return a < b;
}

std::vector<std::size_t> SimListOrder(const Workspace& workspace, SortOrder order) {
    // Each label is made once, not once per comparison.
    std::vector<std::string> labels;
    labels.reserve(workspace.characters.size());
    for (const Character& sim : workspace.characters) labels.push_back(CharacterListText(sim, order));
    std::vector<std::size_t> rows(workspace.characters.size());
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    std::stable_sort(rows.begin(), rows.end(), [&](std::size_t a, std::size_t b) { return ListTextLess(labels[a], labels[b]); });
    return rows;
}

void RenameSim(Character& sim, NameField field, const std::string& name) {
    (field == NameField::First ? sim.firstName : sim.lastName) = name;
    sim.dirty = 1;
}

}  // namespace qh
