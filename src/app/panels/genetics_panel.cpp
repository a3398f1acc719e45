#include "app/panels/genetics_panel.h"

#include <QApplication>
#include <QGridLayout>
#include <QProgressDialog>
#include <span>

#include "app/widgets.h"
#include "workspace/sim_genes.h"

namespace qh::app {

namespace {

// The scan's progress in a dialog the player can cancel.
class ScanProgress final : public Progress {
public:
    explicit ScanProgress(QProgressDialog& dialog) : dialog_(dialog) {}
    void SetStatus(std::string_view text) override { dialog_.setLabelText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))); }
    void SetMaximum(int value) override { dialog_.setMaximum(value); }
    void SetPosition(int value) override {
        dialog_.setValue(value);
        QApplication::processEvents();
    }

private:
    QProgressDialog& dialog_;
};

}  // namespace

GeneticsPanel::GeneticsPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    int line = 0;
    lblGenesNote_ = NamedLabel(this, QStringLiteral("lblGenesNote"),
                               QStringLiteral("When changing the eye or hair color below you need to have the character "
                                              "visit a mirror and then select change appearance. No changes are necessary "
                                              "but you need to select the check and close it to force a rebuild of the "
                                              "character that includes these."));
    lblGenesNote_->setWordWrap(true);
    grid->addWidget(lblGenesNote_, line++, 0, 1, 2);
    for (const GeneSelector& selector : GeneSelectors()) {
        auto* list = new QComboBox(this);
        list->setObjectName(QString::fromLatin1(selector.control));
        list->setMinimumWidth(260);
        list->setMaximumWidth(420);
        QString caption = QString::fromLatin1(selector.caption);
        caption.chop(1);
        SetTip(list, selector.simField
                         ? QStringLiteral("The sim's own %1 (kept in its package): the game's colours and the custom "
                                          "ones installed").arg(caption.toLower())
                         : QStringLiteral("The gene \"%1\" of the sim's genetic record, passed on to its children: the "
                                          "game's colours and the custom ones installed").arg(caption));
        grid->addWidget(NamedLabel(this, QString::fromLatin1(selector.control).replace(0, 2, QStringLiteral("lbl")),
                                   QString::fromLatin1(selector.caption)),
                        line, 0);
        grid->addWidget(list, line++, 1, Qt::AlignLeft);
        const std::size_t index = selectors_.size();
        selectors_.push_back(list);
        connect(list, &QComboBox::activated, this, [this, index](int item) { cbChangeGenes(index, item); });
    }
    lblGeneScan_ = NamedLabel(this, QStringLiteral("lblGeneScan"));
    lblGeneScan_->setWordWrap(true);
    grid->addWidget(lblGeneScan_, line++, 0, 1, 2);
    btnScanGenes_ = new QPushButton(QStringLiteral("Search Again"), this);
    btnScanGenes_->setObjectName(QStringLiteral("btnScanGenes"));
    SetTip(btnScanGenes_, QStringLiteral("Look through Downloads, SavedSims and Teleport again for custom hair, skin and "
                                         "eye colours"));
    grid->addWidget(btnScanGenes_, line++, 0, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(line, 1);
    connect(btnScanGenes_, &QPushButton::clicked, this, [this] {
        catalogue_.reset();
        Refill();
    });
}

void GeneticsPanel::BuildGeneCatalogue() {
    GeneScanOptions options = GeneScanFor(document_.session());
    QProgressDialog dialog(QStringLiteral("Loading DNA Data"), QStringLiteral("Cancel"), 0, 0, window());
    dialog.setObjectName(QStringLiteral("dlgGeneScan"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    ScanProgress progress(dialog);
    options.progress = &progress;
    options.cancelled = [&dialog] { return dialog.wasCanceled(); };
    context_.status.SetStatus(QStringLiteral("Loading DNA Data"));
    catalogue_ = qh::BuildGeneCatalogue(options);
    dialog.reset();
    context_.status.SetStatus(QString());
    if (!catalogue_->unreadable.empty()) context_.dialogs.reporter().Error(DataReadErrors(*catalogue_));
}

void GeneticsPanel::Fill() {
    if (!catalogue_) BuildGeneCatalogue();
    const Character& sim = *Sim();
    const Workspace& ws = document_.workspace();
    const bool hasPets = HasPets();
    const auto selectors = GeneSelectors();
    for (std::size_t i = 0; i < selectors.size(); ++i) {
        QComboBox* list = selectors_[i];
        list->clear();
        // A cancelled search offers the game's colours alone: a list cut short at some file would
        // look complete.
        const std::vector<GeneEntry> entries =
            GeneEntries(selectors[i].kind, catalogue_->cancelled ? std::span<const GeneMod>() : catalogue_->genes);
        for (const GeneEntry& entry : entries) {
            // The value as bytes, so that what is stored is exactly what the entry stands for.
            list->addItem(EditedText(entry.text), QByteArray::fromStdString(entry.value));  // "* " kept whole
        }
        const std::string value = GeneValue(ws, sim, selectors[i]);
        if (const auto at = GeneEntryOf(entries, value)) {
            list->setCurrentIndex(static_cast<int>(*at));
        } else {
            // A gene of a package no longer installed: shown as it is, and kept until the player
            // picks another.
            list->addItem((catalogue_->cancelled ? QStringLiteral("Custom (search cancelled): ") : QStringLiteral("Not installed: ")) +
                              ShownText(value),
                          QByteArray::fromStdString(value));
            list->setCurrentIndex(list->count() - 1);
        }
        const QString refusal = QString::fromStdString(GeneRefusal(ws, sim, selectors[i], hasPets));
        list->setEnabled(refusal.isEmpty());
        ShowRefusalOrTip(list, refusal);
    }
    const std::size_t custom = catalogue_->genes.size();
    lblGeneScan_->setText(
        catalogue_->cancelled
            ? QStringLiteral("The search for custom genes was cancelled: only the game's own colours are offered. "
                             "\"Search Again\" looks once more.")
            : QStringLiteral("%1 custom gene%2 found in %3 package%4 of Downloads, SavedSims and Teleport.")
                  .arg(custom)
                  .arg(custom == 1 ? QString() : QStringLiteral("s"))
                  .arg(catalogue_->filesSeen)
                  .arg(catalogue_->filesSeen == 1 ? QString() : QStringLiteral("s")));
}

void GeneticsPanel::cbChangeGenes(std::size_t selector, int index) {
    const GeneSelector& chosen = GeneSelectors()[selector];
    const std::string value = selectors_[selector]->itemData(index).toByteArray().toStdString();
    QString what = QString::fromLatin1(chosen.caption);
    what.chop(1);
    std::string refused;
    EditSelected(what.toLower(), [&](Workspace& ws, Character& sim) {
        refused = SetSimGene(ws, sim, chosen, value, HasPets());
    });
    context_.status.SetStatus(QString::fromStdString(refused));
}

}  // namespace qh::app
