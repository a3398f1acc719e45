// The Career panel driven through its widgets on the demo valley: Marta (Business, Field Sales
// Rep), Grace (an elder with her own business, retired from Medicine), Samuel (a teen), Lily (a
// child).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTest>

#include "app/ui_session.h"

namespace qh::app {
namespace {

void Type(QLineEdit* box, const QString& text) {
    box->clear();
    QTest::keyClicks(box, text);
}

TEST(CareerPanel, ShowsTheLevelsScheduleAndKeepsTheLevelAcrossACareerChange) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnCareer");
    EXPECT_EQ(s.Find<QComboBox>("cbCareer")->currentText(), QStringLiteral("Business"));
    EXPECT_EQ(s.Find<QComboBox>("cbJobs")->currentText(), QStringLiteral("Field Sales Rep"));
    EXPECT_EQ(s.Find<QLabel>("lblHours")->text(), QStringLiteral("9:00AM - 4:00PM (0900-1600)"));
    EXPECT_EQ(s.Find<QLabel>("lblSalary")->text(), QStringLiteral("$350"));
    QStringList working;
    for (const char* day : {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}) {
        if (s.Shown(s.Find<QLabel>((std::string("imgCk") + day).c_str()))) working << QString::fromLatin1(day);
    }
    EXPECT_EQ(working.join(QLatin1Char(',')), QStringLiteral("Sun,Mon,Wed,Fri,Sat"));
    EXPECT_FALSE(s.Shown(s.Find<QComboBox>("cbRetCareer")));

    // Medicine has a level 3: the level stays, as one step that undo takes back.
    PickEntry(s.Find<QComboBox>("cbCareer"), QStringLiteral("Medicine"));
    const Character& marta = s.SimOf("N001_User00000.package");
    EXPECT_EQ(GuidKey(marta.careerGuid), "FD61770C");
    EXPECT_EQ(marta.jobLevel, 3);
    EXPECT_EQ(s.Find<QComboBox>("cbJobs")->currentText(), QStringLiteral("Nurse"));
    EXPECT_TRUE(s.Find<QLabel>("lblSalary")->text().isEmpty()) << "nothing is known of that level";
    EXPECT_EQ(s.window->document().history().count(), 1);
    QTest::keyClick(s.window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(GuidKey(marta.careerGuid), "55651945");
    EXPECT_EQ(s.Find<QComboBox>("cbCareer")->currentText(), QStringLiteral("Business"));

    PickEntry(s.Find<QComboBox>("cbJobs"), QStringLiteral("CEO"));
    EXPECT_EQ(marta.jobLevel, 9);
    EXPECT_EQ(s.Find<QLabel>("lblSalary")->text(), QStringLiteral("$1663"));
}

TEST(CareerPanel, BoxesTakeDigitsAndAPointAndRefuseWhatCannotBeStored) {
    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnCareer");
    const Character& marta = s.SimOf("N001_User00000.package");
    auto* pension = s.Find<QLineEdit>("edtPension");
    Type(pension, QStringLiteral("1a5"));
    EXPECT_EQ(pension->text(), QStringLiteral("105"));
    EXPECT_EQ(marta.pension, 105);
    Type(pension, QStringLiteral("99999"));
    EXPECT_EQ(marta.pension, 9999) << "the last value the word could hold";
    EXPECT_EQ(pension->text(), QStringLiteral("9999"));

    auto* pto = s.Find<QLineEdit>("edtPTO");
    Type(pto, QStringLiteral("2.5"));
    EXPECT_EQ(marta.pto, 250);
    // Two points (pasted at once) are no number: the stored value stays and is shown again.
    pto->setText(QStringLiteral("1..5"));
    emit pto->textEdited(pto->text());
    EXPECT_EQ(marta.pto, 250);
    EXPECT_EQ(pto->text(), QStringLiteral("2.5"));

    auto* performance = s.Find<QSlider>("trkJobPerformance");
    performance->setValue(-30);
    EXPECT_EQ(marta.performance, -30);
    EXPECT_EQ(s.Find<QLabel>("lblJobPerformance")->text(), QStringLiteral("Performance: (-30)"));
}

TEST(CareerPanel, WhatEachLifeStageShowsAndWhatIsNotOffered) {
    Session s(true);
    s.Choose("N001_User00002.package");  // Lily, a child
    s.Click("btnCareer");
    EXPECT_FALSE(s.Shown(s.Find<QComboBox>("cbCareer")));
    EXPECT_FALSE(s.Shown(s.Find<QLineEdit>("edtPension")));

    s.Choose("N001_User00006.package");  // Samuel, a teen
    s.Settle();
    EXPECT_TRUE(s.Shown(s.Find<QComboBox>("cbCareer")));
    EXPECT_TRUE(s.Shown(s.Find<QLineEdit>("edtPTO")));
    EXPECT_FALSE(s.Shown(s.Find<QLineEdit>("edtPension")));
    EXPECT_FALSE(s.Shown(s.Find<QComboBox>("cbRetCareer")));
    EXPECT_EQ(s.Find<QComboBox>("cbJobs")->currentText(), QStringLiteral("Drive Through Clerk"));

    // Grace: her own business, which the demo's expansions do not offer, is shown as what it is.
    s.Choose("N001_User00005.package");
    s.Settle();
    EXPECT_EQ(s.Find<QComboBox>("cbCareer")->currentText(),
              QStringLiteral("Owned Business (stored; not offered to this sim)"));
    EXPECT_EQ(s.Find<QComboBox>("cbJobs")->currentText(), QStringLiteral("Manager"));
    EXPECT_EQ(s.Find<QLabel>("lblSalary")->text(), QStringLiteral("$250"));
    EXPECT_EQ(s.Find<QComboBox>("cbRetCareer")->currentText(), QStringLiteral("Adult - Medicine"));
    EXPECT_EQ(s.Find<QComboBox>("cbRetJobs")->currentText(), QStringLiteral("Surgeon"));
    EXPECT_TRUE(s.Find<QLabel>("lblJobLotName")->text().startsWith(QStringLiteral("Business Name: ")));

    // An assignment of a lot and an NPC type the tables lack are said, and change nothing.
    Character& grace = s.state.workspace.characters[*FindSimByFile(s.state.workspace, "N001_User00005.package")];
    grace.businessAssignment = 8;
    grace.npcType = 45;
    s.reporter.messages.clear();
    auto* panel = static_cast<Panel*>(s.window->PanelNamed(QStringLiteral("pnlCareer")));
    panel->Refill();
    EXPECT_EQ(s.Find<QLabel>("lblCurrentAssignment")->text(), QStringLiteral("Assigned Job: Sell Lemonade"));
    EXPECT_EQ(s.Find<QLabel>("lblNPCType")->text(), QStringLiteral("Unknown NPC:( 45 )"));
    EXPECT_EQ(s.Find<QComboBox>("cbNPCType")->currentText(), QStringLiteral("NA"));
    ASSERT_EQ(s.reporter.messages.size(), 1u);
    EXPECT_EQ(s.reporter.messages[0].text, "Unknown NPC:( 45 )");
    grace.businessAssignment = 20;
    s.reporter.messages.clear();
    panel->Refill();
    ASSERT_GE(s.reporter.messages.size(), 1u);
    EXPECT_EQ(s.reporter.messages[0].text, "Unknown Lot Job Assignment: 20");
    EXPECT_EQ(grace.npcType, 45);
    EXPECT_EQ(s.window->document().history().count(), 0);
}

}  // namespace
}  // namespace qh::app
