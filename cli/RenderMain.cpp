// kvl-render: draws one frame of a net as the editor shows it into a PNG file, without a window.
// Exit status 0 on success, 2 when the arguments are wrong or the net cannot be read, 1 when the
// image cannot be written.
#include "EngineError.h"
#include "Frame.h"
#include "FrameImage.h"
#include "NetFile.h"
#include "RenderOptions.h"
#include "Settings.h"

#include <QGuiApplication>

#include <algorithm>
#include <iostream>

int main(int argc, char** argv) {
    const auto options = ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc));
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
        LoadNet(engine, options->NetFile);
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
    ResizeView(graph, options->Width, options->Height);
    DrawFrame(engine);
    if (!graph.FrontImage->Image.save(QString::fromStdString(options->ImageFile), "PNG")) {
        std::cerr << "Не вдалося записати зображення «" << options->ImageFile << "»\n";
        return 1;
    }
    return 0;
}
