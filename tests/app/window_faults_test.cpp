// What a player meets when the neighborhood changes under the window: an empty neighborhood, the
// same one chosen again, the missing-backup warning.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyleOptionButton>

#include <QFormLayout>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <cmath>
#include <QLineEdit>
#include <QSlider>

#include <QPlainTextEdit>
#include <QProgressDialog>
#include <map>
#include <set>

#include <QTimer>

#include "app/message_asker.h"
#include "app/ui_session.h"
#include "app/panels/panel.h"
#include "app/widgets.h"
#include "character/character_fields.h"
#include "package/guid.h"
#include "workspace/sim_operations.h"

namespace qh::app {
namespace {

int IndexOf(QComboBox* selector, const char* prefix) {
    for (int i = 0; i < selector->count(); ++i) {
        if (selector->itemText(i).startsWith(QString::fromLatin1(prefix))) return i;
    }
    return -1;
}

void Choose(Session& s, const char* prefix) {
    QComboBox* selector = s.window->neighborhoodSelector();
    const int index = IndexOf(selector, prefix);
    ASSERT_GE(index, 0) << prefix;
    selector->setCurrentIndex(index);
    emit selector->activated(index);
}

TEST(WindowFaults, ANeighborhoodWithoutSimsLeavesNothingOfThePreviousOneToEdit) {
    Session s;
    // The college's sims are gone (moved away by the player, say).
    const auto characters = s.game.userData / "Neighborhoods" / "G001" / "Characters";
    for (const auto& entry : std::filesystem::directory_iterator(characters)) std::filesystem::remove(entry.path());
    ASSERT_TRUE(s.Shown(s.Find<QLineEdit>("edtNgbdName")));
    Choose(s, "G001");
    EXPECT_EQ(s.state.workspace.prefix, "G001");
    EXPECT_EQ(s.window->characterSelector()->count(), 0);
    EXPECT_FALSE(s.Shown(s.Find<QLineEdit>("edtNgbdName")));  // Pleasant Valley's name is not offered
    auto* note = s.Find<QLabel>("lblNoSims");
    EXPECT_TRUE(s.Shown(note));
    EXPECT_TRUE(note->text().startsWith(QStringLiteral("G001 : Alderwood College")));
    EXPECT_NE(note->text().indexOf(QStringLiteral("no sims")), -1);
    EXPECT_EQ(s.window->CurrentNeighborhood()->dirty, 0);
    // Back to a neighborhood with sims: its panel again.
    Choose(s, "N001");
    EXPECT_FALSE(s.Shown(note));
    EXPECT_TRUE(s.Shown(s.Find<QLineEdit>("edtNgbdName")));
    EXPECT_EQ(s.Find<QLineEdit>("edtNgbdName")->text(), QStringLiteral("Pleasant Valley"));
}

// The player cancels a load as it begins: nothing of the neighborhood is shown or offered for
// editing, nothing was written, no error is reported, and another load works as ever.
TEST(WindowFaults, ACancelledLoadLeavesNoNeighborhoodAndWritesNothing) {
    Session s;
    const auto college = s.game.userData / "Neighborhoods" / "G001";
    std::map<std::filesystem::path, std::uintmax_t> sizes;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(college)) {
        if (entry.is_regular_file()) sizes[entry.path()] = entry.file_size();
    }
    bool cancelled = false;
    // Taken with the load's first events, as a click on the dialog's Cancel would be.
    QTimer::singleShot(0, s.window.get(), [&] {
        if (auto* dialog = s.window->findChild<QProgressDialog*>()) {
            // The dialog names the neighborhood above the step it is at.
            EXPECT_TRUE(dialog->labelText().startsWith(QStringLiteral("Loading G001 : Alderwood College\n")))
                << dialog->labelText().toStdString();
            dialog->cancel();
            cancelled = true;
        }
    });
    Choose(s, "G001");
    ASSERT_TRUE(cancelled) << "the load offered its Cancel";
    EXPECT_TRUE(s.state.workspace.characters.empty());
    EXPECT_FALSE(s.state.loaded.has_value());
    EXPECT_EQ(s.window->characterSelector()->count(), 0);
    EXPECT_FALSE(s.Find<QWidget>("pnlButtons")->isEnabled()) << "no panel to edit";
    EXPECT_TRUE(s.Find<QLabel>("imgPortrait")->pixmap().isNull()) << "no sim's portrait without a sim";
    EXPECT_TRUE(s.Find<QLabel>("lblStatus")->text().startsWith(QStringLiteral("Loading was cancelled")));
    EXPECT_TRUE(s.reporter.messages.empty());
    EXPECT_FALSE(s.window->document().Unsaved());
    for (const auto& [file, size] : sizes) EXPECT_EQ(std::filesystem::file_size(file), size) << file;
    EXPECT_EQ(s.window->findChild<QProgressDialog*>(), nullptr) << "the dialog is gone";
    Choose(s, "N001");
    EXPECT_EQ(s.state.workspace.prefix, "N001");
    EXPECT_FALSE(s.state.workspace.characters.empty());
    EXPECT_TRUE(s.Find<QWidget>("pnlButtons")->isEnabled());
}

TEST(WindowFaults, ChoosingTheOpenNeighborhoodAgainKeepsItsUnsavedChanges) {
    Session s;
    s.Click("btnCharacters");
    s.Find<QSlider>("trkFatness")->setValue(5);
    Character* sim = s.window->SelectedSim();
    Choose(s, "N001");
    EXPECT_TRUE(s.asker.questions.isEmpty());
    EXPECT_TRUE(s.window->document().Unsaved());
    EXPECT_EQ(s.window->SelectedSim(), sim);
    EXPECT_EQ(sim->fatness, 5);
}

TEST(WindowFaults, TheMissingBackupIsMentionedOncePerNeighborhoodAndNamesTheBackupButton) {
    Session s;
    // No backups at all in the archive.
    const auto archive = s.game.prefix / "drive_c" / "users" / "player" / "Documents" / "Bramblesoft" / "NGBDs";
    std::filesystem::remove_all(archive);
    std::filesystem::create_directories(archive);
    Choose(s, "G001");
    ASSERT_EQ(s.reporter.messages.size(), 1u);
    EXPECT_NE(s.reporter.messages[0].text.find("Alderwood College"), std::string::npos);
    EXPECT_NE(s.reporter.messages[0].text.find("Backup Neighborhood option"), std::string::npos);
    EXPECT_EQ(s.Find<QPushButton>("btnBackup")->text(), QStringLiteral("Backup Neighborhood"));
    // Another sim, another visit to the panel: nothing more.
    s.window->characterSelector()->setCurrentIndex(1);
    s.Settle();
    s.Click("btnCharacters");
    s.Click("btnNeighborhood");
    EXPECT_EQ(s.reporter.messages.size(), 1u);
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(WindowFaults, ASimWithoutADescriptionSaysWhyItsControlsCannotBeUsed) {
    Session s(true);
    s.Choose("N001_User00015.package");  // Stranger: a package that matches no description
    s.Click("btnCharacters");
    EXPECT_TRUE(s.Shown(s.FindIn<QLabel>("pnlCharacters", "lblNoDescription")));
    EXPECT_FALSE(s.Find<QSlider>("trkFatness")->isEnabled());
    EXPECT_FALSE(s.Find<QComboBox>("cbAges")->isEnabled());  // even in advanced mode
    EXPECT_FALSE(s.FindIn<QComboBox>("pnlCharacters", "cbZodiac")->isEnabled());
    EXPECT_TRUE(s.Find<QLineEdit>("edtFirstName")->isEnabled());
    s.Choose("N001_User00000.package");  // Marta: all of it again
    EXPECT_FALSE(s.Shown(s.FindIn<QLabel>("pnlCharacters", "lblNoDescription")));
    EXPECT_TRUE(s.Find<QSlider>("trkFatness")->isEnabled());
    EXPECT_TRUE(s.Find<QComboBox>("cbAges")->isEnabled());
}

TEST(WindowFaults, TheTraitPanelsOfASimWithoutADescriptionAcceptNothing) {
    Session s;
    s.Choose("N001_User00015.package");  // Stranger
    s.Click("btnPersonality");
    EXPECT_FALSE(s.Find<QSlider>("trkNeat")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnMaxPersonality")->isEnabled());
    EXPECT_FALSE(s.FindIn<QComboBox>("pnlPersonality", "cbZodiac")->isEnabled());
    EXPECT_TRUE(s.Shown(s.Find<QLabel>("lblPetNote")));
    EXPECT_NE(s.Find<QLabel>("lblPetNote")->text().indexOf(QStringLiteral("No description")), -1);
    s.Click("btnInterests");
    EXPECT_FALSE(s.Find<QSlider>("trkInterestSports")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnMaxInterests")->isEnabled());
    EXPECT_TRUE(s.Shown(s.FindIn<QLabel>("pnlInterests", "lblNoDescription")));
    s.Click("btnSkills");
    EXPECT_FALSE(s.Find<QSlider>("trkCookingSkill")->isEnabled());
    EXPECT_FALSE(s.Find<QPushButton>("btnMaxSkills")->isEnabled());
    const QString note = s.Find<QLabel>("lblNoItemSkills")->text();
    EXPECT_NE(note.indexOf(QStringLiteral("No description")), -1) << note.toStdString();
    EXPECT_EQ(note.indexOf(QStringLiteral("baby")), -1);
    // Hobbies are fields of the description and an item of the sim's instance: none offered.
    s.Click("btnHobbies");
    EXPECT_FALSE(s.Shown(s.Find<QSlider>("trkHobbyCuisine")));
    EXPECT_FALSE(s.Shown(s.Find<QCheckBox>("ckHobbyLot211")));
    EXPECT_NE(s.Find<QLabel>("lblNoHobbies")->text().indexOf(QStringLiteral("no description")), -1);
    s.Click("btnBadges");
    EXPECT_NE(s.Find<QLabel>("lblNoBadges")->text().indexOf(QStringLiteral("no description")), -1);
    EXPECT_EQ(s.window->document().history().count(), 0);
    s.Click("btnSkills");

    s.Choose("N001_User00000.package");  // Marta: editable again
    EXPECT_TRUE(s.Find<QSlider>("trkCookingSkill")->isEnabled());
    s.Click("btnInterests");
    EXPECT_TRUE(s.Find<QSlider>("trkInterestSports")->isEnabled());
    EXPECT_FALSE(s.Shown(s.FindIn<QLabel>("pnlInterests", "lblNoDescription")));
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(WindowFaults, ANeighborhoodWithoutAPictureSaysHowToGiveItOne) {
    Session s;
    std::filesystem::remove(s.game.userData / "Neighborhoods" / "N001" / "N001_Neighborhood.png");
    s.Click("btnCharacters");
    s.Click("btnNeighborhood");
    auto* picture = s.Find<QLabel>("imgNeighborhood");
    EXPECT_TRUE(picture->pixmap().isNull());
    EXPECT_NE(picture->text().indexOf(QStringLiteral("Replace Image")), -1);
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

// The contrast ratio of two colours as the web's accessibility guidelines define it.
double Contrast(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double x = luminance(a) + 0.05;
    const double y = luminance(b) + 0.05;
    return x > y ? x / y : y / x;
}

TEST(WindowFaults, TheAboutLinkReadsWellInBothSchemes) {
    Session s;
    for (int scheme : {0, 1}) {
        s.About()->SelectScheme(scheme);
        const QColor background = s.window->BackgroundColor();
        for (bool hover : {false, true}) {
            EXPECT_GE(Contrast(LinkColor(scheme, hover), background), 4.5) << scheme << hover;
        }
        EXPECT_NE(s.Find<QLabel>("lblLink")->styleSheet().indexOf(LinkColor(scheme, false).name()), -1);
    }
    EXPECT_LT(Contrast(QColor(Qt::blue), QColor(Qt::black)), 4.5);  // what it was
}

// The help pages' links, in both schemes, read at 4.5:1 or better on the help's background.
TEST(WindowFaults, TheHelpLinksReadWellInBothSchemes) {
    Session s;
    for (int scheme : {0, 1}) {
        s.About()->SelectScheme(scheme);
        s.window->ShowHelp(1000);
        const QPalette palette = s.window->helpWindow()->palette();
        EXPECT_GE(Contrast(palette.color(QPalette::Link), palette.color(QPalette::Base)), 4.5) << scheme;
        EXPECT_GE(Contrast(palette.color(QPalette::LinkVisited), palette.color(QPalette::Base)), 4.5) << scheme;
    }
    s.window->helpWindow()->close();
}

// A checked box shows a tick (white on the scheme's accent), not only a filled square.
TEST(WindowFaults, ACheckedBoxShowsATick) {
    Session s;
    s.window->show();
    QCheckBox* box = s.Find<QCheckBox>("ckAdvanced");
    for (int scheme : {0, 1}) {
        s.About()->SelectScheme(scheme);
        for (bool checked : {false, true}) {
            box->setChecked(checked);
            QApplication::processEvents();
            const QImage image = box->grab().toImage();
            // The indicator is the box's left part: count the white pixels inside it that are not
            // the scheme's white background (on the light scheme the box is white when clear).
            QStyleOptionButton option;
            option.initFrom(box);
            const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
            int white = 0;
            int accent = 0;
            for (int y = indicator.top() + 2; y < indicator.bottom() - 1; ++y) {
                for (int x = indicator.left() + 2; x < indicator.right() - 1; ++x) {
                    const QColor c = image.pixelColor(x, y);
                    if (c.red() > 230 && c.green() > 230 && c.blue() > 230) ++white;
                    if (c.blue() > 150 && c.red() < 100) ++accent;
                }
            }
            if (checked) {
                EXPECT_GT(white, 3) << "the tick, scheme " << scheme;
                EXPECT_GT(accent, 10) << "the filled box, scheme " << scheme;
            } else {
                EXPECT_EQ(accent, 0) << scheme;
            }
        }
    }
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(WindowFaults, TheWindowKeepsOneSizeThatFitsA1366By768Screen) {
    Session s;
    s.window->show();
    QApplication::processEvents();
    const QSize before = s.window->size();
    EXPECT_LE(before.width(), 1366);
    EXPECT_LE(before.height(), 768 - 40);  // room for a panel bar
    s.Click("btnCharacters");
    s.Find<QSlider>("trkFatness")->setValue(12);
    ASSERT_FALSE(s.Find<QPushButton>("btnSave")->isHidden());
    QApplication::processEvents();
    EXPECT_EQ(s.window->size(), before);
    s.Click("btnSave");
    QApplication::processEvents();
    EXPECT_EQ(s.window->size(), before);
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

TEST(WindowFaults, MessageBoxesTakeTheScheme) {
    Session s;
    for (int scheme : {1, 0}) {
        s.About()->SelectScheme(scheme);
        QMessageBox box(QMessageBox::Information, QStringLiteral("Quillhaven"), QStringLiteral("A message"));
        box.ensurePolished();
        EXPECT_EQ(box.palette().color(QPalette::Window), s.window->BackgroundColor()) << scheme;
        EXPECT_EQ(box.palette().color(QPalette::WindowText), s.window->TextColor()) << scheme;
    }
}

TEST(WindowFaults, DropDownArrowsAreTheSchemesOwnFlatPictures) {
    Session s;
    for (int scheme : {0, 1}) {
        s.window->ApplyColorScheme(scheme);
        const QString arrow = scheme == 0 ? QStringLiteral(":/IMGArrowDown") : QStringLiteral(":/IMGDkArrowDown");
        EXPECT_NE(qApp->styleSheet().indexOf(QStringLiteral("url(") + arrow + QStringLiteral(")")), -1) << scheme;
        EXPECT_FALSE(QPixmap(arrow).isNull()) << scheme;
    }
}

TEST(WindowFaults, LabelsAndTheirValuesShareALineOnEveryPanel) {
    Session s(true);
    s.Choose("N001_User00000.package");
    for (const char* button : {"btnCharacters", "btnNeighborhood", "btnHouseHolds", "btnPersonality"}) {
        SCOPED_TRACE(button);
        s.Click(button);
        s.Settle();
        for (QFormLayout* form : s.window->OpenPanel()->findChildren<QFormLayout*>()) {
            for (int row = 0; row < form->rowCount(); ++row) {
                QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole);
                QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
                auto* value = field ? qobject_cast<QLabel*>(field->widget()) : nullptr;
                if (!label || !label->widget() || !value || !value->isVisible()) continue;
                const int labelMiddle = label->widget()->geometry().center().y();
                const int valueMiddle = value->geometry().center().y();
                EXPECT_LE(std::abs(labelMiddle - valueMiddle), 1) << value->objectName().toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

// A field as text, whatever its type, to see which fields a control changed.
std::map<std::string, std::string> FieldTexts(const Character& sim) {
    std::map<std::string, std::string> texts;
    for (const CharacterField& field : CharacterFields()) {
        std::visit(
            [&](auto member) {
                using T = std::remove_cvref_t<decltype(sim.*member)>;
                if constexpr (std::is_same_v<T, std::string>) {
                    texts[std::string(field.name)] = sim.*member;
                } else if constexpr (std::is_same_v<T, Guid4>) {
                    texts[std::string(field.name)] = GuidKey(sim.*member);
                } else {
                    texts[std::string(field.name)] = std::to_string(sim.*member);
                }
            },
            field.member);
    }
    return texts;
}

// Every control of the sim panels, moved as a player would, changes only fields that an
// operation governs: no field a panel edits has a second, free door on the command line.
TEST(OneDoor, NoFieldAPanelEditsIsFree) {
    Session s(true);  // advanced mode: every control shown
    std::set<std::string> edited;
    // An adult, a toddler, an elder with a retired career, a child at school, a young adult at
    // university.
    for (const char* sim : {"N001_User00000.package", "N001_User00003.package", "N001_User00005.package",
                            "N001_User00002.package", "N001_User00012.package"}) {
        for (const auto& [button, name] : std::vector<std::pair<const char*, const char*>>{
                 // School first: the Character panel's young-adult box would take the sliders away.
                 {"btnSchool", "pnlSchools"}, {"btnCharacters", "pnlCharacters"}, {"btnPersonality", "pnlPersonality"},
                 {"btnInterests", "pnlInterests"}, {"btnSkills", "pnlSkills"}, {"btnNeeds", "pnlNeeds"},
                 {"btnRelationships", "pnlRelationships"}, {"btnHouseHolds", "pnlHouseholds"},
                 {"btnCareer", "pnlCareer"}, {"btnHobbies", "pnlHobbies"}, {"btnBadges", "pnlBadges"}}) {
            s.Choose(sim);
            s.Click(button);
            QWidget* panel = s.window->PanelNamed(QString::fromLatin1(name));
            ASSERT_NE(panel, nullptr) << name;
            std::vector<QWidget*> controls;
            for (QWidget* w : panel->findChildren<QWidget*>()) {
                if (!w->isVisibleTo(s.window.get()) || !w->isEnabled() || w->objectName().isEmpty()) continue;
                if (qobject_cast<QSlider*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) ||
                    qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
                    if (qobject_cast<QPushButton*>(w)) continue;  // buttons move the same controls
                    if (w->objectName() == QStringLiteral("cbUserName") || w->objectName() == QStringLiteral("cbNgbd")) continue;
                    controls.push_back(w);
                }
            }
            for (QWidget* w : controls) {
                const auto index = s.window->SelectedSimIndex();
                if (!index || !w->isVisibleTo(s.window.get()) || !w->isEnabled()) continue;
                const auto before = FieldTexts(s.state.workspace.characters[*index]);
                if (auto* slider = qobject_cast<QSlider*>(w)) {
                    slider->setValue(slider->value() == slider->maximum() ? slider->minimum() : slider->maximum());
                } else if (auto* box = qobject_cast<QComboBox*>(w)) {
                    if (box->count() < 2) continue;
                    const int next = (box->currentIndex() + 1) % box->count();
                    box->setCurrentIndex(next);
                    emit box->activated(next);
                } else if (auto* check = qobject_cast<QAbstractButton*>(w)) {
                    check->click();
                } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
                    line->setText(QStringLiteral("7"));
                    emit line->textEdited(QStringLiteral("7"));
                } else if (auto* text = qobject_cast<QPlainTextEdit*>(w)) {
                    text->setPlainText(QStringLiteral("Seven"));
                }
                // The sim it was moved for (a control may select another sim).
                const auto after = FieldTexts(s.state.workspace.characters[*index]);
                for (const auto& [field, value] : after) {
                    if (before.count(field) && before.at(field) != value && field != "dirty" &&
                        field != "needsPackageRebuild") {
                        edited.insert(field);
                        EXPECT_NE(GoverningOperation(field), nullptr)
                            << field << " is changed by " << w->objectName().toStdString() << " but no operation governs it";
                    }
                }
            }
        }
    }
    // The poking reached the panels' fields.
    for (const char* field : {"fatness", "neat", "interestSports", "cookingSkill", "decayHunger", "turnOns1", "zodiac",
                              "careerGuid", "jobLevel", "retiredCareerGuid", "performance", "pension", "pto", "npcType",
                              "schoolGuid", "schoolGrade", "universityMajorGuid", "gpa", "remainingHours",
                              "hobbyCuisine", "talent"}) {
        EXPECT_TRUE(edited.count(field)) << field << " was not reached";
    }
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

// Enter on a question gives the answer that leaves everything as it is; Ctrl+S saves; Tab leaves
// a description box.
TEST(SafeKeys, EnterKeepsEverythingCtrlSSavesAndTabLeavesADescription) {
    MessageBoxAsker asker;
    for (bool okCancel : {false, true}) {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, Qt::Key_Return);
        });
        const bool answer = okCancel ? asker.AskOkCancel(QStringLiteral("If you continue it will be deleted."))
                                     : asker.AskYesNo(QStringLiteral("Delete the selected Character?"));
        EXPECT_FALSE(answer) << okCancel;
    }

    Session s;
    s.Choose("N001_User00000.package");
    s.Click("btnCharacters");
    for (const char* box : {"memCharacterDescription"}) {
        EXPECT_TRUE(s.Find<QPlainTextEdit>(box)->tabChangesFocus()) << box;
    }
    auto* fatness = s.Find<QSlider>("trkFatness");
    fatness->setValue(fatness->value() == 300 ? 301 : 300);
    ASSERT_TRUE(s.window->document().Unsaved());
    s.window->activateWindow();
    QTest::keyClick(s.window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(s.window->document().Unsaved());
    s.Click("btnNeighborhood");
    EXPECT_TRUE(s.Find<QPlainTextEdit>("memNgbdDescription")->tabChangesFocus());
}

}  // namespace
}  // namespace qh::app

namespace qh::app {
namespace {

// Every button, box and slider a player can reach, on every panel (an adult, a toddler and a pet
// shown, advanced mode on), says in its tooltip what it changes.
TEST(WindowFaults, EveryButtonAndSliderSaysWhatItChanges) {
    Session s(true);
    s.window->show();
    std::set<QString> missing;
    auto look = [&] {
        for (QAbstractButton* button : s.window->findChildren<QAbstractButton*>()) {
            if (button->isVisible() && button->toolTip().isEmpty()) {
                missing.insert(button->objectName().isEmpty() ? button->text() : button->objectName());
            }
        }
        for (QAbstractSlider* slider : s.window->findChildren<QAbstractSlider*>()) {
            if (slider->isVisible() && slider->toolTip().isEmpty() && !qobject_cast<QScrollBar*>(slider)) {
                missing.insert(slider->objectName());
            }
        }
    };
    // Marta, Theo (a toddler in training) and Rex (a dog).
    for (const char* sim : {"N001_User00000.package", "N001_User00003.package", "N001_User00007.package"}) {
        s.Choose(sim);
        for (const PanelRow& row : PanelRows()) {
            QPushButton* button = s.window->PanelButton(QString::fromLatin1(row.caption));
            if (!button || !button->isVisible() || !button->isEnabled()) continue;
            button->click();
            s.Settle();
            look();
        }
    }
    QStringList names(missing.begin(), missing.end());
    EXPECT_TRUE(names.isEmpty()) << names.join(QStringLiteral(", ")).toStdString();
}

}  // namespace
}  // namespace qh::app
