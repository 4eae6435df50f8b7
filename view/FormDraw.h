// The editor window: the canvas on which the net is drawn and edited.
#pragma once

#include <QWidget>

struct TEngine;

class TFormDraw : public QWidget {
    Q_OBJECT
public:
    explicit TFormDraw(TEngine& engine, QWidget* parent = nullptr);

private:
    TEngine& Engine;
};
