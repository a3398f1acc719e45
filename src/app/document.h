// The open game as the window edits it: the session (environment, settings, catalogue, loaded
// neighborhood) and the history of every change made to it.
//
// Every change from every panel, dialog and the selector is one call of this class, recorded as
// an undoable step. A step keeps a snapshot of what it touches (a sim's record and its items, the
// item lists, the neighborhood's record) before and after, so undoing and redoing it restores
// exactly those bytes of the model. "Unsaved" is the history not being at the point of the last
// save; the list of unsaved changes is the history's steps since then.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/reporter.h"
#include "workspace/game_session.h"
#include "workspace/sim_operations.h"

namespace qh::app {

// What a change touched, so that views refresh what they show of it.
enum class Subject { Sim, SimList, Neighborhood, Households, Relationships, Family };

struct Change {
    Subject subject = Subject::Sim;
    int sim = -1;         // the sim's index in the workspace, for Subject::Sim
    bool replay = false;  // an undo or redo, not the edit as it was made
};

// One group of the list of unsaved changes: a sim (by name) or the neighborhood, and the changes
// in words, oldest first.
struct ChangeGroup {
    QString target;
    QStringList changes;
};

// Moves files to the system's trash and back; the window's is Qt's, a test may bring its own.
class Trash {
public:
    virtual ~Trash() = default;
    // Where the file now lies in the trash, or nothing when it could not be moved there.
    virtual std::optional<QString> MoveToTrash(const QString& path) = 0;
    virtual bool Restore(const QString& pathInTrash, const QString& path) = 0;
};

// Where a file goes when there is no trash: its bytes, kept in memory, and the file removed.
// Restoring writes them back.
class MemoryTrash final : public Trash {
public:
    std::optional<QString> MoveToTrash(const QString& path) override;
    bool Restore(const QString& pathInTrash, const QString& path) override;

private:
    std::map<QString, Bytes> kept_;
    int next_ = 0;
};

class Document : public QObject {
    Q_OBJECT

public:
    Document(GameSession& session, Reporter& reporter, QObject* parent = nullptr);
    ~Document() override;

    GameSession& session() { return session_; }
    Workspace& workspace() { return session_.workspace; }
    const Workspace& workspace() const { return session_.workspace; }
    Neighborhood* neighborhood() { return session_.LoadedNeighborhood(); }
    const Neighborhood* neighborhood() const { return session_.LoadedNeighborhood(); }
    QUndoStack& history() { return history_; }
    // A step that cannot be undone leaves the history while being undone; the files are as they
    // were, so when they were saved the document stays saved (the stack alone would forget it).
    void StayCleanAfterThisUndo() { cleanAfterUndo_ = history_.isClean(); }

    // A change of one sim: its record and its own items (owner = its instance id). `what` names
    // the change ("rename", "fatness"); the step reads "rename of Ana Moreno". Successive changes
    // with the same non-empty `mergeKey` (typing into one box, dragging one slider) are one step.
    // A change that alters nothing records nothing.
    void EditSim(std::size_t sim, const QString& what, const std::function<void(Workspace&, Character&)>& change,
                 const QString& mergeKey = {});
    // A change of one sim that may touch any item of the three item lists (the data panel).
    void EditSimAndItems(std::size_t sim, const QString& what,
                         const std::function<void(Workspace&, Character&)>& change);
    // A change of the households: `target` names it for the list of changes ("the Harts"); with a
    // sim (moving it in) the sim's record is part of the step.
    void EditHouseholds(const QString& target, const QString& what, std::optional<std::size_t> sim,
                        const std::function<void(Workspace&)>& change, const QString& mergeKey = {});
    // A change of one relationship (the record at `record` and its reverse records, and the two
    // sims' items, for Furious and Contact). `target` names the pair ("Ana Moreno and Ben Hart").
    // Both directions changed by one call are one step; records the change appends are part of
    // it.
    void EditRelationshipPair(std::size_t record, const QString& target, const QString& what,
                              const std::function<void(Workspace&)>& change, const QString& mergeKey = {});
    // A change of a sim's family: the family ties and every relationship record the change
    // touches or appends, however many, are one step.
    // The items of the sims whose items the change altered are part of it (Furious and Contact
    // keep items); `subject` says what the panels show of it.
    void EditFamily(std::size_t sim, const QString& what, const std::function<void(Workspace&)>& change,
                    Subject subject = Subject::Family);
    // One operation of the sim table (what the command line's `set` options are) as one step,
    // kept in the scope the operation names: the window and the command line through one door.
    // Returns why it was refused (nothing recorded then), else "".
    std::string ApplyOperation(const SimOperation& operation, std::size_t sim, std::string_view value, bool advanced);
    // A change of the loaded neighborhood's own record.
    void EditNeighborhood(const QString& what, const std::function<void(Neighborhood&)>& change,
                          const QString& mergeKey = {});
    // Deletes the sim: its character package goes to the trash (undo brings it back). Returns
    // false when the package could not be moved there; nothing changes then.
    bool DeleteSim(std::size_t sim, Trash& trash);
    // Deletes the sim's package for good, where no trash can be had (the player agreed): the
    // document keeps its bytes, so undo writes the package back while the program runs.
    bool DeleteSimForGood(std::size_t sim);

    bool Unsaved() const { return !history_.isClean(); }
    std::vector<ChangeGroup> UnsavedChanges() const;

    // After a save that wrote anything: records restored from snapshots taken before it no longer
    // match the files and are marked changed. When the save wrote everything, the history's
    // current point is what is on disk.
    void MarkSaved(bool complete);
    // After a load: no history; nothing unsaved.
    void Reset();

    // How many saves there were; a snapshot taken before the latest save no longer matches the
    // files, so restoring it marks its record changed.
    int saveEpoch() const { return saveEpoch_; }
    void Notify(const Change& change) { emit changed(change); }
    Reporter& reporter() { return reporter_; }

signals:
    void changed(const qh::app::Change& change);
    void unsavedChanged(bool unsaved);

private:
    GameSession& session_;
    Reporter& reporter_;
    QUndoStack history_;
    MemoryTrash memoryTrash_;
    int saveEpoch_ = 0;
    bool cleanAfterUndo_ = false;
};

// The display name of a sim in the list of changes: "First Last", or the file name.
QString SimName(const Character& sim);

}  // namespace qh::app
