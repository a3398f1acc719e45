// The Genetics (DNA) panel: the sim's own hair and eye colour and eight genes of its genetic
// record, each chosen from the game's colours or the custom genes the player installed (found
// once per run, on the first opening, with a cache that spares unchanged files).
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <optional>
#include <vector>

#include "app/panels/panel.h"
#include "genetics/gene_catalogue.h"

namespace qh::app {

class GeneticsPanel : public Panel {
public:
    GeneticsPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnGenetics

private:
    void BuildGeneCatalogue();
    void cbChangeGenes(std::size_t selector, int index);

    std::vector<QComboBox*> selectors_;  // in the order of GeneSelectors()
    QLabel* lblGenesNote_;
    QLabel* lblGeneScan_;
    QPushButton* btnScanGenes_;
    std::optional<GeneCatalogue> catalogue_;  // the run's catalogue, once built
};

}  // namespace qh::app
