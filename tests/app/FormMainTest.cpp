#include "FormMain.h"
#include "Engine.h"
#include "FormDraw.h"
#include "FormModeling.h"
#include "MainWindowFixture.h"
#include "NetFile.h"
#include "NetObjects.h"
#include "Random.h"
#include "RunControl.h"
#include "ShownMainWindow.h"
#include "TempFolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;

const std::filesystem::path kExamples = KVL_EXAMPLES;

// Every test keeps its settings file in a folder of its own and reads the messages it is shown.
class FormMainTest : public MainWindowFixture {
protected:
    // The main window shown and active, so that its shortcuts work.
    std::unique_ptr<TFormMain> Open() { return ShownMainWindow(Engine); }
};

TEST_F(FormMainTest, HoldsTheMaximisedEditorCaptionedNewFile) {
    auto form = Open();
    EXPECT_TRUE(form->windowTitle().startsWith("Сітки Петрі: редактор і симулятор"));
    auto* area = qobject_cast<QMdiArea*>(form->centralWidget());
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->subWindowList().size(), 1);
    QMdiSubWindow* sub = area->subWindowList().first();
    EXPECT_EQ(sub->windowTitle(), QString("Новий файл"));
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(sub->widget(), form->FormDraw());
    EXPECT_TRUE(form->FormModeling()->isVisible());
    EXPECT_TRUE(form->Action("ButtonModelingPanel")->isChecked());
    EXPECT_EQ(form->StatusText(spZoom), QString(" Масштаб: 100%"));
}

TEST_F(FormMainTest, LoadsSettingsAtStartAndSavesThemAtTheEnd) {
    WriteBytes(Folder / "KVLConfig.ini",
               "[Options]\r\nGridEnabled=0\r\n[Graph]\r\nScreenUpdateInterval=20\r\n");
    {
        auto form = Open();
        EXPECT_EQ(form->Timer()->interval(), 20);
        EXPECT_EQ(Engine.DrawPeriod, 20);
        EXPECT_FALSE(form->Action("ButtonGrid")->isChecked());
        form->Action("ButtonTimeLine")->trigger();
        EXPECT_FALSE(Engine.TimeLineEnabled);
    }
    const std::string saved = ReadBytes(Folder / "KVLConfig.ini");
    EXPECT_THAT(saved, HasSubstr("TimeLineEnabled=0\r\n"));
    EXPECT_THAT(saved, HasSubstr("GridEnabled=0\r\n"));
}

TEST_F(FormMainTest, OpensAnExampleAndRunsItOverAnInterval) {
    auto form = Open();
    const auto example = kExamples / "queue.kvl";
    form->ChooseFileToOpen = [&] { return QString::fromStdString(example.string()); };
    Key(form.get(), Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(Engine.Net.Vertices.size(), 3u);
    EXPECT_EQ(form->DrawWindow()->windowTitle(), QString("queue.kvl"));

    form->FormModeling()->LEditInterval()->setText("50");
    Engine.Random.Seed = 9;
    Key(form.get(), Qt::Key_F8);
    EXPECT_EQ(Engine.RunMode, rmInterval);
    QTRY_COMPARE_WITH_TIMEOUT(Engine.RunMode, rmStopped, 10000);
    EXPECT_EQ(Engine.Net.ModelTime, 50);

    // The same run without the window, from the same seed, ends with the same markings.
    TEngine batch;
    InitEngine(batch);
    LoadNet(batch, example);
    batch.Random.Seed = 9;
    RunInterval(batch, 50);
    while (!IntervalStep(batch, -1) && !IntervalEndReached(batch)) {
    }
    for (std::size_t i = 0; i < batch.Net.Vertices.size(); ++i)
        EXPECT_EQ(Engine.Net.Vertices[i]->Marking, batch.Net.Vertices[i]->Marking) << i;
}

TEST_F(FormMainTest, SimulationKeysStartStopAndSwitchRuns) {
    auto form = Open();
    Key(form.get(), Qt::Key_F2); // stopped: nothing
    EXPECT_EQ(Engine.RunMode, rmStopped);
    Key(form.get(), Qt::Key_F9);
    EXPECT_EQ(Engine.RunMode, rmRealTime);
    Key(form.get(), Qt::Key_F9);
    EXPECT_EQ(Engine.RunMode, rmStopped);

    form->FormModeling()->LEditInterval()->setText("100000");
    Key(form.get(), Qt::Key_F8);
    EXPECT_EQ(Engine.RunMode, rmInterval);
    Key(form.get(), Qt::Key_F9); // an interval run turns into a real-time run
    EXPECT_EQ(Engine.RunMode, rmRealTime);
    Key(form.get(), Qt::Key_F2);
    EXPECT_EQ(Engine.RunMode, rmStopped);

    form->FormModeling()->LEditInterval()->setText("-5");
    Key(form.get(), Qt::Key_F8);
    EXPECT_EQ(form->FormModeling()->LEditInterval()->text(), QString("0"));
    EXPECT_EQ(Engine.IntervalLength, 0);
    QTRY_COMPARE_WITH_TIMEOUT(Engine.RunMode, rmStopped, 5000);
}

TEST_F(FormMainTest, InvalidFormulaRefusesTheStartNamingTheArc) {
    auto form = Open();
    TVertex* p1 = CreateVertex(Engine.Net, "P1", 0, 0, 0, nullptr);
    TTransition* t1 = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    TConnection* c = CreateConnection(Engine.Net, ctTV, 1, p1, t1, nullptr);
    c->UseFunction = true;
    c->Formula = "M(Nothing)";
    Key(form.get(), Qt::Key_F9);
    Key(form.get(), Qt::Key_F8);
    EXPECT_EQ(Engine.RunMode, rmStopped);
    ASSERT_EQ(Messages.size(), 2);
    EXPECT_EQ(Messages[0],
              QString("Неможливо запустити імітацію. Формула зв'язку T1 -> P1 задана неправильно. "
                      "Можливо, в формулі неправильно вказані імена вершин."));
}

TEST_F(FormMainTest, ToolsCheckTheChosenObject) {
    auto form = Open();
    TTransition* t = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
    Engine.Choiced.Items = {t};
    form->Action("ButtonCreateInformConnection")->trigger();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0], QString("Не вибрана початкова вершина."));
    EXPECT_EQ(Engine.EditMode, emIdle);
    EXPECT_TRUE(form->Action("ButtonNoTool")->isChecked());
    form->Action("ButtonCreateConnection")->trigger();
    EXPECT_EQ(Engine.EditMode, emCreateConnection);
    form->Action("ButtonCreateVertex")->trigger();
    EXPECT_EQ(Engine.EditMode, emCreateVertex);
}

TEST_F(FormMainTest, ShortcutsAndReloadOfANewNet) {
    auto form = Open();
    EXPECT_EQ(form->Action("ButtonSaveProjectAs")->shortcut(), QKeySequence("Ctrl+Alt+S"));
    EXPECT_EQ(form->Action("ButtonReloadProject")->shortcut(), QKeySequence("Ctrl+X"));
    Key(form.get(), Qt::Key_X, Qt::ControlModifier);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0], QString("Неможливо відкрити файл: новий проект ще не був збережений."));

    const auto path = Folder / "saved.kvl";
    form->ChooseFileToSave = [&] { return QString::fromStdString(path.string()); };
    CreateVertex(Engine.Net, "P1", 1, 0, 0, nullptr);
    Key(form.get(), Qt::Key_S, Qt::ControlModifier); // a new net: save asks for a name
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(form->DrawWindow()->windowTitle(), QString("saved.kvl"));
    CreateVertex(Engine.Net, "P2", 1, 0, 0, nullptr);
    Key(form.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Engine.Net.Vertices.size(), 1u);
    Key(form.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(Engine.Net.Vertices.empty());
    EXPECT_EQ(form->DrawWindow()->windowTitle(), QString("Новий файл"));
}

// The editor window is part of the main window: every way of closing it leaves its frame and its
// canvas in place, and the timer and the file commands, which draw on the canvas and caption the
// frame, go on working.
TEST_F(FormMainTest, EditorWindowRefusesEveryWayOfClosing) {
    const std::vector<std::pair<const char*, std::function<void(TFormMain&)>>> ways = {
        {"close()", [](TFormMain& form) { form.DrawWindow()->close(); }},
        {"Ctrl+F4",
         [this](TFormMain& form) { Key(form.DrawWindow(), Qt::Key_F4, Qt::ControlModifier); }},
        {"Ctrl+W",
         [this](TFormMain& form) { Key(form.DrawWindow(), Qt::Key_W, Qt::ControlModifier); }},
        {"Ctrl+F4 on the canvas",
         [this](TFormMain& form) { Key(form.FormDraw(), Qt::Key_F4, Qt::ControlModifier); }},
        {"Ctrl+W on the canvas",
         [this](TFormMain& form) { Key(form.FormDraw(), Qt::Key_W, Qt::ControlModifier); }},
        {"closeActiveSubWindow",
         [](TFormMain& form) {
             auto* area = qobject_cast<QMdiArea*>(form.centralWidget());
             area->setActiveSubWindow(form.DrawWindow());
             area->closeActiveSubWindow();
         }},
        {"closeAllSubWindows",
         [](TFormMain& form) {
             qobject_cast<QMdiArea*>(form.centralWidget())->closeAllSubWindows();
         }},
        {"double click on the menu bar's window icon",
         [](TFormMain& form) {
             if (QWidget* icon = form.menuBar()->cornerWidget(Qt::TopLeftCorner))
                 QTest::mouseDClick(icon, Qt::LeftButton);
         }},
    };
    const auto path = Folder / "kept.kvl";
    for (const auto& [way, close] : ways) {
        SCOPED_TRACE(way);
        auto form = Open();
        auto* area = qobject_cast<QMdiArea*>(form->centralWidget());
        QPointer<QMdiSubWindow> frame = form->DrawWindow();
        QPointer<TFormDraw> canvas = form->FormDraw();
        const Qt::WindowFlags controls = Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                                         Qt::WindowMinimizeButtonHint |
                                         Qt::WindowMaximizeButtonHint;
        EXPECT_FALSE(frame->windowFlags().testAnyFlags(controls));
        EXPECT_EQ(frame->systemMenu(), nullptr);
        // Maximised, the frame puts neither its icon nor its buttons on the menu bar.
        EXPECT_EQ(form->menuBar()->cornerWidget(Qt::TopLeftCorner), nullptr);
        EXPECT_EQ(form->menuBar()->cornerWidget(Qt::TopRightCorner), nullptr);

        close(*form);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (frame.isNull() || canvas.isNull()) {
            ADD_FAILURE() << "the editor window was deleted";
            continue;
        }
        EXPECT_EQ(area->subWindowList(), QList<QMdiSubWindow*>{frame.data()});
        EXPECT_EQ(frame->widget(), canvas.data());
        EXPECT_TRUE(frame->isVisible());
        EXPECT_TRUE(frame->isMaximized());

        QTest::qWait(50); // a few timer ticks repaint the canvas
        form->ChooseFileToSave = [&] { return QString::fromStdString(path.string()); };
        Key(form.get(), Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(frame->windowTitle(), QString("kept.kvl"));
        Key(form.get(), Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(frame->windowTitle(), QString("Новий файл"));
    }
}

// The main menu as the user sees it: each menu's items in order ("-" a separator line), with
// their shortcuts and check marks.
TEST_F(FormMainTest, MainMenuListsItsItemsInOrder) {
    auto form = Open();
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"Файл",
         {"Новий проект Ctrl+N", "Відкрити проект Ctrl+O", "Недавні файли >",
          "Перезавантажити сітку зі збереженого файлу Ctrl+X", "Зберегти проект Ctrl+S",
          "Зберегти як новий файл Ctrl+Alt+S", "-", "Імпорт PNML…", "Експорт PNML…", "-",
          "Експорт >", "-", "Вихід Ctrl+E"}},
        {"Правка",
         {"Скасувати Ctrl+Z", "Повторити Ctrl+Y", "-", "Копіювати фрагмент Ctrl+C",
          "Вставити фрагмент Ctrl+V"}},
        {"Вид",
         {"Панель імітації Ctrl+I [x]", "Список об'єктів моніторингу Ctrl+L [x]",
          "Результати моделювання по вибраному об'єкту Ctrl+R [x]", "-", "Шкала часу Ctrl+T [x]",
          "Сітка Ctrl+G [x]"}},
        {"Інструменти",
         {"Створити вершину [ ]", "Створити перехід [ ]", "Створити лінію зв'язку [ ]",
          "Створити інформаційний зв'язок [ ]", "-", "Очистити сітку"}},
        {"Імітація",
         {"Запустити імітацію в реальному часі F9", "Зупинити імітацію в реальному часі F2", "-",
          "Імітація на вказаному інтервалі F8", "Експеримент…", "-", "Очистити історію запусків"}},
        {"Результати", {"Показати графік"}},
        {"Настройки", {"Показати настройки", "-", "Завантажити базові настройки"}},
        {"Довідка", {"Посібник користувача F1", "-", "Про програму"}},
    };
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        EXPECT_EQ(menus[m]->text(), expected[m].first);
        QStringList items;
        for (const QAction* item : menus[m]->menu()->actions()) {
            QString line = item->isSeparator() ? "-" : item->text();
            if (item->menu() != nullptr)
                line += " >";
            if (!item->shortcut().isEmpty())
                line += " " + item->shortcut().toString();
            if (item->isCheckable())
                line += item->isChecked() ? " [x]" : " [ ]";
            items << line;
        }
        EXPECT_EQ(items, expected[m].second) << expected[m].first.toStdString();
    }
    QStringList exports;
    for (const QAction* item : form->findChild<QMenu*>("MenuExport")->actions())
        exports << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(exports,
              QStringList({"Рисунок сітки (PNG, SVG, PDF)…", "-",
                           "Результати об'єктів моніторингу (CSV)…",
                           "Історії об'єктів моніторингу (CSV)…", "-",
                           "Рисунок графіків (PNG, SVG)…", "Ряди графіків (CSV)…", "-",
                           "Таблиця експерименту (CSV)…", "Графік експерименту (PNG, SVG)…"}));
}

TEST_F(FormMainTest, ZoomButtonsStopAtTheLimits) {
    auto form = Open();
    for (int i = 0; i < 20; ++i)
        form->Action("SButtonZoomIn")->trigger();
    EXPECT_EQ(form->StatusText(spZoom), QString(" Масштаб: 700%"));
    for (int i = 0; i < 40; ++i)
        form->Action("SButtonZoomOut")->trigger();
    EXPECT_EQ(form->StatusText(spZoom), QString(" Масштаб: 7%"));

    // A step per 120 units of wheel angle: a message of three notches makes three.
    const QPoint centre = form->FormDraw()->rect().center();
    QWheelEvent wheel(centre, form->FormDraw()->mapToGlobal(centre), QPoint(), QPoint(0, 360),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->FormDraw(), &wheel);
    EXPECT_EQ(form->StatusText(spZoom), QString(" Масштаб: 10%")); // 7 % x 1.15^3
}

TEST_F(FormMainTest, SimulationPanelRewritesItsEdits) {
    auto form = Open();
    TFormModeling* panel = form->FormModeling();
    QLineEdit* scale = panel->LEditTimeScale();
    for (auto [typed, shown] :
         {std::pair{"2.5", "2.500000"}, {"0", "0.000001"}, {"5000000", "1000000.000000"}}) {
        scale->setText(typed);
        QTest::keyClick(scale, Qt::Key_Return);
        EXPECT_EQ(scale->text(), QString(shown));
    }
    EXPECT_EQ(Engine.TimeScale, 1000000);
    QLineEdit* warmUp = panel->LEditWarmUp();
    warmUp->setText("-3");
    QTest::keyClick(warmUp, Qt::Key_Return);
    EXPECT_EQ(warmUp->text(), QString("0.000000"));
    warmUp->setText("abc");
    QTest::keyClick(warmUp, Qt::Key_Return);
    EXPECT_EQ(Messages.size(), 1);
    EXPECT_EQ(warmUp->text(), QString("abc"));
    panel->CBoxConflictTransitions()->click();
    EXPECT_FALSE(Engine.ConflictCheck);
    form->Action("ButtonLoadBaseSettings")->trigger();
    EXPECT_TRUE(panel->CBoxConflictTransitions()->isChecked());
}

TEST_F(FormMainTest, ClosingDuringARealTimeRunReturnsAtOnce) {
    QElapsedTimer closing;
    {
        auto form = Open();
        TVertex* p = CreateVertex(Engine.Net, "P", 1, 0, 0, nullptr);
        TTransition* t = CreateTransition(Engine.Net, "T", 0, 0.01, 0, nullptr);
        CreateConnection(Engine.Net, ctVT, 1, p, t, nullptr);
        CreateConnection(Engine.Net, ctTV, 1, p, t, nullptr);
        Engine.TimeScale = 10;
        StartRealTime(Engine);
        QTest::qWait(300);
        EXPECT_GT(Engine.Net.ModelTime, 0.4); // 25 steps a second of 0.4 units each
        closing.start();
        form->close();
    }
    EXPECT_LT(closing.elapsed(), 1000);
}

} // namespace
