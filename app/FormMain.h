// The main window: a multiple-document frame holding the editor window. It builds the engine,
// starts the worker threads and loads the settings at creation, and stops the threads and saves
// the settings when it is destroyed.
#pragma once

#include <QMainWindow>

#include <filesystem>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QTimer;
class TFormDraw;
struct TEngine;

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(TEngine& engine, QWidget* parent = nullptr);
    ~TFormMain() override;

    TFormDraw* FormDraw() const { return FormDraw_; }
    QMdiSubWindow* DrawWindow() const { return DrawWindow_; }
    QTimer* Timer() const { return Timer_; }
    QString StatusText(int panel) const; // 0: X, 1: Y, 2: zoom
    const std::filesystem::path& SettingsPath() const { return SettingsPath_; }
    // Shows the net's file name, or "Новий файл" for a net never saved, as the editor's caption.
    void UpdateDrawCaption();

private:
    void TimerTick();

    TEngine& Engine;
    std::filesystem::path SettingsPath_;
    QMdiArea* MdiArea = nullptr;
    TFormDraw* FormDraw_ = nullptr;
    QMdiSubWindow* DrawWindow_ = nullptr;
    QTimer* Timer_ = nullptr;
    std::vector<class QLabel*> StatusPanels; // X, Y, zoom
};

// Where the editor keeps KVLConfig.ini; the environment variable KVL_CONFIG overrides it (tests
// use it so that they never touch the user's file).
std::filesystem::path EditorSettingsPath();
