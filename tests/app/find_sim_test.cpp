// The search box above the character selector: words and conditions, the count, Ctrl+F, and the
// selection kept while it still matches.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "app/ui_session.h"

namespace qh::app {
namespace {

TEST(FindSim, TypingFiltersTheSelectorAndKeepsTheSelectedSimWhileItMatches) {
    Session s;
    s.Choose("N001_User00000.package");  // Marta Hart
    auto* box = s.Find<QLineEdit>("edtFindSim");
    auto* count = s.Find<QLabel>("lblSimCount");
    EXPECT_EQ(count->text(), QStringLiteral("16 sims"));
    QTest::keyClicks(box, QStringLiteral("hart"));
    QComboBox* selector = s.window->characterSelector();
    EXPECT_EQ(count->text(), QStringLiteral("%1 of 16").arg(selector->count()));
    EXPECT_LT(selector->count(), 16);
    EXPECT_EQ(s.window->SelectedSimIndex(), FindSimByFile(s.state.workspace, "N001_User00000.package")) << "Marta still matches";
    for (int row = 0; row < selector->count(); ++row) EXPECT_TRUE(selector->itemText(row).contains(QStringLiteral("Hart")));
    // A condition that leaves Marta out: the first match is shown.
    box->setText(QStringLiteral("hart species:cat"));
    s.Settle();
    ASSERT_EQ(selector->count(), 1);
    EXPECT_EQ(s.window->SelectedSimIndex(), FindSimByFile(s.state.workspace, "N001_User00008.package")) << "Whiskers";
    EXPECT_EQ(count->text(), QStringLiteral("1 of 16"));
    // Nothing matches: nothing is shown, nothing else changes.
    box->setText(QStringLiteral("nobody-by-this-name"));
    EXPECT_EQ(selector->count(), 0);
    box->clear();
    EXPECT_EQ(selector->count(), 16);
    EXPECT_EQ(s.window->document().history().count(), 0) << "finding changes nothing in the game";
}

TEST(FindSim, CtrlFFocusesTheBoxAndTheMenuAddsConditions) {
    Session s;
    s.Click("btnCharacters");
    auto* box = s.Find<QLineEdit>("edtFindSim");
    box->setText(QStringLiteral("old words"));
    s.window->activateWindow();
    s.Find<QWidget>("edtFirstName")->setFocus();
    QTest::keySequence(s.window.get(), QKeySequence::Find);
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->selectedText(), QStringLiteral("old words")) << "ready to be typed over";
    box->clear();
    QMenu* menu = s.Find<QToolButton>("btnSimFilters")->menu();
    ASSERT_NE(menu, nullptr);
    QAction* teen = nullptr;
    for (QAction* group : menu->actions()) {
        if (!group->menu()) continue;
        for (QAction* action : group->menu()->actions()) {
            if (action->text() == QStringLiteral("lifeStage:teen")) teen = action;
        }
    }
    ASSERT_NE(teen, nullptr);
    teen->trigger();
    EXPECT_EQ(box->text(), QStringLiteral("lifeStage:teen"));
    QComboBox* selector = s.window->characterSelector();
    for (int row = 0; row < selector->count(); ++row) {
        const auto sim = s.window->shownSims().SimAt(row);
        ASSERT_TRUE(sim);
        EXPECT_EQ(s.state.workspace.characters[*sim].lifeStage, 16);
    }
    EXPECT_GT(selector->count(), 0);
}

TEST(FindSim, FindingsOfTheCheckAreAFilter) {
    Session s;
    s.Find<QLineEdit>("edtFindSim")->setText(QStringLiteral("findings:yes"));
    QComboBox* selector = s.window->characterSelector();
    QStringList shown;
    for (int row = 0; row < selector->count(); ++row) shown << selector->itemText(row);
    // The valley's sims with ties to parents it has no record of, and the file without a description.
    EXPECT_TRUE(shown.filter(QStringLiteral("Pablo")).size() == 1) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.filter(QStringLiteral("Stranger")).size() == 1) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.filter(QStringLiteral("Owen")).isEmpty());
}

TEST(FindSim, TheSimsShownAreExportedAsATable) {
    Session s;
    s.Find<QLineEdit>("edtFindSim")->setText(QStringLiteral("hart species:sim"));
    const std::filesystem::path file = s.dir / "harts.csv";
    s.asker.onDialog = [&](QDialog& dialog) {
        static_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(file.string()));
    };
    QTest::mouseClick(s.Find<QToolButton>("btnExportSims"), Qt::LeftButton);
    const Bytes bytes = ReadFileBytes(file);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.rfind("packageFile,firstName,lastName,lifeStage,household,career,aspiration\r\n", 0), 0u);
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_EQ(lines, s.window->characterSelector()->count() + 1) << text;
    EXPECT_NE(text.find("N001_User00000.package,Marta,Hart,adult,The Harts,Business,"), std::string::npos) << text;
    EXPECT_EQ(text.find("Whiskers"), std::string::npos) << "a cat is filtered out";
}

}  // namespace
}  // namespace qh::app
