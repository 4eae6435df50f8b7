// The menus and the tool bar of the main window: every command with its text, hint, shortcut
// and what it does, and the order in which the menus and the tool bar show them.
#include "EditHistory.h"
#include "FormAbout.h"
#include "FormChart.h"
#include "FormDraw.h"
#include "FormMain.h"
#include "FormModeling.h"
#include "FormMonitorList.h"
#include "FormObjectResults.h"
#include "FormOptions.h"
#include "ToolIcons.h"
#include "ToolWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <algorithm>
#include <cstring>

// One command of the main window: its object name, text, hint (the tool tip and, after a "|", the
// status-bar text), shortcut and check box, and what it does.
struct TFormMain::TCommandRow {
    const char* Name;
    const char* Text;
    const char* Hint = "";
    QKeySequence Shortcut{};
    bool Checkable = false;
    bool Tool = false; // one of the exclusive tool buttons
    std::function<void()> Triggered{};
    std::function<void(bool)> Toggled{};
    TToolWindow* Panel = nullptr; // a window the command shows and hides; the check mark follows it
};

namespace {

struct TToolButtonRow {
    const char* Name = nullptr;
    TToolGlyph Glyph = tgNew;
};

// The menus by title, each with its commands; nullptr stands for a separator.
const std::pair<const char*, std::vector<const char*>> kMenus[] = {
    {"Файл",
     {"ButtonNewProject", "ButtonOpenProject", "MenuRecentFiles", "ButtonReloadProject",
      "ButtonSaveProject", "ButtonSaveProjectAs", nullptr, "ButtonImportPnml", "ButtonExportPnml",
      nullptr, "MenuExport", nullptr, "ButtonExit"}},
    {"Правка", {"ButtonUndo", "ButtonRedo", nullptr, "ButtonCopy", "ButtonPaste"}},
    {"Вид",
     {"ButtonModelingPanel", "ButtonMonitorList", "ButtonObjectResults", nullptr, "ButtonTimeLine",
      "ButtonGrid"}},
    {"Інструменти",
     {"ButtonCreateVertex", "ButtonCreateTransition", "ButtonCreateConnection",
      "ButtonCreateInformConnection", nullptr, "ButtonClearNet"}},
    {"Імітація",
     {"ButtonRealTime", "ButtonStop", nullptr, "ButtonInterval", "ButtonExperiment", nullptr,
      "ButtonClearRunHistory"}},
    {"Результати", {"ButtonShowChart"}},
    {"Настройки", {"ButtonShowOptions", nullptr, "ButtonLoadBaseSettings"}},
    {"Довідка", {"ButtonGuide", nullptr, "ButtonAbout"}},
};
// The submenus that a menu above names in place of a command: their names, titles and commands.
struct TSubmenuRow {
    const char* Name;
    const char* Title;
    std::vector<const char*> Commands; // nullptr stands for a separator
};
const TSubmenuRow kSubmenus[] = {
    // Filled with the recently opened files by the main window.
    {"MenuRecentFiles", "Недавні файли", {}},
    {"MenuExport",
     "Експорт",
     {"ButtonExportNetPicture", nullptr, "ButtonExportResults", "ButtonExportHistories", nullptr,
      "ButtonExportChartPicture", "ButtonExportChartSeries", nullptr, "ButtonExportStudyTable",
      "ButtonExportStudyPlot"}},
};

// The tool bar's buttons with their glyphs; a row without a name stands for a separator.
const TToolButtonRow kToolButtons[] = {{"ButtonNewProject", tgNew},
                                       {"ButtonOpenProject", tgOpen},
                                       {"ButtonSaveProject", tgSave},
                                       {"ButtonReloadProject", tgReload},
                                       {},
                                       {"ButtonNoTool", tgNoTool},
                                       {"ButtonCreateVertex", tgVertex},
                                       {"ButtonCreateTransition", tgTransition},
                                       {"ButtonCreateConnection", tgConnection},
                                       {"ButtonCreateInformConnection", tgInformational},
                                       {},
                                       {"SButtonZoomIn", tgZoomIn},
                                       {"SButtonZoomOut", tgZoomOut},
                                       {},
                                       {"ButtonRealTime", tgRealTime},
                                       {"ButtonStop", tgStop},
                                       {"ButtonInterval", tgInterval},
                                       {"ButtonExperiment", tgExperiment},
                                       {},
                                       {"ButtonShowChart", tgChart}};

} // namespace

std::vector<TFormMain::TCommandRow> TFormMain::CommandRows() {
    auto toggle = [](QWidget* window) {
        return [window] { window->setVisible(!window->isVisible()); };
    };
    return {
        {.Name = "ButtonNewProject",
         .Text = "Новий проект",
         .Hint = "Новий|Новий файл",
         .Shortcut = QKeySequence("Ctrl+N"),
         .Triggered = [this] { ButtonNewProjectClick(); }},
        {.Name = "ButtonOpenProject",
         .Text = "Відкрити проект",
         .Hint = "Відкрити",
         .Shortcut = QKeySequence("Ctrl+O"),
         .Triggered = [this] { ButtonOpenProjectClick(); }},
        {.Name = "ButtonReloadProject",
         .Text = "Перезавантажити сітку зі збереженого файлу",
         .Hint = "Відкрити проект зі збереженого файлу",
         .Shortcut = QKeySequence("Ctrl+X"),
         .Triggered = [this] { ButtonReloadProjectClick(); }},
        {.Name = "ButtonSaveProject",
         .Text = "Зберегти проект",
         .Hint = "Зберегти",
         .Shortcut = QKeySequence("Ctrl+S"),
         .Triggered = [this] { ButtonSaveProjectClick(); }},
        {.Name = "ButtonSaveProjectAs",
         .Text = "Зберегти як новий файл",
         .Shortcut = QKeySequence("Ctrl+Alt+S"),
         .Triggered = [this] { ButtonSaveProjectAsClick(); }},
        {.Name = "ButtonImportPnml",
         .Text = "Імпорт PNML…",
         .Triggered = [this] { ButtonImportPnmlClick(); }},
        {.Name = "ButtonExportPnml",
         .Text = "Експорт PNML…",
         .Triggered = [this] { ButtonExportPnmlClick(); }},
        {.Name = "ButtonExportNetPicture",
         .Text = "Рисунок сітки (PNG, SVG, PDF)…",
         .Triggered = [this] { ButtonExportNetPictureClick(); }},
        {.Name = "ButtonExportResults",
         .Text = "Результати об'єктів моніторингу (CSV)…",
         .Triggered = [this] { ButtonExportResultsClick(); }},
        {.Name = "ButtonExportHistories",
         .Text = "Історії об'єктів моніторингу (CSV)…",
         .Triggered = [this] { ButtonExportHistoriesClick(); }},
        {.Name = "ButtonExportChartPicture",
         .Text = "Рисунок графіків (PNG, SVG)…",
         .Triggered = [this] { ButtonExportChartPictureClick(); }},
        {.Name = "ButtonExportChartSeries",
         .Text = "Ряди графіків (CSV)…",
         .Triggered = [this] { ButtonExportChartSeriesClick(); }},
        {.Name = "ButtonExportStudyTable",
         .Text = "Таблиця експерименту (CSV)…",
         .Triggered = [this] { ButtonExportStudyTableClick(); }},
        {.Name = "ButtonExportStudyPlot",
         .Text = "Графік експерименту (PNG, SVG)…",
         .Triggered = [this] { ButtonExportStudyPlotClick(); }},
        {.Name = "ButtonExit",
         .Text = "Вихід",
         .Shortcut = QKeySequence("Ctrl+E"),
         .Triggered = [this] { close(); }},

        {.Name = "ButtonUndo",
         .Text = "Скасувати",
         .Shortcut = QKeySequence("Ctrl+Z"),
         .Triggered = [this] { ButtonUndoClick(); }},
        {.Name = "ButtonRedo",
         .Text = "Повторити",
         .Shortcut = QKeySequence("Ctrl+Y"),
         .Triggered = [this] { ButtonRedoClick(); }},
        {.Name = "ButtonCopy",
         .Text = "Копіювати фрагмент",
         .Shortcut = QKeySequence("Ctrl+C"),
         .Triggered = [this] { FormDraw_->CopyAtCursor(); }},
        {.Name = "ButtonPaste",
         .Text = "Вставити фрагмент",
         .Shortcut = QKeySequence("Ctrl+V"),
         .Triggered = [this] { FormDraw_->PasteAtCursor(); }},

        {.Name = "ButtonModelingPanel",
         .Text = "Панель імітації",
         .Shortcut = QKeySequence("Ctrl+I"),
         .Checkable = true,
         .Triggered = toggle(FormModeling_),
         .Panel = FormModeling_},
        {.Name = "ButtonMonitorList",
         .Text = "Список об'єктів моніторингу",
         .Shortcut = QKeySequence("Ctrl+L"),
         .Checkable = true,
         .Triggered = toggle(FormMonitorList_),
         .Panel = FormMonitorList_},
        {.Name = "ButtonObjectResults",
         .Text = "Результати моделювання по вибраному об'єкту",
         .Shortcut = QKeySequence("Ctrl+R"),
         .Checkable = true,
         .Triggered = toggle(FormObjectResults_),
         .Panel = FormObjectResults_},
        {.Name = "ButtonTimeLine",
         .Text = "Шкала часу",
         .Shortcut = QKeySequence("Ctrl+T"),
         .Checkable = true,
         .Toggled = [this](bool on) { Engine.TimeLineEnabled = on; }},
        {.Name = "ButtonGrid",
         .Text = "Сітка",
         .Shortcut = QKeySequence("Ctrl+G"),
         .Checkable = true,
         .Toggled = [this](bool on) { Engine.GridEnabled = on; }},

        {.Name = "ButtonNoTool",
         .Text = "Без інструмента",
         .Checkable = true,
         .Tool = true,
         .Triggered = [this] { Engine.EditMode = emIdle; }},
        {.Name = "ButtonCreateVertex",
         .Text = "Створити вершину",
         .Hint = "Створити вершину",
         .Checkable = true,
         .Tool = true,
         .Triggered = [this] { SetTool(emCreateVertex); }},
        {.Name = "ButtonCreateTransition",
         .Text = "Створити перехід",
         .Hint = "Створити перехід",
         .Checkable = true,
         .Tool = true,
         .Triggered = [this] { SetTool(emCreateTransition); }},
        {.Name = "ButtonCreateConnection",
         .Text = "Створити лінію зв'язку",
         .Hint = "Створити зв'язок",
         .Checkable = true,
         .Tool = true,
         .Triggered = [this] { ButtonConnectionToolClick(false); }},
        {.Name = "ButtonCreateInformConnection",
         .Text = "Створити інформаційний зв'язок",
         .Hint = "Створити інформаційний зв'язок",
         .Checkable = true,
         .Tool = true,
         .Triggered = [this] { ButtonConnectionToolClick(true); }},
        {.Name = "ButtonClearNet",
         .Text = "Очистити сітку",
         .Triggered = [this] { ButtonClearNetClick(); }},

        {.Name = "ButtonRealTime",
         .Text = "Запустити імітацію в реальному часі",
         .Hint = "Запустити/зупинити час (F9)|Імітація в реальному часі",
         .Shortcut = QKeySequence(Qt::Key_F9),
         .Triggered = [this] { ButtonRealTimeClick(); }},
        {.Name = "ButtonStop",
         .Text = "Зупинити імітацію в реальному часі",
         .Hint = "Зупинити імітацію (F2)|Зупинити імітацію",
         .Shortcut = QKeySequence(Qt::Key_F2),
         .Triggered = [this] { ButtonStopClick(); }},
        {.Name = "ButtonInterval",
         .Text = "Імітація на вказаному інтервалі",
         .Hint = "Моделювання на вказаному інтервалі",
         .Shortcut = QKeySequence(Qt::Key_F8),
         .Triggered = [this] { ButtonIntervalClick(); }},
        {.Name = "ButtonExperiment",
         .Text = "Експеримент…",
         .Hint = "Експеримент|Серія незалежних прогонів з довірчими інтервалами",
         .Triggered = [this] { ButtonExperimentClick(); }},
        {.Name = "ButtonClearRunHistory",
         .Text = "Очистити історію запусків",
         .Triggered = [this] { ButtonClearRunHistoryClick(); }},

        {.Name = "ButtonShowChart",
         .Text = "Показати графік",
         .Hint = "Показати графік",
         .Triggered =
             [this] {
                 // The first time, the chart opens over the middle of the main window; later it
                 // opens where the user left it.
                 if (!ChartPlaced) {
                     ChartPlaced = true;
                     FormChart_->move(frameGeometry().center() - FormChart_->rect().center());
                 }
                 FormChart_->show();
                 FormChart_->raise();
                 FormChart_->activateWindow();
             }},
        {.Name = "ButtonShowOptions",
         .Text = "Показати настройки",
         .Triggered = [this] { FormOptions_->ShowOnPage(); }},
        {.Name = "ButtonLoadBaseSettings",
         .Text = "Завантажити базові настройки",
         .Triggered = [this] { ButtonLoadBaseSettingsClick(); }},
        {.Name = "ButtonGuide",
         .Text = "Посібник користувача",
         .Shortcut = QKeySequence(Qt::Key_F1),
         .Triggered = [this] { ButtonGuideClick(); }},
        {.Name = "ButtonAbout",
         .Text = "Про програму",
         .Triggered =
             [this] {
                 FormAbout->adjustSize();
                 const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
                 FormAbout->move(screen.center() - FormAbout->rect().center());
                 FormAbout->show();
             }},
        {.Name = "SButtonZoomIn",
         .Text = "Збільшити масштаб",
         .Hint = "Збільшити масштаб",
         .Triggered = [this] { Zoom(true); }},
        {.Name = "SButtonZoomOut",
         .Text = "Зменшити масштаб",
         .Hint = "Зменшити масштаб",
         .Triggered = [this] { Zoom(false); }},
    };
}

void TFormMain::BuildMenusAndToolBar() {
    Tools = new QActionGroup(this);
    Tools->setExclusive(true);
    for (const TCommandRow& row : CommandRows()) {
        QAction* action = AddAction(row.Name, row.Text, row.Hint);
        if (!row.Shortcut.isEmpty())
            action->setShortcut(row.Shortcut);
        action->setCheckable(row.Checkable);
        if (row.Tool)
            Tools->addAction(action);
        if (row.Triggered)
            connect(action, &QAction::triggered, this, row.Triggered);
        if (row.Toggled)
            connect(action, &QAction::toggled, this, row.Toggled);
        if (row.Panel != nullptr)
            connect(row.Panel, &TToolWindow::VisibilityChanged, action, &QAction::setChecked);
    }
    Action("ButtonNoTool")->setChecked(true);
    Action("ButtonRedo")->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});

    auto fill = [this](QMenu* menu, const std::vector<const char*>& names) {
        for (const char* name : names) {
            if (name == nullptr)
                menu->addSeparator();
            else
                menu->addAction(Action(name));
        }
    };
    for (const auto& [title, names] : kMenus) {
        QMenu* menu = menuBar()->addMenu(title);
        for (const char* name : names) {
            const auto submenu = std::find_if(
                std::begin(kSubmenus), std::end(kSubmenus),
                [&](const TSubmenuRow& row) { return name && !std::strcmp(row.Name, name); });
            if (submenu == std::end(kSubmenus)) {
                fill(menu, {name});
                continue;
            }
            QMenu* inner = menu->addMenu(submenu->Title);
            inner->setObjectName(submenu->Name);
            fill(inner, submenu->Commands);
        }
    }

    QToolBar* toolBar = addToolBar("Інструменти");
    toolBar->setObjectName("ToolBar");
    toolBar->setMovable(false);
    for (const TToolButtonRow& row : kToolButtons) {
        if (row.Name == nullptr) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = Action(row.Name);
        action->setIcon(ToolIcon(row.Glyph));
        toolBar->addAction(action);
    }
}
