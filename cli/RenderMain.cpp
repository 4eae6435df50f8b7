// kvl-render: draws one frame of a net as the editor shows it into a PNG, SVG or PDF file, without
// a window. Exit status 0 on success, 2 when the arguments are wrong or the net cannot be read, 1
// when the picture cannot be made or written; a failed write leaves no file behind.
#include "Clock.h"
#include "EngineError.h"
#include "FileReplace.h"
#include "FramePicture.h"
#include "KvlVersion.h"
#include "NetFile.h"
#include "PnmlImport.h"
#include "ProgramInfo.h"
#include "RenderOptions.h"
#include "Settings.h"

#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (AnswerInfoRequest(arguments, "kvl-render", kRenderUsage, kKvlVersion))
        return 0;
    const auto options = ParseRenderOptions(arguments);
    if (!options) {
        std::cerr << kRenderUsage;
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    static TEngine engine;
    InitEngine(engine);
    try {
        if (IsPnmlPath(options->NetFile)) {
            const std::string notes = ImportPnml(engine, options->NetFile);
            if (!notes.empty())
                std::cerr << notes << '\n';
        } else {
            LoadNet(engine, options->NetFile);
        }
    } catch (const TEngineError& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
    ApplyColors(engine);
    TEngineGraph& graph = engine.Graph;
    graph.CenterX = options->CenterX;
    graph.CenterY = options->CenterY;
    graph.Scale = std::clamp(graph.Options.NormalScale * options->ZoomPercent / 100,
                             graph.Options.MinScale, graph.Options.MaxScale);
    engine.Net.ModelTime = options->ModelTime;
    graph.FrameTime = static_cast<std::int32_t>(TickCount());
    graph.ScreenWidth = options->Width;
    graph.ScreenHeight = options->Height;
    const QString path = QString::fromStdString(options->ImageFile);
    std::optional<TPictureView> view = VisiblePictureView(graph);
    if (options->WholeNet) {
        view = WholeNetPictureView(engine, graph.Scale);
        if (!view) {
            std::cerr << "У сітці немає жодного об'єкта, тож рисунок усієї сітки порожній\n";
            return 1;
        }
    }
    const TPictureFormat format = PictureFormatOf(path);
    if (format == TPictureFormat::Png && !IsPictureSizeAllowed(*view, 1)) {
        std::cerr << "Рисунок завеликий: " << view->Width << "x" << view->Height
                  << " пікселів. Зменште масштаб (--zoom)\n";
        return 1;
    }
    const QByteArray bytes =
        PictureBytes(engine, *view, format, 1,
                     QFileInfo(QString::fromStdString(options->NetFile)).completeBaseName());
    try {
        ReplaceFile(std::filesystem::path(options->ImageFile), bytes.toStdString());
    } catch (const TEngineError& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
