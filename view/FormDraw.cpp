#include "FormDraw.h"

#include "Engine.h"

TFormDraw::TFormDraw(TEngine& engine, QWidget* parent) : QWidget(parent), Engine(engine) {
    setObjectName("FormDraw");
    setMinimumSize(200, 150);
    QPalette canvas = palette();
    const TColor screen = Engine.Graph.Options.ScreenColor;
    canvas.setColor(QPalette::Window, QColor(screen & 0xFF, (screen >> 8) & 0xFF, (screen >> 16) & 0xFF));
    setPalette(canvas);
    setAutoFillBackground(true);
}
