// The Cloning Lab: copies chosen groups of attributes onto the selected sim from another sim of
// the neighborhood (Direct Clone) or from a clone file (Get A Clone), and makes clone files to
// share (Create A Clone). The body waits for the save; the rules are the core's (cloning.h).
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <optional>
#include <vector>

#include "app/panels/panel.h"
#include "workspace/cloning.h"

namespace qh::app {

class CloningPanel : public Panel {
public:
    CloningPanel(Document& document, PanelContext& context, const PanelRow& row);

protected:
    void Fill() override;  // btnCloningClick

private:
    void ckCloneSetAllClick();
    void btnCloneExportClick();
    void btnCloneImportClick();
    void btnCloneGetClick();
    CloneGroups Checked() const;
    // The folder the file dialogs start in: the one last used, else Documents/Bramblesoft/Clones.
    QString StartFolder();
    void RememberFolder(const QString& file);
    // The clone as one step of the selected sim, then its messages.
    void ApplyClone(const QString& what, const std::function<CloneResult(Workspace&, Character&)>& clone);

    QLabel* lblCloneText_;
    QLabel* imgCloneOld_;
    QLabel* lblPreviousClone_;
    std::vector<QCheckBox*> boxes_;  // one per group, in the groups' order
    QCheckBox* ckCloneSetAll_;
    QPushButton* btnCloneExport_;
    QPushButton* btnCloneImport_;
    QPushButton* btnCloneGet_;
    std::optional<std::size_t> filledFor_;  // the sim the boxes were last reset for
};

}  // namespace qh::app
