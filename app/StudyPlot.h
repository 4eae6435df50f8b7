// The plot of a sweep: one figure's mean against the swept value, with the confidence
// intervals as bars. One drawing function paints on any QPainter, so the same code draws the
// widget, the PNG and the SVG.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

struct TStudyPlotPoint {
    QString Label;                   // the sweep value as text
    std::optional<double> Value;     // the sweep value, when it is a number
    std::optional<double> Mean;      // none: no replication has the figure
    std::optional<double> HalfWidth; // none below two replications
};

struct TStudyPlotData {
    QString Title;
    QString XTitle; // the swept parameter
    QString YTitle; // the figure
    std::vector<TStudyPlotPoint> Points;
};

// Where the plot puts things in a rectangle: the plotting area inside the axes, the ranges it
// spans and their ticks. Without numeric values the points stand evenly at 0, 1, 2...
struct TStudyPlotFrame {
    QRectF Area;
    bool Numeric = true;
    double XLow = 0, XHigh = 1, YLow = 0, YHigh = 1;
    std::vector<double> XTicks, YTicks;
    double XStep = 1, YStep = 1; // between ticks
    double FontPixels = 12;

    QPointF Map(double x, double y) const;
    // The x of point `index` of the data: its value, or its position in the row.
    double PointX(const TStudyPlotData& data, std::size_t index) const;
};

TStudyPlotFrame StudyPlotFrame(const TStudyPlotData& data, const QRectF& bounds);
void DrawStudyPlot(QPainter& painter, const TStudyPlotData& data, const QRectF& bounds);

// Steps of 1, 2 or 5 times a power of ten that split [low, high] into about `count` parts.
double NiceStep(double low, double high, int count);
// The tick numbers as text: as many decimals as the step needs, powers of ten when huge or tiny.
QString TickText(double value, double step);

class TStudyPlotWidget : public QWidget {
public:
    explicit TStudyPlotWidget(QWidget* parent = nullptr);
    void SetData(const TStudyPlotData& data);
    const TStudyPlotData& Data() const { return Data_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TStudyPlotData Data_;
};
