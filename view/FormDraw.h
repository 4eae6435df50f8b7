// The editor window: the canvas on which the net is drawn and edited. It paints the last
// finished frame in one block and tells the viewport its size.
#pragma once

#include <QWidget>

struct TEngine;

class TFormDraw : public QWidget {
    Q_OBJECT
public:
    explicit TFormDraw(TEngine& engine, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TEngine& Engine;
};
