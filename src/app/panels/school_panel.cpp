#include "app/panels/school_panel.h"

#include <QGridLayout>
#include <algorithm>

#include "app/widgets.h"
#include "character/character_rules.h"
#include "career/career_rules.h"
#include "career/education.h"

namespace qh::app {

namespace {

QComboBox* List(QWidget* parent, const char* name, const char* tip) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setMinimumWidth(320);
    SetTip(list, QString::fromLatin1(tip));
    return list;
}

QString Caption(const QSlider* slider, int value) {
    const QString name = slider->objectName();
    if (name == QStringLiteral("trkClassPerformance")) return QStringLiteral("Class Performance: (%1)").arg(value);
    if (name == QStringLiteral("trkGPA")) return QStringLiteral("GPA: (%1)").arg(QString::fromStdString(GpaText(value)));
    if (name == QStringLiteral("trkGradePeriod")) return QStringLiteral("Remaining Hours: (%1)").arg(value);
    return QStringLiteral("Performance: (%1)").arg(value);
}

}  // namespace

SchoolPanel::SchoolPanel(Document& document, PanelContext& context, const PanelRow& row) : Panel(document, context, row) {
    auto* grid = new QGridLayout(this);
    int line = 0;
    lblSchool_ = NamedLabel(this, QStringLiteral("lblSchool"), QStringLiteral("School:"));
    cbSchool_ = List(this, "cbSchool", "The school the child or teen attends");
    grid->addWidget(lblSchool_, line, 0);
    grid->addWidget(cbSchool_, line++, 1);
    lblGrade_ = NamedLabel(this, QStringLiteral("lblGrade"), QStringLiteral("Grade:"));
    cbGrade_ = List(this, "cbGrade", "The child's or teen's report card grade");
    grid->addWidget(lblGrade_, line, 0);
    grid->addWidget(cbGrade_, line++, 1);
    lblSchoolNote_ = NamedLabel(this, QStringLiteral("lblSchoolNote"));
    lblSchoolNote_->setWordWrap(true);
    grid->addWidget(lblSchoolNote_, line++, 1);
    lblSchoolPerformance_ = NamedLabel(this, QStringLiteral("lblSchoolPerformance"));
    trkSchoolPerformance_ = NamedSlider(this, QStringLiteral("trkSchoolPerformance"), kPerformanceLow, kPerformanceHigh);
    SetTip(trkSchoolPerformance_, QStringLiteral("How well the sim does at school, from -100 to 100 (the job performance too)"));
    grid->addWidget(lblSchoolPerformance_, line, 0);
    grid->addWidget(trkSchoolPerformance_, line++, 1);

    lblUniversityMajor_ = NamedLabel(this, QStringLiteral("lblUniversityMajor"), QStringLiteral("University Major:"));
    cbUniversityMajor_ = List(this, "cbUniversityMajor", "The sim's university major");
    grid->addWidget(lblUniversityMajor_, line, 0);
    grid->addWidget(cbUniversityMajor_, line++, 1);
    lblUniversityClass_ = NamedLabel(this, QStringLiteral("lblUniversityClass"), QStringLiteral("University Class:"));
    cbUniversityClass_ = List(this, "cbUniversityClass", "The class (semester) the sim takes in its major (advanced mode)");
    grid->addWidget(lblUniversityClass_, line, 0);
    grid->addWidget(cbUniversityClass_, line++, 1);
    lblUniversityYear_ = NamedLabel(this, QStringLiteral("lblUniversityYear"));
    lblClassHours_ = NamedLabel(this, QStringLiteral("lblClassHours"));
    grid->addWidget(lblUniversityYear_, line++, 1);
    grid->addWidget(lblClassHours_, line++, 1);
    auto slider = [&](QLabel*& label, QSlider*& bar, const char* name, int high, const char* tip) {
        label = NamedLabel(this, QStringLiteral("lbl") + QString::fromLatin1(name).mid(3));
        bar = NamedSlider(this, QString::fromLatin1(name), 0, high);
        SetTip(bar, QString::fromLatin1(tip));
        grid->addWidget(label, line, 0);
        grid->addWidget(bar, line++, 1);
        connect(bar, &QSlider::valueChanged, this, [this, bar](int value) { SliderChange(bar, value); });
    };
    slider(lblClassPerformance_, trkClassPerformance_, "trkClassPerformance", 1000,
           "How well the young adult does in class, 0 to 1000");
    slider(lblGPA_, trkGPA_, "trkGPA", 1000, "The young adult's grade point average, 0 to 4 (stored as 0 to 1000)");
    slider(lblGradePeriod_, trkGradePeriod_, "trkGradePeriod", 72, "The hours left in the grade period, 0 to 72");
    lblNothing_ = NamedLabel(this, QStringLiteral("lblNoSchool"));
    lblNothing_->setWordWrap(true);
    grid->addWidget(lblNothing_, line++, 0, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(line, 1);

    connect(cbSchool_, &QComboBox::activated, this, [this](int index) { cbSchoolChange(index); });
    connect(cbGrade_, &QComboBox::activated, this, [this](int index) { cbGradeChange(index); });
    connect(trkSchoolPerformance_, &QSlider::valueChanged, this, [this](int value) { trkSchoolPerformanceChange(value); });
    connect(cbUniversityMajor_, &QComboBox::activated, this, [this](int index) { cbUniversityMajorChange(index); });
    connect(cbUniversityClass_, &QComboBox::activated, this, [this](int index) { cbUniversityClassChange(index); });
}

void SchoolPanel::AdvancedChanged() {
    cbUniversityClass_->setEnabled(
        UniversityClassEditable(InstalledExpansions(document_.session().env), context_.view.Advanced()));
}

void SchoolPanel::Fill() {
    const Character& sim = *Sim();
    const ExpansionFlags flags = InstalledExpansions(document_.session().env);
    for (QWidget* control : findChildren<QWidget*>()) control->hide();
    for (QComboBox* list : {cbSchool_, cbGrade_, cbUniversityMajor_, cbUniversityClass_}) list->clear();
    for (QLabel* label : {lblSchoolNote_, lblUniversityYear_, lblClassHours_, lblNothing_}) label->clear();

    if (AttendsSchool(sim)) {
        for (const School& school : Schools()) cbSchool_->addItem(QString::fromLatin1(school.name), QString::fromLatin1(school.key));
        for (const char* grade : SchoolGrades()) cbGrade_->addItem(QString::fromLatin1(grade));
        const ShownSchooling shown = ShownSchool(sim);
        const int school = std::max(0, cbSchool_->findData(QString::fromStdString(shown.key)));
        cbGrade_->setCurrentIndex(shown.grade - 1);  // no entry for 0
        if (shown.isDefault) {
            // The game's default, stored only when the player picks a school or a grade.
            lblSchoolNote_->setText(QStringLiteral("No school is stored for this sim; the game's default is shown."));
            lblSchoolNote_->show();
        }
        cbSchool_->setCurrentIndex(school);
        trkSchoolPerformance_->setValue(std::clamp<int>(sim.performance, kPerformanceLow, kPerformanceHigh));
        lblSchoolPerformance_->setText(QStringLiteral("Performance: (%1)").arg(sim.performance));
        for (QWidget* control : std::initializer_list<QWidget*>{lblSchool_, cbSchool_, lblGrade_, cbGrade_,
                                                                lblSchoolPerformance_, trkSchoolPerformance_}) {
            control->show();
        }
    }
    if (StudiesAtUniversity(sim, flags)) {
        for (const Major& major : Majors()) cbUniversityMajor_->addItem(QString::fromLatin1(major.name), QString::fromLatin1(major.key));
        const std::string key = GuidKey(sim.universityMajorGuid);
        int major = 0;
        for (int i = 0; i < cbUniversityMajor_->count(); ++i) {
            if (cbUniversityMajor_->itemData(i).toString().toStdString() == key) major = i;
        }
        cbUniversityMajor_->setCurrentIndex(major);
        for (const std::string& title : MajorClasses(key)) cbUniversityClass_->addItem(ShownText(title));
        for (QWidget* control : std::initializer_list<QWidget*>{lblUniversityMajor_, cbUniversityMajor_, lblUniversityClass_,
                                                                cbUniversityClass_, lblUniversityYear_, lblClassHours_}) {
            control->show();
        }
        ShowClass(sim);
        if (HasUniversitySliders(sim)) {
            // A stored value beyond a slider shows at its end; the caption says what is stored.
            const std::pair<QSlider*, int> values[] = {
                {trkClassPerformance_, sim.classPerformance}, {trkGPA_, sim.gpa}, {trkGradePeriod_, sim.remainingHours}};
            for (const auto& [bar, value] : values) {
                bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
                bar->show();
            }
            lblClassPerformance_->setText(Caption(trkClassPerformance_, sim.classPerformance));
            lblGPA_->setText(Caption(trkGPA_, sim.gpa));
            lblGradePeriod_->setText(Caption(trkGradePeriod_, sim.remainingHours));
            for (QLabel* label : {lblClassPerformance_, lblGPA_, lblGradePeriod_}) label->show();
        }
    }
    if (!AttendsSchool(sim) && !StudiesAtUniversity(sim, flags)) {
        lblNothing_->setText(!HasDescription(sim) ? QString::fromStdString(NoDescriptionRefusal(sim))
                             : sim.lifeStage > 16 && !flags.university
                                 ? QStringLiteral("University studies come with University, which is not installed.")
                                 : QStringLiteral("This sim does not go to school."));
        lblNothing_->show();
    }
    AdvancedChanged();
}

// The class shown as stored; a class the list does not have selects nothing and stays as stored.
void SchoolPanel::ShowClass(const Character& sim) {
    const std::string key = GuidKey(sim.universityMajorGuid);
    const int stored = sim.universityClass;
    cbUniversityClass_->setCurrentIndex(stored >= 1 && stored <= cbUniversityClass_->count() ? stored - 1 : -1);
    lblClassHours_->setText(QString::fromStdString(ClassHoursText(key, stored)));
    lblUniversityYear_->setText(QString::fromStdString(UniversityYear(key, stored)));
}

void SchoolPanel::cbSchoolChange(int index) {
    const std::string key = cbSchool_->itemData(index).toString().toStdString();
    EditSelected(QStringLiteral("school"), [&](Workspace&, Character& sim) { SetSchool(sim, key); });
    Refill();
}

void SchoolPanel::cbGradeChange(int index) {
    EditSelected(QStringLiteral("school grade"), [&](Workspace&, Character& sim) { SetSchoolGrade(sim, index + 1); });
    Refill();
}

void SchoolPanel::trkSchoolPerformanceChange(int value) {
    if (Filling()) return;
    lblSchoolPerformance_->setText(QStringLiteral("Performance: (%1)").arg(value));
    EditSelected(QStringLiteral("school performance"), [&](Workspace&, Character& sim) { SetPerformance(sim, value); },
                 QStringLiteral("performance"));
}

void SchoolPanel::cbUniversityMajorChange(int index) {
    const std::string key = cbUniversityMajor_->itemData(index).toString().toStdString();
    EditSelected(QStringLiteral("university major"), [&](Workspace&, Character& sim) { SetMajor(sim, key); });
    Refill();
}

void SchoolPanel::cbUniversityClassChange(int index) {
    EditSelected(QStringLiteral("university class"), [&](Workspace&, Character& sim) { SetUniversityClass(sim, index + 1); });
    if (const Character* sim = Sim()) ShowClass(*sim);
}

void SchoolPanel::SliderChange(QSlider* slider, int value) {
    if (Filling()) return;
    if (slider == trkClassPerformance_) {
        lblClassPerformance_->setText(Caption(slider, value));
        EditSelected(QStringLiteral("class performance"), [&](Workspace&, Character& sim) { SetClassPerformance(sim, value); },
                     slider->objectName());
    } else if (slider == trkGPA_) {
        lblGPA_->setText(Caption(slider, value));
        EditSelected(QStringLiteral("GPA"), [&](Workspace&, Character& sim) { SetGpa(sim, value); }, slider->objectName());
    } else {
        lblGradePeriod_->setText(Caption(slider, value));
        EditSelected(QStringLiteral("remaining hours"), [&](Workspace&, Character& sim) { SetRemainingHours(sim, value); },
                     slider->objectName());
    }
}

}  // namespace qh::app
