#include "app/document_io.h"

#include <QFile>
#include <QStringList>
#include <algorithm>

#include "package/text_list.h"
#include "platform/paths.h"
#include "workspace/backups.h"
#include "workspace/cloning.h"
#include "workspace/game_session.h"
#include "workspace/save.h"

namespace qh::app {

DocumentIO::DocumentIO(Document& document, Asker& asker, Reporter& reporter, Trash& trash, StatusLine& status)
    : document_(document), asker_(asker), reporter_(reporter), trash_(trash), status_(status) {}

DiscardFolder DocumentIO::ToTrash() {
    return [this](const std::filesystem::path& folder) {
        return trash_.MoveToTrash(QString::fromStdU16String(folder.u16string())).has_value();
    };
}

bool DocumentIO::MayDiscardChanges(const QString& what) {
    return !document_.Unsaved() ||
           asker_.AskYesNo(QStringLiteral("There are changes that have not been saved.\r\n") + what);
}

bool DocumentIO::Load(std::size_t entry, Progress* progress) {
    GameSession& session = document_.session();
    Progress& shown = progress ? *progress : status_.progress();
    std::unique_ptr<NeighborhoodPreload> preload = std::move(preload_);
    try {
        if (preload && preload->entry() == entry) {
            preload->Adopt(session, reporter_, shown);
        } else {
            preload.reset();  // another neighborhood was chosen: that load stops
            LoadSessionNeighborhood(session, entry, reporter_, shown);
        }
        document_.Reset();
        return true;
    } catch (const OperationCancelled&) {
        document_.Reset();
        return false;
    } catch (const std::exception& error) {
        reporter_.Error(error.what());
        document_.Reset();
        return false;
    }
}

// The first save of a run into a neighborhood with no backup from today offers one first: the
// save is where a player's years can go wrong, and the backup is one click away.
void DocumentIO::OfferBackupBeforeSave(const Neighborhood& neighborhood) {
    GameSession& session = document_.session();
    if (!session.settings->OfferBackup() || !offeredBackup_.insert(neighborhood.prefix).second) return;
    const auto archive = ArchiveFolder(session.settings->ArchiveLoc(), session.personalFolder);
    if (archive.empty() || HasBackupFrom(archive, neighborhood.prefix, LocalNow())) return;
    const std::string name = TrimText(ToValidUtf8(neighborhood.ngbdName));
    if (!asker_.AskYesNo(QStringLiteral("There is no backup of ") + QString::fromStdString(name) +
                         QStringLiteral(" from today.\r\nBack it up before saving?"))) {
        return;
    }
    status_.BeginBusy();
    const BackupResult result =
        BackupNow(session.workspace.neighborhoodFolder, archive, neighborhood.prefix, ToTrash(), status_.progress());
    status_.EndBusy();
    if (!result.done) reporter_.Error(result.message);
}

bool DocumentIO::Save() {
    GameSession& session = document_.session();
    Neighborhood* neighborhood = document_.neighborhood();
    if (!neighborhood) return false;
    OfferBackupBeforeSave(*neighborhood);
    SaveOptions options;
    options.languageCode = session.env.languageCode;
    status_.BeginBusy();
    SaveResult result = SaveNeighborhood(session.workspace, *neighborhood, options, reporter_, status_.progress());
    if (!result.newFindings.empty()) {
        // Nothing was written: the player sees what the save would break, and decides.
        status_.EndBusy();
        QStringList lines;
        for (const Finding& f : result.newFindings) {
            lines << QString::fromStdString(f.subject + ": " + f.meaning);
        }
        if (!asker_.AskOkCancel(QStringLiteral("Saving these changes would add problems the neighborhood did not have:\r\n\r\n") +
                                lines.join(QStringLiteral("\r\n")) +
                                QStringLiteral("\r\n\r\nSave all the same? Cancel saves nothing, and Undo takes the changes back."))) {
            return false;
        }
        options.allowNewFindings = true;
        status_.BeginBusy();
        result = SaveNeighborhood(session.workspace, *neighborhood, options, reporter_, status_.progress());
    }
    if (result.lockedBy) {  // another editor is saving: nothing was written, nothing changes here
        status_.EndBusy();
        return false;
    }
    if (!result.changedOnDisk.empty()) {
        status_.EndBusy();
        QStringList names;
        for (const auto& file : result.changedOnDisk) names << QString::fromStdString(file.filename().string());
        if (!asker_.AskYesNo(QStringLiteral("These files were changed after the neighborhood was loaded, perhaps by the "
                                            "game:\r\n\r\n") +
                             names.join(QStringLiteral("\r\n")) +
                             QStringLiteral("\r\n\r\nOverwrite them with your changes?"))) {
            return false;
        }
        options.overwriteNewerFiles = true;
        status_.BeginBusy();
        result = SaveNeighborhood(session.workspace, *neighborhood, options, reporter_, status_.progress());
    }
    status_.EndBusy();
    document_.MarkSaved(result.Complete());
    return true;
}

void DocumentIO::DeleteSim(std::size_t index) {
    const Workspace& ws = document_.workspace();
    if (index >= ws.characters.size()) return;
    const QString path = QString::fromStdString((ws.charactersFolder / ws.characters[index].packageFile).string());
    if (!QFile::exists(path)) return;
    if (const std::string refusal = BodyLentRefusal(ws, ws.characters[index]); !refusal.empty()) {
        reporter_.Error(refusal);
        return;
    }
    if (!asker_.AskYesNo(QStringLiteral("You are about to delete the selected Character. Are you sure you want to do this?"))) {
        return;
    }
    if (document_.DeleteSim(index, trash_)) return;
    // No trash here (or it refused the file): the player decides whether to delete it for good.
    if (!asker_.AskYesNo(QStringLiteral("The character package could not be moved to the trash: there is no trash "
                                        "folder here.\r\n\r\nDelete it for good instead? Undo brings it back until "
                                        "Quillhaven is closed."))) {
        return;
    }
    if (!document_.DeleteSimForGood(index)) reporter_.Error("Delete Operation Failed.");
}

void DocumentIO::NeighborhoodRestored(const std::string& prefix) {
    GameSession& session = document_.session();
    // A neighborhood the catalogue lacks is added to its end, so the entries it has keep their
    // places (and the loaded one its entry).
    const auto found = ScanNeighborhoods(session.env.neighborhoodsFolder, session.env.languageCode, reporter_,
                                         status_.progress());
    for (const Neighborhood& n : found) {
        const bool known = std::any_of(session.catalogue.begin(), session.catalogue.end(),
                                       [&](const Neighborhood& c) { return EqualsNoCase(c.prefix, n.prefix); });
        if (!known) session.catalogue.push_back(n);
    }
    const Neighborhood* loaded = session.LoadedNeighborhood();
    const std::string current = loaded ? loaded->prefix : prefix;
    const bool reload = loaded && EqualsNoCase(loaded->prefix, prefix);
    if (reload) {
        // Its files are the backup's now: what the editor held of the old ones is gone with them.
        document_.Reset();
        session.loaded.reset();
    }
    emit catalogueChanged(QString::fromStdString(current), reload);
}

}  // namespace qh::app
