#include "InputWake.h"

#include <QCoreApplication>
#include <QEvent>

TInputWake::TInputWake(std::function<void()> wake, QObject* parent)
    : QObject(parent), Wake(std::move(wake)) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool TInputWake::MayChangeView(int eventType) {
    switch (eventType) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Leave:
    case QEvent::Drop:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::WindowStateChange:
        return true;
    default:
        return false;
    }
}

bool TInputWake::eventFilter(QObject* watched, QEvent* event) {
    if (MayChangeView(event->type()))
        Wake();
    return QObject::eventFilter(watched, event);
}
