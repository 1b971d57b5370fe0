#include "projectpaths.h"

#include "app/askuser.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace projectpaths {

QString withExtension(const QString &path, const QString &ext) {
    const qsizetype slash = qMax(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return (dot > slash ? path.left(dot) : path) + ext;
}

QString inFolder(const QString &folder, const QString &name) {
    return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

bool sameFile(const QString &a, const QString &b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

bool copyFile(const QString &from, const QString &to, QString *error) {
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Не удалось открыть файл %1: %2").arg(QDir::toNativeSeparators(from), in.errorString());
        return false;
    }
    return textfile::writeBytes(to, in.readAll(), error);
}

bool confirmOverwrite(const QString &target) {
    if (!QFileInfo::exists(target))
        return true;
    const QString text = QStringLiteral("Внимание! Файл ") + QDir::toNativeSeparators(target) +
                         QStringLiteral(" существует! ") + QStringLiteral("\n\r") +
                         QStringLiteral("Вы хотите перезаписать его?");
    return userDialogs().askUser(QStringLiteral("дн"), text, QString(), UserDialogs::ErrorIcon) == 0;
}

bool removeFile(const QString &path) { return !QFileInfo::exists(path) || QFile::remove(path); }

} // namespace projectpaths
