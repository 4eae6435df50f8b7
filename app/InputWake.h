// Watches every event the application delivers and calls back on those that may change what the
// canvas or the panels show: input, resizes, windows shown or changing state. The main window
// wakes its redraws with it, so that without such events the editor does nothing.
#pragma once

#include <QObject>

#include <functional>

class TInputWake : public QObject {
public:
    // Installs itself on the application; `wake` is called on the interface thread.
    TInputWake(std::function<void()> wake, QObject* parent);

    // Whether an event of this type may change what is shown.
    static bool MayChangeView(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> Wake;
};
