// "Select Neighborhood": the neighborhoods with their pictures, at start-up.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <filesystem>
#include <vector>

#include "workspace/neighborhood_catalogue.h"

namespace qh::app {

class MainWindow;

class NeighborhoodDialog : public QDialog {
public:
    NeighborhoodDialog(MainWindow& window, const std::vector<Neighborhood>& catalogue,
                       const std::filesystem::path& neighborhoodsFolder, const std::string& preselect);
    // The chosen entry (its index in the catalogue), or -1 when none is selected.
    int Chosen() const;
    QListWidget* list() const { return list_; }
    void btnPreviousClick();
    void btnNextClick();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    MainWindow& window_;
    QListWidget* list_;
};

}  // namespace qh::app
