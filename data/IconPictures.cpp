// Draws the program's SVG icon into square PNG files of the given sizes, for the icon theme:
//   kvl-icon-pictures ICON.svg OUT_FOLDER SIZE...
// writes OUT_FOLDER/SIZExSIZE/kvl-editor.png for each size. Exit status 1 when the SVG does not
// read or a PNG cannot be written.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <iostream>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "Використання: kvl-icon-pictures ICON.svg OUT_FOLDER SIZE...\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::cerr << "Не вдалося прочитати " << argv[1] << '\n';
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    for (int i = 3; i < argc; ++i) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0 || size > 1024) {
            std::cerr << "Неправильний розмір " << argv[i] << '\n';
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QString("%1x%1").arg(size);
        out.mkpath(folder);
        const QString file = out.filePath(folder + "/kvl-editor.png");
        if (!image.save(file, "PNG")) {
            std::cerr << "Не вдалося записати " << file.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}
