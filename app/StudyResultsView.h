// The results of a study in the experiment window: for every object and figure the mean and its
// confidence interval, and for a sweep a plot of a chosen figure against the swept value with
// the intervals as bars, and the table of each value.
#pragma once

#include "Study.h"
#include "StudyRun.h"

#include <QByteArray>
#include <QWidget>

#include <vector>

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

private:
    TStudyHeader Header;
    std::vector<TPointResult> Points;
};
