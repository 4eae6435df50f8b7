#include "FormOptions.h"

#include "DialogControls.h"
#include "Engine.h"
#include "EngineError.h"
#include "NumberText.h"
#include "RunControl.h"
#include "Settings.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A swatch that opens the colour dialog when clicked.
class TSwatch : public QLabel {
public:
    TSwatch(std::function<void(TSwatch*)> clicked, QWidget* parent) : QLabel(parent), Clicked(std::move(clicked)) {
        setFixedSize(55, 15);
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setAutoFillBackground(true);
    }

protected:
    void mousePressEvent(QMouseEvent*) override { Clicked(this); }

private:
    std::function<void(TSwatch*)> Clicked;
};

QWidget* Page(QTabWidget* tabs, const char* title, QFormLayout*& form, const char* group = nullptr) {
    auto* page = new QWidget(tabs);
    auto* layout = new QVBoxLayout(page);
    QWidget* holder = page;
    if (group != nullptr) {
        auto* box = new QGroupBox(QString::fromUtf8(group), page);
        layout->addWidget(box);
        holder = box;
    }
    form = new QFormLayout;
    if (group != nullptr)
        holder->setLayout(form);
    else
        layout->addLayout(form);
    layout->addStretch();
    tabs->addTab(page, QString::fromUtf8(title));
    return page;
}

} // namespace

TFormOptions::TFormOptions(TEngine& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), Engine(engine) {
    setObjectName("FormOptions");
    setWindowTitle("Настройки");
    ChooseColor = [this](QColor initial) { return QColorDialog::getColor(initial, this); };
    TEngineGraphOptions& o = engine.Graph.Options;
    auto* layout = new QVBoxLayout(this);
    Pages_ = new QTabWidget(this);
    layout->addWidget(Pages_);

    QFormLayout* general = nullptr;
    Page(Pages_, "Загальні", general);
    EditBaseMark = AddNumber(general, "LEditBaseMark", "Маркування при створенні вершини", nullptr);
    EditBaseDelay = AddNumber(general, "LEditBaseDelay", "Затримка при створенні переходу", nullptr);
    CBoxVertexHistory = new QCheckBox("Спрощувати історію маркування вершини", this);
    general->addRow(CBoxVertexHistory);
    EditVertexHistory = AddNumber(general, "LEditVertexHistory", "Максимальна довжина історії вершини", nullptr);
    CBoxTransitionHistory = new QCheckBox("Спрощувати історію запусків переходу", this);
    general->addRow(CBoxTransitionHistory);
    EditTransitionHistory =
        AddNumber(general, "LEditTransitionHistory", "Максимальна довжина історії переходу", nullptr);
    connect(CBoxVertexHistory, &QCheckBox::toggled, EditVertexHistory, &QWidget::setEnabled);
    connect(CBoxTransitionHistory, &QCheckBox::toggled, EditTransitionHistory, &QWidget::setEnabled);

    auto* visual = new QWidget(Pages_);
    auto* visualLayout = new QVBoxLayout(visual);
    VisualPages_ = new QTabWidget(visual);
    visualLayout->addWidget(VisualPages_);
    Pages_->addTab(visual, "Візуалізація");

    QFormLayout* screen = nullptr;
    Page(VisualPages_, "Екран", screen);
    EditFrequency = AddNumber(screen, "LEditFrequency", "Частота поновлення екрану", nullptr);
    CurrentColors = &ScreenColors;
    AddColors(screen, "Колір екрану", {{"Базовий", &o.ScreenColor}});
    AddColors(screen, "Колір часової шкали", {{"Базовий", &o.TimeLineColor}});
    AddColors(screen, "Колір сітки", {{"Базовий", &o.GridColor}});

    QFormLayout* vertex = nullptr;
    Page(VisualPages_, "Вершина", vertex, "Базові параметри (при створенні вершини)");
    CurrentColors = &VertexColors;
    AddColors(vertex, "Колір контуру",
              {{"Базовий", &o.VertexAmbientColor}, {"Виділений", &o.VertexPickColor}, {"Вибраний", &o.VertexChoiceColor}});
    AddColors(vertex, "Колір вершини",
              {{"Базовий", &o.VertexAmbientColor1}, {"Виділений", &o.VertexPickColor1}, {"Вибраний", &o.VertexChoiceColor1}});
    CurrentSizes = &VertexSizes;
    AddNumber(vertex, "LEditVertexRadius", "Радіус", &o.VertexRadius);
    AddNumber(vertex, "LEditVertexLineWidth", "Товщина контуру", &o.VertexLineWidth);
    AddNumber(vertex, "LEditVertexNameFont", "Шрифт імені", &o.VertexNameFontSize);
    AddNumber(vertex, "LEditVertexMarkFont", "Шрифт маркування", &o.VertexMarkFontSize);

    QFormLayout* transition = nullptr;
    Page(VisualPages_, "Перехід", transition, "Базові параметри (при створенні переходу)");
    CurrentColors = &TransitionColors;
    AddColors(transition, "Колір переходу",
              {{"Базовий", &o.TransitionAmbientColor}, {"Виділений", &o.TransitionPickColor},
               {"Вибраний", &o.TransitionChoiceColor}});
    CurrentSizes = &TransitionSizes;
    AddNumber(transition, "LEditTransitionWidth", "Ширина", &o.TransitionWidth);
    AddNumber(transition, "LEditTransitionHeight", "Висота", &o.TransitionHeight);
    AddNumber(transition, "LEditTransitionNameFont", "Шрифт імені", &o.TransitionNameFontSize);
    AddNumber(transition, "LEditTransitionDelayFont", "Шрифт затримки", &o.TransitionDelayFontSize);

    QFormLayout* connection = nullptr;
    Page(VisualPages_, "Зв'язок", connection, "Базові параметри зв'язку");
    CurrentColors = &ConnectionColors;
    AddColors(connection, "Колір зв'язку",
              {{"Базовий", &o.ConnectionAmbientColor}, {"Виділений", &o.ConnectionPickColor},
               {"Вибраний", &o.ConnectionChoiceColor}, {"Активний", &o.ConnectionFlashColor}});
    CurrentSizes = &ConnectionSizes;
    AddNumber(connection, "LEditConnectionWidth", "Товщина лінії", &o.ConnectionWidth);
    AddNumber(connection, "LEditConnectionWidth1", "Товщина лінії2", &o.ConnectionWidth1);
    AddNumber(connection, "LEditConnectionHeight1", "Довжина лінії2", &o.ConnectionHeight1);
    AddNumber(connection, "LEditConnectionFont", "Шрифт", &o.ConnectionCountFontSize);
    AddNumber(connection, "LEditFlashOn", "Спалахування", &o.ConnectionFlashOnDelay);
    AddNumber(connection, "LEditFlashOff", "Затухання", &o.ConnectionFlashOffDelay);
    CurrentSizes = nullptr;

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Відмінити", this);
    cancel->setObjectName("ButtonCancel");
    auto* base = new QPushButton("Встановити базові", this);
    base->setObjectName("ButtonBase");
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(base);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TFormOptions::ButtonOkClick);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(base, &QPushButton::clicked, this, [this] {
        if (LoadBaseSettings)
            LoadBaseSettings();
        hide();
        show();
    });
    Pages_->setCurrentIndex(opVisualization);
    VisualPages_->setCurrentIndex(vpVertex);
}

QLineEdit* TFormOptions::AddNumber(QFormLayout* form, const char* name, const char* label, std::int32_t* value) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    form->addRow(QString::fromUtf8(label), edit);
    if (value != nullptr && CurrentSizes != nullptr)
        CurrentSizes->push_back({edit, value});
    return edit;
}

void TFormOptions::AddColors(QFormLayout* form, const char* label,
                             std::vector<std::pair<const char*, std::uint32_t*>> colors) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (auto [caption, value] : colors) {
        auto* cell = new QVBoxLayout;
        auto* swatch = new TSwatch(
            [this](TSwatch* s) {
                const QColor chosen = ChooseColor(s->palette().color(QPalette::Window));
                if (chosen.isValid())
                    Paint(s, chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
            },
            row);
        swatch->setObjectName(QString(label) + "/" + caption);
        cell->addWidget(swatch);
        cell->addWidget(new QLabel(QString::fromUtf8(caption), row));
        layout->addLayout(cell);
        CurrentColors->push_back({swatch, value});
    }
    layout->addStretch();
    form->addRow(QString::fromUtf8(label), row);
}

void TFormOptions::Paint(QLabel* swatch, std::uint32_t color) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    swatch->setPalette(palette);
}

std::uint32_t TFormOptions::ColorOf(const QLabel* swatch) {
    const QColor c = swatch->palette().color(QPalette::Window);
    return static_cast<std::uint32_t>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

void TFormOptions::ShowOnPage(std::optional<TOptionsPage> page) {
    if (page)
        Pages_->setCurrentIndex(*page);
    show();
    raise();
}

void TFormOptions::showEvent(QShowEvent* event) {
    Fill();
    QWidget::showEvent(event);
}

void TFormOptions::Fill() {
    EditBaseMark->setText(QString::number(Engine.BaseVertexMark));
    EditBaseDelay->setText(QString::fromStdString(FloatToText("", Engine.BaseTransitionDelay)));
    CBoxVertexHistory->setChecked(Engine.DoVertexHistorySimple);
    CBoxTransitionHistory->setChecked(Engine.DoTransitionHistorySimple);
    EditVertexHistory->setText(QString::number(Engine.VertexHistoryNormal));
    EditTransitionHistory->setText(QString::number(Engine.TransitionHistoryNormal));
    EditVertexHistory->setEnabled(Engine.DoVertexHistorySimple);
    EditTransitionHistory->setEnabled(Engine.DoTransitionHistorySimple);
    const std::int32_t interval = std::max<std::int32_t>(1, Engine.Graph.Options.ScreenUpdateInterval);
    EditFrequency->setText(QString::number(RoundToInt(1000.0 / interval)));
    for (auto* colors : {&ScreenColors, &VertexColors, &TransitionColors, &ConnectionColors})
        for (const TColorField& f : *colors)
            Paint(f.Swatch, *f.Value);
    for (auto* sizes : {&VertexSizes, &TransitionSizes, &ConnectionSizes})
        for (const TNumberField& f : *sizes)
            f.Edit->setText(QString::number(*f.Value));
}

void TFormOptions::ButtonOkClick() {
    try {
        Engine.BaseVertexMark = EditInteger(EditBaseMark);
        Engine.BaseTransitionDelay = EditReal(EditBaseDelay);
        Engine.DoVertexHistorySimple = CBoxVertexHistory->isChecked();
        Engine.DoTransitionHistorySimple = CBoxTransitionHistory->isChecked();
        Engine.VertexHistoryNormal = EditInteger(EditVertexHistory);
        Engine.TransitionHistoryNormal = EditInteger(EditTransitionHistory);
        const std::int32_t frequency = EditInteger(EditFrequency);
        if (frequency == 0)
            throw TEngineError("Частота поновлення екрану не може дорівнювати 0");
        SetScreenUpdateInterval(Engine, RoundToInt(1000.0 / frequency));
        const std::pair<std::vector<TColorField>*, std::vector<TNumberField>*> groups[] = {
            {&ScreenColors, nullptr}, {&VertexColors, &VertexSizes}, {&TransitionColors, &TransitionSizes},
            {&ConnectionColors, &ConnectionSizes}};
        for (auto [colors, sizes] : groups) {
            for (const TColorField& f : *colors)
                *f.Value = ColorOf(f.Swatch);
            if (sizes != nullptr)
                for (const TNumberField& f : *sizes)
                    *f.Value = EditInteger(f.Edit);
        }
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return;
    }
    ApplyColors(Engine);
    close();
}
