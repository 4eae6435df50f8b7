#include "FormMain.h"

#include "EditHistory.h"
#include "Engine.h"
#include "EngineError.h"
#include "FormAbout.h"
#include "FormChart.h"
#include "FormConnectionProperties.h"
#include "FormDraw.h"
#include "FormExperiment.h"
#include "FormGuide.h"
#include "FormModeling.h"
#include "FormMonitorList.h"
#include "FormObjectResults.h"
#include "FormOptions.h"
#include "FormTransitionProperties.h"
#include "FormVertexProperties.h"
#include "Frame.h"
#include "InputWake.h"
#include "NumberText.h"
#include "PropertyDialog.h"
#include "Random.h"
#include "Recovery.h"
#include "RunControl.h"
#include "Settings.h"
#include "Viewport.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>
#include <QWheelEvent>

#include <algorithm>
#include <iostream>

namespace {

// Hands work to the interface thread through the Qt event loop.
void PostToInterface(std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

const char* const kNetFileFilter = "Файли сіток Петрі (*.kvl);;Всі файли (*)";
const char* const kPnmlFileFilter = "Документи PNML (*.pnml *.xml);;Всі файли (*)";

// The progress bar counts an interval run in this many steps.
constexpr int kProgressRange = 120;

// How often the recovery copy of a modified net is written.
constexpr int kRecoveryIntervalMs = 30000;

// Where the tool panels stand: below the tool bar, away from the right edge of the screen, and
// how far apart; how long the window manager is given to frame them before they are stacked by
// their real frames.
constexpr int kPanelsTop = 48;
constexpr int kPanelsRightGap = 8;
constexpr int kPanelsSpacing = 3;
constexpr int kPanelFramingMs = 400;

// The caption of the program's questions.
const char* const kProgramTitle = "Сітки Петрі: редактор і симулятор";

TSaveAnswer AskToSaveBox(QWidget* parent, const QString& fileName) {
    QMessageBox box(QMessageBox::Question, kProgramTitle,
                    "Зберегти зміни у файлі «" + fileName + "»?", QMessageBox::NoButton, parent);
    QPushButton* save = box.addButton("Зберегти", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Не зберігати", QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton("Скасувати", QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    KeepAbovePanels(&box);
    box.exec();
    if (box.clickedButton() == save)
        return TSaveAnswer::Save;
    if (box.clickedButton() == discard)
        return TSaveAnswer::Discard;
    return TSaveAnswer::Cancel;
}

bool AskToRecoverBox(QWidget* parent) {
    QMessageBox box(QMessageBox::Question, kProgramTitle,
                    "Попередній сеанс роботи завершився аварійно, а сітка в ньому мала "
                    "незбережені зміни. Відновити цю сітку?",
                    QMessageBox::NoButton, parent);
    QPushButton* restore = box.addButton("Відновити", QMessageBox::AcceptRole);
    QPushButton* drop = box.addButton("Не відновлювати", QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(drop);
    KeepAbovePanels(&box);
    box.exec();
    return box.clickedButton() == restore;
}

// The frame of the editor window. The main window uses the canvas on every timer tick and file
// command for as long as it lives, so the frame can never close: it has a caption but no close,
// minimise or maximise button (nor their copies on the menu bar while maximised), no system menu
// (whose Close item answers Ctrl+W and Ctrl+F4), and it refuses every request to close.
class TDrawSubWindow : public QMdiSubWindow {
public:
    TDrawSubWindow()
        : QMdiSubWindow(nullptr, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setSystemMenu(nullptr);
    }

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

std::filesystem::path EditorSettingsPath() {
    if (const QByteArray overridden = qgetenv("KVL_CONFIG"); !overridden.isEmpty())
        return std::filesystem::path(overridden.toStdString());
    return SettingsFilePath(QCoreApplication::applicationDirPath().toStdString());
}

TFormMain::TFormMain(TEngine& engine, QWidget* parent) : QMainWindow(parent), Engine(engine) {
    SeedFromClock(Engine.Random);
    InitEngine(Engine);

    setObjectName("FormMain");
    setWindowTitle(kProgramTitle);
    resize(1100, 750);

    History_ = new TEditHistory(Engine, this);
    MdiArea = new QMdiArea(this);
    setCentralWidget(MdiArea);
    FormDraw_ = new TFormDraw(Engine, *History_);
    auto* drawWindow = new TDrawSubWindow;
    drawWindow->setWidget(FormDraw_);
    DrawWindow_ = MdiArea->addSubWindow(drawWindow);
    UpdateDrawCaption();
    DrawWindow_->showMaximized();
    FormVertexProperties = new TFormVertexProperties(Engine, *History_, this);
    FormTransitionProperties = new TFormTransitionProperties(Engine, *History_, this);
    FormConnectionProperties = new TFormConnectionProperties(Engine, *History_, this);
    FormModeling_ = new TFormModeling(Engine, this);
    FormChart_ = new TFormChart(Engine, this);
    FormExperiment_ = new TFormExperiment(Engine, this);
    FormOptions_ = new TFormOptions(Engine, this);
    FormOptions_->LoadBaseSettings = [this] { ButtonLoadBaseSettingsClick(); };
    FormMonitorList_ = new TFormMonitorList(Engine, *History_, this);
    FormObjectResults_ = new TFormObjectResults(Engine, this);
    FormAbout = new TFormAbout(this);
    FormGuide_ = new TFormGuide(this);

    ChooseFileToOpen = [this] {
        QFileDialog dialog(this, "Відкрити проект", QString(), kNetFileFilter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        KeepAbovePanels(&dialog);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    ChooseFileToSave = [this] {
        QFileDialog dialog(this, "Зберегти проект", QString(), kNetFileFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("kvl");
        KeepAbovePanels(&dialog);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    ChooseFileToImport = [this] {
        QFileDialog dialog(this, "Імпорт PNML", QString(), kPnmlFileFilter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        KeepAbovePanels(&dialog);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    AskToSave = [this](const QString& fileName) { return AskToSaveBox(this, fileName); };
    AskToRecover = [this] { return AskToRecoverBox(this); };

    BuildMenusAndToolBar();
    BuildStatusBar();

    QPointer<QWidget> canvas = FormDraw_;
    Engine.DrawWork = [this, canvas] {
        if (!canvas)
            return;
        DrawFrame(Engine);
        canvas->update();
    };
    Engine.ShowMessage = [this](const std::string& message) {
        ShowMessageBox(this, QString::fromStdString(message));
    };
    StartEngineThreads(Engine, PostToInterface);

    Timer_ = new QTimer(this);
    Timer_->setInterval(10);
    connect(Timer_, &QTimer::timeout, this, &TFormMain::TimerTick);
    Engine.ScreenIntervalChanged = [this](std::int32_t ms) { Timer_->setInterval(ms); };
    SettingsPath_ = EditorSettingsPath();
    LoadSettings(Engine, SettingsPath_);
    RecentFiles_ = LoadRecentFiles(SettingsPath_);
    RecentMenu = findChild<QMenu*>("MenuRecentFiles");
    FillRecentMenu();
    Timer_->start();
    InputWake_ = new TInputWake([this] { WakeDisplays(); }, this);
    Recovery_ = std::make_unique<TRecoveryFile>(SettingsPath_.parent_path());
    RecoveryTimer = new QTimer(this);
    RecoveryTimer->setInterval(kRecoveryIntervalMs);
    connect(RecoveryTimer, &QTimer::timeout, this, &TFormMain::WriteRecovery);
    // The timer starts once a copy left by a crash has been offered back (OfferRecovery).
    StartUpdateThread(Engine);

    connect(FormDraw_, &TFormDraw::CursorTextChanged, this,
            [this](const QString& x, const QString& y) {
                StatusPanels[spCursorX]->setText(x);
                StatusPanels[spCursorY]->setText(y);
            });
    connect(FormDraw_, &TFormDraw::ZoomTextChanged, StatusPanels[spZoom], &QLabel::setText);
    connect(FormDraw_, &TFormDraw::PropertiesRequested, this, &TFormMain::ShowChosenProperties);
    connect(FormObjectResults_, &TFormObjectResults::PropertiesRequested, this,
            &TFormMain::ShowChosenProperties);
    connect(FormDraw_, &TFormDraw::NetObjectsChanged, this, &TFormMain::FillMonitorTree);
    connect(History_, &TEditHistory::NetEdited, this, &TFormMain::FillMonitorTree);
    connect(History_, &TEditHistory::NetEdited, this, &TFormMain::WakeDisplays);
    connect(History_, &TEditHistory::ModifiedChanged, this, [this](bool modified) {
        UpdateDrawCaption();
        if (!modified)
            Recovery_->Remove();
    });
    connect(History_->Stack(), &QUndoStack::canUndoChanged, Action("ButtonUndo"),
            &QAction::setEnabled);
    connect(History_->Stack(), &QUndoStack::canRedoChanged, Action("ButtonRedo"),
            &QAction::setEnabled);
    Action("ButtonUndo")->setEnabled(false);
    Action("ButtonRedo")->setEnabled(false);
    connect(FormDraw_, &TFormDraw::OptionsRequested, this,
            [this](TOptionsPage page) { FormOptions_->ShowOnPage(page); });
    for (TPropertyDialog* dialog : {static_cast<TPropertyDialog*>(FormVertexProperties),
                                    static_cast<TPropertyDialog*>(FormTransitionProperties)})
        connect(dialog, &TPropertyDialog::MonitorListChanged, this, &TFormMain::FillMonitorTree);
    QPointer<TFormChart> chart = FormChart_;
    Engine.RefreshCharts = [chart] {
        if (chart && chart->isVisible())
            chart->RefreshChart();
    };
    QPointer<TFormObjectResults> results = FormObjectResults_;
    Engine.RefreshObjectResults = [results] {
        if (results && results->isVisible())
            results->FillObjectResults();
    };
    connect(FormDraw_, &TFormDraw::ToolChanged, this, [this](TEditMode mode) {
        if (mode == emIdle || mode == emCreateVertex || mode == emCreateTransition)
            SetTool(mode);
    });
}

TFormMain::~TFormMain() {
    // No more wake-ups from the events the closing windows still get.
    delete InputWake_;
    // The workers may wait in a hand-over that the closing event loop will never run.
    StopEngineThreads(Engine);
    Engine.ScreenIntervalChanged = nullptr;
    Engine.DrawWork = nullptr;
    Engine.RefreshObjectResults = nullptr;
    Engine.RefreshCharts = nullptr;
    Engine.ShowMessage = nullptr;
    // The session ends normally: there is nothing to recover at the next start.
    Recovery_->Remove();
    // Nothing may leave a destructor: a settings file that cannot be written is reported and
    // the editor closes as usual.
    try {
        SaveSettings(Engine, SettingsPath_);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
    }
}

QAction* TFormMain::AddAction(const char* name, const QString& text, const QString& hint) {
    auto* action = new QAction(text, this);
    action->setObjectName(name);
    if (!hint.isEmpty()) {
        const int bar = hint.indexOf('|');
        action->setToolTip(bar < 0 ? hint : hint.left(bar));
        action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    }
    Actions[name] = action;
    return action;
}

QAction* TFormMain::Action(const QString& name) const {
    const auto found = Actions.find(name);
    return found == Actions.end() ? nullptr : found->second;
}

void TFormMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    QFont small = bar->font();
    small.setPointSize(8);
    bar->setFont(small);
    // The panels that show numbers are as wide as their longest text needs in the bar's font
    // (with the frame and the indent a framed label keeps): coordinates of up to seven digits of
    // either sign, and the greatest zoom.
    struct TPanelRow {
        const char* Name;
        int Width;                     // pixels, for a panel without numbers
        const char* Longest = nullptr; // the longest text of a panel with numbers
    };
    const TPanelRow rows[] = {// in the order of TStatusPanel
                              {"StatusHint", 320},
                              {"StatusProgress", 122},
                              {"StatusCursorX", 0, " X: -0000000"},
                              {"StatusCursorY", 0, " Y: -0000000"},
                              {"StatusZoom", 0, " Масштаб: 700%"},
                              {"StatusEmpty", 50}};
    for (const TPanelRow& row : rows) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(row.Name);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setLineWidth(1);
        int width = row.Width;
        if (row.Longest != nullptr) {
            panel->setText(QString::fromUtf8(row.Longest));
            width = panel->sizeHint().width();
            panel->clear();
        }
        panel->setFixedWidth(width);
        bar->addWidget(panel);
        StatusPanels.push_back(panel);
    }
    Progress_ = new QProgressBar(StatusPanels[spProgress]);
    Progress_->setObjectName("ProgressBar");
    Progress_->setRange(0, kProgressRange);
    Progress_->setTextVisible(false);
    Progress_->setGeometry(2, 2, 118, 17);
}

QString TFormMain::StatusText(TStatusPanel panel) const {
    return StatusPanels.at(panel)->text();
}

bool TFormMain::event(QEvent* event) {
    // The long hint of the control under the mouse goes to its panel.
    if (event->type() == QEvent::StatusTip) {
        StatusPanels[spHint]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TFormMain::wheelEvent(QWheelEvent* event) {
    Zoom(event->angleDelta().y() > 0);
    event->accept();
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (ShownOnce)
        return;
    ShownOnce = true;
    ShowZoomText();
    QTimer::singleShot(0, this, &TFormMain::StartUp);
    PlaceToolPanels();
    for (QWidget* panel : ToolPanels())
        panel->show();
    // The window manager frames the panels only after they are shown; once it has, they are
    // stacked again by their real frames, unless the user has moved one meanwhile.
    QTimer::singleShot(kPanelFramingMs, this, [this] {
        const std::vector<QWidget*> panels = ToolPanels();
        for (std::size_t i = 0; i < panels.size(); ++i)
            if (i >= PanelPlaces.size() || panels[i]->pos() != PanelPlaces[i])
                return;
        PlaceToolPanels();
    });
    SyncCheckMarks();
}

std::vector<QWidget*> TFormMain::ToolPanels() const {
    return {FormModeling_, FormMonitorList_, FormObjectResults_};
}

void TFormMain::PlaceToolPanels() {
    // The panels share one width: the widest panel's, or more where a caption needs it (the
    // window manager's title bar holds the caption in bold beside an icon and three buttons),
    // so that the column reads as one and no caption is cut short.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    int width = 0;
    for (QWidget* panel : ToolPanels()) {
        QFont bold = panel->font();
        bold.setBold(true);
        const int caption = QFontMetrics(bold).horizontalAdvance(panel->windowTitle());
        width = std::max({width, panel->width(), caption + 5 * titleBar});
    }
    for (QWidget* panel : ToolPanels())
        panel->resize(width, panel->height());
    // A frame not yet known (the window manager has not framed the panel) is taken to be as
    // wide as the main window's, or a title bar of the style's height when that is unknown too.
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    QMargins guess(inner.left() - outer.left(), inner.top() - outer.top(),
                   outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (guess.isNull())
        guess = QMargins(0, titleBar, 0, 0);
    const QScreen* shown = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QRect work = shown->availableGeometry();
    // The panels stand in a column at the right of the work area, each frame 3 pixels below the
    // one above, so that no caption hides under another panel.
    int top = work.top() + kPanelsTop;
    PanelPlaces.clear();
    for (QWidget* panel : ToolPanels()) {
        QRect frame = panel->frameGeometry();
        if (frame.size() == panel->size())
            frame = QRect(panel->pos(), panel->size()).marginsAdded(guess);
        const QPoint place(work.right() + 1 - frame.width() - kPanelsRightGap, top);
        panel->move(place);
        PanelPlaces.push_back(panel->pos());
        top += frame.height() + kPanelsSpacing;
    }
}

void TFormMain::TimerTick() {
    // The canvas is repainted by the drawing thread's work whenever a frame is drawn.
    int position = 0;
    if (Engine.RunMode == rmInterval && Engine.IntervalLength > 0)
        position = kProgressRange -
                   RoundToInt(kProgressRange * (Engine.IntervalEnd - Engine.Net.ModelTime) /
                              Engine.IntervalLength);
    Progress_->setValue(std::clamp(position, 0, kProgressRange));
    // With no run the bar stays at its start until the next run wakes the timer.
    if (Engine.RunMode == rmStopped)
        Timer_->stop();
}

void TFormMain::WakeDisplays() {
    RequestRefresh(Engine);
    if (!Timer_->isActive())
        Timer_->start();
}

void TFormMain::SyncCheckMarks() {
    Action("ButtonTimeLine")->setChecked(Engine.TimeLineEnabled);
    Action("ButtonGrid")->setChecked(Engine.GridEnabled);
    FormModeling_->CBoxConflictTransitions()->setChecked(Engine.ConflictCheck);
}

void TFormMain::ShowZoomText() {
    StatusPanels[spZoom]->setText(QString::fromStdString(ZoomText(Engine.Graph)));
}

void TFormMain::Zoom(bool zoomIn) {
    ZoomStep(Engine.Graph, zoomIn);
    ShowZoomText();
}

void TFormMain::SetTool(TEditMode editMode) {
    // Only the tools that the editor window can choose or use up have a button to check here.
    const char* const button = editMode == emIdle               ? "ButtonNoTool"
                               : editMode == emCreateVertex     ? "ButtonCreateVertex"
                               : editMode == emCreateTransition ? "ButtonCreateTransition"
                                                                : nullptr;
    if (button != nullptr)
        Action(button)->setChecked(true);
    Engine.EditMode = editMode;
}

void TFormMain::UpdateDrawCaption() {
    const QString caption = Engine.FileName.empty()
                                ? QString("Новий файл")
                                : QString::fromStdString(Engine.FileName.filename().string());
    DrawWindow_->setWindowTitle(History_->IsModified() ? caption + "*" : caption);
}

TPropertyDialog* TFormMain::PropertiesDialog(TObjectKind kind) const {
    switch (kind) {
    case okVertex:
        return FormVertexProperties;
    case okTransition:
        return FormTransitionProperties;
    case okConnection:
        return FormConnectionProperties;
    default:
        return nullptr;
    }
}

void TFormMain::ShowChosenProperties() {
    if (Engine.Choiced.Items.size() != 1)
        return;
    if (TPropertyDialog* dialog = PropertiesDialog(Engine.Choiced.Items[0].Kind()))
        dialog->exec();
}

void TFormMain::FillMonitorTree() {
    FormMonitorList_->FillMonitorTree();
}
