#include "FormObjectResults.h"
#include "LaunchBuffer.h"
#include "Monitoring.h"
#include "NetObjects.h"
#include "ObjectResultRows.h"
#include "TextCodec.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ObjectResultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        P = CreateVertex(Engine.Net, Utf8ToWin1251("Черга"), 2, 0, 0, nullptr);
        T = CreateTransition(Engine.Net, "T1", 0, 1.5, 0, nullptr);
    }
    std::vector<TResultRow> Rows(TObjectRef object) {
        Engine.Choiced.Items = {object};
        return ObjectResultRows(Engine);
    }
    TEngine Engine;
    TVertex* P;
    TTransition* T;
};

TEST_F(ObjectResultsTest, NothingOrSeveralChosenGiveOneEmptyRow) {
    auto rows = ObjectResultRows(Engine);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Label, "");
    Engine.Choiced.Items = {P, T};
    EXPECT_EQ(ObjectResultRows(Engine).size(), 1u);
}

TEST_F(ObjectResultsTest, VertexRowsShowStatisticsOnlyWhenMonitored) {
    auto rows = Rows(P);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[1].Value, "2");
    EXPECT_TRUE(rows[2].Spacer);
    EXPECT_EQ(rows[3].Label, "Мін. маркування");
    EXPECT_EQ(rows[3].Value, "");
    StartMonitoring(*P, 0);
    Engine.Net.ModelTime = 10;
    rows = Rows(P);
    EXPECT_EQ(rows[3].Value, "2");
    EXPECT_EQ(rows[5].Value, "2.000000");
    EXPECT_EQ(rows[6].Value, "<Відсутнє>"); // no token arrived: no waiting to average
}

TEST_F(ObjectResultsTest, TransitionRowsFollowTheDelayLaw) {
    T->DelayType = dtNormal;
    T->Deviation = 0.2;
    auto rows = Rows(T);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_EQ(rows[1].Value, "Нормальний закон");
    EXPECT_EQ(rows[3].Value, "0.2");
    T->DelayType = dtExponential;
    EXPECT_EQ(Rows(T)[3].Value, "");
    StartMonitoring(*T, 0);
    BufferAppend(T->LaunchBuffer, 5);
    RecordTransitionSample(*T, 0, THistorySettings{});
    BufferRemove(T->LaunchBuffer, 0);
    RecordTransitionSample(*T, 5, THistorySettings{});
    Engine.Net.ModelTime = 10;
    rows = Rows(T);
    EXPECT_EQ(rows[10].Value, "0.500000");
    EXPECT_EQ(rows[11].Value, "5");
    EXPECT_EQ(rows[12].Value, "50.000%");
}

TEST_F(ObjectResultsTest, ConnectionShowsItsFormula) {
    TConnection* c = CreateConnection(Engine.Net, ctVT, 3, P, T, nullptr);
    EXPECT_EQ(Rows(c)[1].Value, "3");
    c->UseFunction = true;
    c->Formula = "M(P1)*2";
    EXPECT_EQ(Rows(c)[1].Value, "M(P1)*2");
}

TEST_F(ObjectResultsTest, SpacerRowsStayThinAcrossKinds) {
    TFormObjectResults form(Engine);
    form.show();
    Engine.Choiced.Items = {P};
    form.FillObjectResults();
    EXPECT_EQ(form.Grid()->rowHeight(2), 4);
    Engine.Choiced.Items = {T};
    form.FillObjectResults();
    EXPECT_EQ(form.Grid()->rowCount(), 13);
    EXPECT_EQ(form.Grid()->rowHeight(2), 16);
    EXPECT_EQ(form.Grid()->rowHeight(7), 4);
    EXPECT_EQ(form.Grid()->item(0, 1)->text(), QString("T1"));
    Engine.Choiced.Items = {P};
    form.FillObjectResults();
    EXPECT_EQ(form.Grid()->rowHeight(2), 4);
    EXPECT_EQ(form.Grid()->item(0, 1)->text(), QString("Черга"));
}

// Every label and value of a monitored transition and of a vertex shows whole (no "…"), the
// labels' column widening when the kind changes; the user can drag the column border.
TEST_F(ObjectResultsTest, LabelsAndValuesShowWhole) {
    StartMonitoring(*T, 0);
    BufferAppend(T->LaunchBuffer, 5);
    RecordTransitionSample(*T, 0, THistorySettings{});
    Engine.Net.ModelTime = 123456.5;
    TFormObjectResults form(Engine);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTableWidget* grid = form.Grid();
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    const QFontMetrics metrics(grid->font());
    const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (TObjectRef object : {TObjectRef(P), TObjectRef(T)}) {
        Engine.Choiced.Items = {object};
        form.FillObjectResults();
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int column = 0; column < 2; ++column) {
                const QTableWidgetItem* item = grid->item(row, column);
                EXPECT_GE(grid->visualItemRect(item).width(),
                          metrics.horizontalAdvance(item->text()) + margins)
                    << item->text().toStdString();
            }
    }
}

} // namespace
