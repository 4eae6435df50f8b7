// The about box.
#pragma once

#include <QWidget>

class TFormAbout : public QWidget {
    Q_OBJECT
public:
    explicit TFormAbout(QWidget* parent = nullptr);
};
