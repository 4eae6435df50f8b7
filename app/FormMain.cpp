#include "FormMain.h"

#include "Engine.h"
#include "EngineError.h"
#include "FormAbout.h"
#include "FormConnectionProperties.h"
#include "FormDraw.h"
#include "FormTransitionProperties.h"
#include "FormVertexProperties.h"
#include "PropertyDialog.h"
#include "FormChart.h"
#include "FormModeling.h"
#include "FormOptions.h"
#include "FormMonitorList.h"
#include "FormObjectResults.h"
#include "Frame.h"
#include "NumberText.h"
#include "Random.h"
#include "RunControl.h"
#include "Settings.h"
#include "ToolIcons.h"
#include "Viewport.h"

#include <QAction>
#include <QCheckBox>
#include <QActionGroup>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include <algorithm>
#include <iostream>

namespace {

// Hands work to the interface thread through the Qt event loop.
void PostToInterface(std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

const char* const kNetFileFilter = "Файли сіток Петрі (*.kvl);;Всі файли (*)";

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
    setWindowTitle("Сітки Петрі: редактор і симулятор");
    resize(1100, 750);

    MdiArea = new QMdiArea(this);
    setCentralWidget(MdiArea);
    FormDraw_ = new TFormDraw(Engine);
    DrawWindow_ = MdiArea->addSubWindow(FormDraw_);
    UpdateDrawCaption();
    DrawWindow_->showMaximized();
    FormVertexProperties = new TFormVertexProperties(Engine, this);
    FormTransitionProperties = new TFormTransitionProperties(Engine, this);
    FormConnectionProperties = new TFormConnectionProperties(Engine, this);
    FormModeling_ = new TFormModeling(Engine, this);
    FormChart_ = new TFormChart(Engine, this);
    FormOptions_ = new TFormOptions(Engine, this);
    FormOptions_->LoadBaseSettings = [this] { ButtonLoadBaseSettingsClick(); };
    FormMonitorList_ = new TFormMonitorList(Engine, this);
    FormObjectResults_ = new TFormObjectResults(Engine, this);
    FormAbout = new TFormAbout(this);

    ChooseFileToOpen = [this] {
        return QFileDialog::getOpenFileName(this, "Відкрити проект", QString(), kNetFileFilter);
    };
    ChooseFileToSave = [this] {
        QFileDialog dialog(this, "Зберегти проект", QString(), kNetFileFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("kvl");
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };

    BuildMenusAndToolBar();
    BuildStatusBar();

    QPointer<QWidget> canvas = FormDraw_;
    Engine.DrawWork = [this, canvas] {
        if (!canvas)
            return;
        DrawFrame(Engine);
        canvas->update();
    };
    Engine.ShowMessage = [this](const std::string& message) { ShowMessageBox(this, QString::fromStdString(message)); };
    StartEngineThreads(Engine, PostToInterface);

    Timer_ = new QTimer(this);
    Timer_->setInterval(10);
    connect(Timer_, &QTimer::timeout, this, &TFormMain::TimerTick);
    Engine.ScreenIntervalChanged = [this](std::int32_t ms) { Timer_->setInterval(ms); };
    SettingsPath_ = EditorSettingsPath();
    LoadSettings(Engine, SettingsPath_);
    Timer_->start();
    StartUpdateThread(Engine);

    connect(FormDraw_, &TFormDraw::CursorTextChanged, this, [this](const QString& x, const QString& y) {
        StatusPanels[2]->setText(x);
        StatusPanels[3]->setText(y);
    });
    connect(FormDraw_, &TFormDraw::ZoomTextChanged, StatusPanels[4], &QLabel::setText);
    connect(FormDraw_, &TFormDraw::WheelZoom, this, &TFormMain::Zoom);
    connect(FormDraw_, &TFormDraw::PropertiesRequested, this, &TFormMain::ShowChosenProperties);
    connect(FormObjectResults_, &TFormObjectResults::PropertiesRequested, this, &TFormMain::ShowChosenProperties);
    connect(FormDraw_, &TFormDraw::NetObjectsChanged, this, &TFormMain::FillMonitorTree);
    connect(FormDraw_, &TFormDraw::OptionsRequested, this, [this](int page) { FormOptions_->ShowOnPage(page); });
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
    connect(FormDraw_, &TFormDraw::ToolChanged, this, [this](int mode) {
        if (mode == 0 || mode == 5 || mode == 6)
            SetTool(mode);
    });
}

TFormMain::~TFormMain() {
    // The workers may wait in a hand-over that the closing event loop will never run.
    StopEngineThreads(Engine);
    Engine.ScreenIntervalChanged = nullptr;
    Engine.DrawWork = nullptr;
    Engine.RefreshObjectResults = nullptr;
    Engine.RefreshCharts = nullptr;
    Engine.ShowMessage = nullptr;
    try {
        SaveSettings(Engine, SettingsPath_);
    } catch (const TEngineError& error) {
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

void TFormMain::BuildMenusAndToolBar() {
    auto on = [this](QAction* action, auto slot) { connect(action, &QAction::triggered, this, slot); };
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu("Файл");
    QAction* newProject = AddAction("ButtonNewProject", "Новий проект", "Новий|Новий файл");
    newProject->setShortcut(QKeySequence("Ctrl+N"));
    on(newProject, [this] { ButtonNewProjectClick(); });
    QAction* open = AddAction("ButtonOpenProject", "Відкрити проект", "Відкрити");
    open->setShortcut(QKeySequence("Ctrl+O"));
    on(open, [this] { ButtonOpenProjectClick(); });
    QAction* reload = AddAction("ButtonReloadProject", "Перезавантажити сітку зі збереженого файлу",
                                "Відкрити проект зі збереженого файлу");
    reload->setShortcut(QKeySequence("Ctrl+X"));
    on(reload, [this] { ButtonReloadProjectClick(); });
    QAction* save = AddAction("ButtonSaveProject", "Зберегти проект", "Зберегти");
    save->setShortcut(QKeySequence("Ctrl+S"));
    on(save, [this] { ButtonSaveProjectClick(); });
    QAction* saveAs = AddAction("ButtonSaveProjectAs", "Зберегти як новий файл");
    saveAs->setShortcut(QKeySequence("Ctrl+Alt+S"));
    on(saveAs, [this] { ButtonSaveProjectAsClick(); });
    QAction* exit = AddAction("ButtonExit", "Вихід");
    exit->setShortcut(QKeySequence("Ctrl+E"));
    on(exit, [this] { close(); });
    file->addActions({newProject, open, reload, save, saveAs});
    file->addSeparator();
    file->addAction(exit);

    QMenu* view = bar->addMenu("Вид");
    QAction* panel = AddAction("ButtonModelingPanel", "Панель імітації");
    panel->setShortcut(QKeySequence("Ctrl+I"));
    panel->setCheckable(true);
    on(panel, [this] { FormModeling_->setVisible(!FormModeling_->isVisible()); });
    connect(FormModeling_, &TFormModeling::VisibilityChanged, panel, &QAction::setChecked);
    QAction* monitor = AddAction("ButtonMonitorList", "Список об'єктів моніторингу");
    monitor->setShortcut(QKeySequence("Ctrl+L"));
    monitor->setCheckable(true);
    on(monitor, [this] { FormMonitorList_->setVisible(!FormMonitorList_->isVisible()); });
    connect(FormMonitorList_, &TFormMonitorList::VisibilityChanged, monitor, &QAction::setChecked);
    QAction* results = AddAction("ButtonObjectResults", "Результати моделювання по вибраному об'єкту");
    results->setShortcut(QKeySequence("Ctrl+R"));
    results->setCheckable(true);
    on(results, [this] { FormObjectResults_->setVisible(!FormObjectResults_->isVisible()); });
    connect(FormObjectResults_, &TFormObjectResults::VisibilityChanged, results, &QAction::setChecked);
    QAction* timeLine = AddAction("ButtonTimeLine", "Шкала часу");
    timeLine->setShortcut(QKeySequence("Ctrl+T"));
    timeLine->setCheckable(true);
    connect(timeLine, &QAction::toggled, this, [this](bool on) { Engine.TimeLineEnabled = on; });
    QAction* grid = AddAction("ButtonGrid", "Сітка");
    grid->setShortcut(QKeySequence("Ctrl+G"));
    grid->setCheckable(true);
    connect(grid, &QAction::toggled, this, [this](bool on) { Engine.GridEnabled = on; });
    view->addActions({panel, monitor, results});
    view->addSeparator();
    view->addActions({timeLine, grid});

    QMenu* tools = bar->addMenu("Інструменти");
    Tools = new QActionGroup(this);
    Tools->setExclusive(true);
    QAction* noTool = AddAction("ButtonNoTool", "Без інструмента");
    QAction* vertex = AddAction("ButtonCreateVertex", "Створити вершину", "Створити вершину");
    QAction* transition = AddAction("ButtonCreateTransition", "Створити перехід", "Створити перехід");
    QAction* connection = AddAction("ButtonCreateConnection", "Створити лінію зв'язку", "Створити зв'язок");
    QAction* inform = AddAction("ButtonCreateInformConnection", "Створити інформаційний зв'язок",
                                "Створити інформаційний зв'язок");
    for (QAction* a : {noTool, vertex, transition, connection, inform}) {
        a->setCheckable(true);
        Tools->addAction(a);
    }
    noTool->setChecked(true);
    on(noTool, [this] { Engine.EditMode = 0; });
    on(vertex, [this] { SetTool(5); });
    on(transition, [this] { SetTool(6); });
    on(connection, [this] { ButtonConnectionToolClick(false); });
    on(inform, [this] { ButtonConnectionToolClick(true); });
    QAction* clearNet = AddAction("ButtonClearNet", "Очистити сітку");
    on(clearNet, [this] { ButtonClearNetClick(); });
    tools->addActions({vertex, transition, connection, inform});
    tools->addSeparator();
    tools->addAction(clearNet);

    QMenu* simulation = bar->addMenu("Імітація");
    QAction* realTime = AddAction("ButtonRealTime", "Запустити імітацію в реальному часі",
                                  "Запустити/зупинити час (F9)|Імітація в реальному часі");
    realTime->setShortcut(QKeySequence(Qt::Key_F9));
    on(realTime, [this] { ButtonRealTimeClick(); });
    QAction* stop = AddAction("ButtonStop", "Зупинити імітацію в реальному часі",
                              "Зупинити імітацію (F2)|Зупинити імітацію");
    stop->setShortcut(QKeySequence(Qt::Key_F2));
    on(stop, [this] { ButtonStopClick(); });
    QAction* interval = AddAction("ButtonInterval", "Імітація на вказаному інтервалі",
                                  "Моделювання на вказаному інтервалі");
    interval->setShortcut(QKeySequence(Qt::Key_F8));
    on(interval, [this] { ButtonIntervalClick(); });
    QAction* clearHistory = AddAction("ButtonClearRunHistory", "Очистити історію запусків");
    on(clearHistory, [this] { ButtonClearRunHistoryClick(); });
    simulation->addActions({realTime, stop});
    simulation->addSeparator();
    simulation->addAction(interval);
    simulation->addSeparator();
    simulation->addAction(clearHistory);

    QMenu* resultsMenu = bar->addMenu("Результати");
    QAction* chart = AddAction("ButtonShowChart", "Показати графік", "Показати графік");
    on(chart, [this] {
        FormChart_->show();
        FormChart_->raise();
    });
    resultsMenu->addAction(chart);

    QMenu* settings = bar->addMenu("Настройки");
    QAction* options = AddAction("ButtonShowOptions", "Показати настройки");
    on(options, [this] { FormOptions_->ShowOnPage(); });
    QAction* base = AddAction("ButtonLoadBaseSettings", "Завантажити базові настройки");
    on(base, [this] { ButtonLoadBaseSettingsClick(); });
    settings->addAction(options);
    settings->addSeparator();
    settings->addAction(base);

    QMenu* help = bar->addMenu("Довідка");
    QAction* about = AddAction("ButtonAbout", "Про програму");
    on(about, [this] {
        FormAbout->adjustSize();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        FormAbout->move(screen.center() - FormAbout->rect().center());
        FormAbout->show();
    });
    help->addAction(about);

    QAction* zoomIn = AddAction("SButtonZoomIn", "Збільшити масштаб", "Збільшити масштаб");
    on(zoomIn, [this] { Zoom(true); });
    QAction* zoomOut = AddAction("SButtonZoomOut", "Зменшити масштаб", "Зменшити масштаб");
    on(zoomOut, [this] { Zoom(false); });

    const std::pair<QAction*, TToolGlyph> glyphs[] = {
        {newProject, tgNew}, {open, tgOpen}, {save, tgSave}, {reload, tgReload}, {noTool, tgNoTool},
        {vertex, tgVertex}, {transition, tgTransition}, {connection, tgConnection}, {inform, tgInformational},
        {zoomIn, tgZoomIn}, {zoomOut, tgZoomOut}, {realTime, tgRealTime}, {stop, tgStop},
        {interval, tgInterval}, {chart, tgChart}};
    for (const auto& [action, glyph] : glyphs)
        action->setIcon(ToolIcon(glyph));
    QToolBar* toolBar = addToolBar("Інструменти");
    toolBar->setObjectName("ToolBar");
    toolBar->setMovable(false);
    toolBar->addActions({newProject, open, save, reload});
    toolBar->addSeparator();
    toolBar->addActions({noTool, vertex, transition, connection, inform});
    toolBar->addSeparator();
    toolBar->addActions({zoomIn, zoomOut});
    toolBar->addSeparator();
    toolBar->addActions({realTime, stop, interval});
    toolBar->addSeparator();
    toolBar->addAction(chart);
}

void TFormMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    QFont small = bar->font();
    small.setPointSize(8);
    bar->setFont(small);
    for (int width : {320, 122, 60, 60, 94, 50}) {
        auto* panel = new QLabel(this);
        panel->setFixedWidth(width);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel);
        StatusPanels.push_back(panel);
    }
    Progress_ = new QProgressBar(StatusPanels[1]);
    Progress_->setObjectName("ProgressBar");
    Progress_->setRange(0, 120);
    Progress_->setTextVisible(false);
    Progress_->setGeometry(2, 2, 118, 17);
}

QString TFormMain::StatusText(int panel) const { return StatusPanels.at(panel)->text(); }

bool TFormMain::event(QEvent* event) {
    // The long hint of the control under the mouse goes to panel 0.
    if (event->type() == QEvent::StatusTip) {
        StatusPanels[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
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
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    FormModeling_->move(work.right() - FormModeling_->width() - 8, 48);
    FormModeling_->show();
    // The monitor list and the results panel stand below the simulation panel, 3 pixels apart.
    FormMonitorList_->move(work.right() - FormMonitorList_->width() - 8, FormModeling_->geometry().bottom() + 3);
    FormMonitorList_->show();
    FormObjectResults_->move(work.right() - FormObjectResults_->width() - 8,
                             FormMonitorList_->geometry().bottom() + 3);
    FormObjectResults_->show();
    SyncCheckMarks();
}

void TFormMain::TimerTick() {
    FormDraw_->update();
    int position = 0;
    if (Engine.RunMode == 1 && Engine.IntervalLength > 0)
        position = 120 - RoundToInt(120 * (Engine.IntervalEnd - Engine.Net.ModelTime) / Engine.IntervalLength);
    Progress_->setValue(std::clamp(position, 0, 120));
}

void TFormMain::SyncCheckMarks() {
    Action("ButtonTimeLine")->setChecked(Engine.TimeLineEnabled);
    Action("ButtonGrid")->setChecked(Engine.GridEnabled);
    FormModeling_->CBoxConflictTransitions()->setChecked(Engine.ConflictCheck);
}

void TFormMain::ShowZoomText() { StatusPanels[4]->setText(QString::fromStdString(ZoomText(Engine.Graph))); }

void TFormMain::Zoom(bool zoomIn) {
    ZoomStep(Engine.Graph, zoomIn);
    ShowZoomText();
}

void TFormMain::SetTool(int editMode) {
    static const char* const kButtons[] = {"ButtonNoTool", nullptr, nullptr, nullptr, nullptr,
                                           "ButtonCreateVertex", "ButtonCreateTransition"};
    if (editMode == 0 || editMode == 5 || editMode == 6)
        Action(kButtons[editMode])->setChecked(true);
    Engine.EditMode = static_cast<std::uint8_t>(editMode);
}

void TFormMain::UpdateDrawCaption() {
    const QString caption = Engine.FileName.empty()
                                ? QString("Новий файл")
                                : QString::fromStdString(Engine.FileName.filename().string());
    DrawWindow_->setWindowTitle(caption);
}

TPropertyDialog* TFormMain::PropertiesDialog(int kind) const {
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
    if (TPropertyDialog* dialog = PropertiesDialog(Engine.Choiced.Items[0].Kind))
        dialog->exec();
}

void TFormMain::FillMonitorTree() { FormMonitorList_->FillMonitorTree(); }
