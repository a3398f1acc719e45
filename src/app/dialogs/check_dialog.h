// The findings of a neighborhood's check: one row per finding (how bad, whom it concerns, what it
// means; the fix in its tooltip), a double click choosing the sim concerned, and the list saved as
// a text report.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTreeWidget>
#include <optional>
#include <vector>

#include "platform/reporter.h"
#include "workspace/neighborhood_check.h"

namespace qh::app {

class Asker;

class CheckDialog : public QDialog {
public:
    CheckDialog(QWidget* parent, std::vector<Finding> findings, QString title, QString reportFolder, Asker& asker,
                Reporter& reporter);
    // The sim whose row was double-clicked (the dialog closes then), if any.
    std::optional<std::size_t> ChosenSim() const { return chosen_; }
    QTreeWidget* list() const { return tvFindings_; }

private:
    void btnSaveReportClick();

    std::vector<Finding> findings_;
    QString title_;
    QString reportFolder_;
    Asker& asker_;
    Reporter& reporter_;
    QTreeWidget* tvFindings_;
    std::optional<std::size_t> chosen_;
};

}  // namespace qh::app
