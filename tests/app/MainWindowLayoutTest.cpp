// Where the main window puts its panels and dialogs, and whether their texts fit.
#include "Engine.h"
#include "FormChart.h"
#include "FormDraw.h"
#include "FormMain.h"
#include "FormModeling.h"
#include "FormMonitorList.h"
#include "FormObjectResults.h"
#include "FormOptions.h"
#include "MainWindowFixture.h"
#include "RunControl.h"
#include "ShownMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainWindowLayoutTest : public MainWindowFixture {
protected:
    // The main window shown and active, so that its shortcuts work.
    std::unique_ptr<TFormMain> Open() { return ShownMainWindow(Engine); }
};

// The three panels stand one below the other by their frames (title bars included), inside the
// screen, captioned with their own names; the "Вид" menu's check marks follow them.
TEST_F(MainWindowLayoutTest, PanelsStackByTheirFramesWithoutOverlap) {
    auto form = Open();
    const std::pair<QWidget*, const char*> panels[] = {
        {form->FormModeling(), "Імітація"},
        {form->FormMonitorList(), "Список об'єктів сітки"},
        {form->FormObjectResults(), "Вибраний об'єкт"}};
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& [panel, caption] : panels) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel));
        EXPECT_EQ(panel->windowTitle(), QString::fromUtf8(caption));
        EXPECT_TRUE(work.contains(panel->frameGeometry())) << caption;
    }
    for (std::size_t i = 1; i < std::size(panels); ++i) {
        const QRect above = panels[i - 1].first->frameGeometry();
        const QRect below = panels[i].first->frameGeometry();
        EXPECT_FALSE(above.intersects(below)) << panels[i].second;
        // Stacked: 3 pixels between one frame and the next, not a client area's height apart.
        EXPECT_EQ(below.top() - above.bottom() - 1, 3) << panels[i].second;
    }

    for (const char* name : {"ButtonModelingPanel", "ButtonMonitorList", "ButtonObjectResults"}) {
        QAction* action = form->Action(name);
        ASSERT_TRUE(action->isChecked()) << name;
        action->trigger();
        EXPECT_FALSE(action->isChecked()) << name;
        action->trigger();
        EXPECT_TRUE(action->isChecked()) << name;
    }
    EXPECT_FALSE(form->FormModeling()->isHidden());
}

// The status bar's cursor and zoom panels show their longest texts whole in the bar's font.
TEST_F(MainWindowLayoutTest, StatusPanelsHoldTheirLongestTexts) {
    auto form = Open();
    for (int i = 0; i < 40; ++i)
        form->Zoom(true);
    ASSERT_EQ(form->StatusText(spZoom), QString(" Масштаб: 700%"));
    emit form->FormDraw()->CursorTextChanged(" X: -123456", " Y: -654321");
    for (const char* name : {"StatusCursorX", "StatusCursorY", "StatusZoom"}) {
        auto* panel = form->findChild<QLabel*>(name);
        ASSERT_NE(panel, nullptr) << name;
        // A label's size hint is its text plus the frame and the indent it keeps.
        EXPECT_LE(panel->sizeHint().width(), panel->width()) << panel->text().toStdString();
    }
}

// "Настройки" opens over the middle of the main window; Enter is OK and Escape cancels, from
// inside an edit as well.
TEST_F(MainWindowLayoutTest, OptionsOpenCentredAndAnswerEnterAndEscape) {
    auto form = Open();
    TFormOptions* options = form->FormOptions();
    form->Action("ButtonShowOptions")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
    const QPoint offset = options->frameGeometry().center() - form->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();

    auto* mark = options->findChild<QLineEdit*>("LEditBaseMark");
    ASSERT_NE(mark, nullptr);
    mark->setText("7");
    Key(mark, Qt::Key_Return);
    EXPECT_EQ(Engine.BaseVertexMark, 7);
    EXPECT_FALSE(options->isVisible());

    options->ShowOnPage();
    mark->setText("9");
    Key(mark, Qt::Key_Escape);
    EXPECT_FALSE(options->isVisible());
    EXPECT_EQ(Engine.BaseVertexMark, 7);
    EXPECT_TRUE(Messages.isEmpty());
}

// The chart window opens over the main window and, while it is the active window, the
// simulation keys still start and stop runs.
TEST_F(MainWindowLayoutTest, ChartWindowKeepsTheSimulationKeys) {
    auto form = Open();
    TFormChart* chart = form->FormChart();
    form->Action("ButtonShowChart")->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(chart));
    // The offscreen platform does not hand activation to a newly shown window by itself.
    QApplication::setActiveWindow(chart);
    ASSERT_EQ(QApplication::activeWindow(), chart);
    // It opens over the middle of the main window, not over its menu.
    const QPoint offset = chart->frameGeometry().center() - form->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
    Key(chart, Qt::Key_F9);
    EXPECT_EQ(Engine.RunMode, rmRealTime);
    Key(chart, Qt::Key_F2);
    EXPECT_EQ(Engine.RunMode, rmStopped);
    form->FormModeling()->LEditInterval()->setText("100000");
    Key(chart, Qt::Key_F8);
    EXPECT_EQ(Engine.RunMode, rmInterval);
    Key(chart, Qt::Key_F2);
    EXPECT_EQ(Engine.RunMode, rmStopped);
}

} // namespace
