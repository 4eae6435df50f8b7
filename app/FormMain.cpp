#include "FormMain.h"

#include "Engine.h"
#include "FormDraw.h"
#include "Random.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
}

void TFormMain::UpdateDrawCaption() {
    const QString caption = Engine.FileName.empty()
                                ? QString("Новий файл")
                                : QString::fromStdString(Engine.FileName.string());
    DrawWindow_->setWindowTitle(caption);
}
