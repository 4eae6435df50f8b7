#include "FormOptions.h"
#include "DialogControls.h"
#include "Engine.h"
#include "NetObjects.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FormOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEngine(Engine);
        Previous = ShowMessageBox;
        ShowMessageBox = [this](QWidget*, const QString& text) { Messages << text; };
        Form = std::make_unique<TFormOptions>(Engine);
    }
    void TearDown() override { ShowMessageBox = Previous; }
    QLineEdit* Edit(const char* name) { return Form->findChild<QLineEdit*>(name); }
    void Ok() { QTest::mouseClick(Form->findChild<QPushButton*>("ButtonOk"), Qt::LeftButton); }

    TEngine Engine;
    std::unique_ptr<TFormOptions> Form;
    QStringList Messages;
    std::function<void(QWidget*, const QString&)> Previous;
};

TEST_F(FormOptionsTest, OpensOnTheVertexPageAndShowsTheFrequency) {
    Form->ShowOnPage();
    EXPECT_EQ(Form->windowTitle(), QString("Настройки"));
    EXPECT_EQ(Form->Pages()->tabText(Form->Pages()->currentIndex()), QString("Візуалізація"));
    EXPECT_EQ(Form->VisualPages()->tabText(Form->VisualPages()->currentIndex()),
              QString("Вершина"));
    EXPECT_EQ(Edit("LEditFrequency")->text(), QString("71"));
    EXPECT_EQ(Edit("LEditVertexRadius")->text(), QString("190"));
}

TEST_F(FormOptionsTest, FrequencyBecomesTheRefreshPeriodRoundedToEven) {
    for (auto [frequency, period] : {std::pair{"71", 14}, {"1000", 1}, {"400", 2}}) {
        Form->ShowOnPage();
        Edit("LEditFrequency")->setText(frequency);
        Ok();
        EXPECT_EQ(Engine.Graph.Options.ScreenUpdateInterval, period) << frequency;
        EXPECT_EQ(Engine.DrawPeriod, period);
    }
    Form->ShowOnPage();
    Edit("LEditFrequency")->setText("0");
    Ok();
    EXPECT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(FormOptionsTest, RadiusAffectsNewVerticesAndFillColourRecoloursAtOnce) {
    TVertex* old = CreateVertex(Engine.Net, "", 0, 0, 0, &Engine.Graph.Options);
    TVertex* chosen = CreateVertex(Engine.Net, "", 0, 0, 0, &Engine.Graph.Options);
    Engine.Choiced.Items = {chosen};
    Form->ChooseColor = [](QColor) { return QColor(10, 20, 30); };
    Form->ShowOnPage();
    Edit("LEditVertexRadius")->setText("300");
    QTest::mouseClick(Form->findChild<QLabel*>("Колір вершини/Базовий"), Qt::LeftButton);
    Ok();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(old->Radius, 190);
    EXPECT_EQ(CreateVertex(Engine.Net, "", 0, 0, 0, &Engine.Graph.Options)->Radius, 300);
    EXPECT_EQ(old->FillColor, MakeColor(10, 20, 30));
    EXPECT_EQ(chosen->FillColor, Engine.Graph.Options.VertexChoiceColor1);
}

// Each size edit commits to its own setting: distinct values in every edit, then OK.
TEST_F(FormOptionsTest, EverySizeEditReachesItsOwnSetting) {
    using O = TEngineGraphOptions;
    const std::pair<const char*, std::int32_t O::*> edits[] = {
        {"LEditVertexRadius", &O::VertexRadius},
        {"LEditVertexLineWidth", &O::VertexLineWidth},
        {"LEditVertexNameFont", &O::VertexNameFontSize},
        {"LEditVertexMarkFont", &O::VertexMarkFontSize},
        {"LEditTransitionWidth", &O::TransitionWidth},
        {"LEditTransitionHeight", &O::TransitionHeight},
        {"LEditTransitionNameFont", &O::TransitionNameFontSize},
        {"LEditTransitionDelayFont", &O::TransitionDelayFontSize},
        {"LEditConnectionWidth", &O::ConnectionWidth},
        {"LEditConnectionWidth1", &O::ConnectionWidth1},
        {"LEditConnectionHeight1", &O::ConnectionHeight1},
        {"LEditConnectionFont", &O::ConnectionCountFontSize},
        {"LEditFlashOn", &O::ConnectionFlashOnDelay},
        {"LEditFlashOff", &O::ConnectionFlashOffDelay},
    };
    Form->ShowOnPage();
    std::int32_t value = 301;
    for (const auto& [name, setting] : edits) {
        ASSERT_NE(Edit(name), nullptr) << name;
        Edit(name)->setText(QString::number(value++));
    }
    Ok();
    ASSERT_TRUE(Messages.isEmpty());
    value = 301;
    for (const auto& [name, setting] : edits)
        EXPECT_EQ(Engine.Graph.Options.*setting, value++) << name;
}

TEST_F(FormOptionsTest, ABadNumberStopsOkAtThatControl) {
    Form->ShowOnPage();
    Edit("LEditBaseMark")->setText("4");
    Edit("LEditBaseDelay")->setText("2.5");
    Edit("LEditVertexHistory")->setText("lots");
    Edit("LEditTransitionHistory")->setText("77");
    Ok();
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_EQ(Messages[0], QString("«lots» не є правильним цілим числом"));
    EXPECT_EQ(Engine.BaseVertexMark, 4);
    EXPECT_EQ(Engine.BaseTransitionDelay, 2.5);
    EXPECT_EQ(Engine.VertexHistoryNormal, 2000);
    EXPECT_EQ(Engine.TransitionHistoryNormal, 2000); // after the failing control: unchanged
    EXPECT_TRUE(Form->isVisible());
}

TEST_F(FormOptionsTest, HistoryBoxesEnableTheirLengths) {
    Form->ShowOnPage();
    auto* box = Form->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    box->setChecked(false);
    EXPECT_FALSE(Edit("LEditVertexHistory")->isEnabled());
    box->setChecked(true);
    EXPECT_TRUE(Edit("LEditVertexHistory")->isEnabled());
}

} // namespace
