#include "app/panels/cloning_panel.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/widgets.h"
#include "platform/errors.h"
#include "platform/file_io.h"
#include "platform/settings.h"

namespace qh::app {

namespace {

const QString kCloneFilter = QStringLiteral("Quillhaven Clone (*.clone)");
const QString kAllFilter = QStringLiteral("All (*.clone *.package)");
const QString kCloneFileFilter = QStringLiteral("Quillhaven Clone File (*.clone)");
const QString kBodyShopFilter = QStringLiteral("Bodyshop Package File (*.package)");

QString Tip(CloneGroup group) {
    switch (group) {
        case CloneGroup::Character: return QStringLiteral("Take the names, description, gender, life stage, age, fitness, walk and attraction to men and women");
        case CloneGroup::Personality: return QStringLiteral("Take the five personality traits, their genetic values and the star sign");
        case CloneGroup::Aspiration: return QStringLiteral("Take the aspirations, the meter, the level and the reward points");
        case CloneGroup::Skills: return QStringLiteral("Take the seven skills and the skills kept as items (parenting, toddler training, and the others)");
        case CloneGroup::Interests: return QStringLiteral("Take the eighteen interests");
        case CloneGroup::Career: return QStringLiteral("Take the career, its level and performance, school and grade, retirement and pension");
        case CloneGroup::Body: return QStringLiteral("Take the body (face, skin, meshes): it replaces the sim's own when you save");
        case CloneGroup::Genes: return QStringLiteral("Take the genes the sim passes on to its children, and its colours");
        case CloneGroup::University: return QStringLiteral("Take the major, class, grades, young adulthood and influence");
        case CloneGroup::Attraction: return QStringLiteral("Take the sim's own traits, turn-ons and turn-offs");
        case CloneGroup::Hobbies: return QStringLiteral("Take the hobby enthusiasm, the talent and the hobby lots joined");
        case CloneGroup::NeedDecay: return QStringLiteral("Take how fast each need falls");
        case CloneGroup::Badges: return QStringLiteral("Take the talent badges and their levels");
    }
    return {};
}

}  // namespace

CloningPanel::CloningPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* layout = new QVBoxLayout(this);
    lblCloneText_ = NamedLabel(this, QStringLiteral("lblCloneText"),
                               QStringLiteral("The Cloning Lab allows you to Clone the attributes of another character. (Direct Clone) It "
                                              "also allows you to import a Clone from an external source (Get A Clone) or to create "
                                              "Clones to share. (Create A Clone)"));
    lblCloneText_->setWordWrap(true);
    layout->addWidget(lblCloneText_);

    auto* middle = new QHBoxLayout;
    imgCloneOld_ = NamedLabel(this, QStringLiteral("imgCloneOld"));
    imgCloneOld_->setFixedSize(128, 128);
    imgCloneOld_->setAlignment(Qt::AlignCenter);
    middle->addWidget(imgCloneOld_, 0, Qt::AlignTop);
    auto* groups = new QGroupBox(QStringLiteral("Attributes to clone"), this);
    groups->setObjectName(QStringLiteral("grpCloneGroups"));
    auto* grid = new QGridLayout(groups);
    int n = 0;
    for (const CloneGroupRow& group : CloneGroupRows()) {
        auto* box = new QCheckBox(QString::fromLatin1(group.caption), groups);
        box->setObjectName(QString::fromLatin1(group.control));
        SetTip(box, Tip(group.group));
        grid->addWidget(box, n % 7, n / 7);
        boxes_.push_back(box);
        ++n;
    }
    ckCloneSetAll_ = new QCheckBox(QStringLiteral("Set All"), groups);
    ckCloneSetAll_->setObjectName(QStringLiteral("ckCloneSetAll"));
    SetTip(ckCloneSetAll_, QStringLiteral("Check every group the installed expansions offer, or clear them all"));
    grid->addWidget(ckCloneSetAll_, 6, 1);
    connect(ckCloneSetAll_, &QCheckBox::clicked, this, [this] { ckCloneSetAllClick(); });
    middle->addWidget(groups, 1);
    layout->addLayout(middle);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const char* name, const char* text, const char* tip, void (CloningPanel::*handler)()) {
        auto* b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        SetTip(b, QString::fromLatin1(tip));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    btnCloneExport_ = button("btnCloneExport", "Create A Clone (Export)",
                             "Write this sim's attributes and body into a clone file to share", &CloningPanel::btnCloneExportClick);
    btnCloneImport_ = button("btnCloneImport", "Get A Clone (Import)",
                             "Give this sim the checked attributes of a clone file, or the body of a Body Shop sim",
                             &CloningPanel::btnCloneImportClick);
    btnCloneGet_ = button("btnCloneGet", "Direct Clone (Copy)",
                          "Give this sim the checked attributes of another sim of the neighborhood", &CloningPanel::btnCloneGetClick);
    layout->addLayout(buttons);
    lblPreviousClone_ = NamedLabel(this, QStringLiteral("lblPreviousClone"));
    lblPreviousClone_->setWordWrap(true);
    layout->addWidget(lblPreviousClone_);
    layout->addStretch();
}

void CloningPanel::Fill() {
    const Character& sim = *Sim();
    const GameEnvironment& env = document_.session().env;
    const auto rows = CloneGroupRows();
    for (std::size_t i = 0; i < rows.size(); ++i) boxes_[i]->setVisible(rows[i].shown(env));
    // A newly shown sim starts from Body and Genes, as the panel opens; a refill after an edit
    // keeps what the player checked.
    if (filledFor_ != SimIndex()) {
        filledFor_ = SimIndex();
        const CloneGroups defaults = DefaultCloneGroups();
        for (std::size_t i = 0; i < rows.size(); ++i) boxes_[i]->setChecked(defaults.Has(rows[i].group));
        ckCloneSetAll_->setChecked(false);
    }
    imgCloneOld_->setPixmap(context_.pictures.SimPicture(sim, 128));
    imgCloneOld_->setToolTip(context_.pictures.SimEntryText(sim));
    const CloningStatus status = CloningStatusOf(document_.workspace(), sim, env);
    btnCloneExport_->setEnabled(status.canExport);
    btnCloneImport_->setEnabled(status.canImport);
    btnCloneGet_->setEnabled(status.canCopy);
    const QString why = QString::fromStdString(status.text);
    ShowRefusalOrTip(btnCloneExport_, status.canExport ? QString() : why);
    ShowRefusalOrTip(btnCloneImport_, status.canImport ? QString() : why);
    ShowRefusalOrTip(btnCloneGet_, status.canCopy ? QString() : why);
    lblPreviousClone_->setText(why);
    QFont font = lblPreviousClone_->font();
    font.setBold(status.bold);
    lblPreviousClone_->setFont(font);
    lblPreviousClone_->setVisible(!why.isEmpty());
}

CloneGroups CloningPanel::Checked() const {
    CloneGroups groups;
    const auto rows = CloneGroupRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        // A box hidden for the installed expansions is never taken, even when it was checked.
        groups.Set(rows[i].group, boxes_[i]->isChecked() && !boxes_[i]->isHidden());
    }
    return groups;
}

void CloningPanel::ckCloneSetAllClick() {
    if (Filling()) return;
    const bool on = ckCloneSetAll_->isChecked();
    const CloneGroups shown = AllShownCloneGroups(document_.session().env);
    const auto rows = CloneGroupRows();
    for (std::size_t i = 0; i < rows.size(); ++i) boxes_[i]->setChecked(on && shown.Has(rows[i].group));
}

QString CloningPanel::StartFolder() {
    GameSession& session = document_.session();
    const std::string remembered = session.settings->ClonePath();
    std::error_code error;
    if (!remembered.empty() && std::filesystem::is_directory(std::filesystem::u8path(remembered), error)) {
        return QString::fromStdString(remembered);
    }
    if (!session.personalFolder) return {};
    const std::filesystem::path clones = *session.personalFolder / "Bramblesoft" / "Clones";
    std::filesystem::create_directories(clones, error);
    return QString::fromStdString(clones.string());
}

void CloningPanel::RememberFolder(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    document_.session().settings->SetClonePath((folder + QDir::separator()).toStdString());
}

void CloningPanel::btnCloneExportClick() {
    const Character* sim = Sim();
    if (!sim) return;
    QFileDialog dialog(this, QStringLiteral("Create A Clone"), StartFolder(), kCloneFilter);
    dialog.setObjectName(QStringLiteral("dlgCloneExport"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, in the program's words
    dialog.setDefaultSuffix(QStringLiteral("clone"));
    dialog.selectFile(QString::fromStdString(CloneFileName(*sim)));
    if (!context_.dialogs.asker().Run(dialog) || dialog.selectedFiles().isEmpty()) return;
    QString file = dialog.selectedFiles().front();
    RememberFolder(file);
    if (!file.endsWith(QStringLiteral(".clone"), Qt::CaseInsensitive)) file += QStringLiteral(".clone");
    if (QFileInfo::exists(file) &&
        !context_.dialogs.asker().AskOkCancel(QLatin1Char('"') + QFileInfo(file).fileName() +
                                              QStringLiteral("\" already exists, Do you wish to replace this file?"))) {
        return;
    }
    Reporter& reporter = context_.dialogs.reporter();
    try {
        const Bytes bytes = MakeCloneFile(document_.workspace(), *sim, document_.session().env, reporter);
        AtomicReplace(std::filesystem::u8path(file.toStdString()), bytes);
    } catch (const std::exception& error) {
        reporter.Error("No clone was made: " + Explain(error));
        return;
    }
    reporter.Info("Create A Clone successful,\r\rFile saved to: " + QFileInfo(file).absoluteFilePath().toStdString());
}

void CloningPanel::ApplyClone(const QString& what, const std::function<CloneResult(Workspace&, Character&)>& clone) {
    CloneResult result;
    EditSelected(what, [&](Workspace& ws, Character& sim) { result = clone(ws, sim); });
    Reporter& reporter = context_.dialogs.reporter();
    if (!result.refusal.empty()) {
        reporter.Error(result.refusal);
        return;
    }
    if (!result.notes.empty()) {
        std::string text = "Passed over:";
        for (const std::string& note : result.notes) text += "\r\n" + note;
        reporter.Warning(text);
    }
    reporter.Info(result.message);
    Refill();
}

void CloningPanel::btnCloneImportClick() {
    if (!Sim()) return;
    QFileDialog dialog(this, QStringLiteral("Get A Clone"), StartFolder());
    dialog.setObjectName(QStringLiteral("dlgCloneImport"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({kAllFilter, kCloneFileFilter, kBodyShopFilter});
    dialog.selectNameFilter(kCloneFileFilter);
    if (!context_.dialogs.asker().Run(dialog) || dialog.selectedFiles().isEmpty()) return;
    const QString file = dialog.selectedFiles().front();
    RememberFolder(file);
    CloneSource source;
    try {
        source = ReadCloneSource(std::filesystem::u8path(file.toStdString()), context_.dialogs.reporter());
    } catch (const std::exception& error) {
        const std::string why = Explain(error);
        // The game's own words for a package without a body; the file named for anything else.
        context_.dialogs.reporter().Error(why.rfind(std::string(kNotBodyShopPackage), 0) == 0
                                              ? why
                                              : QFileInfo(file).fileName().toStdString() + ": " + why);
        return;
    }
    const CloneGroups groups = Checked();
    ApplyClone(QStringLiteral("clone import"), [&](Workspace& ws, Character& sim) {
        return ImportClone(ws, sim, source, groups, document_.session().env);
    });
}

void CloningPanel::btnCloneGetClick() {
    const Character* sim = Sim();
    if (!sim) return;
    SimPick pick;
    pick.caption = QStringLiteral("Choose Clone Character");
    pick.text = QStringLiteral("Choose a Clone Character from the selection box above and then select OK to copy the selected "
                               "clone attributes from that character to the selected character.");
    pick.helpTopic = 3184;
    pick.sims = DirectCloneSources(document_.workspace(), *sim);
    if (!pick.sims.empty()) pick.preselected = pick.sims.front();
    const auto chosen = context_.dialogs.PickSim(pick);
    if (!chosen) return;
    const CloneGroups groups = Checked();
    const std::size_t from = *chosen;
    ApplyClone(QStringLiteral("direct clone"), [&](Workspace& ws, Character& target) {
        return CopyClone(ws, target, ws.characters[from], groups, document_.session().env);
    });
}

}  // namespace qh::app
