#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollArea>
#include <QShortcut>
#include <QSlider>
#include <QStatusBar>
#include <QThread>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/panels/about_panel.h"
#include "app/panels/character_panel.h"
#include "app/panels/data_panel.h"
#include "app/panels/neighborhood_panel.h"
#include "app/panels/panel.h"
#include "package/text_list.h"
#include "workspace/character_list.h"
#include "workspace/loader.h"
#include "workspace/save.h"

namespace qh::app {

namespace {

struct PanelEntry {
    const char* caption;
    const char* button;
    const char* panel;
    int helpTopic;
};

// The panel buttons, top to bottom.
constexpr PanelEntry kPanels[] = {
    {"Neighborhood", "btnNeighborhood", "pnlNeighborhood", 3010},
    {"Households", "btnHouseholds", "pnlHouseholds", 4090},
    {"Family Tree", "btnFamilyTies", "pnlFamilyTies", 6020},
    {"Relationships", "btnRelationships", "pnlRelationships", 6060},
    {"Character", "btnCharacters", "pnlCharacters", 4020},
    {"Personality", "btnPersonality", "pnlPersonality", 4030},
    {"Interests", "btnInterests", "pnlInterests", 4031},
    {"Skills", "btnSkills", "pnlSkills", 4040},
    {"Needs", "btnNeeds", "pnlNeeds", 4050},
    {"Aspiration/Influence", "btnAspiration", "pnlAspiration", 4060},
    {"Badges", "btnBadges", "pnlBadges", 4070},
    {"Hobbies", "btnHobbies", "pnlHobbies", 4071},
    {"School", "btnSchool", "pnlSchool", 5030},
    {"Career", "btnCareer", "pnlCareer", 5020},
    {"Rewards/Extras", "btnRewards", "pnlRewards", 4080},
    {"Genetics (DNA)", "btnGenetics", "pnlGenetics", 6050},
    {"Cloning Lab", "btnCloning", "pnlCloning", 6040},
    {"About", "btnAbout", "pnlAbout", 1001},
};

}  // namespace

PendingPanel::PendingPanel(MainWindow& window, const QString& objectName, const QString& caption)
    : Panel(window, objectName), caption_(caption) {
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(caption, this);
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title);
    auto* note = new QLabel(QStringLiteral("This panel is not part of this version of Quillhaven yet. "
                                           "Everything it would show is kept unchanged when you save."),
                            this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addStretch();
}

void PendingPanel::Open() {
    window_.ShowPanel(this);
    window_.MarkPanelButton(window_.PanelButton(caption_));
}

MainWindow::MainWindow(AppState& state, ImageLibrary& images, Reporter& reporter, Asker& asker, QString helpFolder)
    : state_(state), images_(images), reporter_(reporter), asker_(asker),
      help_(std::make_unique<HelpWindow>(std::move(helpFolder))) {
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
    panels_ = new QStackedWidget(central);
    panels_->setObjectName(QStringLiteral("pnlPanels"));
    middle->addWidget(panels_, 1);
    outer->addLayout(middle, 1);
    setCentralWidget(central);
    BuildStatusBar();

    for (const PanelEntry& entry : kPanels) {
        Panel* panel = nullptr;
        const QString name = QString::fromLatin1(entry.panel);
        if (name == QStringLiteral("pnlNeighborhood")) {
            panel = neighborhoodPanel_ = new NeighborhoodPanel(*this);
        } else if (name == QStringLiteral("pnlCharacters")) {
            panel = characterPanel_ = new CharacterPanel(*this);
        } else if (name == QStringLiteral("pnlAbout")) {
            panel = aboutPanel_ = new AboutPanel(*this);
        } else {
            panel = new PendingPanel(*this, name, QString::fromLatin1(entry.caption));
        }
        panel->setProperty("helpTopic", entry.helpTopic);
        auto* scroll = new QScrollArea(panels_);
        scroll->setObjectName(name + QStringLiteral("Scroll"));
        scroll->setWidget(panel);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        panels_->addWidget(scroll);
        QPushButton* button = PanelButton(QString::fromLatin1(entry.caption));
        connect(button, &QPushButton::clicked, this, [panel] { panel->Open(); });
    }
    dataPanel_ = new DataPanel(*this);
    auto* dataScroll = new QScrollArea(panels_);
    dataScroll->setWidget(dataPanel_);
    dataScroll->setWidgetResizable(true);
    panels_->addWidget(dataScroll);

    // The hidden neighborhood data panel: Ctrl+Shift+N anywhere in the program.
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+N")), this);
    shortcut->setContext(Qt::ApplicationShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { OpenDataPanel(); });

    qApp->installEventFilter(this);
    connect(&progressTimer_, &QTimer::timeout, this, [this] {
        progress_->setValue(progress_->value() >= progress_->maximum() ? 1 : progress_->value() + 1);
    });
    progressTimer_.setInterval(10);
    resize(1060, 760);
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
    layout->addLayout(selectors);
    auto* simButtons = new QVBoxLayout;
    auto* sort = new QPushButton(QStringLiteral("Sort"), topStrip_);
    sort->setObjectName(QStringLiteral("btnSortUsers"));
    auto* del = new QPushButton(QStringLiteral("Delete"), topStrip_);
    del->setObjectName(QStringLiteral("btnDelSim"));
    simButtons->addWidget(sort);
    simButtons->addWidget(del);
    layout->addLayout(simButtons);
    ckAdvanced_ = new QCheckBox(QStringLiteral("Advanced"), topStrip_);
    ckAdvanced_->setObjectName(QStringLiteral("ckAdvanced"));
    ckAdvanced_->setProperty("helpTopic", 1003);
    layout->addWidget(ckAdvanced_);
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
    auto* close = new QPushButton(QStringLiteral("X"), topStrip_);
    close->setObjectName(QStringLiteral("btnX"));
    close->setFixedWidth(32);
    layout->addWidget(minimize, 0, Qt::AlignTop);
    layout->addWidget(close, 0, Qt::AlignTop);
    connect(minimize, &QPushButton::clicked, this, [this] { showMinimized(); });
    connect(close, &QPushButton::clicked, this, [this] { this->close(); });
    connect(cbNeighborhood_, &QComboBox::activated, this, [this] { LoadSelectedNeighborhood(); });
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
    layout->setSpacing(2);
    for (const PanelEntry& entry : kPanels) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), buttonColumn_);
        button->setObjectName(QString::fromLatin1(entry.button));
        button->setProperty("helpTopic", entry.helpTopic);
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
    auto* close = new QPushButton(QStringLiteral("Close"), buttonColumn_);
    close->setObjectName(QStringLiteral("btnClose"));
    layout->addWidget(btnSave_);
    layout->addWidget(close);
    connect(btnSave_, &QPushButton::clicked, this, [this] { Save(); });
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
    statusBar()->setSizeGripEnabled(false);
    SetStatus(QString());
}

QPushButton* MainWindow::PanelButton(const QString& caption) const {
    for (QPushButton* button : panelButtons_) {
        if (button->text() == caption) return button;
    }
    return nullptr;
}

QPushButton* MainWindow::OpenPanelButton() const {
    for (QPushButton* button : panelButtons_) {
        if (!button->isEnabled()) return button;
    }
    return nullptr;
}

Neighborhood* MainWindow::CurrentNeighborhood() {
    const int index = cbNeighborhood_->currentIndex();
    if (index < 0) return nullptr;
    const int record = cbNeighborhood_->itemData(index).toInt();
    return record >= 0 && record < static_cast<int>(state_.catalogue.size()) ? &state_.catalogue[static_cast<std::size_t>(record)] : nullptr;
}

Character* MainWindow::SelectedSim() {
    const int index = cbUserName_->currentIndex();
    if (index < 0 || index >= static_cast<int>(state_.workspace.characters.size())) return nullptr;
    return &state_.workspace.characters[static_cast<std::size_t>(index)];
}

void MainWindow::ShowPanel(QWidget* panel) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    for (int i = 0; i < panels_->count(); ++i) {
        auto* scroll = qobject_cast<QScrollArea*>(panels_->widget(i));
        if (scroll && scroll->widget() == panel) panels_->setCurrentIndex(i);
    }
    panels_->show();
    QApplication::restoreOverrideCursor();
}

void MainWindow::MarkPanelButton(QPushButton* button) {
    for (QPushButton* b : panelButtons_) b->setEnabled(true);
    if (button) button->setEnabled(false);
}

void MainWindow::BeginBusy() {
    if (busy_++ == 0) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        topStrip_->setEnabled(false);
        buttonColumn_->setEnabled(false);
        panels_->setEnabled(false);
    }
}

void MainWindow::EndBusy() {
    if (busy_ > 0 && --busy_ == 0) {
        progressTimer_.stop();
        topStrip_->setEnabled(true);
        buttonColumn_->setEnabled(true);
        panels_->setEnabled(true);
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
void MainWindow::Step() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void MainWindow::ApplyEdit(const std::function<void()>& change) {
    change();
    SetUnsavedChanges(true);
}

void MainWindow::SetUnsavedChanges(bool unsaved) { btnSave_->setVisible(unsaved); }
bool MainWindow::HasUnsavedChanges() const { return !btnSave_->isHidden(); }

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
    characterPanel_->AdvancedChanged();
}

void MainWindow::ckAdvancedClick() {
    if (Advanced() && state_.settings->TakeAdvancedWarning()) {
        reporter_.Warning(
            "Using the Advanced settings available in this program can have adverse and unusual effects when using the "
            "game.\r\nPlease check the User Guide for details on using each of these settings and the known effects they "
            "may have during game play.");
    }
    if (!state_.workspace.characters.empty()) ApplyAdvancedMode();
}

QColor MainWindow::BackgroundColor() const { return state_.colorScheme == 0 ? Qt::white : Qt::black; }
QColor MainWindow::TextColor() const { return state_.colorScheme == 0 ? Qt::black : Qt::white; }

void MainWindow::RecolorChildren(QWidget* root) {
    QPalette palette = root->palette();
    const QColor background = BackgroundColor();
    const QColor text = TextColor();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase}) {
        palette.setColor(role, background);
    }
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, text);
    palette.setColor(QPalette::Highlight, state_.colorScheme == 0 ? QColor(0x33, 0x66, 0xCC) : QColor(0x3F, 0x7F, 0xBF));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    root->setPalette(palette);
    QFont font(QString::fromStdString(state_.env.uiFontName));
    font.setPointSize(9);
    root->setFont(font);
    root->setAutoFillBackground(true);
}

void MainWindow::ApplyColorScheme(int scheme) {
    state_.colorScheme = scheme == 0 ? 0 : 1;
    RecolorChildren(this);
    RecolorChildren(help_.get());
    // Every control takes the scheme's background and text colours and the language's font.
    const QString sheet = QStringLiteral(
        "QWidget { background: %1; color: %2; font-family: '%4'; }"
        "QLineEdit, QPlainTextEdit, QComboBox, QListWidget, QTreeWidget, QTextBrowser "
        "{ background: %1; color: %2; border: 1px solid %3; selection-background-color: %5; selection-color: white; }"
        "QComboBox QAbstractItemView { background: %1; color: %2; selection-background-color: %5; }"
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
        "QCheckBox::indicator:disabled, QRadioButton::indicator:disabled { border-color: #808080; }"
        "QProgressBar { border: 1px solid %3; background: %1; }"
        "QProgressBar::chunk { background: %5; }"
        "QStatusBar { background: %1; color: %2; }");
    setStyleSheet(sheet.arg(BackgroundColor().name(), TextColor().name(),
                            state_.colorScheme == 0 ? QStringLiteral("#8a8a8a") : QStringLiteral("#7a7a7a"),
                            QString::fromStdString(state_.env.uiFontName),
                            state_.colorScheme == 0 ? QStringLiteral("#3366cc") : QStringLiteral("#3f7fbf")));
    help_->setStyleSheet(QStringLiteral("QTextBrowser { background: %1; color: %2; }").arg(BackgroundColor().name(), TextColor().name()));
    if (!images_.Loaded()) {
        reporter_.Error("Bad DLL Load");
        return;
    }
    const QString dk = state_.colorScheme == 0 ? QString() : QStringLiteral("Dk");
    imgTitle_->setPixmap(images_.Picture(QStringLiteral("IMG") + dk + QStringLiteral("QUILLTitle")));
    aboutPanel_->SetTitlePicture(images_.Picture(QStringLiteral("IMG") + dk + QStringLiteral("QUILL")));
    ShowPortrait();
    update();
}

void MainWindow::ShowHelp(int topic) {
    RecolorChildren(help_.get());
    help_->ShowTopic(topic);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::ContextMenu && widget && widget->window() == this) {
        // A right click opens the help topic of the control, or of the nearest enclosing one.
        if (qobject_cast<QTreeView*>(widget) || widget->property("ownMenu").toBool()) return false;
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
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
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
    if (Neighborhood* n = CurrentNeighborhood()) state_.settings->SetNgbd(n->prefix);
    state_.settings->SetColorScheme(state_.colorScheme);
    state_.settings->SetAdvanced(Advanced());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Long work in progress: the top strip is disabled and the window stays.
    if (!topStrip_->isEnabled()) {
        event->ignore();
        return;
    }
    if (HasUnsavedChanges() &&
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
    for (std::size_t i = 0; i < state_.catalogue.size(); ++i) {
        cbNeighborhood_->addItem(QString::fromStdString(state_.catalogue[i].Text()), static_cast<int>(i));
        if (QString::fromStdString(state_.catalogue[i].prefix).compare(selectPrefix, Qt::CaseInsensitive) == 0) {
            cbNeighborhood_->setCurrentIndex(static_cast<int>(i));
        }
    }
    filling_ = false;
}

void MainWindow::FillCharacterSelector(int select) {
    filling_ = true;
    cbUserName_->clear();
    for (const Character& sim : state_.workspace.characters) cbUserName_->addItem(QString::fromStdString(sim.listText));
    if (!state_.workspace.characters.empty()) {
        cbUserName_->setCurrentIndex(std::clamp(select, 0, static_cast<int>(state_.workspace.characters.size()) - 1));
    }
    filling_ = false;
}

void MainWindow::RelabelSelectedSim() {
    const int index = cbUserName_->currentIndex();
    if (Character* sim = SelectedSim()) cbUserName_->setItemText(index, QString::fromStdString(sim->listText));
}

void MainWindow::LoadSelectedNeighborhood() {
    Neighborhood* neighborhood = CurrentNeighborhood();
    if (!neighborhood) return;
    BeginBusy();
    try {
        LoadOptions options{state_.env.languageCode, state_.settings->Sort()};
        LoadNeighborhood(state_.workspace, *neighborhood, state_.env.neighborhoodsFolder, options, reporter_, *this);
        cbNeighborhood_->setItemText(cbNeighborhood_->currentIndex(), QString::fromStdString(neighborhood->Text()));
        SetUnsavedChanges(false);
        FillCharacterSelector(0);
        EndBusy();
        neighborhoodPanel_->Open();
        ShowPortrait();
    } catch (const std::exception& error) {
        reporter_.Error(error.what());
        FillCharacterSelector(0);  // the model is empty now
        EndBusy();
        // Only another neighborhood can be chosen now.
        aboutPanel_->Open();
        buttonColumn_->setEnabled(false);
    }
    SetStatus(QString());
    progress_->setMaximum(100);
    progress_->setValue(0);
}

void MainWindow::cbUserNameChange() {
    if (state_.workspace.characters.empty()) return;
    ShowPortrait();
    if (dataPanel_->isVisible() && panels_->currentWidget()->isAncestorOf(dataPanel_)) {
        dataPanel_->Open();
        return;
    }
    panels_->hide();
    // The same panel again for the new sim, once the window has caught up.
    QTimer::singleShot(100, this, [this] { ReopenCurrentPanel(); });
}

void MainWindow::ReopenCurrentPanel() {
    QCoreApplication::processEvents();
    if (QPushButton* open = OpenPanelButton()) {
        emit open->clicked();
    } else {
        panels_->show();
    }
    QCoreApplication::processEvents();
}

QPixmap MainWindow::SimPicture(const Character& sim, int size) {
    std::optional<Bitmap> picture = SimPortrait(state_.workspace, sim);
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
    Character* sim = SelectedSim();
    imgPortrait_->setPixmap(sim ? SimPicture(*sim, 128) : QPixmap());
}

void MainWindow::SelectSimByGuid(const Guid4& guid) {
    for (std::size_t i = 0; i < state_.workspace.characters.size(); ++i) {
        if (state_.workspace.characters[i].simGuid == guid) {
            cbUserName_->setCurrentIndex(static_cast<int>(i));
            return;
        }
    }
}

void MainWindow::btnSortUsersClick() {
    Character* selected = SelectedSim();
    if (!selected) return;
    const Guid4 guid = selected->simGuid;
    const auto next = NextSortOrder(*selected);
    if (!next) return;
    state_.settings->SetSort(*next);
    RelabelCharacters(state_.workspace, *next);
    FillCharacterSelector(0);
    filling_ = true;
    SelectSimByGuid(guid);
    filling_ = false;
    cbUserNameChange();
}

void MainWindow::btnDelSimClick() {
    Character* sim = SelectedSim();
    if (!sim) return;
    const QString path = QString::fromStdString((state_.workspace.charactersFolder / sim->packageFile).string());
    if (!QFile::exists(path)) return;
    if (!asker_.AskYesNo(QStringLiteral("You are about to delete the selected Character. Are you sure you want to do this?"))) {
        return;
    }
    if (!QFile::moveToTrash(path)) {
        reporter_.Error("Delete Operation Failed.");
        return;
    }
    const int index = cbUserName_->currentIndex();
    state_.workspace.loadedFiles.erase(state_.workspace.charactersFolder / sim->packageFile);
    state_.workspace.characters.erase(state_.workspace.characters.begin() + index);
    FillCharacterSelector(std::min(index, static_cast<int>(state_.workspace.characters.size()) - 1));
    cbUserNameChange();
}

void MainWindow::Save() {
    Neighborhood* neighborhood = CurrentNeighborhood();
    if (!neighborhood) return;
    SaveOptions options;
    options.languageCode = state_.env.languageCode;
    BeginBusy();
    SaveResult result = SaveNeighborhood(state_.workspace, *neighborhood, options, reporter_, *this);
    if (!result.changedOnDisk.empty()) {
        EndBusy();
        QStringList names;
        for (const auto& file : result.changedOnDisk) names << QString::fromStdString(file.filename().string());
        if (!asker_.AskYesNo(QStringLiteral("These files were changed after the neighborhood was loaded, perhaps by the "
                                            "game:\r\n\r\n") +
                             names.join(QStringLiteral("\r\n")) +
                             QStringLiteral("\r\n\r\nOverwrite them with your changes?"))) {
            return;
        }
        options.overwriteNewerFiles = true;
        BeginBusy();
        result = SaveNeighborhood(state_.workspace, *neighborhood, options, reporter_, *this);
    }
    EndBusy();
    SetUnsavedChanges(!result.Complete());
    SetStatus(QString());
    progress_->setValue(0);
    cbNeighborhood_->setItemText(cbNeighborhood_->currentIndex(), QString::fromStdString(neighborhood->Text()));
    ShowPortrait();
    if (QPushButton* open = OpenPanelButton()) emit open->clicked();
}

void MainWindow::OpenDataPanel() {
    if (!Advanced() || state_.workspace.characters.empty()) return;
    MarkPanelButton(nullptr);
    dataPanel_->Open();
}

}  // namespace qh::app
