// The registry of panels: one row each. A new panel is its file pair and a row here.
#include "app/panels/about_panel.h"
#include "app/panels/character_panel.h"
#include "app/panels/data_panel.h"
#include "app/panels/neighborhood_panel.h"
#include "app/panels/panel.h"

namespace qh::app {

namespace {

template <typename T>
Panel* Make(Document& document, PanelHost& host, const PanelRow& row) {
    return new T(document, host, row);
}

}  // namespace

const std::vector<PanelRow>& PanelRows() {
    static const std::vector<PanelRow> rows = {
        {"Neighborhood", "btnNeighborhood", "pnlNeighborhood", 3010, Make<NeighborhoodPanel>},
        {"Households", "btnHouseholds", "pnlHouseholds", 4090, Make<PendingPanel>},
        {"Family Tree", "btnFamilyTies", "pnlFamilyTies", 6020, Make<PendingPanel>},
        {"Relationships", "btnRelationships", "pnlRelationships", 6060, Make<PendingPanel>},
        {"Character", "btnCharacters", "pnlCharacters", 4020, Make<CharacterPanel>},
        {"Personality", "btnPersonality", "pnlPersonality", 4030, Make<PendingPanel>},
        {"Interests", "btnInterests", "pnlInterests", 4031, Make<PendingPanel>},
        {"Skills", "btnSkills", "pnlSkills", 4040, Make<PendingPanel>},
        {"Needs", "btnNeeds", "pnlNeeds", 4050, Make<PendingPanel>},
        {"Aspiration/Influence", "btnAspiration", "pnlAspiration", 4060, Make<PendingPanel>},
        {"Badges", "btnBadges", "pnlBadges", 4070, Make<PendingPanel>},
        {"Hobbies", "btnHobbies", "pnlHobbies", 4071, Make<PendingPanel>},
        {"School", "btnSchool", "pnlSchool", 5030, Make<PendingPanel>},
        {"Career", "btnCareer", "pnlCareer", 5020, Make<PendingPanel>},
        {"Rewards/Extras", "btnRewards", "pnlRewards", 4080, Make<PendingPanel>},
        {"Genetics (DNA)", "btnGenetics", "pnlGenetics", 6050, Make<PendingPanel>},
        {"Cloning Lab", "btnCloning", "pnlCloning", 6040, Make<PendingPanel>},
        {"About", "btnAbout", "pnlAbout", 1001, Make<AboutPanel>},
        {"Neighborhood Data", "", "pnlNgbdData", 3070, Make<DataPanel>, true},
    };
    return rows;
}

}  // namespace qh::app
