#include "app/panels/career_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>

#include "app/images.h"
#include "app/widgets.h"
#include "career/career_rules.h"
#include "workspace/lots_objects.h"

namespace qh::app {

namespace {

QLabel* Caption(QWidget* parent, const char* name, const char* text) {
    return NamedLabel(parent, QString::fromLatin1(name), QString::fromLatin1(text));
}

QComboBox* List(QWidget* parent, const char* name, const char* tip) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setMinimumWidth(380);  // "Owned Business (stored; not offered to this sim)" whole
    list->setToolTip(QString::fromLatin1(tip));
    return list;
}

QLineEdit* Box(QWidget* parent, const char* name, const char* tip) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaximumWidth(90);
    box->setToolTip(QString::fromLatin1(tip));
    return box;
}

// The entry of a list whose data is `key`. A stored key the list does not offer (a career of an
// expansion not installed, of another band, or one the table does not know) gets an entry of its
// own at the end, saying so: the list shows what is stored, never "Unemployed" in its place.
int EntryOf(QComboBox* list, const QString& key) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemData(i).toString() == key) return i;
    }
    const Career* career = Careers().Find(key.toStdString());
    list->addItem(career ? ShownText(career->name) + QStringLiteral(" (stored; not offered to this sim)")
                         : QStringLiteral("Unknown career ") + key,
                  key);
    return list->count() - 1;
}

void FillTitles(QComboBox* list, const std::string& key) {
    list->clear();
    for (const std::string& title : CareerJobTitles(key)) list->addItem(ShownText(title));
}

}  // namespace

CareerPanel::CareerPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    int line = 0;
    lblCareer_ = Caption(this, "lblCareer", "Career:");
    cbCareer_ = List(this, "cbCareer", "The sim's career (the careers its life stage, species and the expansions allow)");
    grid->addWidget(lblCareer_, line, 0);
    grid->addWidget(cbCareer_, line++, 1, 1, 2);
    lblJob_ = Caption(this, "lblJob", "Job:");
    cbJobs_ = List(this, "cbJobs", "The sim's level in its career, by its job title");
    grid->addWidget(lblJob_, line, 0);
    grid->addWidget(cbJobs_, line++, 1, 1, 2);
    lblHours_ = NamedLabel(this, QStringLiteral("lblHours"));
    lblSalary_ = NamedLabel(this, QStringLiteral("lblSalary"));
    grid->addWidget(lblHours_, line, 1);
    grid->addWidget(lblSalary_, line++, 2);
    lblWorkDays_ = Caption(this, "lblWorkDays", "Working Days:");
    auto* days = new QGridLayout;
    static constexpr const char* kLetters[7] = {"S", "M", "T", "W", "T", "F", "S"};
    static constexpr const char* kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    for (int d = 0; d < 7; ++d) {
        dayLetters_[d] = NamedLabel(this, QStringLiteral("lbl") + QString::fromLatin1(kDays[d]), QString::fromLatin1(kLetters[d]));
        dayLetters_[d]->setAlignment(Qt::AlignCenter);
        dayMarks_[d] = NamedLabel(this, QStringLiteral("imgCk") + QString::fromLatin1(kDays[d]));
        dayMarks_[d]->setAlignment(Qt::AlignCenter);
        dayMarks_[d]->setFixedSize(16, 16);
        days->addWidget(dayLetters_[d], 0, d);
        days->addWidget(dayMarks_[d], 1, d);
    }
    grid->addWidget(lblWorkDays_, line, 0);
    grid->addLayout(days, line++, 1, 1, 2, Qt::AlignLeft);
    lblJobPerformance_ = NamedLabel(this, QStringLiteral("lblJobPerformance"));
    trkJobPerformance_ = NamedSlider(this, QStringLiteral("trkJobPerformance"), kPerformanceLow, kPerformanceHigh);
    SetTip(trkJobPerformance_, QStringLiteral("How well the sim does at work, from -100 to 100"));
    grid->addWidget(lblJobPerformance_, line, 0);
    grid->addWidget(trkJobPerformance_, line++, 1, 1, 2);
    lblRetCareer_ = Caption(this, "lblRetCareer", "Retired Career:");
    cbRetCareer_ = List(this, "cbRetCareer", "The career the elder retired from, which pays its pension");
    grid->addWidget(lblRetCareer_, line, 0);
    grid->addWidget(cbRetCareer_, line++, 1, 1, 2);
    lblRetJob_ = Caption(this, "lblRetJob", "Retired Job:");
    cbRetJobs_ = List(this, "cbRetJobs", "The level the elder retired at");
    grid->addWidget(lblRetJob_, line, 0);
    grid->addWidget(cbRetJobs_, line++, 1, 1, 2);
    lblPension_ = Caption(this, "lblPension", "Pension:");
    edtPension_ = Box(this, "edtPension", "The pension the sim is paid each day, in simoleons");
    grid->addWidget(lblPension_, line, 0);
    grid->addWidget(edtPension_, line++, 1);
    lblPTO_ = Caption(this, "lblPTO", "Vacation Days:");
    edtPTO_ = Box(this, "edtPTO", "The vacation days the sim has saved, such as 2.5");
    grid->addWidget(lblPTO_, line, 0);
    grid->addWidget(edtPTO_, line++, 1);
    lblNPCType_ = Caption(this, "lblNPCType", "NPC Type:");
    cbNPCType_ = List(this, "cbNPCType", "The part the game gives the sim when it is not played (advanced mode)");
    grid->addWidget(lblNPCType_, line, 0);
    grid->addWidget(cbNPCType_, line++, 1, 1, 2);
    lblCurrentAssignment_ = NamedLabel(this, QStringLiteral("lblCurrentAssignment"));
    lblJobLotName_ = NamedLabel(this, QStringLiteral("lblJobLotName"));
    grid->addWidget(lblCurrentAssignment_, line++, 1, 1, 2);
    grid->addWidget(lblJobLotName_, line++, 1, 1, 2);
    lblLotJobFlags_ = NamedLabel(this, QStringLiteral("lblLotJobFlags"));
    lblJobData_ = NamedLabel(this, QStringLiteral("lblJobData"));
    lblLotJobFlags_->hide();
    lblJobData_->hide();
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(line, 1);

    connect(cbCareer_, &QComboBox::activated, this, [this](int index) { cbCareerChange(index); });
    connect(cbJobs_, &QComboBox::activated, this, [this](int index) { cbJobsChange(index); });
    connect(cbRetCareer_, &QComboBox::activated, this, [this](int index) { cbRetCareerChange(index); });
    connect(cbRetJobs_, &QComboBox::activated, this, [this](int index) { cbRetJobsChange(index); });
    connect(trkJobPerformance_, &QSlider::valueChanged, this, [this](int value) { trkJobPerformanceChange(value); });
    connect(edtPension_, &QLineEdit::textEdited, this, [this] { edtPensionKeyUp(); });
    connect(edtPTO_, &QLineEdit::textEdited, this, [this] { edtPTOKeyUp(); });
    connect(cbNPCType_, &QComboBox::activated, this, [this](int index) { cbNPCTypeChange(index); });
}

void CareerPanel::Say(const QString& message) { context_.dialogs.reporter().Info(message.toStdString()); }

void CareerPanel::AdvancedChanged() { cbNPCType_->setEnabled(context_.view.Advanced()); }

void CareerPanel::Fill() {
    const Character& sim = *Sim();
    const int stage = sim.lifeStage;
    const ExpansionFlags flags = InstalledExpansions(document_.session().env);
    for (QWidget* control : findChildren<QWidget*>()) control->hide();
    for (QComboBox* list : {cbCareer_, cbJobs_, cbRetCareer_, cbRetJobs_, cbNPCType_}) list->clear();
    for (QLabel* label : {lblHours_, lblSalary_, lblCurrentAssignment_, lblJobLotName_, lblLotJobFlags_, lblJobData_}) {
        label->clear();
    }
    const QPixmap tick = context_.pictures.images().Picture(QStringLiteral("IMGCheck"));
    for (QLabel* mark : dayMarks_) mark->setPixmap(tick);

    edtPension_->setText(QString::number(sim.pension));
    edtPTO_->setText(QString::fromStdString(VacationText(sim.pto)));
    for (QWidget* control : std::initializer_list<QWidget*>{lblPension_, edtPension_}) control->setVisible(stage > 16);
    for (QWidget* control : std::initializer_list<QWidget*>{lblPTO_, edtPTO_}) control->setVisible(stage > 3);
    const bool working = stage == 16 || stage == 19 || stage == 51;
    if (working) {
        for (const auto& [name, key] : CareerChoices(stage, sim.species, flags)) {
            cbCareer_->addItem(ShownText(name), QString::fromStdString(key));
        }
        for (QWidget* control : std::initializer_list<QWidget*>{lblCareer_, cbCareer_, lblJob_, cbJobs_, lblNPCType_,
                                                                cbNPCType_, lblJobPerformance_, trkJobPerformance_,
                                                                lblHours_, lblSalary_, lblWorkDays_}) {
            control->show();
        }
        for (QLabel* letter : dayLetters_) letter->show();
        // A stored value beyond the slider's range shows at its end; the label says what is stored.
        trkJobPerformance_->setValue(std::clamp<int>(sim.performance, kPerformanceLow, kPerformanceHigh));
        lblJobPerformance_->setText(QStringLiteral("Performance: (%1)").arg(sim.performance));
    }
    if (stage == 51) {
        for (const auto& [name, key] : RetiredCareerChoices(stage, sim.species, flags)) {
            cbRetCareer_->addItem(ShownText(name), QString::fromStdString(key));
        }
        for (QWidget* control : std::initializer_list<QWidget*>{lblRetCareer_, cbRetCareer_, lblRetJob_, cbRetJobs_}) {
            control->show();
        }
    }
    AdvancedChanged();
    if (!working) return;

    if (stage == 51) {
        const std::string retired = RetiredCareerKeyOf(sim);
        cbRetCareer_->setCurrentIndex(EntryOf(cbRetCareer_, QString::fromStdString(retired)));
        FillTitles(cbRetJobs_, retired);
        if (retired == kOwnedBusinessKey) ShowAssignment(sim);
        // A stored level the titles do not reach selects nothing, and stays as stored.
        cbRetJobs_->setCurrentIndex(sim.retiredJobLevel < cbRetJobs_->count() ? sim.retiredJobLevel : -1);
    }

    const std::string key = CareerKeyOf(sim);
    cbCareer_->setCurrentIndex(EntryOf(cbCareer_, QString::fromStdString(key)));
    FillTitles(cbJobs_, key);
    if (key != kNoCareerKey && !Careers().Find(key)) {
        Say(QStringLiteral("Unknown Job/Career: %1 Lvl=%2").arg(QString::fromStdString(key)).arg(sim.jobLevel));
    }
    if (IsOwnedBusiness(key)) ShowAssignment(sim);
    cbJobs_->setCurrentIndex(sim.jobLevel >= 0 && sim.jobLevel < cbJobs_->count() ? sim.jobLevel : -1);
    ShowSchedule(cbJobs_->currentIndex());
    lblJobData_->setText(QString::fromStdString(key));

    lblNPCType_->setText(QStringLiteral("NPC Type:"));
    int npc = -1;
    for (const auto& [id, name] : NpcTypeChoices(flags)) {
        cbNPCType_->addItem(ShownText(name), id);
        if (id == sim.npcType) npc = cbNPCType_->count() - 1;
    }
    if (npc < 0) {
        npc = 0;  // "NA"
        const QString unknown = QStringLiteral("Unknown NPC:( %1 )").arg(sim.npcType);
        lblNPCType_->setText(unknown);
        Say(unknown);
    }
    cbNPCType_->setCurrentIndex(npc);
}

void CareerPanel::ShowAssignment(const Character& sim) {
    if (const auto text = LotJobAssignmentText(sim.businessAssignment)) {
        lblCurrentAssignment_->setText(QString::fromStdString(*text));
    } else {
        Say(QStringLiteral("Unknown Lot Job Assignment: %1").arg(sim.businessAssignment));
    }
    lblCurrentAssignment_->show();
    if (const auto name = BusinessLotName(document_.workspace().lotDescList, sim.businessLot)) {
        lblJobLotName_->setText(QStringLiteral("Business Name: ") + ShownText(*name));
    }
    lblJobLotName_->show();
    lblLotJobFlags_->setText(QString::number(sim.businessJobFlags));
}

void CareerPanel::ShowSchedule(int level) {
    lblHours_->clear();
    lblSalary_->clear();
    for (QLabel* mark : dayMarks_) mark->hide();
    const Character* sim = Sim();
    if (!sim || level < 0) return;
    // The schedule follows the career chosen in the list, not a stored key the list lacks.
    const std::string key = cbCareer_->currentData().toString().toStdString();
    const CareerLevel schedule = CareerLevelSchedule(key, level, sim->businessRank);
    lblHours_->setText(QString::fromStdString(schedule.hours));
    lblSalary_->setText(QString::fromStdString(schedule.salary));
    for (int d = 0; d < 7; ++d) dayMarks_[d]->setVisible(schedule.days[d]);
}

void CareerPanel::cbCareerChange(int index) {
    const std::string key = cbCareer_->itemData(index).toString().toStdString();
    EditSelected(QStringLiteral("career"), [&](Workspace&, Character& sim) { ChangeCareer(sim, key); });
    Refill();
}

void CareerPanel::cbJobsChange(int index) {
    EditSelected(QStringLiteral("job level"), [&](Workspace&, Character& sim) { SetJobLevel(sim, index); });
    ShowSchedule(index);
}

void CareerPanel::cbRetCareerChange(int index) {
    const std::string key = cbRetCareer_->itemData(index).toString().toStdString();
    EditSelected(QStringLiteral("retired career"), [&](Workspace&, Character& sim) { ChangeRetiredCareer(sim, key); });
    Refill();
}

void CareerPanel::cbRetJobsChange(int index) {
    EditSelected(QStringLiteral("retired job level"), [&](Workspace&, Character& sim) { SetRetiredJobLevel(sim, index); });
}

void CareerPanel::trkJobPerformanceChange(int value) {
    if (Filling()) return;
    lblJobPerformance_->setText(QStringLiteral("Performance: (%1)").arg(value));
    EditSelected(QStringLiteral("performance"), [&](Workspace&, Character& sim) { SetPerformance(sim, value); },
                 QStringLiteral("performance"));
}

void CareerPanel::edtPensionKeyUp() {
    const Character* sim = Sim();
    if (Filling() || !sim) return;
    const int caret = edtPension_->cursorPosition();
    const std::string cleaned = CleanDigits(edtPension_->text().toStdString(), false);
    const auto pension = PensionFromText(cleaned);
    if (!pension) {
        // More than the description's word holds: the stored value stays, and is shown again.
        context_.status.SetStatus(QStringLiteral("The pension must be from 0 to 32767."));
        edtPension_->setText(QString::number(sim->pension));
        return;
    }
    edtPension_->setText(QString::fromStdString(cleaned));
    edtPension_->setCursorPosition(caret);
    EditSelected(QStringLiteral("pension"), [&](Workspace&, Character& s) { SetPension(s, *pension); },
                 QStringLiteral("pension"));
}

void CareerPanel::edtPTOKeyUp() {
    const Character* sim = Sim();
    if (Filling() || !sim) return;
    const int caret = edtPTO_->cursorPosition();
    const std::string cleaned = CleanDigits(edtPTO_->text().toStdString(), true);
    const auto days = VacationFromText(cleaned);
    if (!days) {
        // Not one number of days (empty, two points, too many decimals, too many days): the
        // stored value stays, and is shown again.
        edtPTO_->setText(QString::fromStdString(VacationText(sim->pto)));
        return;
    }
    edtPTO_->setText(QString::fromStdString(cleaned));
    edtPTO_->setCursorPosition(caret);
    EditSelected(QStringLiteral("vacation days"), [&](Workspace&, Character& s) { SetVacation(s, *days); },
                 QStringLiteral("vacation days"));
}

void CareerPanel::cbNPCTypeChange(int index) {
    const int id = cbNPCType_->itemData(index).toInt();
    EditSelected(QStringLiteral("NPC type"), [&](Workspace&, Character& sim) { SetNpcType(sim, id); });
    lblNPCType_->setText(QStringLiteral("NPC Type:"));
}

}  // namespace qh::app
