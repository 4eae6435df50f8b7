// "Графіки": the chart of the chosen objects' histories, redrawn by the results thread while
// shown, panned with the right button and zoomed with the left.
#pragma once

#include <QComboBox>
#include <QWidget>

#include <string>
#include <vector>

class QLineEdit;
class QPlainTextEdit;
struct TEngine;

// The "Додати об'єкт" drop-down: asks for its items each time it opens.
class TAddObjectBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<QStringList()> Offer;
    void showPopup() override;
};

class TFormChart : public QWidget {
    Q_OBJECT
public:
    explicit TFormChart(TEngine& engine, QWidget* parent = nullptr);

    QComboBox* CBoxChartType() const { return CBoxChartType_; }
    QPlainTextEdit* MemoChoiced() const { return MemoChoiced_; }
    TAddObjectBox* CBoxAddObject() const { return CBoxAddObject_; }
    QLineEdit* LEditScaleX() const { return LEditScaleX_; }
    QLineEdit* LEditScaleY() const { return LEditScaleY_; }
    QWidget* ChartView() const { return ChartView_; }

    // The chosen list as Windows-1251 names, one a line.
    std::vector<std::string> ChosenNames() const;
    // The names of the monitored objects of the chart's kind that the list lacks.
    QStringList OfferedNames() const;
    void RefreshChart();
    void ButtonAddAllClick();
    void ButtonClearListClick();
    // "Вмістити дані": the listed objects' whole data fills the chart.
    void ButtonFitDataClick();
    void SButtonScaleClick(bool axisX);

signals:
    void VisibilityChanged(bool shown);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TEngine& Engine;
    QComboBox* CBoxChartType_;
    QPlainTextEdit* MemoChoiced_;
    TAddObjectBox* CBoxAddObject_;
    QLineEdit* LEditScaleX_;
    QLineEdit* LEditScaleY_;
    QWidget* ChartView_;
};
