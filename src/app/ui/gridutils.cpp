#include "gridutils.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTableView>
#include <cmath>

void SetColumnWidths(QTableView *grid, const QList<int> &percents, bool indicator) {
    if (!grid->model())
        return;
    const int columns = grid->model()->columnCount();
    const int offset = indicator ? 1 : 0;
    if (indicator && columns > 0)
        grid->setColumnWidth(0, 16);
    const int client = grid->viewport()->width();
    for (int i = 0; i < percents.size() && i + offset < columns; ++i)
        grid->setColumnWidth(i + offset, int(std::lround(client * percents[i] / 100.0)));
}

void SetColumnTitles(QTableView *grid, const QStringList &titles, bool sortable) {
    QAbstractItemModel *model = grid->model();
    if (!model)
        return;
    QFont font = grid->horizontalHeader()->font();
    font.setBold(true);
    font.setPointSize(8);
    for (int i = 0; i < titles.size() && i < model->columnCount(); ++i) {
        model->setHeaderData(i, Qt::Horizontal, titles[i], Qt::DisplayRole);
        model->setHeaderData(i, Qt::Horizontal, titles[i], Qt::ToolTipRole);
        model->setHeaderData(i, Qt::Horizontal, font, Qt::FontRole);
        model->setHeaderData(i, Qt::Horizontal, int(Qt::AlignCenter), Qt::TextAlignmentRole);
    }
    grid->horizontalHeader()->setSectionsClickable(sortable);
    grid->setSortingEnabled(sortable);
}
