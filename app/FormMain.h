// The main window: a multiple-document frame holding the editor window, with the main menu, the
// tool bar, the status bar and the timer. It builds the engine, starts the worker threads and
// loads the settings at creation, and stops the threads and saves the settings when destroyed.
#pragma once

#include "EngineTypes.h"
#include "RecentFiles.h"

#include <QMainWindow>
#include <QPoint>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QActionGroup;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;
class QTimer;
class TFormAbout;
class TFormGuide;
class TInputWake;
class TFormDraw;
class TFormExperiment;
class TFormModeling;
class TFormObjectResults;
class TFormMonitorList;
class TFormOptions;
class TFormChart;
class TFormConnectionProperties;
class TFormTransitionProperties;
class TFormVertexProperties;
class TEditHistory;
class TPropertyDialog;
class TRecoveryFile;
struct TEngine;

// The panels of the status bar, left to right.
enum TStatusPanel : std::uint8_t {
    spHint = 0,     // the long hint of the control under the mouse
    spProgress = 1, // holds the progress bar of an interval run
    spCursorX = 2,  // the model position under the mouse, written by the editor window
    spCursorY = 3,
    spZoom = 4,
    spEmpty = 5, // stays empty
};

// The answer to "save the changes?" before a modified net is put aside.
enum class TSaveAnswer { Save, Discard, Cancel };

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(TEngine& engine, QWidget* parent = nullptr);
    ~TFormMain() override;

    TFormDraw* FormDraw() const { return FormDraw_; }
    TFormModeling* FormModeling() const { return FormModeling_; }
    TFormObjectResults* FormObjectResults() const { return FormObjectResults_; }
    TFormMonitorList* FormMonitorList() const { return FormMonitorList_; }
    TFormOptions* FormOptions() const { return FormOptions_; }
    TFormChart* FormChart() const { return FormChart_; }
    TFormExperiment* FormExperiment() const { return FormExperiment_; }
    TEditHistory* History() const { return History_; }
    TRecoveryFile* Recovery() const { return Recovery_.get(); }
    void FillMonitorTree();
    QMdiSubWindow* DrawWindow() const { return DrawWindow_; }
    QTimer* Timer() const { return Timer_; }
    QProgressBar* Progress() const { return Progress_; }
    const std::filesystem::path& SettingsPath() const { return SettingsPath_; }
    // A menu or tool-bar command by its object name ("ButtonOpenProject", ...).
    QAction* Action(const QString& name) const;
    QString StatusText(TStatusPanel panel) const;

    // The file dialogs; tests replace them. An empty result means the dialog was cancelled.
    std::function<QString()> ChooseFileToOpen;
    std::function<QString()> ChooseFileToSave;
    std::function<QString()> ChooseFileToImport;
    // The question before a modified net is put aside, with the file's name; tests replace it.
    std::function<TSaveAnswer(const QString& fileName)> AskToSave;
    // The offer to restore the net a crashed session left; tests replace it.
    std::function<bool()> AskToRecover;

    void UpdateDrawCaption();
    void SyncCheckMarks();

    // Commands, as the menu, the tool bar and the keys run them.
    void ButtonNewProjectClick();
    void ButtonOpenProjectClick();
    // Opens a net file as "Відкрити проект" does once a file is chosen: asks about unsaved
    // changes first, shows the file's name in the caption and its objects in the monitor list;
    // a file that cannot be read gives its message and leaves the net as it was.
    void OpenProjectFile(const QString& path);
    // The file to open once the window is first shown (after the offer of a crashed session's
    // net): the file named on the command line.
    void SetStartFile(const QString& path) { StartFile = path; }
    // Opens a file of "Недавні файли"; one that is gone is named in a message and dropped from
    // the list.
    void OpenRecentFile(const std::filesystem::path& path);
    const TRecentFiles& RecentFiles() const { return RecentFiles_; }
    // "Посібник користувача": the guide's window, or a message when the guide is not there.
    void ButtonGuideClick();
    TFormGuide* FormGuide() const { return FormGuide_; }
    void ButtonReloadProjectClick();
    void ButtonSaveProjectClick();
    void ButtonSaveProjectAsClick();
    void ButtonImportPnmlClick();
    // Imports a PNML file whose unsaved-changes question has been asked.
    void ImportChosenPnml(const std::filesystem::path& path);
    void ButtonExportPnmlClick();
    void ButtonConnectionToolClick(bool informational);
    void ButtonClearNetClick();
    void ButtonRealTimeClick();
    void ButtonStopClick();
    void ButtonIntervalClick();
    void ButtonClearRunHistoryClick();
    void ButtonLoadBaseSettingsClick();
    void ButtonUndoClick();
    void ButtonRedoClick();
    // The experiment window, and the exports of "Файл" -> "Експорт".
    void ButtonExperimentClick();
    void ButtonExportNetPictureClick();
    void ButtonExportResultsClick();
    void ButtonExportHistoriesClick();
    void ButtonExportChartPictureClick();
    void ButtonExportChartSeriesClick();
    void ButtonExportStudyTableClick();
    void ButtonExportStudyPlotClick();
    // Asks whether to save a modified net before it is put aside; false when the user cancels
    // or the save does not happen. An unmodified net asks nothing.
    bool MaybeSaveChanges();
    // Writes the recovery copy when the net is modified, and removes it when not; the timer
    // calls it every half minute.
    void WriteRecovery();
    // At start: restores the net a crashed session left, if the user wants it; then starts
    // the timer of the recovery copy.
    void OfferRecovery();
    void Zoom(bool zoomIn);
    // The property dialog of the one chosen object, shown modally.
    void ShowChosenProperties();
    TPropertyDialog* PropertiesDialog(TObjectKind kind) const;

protected:
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct TCommandRow;
    // Every command of the menus and the tool bar, in the order they are created.
    std::vector<TCommandRow> CommandRows();
    void BuildMenusAndToolBar();
    void BuildStatusBar();
    // The simulation panel, the monitor list and the results panel, top to bottom.
    std::vector<QWidget*> ToolPanels() const;
    // Stacks the panels at the right of the screen by their frames, so that none overlaps another.
    void PlaceToolPanels();
    void TimerTick();
    // Something shown may have changed: wakes the drawing and results threads and the timer of
    // the progress bar.
    void WakeDisplays();
    void SetTool(TEditMode editMode);
    void ShowZoomText();
    bool LoadFile(const std::filesystem::path& path);
    // What "Відкрити проект" does after the question about unsaved changes.
    void OpenChosenFile(const std::filesystem::path& path);
    // Puts the file at the top of "Недавні файли" and writes the list into the settings file.
    void RememberFile(const std::filesystem::path& path);
    void SaveRecentFileList();
    void FillRecentMenu();
    // The first show's work: the offer of a crashed session's net, then the start-up file.
    void StartUp();
    bool SaveFile(const std::filesystem::path& path);
    bool CheckFormulasForStart();
    QAction* AddAction(const char* name, const QString& text, const QString& hint = {});

    TEngine& Engine;
    std::filesystem::path SettingsPath_;
    TEditHistory* History_ = nullptr;
    std::unique_ptr<TRecoveryFile> Recovery_;
    QTimer* RecoveryTimer = nullptr;
    std::uint64_t RecoveryWrittenAt = ~std::uint64_t{0}; // the history's change count then
    QMdiArea* MdiArea = nullptr;
    TFormDraw* FormDraw_ = nullptr;
    TFormModeling* FormModeling_ = nullptr;
    TFormObjectResults* FormObjectResults_ = nullptr;
    TFormMonitorList* FormMonitorList_ = nullptr;
    TFormOptions* FormOptions_ = nullptr;
    TFormChart* FormChart_ = nullptr;
    TFormExperiment* FormExperiment_ = nullptr;
    TFormAbout* FormAbout = nullptr;
    TFormGuide* FormGuide_ = nullptr;
    QMenu* RecentMenu = nullptr;
    TRecentFiles RecentFiles_;
    QString StartFile;
    TFormVertexProperties* FormVertexProperties = nullptr;
    TFormTransitionProperties* FormTransitionProperties = nullptr;
    TFormConnectionProperties* FormConnectionProperties = nullptr;
    QMdiSubWindow* DrawWindow_ = nullptr;
    QTimer* Timer_ = nullptr;
    TInputWake* InputWake_ = nullptr; // wakes the redraws on input
    QProgressBar* Progress_ = nullptr;
    QActionGroup* Tools = nullptr;
    std::map<QString, QAction*> Actions;
    std::vector<QLabel*> StatusPanels;
    bool ShownOnce = false;
    bool ChartPlaced = false;        // the chart window has been put over the main window once
    std::vector<QPoint> PanelPlaces; // where PlaceToolPanels put the panels
};

// Where the editor keeps KVLConfig.ini; the environment variable KVL_CONFIG overrides it (tests
// use it so that they never touch the user's file).
std::filesystem::path EditorSettingsPath();
