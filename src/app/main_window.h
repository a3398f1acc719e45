// The editor's one window: a top strip (title, neighborhood selector, character selector,
// Advanced switch), a column of panel buttons with the sim's portrait, "Save Changes" and
// "Close", the panels, and a status bar with a progress bar.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "app/app_state.h"
#include "app/help_window.h"
#include "app/images.h"
#include "platform/progress.h"
#include "platform/reporter.h"

namespace qh::app {

class Panel;
class NeighborhoodPanel;
class CharacterPanel;
class AboutPanel;
class DataPanel;

// How the window asks the player a question (message boxes; tests answer themselves).
class Asker {
public:
    virtual ~Asker() = default;
    virtual bool AskYesNo(const QString& question) = 0;
    virtual bool AskOkCancel(const QString& question) = 0;
};

// What a control does in advanced mode.
enum class AdvancedEffect { ShowWhenOn, HideWhenOn, EnableWhenOn };

class MainWindow : public QMainWindow, public Progress {
public:
    MainWindow(AppState& state, ImageLibrary& images, Reporter& reporter, Asker& asker, QString helpFolder);
    ~MainWindow() override;

    AppState& state() { return state_; }
    Workspace& workspace() { return state_.workspace; }
    ImageLibrary& images() { return images_; }
    Reporter& reporter() { return reporter_; }
    Asker& asker() { return asker_; }

    // The neighborhood shown in the selector, and the selected sim (null when none).
    Neighborhood* CurrentNeighborhood();
    Character* SelectedSim();

    // Panel switching: the panel shown and its button marked as the open one.
    void ShowPanel(QWidget* panel);
    void MarkPanelButton(QPushButton* button);
    QPushButton* PanelButton(const QString& caption) const;
    QPushButton* OpenPanelButton() const;

    void BeginBusy();
    void EndBusy();
    bool Busy() const { return busy_ > 0; }
    void SetStatus(const QString& text);

    // The one door for edits: runs the change on the model and shows "Save Changes". Panels call
    // it from their handlers; nothing else writes the model.
    void ApplyEdit(const std::function<void()>& change);
    void SetUnsavedChanges(bool unsaved);
    bool HasUnsavedChanges() const;

    // Advanced mode and the controls it shows, hides or enables.
    bool Advanced() const;
    void RegisterAdvanced(QWidget* control, AdvancedEffect effect);
    void ApplyAdvancedMode();

    // Colour schemes: 0 light, 1 dark.
    void ApplyColorScheme(int scheme);
    QColor BackgroundColor() const;
    QColor TextColor() const;

    // Start-up and loading.
    void FillNeighborhoodSelector(const QString& selectPrefix);
    void LoadSelectedNeighborhood();
    void FillCharacterSelector(int select = 0);
    void RelabelSelectedSim();
    void SelectSimByGuid(const Guid4& guid);
    void Save();

    // The picture of a sim: its portrait or the placeholder, grey without a household.
    QPixmap SimPicture(const Character& sim, int size);
    void ShowPortrait();

    void ShowHelp(int topic);
    void OpenDataPanel();

    // Progress, for the core's long work.
    void SetStatus(std::string_view text) override;
    void SetMaximum(int maximum) override;
    void SetPosition(int position) override;
    void Step() override;

    int StatusPartWidth() const;
    QLabel* statusLabel() const { return statusLabel_; }
    QProgressBar* progressBar() const { return progress_; }
    QWidget* topStrip() const { return topStrip_; }
    QComboBox* neighborhoodSelector() const { return cbNeighborhood_; }
    QComboBox* characterSelector() const { return cbUserName_; }
    QCheckBox* advancedBox() const { return ckAdvanced_; }
    NeighborhoodPanel* neighborhoodPanel() const { return neighborhoodPanel_; }
    CharacterPanel* characterPanel() const { return characterPanel_; }
    AboutPanel* aboutPanel() const { return aboutPanel_; }
    DataPanel* dataPanel() const { return dataPanel_; }
    QWidget* buttonColumn() const { return buttonColumn_; }
    HelpWindow* helpWindow() const { return help_.get(); }

    // Remembers the window's settings ("NGBD", "ColorScheme", "Advanced").
    void StoreSettings();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildTopStrip();
    void BuildButtonColumn();
    void BuildStatusBar();
    void cbUserNameChange();
    void btnSortUsersClick();
    void btnDelSimClick();
    void ckAdvancedClick();
    void ReopenCurrentPanel();
    void RecolorChildren(QWidget* root);

    AppState& state_;
    ImageLibrary& images_;
    Reporter& reporter_;
    Asker& asker_;
    std::unique_ptr<HelpWindow> help_;

    QWidget* topStrip_ = nullptr;
    QLabel* imgTitle_ = nullptr;
    QComboBox* cbNeighborhood_ = nullptr;
    QComboBox* cbUserName_ = nullptr;
    QCheckBox* ckAdvanced_ = nullptr;
    QWidget* buttonColumn_ = nullptr;
    std::vector<QPushButton*> panelButtons_;
    QLabel* imgPortrait_ = nullptr;
    QPushButton* btnSave_ = nullptr;
    QStackedWidget* panels_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer progressTimer_;
    NeighborhoodPanel* neighborhoodPanel_ = nullptr;
    CharacterPanel* characterPanel_ = nullptr;
    AboutPanel* aboutPanel_ = nullptr;
    DataPanel* dataPanel_ = nullptr;
    std::vector<std::pair<QPointer<QWidget>, AdvancedEffect>> advancedControls_;
    int busy_ = 0;
    bool filling_ = false;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace qh::app
