// The main window: a multiple-document frame holding the editor window.
#pragma once

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;
class TFormDraw;
struct TEngine;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    // Builds the engine and the editor window inside the frame.
    explicit TFormMain(TEngine& engine, QWidget* parent = nullptr);

    TFormDraw* FormDraw() const { return FormDraw_; }
    QMdiSubWindow* DrawWindow() const { return DrawWindow_; }
    // Shows the net's file name, or "Новий файл" for a net never saved, as the editor's caption.
    void UpdateDrawCaption();

private:
    TEngine& Engine;
    QMdiArea* MdiArea = nullptr;
    TFormDraw* FormDraw_ = nullptr;
    QMdiSubWindow* DrawWindow_ = nullptr;
};
