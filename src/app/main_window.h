// The editor's one window: a top strip (title, neighborhood selector, character selector,
// Advanced switch, undo and redo), a column of panel buttons with the sim's portrait, "Save
// Changes", the list of unsaved changes and "Close", the panels, and a status bar with a
// progress bar. The window lays out and routes; the document holds the model and its history.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/document.h"
#include "app/document_io.h"
#include "app/help_window.h"
#include "app/images.h"
#include "app/panels/panel.h"
#include "app/qt_trash.h"
#include "app/sim_filter_model.h"
#include "app/sim_list_model.h"
#include "platform/progress.h"
#include "platform/reporter.h"

namespace qh::app {

// The application's style sheet for a colour scheme (0 the light one, 1 the dark one) and the
// language's font.
QString SchemeStyleSheet(int scheme, const std::string& fontName);

class MainWindow : public QMainWindow,
                   public Selection,
                   public StatusLine,
                   public Dialogs,
                   public SimPictures,
                   public ViewOptions,
                   public Progress {
public:
    MainWindow(GameSession& session, ImageLibrary& images, Reporter& reporter, Asker& asker, QString helpFolder);
    ~MainWindow() override;

    GameSession& session() { return session_; }
    Document& document() { return document_; }
    DocumentIO& io() { return io_; }

    // The neighborhood shown in the selector, and the selected sim (null when none).
    Neighborhood* CurrentNeighborhood();
    Character* SelectedSim();

    // The services the panels are given.
    std::optional<std::size_t> SelectedSimIndex() const override;
    void SelectSim(std::size_t index) override;
    void ShowPanel(Panel& panel) override;
    bool Advanced() const override;
    void RegisterAdvanced(QWidget* control, AdvancedEffect effect) override;
    void BeginBusy() override;
    void EndBusy() override;
    bool Busy() const override { return busy_ > 0; }
    void SetStatus(const QString& text) override;
    Progress& progress() override { return *this; }
    Reporter& reporter() override { return reporter_; }
    Asker& asker() override { return asker_; }
    ImageLibrary& images() override { return images_; }
    QPixmap SimPicture(const Character& sim, int size) override;
    void ShowHelp(int topic) override;
    int ColorScheme() const override { return session_.colorScheme; }
    QString SimEntryText(const Character& sim) const override;
    std::optional<std::size_t> PickSim(const SimPick& pick) override;
    void ApplyColorScheme(int scheme) override;

    // The panels by their registry rows; the open one (null before the first).
    Panel* PanelNamed(const QString& objectName) const;
    QPushButton* PanelButton(const QString& caption) const;
    Panel* OpenPanel() const { return openPanel_; }
    void ApplyAdvancedMode() override;

    QColor BackgroundColor() const;
    QColor TextColor() const;

    // Start-up and loading.
    void FillNeighborhoodSelector(const QString& selectPrefix);
    // Loads the selector's neighborhood, asking first when there are unsaved changes; false when
    // the player kept the open one.
    bool LoadSelectedNeighborhood();
    void Save();
    void ShowPortrait();
    void OpenDataPanel();

    // Progress, for the core's long work.
    void SetStatus(std::string_view text) override;
    void SetMaximum(int maximum) override;
    void SetPosition(int position) override;
    void Step() override;

    int StatusPartWidth() const;
    QComboBox* neighborhoodSelector() const { return cbNeighborhood_; }
    QComboBox* characterSelector() const { return cbUserName_; }
    SimListModel& simList() { return simList_; }
    // The selector's rows as the search box filters them; its row of a sim, -1 when filtered out.
    SimFilterModel& shownSims() { return shownSims_; }
    QLineEdit* findBox() const { return edtFindSim_; }
    QCheckBox* advancedBox() const { return ckAdvanced_; }
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
    void BuildPanels();
    void cbUserNameChange();
    void edtFindSimChange();
    // The sims the search shows, written as a table for a spreadsheet.
    void btnExportSimsClick();
    // "12 of 345 sims" beside the search box.
    void ShowSimCount();
    void btnSortUsersClick();
    void btnDelSimClick();
    void btnReviewChangesClick();
    void ckAdvancedClick();
    void ReopenCurrentPanel();
    void RecolorChildren(QWidget* root);
    void DocumentChanged(const Change& change);
    void ShowUnsaved(bool unsaved);
    // The selector filled again from the workspace, the sim at `select` (a workspace index)
    // selected, or the first row.
    void FillCharacterSelector(std::optional<std::size_t> select);
    // The catalogue changed (a backup restored): the selector lists it, and the loaded
    // neighborhood is loaded again when its files were replaced.
    void CatalogueChanged(const QString& prefix, bool reload);

    GameSession& session_;
    ImageLibrary& images_;
    Reporter& reporter_;
    Asker& asker_;
    Document document_;
    QtTrash trash_;
    DocumentIO io_;
    PanelContext context_;
    SimListModel simList_;
    SimFilterModel shownSims_;
    std::unique_ptr<HelpWindow> help_;

    QWidget* topStrip_ = nullptr;
    QLabel* imgTitle_ = nullptr;
    QComboBox* cbNeighborhood_ = nullptr;
    QComboBox* cbUserName_ = nullptr;
    QLineEdit* edtFindSim_ = nullptr;
    QLabel* lblSimCount_ = nullptr;
    QCheckBox* ckAdvanced_ = nullptr;
    QToolButton* btnUndo_ = nullptr;
    QToolButton* btnRedo_ = nullptr;
    QWidget* buttonColumn_ = nullptr;
    std::vector<QPushButton*> panelButtons_;
    std::vector<Panel*> panels_;
    Panel* openPanel_ = nullptr;
    QLabel* imgPortrait_ = nullptr;
    QPushButton* btnSave_ = nullptr;
    QPushButton* btnReviewChanges_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QLabel* lblNoSims_ = nullptr;  // in place of the panels while the neighborhood has no sims
    QLabel* statusLabel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTimer progressTimer_;
    QElapsedTimer sinceEvents_;  // since long work last let the window take its events
    std::vector<std::pair<QPointer<QWidget>, AdvancedEffect>> advancedControls_;
    // What the portrait shows now.
    struct PortraitKey {
        std::string package;
        std::optional<IndexEntry> portrait;
        bool grey = false;
        bool shown = false;
        friend bool operator==(const PortraitKey&, const PortraitKey&) = default;
    };
    PortraitKey shownPortrait_;
    int busy_ = 0;
    bool filling_ = false;
    QPoint dragOffset_;
    bool dragging_ = false;
};

}  // namespace qh::app
