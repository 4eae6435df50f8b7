// The property dialogs filled from the chosen object and committed with their buttons.
#include "DialogControls.h"
#include "EditHistory.h"
#include "FormConnectionProperties.h"
#include "FormTransitionProperties.h"
#include "FormVertexProperties.h"
#include "NetObjects.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace {

class PropertyDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Previous = ShowMessageBox;
        ShowMessageBox = [this](QWidget*, const QString& text) { Messages << text; };
        P1 = CreateVertex(Engine.Net, "P1", 2, 0, 0, &Engine.Graph.Options);
        T1 = CreateTransition(Engine.Net, "T1", 0, 1.5, 0, &Engine.Graph.Options);
    }
    void TearDown() override { ShowMessageBox = Previous; }
    void Choose(TObjectRef object) { Engine.Choiced.Items = {object}; }
    template <typename Dialog> QLineEdit* Edit(Dialog& d, const char* name) {
        return d.template findChild<QLineEdit*>(name);
    }
    template <typename Dialog> QCheckBox* Box(Dialog& d, const char* name) {
        return d.template findChild<QCheckBox*>(name);
    }
    void Ok(TPropertyDialog& d) { QTest::mouseClick(d.ButtonOk(), Qt::LeftButton); }
    // Typed text, one key click a character (QTest's keyClicks knows ASCII only).
    static void Type(QWidget* w, const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c),
                                Qt::NoModifier);
    }

    TEngine Engine;
    TEditHistory History{Engine};
    TVertex* P1 = nullptr;
    TTransition* T1 = nullptr;
    QStringList Messages;
    std::function<void(QWidget*, const QString&)> Previous;
};

TEST_F(PropertyDialogsTest, VertexRenamedInAnotherCaseButNotToATransitionsName) {
    Choose(P1);
    TFormVertexProperties dialog(Engine, History);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QString("Параметри вершини"));
    EXPECT_EQ(Edit(dialog, "EditMarking")->text(), QString("2"));
    Edit(dialog, "EditName")->setText("p1");
    Ok(dialog);
    EXPECT_EQ(P1->Name, "p1");
    EXPECT_TRUE(Messages.isEmpty());

    dialog.show();
    Edit(dialog, "EditName")->setText("t1");
    Edit(dialog, "EditMarking")->setText("9");
    Ok(dialog);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0], QString("Обєкт з іменем \"t1\" вже існує. Задайте інше імя"));
    EXPECT_EQ(P1->Name, "p1");
    EXPECT_EQ(P1->Marking, 2);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PropertyDialogsTest, MonitoringStartsAtModelTimeAndStopsClearingTheHistory) {
    Choose(P1);
    TFormVertexProperties dialog(Engine, History);
    Engine.Net.ModelTime = 4;
    dialog.show();
    Box(dialog, "CBoxMonitoring")->setChecked(true);
    Edit(dialog, "EditMarking")->setText("5");
    Ok(dialog);
    ASSERT_TRUE(P1->IsMonitoring);
    ASSERT_EQ(P1->History.Count(), 1);
    EXPECT_EQ(P1->History.Samples[0].Time, 4);
    EXPECT_EQ(P1->History.Samples[0].Value, 5); // the typed marking enters the statistics
    EXPECT_EQ(P1->MaxMarking, 5);

    dialog.show();
    Box(dialog, "CBoxMonitoring")->setChecked(false);
    Ok(dialog);
    EXPECT_FALSE(P1->IsMonitoring);
    EXPECT_EQ(P1->History.Count(), 0);
}

TEST_F(PropertyDialogsTest, AConversionErrorChangesNoField) {
    Choose(P1);
    TFormVertexProperties dialog(Engine, History);
    dialog.show();
    Edit(dialog, "EditName")->setText("Queue");
    Edit(dialog, "EditMarking")->setText("many");
    Ok(dialog);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0], QString("«many» не є правильним цілим числом"));
    EXPECT_EQ(P1->Name, "P1"); // the name before the failing field is not half-committed
    EXPECT_EQ(P1->Marking, 2);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(History.IsModified());
}

TEST_F(PropertyDialogsTest, ANameWithALineBreakIsRefused) {
    Choose(P1);
    TFormVertexProperties dialog(Engine, History);
    dialog.show();
    Edit(dialog, "EditName")->setText("Q\r1");
    Ok(dialog);
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].contains("розрив рядка"));
    EXPECT_EQ(P1->Name, "P1");
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PropertyDialogsTest, DelayLawEnablesTheDeviationForUniformAndNormal) {
    Choose(T1);
    TFormTransitionProperties dialog(Engine, History);
    dialog.show();
    QComboBox* type = dialog.CBoxDelayType();
    EXPECT_EQ(type->currentText(), QString("Точне значення"));
    EXPECT_FALSE(dialog.DeviationEdit()->isEnabled());
    for (auto [index, enabled] : {std::pair{1, true}, {2, true}, {3, false}, {0, false}}) {
        type->setCurrentIndex(index);
        EXPECT_EQ(dialog.DeviationEdit()->isEnabled(), enabled) << index;
    }
    type->setEditText("своя");
    EXPECT_TRUE(dialog.DeviationEdit()->isEnabled());

    type->setCurrentIndex(2);
    Edit(dialog, "EditDeviation")->setText("0.25");
    Edit(dialog, "EditWeight")->setText("3");
    Edit(dialog, "EditPriority")->setText("-4");
    Ok(dialog);
    EXPECT_EQ(T1->DelayType, dtNormal);
    EXPECT_EQ(T1->Deviation, 0.25);
    EXPECT_EQ(T1->Weight, 3);
    EXPECT_EQ(T1->Priority, -4);
}

// Text typed into the delay-law list never becomes an item of it, and Enter there only confirms
// the text: the dialog stays open until OK, which keeps the law when the text names none.
TEST_F(PropertyDialogsTest, TypedDelayLawAddsNoItemAndEnterKeepsTheDialogOpen) {
    T1->DelayType = dtUniform;
    Choose(T1);
    TFormTransitionProperties dialog(Engine, History);
    dialog.show();
    QComboBox* type = dialog.CBoxDelayType();
    QLineEdit* typed = type->lineEdit();
    auto items = [type] {
        QStringList texts;
        for (int i = 0; i < type->count(); ++i)
            texts << type->itemText(i);
        return texts.join(" | ").toStdString();
    };
    const std::string laws =
        "Точне значення | Рівномірний закон | Нормальний закон | Експоненціальний закон";
    EXPECT_EQ(items(), laws);

    typed->clear();
    Type(typed, "своя");
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(items(), laws);
    EXPECT_EQ(type->currentText(), QString("своя"));
    EXPECT_TRUE(dialog.DeviationEdit()->isEnabled());

    typed->clear();
    Type(typed, "Експоненціальний закон");
    QTest::keyClick(typed, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(items(), laws);
    EXPECT_EQ(type->currentIndex(), 3);
    EXPECT_FALSE(dialog.DeviationEdit()->isEnabled());

    typed->clear();
    Type(typed, "своя");
    QTest::keyClick(typed, Qt::Key_Return);
    Ok(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(T1->DelayType, dtUniform);
    EXPECT_EQ(items(), laws);
}

TEST_F(PropertyDialogsTest, ConnectionDialogSwitchesBetweenCountAndFormula) {
    TConnection* back = CreateConnection(Engine.Net, ctTV, 1, P1, T1, &Engine.Graph.Options);
    back->IsInform = true;
    Choose(back);
    TFormConnectionProperties dialog(Engine, History);
    dialog.show();
    EXPECT_FALSE(dialog.CBoxInform()->isEnabled()); // a transition-to-vertex connection
    EXPECT_TRUE(dialog.CBoxInform()->isChecked());
    EXPECT_TRUE(dialog.CountEdit()->isEnabled());
    EXPECT_FALSE(dialog.FormulaEdit()->isEnabled());
    QTest::mouseClick(dialog.CBoxUseFunction(), Qt::LeftButton);
    EXPECT_FALSE(dialog.CountEdit()->isEnabled());
    EXPECT_TRUE(dialog.FormulaEdit()->isEnabled());
    dialog.CountEdit()->setText("3");
    dialog.FormulaEdit()->setText("M(P1)*2");
    Ok(dialog);
    EXPECT_TRUE(back->UseFunction);
    EXPECT_EQ(back->Count, 3);
    EXPECT_EQ(back->Formula, "M(P1)*2");
    EXPECT_TRUE(back->IsInform); // kept as it was

    TConnection* ahead = CreateConnection(Engine.Net, ctVT, 1, P1, T1, &Engine.Graph.Options);
    Choose(ahead);
    dialog.show();
    EXPECT_TRUE(dialog.CBoxInform()->isEnabled());
}

TEST_F(PropertyDialogsTest, CancelChangesNothing) {
    Choose(T1);
    TFormTransitionProperties dialog(Engine, History);
    dialog.show();
    Edit(dialog, "EditName")->setText("Other");
    Edit(dialog, "EditDelay")->setText("9");
    QTest::mouseClick(dialog.ButtonCancel(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(T1->Name, "T1");
    EXPECT_EQ(T1->Delay, 1.5);
}

TEST_F(PropertyDialogsTest, UpDownButtonsStepWithinTheirRange) {
    auto* edit = new TUpDownEdit(5, nullptr); // owned by its row
    edit->setText("4");
    edit->Step(1);
    edit->Step(1);
    EXPECT_EQ(edit->text(), QString("5"));
    edit->setText("x");
    edit->Step(-1);
    EXPECT_EQ(edit->text(), QString("0"));
    delete edit->Row();
}

} // namespace
