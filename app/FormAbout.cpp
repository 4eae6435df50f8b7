#include "FormAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormAbout::TFormAbout(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("FormAbout");
    setWindowTitle("Про програму");
    auto* layout = new QVBoxLayout(this);
    for (const char* line : {"Сітки Петрі: редактор і симулятор", "Версія :  1.02",
                             "Автор :  команда розробників редактора сіток Петрі",
                             "Призначення :  моделювання систем засобами сіток Петрі"})
        layout->addWidget(new QLabel(QString::fromUtf8(line), this));
    auto* close = new QPushButton("Закрити", this);
    close->setObjectName("ButtonClose");
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    layout->addWidget(close, 0, Qt::AlignRight);
}
