#include "workspace/skill_items.h"

#include <algorithm>

#include "character/character_rules.h"
#include "workspace/sim_items.h"

namespace qh {

namespace {

constexpr int kTrainingMaximum = 1000;

bool OwnedWith(const NeighborhoodItem& item, const Character& sim, std::uint32_t guid) {
    return item.owner == sim.instanceId && item.itemGuid == guid;
}

std::uint16_t Value(const NeighborhoodItem& item, std::size_t index) {
    return index < item.values.size() ? item.values[index] : 0;
}

// The training item's nursery-rhyme value: 1 is "learned", so progress standing at 1 is kept as 2.
std::uint16_t StoredRhyme(const ToddlerTraining& shown) {
    if (shown.rhymeLearned) return 1;
    return static_cast<std::uint16_t>(shown.rhyme == 1 ? 2 : shown.rhyme);
}

}  // namespace

std::span<const ItemSkill> ItemSkills() {
    using G = SkillGroup;
    static constexpr ItemSkill kSkills[] = {
        {"Parenting", kParentingGuid, false, 1000, G::FreeTime},
        {"Dance Skill", 0x0DA265F4, false, 10, G::Misc},
        {"Dance Experience", 0x6FE7E453, false, 10000, G::Misc},
        {"Hula Dance", 0x12F49912, false, 1000, G::BonVoyage},
        {"Slap Dance", 0x932BC5B5, false, 1000, G::BonVoyage},
        {"Fire Dance", 0x334600E0, false, 1000, G::BonVoyage},
        {"Tai Chi", 0x7332278C, false, 1000, G::BonVoyage},
        {"Acupressure Massage", 0x52E9E443, true, 0, G::BonVoyage},
        {"Deep Tissue Massage", 0x92D3596F, true, 0, G::BonVoyage},
        {"Hot Stone Massage", 0x32E9E44C, true, 0, G::BonVoyage},
        {"Ninja", 0x531FE710, true, 0, G::BonVoyage},
        {"Break Dance", 0x54E2ABA5, false, 1000, G::ApartmentLife},
        {"Fire Prevention", 0x74D80DA8, false, 1000, G::ApartmentLife},
        {"Anger Management", 0x94D80DBA, false, 1000, G::ApartmentLife},
        {"Lifelong Happiness", 0x54D80DC6, false, 1000, G::ApartmentLife},
        {"Physiology", 0x54D80DD3, false, 1000, G::ApartmentLife},
        {"Couples Counseling", 0x34D358B7, false, 1000, G::ApartmentLife},
    };
    return kSkills;
}

const ItemSkill* FindItemSkill(std::uint32_t itemGuid) {
    for (const ItemSkill& skill : ItemSkills()) {
        if (skill.itemGuid == itemGuid) return &skill;
    }
    return nullptr;
}

SimSkills ReadSimSkills(std::span<const NeighborhoodItem> items, const Character& sim) {
    SimSkills skills;
    // Items in list order, each moving what the panel shows: the last one of a kind wins.
    for (const NeighborhoodItem& item : items) {
        if (item.owner != sim.instanceId) continue;
        if (item.itemGuid == kToddlerTrainingGuid) {
            auto level = [&](std::size_t index) { return std::min<int>(Value(item, index), kTrainingMaximum); };
            ToddlerTraining& shown = skills.training.emplace();
            shown.walk = level(1);
            shown.talk = level(2);
            shown.potty = level(3);
            shown.walkLearned = Value(item, 4) == 1;
            shown.talkLearned = Value(item, 5) == 1;
            shown.pottyLearned = Value(item, 6) == 1;
            shown.rhyme = level(7);
            shown.rhymeLearned = shown.rhyme == 1;
        } else if (FindItemSkill(item.itemGuid)) {
            skills.levels[item.itemGuid] = Value(item, 0);
        }
    }
    return skills;
}

int SimSkills::Level(std::uint32_t itemGuid) const {
    const auto it = levels.find(itemGuid);
    return it == levels.end() ? 0 : it->second;
}

int ItemSkillLevel(const Workspace& workspace, const Character& sim, std::uint32_t itemGuid) {
    return ReadSimSkills(workspace.simItemList, sim).Level(itemGuid);
}

bool SetItemSkillLevel(Workspace& workspace, Character& sim, const ItemSkill& skill, int level) {
    if (skill.presence) return false;
    const auto value = static_cast<std::uint16_t>(std::clamp(level, 0, skill.maximum));
    bool found = false;
    bool changed = false;
    for (NeighborhoodItem& item : workspace.simItemList) {
        if (!OwnedWith(item, sim, skill.itemGuid)) continue;
        found = true;
        if (item.values.empty()) {
            item.values.push_back(value);
            changed = true;
        } else if (item.values[0] != value) {
            item.values[0] = value;
            changed = true;
        }
    }
    if (!found && value != 0) {
        std::vector<std::uint16_t> values{value};
        if (skill.itemGuid != kParentingGuid) values.push_back(0);
        AddSimItem(workspace, sim, skill.itemGuid, 0, std::move(values));
        changed = true;
    }
    if (changed) sim.dirty = 1;
    return changed;
}

bool SetItemSkillPresent(Workspace& workspace, Character& sim, const ItemSkill& skill, bool present) {
    if (!skill.presence) return false;
    if (!present) return RemoveSimItems(workspace, sim, skill.itemGuid) > 0;
    if (HasSimItem(workspace, sim, skill.itemGuid)) return false;
    AddSimItem(workspace, sim, skill.itemGuid, 1, {});
    return true;
}

ToddlerTraining ShownToddlerTraining(const Workspace& workspace, const Character& sim) {
    return ReadSimSkills(workspace.simItemList, sim).training.value_or(ToddlerTraining{});
}

bool SetToddlerTraining(Workspace& workspace, Character& sim, ToddlerTraining shown, bool rhymeBox) {
    auto level = [](int value) { return static_cast<std::uint16_t>(std::clamp(value, 0, kTrainingMaximum)); };
    if (rhymeBox) shown.rhyme = shown.rhymeLearned ? 1 : 0;
    const std::vector<std::uint16_t> values = {0,
                                               level(shown.walk),
                                               level(shown.talk),
                                               level(shown.potty),
                                               static_cast<std::uint16_t>(shown.walkLearned),
                                               static_cast<std::uint16_t>(shown.talkLearned),
                                               static_cast<std::uint16_t>(shown.pottyLearned),
                                               StoredRhyme(shown)};
    bool found = false;
    bool changed = false;
    for (NeighborhoodItem& item : workspace.simItemList) {
        if (!OwnedWith(item, sim, kToddlerTrainingGuid)) continue;
        found = true;
        // Value 0 is left as the game stored it; a short item is lengthened to the eight values.
        if (item.values.size() < values.size()) {
            item.values.resize(values.size(), 0);
            changed = true;
        }
        for (std::size_t i = 1; i < values.size(); ++i) {
            changed |= item.values[i] != values[i];
            item.values[i] = values[i];
        }
    }
    if (!found && (values[1] != 0 || values[2] != 0 || values[3] != 0)) {
        AddSimItem(workspace, sim, kToddlerTrainingGuid, 1, values);
        changed = true;
    }
    if (changed) sim.dirty = 1;
    return changed;
}

bool ShowsItemSkills(const Character& sim, bool hasPets) {
    return HasDescription(sim) && sim.lifeStage > 2 && !IsPet(sim, hasPets);
}

bool ShowsToddlerTraining(const Character& sim, bool hasPets) {
    return HasDescription(sim) && sim.lifeStage == 2 && !IsPet(sim, hasPets);
}

bool SkillGroupShown(SkillGroup group, const Character& sim, const GameEnvironment& env) {
    if (!ShowsItemSkills(sim, env.hasPets)) return false;
    switch (group) {
        case SkillGroup::BonVoyage: return env.hasBonVoyage;
        case SkillGroup::ApartmentLife: return env.hasApartmentLife;
        default: return true;
    }
}

bool ItemSkillShown(const ItemSkill& skill, const Character& sim, const GameEnvironment& env) {
    return SkillGroupShown(skill.group, sim, env);
}

}  // namespace qh
