// The School panel driven through its widgets on the demo valley: Lily (a child at Private
// School, A), Pablo (a teen with no school stored), Ana (a young adult reading Physics), Owen (an
// adult with Art), Marta (an adult without studies).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QSlider>

#include "app/ui_session.h"

namespace qh::app {
namespace {

TEST(SchoolPanel, PupilsKeepTheirGradeAcrossASchoolChangeAndTheDefaultIsStoredOnlyWhenChosen) {
    Session s;
    s.Choose("N001_User00002.package");  // Lily
    s.Click("btnSchool");
    EXPECT_EQ(s.Find<QComboBox>("cbSchool")->currentText(), QStringLiteral("Private School"));
    EXPECT_EQ(s.Find<QComboBox>("cbGrade")->currentText(), QStringLiteral("A"));
    EXPECT_FALSE(s.Shown(s.Find<QComboBox>("cbUniversityMajor")));
    PickEntry(s.Find<QComboBox>("cbSchool"), QStringLiteral("Public School"));
    const Character& lily = s.SimOf("N001_User00002.package");
    EXPECT_EQ(GuidKey(lily.schoolGuid), "B58867D0");
    EXPECT_EQ(lily.schoolGrade, 12);
    s.Find<QSlider>("trkSchoolPerformance")->setValue(40);
    EXPECT_EQ(lily.performance, 40) << "the school performance is the job performance's field";

    // Pablo: nothing stored; the game's default is shown, and nothing is written by showing it.
    s.Choose("N001_User00013.package");
    s.Settle();
    const Character& pablo = s.SimOf("N001_User00013.package");
    EXPECT_EQ(s.Find<QComboBox>("cbSchool")->currentText(), QStringLiteral("Public School"));
    EXPECT_EQ(s.Find<QComboBox>("cbGrade")->currentText(), QStringLiteral("B"));
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblSchoolNote")));
    EXPECT_EQ(GuidKey(pablo.schoolGuid), "00000000");
    EXPECT_EQ(pablo.dirty, 0);
    PickEntry(s.Find<QComboBox>("cbGrade"), QStringLiteral("C+"));
    EXPECT_EQ(GuidKey(pablo.schoolGuid), "B58867D0") << "the school shown is stored with the grade";
    EXPECT_EQ(pablo.schoolGrade, 7);
}

TEST(SchoolPanel, UniversityShowsTheClassYearAndHoursAndKeepsTheClassAcrossAMajorChange) {
    Session s(true);
    s.Choose("N001_User00012.package");  // Ana
    s.Click("btnSchool");
    EXPECT_FALSE(s.Shown(s.Find<QComboBox>("cbSchool")));
    EXPECT_EQ(s.Find<QComboBox>("cbUniversityMajor")->currentText(), QStringLiteral("Physics"));
    EXPECT_EQ(s.Find<QComboBox>("cbUniversityClass")->currentText(), QStringLiteral("Quantum Mechanics: Why You're Wrong"));
    EXPECT_EQ(s.Find<QLabel>("lblUniversityYear")->text(), QStringLiteral("Junior"));
    EXPECT_EQ(s.Find<QLabel>("lblClassHours")->text(), QStringLiteral("8:00AM - 10:00AM (0800-1000)"));
    EXPECT_EQ(s.Find<QLabel>("lblGPA")->text(), QStringLiteral("GPA: (3.5)"));
    // The demo has every expansion but Open for Business: the game keeps the class by itself.
    EXPECT_FALSE(s.Find<QComboBox>("cbUniversityClass")->isEnabled());
    s.state.env.hasApartmentLife = false;
    auto* panel = static_cast<Panel*>(s.window->PanelNamed(QStringLiteral("pnlSchools")));
    panel->Refill();
    EXPECT_TRUE(s.Find<QComboBox>("cbUniversityClass")->isEnabled()) << "advanced mode, one expansion missing";

    PickEntry(s.Find<QComboBox>("cbUniversityClass"), QStringLiteral("The Strange Charm of Quarks"));
    Character& ana = s.SimOf("N001_User00012.package");
    EXPECT_EQ(ana.universityClass, 8);
    EXPECT_EQ(s.Find<QLabel>("lblUniversityYear")->text(), QStringLiteral("Senior"));
    PickEntry(s.Find<QComboBox>("cbUniversityMajor"), QStringLiteral("Psychology"));
    EXPECT_EQ(ana.universityClass, 8);
    EXPECT_EQ(s.Find<QLabel>("lblClassHours")->text(), QStringLiteral("6:00PM - 8:00PM (1800-2000)"));
    PickEntry(s.Find<QComboBox>("cbUniversityMajor"), QStringLiteral("Undeclared"));
    EXPECT_EQ(ana.universityClass, 1);
    EXPECT_EQ(s.Find<QComboBox>("cbUniversityClass")->currentText(), QStringLiteral("Not Enrolled"));
    EXPECT_TRUE(s.Find<QLabel>("lblUniversityYear")->text().isEmpty());
    EXPECT_TRUE(s.Find<QLabel>("lblClassHours")->text().isEmpty());
    s.Find<QSlider>("trkGPA")->setValue(1000);
    EXPECT_EQ(ana.gpa, 1000);
    EXPECT_EQ(s.Find<QLabel>("lblGPA")->text(), QStringLiteral("GPA: (4)"));

    // A stored value beyond a slider shows at its end, and stays as stored until moved.
    ana.remainingHours = 100;
    panel->Refill();
    EXPECT_EQ(s.Find<QSlider>("trkGradePeriod")->value(), 72);
    EXPECT_EQ(s.Find<QLabel>("lblGradePeriod")->text(), QStringLiteral("Remaining Hours: (100)"));
    EXPECT_EQ(ana.remainingHours, 100);

    // Owen, a grown-up but no young adult: the lists, no sliders. Marta: the Undeclared default.
    s.Choose("N001_User00001.package");
    s.Settle();
    EXPECT_EQ(s.Find<QComboBox>("cbUniversityMajor")->currentText(), QStringLiteral("Art"));
    EXPECT_EQ(s.Find<QLabel>("lblUniversityYear")->text(), QStringLiteral("Junior"));
    EXPECT_FALSE(s.Shown(s.Find<QSlider>("trkGPA")));
}

}  // namespace
}  // namespace qh::app
