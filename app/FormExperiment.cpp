#include "FormExperiment.h"

#include "ChartExport.h"
#include "DialogControls.h"
#include "EngineError.h"
#include "NetFile.h"
#include "NumberText.h"
#include "SimOptions.h"
#include "StudyResultsView.h"
#include "StudyTask.h"
#include "TextCodec.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>
#include <limits>
#include <thread>

namespace {

constexpr int PollPeriodMs = 100;
constexpr const char* kUnnamedNet = "Новий файл.kvl";

// The fields of a sweep, by the kind of the object: their names as kvl-sim takes them, and as
// the window shows them.
struct TSweepFieldRow {
    TObjectKind Kind;
    const char* Key;
    const char* Label;
};
constexpr TSweepFieldRow kSweepFields[] = {
    {okVertex, "marking", "Розмітка"},         {okTransition, "delay", "Затримка"},
    {okTransition, "deviation", "Відхилення"}, {okTransition, "priority", "Пріоритет"},
    {okTransition, "weight", "Вага"},          {okTransition, "law", "Закон розподілу"},
    {okConnection, "count", "Кратність"},      {okConnection, "formula", "Формула"},
};

// An unsigned integer typed into an edit, blanks around allowed; nothing when it is not one
// within [least, most].
std::optional<std::uint64_t> EditUnsigned(const QLineEdit* edit, std::uint64_t least,
                                          std::uint64_t most) {
    const std::string text = edit->text().trimmed().toStdString();
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < least ||
        value > most)
        return std::nullopt;
    return value;
}

std::optional<double> EditNumber(const QLineEdit* edit) {
    const auto value = TryTextToFloat(edit->text().toStdString());
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

QLineEdit* AddEdit(QFormLayout* form, const char* name, const char* label, const char* text,
                   QWidget* parent) {
    auto* edit = new QLineEdit(QString::fromUtf8(text), parent);
    edit->setObjectName(name);
    form->addRow(QString::fromUtf8(label), edit);
    return edit;
}

QPushButton* AddButton(QHBoxLayout* row, const char* name, const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

} // namespace

QString DurationText(std::int64_t seconds) {
    if (seconds < 0)
        seconds = 0;
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const QString rest = QString("%1:%2").arg(minutes).arg(seconds % 60, 2, 10, QChar('0'));
    if (hours == 0)
        return rest;
    return QString("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QChar('0'))
        .arg(seconds % 60, 2, 10, QChar('0'));
}

TFormExperiment::TFormExperiment(TEngine& engine, QWidget* parent)
    : TToolWindow("FormExperiment", "Експеримент", 760, 860, parent), Engine(engine) {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    LEditReplications_ = AddEdit(form, "LEditReplications", "Кількість прогонів", "20", this);
    LEditInterval_ = AddEdit(form, "LEditInterval", "Інтервал імітації", "1000", this);
    LEditWarmUp_ = AddEdit(form, "LEditWarmUp", "Інтервал розгону моделі", "0", this);
    LEditConfidence_ = AddEdit(form, "LEditConfidence", "Довірча ймовірність", "0.95", this);
    LEditSeed_ = AddEdit(form, "LEditSeed", "Початкове значення генератора", "1", this);
    layout->addLayout(form);

    CBoxSweep_ = new QCheckBox("Змінювати параметр", this);
    CBoxSweep_->setObjectName("CBoxSweep");
    layout->addWidget(CBoxSweep_);
    auto* sweepRow = new QHBoxLayout;
    CBoxSweepObject_ = new QComboBox(this);
    CBoxSweepObject_->setObjectName("CBoxSweepObject");
    CBoxSweepObject_->setMinimumContentsLength(16);
    CBoxSweepField_ = new QComboBox(this);
    CBoxSweepField_->setObjectName("CBoxSweepField");
    LEditSweepValues_ = new QLineEdit(this);
    LEditSweepValues_->setObjectName("LEditSweepValues");
    LEditSweepValues_->setPlaceholderText("1,2,3 або 0.6:0.9:0.1");
    LEditSweepValues_->setToolTip("Значення через кому або діапазон ПОЧАТОК:КІНЕЦЬ:КРОК; "
                                  "дробова частина відокремлюється крапкою");
    sweepRow->addWidget(CBoxSweepObject_, 2);
    sweepRow->addWidget(CBoxSweepField_, 1);
    sweepRow->addWidget(LEditSweepValues_, 2);
    layout->addLayout(sweepRow);
    auto enableSweep = [this](bool on) {
        CBoxSweepObject_->setEnabled(on);
        CBoxSweepField_->setEnabled(on);
        LEditSweepValues_->setEnabled(on);
    };
    enableSweep(false);
    connect(CBoxSweep_, &QCheckBox::toggled, this, enableSweep);
    connect(CBoxSweepObject_, &QComboBox::currentIndexChanged, this, [this] { FillSweepFields(); });

    auto* buttons = new QHBoxLayout;
    ButtonRun_ = AddButton(buttons, "ButtonRun", "Запустити", this);
    ButtonCancel_ = AddButton(buttons, "ButtonCancel", "Скасувати", this);
    buttons->addStretch();
    ButtonSaveTable_ = AddButton(buttons, "ButtonSaveTable", "Зберегти таблицю…", this);
    ButtonSavePlot_ = AddButton(buttons, "ButtonSavePlot", "Зберегти графік…", this);
    layout->addLayout(buttons);
    connect(ButtonRun_, &QPushButton::clicked, this, [this] { ButtonRunClick(); });
    connect(ButtonCancel_, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    connect(ButtonSaveTable_, &QPushButton::clicked, this, [this] {
        ExportStudyTable(this, *ResultsView_, ExportNameBesideNet(Engine, "-experiment.csv"));
    });
    connect(ButtonSavePlot_, &QPushButton::clicked, this, [this] {
        ExportStudyPlot(this, *ResultsView_, ExportNameBesideNet(Engine, "-experiment.png"));
    });

    Progress_ = new QProgressBar(this);
    Progress_->setObjectName("ProgressBar");
    Progress_->setRange(0, 1);
    Progress_->setValue(0);
    Progress_->setTextVisible(false); // the line under it tells the counts
    layout->addWidget(Progress_);
    LabelProgress_ = new QLabel(this);
    LabelProgress_->setObjectName("LabelProgress");
    layout->addWidget(LabelProgress_);

    ResultsView_ = new TStudyResultsView(this);
    ResultsView_->setObjectName("StudyResultsView");
    layout->addWidget(ResultsView_, 1);

    PollTimer = new QTimer(this);
    PollTimer->setInterval(PollPeriodMs);
    connect(PollTimer, &QTimer::timeout, this, [this] { PollStudy(); });
    SetState(TExperimentState::Idle);
}

TFormExperiment::~TFormExperiment() {
    // The study's threads end within a slice of a replication; nothing of them outlives us.
    Task.reset();
}

void TFormExperiment::Open(const QString& interval, const QString& warmUp) {
    // The first time, the window opens over the middle of the main window; later it opens where
    // the user left it.
    if (!Placed && parentWidget()) {
        Placed = true;
        move(parentWidget()->frameGeometry().center() - rect().center());
    }
    if (State_ != TExperimentState::Running) {
        LEditInterval_->setText(interval);
        LEditWarmUp_->setText(warmUp);
        FillSweepObjects();
    }
    show();
    raise();
    activateWindow();
}

void TFormExperiment::FillSweepObjects() {
    const QString chosen = CBoxSweepObject_->currentText();
    const TObjectKind chosenKind =
        static_cast<TObjectKind>(CBoxSweepObject_->currentData().toInt());
    CBoxSweepObject_->blockSignals(true);
    CBoxSweepObject_->clear();
    auto add = [this](const std::string& name, TObjectKind kind) {
        CBoxSweepObject_->addItem(QString::fromStdString(Win1251ToUtf8(name)),
                                  static_cast<int>(kind));
    };
    const TEngineNet& net = Engine.Net;
    for (const auto& vertex : net.Vertices)
        add(vertex->Name, okVertex);
    for (const auto& transition : net.Transitions)
        add(transition->Name, okTransition);
    for (const auto& connection : net.Connections) {
        const bool fromVertex = connection->ConnectionType == ctVT;
        const std::string& vertex = connection->Vertex->Name;
        const std::string& transition = connection->Transition->Name;
        add(fromVertex ? vertex + "->" + transition : transition + "->" + vertex, okConnection);
    }
    int index = 0;
    for (int i = 0; i < CBoxSweepObject_->count(); ++i)
        if (CBoxSweepObject_->itemText(i) == chosen &&
            CBoxSweepObject_->itemData(i).toInt() == chosenKind) {
            index = i;
            break;
        }
    CBoxSweepObject_->setCurrentIndex(CBoxSweepObject_->count() > 0 ? index : -1);
    CBoxSweepObject_->blockSignals(false);
    FillSweepFields();
}

void TFormExperiment::FillSweepFields() {
    const QString chosen = CBoxSweepField_->currentData().toString();
    CBoxSweepField_->clear();
    if (CBoxSweepObject_->currentIndex() < 0)
        return;
    const auto kind = static_cast<TObjectKind>(CBoxSweepObject_->currentData().toInt());
    for (const TSweepFieldRow& row : kSweepFields)
        if (row.Kind == kind)
            CBoxSweepField_->addItem(QString::fromUtf8(row.Label), QString(row.Key));
    const int index = CBoxSweepField_->findData(chosen);
    CBoxSweepField_->setCurrentIndex(index < 0 ? 0 : index);
}

std::optional<TStudy> TFormExperiment::StudyFromFields() {
    auto refuse = [this](const char* message) {
        ShowMessageBox(this, QString::fromUtf8(message));
        return std::nullopt;
    };
    const auto replications = EditUnsigned(LEditReplications_, 2, MostReplications);
    if (!replications)
        return refuse("Кількість прогонів має бути цілим числом від 2 до 1000000.");
    const auto interval = EditNumber(LEditInterval_);
    if (!interval || !(*interval > 0))
        return refuse("Інтервал імітації має бути додатним числом, наприклад 1000.");
    const auto warmUp = EditNumber(LEditWarmUp_);
    if (!warmUp || *warmUp < 0 || *warmUp >= *interval)
        return refuse("Інтервал розгону моделі має бути числом, не меншим від 0 і меншим від "
                      "інтервалу імітації.");
    const auto confidence = EditNumber(LEditConfidence_);
    if (!confidence || !(*confidence > 0 && *confidence < 1))
        return refuse("Довірча ймовірність має бути числом між 0 і 1, наприклад 0.95.");
    const auto seed = EditUnsigned(LEditSeed_, 0, std::numeric_limits<std::uint32_t>::max());
    if (!seed)
        return refuse("Початкове значення генератора має бути цілим числом від 0 до "
                      "4294967295.");

    TSimOptions options;
    options.Interval = *interval;
    options.WarmUp = *warmUp;
    options.Seed = static_cast<std::uint32_t>(*seed);
    options.Study.Requested = true;
    options.Study.Replications = *replications;
    options.Study.ReplicationsGiven = true;
    options.Study.Confidence = *confidence;
    if (CBoxSweep_->isChecked()) {
        if (CBoxSweepObject_->currentIndex() < 0 || CBoxSweepField_->currentIndex() < 0)
            return refuse("Оберіть об'єкт сітки і його параметр, що змінюватиметься.");
        const QString values = LEditSweepValues_->text().trimmed();
        if (values.isEmpty())
            return refuse("Задайте значення параметра: список, як «1,2,3», або діапазон, як "
                          "«0.6:0.9:0.1».");
        options.Study.Sweep = (CBoxSweepObject_->currentText() + "." +
                               CBoxSweepField_->currentData().toString() + "=" + values)
                                  .toStdString();
    }
    try {
        const std::filesystem::path name =
            Engine.FileName.empty() ? std::filesystem::path(kUnnamedNet) : Engine.FileName;
        // The copy the study works on: the bytes a save would write now.
        return PrepareStudy(NetText(Engine.Net), name, EngineRunSettings(Engine), options);
    } catch (const TEngineError& error) {
        ShowMessageBox(this, QString::fromStdString(error.what()));
        return std::nullopt;
    }
}

void TFormExperiment::ButtonRunClick() {
    if (State_ == TExperimentState::Running)
        return;
    std::optional<TStudy> study = StudyFromFields();
    if (!study)
        return;
    Results_.clear();
    ResultsView_->Clear();
    Clock.start();
    Task = std::make_unique<TStudyTask>(std::move(*study),
                                        std::max(1u, std::thread::hardware_concurrency()));
    SetState(TExperimentState::Running);
    PollTimer->start();
}

void TFormExperiment::ButtonCancelClick() {
    if (State_ != TExperimentState::Running)
        return;
    Task->Cancel();
    PollStudy();
}

void TFormExperiment::closeEvent(QCloseEvent* event) {
    ButtonCancelClick();
    TToolWindow::closeEvent(event);
}

void TFormExperiment::PollStudy() {
    if (!Task)
        return;
    // The outcome first: once it is known, the count read after it is the final one.
    const TStudyOutcome outcome = Task->Outcome();
    ShowProgress();
    if (outcome == TStudyOutcome::Running)
        return;
    PollTimer->stop();
    Task->Cancel(); // joins the thread that has ended
    switch (outcome) {
    case TStudyOutcome::Finished:
        ResultsHeader_ = Task->Study().Header;
        Results_ = Task->Results();
        ResultsView_->SetResults(ResultsHeader_, Results_);
        SetState(TExperimentState::Finished);
        break;
    case TStudyOutcome::Cancelled:
        SetState(TExperimentState::Cancelled);
        break;
    default: {
        const QString failure = QString::fromStdString(Task->Failure());
        SetState(TExperimentState::Failed);
        LabelProgress_->setText("Експеримент перервано: " + failure);
        ShowMessageBox(this, failure);
        break;
    }
    }
    Task.reset();
}

void TFormExperiment::ShowProgress() {
    const std::uint64_t done = ShownDone = Task->Done();
    const std::uint64_t total = ShownTotal = Task->Total();
    // The bar counts in replications, within the range of its int.
    const double scale = total > 1000000 ? 1000000.0 / static_cast<double>(total) : 1.0;
    Progress_->setRange(0, static_cast<int>(static_cast<double>(total) * scale));
    Progress_->setValue(static_cast<int>(static_cast<double>(done) * scale));
    const std::int64_t elapsedMs = Clock.elapsed();
    QString text = QString("Прогонів: %1 з %2 · минуло %3")
                       .arg(done)
                       .arg(total)
                       .arg(DurationText(elapsedMs / 1000));
    if (done > 0 && done < total) {
        const double left = static_cast<double>(elapsedMs) / 1000.0 *
                            static_cast<double>(total - done) / static_cast<double>(done);
        text += " · залишилось ≈ " + DurationText(std::llround(left));
    }
    LabelProgress_->setText(text);
}

void TFormExperiment::SetState(TExperimentState state) {
    State_ = state;
    const bool running = state == TExperimentState::Running;
    ButtonRun_->setEnabled(!running);
    ButtonCancel_->setEnabled(running);
    const std::initializer_list<QWidget*> fields = {
        LEditReplications_, LEditInterval_, LEditWarmUp_, LEditConfidence_, LEditSeed_, CBoxSweep_};
    for (QWidget* field : fields)
        field->setEnabled(!running);
    const bool sweep = !running && CBoxSweep_->isChecked();
    CBoxSweepObject_->setEnabled(sweep);
    CBoxSweepField_->setEnabled(sweep);
    LEditSweepValues_->setEnabled(sweep);
    switch (state) {
    case TExperimentState::Idle:
        LabelProgress_->setText("Задайте прогони й натисніть «Запустити».");
        break;
    case TExperimentState::Cancelled:
        LabelProgress_->setText(QString("Експеримент скасовано: виконано прогонів %1 з %2.")
                                    .arg(ShownDone)
                                    .arg(ShownTotal));
        break;
    case TExperimentState::Finished:
        LabelProgress_->setText(QString("Готово. Прогонів: %1 · минуло %2")
                                    .arg(ResultsHeader_.Replications * PointCount(ResultsHeader_))
                                    .arg(DurationText(Clock.elapsed() / 1000)));
        break;
    default:
        break;
    }
}
