// The registry of panels: one row each. A new panel is its file pair and a row here.
#include "app/panels/about_panel.h"
#include "app/panels/character_panel.h"
#include "app/panels/data_panel.h"
#include "app/panels/family_panel.h"
#include "app/panels/households_panel.h"
#include "app/panels/interests_panel.h"
#include "app/panels/needs_panel.h"
#include "app/panels/neighborhood_panel.h"
#include "app/panels/panel.h"
#include "app/panels/personality_panel.h"
#include "app/panels/relationships_panel.h"
#include "app/panels/skills_panel.h"

namespace qh::app {

namespace {

template <typename T>
Panel* Make(Document& document, PanelContext& context, const PanelRow& row) {
    return new T(document, context, row);
}

}  // namespace

const std::vector<PanelRow>& PanelRows() {
    static const std::vector<PanelRow> rows = {
        {"Neighborhood", "btnNeighborhood", "pnlNeighborhood", 3010, Make<NeighborhoodPanel>, false, true},
        {"Households", "btnHouseHolds", "pnlHouseholds", 4090, Make<HouseholdsPanel>, false},
        {"Family Tree", "btnFamilyTies", "pnlFamilyTies", 6020, Make<FamilyPanel>, false},
        {"Relationships", "btnRelationships", "pnlRelationships", 6060, Make<RelationshipsPanel>, false},
        {"Character", "btnCharacters", "pnlCharacters", 4020, Make<CharacterPanel>, false},
        {"Personality", "btnPersonality", "pnlPersonality", 4030, Make<PersonalityPanel>, false},
        {"Interests", "btnInterests", "pnlInterests", 4031, Make<InterestsPanel>, false},
        {"Skills", "btnSkills", "pnlSkills", 4040, Make<SkillsPanel>, false},
        {"Needs", "btnNeeds", "pnlNeeds", 4050, Make<NeedsPanel>, false},
        {"Aspiration/Influence", "btnAspiration", "pnlAspiration", 4060, Make<PendingPanel>, false},
        {"Badges", "btnBadges", "pnlBadges", 4070, Make<PendingPanel>, false},
        {"Hobbies", "btnHobbies", "pnlHobbies", 4071, Make<PendingPanel>, false},
        {"School", "btnSchool", "pnlSchool", 5030, Make<PendingPanel>, false},
        {"Career", "btnCareer", "pnlCareer", 5020, Make<PendingPanel>, false},
        {"Rewards/Extras", "btnRewards", "pnlRewards", 4080, Make<PendingPanel>, false},
        {"Genetics (DNA)", "btnGenetics", "pnlGenetics", 6050, Make<PendingPanel>, false},
        {"Cloning Lab", "btnCloning", "pnlCloning", 6040, Make<PendingPanel>, false},
        {"About", "btnAbout", "pnlAbout", 1001, Make<AboutPanel>, false},
        {"Neighborhood Data", "", "pnlNgbdData", 1000, Make<DataPanel>, true, false, false},  // no topic of its own
    };
    return rows;
}

}  // namespace qh::app
