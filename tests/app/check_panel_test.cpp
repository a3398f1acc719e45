// "Check Neighborhood" on the neighborhood panel, and the save's question when an edit would add a
// problem.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QTreeWidget>

#include "app/dialogs/check_dialog.h"
#include "app/ui_session.h"

namespace qh::app {
namespace {

TEST(CheckPanel, TheFindingsListedADoubleClickShowsTheSimAndTheReportIsSaved) {
    Session s;
    s.Click("btnNeighborhood");
    const std::filesystem::path report = s.dir / "report.txt";
    int rows = 0;
    QString pabloRow;
    s.asker.onDialog = [&](QDialog& dialog) {
        if (auto* files = dynamic_cast<QFileDialog*>(&dialog)) {
            files->selectFile(QString::fromStdString(report.string()));
            return;
        }
        auto& check = dynamic_cast<CheckDialog&>(dialog);
        QTreeWidget* list = check.list();
        rows = list->topLevelItemCount();
        QTest::mouseClick(check.findChild<QPushButton*>(QStringLiteral("btnSaveReport")), Qt::LeftButton);
        for (int i = 0; i < rows; ++i) {
            QTreeWidgetItem* row = list->topLevelItem(i);
            if (!row->text(1).startsWith(QStringLiteral("Pablo Moreno"))) continue;
            pabloRow = row->text(2);
            EXPECT_FALSE(row->toolTip(2).isEmpty()) << "the fix, in the tooltip";
            emit list->itemDoubleClicked(row, 1);
            break;
        }
    };
    s.Click("btnCheckNgbd");
    EXPECT_GT(rows, 0) << "the valley's ties to parents it has no sim for";
    EXPECT_FALSE(pabloRow.isEmpty());
    s.Settle();
    EXPECT_EQ(s.window->characterSelector()->currentIndex(), s.SimIndex("N001_User00013.package")) << "Pablo is shown";
    const std::string text(reinterpret_cast<const char*>(ReadFileBytes(report).data()), ReadFileBytes(report).size());
    EXPECT_NE(text.find("tie-to-missing-sim"), std::string::npos);
    EXPECT_NE(text.find("A fix would"), std::string::npos);
}

TEST(CheckPanel, ASaveThatWouldAddAProblemAsksFirst) {
    Session s;
    s.Choose("N001_User00000.package");
    const std::size_t marta = *FindSimByFile(s.state.workspace, "N001_User00000.package");
    s.window->document().EditSim(marta, QStringLiteral("career"),
                                 [](Workspace&, Character& sim) { sim.careerGuid = GuidFromValue(0xDEADBEEF); });
    const std::filesystem::path package = s.state.workspace.packagePath;
    const Bytes before = ReadFileBytes(package);
    s.asker.answerFor = [](const QString& question) { return !question.startsWith(QStringLiteral("Saving these changes")); };
    s.Click("btnSave");
    ASSERT_FALSE(s.asker.questions.isEmpty());
    const QString asked = s.asker.questions.filter(QStringLiteral("Saving these changes would add problems")).value(0);
    EXPECT_NE(asked.indexOf(QStringLiteral("EFBEADDE")), -1) << asked.toStdString();
    EXPECT_EQ(ReadFileBytes(package), before) << "Cancel saves nothing";
    EXPECT_TRUE(s.window->document().Unsaved());
    s.asker.answerFor = [](const QString&) { return true; };
    s.Click("btnSave");
    EXPECT_NE(ReadFileBytes(package), before);
    EXPECT_FALSE(s.window->document().Unsaved());
}

}  // namespace
}  // namespace qh::app
