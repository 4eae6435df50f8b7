// "Настройки": the options dialog. Controls are filled from the live settings on every show;
// OK commits them in a fixed order and pushes the colours to the objects.
#pragma once

#include "OptionsPages.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;
struct TEngine;

class TFormOptions : public QWidget {
    Q_OBJECT
public:
    explicit TFormOptions(TEngine& engine, QWidget* parent = nullptr);

    QTabWidget* Pages() const { return Pages_; }
    QTabWidget* VisualPages() const { return VisualPages_; }
    // Shows the dialog on the given top page, or on the pages last shown.
    void ShowOnPage(std::optional<TOptionsPage> page = std::nullopt);
    void ButtonOkClick();
    // The main window's "Завантажити базові настройки"; set by the main window.
    std::function<void()> LoadBaseSettings;
    // The colour dialog of a swatch; tests replace it. An invalid colour means cancelled.
    std::function<QColor(QColor)> ChooseColor;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct TNumberField {
        QLineEdit* Edit;
        std::int32_t* Value;
    };
    struct TColorField {
        QLabel* Swatch;
        std::uint32_t* Value;
    };
    struct TOptionRow;
    struct TOptionPage;
    // The rows of "Загальні" and the pages of "Візуалізація", in the order they are shown.
    static std::vector<TOptionRow> GeneralRows();
    static std::vector<TOptionPage> VisualPageRows();
    void AddRow(class QFormLayout* form, const TOptionRow& row);
    QLineEdit* AddNumber(class QFormLayout* form, const char* name, const char* label,
                         std::int32_t* value);
    void AddColors(class QFormLayout* form, const char* label,
                   std::vector<std::pair<const char*, std::uint32_t*>> colors);
    void Fill();
    static void Paint(QLabel* swatch, std::uint32_t color);
    static std::uint32_t ColorOf(const QLabel* swatch);

    TEngine& Engine;
    QTabWidget* Pages_;
    QTabWidget* VisualPages_;
    QLineEdit* EditBaseMark;
    QLineEdit* EditBaseDelay;
    QCheckBox* CBoxVertexHistory;
    QCheckBox* CBoxTransitionHistory;
    QLineEdit* EditVertexHistory;
    QLineEdit* EditTransitionHistory;
    QLineEdit* EditFrequency;
    // In the order OK commits them, each group after its colours.
    std::vector<TColorField> ScreenColors, VertexColors, TransitionColors, ConnectionColors;
    std::vector<TNumberField> VertexSizes, TransitionSizes, ConnectionSizes;
    std::vector<TColorField>* CurrentColors = nullptr;
    std::vector<TNumberField>* CurrentSizes = nullptr;
};
