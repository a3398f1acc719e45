// "Choose New Parent": a sorted list of sims, each with its picture.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <vector>

namespace qh::app {

class MainWindow;

class CharacterPicker : public QDialog {
public:
    // `sims` are indices into the workspace's characters.
    CharacterPicker(MainWindow& window, const std::vector<std::size_t>& sims);
    // The chosen sim's index in the workspace's characters, or -1.
    int Chosen() const;
    QListWidget* list() const { return list_; }

private:
    QListWidget* list_;
};

}  // namespace qh::app
