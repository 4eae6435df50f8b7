#include "FormChart.h"

#include "ChartDrawing.h"
#include "ChartExport.h"
#include "DialogControls.h"
#include "Engine.h"
#include "EngineError.h"
#include "FrameImage.h"
#include "NumberText.h"
#include "TextCodec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The chart's drawing surface: paints the finished bitmap and turns mouse drags into pan and zoom.
class TChartView : public QWidget {
public:
    TChartView(TEngine& engine, QWidget* parent) : QWidget(parent), Engine(engine) {
        setObjectName("ChartView");
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(100, 100);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (Engine.Chart.ChartScreenBitmap)
            painter.drawImage(0, 0, Engine.Chart.ChartScreenBitmap->Image);
    }
    void resizeEvent(QResizeEvent*) override { ResizeChart(Engine.Chart, width(), height()); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            Engine.EditMode = emDragZoom;
        else if (event->button() == Qt::RightButton)
            Engine.EditMode = emPan;
        else
            return;
        Last = Pressed = event->position().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint at = event->position().toPoint();
        if (Engine.EditMode == emPan)
            ChartPan(Engine.Chart, at.x() - Last.x(), at.y() - Last.y());
        else if (Engine.EditMode == emDragZoom)
            ChartDragZoom(Engine.Chart, at.y() - Last.y());
        Last = at;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (Engine.EditMode == emPan || Engine.EditMode == emDragZoom)
            Engine.EditMode = emIdle;
        const bool dragged = (event->position().toPoint() - Pressed).manhattanLength() > kClickSlop;
        if (event->button() == Qt::RightButton && !dragged && OnRightClick)
            OnRightClick(event->globalPosition().toPoint());
    }

public:
    std::function<void(const QPoint& global)> OnRightClick;

private:
    static constexpr int kClickSlop = 3; // pixels a click may move and stay a click
    TEngine& Engine;
    QPoint Last, Pressed;
};

} // namespace

void TAddObjectBox::showPopup() {
    clear();
    if (Offer)
        addItems(Offer());
    QComboBox::showPopup();
}

TFormChart::TFormChart(TEngine& engine, QWidget* parent)
    // A tool window of the main window, like the other panels: while it is active, the main
    // window's shortcuts (F9, F2, F8, Ctrl+S...) still work.
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), Engine(engine) {
    setObjectName("FormChart");
    setWindowTitle("Графіки");
    resize(640, 420);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* view = new TChartView(engine, this);
    ChartView_ = view;
    layout->addWidget(ChartView_, 1);

    auto* panel = new QWidget(this);
    panel->setFixedWidth(147);
    auto* side = new QVBoxLayout(panel);
    side->addWidget(new QLabel("Тип графіку", panel));
    CBoxChartType_ = new QComboBox(panel);
    CBoxChartType_->setObjectName("CBoxChartType");
    CBoxChartType_->addItems({"Маркування вершин", "Кількість запусків переходів"});
    side->addWidget(CBoxChartType_);
    side->addWidget(new QLabel("Вибрані об'єкти", panel));
    MemoChoiced_ = new QPlainTextEdit(panel);
    MemoChoiced_->setObjectName("MemoChoiced");
    side->addWidget(MemoChoiced_, 1);
    CBoxAddObject_ = new TAddObjectBox(panel);
    CBoxAddObject_->setObjectName("CBoxAddObject");
    CBoxAddObject_->setPlaceholderText("Ім'я нового об'єкту");
    CBoxAddObject_->Offer = [this] { return OfferedNames(); };
    side->addWidget(new QLabel("Додати об'єкт", panel));
    side->addWidget(CBoxAddObject_);
    auto* clear = new QPushButton("Очистити список", panel);
    clear->setObjectName("ButtonClearList");
    auto* all = new QPushButton("Додати всі об'єкти", panel);
    all->setObjectName("ButtonAddAll");
    side->addWidget(clear);
    side->addWidget(all);
    auto* fit = new QPushButton("Вмістити дані", panel);
    fit->setObjectName("ButtonFitData");
    fit->setToolTip("Показати весь час і всі значення вибраних об'єктів");
    side->addWidget(fit);
    for (bool axisX : {true, false}) {
        side->addWidget(new QLabel(axisX ? "Масштаб по осі X" : "Масштаб по осі Y", panel));
        auto* row = new QHBoxLayout;
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(axisX ? "LEditScaleX" : "LEditScaleY");
        auto* button = new QToolButton(panel);
        button->setText("✓");
        button->setToolTip("Встановити новий масштаб");
        row->addWidget(edit);
        row->addWidget(button);
        side->addLayout(row);
        connect(button, &QToolButton::clicked, this, [this, axisX] { SButtonScaleClick(axisX); });
        connect(edit, &QLineEdit::returnPressed, this, [this, axisX] { SButtonScaleClick(axisX); });
        (axisX ? LEditScaleX_ : LEditScaleY_) = edit;
    }
    layout->addWidget(panel);

    connect(CBoxChartType_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        MemoChoiced_->clear();
        Engine.Chart.ChartType =
            text == CBoxChartType_->itemText(0) ? chVertexMarkings : chTransitionLaunches;
    });
    connect(CBoxAddObject_, &QComboBox::activated, this, [this](int index) {
        MemoChoiced_->appendPlainText(CBoxAddObject_->itemText(index));
        CBoxAddObject_->clear();
    });
    connect(clear, &QPushButton::clicked, this, &TFormChart::ButtonClearListClick);
    connect(all, &QPushButton::clicked, this, &TFormChart::ButtonAddAllClick);
    connect(fit, &QPushButton::clicked, this, &TFormChart::ButtonFitDataClick);

    // A right click without a drag on the chart offers to save it.
    auto* menu = new QMenu(this);
    menu->setObjectName("ChartMenu");
    QAction* savePicture = menu->addAction("Зберегти рисунок…");
    savePicture->setObjectName("ButtonSaveChartPicture");
    QAction* saveSeries = menu->addAction("Зберегти ряди (CSV)…");
    saveSeries->setObjectName("ButtonSaveChartSeries");
    connect(savePicture, &QAction::triggered, this,
            [this] { SaveChartPicture(this, Engine, ChosenNames()); });
    connect(saveSeries, &QAction::triggered, this,
            [this] { SaveChartSeries(this, Engine, ChosenNames()); });
    view->OnRightClick = [menu](const QPoint& global) { menu->popup(global); };
}

std::vector<std::string> TFormChart::ChosenNames() const {
    std::vector<std::string> names;
    const QString text = MemoChoiced_->toPlainText();
    if (text.isEmpty())
        return names;
    for (const QString& line : text.split('\n'))
        names.push_back(Utf8ToWin1251(line.toStdString()));
    return names;
}

QStringList TFormChart::OfferedNames() const {
    const std::vector<std::string> listed = ChosenNames();
    QStringList offered;
    auto offer = [&](const auto& objects) {
        for (const auto& o : objects)
            if (o->IsMonitoring && !IsNameListed(listed, o->Name))
                offered << QString::fromStdString(Win1251ToUtf8(o->Name));
    };
    if (Engine.Chart.ChartType == chVertexMarkings)
        offer(Engine.Net.Vertices);
    else
        offer(Engine.Net.Transitions);
    return offered;
}

void TFormChart::ButtonClearListClick() {
    MemoChoiced_->clear();
}

void TFormChart::ButtonAddAllClick() {
    MemoChoiced_->clear();
    auto add = [&](const auto& objects) {
        for (const auto& o : objects)
            if (o->IsMonitoring)
                MemoChoiced_->appendPlainText(QString::fromStdString(Win1251ToUtf8(o->Name)));
    };
    if (Engine.Chart.ChartType == chVertexMarkings)
        add(Engine.Net.Vertices);
    else
        add(Engine.Net.Transitions);
}

void TFormChart::ButtonFitDataClick() {
    FitChartToData(Engine, ChosenNames());
    LEditScaleX_->setText(QString::fromStdString(FloatToText("", Engine.Chart.ScaleX)));
    LEditScaleY_->setText(QString::fromStdString(FloatToText("", Engine.Chart.ScaleY)));
    RefreshChart();
}

void TFormChart::SButtonScaleClick(bool axisX) {
    QLineEdit* edit = axisX ? LEditScaleX_ : LEditScaleY_;
    double value = 0;
    try {
        value = TextToFloat(edit->text().toStdString());
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return;
    }
    if (!(value > 0)) {
        value = 0.001;
        edit->setText("0.001");
    }
    (axisX ? Engine.Chart.ScaleX : Engine.Chart.ScaleY) = value;
}

void TFormChart::RefreshChart() {
    DrawChart(Engine, ChosenNames());
    ChartView_->update();
}

void TFormChart::showEvent(QShowEvent* event) {
    LEditScaleX_->setText(QString::fromStdString(FloatToText("", Engine.Chart.ScaleX)));
    LEditScaleY_->setText(QString::fromStdString(FloatToText("", Engine.Chart.ScaleY)));
    QWidget::showEvent(event);
    emit VisibilityChanged(true);
}

void TFormChart::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit VisibilityChanged(false);
}
