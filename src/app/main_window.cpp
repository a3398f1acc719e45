#include "app/main_window.h"

#include "app/cancellable_progress.h"
#include "app/widgets.h"
#include "platform/file_io.h"
#include "platform/errors.h"

#include <ctime>

#include "app/dialogs/character_picker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QFileDialog>
#include <QMenu>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QThread>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/panels/about_panel.h"
#include "app/review_dialog.h"
#include "package/text_list.h"
#include "platform/paths.h"
#include "workspace/backups.h"
#include "workspace/character_list.h"
#include "workspace/loader.h"
#include "workspace/save.h"

namespace qh::app {

MainWindow::MainWindow(GameSession& session, ImageLibrary& images, Reporter& reporter, Asker& asker, QString helpFolder)
    : session_(session), images_(images), reporter_(reporter), asker_(asker), document_(session, reporter),
      io_(document_, asker, reporter, trash_, *this), context_{*this, *this, *this, *this, *this, io_},
      simList_(session.workspace), shownSims_(simList_, session.workspace, session.env), help_(std::make_unique<HelpWindow>(std::move(helpFolder))) {
    // The scheme's sheet before any control exists, so each is polished once, as it is built.
    const QString sheet = SchemeStyleSheet(session.colorScheme, session.env.uiFontName);
    if (qApp->styleSheet() != sheet) qApp->setStyleSheet(sheet);
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Quillhaven 2.0"));
    setWindowFlag(Qt::FramelessWindowHint);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("pnlMain"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 0);
    BuildTopStrip();
    outer->addWidget(topStrip_);
    auto* middle = new QHBoxLayout;
    BuildButtonColumn();
    middle->addWidget(buttonColumn_);
    stack_ = new QStackedWidget(central);
    stack_->setObjectName(QStringLiteral("pnlPanels"));
    middle->addWidget(stack_, 1);
    lblNoSims_ = new QLabel(central);
    lblNoSims_->setObjectName(QStringLiteral("lblNoSims"));
    lblNoSims_->setWordWrap(true);
    lblNoSims_->setAlignment(Qt::AlignCenter);
    lblNoSims_->hide();
    middle->addWidget(lblNoSims_, 1);
    outer->addLayout(middle, 1);
    setCentralWidget(central);
    BuildStatusBar();
    BuildPanels();

    // The hidden neighborhood data panel: Ctrl+Shift+N anywhere in the program.
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+N")), this);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { OpenDataPanel(); });
    // Ctrl+F finds a sim: the search box, its text chosen to type over.
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        edtFindSim_->setFocus(Qt::ShortcutFocusReason);
        edtFindSim_->selectAll();
    });
    // Ctrl+S saves, as "Save Changes" does, when there is something to save.
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] {
        if (document_.Unsaved() && !Busy()) Save();
    });

    connect(&document_, &Document::changed, this, [this](const Change& change) { DocumentChanged(change); });
    connect(&document_, &Document::unsavedChanged, this, [this](bool unsaved) { ShowUnsaved(unsaved); });
    connect(&io_, &DocumentIO::catalogueChanged, this,
            [this](const QString& prefix, bool reload) { CatalogueChanged(prefix, reload); });

    qApp->installEventFilter(this);
    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        progress_->setValue(progress_->value() >= progress_->maximum() ? 1 : progress_->value() + 1);
    });
    progressTimer_.setInterval(10);
    // The designed size is the smallest: it fits a 1366 x 768 screen with room for a panel bar,
    // and the panels scroll within it. The window may grow (the size grip, or a double click on
    // the top strip to fill the screen), the panels and lists with it.
    setMinimumSize(1060, 720);
    resize(1060, 720);
}

namespace {

// A value shown as text beside its label keeps its own height: a row of a form grown taller
// centres the value while the label stays at the top, and their baselines part.
void KeepFormValuesOnTheirLabels(QWidget* panel) {
    for (QFormLayout* form : panel->findChildren<QFormLayout*>()) {
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem* field = form->itemAt(row, QFormLayout::FieldRole);
            auto* label = field ? qobject_cast<QLabel*>(field->widget()) : nullptr;
            if (!label || label->wordWrap()) continue;
            label->setSizePolicy(label->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
        }
        form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
}

}  // namespace

void MainWindow::BuildPanels() {
    for (const PanelRow& row : PanelRows()) {
        Panel* panel = row.factory(document_, context_, row);
        KeepFormValuesOnTheirLabels(panel);
        auto* scroll = new QScrollArea(stack_);
        scroll->setObjectName(QString::fromLatin1(row.panel) + QStringLiteral("Scroll"));
        scroll->setWidget(panel);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        stack_->addWidget(scroll);
        panels_.push_back(panel);
        if (QPushButton* button = row.hidden ? nullptr : PanelButton(QString::fromLatin1(row.caption))) {
            connect(button, &QPushButton::clicked, this, [panel] { panel->Open(); });
        }
    }
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildTopStrip() {
    topStrip_ = new QWidget;
    topStrip_->setObjectName(QStringLiteral("pnlTop"));
    topStrip_->setProperty("helpTopic", 1000);
    auto* layout = new QHBoxLayout(topStrip_);
    layout->setContentsMargins(2, 2, 2, 2);
    imgTitle_ = new QLabel(topStrip_);
    imgTitle_->setObjectName(QStringLiteral("imgTitle"));
    layout->addWidget(imgTitle_);
    auto* selectors = new QVBoxLayout;
    cbNeighborhood_ = new QComboBox(topStrip_);
    cbNeighborhood_->setObjectName(QStringLiteral("cbNeighborhood"));
    cbNeighborhood_->setMinimumWidth(300);
    cbNeighborhood_->setProperty("helpTopic", 3001);
    cbUserName_ = new QComboBox(topStrip_);
    cbUserName_->setObjectName(QStringLiteral("cbUserName"));
    cbUserName_->setMinimumWidth(300);
    cbUserName_->setProperty("helpTopic", 4021);
    selectors->addWidget(cbNeighborhood_);
    selectors->addWidget(cbUserName_);
    // Finding a sim: words of its name, household or file, and conditions from the menu.
    auto* find = new QHBoxLayout;
    edtFindSim_ = new QLineEdit(topStrip_);
    edtFindSim_->setObjectName(QStringLiteral("edtFindSim"));
    edtFindSim_->setPlaceholderText(QStringLiteral("Find (Ctrl+F)"));
    edtFindSim_->setClearButtonEnabled(true);
    SetTip(edtFindSim_, QStringLiteral("Show only the sims whose name, household or file holds these words, and that meet "
                                       "the conditions (lifeStage:teen career:Medicine married:yes); changes nothing in "
                                       "the game"));
    auto* filters = new QToolButton(topStrip_);
    filters->setObjectName(QStringLiteral("btnSimFilters"));
    filters->setText(QStringLiteral("Filters"));
    filters->setPopupMode(QToolButton::InstantPopup);
    SetTip(filters, QStringLiteral("Add a condition to the search: life stage, species, household, career, ..."));
    auto* menu = new QMenu(filters);
    const std::pair<const char*, std::vector<const char*>> kConditions[] = {
        {"Life stage", {"lifeStage:baby", "lifeStage:toddler", "lifeStage:child", "lifeStage:teen", "lifeStage:young-adult",
                        "lifeStage:adult", "lifeStage:elder"}},
        {"Species", {"species:sim", "species:dog", "species:cat"}},
        {"Gender", {"gender:male", "gender:female"}},
        {"Alive or dead", {"dead:no", "dead:yes"}},
        {"Married", {"married:yes", "married:no"}},
        {"At university", {"university:yes", "university:no"}},
        {"Household", {"household:none"}},
        {"Career", {"career:unemployed"}},
        {"Found by the check", {"findings:yes"}},
    };
    for (const auto& [caption, tokens] : kConditions) {
        QMenu* sub = menu->addMenu(QString::fromLatin1(caption));
        for (const char* token : tokens) {
            sub->addAction(QString::fromLatin1(token), this, [this, token] {
                QString text = edtFindSim_->text().trimmed();
                edtFindSim_->setText((text.isEmpty() ? QString() : text + QLatin1Char(' ')) + QString::fromLatin1(token));
                edtFindSimChange();
            });
        }
    }
    filters->setMenu(menu);
    lblSimCount_ = NamedLabel(topStrip_, QStringLiteral("lblSimCount"));
    auto* exportSims = new QToolButton(topStrip_);
    exportSims->setObjectName(QStringLiteral("btnExportSims"));
    exportSims->setText(QStringLiteral("Export"));
    SetTip(exportSims, QStringLiteral("Save the sims shown as a table for a spreadsheet (CSV); changes nothing in the game"));
    connect(exportSims, &QToolButton::clicked, this, [this] { btnExportSimsClick(); });
    find->addWidget(edtFindSim_, 1);
    find->addWidget(filters);
    find->addWidget(exportSims);
    find->addWidget(lblSimCount_);
    layout->addLayout(selectors);
    auto* simButtons = new QVBoxLayout;
    auto* sort = new QPushButton(QStringLiteral("Sort"), topStrip_);
    sort->setObjectName(QStringLiteral("btnSortUsers"));
    sort->setToolTip(QStringLiteral("Sort the sims by first name, last name or file (changes nothing in the game)"));
    auto* del = new QPushButton(QStringLiteral("Delete"), topStrip_);
    del->setObjectName(QStringLiteral("btnDelSim"));
    del->setToolTip(QStringLiteral("Delete the shown sim: its character package goes to the trash (Undo brings it back)"));
    simButtons->addWidget(sort);
    simButtons->addWidget(del);
    layout->addLayout(simButtons);
    ckAdvanced_ = new QCheckBox(QStringLiteral("Advanced"), topStrip_);
    ckAdvanced_->setObjectName(QStringLiteral("ckAdvanced"));
    ckAdvanced_->setProperty("helpTopic", 1003);
    ckAdvanced_->setToolTip(QStringLiteral("Show the settings that can have unusual effects in the game"));
    // Beside the selectors: advanced mode and the history above, the search below.
    auto* right = new QVBoxLayout;
    auto* history = new QHBoxLayout;
    history->addWidget(ckAdvanced_);
    right->addLayout(history);
    right->addLayout(find);
    layout->addLayout(right);
    // Undo and redo of every edit, with the step's name in the tooltip.
    auto makeHistoryButton = [this, history](const char* name, QAction* action, const QList<QKeySequence>& keys) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::ApplicationShortcut);
        addAction(action);
        auto* button = new QToolButton(topStrip_);
        button->setObjectName(QString::fromLatin1(name));
        button->setDefaultAction(action);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        history->addWidget(button);
        auto show = [button, action] {
            button->setText(QString::fromLatin1(button->objectName() == QStringLiteral("btnUndo") ? "Undo" : "Redo"));
            const bool undo = button->objectName() == QStringLiteral("btnUndo");
            button->setToolTip(action->isEnabled() ? action->text()
                                                   : QString::fromLatin1(undo ? "Nothing to undo" : "Nothing to redo"));
        };
        connect(action, &QAction::changed, button, show);
        show();
        return button;
    };
    btnUndo_ = makeHistoryButton("btnUndo", document_.history().createUndoAction(this, QStringLiteral("Undo")),
                                 {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    btnRedo_ = makeHistoryButton("btnRedo", document_.history().createRedoAction(this, QStringLiteral("Redo")),
                                 {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    history->addStretch();
    layout->addStretch();
    auto* helpButton = new QPushButton(QStringLiteral("?"), topStrip_);
    helpButton->setObjectName(QStringLiteral("btnHelp"));
    helpButton->setFixedWidth(32);
    helpButton->setToolTip(QStringLiteral("Help"));
    layout->addWidget(helpButton, 0, Qt::AlignTop);
    connect(helpButton, &QPushButton::clicked, this, [this] { ShowHelp(1000); });
    auto* minimize = new QPushButton(QStringLiteral("--"), topStrip_);
    minimize->setObjectName(QStringLiteral("btnMinimize"));
    minimize->setFixedWidth(32);
    minimize->setToolTip(QStringLiteral("Minimize the window"));
    auto* close = new QPushButton(QStringLiteral("X"), topStrip_);
    close->setObjectName(QStringLiteral("btnX"));
    close->setFixedWidth(32);
    close->setToolTip(QStringLiteral("Close Quillhaven (it asks first when changes are not saved)"));
    layout->addWidget(minimize, 0, Qt::AlignTop);
    layout->addWidget(close, 0, Qt::AlignTop);
    connect(minimize, &QPushButton::clicked, this, [this] { showMinimized(); });
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    connect(cbNeighborhood_, &QComboBox::activated, this, [this] { LoadSelectedNeighborhood(); });
    cbUserName_->setModel(&shownSims_);
    connect(edtFindSim_, &QLineEdit::textChanged, this, [this] { edtFindSimChange(); });
    connect(cbUserName_, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_) cbUserNameChange();
    });
    connect(sort, &QPushButton::clicked, this, [this] { btnSortUsersClick(); });
    connect(del, &QPushButton::clicked, this, [this] { btnDelSimClick(); });
    connect(ckAdvanced_, &QCheckBox::clicked, this, [this] { ckAdvancedClick(); });
}

void MainWindow::BuildButtonColumn() {
    buttonColumn_ = new QWidget;
    buttonColumn_->setObjectName(QStringLiteral("pnlButtons"));
    buttonColumn_->setFixedWidth(150);
    auto* layout = new QVBoxLayout(buttonColumn_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);  // eighteen buttons, the portrait and three more fit the designed height
    for (const PanelRow& row : PanelRows()) {
        if (row.hidden) continue;
        auto* button = new QPushButton(QString::fromLatin1(row.caption), buttonColumn_);
        button->setObjectName(QString::fromLatin1(row.button));
        button->setProperty("helpTopic", row.helpTopic);
        button->setToolTip(QString::fromLatin1(row.tip));
        layout->addWidget(button);
        panelButtons_.push_back(button);
    }
    imgPortrait_ = new QLabel(buttonColumn_);
    imgPortrait_->setObjectName(QStringLiteral("imgPortrait"));
    imgPortrait_->setFixedSize(128, 128);
    imgPortrait_->setAlignment(Qt::AlignCenter);
    layout->addWidget(imgPortrait_, 0, Qt::AlignHCenter);
    layout->addStretch();
    btnSave_ = new QPushButton(QStringLiteral("Save Changes"), buttonColumn_);
    btnSave_->setObjectName(QStringLiteral("btnSave"));
    btnSave_->setVisible(false);
    btnSave_->setProperty("helpTopic", 3003);
    btnSave_->setToolTip(QStringLiteral("Write every change into the game's files (Ctrl+S)"));
    // Beside "Save Changes": what a save would write, in words.
    btnReviewChanges_ = new QPushButton(QStringLiteral("Review Changes"), buttonColumn_);
    btnReviewChanges_->setObjectName(QStringLiteral("btnReviewChanges"));
    btnReviewChanges_->setVisible(false);
    btnReviewChanges_->setToolTip(QStringLiteral("Every change that has not been saved yet"));
    auto* close = new QPushButton(QStringLiteral("Close"), buttonColumn_);
    close->setObjectName(QStringLiteral("btnClose"));
    close->setToolTip(QStringLiteral("Close Quillhaven (it asks first when changes are not saved)"));
    layout->addWidget(btnSave_);
    layout->addWidget(btnReviewChanges_);
    layout->addWidget(close);
    connect(btnSave_, &QPushButton::clicked, this, [this] { Save(); });
    connect(btnReviewChanges_, &QPushButton::clicked, this, [this] { btnReviewChangesClick(); });
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
}

void MainWindow::BuildStatusBar() {
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("lblStatus"));
    QFont font = statusLabel_->font();
    font.setPointSize(8);
    statusLabel_->setFont(font);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progressBar"));
    progress_->setTextVisible(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    statusBar()->addWidget(statusLabel_);
    statusBar()->addWidget(progress_, 1);
    statusBar()->setSizeGripEnabled(true);
    SetStatus(QString());
}

QPushButton* MainWindow::PanelButton(const QString& caption) const {
    for (QPushButton* button : panelButtons_) {
        if (button->text() == caption) return button;
    }
    return nullptr;
}

Panel* MainWindow::PanelNamed(const QString& objectName) const {
    for (Panel* panel : panels_) {
        if (panel->objectName() == objectName) return panel;
    }
    return nullptr;
}

Neighborhood* MainWindow::CurrentNeighborhood() {
    const int index = cbNeighborhood_->currentIndex();
    if (index < 0) return nullptr;
    const int record = cbNeighborhood_->itemData(index).toInt();
    return record >= 0 && record < static_cast<int>(session_.catalogue.size()) ? &session_.catalogue[static_cast<std::size_t>(record)] : nullptr;
}

std::optional<std::size_t> MainWindow::SelectedSimIndex() const {
    const auto sim = shownSims_.SimAt(cbUserName_->currentIndex());
    if (!sim || *sim >= session_.workspace.characters.size()) return std::nullopt;
    return sim;
}

Character* MainWindow::SelectedSim() {
    const auto index = SelectedSimIndex();
    return index ? &session_.workspace.characters[*index] : nullptr;
}

void MainWindow::SelectSim(std::size_t index) {
    int row = shownSims_.RowOf(index);
    if (row < 0 && shownSims_.Filtering()) {
        // A sim asked for by name (a picker, the check, an undo) is shown even when the search
        // hides it: the search gives way.
        edtFindSim_->clear();
        row = shownSims_.RowOf(index);
    }
    if (row >= 0) cbUserName_->setCurrentIndex(row);
}

void MainWindow::edtFindSimChange() {
    // The selected sim stays selected when it still matches; otherwise the first match is shown.
    const auto selected = SelectedSimIndex();
    filling_ = true;
    shownSims_.SetQuery(edtFindSim_->text());
    filling_ = false;
    const int row = selected ? shownSims_.RowOf(*selected) : -1;
    if (row >= 0) {
        if (cbUserName_->currentIndex() != row) {
            filling_ = true;
            cbUserName_->setCurrentIndex(row);
            filling_ = false;
        }
    } else if (shownSims_.rowCount() > 0) {
        cbUserName_->setCurrentIndex(0);
        if (SelectedSimIndex() != selected) cbUserNameChange();
    }
    ShowSimCount();
}

void MainWindow::btnExportSimsClick() {
    if (session_.workspace.characters.empty()) return;
    QFileDialog dialog(this, QStringLiteral("Export the List"), QString(), QStringLiteral("CSV (*.csv)"));
    dialog.setObjectName(QStringLiteral("dlgExportSims"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (const Neighborhood* n = document_.neighborhood()) dialog.selectFile(QString::fromStdString(n->prefix) + QStringLiteral(" sims.csv"));
    if (!asker_.Run(dialog) || dialog.selectedFiles().isEmpty()) return;
    std::vector<std::size_t> shown;
    for (int row = 0; row < shownSims_.rowCount(); ++row) {
        if (const auto sim = shownSims_.SimAt(row)) shown.push_back(*sim);
    }
    const auto facts = GatherSimFacts(session_.workspace, session_.env);
    const std::string table = SimTableCsv(session_.workspace, facts, shown);
    try {
        AtomicReplace(std::filesystem::u8path(dialog.selectedFiles().front().toStdString()),
                      std::span(reinterpret_cast<const std::uint8_t*>(table.data()), table.size()));
    } catch (const std::exception& error) {
        reporter_.Error("The list could not be exported: " + Explain(error));
    }
}

void MainWindow::ShowSimCount() {
    const int total = simList_.rowCount();
    lblSimCount_->setText(shownSims_.Filtering() ? QStringLiteral("%1 of %2").arg(shownSims_.rowCount()).arg(total)
                                                 : QStringLiteral("%1 sims").arg(total));
}

void MainWindow::ShowPanel(Panel& panel) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    for (int i = 0; i < stack_->count(); ++i) {
        auto* scroll = qobject_cast<QScrollArea*>(stack_->widget(i));
        if (scroll && scroll->widget() == &panel) stack_->setCurrentIndex(i);
    }
    stack_->show();
    lblNoSims_->hide();
    openPanel_ = &panel;
    // The open panel's button is the disabled one.
    const QString caption = QString::fromLatin1(panel.row().caption);
    for (QPushButton* button : panelButtons_) {
        // The open panel's button is the one not to click, and shows where the player is.
        const bool current = !panel.row().hidden && button->text() == caption;
        button->setEnabled(!current);
        button->setProperty("current", current);
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
    QApplication::restoreOverrideCursor();
}

void MainWindow::BeginBusy() {
    if (busy_++ == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        topStrip_->setEnabled(false);
        buttonColumn_->setEnabled(false);
        stack_->setEnabled(false);
    }
}

void MainWindow::EndBusy() {
    if (busy_ > 0 && --busy_ == 0) {
        progressTimer_.stop();
        progress_->setValue(progress_->minimum());  // the work is over: the bar is empty again
        topStrip_->setEnabled(true);
        buttonColumn_->setEnabled(true);
        stack_->setEnabled(true);
        QApplication::restoreOverrideCursor();
    }
}

int MainWindow::StatusPartWidth() const {
    const int column = buttonColumn_->width() - 4;
    const int needed = 7 * static_cast<int>(statusLabel_->text().size()) - 4;
    return std::max(column, needed);
}

void MainWindow::SetStatus(const QString& text) {
    statusLabel_->setText(text);
    statusLabel_->setFixedWidth(StatusPartWidth());
}

void MainWindow::SetStatus(std::string_view text) {
    const QString status = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    SetStatus(status);
    // The expansions are single long steps: the bar keeps moving while they run.
    if (status == QStringLiteral("Expanding Neighborhood") || status == QStringLiteral("Processing Data")) {
        progressTimer_.start();
    } else {
        progressTimer_.stop();
    }
}

void MainWindow::SetMaximum(int maximum) { progress_->setMaximum(std::max(1, maximum)); }
void MainWindow::SetPosition(int position) { progress_->setValue(std::min(position, progress_->maximum())); }
void MainWindow::Step() {
    // Work steps far more often than the window needs to repaint (a save walks each of a large
    // neighborhood's hundreds of thousands of resources).
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventsEveryMs) return;
    sinceEvents_.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::ShowUnsaved(bool unsaved) {
    btnSave_->setVisible(unsaved);
    btnReviewChanges_->setVisible(unsaved);
}

void MainWindow::btnReviewChangesClick() {
    ReviewDialog dialog(this, document_.UnsavedChanges());
    dialog.setPalette(palette());
    dialog.exec();
}

void MainWindow::DocumentChanged(const Change& change) {
    shownSims_.FactsChanged();
    switch (change.subject) {
        case Subject::Sim:
            if (change.sim >= 0) {
                filling_ = true;
                simList_.Relabel(static_cast<std::size_t>(change.sim));
                filling_ = false;
            }
            if (change.replay && change.sim >= 0 && SelectedSimIndex() != static_cast<std::size_t>(change.sim)) {
                // An undone change of another sim: show that sim, as a text editor shows the
                // place of an undone edit.
                SelectSim(static_cast<std::size_t>(change.sim));
                return;
            }
            ShowPortrait();
            break;
        case Subject::SimList: {
            const std::size_t at = static_cast<std::size_t>(std::max(change.sim, 0));
            const std::size_t count = session_.workspace.characters.size();
            FillCharacterSelector(count == 0 ? std::nullopt : std::optional<std::size_t>(std::min(at, count - 1)));
            cbUserNameChange();
            return;
        }
        case Subject::Neighborhood:
            if (Neighborhood* n = CurrentNeighborhood()) {
                cbNeighborhood_->setItemText(cbNeighborhood_->currentIndex(), QString::fromStdString(n->Text()));
            }
            break;
        case Subject::Households:
            break;
        case Subject::Relationships:
        case Subject::Family:
            if (change.replay && change.sim >= 0 && SelectedSimIndex() != static_cast<std::size_t>(change.sim)) {
                SelectSim(static_cast<std::size_t>(change.sim));  // the sim whose relationship it was
                return;
            }
            break;
    }
    for (Panel* panel : panels_) panel->DocumentChanged(change);
}

void MainWindow::CatalogueChanged(const QString& prefix, bool reload) {
    FillNeighborhoodSelector(prefix);
    if (reload) LoadSelectedNeighborhood();
}

std::optional<std::size_t> MainWindow::PickSim(const SimPick& pick) {
    std::vector<CharacterPicker::Entry> entries;
    for (std::size_t index : pick.sims) {
        const Character& sim = session_.workspace.characters[index];
        entries.push_back({index, SimEntryText(sim), SimPicture(sim, 32)});
    }
    CharacterPicker picker(this, pick, entries);
    if (!asker_.Run(picker)) return std::nullopt;
    const int chosen = picker.Chosen();
    if (chosen < 0) return std::nullopt;
    return static_cast<std::size_t>(chosen);
}

QString MainWindow::SimEntryText(const Character& sim) const {
    return QString::fromStdString(CharacterListText(sim, simList_.order()));
}

bool MainWindow::Advanced() const { return ckAdvanced_->isChecked(); }

void MainWindow::RegisterAdvanced(QWidget* control, AdvancedEffect effect) { advancedControls_.emplace_back(control, effect); }

void MainWindow::ApplyAdvancedMode() {
    const bool on = Advanced();
    for (auto& [control, effect] : advancedControls_) {
        if (!control) continue;
        switch (effect) {
            case AdvancedEffect::ShowWhenOn: control->setVisible(on); break;
            case AdvancedEffect::HideWhenOn: control->setVisible(!on); break;
            case AdvancedEffect::EnableWhenOn: control->setEnabled(on); break;
        }
    }
    for (Panel* panel : panels_) panel->AdvancedChanged();
}

void MainWindow::ckAdvancedClick() {
    if (Advanced() && session_.settings->TakeAdvancedWarning()) {
        reporter_.Warning(
            "Using the Advanced settings available in this program can have adverse and unusual effects when using the "
            "game.\r\nPlease check the User Guide for details on using each of these settings and the known effects they "
            "may have during game play.");
    }
    if (!session_.workspace.characters.empty()) ApplyAdvancedMode();
}

QColor MainWindow::BackgroundColor() const { return session_.colorScheme == 0 ? Qt::white : Qt::black; }
QColor MainWindow::TextColor() const { return session_.colorScheme == 0 ? Qt::black : Qt::white; }

void MainWindow::RecolorChildren(QWidget* root) {
    QPalette palette = root->palette();
    const QColor background = BackgroundColor();
    const QColor text = TextColor();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase}) {
        palette.setColor(role, background);
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, text);
    palette.setColor(QPalette::Highlight, session_.colorScheme == 0 ? QColor(0x33, 0x66, 0xCC) : QColor(0x3F, 0x7F, 0xBF));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    // Links (the help pages') in the scheme's readable colour.
    palette.setColor(QPalette::Link, LinkColor(session_.colorScheme));
    palette.setColor(QPalette::LinkVisited, LinkColor(session_.colorScheme));
    root->setPalette(palette);
    QFont font(QString::fromStdString(session_.env.uiFontName));
    font.setPointSize(9);
    root->setFont(font);
    root->setAutoFillBackground(true);
}

QString SchemeStyleSheet(int scheme, const std::string& fontName) {
    const QColor background = scheme == 0 ? Qt::white : Qt::black;
    const QColor text = scheme == 0 ? Qt::black : Qt::white;
    // Every control takes the scheme's background and text colours and the language's font.
    const QString sheet = QStringLiteral(
        "QWidget { background: %1; color: %2; font-family: '%4'; }"
        "QLineEdit, QPlainTextEdit, QComboBox, QListWidget, QTreeWidget, QTextBrowser "
        "{ background: %1; color: %2; border: 1px solid %3; selection-background-color: %5; selection-color: white; }"
        "QComboBox QAbstractItemView { background: %1; color: %2; selection-background-color: %5; }"
        "QComboBox::drop-down { subcontrol-origin: padding; subcontrol-position: center right; width: 16px; "
        "border: none; border-left: 1px solid %3; background: %1; }"
        "QComboBox::down-arrow { image: url(:/IMG%6ArrowDown); width: 10px; height: 6px; }"
        "QComboBox::down-arrow:disabled { image: none; }"
        "QPushButton { border: 1px solid %3; padding: 3px 6px; background: %1; color: %2; }"
        "QPushButton:disabled, QLabel:disabled, QRadioButton:disabled, QCheckBox:disabled, QComboBox:disabled "
        "{ color: #808080; border-color: #808080; }"
        "QGroupBox { border: 1px solid %3; margin-top: 14px; padding-top: 4px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 3px; }"
        "QSlider::groove:horizontal { height: 4px; background: %3; }"
        "QSlider::handle:horizontal { width: 10px; margin: -6px 0; background: %5; border: 1px solid %2; }"
        "QCheckBox::indicator, QRadioButton::indicator { width: 11px; height: 11px; border: 1px solid %2; background: %1; }"
        "QRadioButton::indicator { border-radius: 6px; }"
        "QCheckBox::indicator:checked, QRadioButton::indicator:checked { background: %5; }"
        "QCheckBox::indicator:checked { image: url(:/IMGTick); }"
        "QCheckBox::indicator:disabled, QRadioButton::indicator:disabled { border-color: #808080; }"
        "QProgressBar { border: 1px solid %3; background: %1; }"
        "QProgressBar::chunk { background: %5; }"
        "QStatusBar { background: %1; color: %2; }"
        // The open panel's button, and the menus: a border, and the item under the pointer or
        // the keys marked, so a player sees where they are.
        "QPushButton[current=\"true\"] { background: #2f5f9f; color: white; border-color: %2; font-weight: bold; }"
        "QMenu { background: %1; color: %2; border: 1px solid %2; padding: 2px; }"
        "QMenu::item { padding: 3px 18px; }"
        "QMenu::item:selected { background: %5; color: white; }"
        "QMenu::item:disabled { color: #808080; }"
        "QMenu::separator { height: 1px; background: %3; margin: 3px 6px; }");
    return sheet.arg(background.name(), text.name(), scheme == 0 ? QStringLiteral("#8a8a8a") : QStringLiteral("#7a7a7a"),
                     QString::fromStdString(fontName), scheme == 0 ? QStringLiteral("#3366cc") : QStringLiteral("#3f7fbf"),
                     scheme == 0 ? QString() : QStringLiteral("Dk"));
}

void MainWindow::ApplyColorScheme(int scheme) {
    session_.colorScheme = scheme == 0 ? 0 : 1;
    RecolorChildren(this);
    RecolorChildren(help_.get());
    // The application gives the sheet to every window it opens (message boxes and dialogs have no
    // parent to take it from). Setting it polishes every control again, which costs a large part
    // of the start: only a change of scheme or font sets it.
    const QString filled = SchemeStyleSheet(session_.colorScheme, session_.env.uiFontName);
    if (qApp->styleSheet() != filled) qApp->setStyleSheet(filled);
    help_->setStyleSheet(QStringLiteral("QTextBrowser { background: %1; color: %2; }").arg(BackgroundColor().name(), TextColor().name()));
    if (!images_.Loaded()) {
        reporter_.Error("Bad DLL Load");
        return;
    }
    const QString dk = session_.colorScheme == 0 ? QString() : QStringLiteral("Dk");
    imgTitle_->setPixmap(images_.Picture(QStringLiteral("IMG") + dk + QStringLiteral("QUILLTitle")));
    for (Panel* panel : panels_) panel->SchemeChanged();
    shownPortrait_ = {};  // the placeholder is the scheme's
    ShowPortrait();
    update();
}

void MainWindow::ShowHelp(int topic) {
    RecolorChildren(help_.get());
    help_->ShowTopic(topic);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::ShortcutOverride && widget && widget->window() == this) {
        // Text boxes keep no undo of their own: Ctrl+Z and its kin undo the document's steps,
        // which the boxes then show.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            (key->key() == Qt::Key_Y && key->modifiers() == Qt::ControlModifier)) {
            event->ignore();
            return true;
        }
    }
    if (event->type() == QEvent::ContextMenu && widget && widget->window() == this) {
        // A right click opens the help topic of the control, or of the nearest enclosing one;
        // a control with a menu of its own (a tree or list, whose viewport gets the click) keeps it.
        for (QWidget* w = widget; w && w != this; w = w->parentWidget()) {
            if (qobject_cast<QAbstractItemView*>(w) || w->property("ownMenu").toBool() ||
                w->contextMenuPolicy() == Qt::CustomContextMenu || w->contextMenuPolicy() == Qt::ActionsContextMenu) {
                return false;
            }
            if (w != widget) break;  // the control itself or the view it is the viewport of
        }
        int topic = 1000;
        for (QWidget* w = widget; w; w = w->parentWidget()) {
            if (w->property("helpTopic").isValid()) {
                topic = w->property("helpTopic").toInt();
                break;
            }
        }
        ShowHelp(topic);
        return true;
    }
    if (widget == topStrip_ || (widget && widget->parentWidget() == topStrip_ && qobject_cast<QLabel*>(widget))) {
        // The window has no caption: dragging the top strip moves it.
        if (event->type() == QEvent::MouseButtonDblClick) {
            // As a caption's double click: the whole screen, and back.
            dragging_ = false;
            isMaximized() ? showNormal() : showMaximized();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && !isMaximized()) {
                dragging_ = true;
                dragOffset_ = mouse->globalPosition().toPoint() - frameGeometry().topLeft();
            }
        } else if (event->type() == QEvent::MouseMove && dragging_) {
            move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            dragging_ = false;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::StoreSettings() {
    if (Neighborhood* n = CurrentNeighborhood()) session_.settings->SetNgbd(n->prefix);
    session_.settings->SetColorScheme(session_.colorScheme);
    session_.settings->SetAdvanced(Advanced());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Long work in progress: the top strip is disabled and the window stays.
    if (!topStrip_->isEnabled()) {
        event->ignore();
        return;
    }
    if (document_.Unsaved() &&
        !asker_.AskYesNo(QStringLiteral("There are changes that have not been saved.\r\nClose Quillhaven without saving them?"))) {
        event->ignore();
        return;
    }
    StoreSettings();
    help_->close();
    event->accept();
}

void MainWindow::FillNeighborhoodSelector(const QString& selectPrefix) {
    filling_ = true;
    cbNeighborhood_->clear();
    for (std::size_t i = 0; i < session_.catalogue.size(); ++i) {
        cbNeighborhood_->addItem(QString::fromStdString(session_.catalogue[i].Text()), static_cast<int>(i));
        if (QString::fromStdString(session_.catalogue[i].prefix).compare(selectPrefix, Qt::CaseInsensitive) == 0) {
            cbNeighborhood_->setCurrentIndex(static_cast<int>(i));
        }
    }
    filling_ = false;
}

void MainWindow::FillCharacterSelector(std::optional<std::size_t> select) {
    filling_ = true;
    simList_.Reset(session_.settings->Sort());
    shownSims_.FactsChanged();
    const int row = select ? shownSims_.RowOf(*select) : -1;
    cbUserName_->setCurrentIndex(row >= 0 ? row : (shownSims_.rowCount() > 0 ? 0 : -1));
    filling_ = false;
    ShowSimCount();
}

bool MainWindow::LoadSelectedNeighborhood() {
    Neighborhood* neighborhood = CurrentNeighborhood();
    if (!neighborhood) return false;
    // Choosing the neighborhood that is open already changes nothing (and loses nothing).
    const std::size_t chosen = static_cast<std::size_t>(cbNeighborhood_->itemData(cbNeighborhood_->currentIndex()).toInt());
    if (session_.loaded && *session_.loaded == chosen) return false;
    if (!io_.MayDiscardChanges(QStringLiteral("Load another neighborhood without saving them?"))) {
        // Keep the open one, and show it as chosen again.
        if (session_.loaded) {
            for (int i = 0; i < cbNeighborhood_->count(); ++i) {
                if (cbNeighborhood_->itemData(i).toInt() == static_cast<int>(*session_.loaded)) cbNeighborhood_->setCurrentIndex(i);
            }
        }
        return false;
    }
    const std::size_t entry = static_cast<std::size_t>(cbNeighborhood_->itemData(cbNeighborhood_->currentIndex()).toInt());
    BeginBusy();
    filling_ = true;
    simList_.Clear();
    filling_ = false;
    // The load may be cancelled: it writes nothing, and the neighborhood it leaves is empty.
    CancellableProgress loading(this, *this, QStringLiteral("Loading ") + QString::fromStdString(neighborhood->Text()));
    if (io_.Load(entry, &loading)) {
        shownPortrait_ = {};  // the same file may hold another picture now
        cbNeighborhood_->setItemText(cbNeighborhood_->currentIndex(), QString::fromStdString(neighborhood->Text()));
        FillCharacterSelector(std::nullopt);
        EndBusy();
        if (session_.workspace.characters.empty()) {
            // Nothing of the neighborhood shown before may stay on screen to be edited: the
            // panels make way for a word on the one now loaded.
            stack_->hide();
            openPanel_ = nullptr;
            lblNoSims_->setText(QString::fromStdString(neighborhood->Text()) +
                                QStringLiteral("\n\nThis neighborhood has no sims, so there is nothing in it to edit. "
                                               "Choose another neighborhood above."));
            lblNoSims_->show();
        } else {
            lblNoSims_->hide();
            for (Panel* panel : panels_) {
                if (panel->row().opensAfterLoad) panel->Open();
            }
        }
        ShowPortrait();
    } else {
        lblNoSims_->hide();
        FillCharacterSelector(std::nullopt);  // the model is empty now
        ShowPortrait();  // no sim: the last neighborhood's portrait does not stay
        EndBusy();
        // Only another neighborhood can be chosen now.
        if (Panel* about = PanelNamed(QStringLiteral("pnlAbout"))) about->Open();
        buttonColumn_->setEnabled(false);
    }
    SetStatus(loading.Cancelled() ? QStringLiteral("Loading was cancelled. Choose a neighborhood above.") : QString());
    progress_->setMaximum(100);
    progress_->setValue(0);
    return true;
}

void MainWindow::cbUserNameChange() {
    ShowPortrait();
    if (session_.workspace.characters.empty()) return;
    // A panel that does not follow the selection (the data panel) shows the new sim where it stands.
    if (openPanel_ && !openPanel_->row().followsSelection) {
        openPanel_->Refill();
        return;
    }
    stack_->hide();
    // The same panel again for the new sim, once the window has caught up.
    QTimer::singleShot(100, this, [this] { ReopenCurrentPanel(); });
}

void MainWindow::ReopenCurrentPanel() {
    QCoreApplication::processEvents();
    if (openPanel_) {
        openPanel_->Open();
    }
    stack_->show();
    QCoreApplication::processEvents();
}

QPixmap MainWindow::SimPicture(const Character& sim, int size) {
    std::optional<Bitmap> picture = SimPortrait(session_.workspace, sim);
    QImage image;
    if (picture) {
        Bitmap scaled = size < 128 ? ScaleToSquare(*picture, size) : *picture;
        if (sim.familyNumber == 0) GreyPicture(scaled);
        image = ToQImage(scaled);
    } else {
        QPixmap placeholder = images_.Picture(QStringLiteral("IMGUnknown"));
        if (placeholder.isNull()) return {};
        Bitmap bitmap = ScaleToSquare(FromQImage(placeholder.toImage()), size);
        if (sim.familyNumber == 0) GreyPicture(bitmap);
        image = ToQImage(bitmap);
    }
    return QPixmap::fromImage(image);
}

void MainWindow::ShowPortrait() {
    // Reading and decoding the picture is work for a change of picture, not for every edit: the
    // shown one stays while the sim, its picture and its household state are the same.
    Character* sim = SelectedSim();
    PortraitKey key;
    if (sim) key = {(session_.workspace.charactersFolder / sim->packageFile).string(), sim->portrait, sim->familyNumber == 0, true};
    if (key == shownPortrait_) return;
    shownPortrait_ = key;
    imgPortrait_->setPixmap(sim ? SimPicture(*sim, 128) : QPixmap());
}

void MainWindow::btnSortUsersClick() {
    const auto selected = SelectedSimIndex();
    if (!selected) return;
    const SortOrder next = NextSortOrder(simList_.order());
    session_.settings->SetSort(next);
    FillCharacterSelector(selected);
    cbUserNameChange();
}

void MainWindow::btnDelSimClick() {
    if (const auto index = SelectedSimIndex()) io_.DeleteSim(*index);
}

void MainWindow::Save() {
    Neighborhood* neighborhood = document_.neighborhood();
    if (!neighborhood || !io_.Save()) return;
    SetStatus(QString());
    progress_->setValue(0);
    cbNeighborhood_->setItemText(cbNeighborhood_->currentIndex(), QString::fromStdString(neighborhood->Text()));
    ShowPortrait();
    if (openPanel_) openPanel_->Open();
}

void MainWindow::OpenDataPanel() {
    if (!Advanced() || session_.workspace.characters.empty()) return;
    if (Panel* dataPanel = PanelNamed(QStringLiteral("pnlNgbdData"))) dataPanel->Open();
}

}  // namespace qh::app
