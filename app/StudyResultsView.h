// The results of a study in the experiment window: for every object and figure the mean and its
// confidence interval, and for a sweep a plot of a chosen figure against the swept value with
// the intervals as bars, and the table of each value.
#pragma once

#include "Study.h"
#include "StudyPlot.h"
#include "StudyRun.h"

#include <QByteArray>
#include <QWidget>

#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

class TStudyResultsView : public QWidget {
    Q_OBJECT
public:
    explicit TStudyResultsView(QWidget* parent = nullptr);

    // Shows the results of a finished study, replacing what was shown.
    void SetResults(const TStudyHeader& header, const std::vector<TPointResult>& points);
    // Shows nothing (before the first study, while one runs, after a cancel).
    void Clear();
    bool HasResults() const;
    // Whether there is a plot: a study with a sweep.
    bool HasPlot() const;

    // The table as CSV (UTF-8, "." decimal separator, a header row), and the plot as pictures.
    QByteArray TableCsv() const;
    QByteArray PlotPng() const;
    QByteArray PlotSvg() const;

    // The size of the exported pictures, in pixels.
    static constexpr int PlotWidth = 1200;
    static constexpr int PlotHeight = 800;

    // The parts the window is made of, for tests.
    QTableWidget* Table() const { return Table_; }
    QComboBox* ValueChooser() const { return ValueChooser_; }
    QComboBox* FigureChooser() const { return FigureChooser_; }
    // What the plot shows now.
    const TStudyPlotData& PlotData() const;

private:
    // A figure of an object that can be plotted.
    struct TPlotFigure {
        bool IsVertex = true;
        std::size_t Object = 0;
        std::size_t Figure = 0;
        std::string Name; // the object's, UTF-8
    };

    void ShowPoint(int point);
    void ShowPlotFigure(int choice);
    void FillFigureChooser();
    // How far the figure's means across the values lie apart.
    double MeanSpread(const TPlotFigure& figure) const;

    TStudyHeader Header;
    std::vector<TPointResult> Points;
    std::vector<TPlotFigure> PlotFigures_;

    QLabel* Placeholder_ = nullptr;
    QWidget* Contents_ = nullptr;
    QWidget* ValueRow_ = nullptr;
    QLabel* ValueLabel_ = nullptr;
    QComboBox* ValueChooser_ = nullptr;
    QLabel* PointNote_ = nullptr;
    QTableWidget* Table_ = nullptr;
    QWidget* PlotPanel_ = nullptr;
    QComboBox* FigureChooser_ = nullptr;
    TStudyPlotWidget* Plot_ = nullptr;
};
