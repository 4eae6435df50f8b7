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
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A swatch that opens the colour dialog when clicked.
class TSwatch : public QLabel {
public:
    TSwatch(std::function<void(TSwatch*)> clicked, QWidget* parent)
        : QLabel(parent), Clicked(std::move(clicked)) {
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

QWidget* Page(QTabWidget* tabs, const char* title, QFormLayout*& form,
              const char* group = nullptr) {
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

// One row of an options page: a number edit, a check box, or a row of colour swatches.
struct TFormOptions::TOptionRow {
    const char* Label;
    const char* Name = nullptr;               // a number edit's object name
    QLineEdit* TFormOptions::*Edit = nullptr; // where the dialog keeps an edit it fills itself
    std::int32_t TEngineGraphOptions::*Size =
        nullptr;                               // the size a number edit shows and OK commits
    QCheckBox* TFormOptions::*Check = nullptr; // a check box, kept here
    std::vector<std::pair<const char*, TColor TEngineGraphOptions::*>>
        Swatches{}; // captions and colours
};

// A page of "Візуалізація": its tab, the group box around its rows, and the lists OK commits its
// colours and sizes from.
struct TFormOptions::TOptionPage {
    const char* Title;
    const char* Group;
    std::vector<TColorField> TFormOptions::*Colors;
    std::vector<TNumberField> TFormOptions::*Sizes; // none on a page without sizes
    std::vector<TOptionRow> Rows;
};

std::vector<TFormOptions::TOptionRow> TFormOptions::GeneralRows() {
    return {
        {.Label = "Маркування при створенні вершини",
         .Name = "LEditBaseMark",
         .Edit = &TFormOptions::EditBaseMark},
        {.Label = "Затримка при створенні переходу",
         .Name = "LEditBaseDelay",
         .Edit = &TFormOptions::EditBaseDelay},
        {.Label = "Спрощувати історію маркування вершини",
         .Check = &TFormOptions::CBoxVertexHistory},
        {.Label = "Максимальна довжина історії вершини",
         .Name = "LEditVertexHistory",
         .Edit = &TFormOptions::EditVertexHistory},
        {.Label = "Спрощувати історію запусків переходу",
         .Check = &TFormOptions::CBoxTransitionHistory},
        {.Label = "Максимальна довжина історії переходу",
         .Name = "LEditTransitionHistory",
         .Edit = &TFormOptions::EditTransitionHistory},
    };
}

std::vector<TFormOptions::TOptionPage> TFormOptions::VisualPageRows() {
    using O = TEngineGraphOptions;
    return {
        {"Екран",
         nullptr,
         &TFormOptions::ScreenColors,
         nullptr,
         {{.Label = "Частота поновлення екрану",
           .Name = "LEditFrequency",
           .Edit = &TFormOptions::EditFrequency},
          {.Label = "Колір екрану", .Swatches = {{"Базовий", &O::ScreenColor}}},
          {.Label = "Колір часової шкали", .Swatches = {{"Базовий", &O::TimeLineColor}}},
          {.Label = "Колір сітки", .Swatches = {{"Базовий", &O::GridColor}}}}},
        {"Вершина",
         "Базові параметри (при створенні вершини)",
         &TFormOptions::VertexColors,
         &TFormOptions::VertexSizes,
         {{.Label = "Колір контуру",
           .Swatches = {{"Базовий", &O::VertexAmbientColor},
                        {"Виділений", &O::VertexPickColor},
                        {"Вибраний", &O::VertexChoiceColor}}},
          {.Label = "Колір вершини",
           .Swatches = {{"Базовий", &O::VertexAmbientColor1},
                        {"Виділений", &O::VertexPickColor1},
                        {"Вибраний", &O::VertexChoiceColor1}}},
          {.Label = "Радіус", .Name = "LEditVertexRadius", .Size = &O::VertexRadius},
          {.Label = "Товщина контуру", .Name = "LEditVertexLineWidth", .Size = &O::VertexLineWidth},
          {.Label = "Шрифт імені", .Name = "LEditVertexNameFont", .Size = &O::VertexNameFontSize},
          {.Label = "Шрифт маркування",
           .Name = "LEditVertexMarkFont",
           .Size = &O::VertexMarkFontSize}}},
        {"Перехід",
         "Базові параметри (при створенні переходу)",
         &TFormOptions::TransitionColors,
         &TFormOptions::TransitionSizes,
         {{.Label = "Колір переходу",
           .Swatches = {{"Базовий", &O::TransitionAmbientColor},
                        {"Виділений", &O::TransitionPickColor},
                        {"Вибраний", &O::TransitionChoiceColor}}},
          {.Label = "Ширина", .Name = "LEditTransitionWidth", .Size = &O::TransitionWidth},
          {.Label = "Висота", .Name = "LEditTransitionHeight", .Size = &O::TransitionHeight},
          {.Label = "Шрифт імені",
           .Name = "LEditTransitionNameFont",
           .Size = &O::TransitionNameFontSize},
          {.Label = "Шрифт затримки",
           .Name = "LEditTransitionDelayFont",
           .Size = &O::TransitionDelayFontSize}}},
        {"Зв'язок",
         "Базові параметри зв'язку",
         &TFormOptions::ConnectionColors,
         &TFormOptions::ConnectionSizes,
         {{.Label = "Колір зв'язку",
           .Swatches = {{"Базовий", &O::ConnectionAmbientColor},
                        {"Виділений", &O::ConnectionPickColor},
                        {"Вибраний", &O::ConnectionChoiceColor},
                        {"Активний", &O::ConnectionFlashColor}}},
          {.Label = "Товщина лінії", .Name = "LEditConnectionWidth", .Size = &O::ConnectionWidth},
          {.Label = "Товщина лінії2",
           .Name = "LEditConnectionWidth1",
           .Size = &O::ConnectionWidth1},
          {.Label = "Довжина лінії2",
           .Name = "LEditConnectionHeight1",
           .Size = &O::ConnectionHeight1},
          {.Label = "Шрифт", .Name = "LEditConnectionFont", .Size = &O::ConnectionCountFontSize},
          {.Label = "Спалахування", .Name = "LEditFlashOn", .Size = &O::ConnectionFlashOnDelay},
          {.Label = "Затухання", .Name = "LEditFlashOff", .Size = &O::ConnectionFlashOffDelay}}},
    };
}

TFormOptions::TFormOptions(TEngine& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), Engine(engine) {
    setObjectName("FormOptions");
    setWindowTitle("Настройки");
    ChooseColor = [this](QColor initial) { return QColorDialog::getColor(initial, this); };
    auto* layout = new QVBoxLayout(this);
    Pages_ = new QTabWidget(this);
    layout->addWidget(Pages_);

    QFormLayout* general = nullptr;
    Page(Pages_, "Загальні", general);
    for (const TOptionRow& row : GeneralRows())
        AddRow(general, row);
    connect(CBoxVertexHistory, &QCheckBox::toggled, EditVertexHistory, &QWidget::setEnabled);
    connect(CBoxTransitionHistory, &QCheckBox::toggled, EditTransitionHistory,
            &QWidget::setEnabled);

    auto* visual = new QWidget(Pages_);
    auto* visualLayout = new QVBoxLayout(visual);
    VisualPages_ = new QTabWidget(visual);
    visualLayout->addWidget(VisualPages_);
    Pages_->addTab(visual, "Візуалізація");
    for (const TOptionPage& page : VisualPageRows()) {
        QFormLayout* form = nullptr;
        Page(VisualPages_, page.Title, form, page.Group);
        CurrentColors = &(this->*page.Colors);
        CurrentSizes = page.Sizes != nullptr ? &(this->*page.Sizes) : nullptr;
        for (const TOptionRow& row : page.Rows)
            AddRow(form, row);
    }
    CurrentSizes = nullptr;

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ButtonOk");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Відмінити", this);
    cancel->setObjectName("ButtonCancel");
    auto* base = new QPushButton("Встановити базові", this);
    base->setObjectName("ButtonBase");
    // As in a dialog, Enter presses the focused button, and OK when no button has the focus.
    for (QPushButton* button : {ok, cancel, base}) {
        button->setAutoDefault(true);
        buttons->addWidget(button);
    }
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

void TFormOptions::AddRow(QFormLayout* form, const TOptionRow& row) {
    TEngineGraphOptions& o = Engine.Graph.Options;
    if (row.Check != nullptr) {
        auto* box = new QCheckBox(QString::fromUtf8(row.Label), this);
        form->addRow(box);
        this->*row.Check = box;
    } else if (!row.Swatches.empty()) {
        std::vector<std::pair<const char*, std::uint32_t*>> colors;
        for (const auto& [caption, color] : row.Swatches)
            colors.push_back({caption, &(o.*color)});
        AddColors(form, row.Label, colors);
    } else {
        QLineEdit* edit =
            AddNumber(form, row.Name, row.Label, row.Size != nullptr ? &(o.*row.Size) : nullptr);
        if (row.Edit != nullptr)
            this->*row.Edit = edit;
    }
}

QLineEdit* TFormOptions::AddNumber(QFormLayout* form, const char* name, const char* label,
                                   std::int32_t* value) {
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
    palette.setColor(QPalette::Window,
                     QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    swatch->setPalette(palette);
}

std::uint32_t TFormOptions::ColorOf(const QLabel* swatch) {
    const QColor c = swatch->palette().color(QPalette::Window);
    return static_cast<std::uint32_t>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

void TFormOptions::ShowOnPage(std::optional<TOptionsPage> page) {
    if (page)
        Pages_->setCurrentIndex(*page);
    if (!isVisible()) {
        // Opens centred on the main window, frame and all; a frame the window manager has not
        // drawn yet counts as none.
        adjustSize();
        const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        const QRect over = owner != nullptr ? owner->frameGeometry()
                                            : QGuiApplication::primaryScreen()->availableGeometry();
        const QSize frame = frameGeometry().size();
        move(over.center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    show();
    raise();
    activateWindow();
}

void TFormOptions::keyPressEvent(QKeyEvent* event) {
    // A dialog's keys: Enter is OK, Escape cancels. The edits pass both keys on to here.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ButtonOkClick();
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
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
    const std::int32_t interval =
        std::max<std::int32_t>(1, Engine.Graph.Options.ScreenUpdateInterval);
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
            {&ScreenColors, nullptr},
            {&VertexColors, &VertexSizes},
            {&TransitionColors, &TransitionSizes},
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
