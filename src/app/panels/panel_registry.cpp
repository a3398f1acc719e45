// The registry of panels: one row each. A new panel is its file pair and a row here.
#include "app/panels/about_panel.h"
#include "app/panels/aspiration_panel.h"
#include "app/panels/badges_panel.h"
#include "app/panels/hobbies_panel.h"
#include "app/panels/career_panel.h"
#include "app/panels/character_panel.h"
#include "app/panels/cloning_panel.h"
#include "app/panels/data_panel.h"
#include "app/panels/family_panel.h"
#include "app/panels/genetics_panel.h"
#include "app/panels/households_panel.h"
#include "app/panels/interests_panel.h"
#include "app/panels/needs_panel.h"
#include "app/panels/neighborhood_panel.h"
#include "app/panels/panel.h"
#include "app/panels/personality_panel.h"
#include "app/panels/relationships_panel.h"
#include "app/panels/rewards_panel.h"
#include "app/panels/school_panel.h"
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
        {"Neighborhood", "The neighborhood's name, description and picture, and its backups", "btnNeighborhood", "pnlNeighborhood", 3010, Make<NeighborhoodPanel>, false, true},
        {"Households", "The sim's household: its name, description, funds and members; moving a sim in", "btnHouseHolds", "pnlHouseholds", 4090, Make<HouseholdsPanel>, false},
        {"Family Tree", "The sim's parents, spouse, siblings and children, and the family chart", "btnFamilyTies", "pnlFamilyTies", 6020, Make<FamilyPanel>, false},
        {"Relationships", "How the sim and another sim feel about each other, their flags and family relation", "btnRelationships", "pnlRelationships", 6060, Make<RelationshipsPanel>, false},
        {"Character", "The sim's names, gender, life stage, ages, zodiac, fatness, attraction and the dead mark", "btnCharacters", "pnlCharacters", 4020, Make<CharacterPanel>, false},
        {"Personality", "The sim's personality points, those it was born with, and its reputation", "btnPersonality", "pnlPersonality", 4030, Make<PersonalityPanel>, false},
        {"Interests", "How much the sim likes to talk about each subject", "btnInterests", "pnlInterests", 4031, Make<InterestsPanel>, false},
        {"Skills", "The sim's skill points, the skills kept as items, and a toddler's training", "btnSkills", "pnlSkills", 4040, Make<SkillsPanel>, false},
        {"Needs", "How fast each of the sim's needs falls (FreeTime)", "btnNeeds", "pnlNeeds", 4050, Make<NeedsPanel>, false},
        {"Aspiration/Influence", "The sim's aspirations, aspiration meter and level, reward points, long-term aspiration, weekly benefit and influence", "btnAspiration", "pnlAspiration", 4060, Make<AspirationPanel>, false},
        {"Badges", "The sim's talent badges and their grades", "btnBadges", "pnlBadges", 4070, Make<BadgesPanel>, false},
        {"Hobbies", "The sim's hobby enthusiasms, natural talent and hobby lot memberships (FreeTime)", "btnHobbies", "pnlHobbies", 4071, Make<HobbiesPanel>, false},
        {"School", "A child's or teen's school, grade and performance; a grown-up's university major, class and grades", "btnSchool", "pnlSchools", 5030, Make<SchoolPanel>, false},
        {"Career", "The sim's career and level with its hours and pay, performance, retired career, pension, vacation days and NPC type", "btnCareer", "pnlCareer", 5020, Make<CareerPanel>, false},
        {"Rewards/Extras", "The sim's career rewards and personal items", "btnRewards", "pnlRewards", 4080, Make<RewardsPanel>, false},
        {"Genetics (DNA)", "The sim's hair and eye colour and the hair, eye and skin genes it passes on, with the custom genes installed", "btnGenetics", "pnlGenetics", 6050, Make<GeneticsPanel>, false},
        {"Cloning Lab", "Copies attributes and the body from another sim or a clone file, and makes clone files to share", "btnCloning", "pnlCloning", 6040, Make<CloningPanel>, false},
        {"About", "The program's version, its colour schemes and its credits", "btnAbout", "pnlAbout", 1001, Make<AboutPanel>, false},
        {"Neighborhood Data", "The items of the neighborhood data", "", "pnlNgbdData", 1000, Make<DataPanel>, true, false, false},  // no topic of its own
    };
    return rows;
}

}  // namespace qh::app
