// "Select Neighborhood": the neighborhoods with their pictures, at start-up.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <filesystem>
#include <functional>
#include <vector>

#include "workspace/neighborhood_catalogue.h"

namespace qh::app {

class NeighborhoodDialog : public QDialog {
public:
    // `showHelp` opens the help page of a topic (a right click shows the dialog's page).
    NeighborhoodDialog(QWidget* parent, const std::vector<Neighborhood>& catalogue,
                       const std::filesystem::path& neighborhoodsFolder, const std::string& preselect,
                       std::function<void(int topic)> showHelp);
    // The chosen entry (its index in the catalogue), or -1 when none is selected.
    int Chosen() const;
    QListWidget* list() const { return list_; }
    void btnPreviousClick();
    void btnNextClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::function<void(int)> showHelp_;
    QListWidget* list_;
};

}  // namespace qh::app
