#pragma once
// Folder chooser owned by the main window.
#include <QString>

class QWidget;

// Opens on path when it names an existing folder. On confirmation path gets
// the chosen folder and the result is true; on cancel path stays as it was.
bool SelectFolder(QWidget *owner, const QString &title, QString &path);
