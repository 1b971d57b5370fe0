#pragma once
// Column set-up of the program's grids.
#include <QList>
#include <QStringList>

class QTableView;

// Each listed column gets round(client width x percent / 100); with
// indicator the first column is a 16-pixel indicator and the percentages
// apply to the columns after it. Columns the grid does not have are skipped.
void SetColumnWidths(QTableView *grid, const QList<int> &percents, bool indicator);

// Column titles, centred in bold 8-point type, with tool tips; sortable
// titles sort the grid when clicked.
void SetColumnTitles(QTableView *grid, const QStringList &titles, bool sortable);
