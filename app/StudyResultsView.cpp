#include "StudyResultsView.h"

TStudyResultsView::TStudyResultsView(QWidget* parent) : QWidget(parent) {}

void TStudyResultsView::SetResults(const TStudyHeader& header,
                                   const std::vector<TPointResult>& points) {
    Header = header;
    Points = points;
}

void TStudyResultsView::Clear() {
    Points.clear();
}

bool TStudyResultsView::HasResults() const {
    return !Points.empty();
}

bool TStudyResultsView::HasPlot() const {
    return HasResults() && !Header.Sweep.empty();
}

QByteArray TStudyResultsView::TableCsv() const {
    return {};
}

QByteArray TStudyResultsView::PlotPng() const {
    return {};
}

QByteArray TStudyResultsView::PlotSvg() const {
    return {};
}
