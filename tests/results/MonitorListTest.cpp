#include "EditHistory.h"
#include "FormMonitorList.h"
#include "Monitoring.h"
#include "NetObjects.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <QUndoStack>
#include <gtest/gtest.h>

namespace {

class MonitorListTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        P1 = CreateVertex(Engine.Net, "P1", 1, 0, 0, nullptr);
        P2 = CreateVertex(Engine.Net, "P2", 1, 0, 0, nullptr);
        T1 = CreateTransition(Engine.Net, "T1", 0, 1, 0, nullptr);
        Form = std::make_unique<TFormMonitorList>(Engine, History);
        Form->show();
    }
    QTreeWidgetItem* Root() { return Form->Tree()->topLevelItem(0); }
    QTreeWidgetItem* Vertices() { return Root()->child(0); }
    QTreeWidgetItem* Transitions() { return Root()->child(1); }

    TEngine Engine;
    TEditHistory History{Engine};
    TVertex* P1;
    TVertex* P2;
    TTransition* T1;
    std::unique_ptr<TFormMonitorList> Form;
};

TEST_F(MonitorListTest, ListsOnlyMonitoredObjectsUnlessTheBoxIsCleared) {
    EXPECT_EQ(Form->windowTitle(), QString("Список об'єктів сітки"));
    ASSERT_EQ(Form->Tree()->topLevelItemCount(), 1);
    EXPECT_EQ(Root()->text(0), QString("Об'єкти сітки"));
    EXPECT_EQ(Vertices()->text(0), QString("Вершини"));
    EXPECT_EQ(Transitions()->text(0), QString("Переходи"));
    EXPECT_EQ(Vertices()->childCount(), 0);
    StartMonitoring(*P2, 0);
    Form->FillMonitorTree();
    ASSERT_EQ(Vertices()->childCount(), 1);
    EXPECT_EQ(Vertices()->child(0)->text(0), QString("P2"));
    QTest::mouseClick(Form->CBoxMonitoredOnly(), Qt::LeftButton);
    EXPECT_EQ(Vertices()->childCount(), 2);
    EXPECT_EQ(Transitions()->childCount(), 1);
    QTest::mouseClick(Form->CBoxMonitoredOnly(), Qt::LeftButton);
    EXPECT_EQ(Vertices()->childCount(), 1);
}

TEST_F(MonitorListTest, CollapsedGroupStaysCollapsedAcrossRebuilds) {
    Transitions()->setExpanded(false);
    Form->FillMonitorTree();
    EXPECT_FALSE(Transitions()->isExpanded());
    EXPECT_TRUE(Vertices()->isExpanded());
}

TEST_F(MonitorListTest, SelectingANodeChoosesItsObject) {
    StartMonitoring(*T1, 0);
    Engine.Choiced.Items = {P1};
    Form->FillMonitorTree();
    Form->Tree()->setCurrentItem(Transitions()->child(0));
    ASSERT_EQ(Engine.Choiced.Items.size(), 1u);
    EXPECT_EQ(Engine.Choiced.Items[0].Transition(), T1);
    Form->Tree()->setCurrentItem(Vertices()); // a group node: nothing
    EXPECT_EQ(Engine.Choiced.Items[0].Transition(), T1);
}

TEST_F(MonitorListTest, ContextCommandsStopMonitoring) {
    StartMonitoring(*P1, 0);
    StartMonitoring(*P2, 0);
    StartMonitoring(*T1, 0);
    Form->FillMonitorTree();
    Form->Tree()->setCurrentItem(Vertices());
    Form->RemoveFromMonitoringClick(); // on a group node: nothing
    EXPECT_TRUE(P1->IsMonitoring);
    Form->Tree()->setCurrentItem(Vertices()->child(0));
    Form->findChild<QAction*>("ButtonRemoveFromMonitoring")->trigger();
    EXPECT_FALSE(P1->IsMonitoring);
    EXPECT_EQ(Vertices()->childCount(), 1);
    Form->findChild<QAction*>("ButtonClearMonitoring")->trigger();
    EXPECT_FALSE(P2->IsMonitoring);
    EXPECT_FALSE(T1->IsMonitoring);
    EXPECT_EQ(Transitions()->childCount(), 0);

    // Each command is one undo step; undoing it brings the statistics back, as the run has not
    // moved since.
    ASSERT_EQ(History.Stack()->count(), 2);
    History.Undo();
    EXPECT_TRUE(P2->IsMonitoring);
    EXPECT_TRUE(T1->IsMonitoring);
    EXPECT_FALSE(P1->IsMonitoring);
    EXPECT_EQ(P2->History.Count(), 1);
    History.Undo();
    EXPECT_TRUE(P1->IsMonitoring);
}

} // namespace
