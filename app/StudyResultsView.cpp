#include "StudyResultsView.h"

#include "FigureSummary.h"
#include "StudyReport.h"
#include "StudyTableText.h"

#include <QBuffer>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

namespace {

enum TTableColumn : int { tcObject, tcFigure, tcMean, tcCount, tcColumnCount };

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// 0.95 as "95 %".
QString PercentText(double share) {
    return QString::number(share * 100, 'g', 6) + " %";
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    return item;
}

} // namespace

TStudyResultsView::TStudyResultsView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Placeholder_ = new QLabel("Результати з'являться тут, коли експеримент завершиться.", this);
    Placeholder_->setAlignment(Qt::AlignCenter);
    layout->addWidget(Placeholder_);

    Contents_ = new QWidget(this);
    auto* contents = new QVBoxLayout(Contents_);
    contents->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Contents_);

    ValueRow_ = new QWidget(Contents_);
    auto* valueRow = new QHBoxLayout(ValueRow_);
    valueRow->setContentsMargins(0, 0, 0, 0);
    ValueLabel_ = new QLabel(ValueRow_);
    ValueChooser_ = new QComboBox(ValueRow_);
    ValueChooser_->setObjectName("CBoxStudyValue");
    ValueChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ValueLabel_->setBuddy(ValueChooser_);
    valueRow->addWidget(ValueLabel_);
    valueRow->addWidget(ValueChooser_);
    valueRow->addStretch();
    contents->addWidget(ValueRow_);

    PointNote_ = new QLabel(Contents_);
    PointNote_->setWordWrap(true);
    contents->addWidget(PointNote_);

    auto* splitter = new QSplitter(Qt::Vertical, Contents_);
    contents->addWidget(splitter, 1);
    Table_ = new QTableWidget(0, tcColumnCount, splitter);
    Table_->setObjectName("TableStudyResults");
    Table_->setHorizontalHeaderLabels({"Об'єкт", "Показник", "Середнє ± півширина", "n"});
    Table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table_->setAlternatingRowColors(true);
    Table_->verticalHeader()->hide();
    Table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Table_->horizontalHeader()->setSectionResizeMode(tcFigure, QHeaderView::Stretch);
    splitter->addWidget(Table_);

    PlotPanel_ = new QWidget(splitter);
    auto* plotLayout = new QVBoxLayout(PlotPanel_);
    plotLayout->setContentsMargins(0, 0, 0, 0);
    auto* figureRow = new QHBoxLayout;
    auto* figureLabel = new QLabel("Показник для графіка:", PlotPanel_);
    FigureChooser_ = new QComboBox(PlotPanel_);
    FigureChooser_->setObjectName("CBoxPlotFigure");
    FigureChooser_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    figureLabel->setBuddy(FigureChooser_);
    figureRow->addWidget(figureLabel);
    figureRow->addWidget(FigureChooser_);
    figureRow->addStretch();
    plotLayout->addLayout(figureRow);
    Plot_ = new TStudyPlotWidget(PlotPanel_);
    plotLayout->addWidget(Plot_, 1);
    splitter->addWidget(PlotPanel_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);

    connect(ValueChooser_, &QComboBox::currentIndexChanged, this,
            [this](int index) { ShowPoint(index); });
    connect(FigureChooser_, &QComboBox::currentIndexChanged, this,
            [this](int index) { ShowPlotFigure(index); });
    Clear();
}

void TStudyResultsView::SetResults(const TStudyHeader& header,
                                   const std::vector<TPointResult>& points) {
    Header = header;
    Points = points;
    if (!HasResults()) {
        Clear();
        return;
    }
    Placeholder_->hide();
    Contents_->show();
    ValueRow_->setVisible(HasPlot());
    PlotPanel_->setVisible(HasPlot());
    ValueLabel_->setText("Значення " + Text(Header.Sweep) + ":");
    {
        const QSignalBlocker blocker(ValueChooser_);
        ValueChooser_->clear();
        for (std::size_t p = 0; p < Points.size(); ++p)
            ValueChooser_->addItem(Text(SweepValueText(Header, p)));
    }
    ShowPoint(0);
    FillFigureChooser();
}

void TStudyResultsView::Clear() {
    Points.clear();
    PlotFigures_.clear();
    Table_->setRowCount(0);
    {
        const QSignalBlocker values(ValueChooser_), figures(FigureChooser_);
        ValueChooser_->clear();
        FigureChooser_->clear();
    }
    Plot_->SetData({});
    Contents_->hide();
    Placeholder_->show();
}

bool TStudyResultsView::HasResults() const {
    return !Points.empty();
}

bool TStudyResultsView::HasPlot() const {
    return HasResults() && !Header.Sweep.empty();
}

const TStudyPlotData& TStudyResultsView::PlotData() const {
    return Plot_->Data();
}

void TStudyResultsView::ShowPoint(int point) {
    if (point < 0 || std::size_t(point) >= Points.size())
        return;
    const std::vector<TRunFigures>& rows = Points[point].Rows;

    QString note = "Прогонів: " + QString::number(rows.size()) +
                   ". Рівень довіри: " + PercentText(Header.Confidence) + ".";
    if (Points[point].Stop == ssPrecision)
        note += " Потрібної точності досягнуто.";
    else if (Points[point].Stop == ssMaxReplications)
        note += " Потрібної точності не досягнуто й за найбільшу кількість прогонів.";
    std::size_t early = 0, overruns = 0;
    for (const TStudyProblem& problem : EarlyStops(Points))
        early += problem.Point == std::size_t(point);
    for (const TStudyProblem& problem : StreamOverruns(Header, Points))
        overruns += problem.Point == std::size_t(point);
    if (early)
        note += " Прогонів, що зупинилися до кінця інтервалу: " + QString::number(early) + ".";
    if (overruns)
        note +=
            " Прогонів, що вийшли за свій потік випадкових чисел: " + QString::number(overruns) +
            " (зменште кількість прогонів або інтервал).";
    PointNote_->setText(note);

    const std::vector<TStudyTableRow> table = StudyTableRows(Header, rows);
    Table_->setRowCount(int(table.size()));
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TStudyTableRow& row = table[i];
        QTableWidgetItem* object = Cell(Text(row.ObjectName));
        object->setToolTip(row.IsVertex ? "Вершина" : "Перехід");
        Table_->setItem(int(i), tcObject, object);
        Table_->setItem(int(i), tcFigure, Cell(Text(FigureCaption(row.IsVertex, row.Figure))));
        Table_->setItem(
            int(i), tcMean,
            Cell(Text(MeanWithHalfWidth(row.Summary.Mean, row.Summary.HalfWidth)), Qt::AlignRight));
        Table_->setItem(int(i), tcCount, Cell(QString::number(row.Summary.Count), Qt::AlignRight));
    }
}

void TStudyResultsView::FillFigureChooser() {
    PlotFigures_.clear();
    const QSignalBlocker blocker(FigureChooser_);
    FigureChooser_->clear();
    if (!HasPlot())
        return;
    // Every figure some value shows, in the order of the table.
    std::vector<TStudyTableRow> choices;
    for (const TPointResult& point : Points)
        for (const TStudyTableRow& row : StudyTableRows(Header, point.Rows))
            if (std::none_of(choices.begin(), choices.end(), [&](const TStudyTableRow& known) {
                    return known.IsVertex == row.IsVertex && known.Object == row.Object &&
                           known.Figure == row.Figure;
                }))
                choices.push_back(row);
    std::stable_sort(choices.begin(), choices.end(), [](const auto& a, const auto& b) {
        return std::tuple(!a.IsVertex, a.Object, a.Figure) <
               std::tuple(!b.IsVertex, b.Object, b.Figure);
    });
    // The first precision target; else the mean marking that changes most across the values,
    // which is what a sweep is usually run to see; else the first figure.
    std::optional<int> chosen;
    double widestSpread = -1;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const TStudyTableRow& row = choices[i];
        const std::string key =
            (row.IsVertex ? VertexFigureSpecs() : TransitionFigureSpecs())[row.Figure].Key;
        PlotFigures_.push_back({row.IsVertex, row.Object, row.Figure, row.ObjectName});
        FigureChooser_->addItem(
            Text(row.ObjectName + ": " + FigureCaption(row.IsVertex, row.Figure)));
        if (!Header.Targets.empty()) {
            if (!chosen && Header.Targets.front() == row.ObjectName + "." + key)
                chosen = int(i);
            continue;
        }
        if (!row.IsVertex || key != "mean")
            continue;
        const double spread = MeanSpread(PlotFigures_.back());
        if (spread > widestSpread) {
            widestSpread = spread;
            chosen = int(i);
        }
    }
    FigureChooser_->setCurrentIndex(chosen.value_or(0));
    ShowPlotFigure(chosen.value_or(0));
}

double TStudyResultsView::MeanSpread(const TPlotFigure& figure) const {
    double low = INFINITY, high = -INFINITY;
    for (const TPointResult& point : Points) {
        const TSummary summary =
            SummarizeFigure(Header, point.Rows, figure.IsVertex, figure.Object, figure.Figure);
        if (summary.Count > 0 && std::isfinite(summary.Mean)) {
            low = std::min(low, summary.Mean);
            high = std::max(high, summary.Mean);
        }
    }
    return high >= low ? high - low : 0;
}

void TStudyResultsView::ShowPlotFigure(int choice) {
    if (choice < 0 || std::size_t(choice) >= PlotFigures_.size()) {
        Plot_->SetData({});
        return;
    }
    const TPlotFigure& figure = PlotFigures_[choice];
    const auto specs = figure.IsVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
    const std::string& name = figure.Name;

    TStudyPlotData data;
    data.Title = Text(name + ": " + FigureDescription(figure.IsVertex, figure.Figure)) +
                 " (довірчі інтервали " + PercentText(Header.Confidence) + ")";
    data.XTitle = Text(Header.Sweep);
    data.YTitle = Text(name + "." + specs[figure.Figure].Key);
    for (std::size_t p = 0; p < Points.size(); ++p) {
        TStudyPlotPoint point;
        point.Label = Text(SweepValueText(Header, p));
        point.Value = SweepValueNumber(Header, p);
        const TSummary summary =
            SummarizeFigure(Header, Points[p].Rows, figure.IsVertex, figure.Object, figure.Figure);
        if (summary.Count > 0) {
            point.Mean = summary.Mean;
            point.HalfWidth = summary.HalfWidth;
        }
        data.Points.push_back(point);
    }
    Plot_->SetData(data);
}

QByteArray TStudyResultsView::TableCsv() const {
    if (!HasResults())
        return {};
    return QByteArray::fromStdString(StudyCsv(Header, Points, false));
}

QByteArray TStudyResultsView::PlotPng() const {
    if (!HasPlot())
        return {};
    QImage image(PlotWidth, PlotHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawStudyPlot(painter, PlotData(), QRectF(0, 0, PlotWidth, PlotHeight));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray TStudyResultsView::PlotSvg() const {
    if (!HasPlot())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(PlotWidth, PlotHeight));
    generator.setViewBox(QRect(0, 0, PlotWidth, PlotHeight));
    generator.setTitle(PlotData().Title);
    generator.setDescription("Середні значення показника " + PlotData().YTitle + " для значень " +
                             PlotData().XTitle + " з довірчими інтервалами");
    {
        QPainter painter(&generator);
        DrawStudyPlot(painter, PlotData(), QRectF(0, 0, PlotWidth, PlotHeight));
    }
    return bytes;
}
