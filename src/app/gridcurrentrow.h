#pragma once
// What the main window's panels show when the current row of the project
// grid changes: whether "Включить в проект" is offered, and the type's
// description, photo and connection diagram. The window only applies it.
#include "gridmodel.h"

#include <QString>

struct CurrentRowPanels {
    enum class Show { Keep, Set, Clear };

    bool includeEnabled = false; // the row exists and is not in the project
    Show description = Show::Keep;
    QString descriptionText; // with Set: the file's text or the placeholder
    Show photo = Show::Keep;
    QString photoFile; // with Set: an existing picture file
    Show diagram = Show::Keep;
    QString diagramFile;
};

// row: the new current row, or null when the grid has none. In test mode
// the panels stay as they are; while the grid is being rebuilt (gridLive
// false) the description and photo are cleared and the diagram stays.
CurrentRowPanels currentRowPanels(const GridRow *row, bool testMode, bool gridLive, const QString &programDir);
