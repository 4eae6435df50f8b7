#include "FormObjectResults.h"

#include "ObjectResultRows.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The longest label and value the panel shows, which its first width must hold side by side.
const char* const kWidestLabel = "Серед. знач. буферу";
const char* const kWidestValue = "0000000.000000";

} // namespace

TFormObjectResults::TFormObjectResults(TEngine& engine, QWidget* parent)
    : TToolWindow("FormObjectResults", "Вибраний об'єкт", 185, 238, parent), Engine(engine) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Grid_ = new QTableWidget(1, 2, this);
    Grid_->setObjectName("Grid");
    // The header lets the user drag the border between the columns; the values take the rest.
    Grid_->setHorizontalHeaderLabels({"Показник", "Значення"});
    Grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    Grid_->horizontalHeader()->setStretchLastSection(true);
    Grid_->verticalHeader()->hide();
    Grid_->verticalHeader()->setDefaultSectionSize(16);
    Grid_->verticalHeader()->setMinimumSectionSize(1);
    Grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = Grid_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Grid_->setPalette(palette);
    layout->addWidget(Grid_);
    connect(Grid_, &QTableWidget::cellClicked, this, [this] { emit PropertiesRequested(); });

    // Widths from the font: a cell keeps a margin on either side of its text, and the window
    // leaves room for the table's frame and its scroll bar.
    const QFontMetrics metrics(Grid_->font());
    const int cellMargins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 2;
    const int labelWidth = metrics.horizontalAdvance(QString::fromUtf8(kWidestLabel)) + cellMargins;
    const int valueWidth = metrics.horizontalAdvance(QString::fromUtf8(kWidestValue)) + cellMargins;
    Grid_->setColumnWidth(0, labelWidth);
    resize(std::max(width(), labelWidth + valueWidth + 2 * Grid_->frameWidth() +
                                 style()->pixelMetric(QStyle::PM_ScrollBarExtent)),
           height());
}

void TFormObjectResults::FillObjectResults() {
    const std::vector<TResultRow> rows = ObjectResultRows(Engine);
    QStringList labels;
    for (const TResultRow& row : rows)
        labels << QString::fromStdString(row.Label);
    Grid_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        for (int column = 0; column < 2; ++column) {
            const QString text = column == 0 ? labels[i] : QString::fromStdString(rows[i].Value);
            QTableWidgetItem* item = Grid_->item(i, column);
            if (item == nullptr)
                Grid_->setItem(i, column, item = new QTableWidgetItem);
            if (item->text() != text)
                item->setText(text);
        }
        Grid_->setRowHeight(i, rows[i].Spacer ? 4 : 16);
    }
    // Another kind of object brings other labels: the first column widens to the longest of them
    // (and keeps any width the user gave it that is wider).
    if (labels != ShownLabels) {
        ShownLabels = labels;
        const int before = Grid_->columnWidth(0);
        Grid_->resizeColumnToContents(0);
        Grid_->setColumnWidth(0, std::max(before, Grid_->columnWidth(0)));
    }
}
