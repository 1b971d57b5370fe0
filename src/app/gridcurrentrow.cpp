#include "gridcurrentrow.h"

#include "cataloguefiles.h"

#include <QFileInfo>

namespace {
// A picture to load, or Clear when the file is not there.
CurrentRowPanels::Show pictureAction(const QString &path, QString &file) {
    if (!QFileInfo(path).isFile())
        return CurrentRowPanels::Show::Clear;
    file = path;
    return CurrentRowPanels::Show::Set;
}
} // namespace

CurrentRowPanels currentRowPanels(const GridRow *row, bool testMode, bool gridLive, const QString &programDir) {
    CurrentRowPanels p;
    p.includeEnabled = row && !row->check;
    if (testMode)
        return p;
    if (!gridLive) {
        p.description = CurrentRowPanels::Show::Clear;
        p.photo = CurrentRowPanels::Show::Clear;
        return p;
    }
    if (!row) {
        p.description = CurrentRowPanels::Show::Set;
        p.descriptionText = noDescriptionText();
        p.photo = p.diagram = CurrentRowPanels::Show::Clear;
        return p;
    }
    p.description = CurrentRowPanels::Show::Set;
    p.descriptionText = catalogueDescription(programDir, row->cat_num);
    p.photo = pictureAction(cataloguePhotoPath(programDir, row->cat_num), p.photoFile);
    p.diagram = pictureAction(catalogueDiagramPath(programDir, row->cat_num), p.diagramFile);
    return p;
}
