#include "selectfolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

bool SelectFolder(QWidget *owner, const QString &title, QString &path) {
    const QString start = QFileInfo(path).isDir() ? path : QString();
    const QString chosen = QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return false;
    path = QDir::toNativeSeparators(chosen);
    return true;
}
