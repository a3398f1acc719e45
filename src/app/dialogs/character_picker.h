// The picker of sims ("Choose New Parent", "Choose New Spouse"): a sorted list of sims, each with
// its picture, its text below, OK and Cancel.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <vector>

#include "app/panels/panel.h"

namespace qh::app {

class CharacterPicker : public QDialog {
public:
    // One sim offered: its index in the workspace's characters, its entry text as the character
    // selector shows it, and its picture.
    struct Entry {
        std::size_t index;
        QString text;
        QPixmap picture;
    };
    // `entries` are the sims of `pick.sims`, made by the caller.
    CharacterPicker(QWidget* parent, const SimPick& pick, const std::vector<Entry>& entries);
    // The chosen sim's index in the workspace's characters, or -1.
    int Chosen() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

}  // namespace qh::app
