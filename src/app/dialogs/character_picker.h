// The picker of sims ("Choose New Parent", "Choose New Spouse"): a sorted list of sims, each with
// its picture, its text below, OK and Cancel.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <vector>

#include "app/panels/panel.h"

namespace qh::app {

class MainWindow;

class CharacterPicker : public QDialog {
public:
    // `pick.sims` are indices into the workspace's characters.
    CharacterPicker(MainWindow& window, const SimPick& pick);
    // The chosen sim's index in the workspace's characters, or -1.
    int Chosen() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

}  // namespace qh::app
