// Device programs and function files of the project.
#include "project.h"

#include "aliasname.h"
#include "programtemplate.h"
#include "projectpaths.h"

#include "app/askuser.h"
#include "app/textfile.h"

#include <QDir>
#include <QFileInfo>

bool TProject::WriteProgramSkeleton(TDevice &d) {
    const QString path = programPath(d.alias);
    // Нет keeps the user's file; the question comes again at the next save.
    if (!projectpaths::confirmOverwrite(path))
        return true;
    QString error;
    if (!textfile::writeLines(path, programtemplate::programSkeleton(d.alias), &error)) {
        userDialogs().showMessage(QStringLiteral("Проект не сохранён: ") + error);
        return false;
    }
    d.programFileMade = true;
    return true;
}

QStringList TProject::RunlinkCallers(const QString &linkName) const {
    QStringList found;
    for (const TDevice &d : devices_) {
        QStringList lines;
        if (QFileInfo::exists(programPath(d.alias)) && textfile::readLines(programPath(d.alias), lines))
            found << programtemplate::runlinkCallers(d.alias, lines, linkName, globalLinks_, d.links);
    }
    return found;
}

bool TProject::SaveEditorText(const QStringList &lines) {
    QString path = editedFile_;
    if (path.isEmpty()) {
        const TDevice *d = currentDeviceRecord();
        if (lines.isEmpty() || !d)
            return true;
        path = programPath(d->alias);
    }
    QString error;
    if (!textfile::writeLines(path, lines, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    return true;
}

bool TProject::NewFunctionFile(const QString &chosenPath, QString *name) {
    QString base = chosenPath;
    if (base.endsWith(QLatin1String(".pf"), Qt::CaseInsensitive))
        base.chop(3);
    const QString function = QFileInfo(base).fileName();
    const QString problem = fileWordProblem(function, QStringLiteral("Имя функции"));
    if (!problem.isEmpty()) {
        userDialogs().showMessage(problem);
        return false;
    }
    QString error;
    if (!textfile::writeLines(base + QStringLiteral(".pf"), {programtemplate::functionHeader(function)}, &error)) {
        userDialogs().showMessage(error);
        return false;
    }
    if (name)
        *name = function;
    return true;
}
