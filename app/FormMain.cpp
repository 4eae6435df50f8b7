#include "FormMain.h"

#include "Engine.h"
#include "EngineError.h"
#include "FormDraw.h"
#include "Frame.h"
#include "Random.h"
#include "RunControl.h"
#include "Settings.h"
#include "Viewport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QStatusBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <iostream>

namespace {

// Hands work to the interface thread through the Qt event loop.
void PostToInterface(std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
}

} // namespace

std::filesystem::path EditorSettingsPath() {
    if (const QByteArray overridden = qgetenv("KVL_CONFIG"); !overridden.isEmpty())
        return std::filesystem::path(overridden.toStdString());
    return SettingsFilePath(QCoreApplication::applicationDirPath().toStdString());
}

TFormMain::TFormMain(TEngine& engine, QWidget* parent) : QMainWindow(parent), Engine(engine) {
    SeedRandomFromClock();
    InitEngine(Engine);

    setObjectName("FormMain");
    setWindowTitle("Сітки Петрі: редактор і симулятор");
    resize(1024, 700);

    MdiArea = new QMdiArea(this);
    setCentralWidget(MdiArea);
    FormDraw_ = new TFormDraw(Engine);
    DrawWindow_ = MdiArea->addSubWindow(FormDraw_);
    UpdateDrawCaption();
    DrawWindow_->showMaximized();

    // The status bar's panels: the cursor's model position and the zoom.
    for (int width : {60, 60, 94}) {
        auto* panel = new QLabel(this);
        panel->setFixedWidth(width);
        statusBar()->addPermanentWidget(panel);
        StatusPanels.push_back(panel);
    }
    StatusPanels[2]->setText(QString::fromStdString(ZoomText(Engine.Graph)));
    connect(FormDraw_, &TFormDraw::CursorTextChanged, this, [this](const QString& x, const QString& y) {
        StatusPanels[0]->setText(x);
        StatusPanels[1]->setText(y);
    });
    connect(FormDraw_, &TFormDraw::ZoomTextChanged, StatusPanels[2], &QLabel::setText);

    QPointer<QWidget> canvas = FormDraw_;
    Engine.DrawWork = [this, canvas] {
        if (!canvas)
            return;
        DrawFrame(Engine);
        canvas->update();
    };
    Engine.ShowMessage = [this](const std::string& message) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(message));
    };
    StartEngineThreads(Engine, PostToInterface);

    Timer_ = new QTimer(this);
    Timer_->setInterval(10);
    connect(Timer_, &QTimer::timeout, this, &TFormMain::TimerTick);
    Engine.ScreenIntervalChanged = [this](std::int32_t ms) { Timer_->setInterval(ms); };
    SettingsPath_ = EditorSettingsPath();
    LoadSettings(Engine, SettingsPath_);
    Timer_->start();
    StartUpdateThread(Engine);
}

TFormMain::~TFormMain() {
    // The workers may wait in a hand-over that the closing event loop will never run.
    StopEngineThreads(Engine);
    Engine.ScreenIntervalChanged = nullptr;
    Engine.DrawWork = nullptr;
    Engine.ShowMessage = nullptr;
    try {
        SaveSettings(Engine, SettingsPath_);
    } catch (const TEngineError& error) {
        std::cerr << error.what() << '\n';
    }
}

void TFormMain::TimerTick() {}

void TFormMain::UpdateDrawCaption() {
    const QString caption = Engine.FileName.empty()
                                ? QString("Новий файл")
                                : QString::fromStdString(Engine.FileName.string());
    DrawWindow_->setWindowTitle(caption);
}

QString TFormMain::StatusText(int panel) const { return StatusPanels.at(panel)->text(); }
