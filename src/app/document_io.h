// Loading, saving, backing up before a save, deleting a sim and taking in a restored backup: the
// document's input and output, without a widget. It asks through the asker and reports through
// the status line's progress and the reporter; the window shows what it did.
#pragma once

#include <QObject>
#include <cstddef>
#include <memory>
#include <set>
#include <string>

#include "app/document.h"
#include "app/neighborhood_preload.h"
#include "app/services.h"
#include "workspace/backups.h"

namespace qh::app {

class DocumentIO final : public QObject {
    Q_OBJECT
public:
    DocumentIO(Document& document, Asker& asker, Reporter& reporter, Trash& trash, StatusLine& status);

    Trash& trash() { return trash_; }
    // What a backup, a restore or a deleted backup discards goes to the trash this way.
    DiscardFolder ToTrash();

    // Whether unsaved changes may go (asked when there are any): `what` finishes the question
    // "There are changes that have not been saved." ("Load another neighborhood without saving
    // them?").
    bool MayDiscardChanges(const QString& what);
    // Loads the catalogue entry into the session; its history starts anew. False (reported) when
    // it could not be loaded, or (said by nobody) when the player cancelled through `progress`:
    // the model is empty then. The status line shows the load when no progress is given.
    bool Load(std::size_t entry, Progress* progress = nullptr);
    // A load begun before the window was built: the next Load of its entry takes its result, a
    // Load of another entry drops it.
    void SetPreload(std::unique_ptr<NeighborhoodPreload> preload) { preload_ = std::move(preload); }
    // Saves the loaded neighborhood: a backup offered first (once a run per neighborhood, when
    // there is none from today), the overwrite question when the game changed its files. Returns
    // false when the player stopped it or another editor held the neighborhood.
    bool Save();
    // Deletes the sim: to the trash, or (the player agreeing) for good where there is none.
    void DeleteSim(std::size_t index);
    // A backup was restored as the neighborhood with this prefix: the catalogue lists it; when it
    // is the loaded one, what the editor held of its old files is dropped and `reloadNeeded` says
    // the window loads it again.
    void NeighborhoodRestored(const std::string& prefix);

signals:
    // The catalogue changed (a restored neighborhood added); `reload`: the loaded one's files
    // were replaced and it must be loaded again.
    void catalogueChanged(const QString& prefix, bool reload);

private:
    void OfferBackupBeforeSave(const Neighborhood& neighborhood);

    Document& document_;
    Asker& asker_;
    Reporter& reporter_;
    Trash& trash_;
    StatusLine& status_;
    std::unique_ptr<NeighborhoodPreload> preload_;
    std::set<std::string> offeredBackup_;  // neighborhoods offered a backup before a save this run
};

}  // namespace qh::app
