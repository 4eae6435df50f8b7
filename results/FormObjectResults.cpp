#include "FormObjectResults.h"

#include "ObjectResultRows.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

TFormObjectResults::TFormObjectResults(TEngine& engine, QWidget* parent)
    : TToolWindow("FormObjectResults", "Вибраний об'єкт", 185, 238, parent), Engine(engine) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Grid_ = new QTableWidget(1, 2, this);
    Grid_->setObjectName("Grid");
    Grid_->horizontalHeader()->hide();
    Grid_->verticalHeader()->hide();
    Grid_->verticalHeader()->setDefaultSectionSize(16);
    Grid_->verticalHeader()->setMinimumSectionSize(1);
    Grid_->setColumnWidth(0, 100);
    Grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = Grid_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    Grid_->setPalette(palette);
    layout->addWidget(Grid_);
    connect(Grid_, &QTableWidget::cellClicked, this, [this] { emit PropertiesRequested(); });
}

void TFormObjectResults::FillObjectResults() {
    Grid_->setColumnWidth(1, std::max(10, Grid_->viewport()->width() - Grid_->columnWidth(0) - 2));
    const std::vector<TResultRow> rows = ObjectResultRows(Engine);
    Grid_->setRowCount(static_cast<int>(rows.size()));
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
        for (int column = 0; column < 2; ++column) {
            const QString text =
                QString::fromStdString(column == 0 ? rows[i].Label : rows[i].Value);
            QTableWidgetItem* item = Grid_->item(i, column);
            if (item == nullptr)
                Grid_->setItem(i, column, item = new QTableWidgetItem);
            if (item->text() != text)
                item->setText(text);
        }
        Grid_->setRowHeight(i, rows[i].Spacer ? 4 : 16);
    }
}
