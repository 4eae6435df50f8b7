// The off-screen image that the engine's graph holds for the back and the front frame.
#pragma once

#include <QImage>

struct TFrameImage {
    QImage Image;
};

// An image of the size in window (logical) pixels, at 96 dots per inch so that font sizes in
// points mean the same pixels everywhere. With a device pixel ratio above 1 (a HiDPI screen) it
// holds that many device pixels a window pixel, and drawing into it is as sharp as the screen.
QImage MakeFrameImage(int width, int height, double devicePixelRatio = 1);
