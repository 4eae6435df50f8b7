// The questions of "Рисунок сітки": which part of the net to draw and, for a PNG, at what scale.
#pragma once

#include "FramePicture.h"

#include <QDialog>

#include <functional>
#include <optional>

class QComboBox;
class QPushButton;
class QRadioButton;

struct TNetPictureChoice {
    TPictureExtent Extent = TPictureExtent::WholeNet;
    double PngScale = 1; // device pixels a picture pixel
};

// The PNG scales one may type.
constexpr double kMinPictureScale = 0.1;
constexpr double kMaxPictureScale = 10;

// "2x", "2х", "2×", "2", "1,5", "1.5" as a scale within the limits; none otherwise.
std::optional<double> ParsePictureScale(const QString& text);

class TNetPictureDialog : public QDialog {
    Q_OBJECT
public:
    explicit TNetPictureDialog(QWidget* parent);
    // The answers as they stand; none while the scale is not a number within the limits.
    std::optional<TNetPictureChoice> Choice() const;

    QRadioButton* WholeNet() const { return WholeNet_; }
    QRadioButton* VisiblePart() const { return VisiblePart_; }
    QComboBox* Scale() const { return Scale_; }

    // OK with a scale that is not a number keeps the dialog open with a message.
    void accept() override;

private:
    QRadioButton* WholeNet_;
    QRadioButton* VisiblePart_;
    QComboBox* Scale_;
};

// Shows the dialog; none when the user cancels. Tests replace it to answer without a dialog.
extern std::function<std::optional<TNetPictureChoice>(QWidget* parent)> AskNetPictureChoice;
