#include "cataloguefiles.h"

#include "textfile.h"

namespace {
QString numbered(const QString &programDir, const char *folder, int catNum, const char *suffix) {
    return catalogueFilesDir(programDir) + QLatin1Char('/') + QLatin1String(folder) + QLatin1Char('/') +
           QString::asprintf("%.5d", catNum) + QLatin1String(suffix);
}
} // namespace

QString catalogueFilesDir(const QString &programDir) { return programDir + QStringLiteral("/Database"); }

QString catalogueDescriptionPath(const QString &programDir, int catNum) {
    return numbered(programDir, "catalog_desc", catNum, ".txt");
}

QString cataloguePhotoPath(const QString &programDir, int catNum) {
    return numbered(programDir, "catalog_pict", catNum, ".jpg");
}

QString catalogueDiagramPath(const QString &programDir, int catNum) {
    return numbered(programDir, "catalog_sh", catNum, ".jpg");
}

QString catalogueDescription(const QString &programDir, int catNum) {
    QString text;
    if (!textfile::readText(catalogueDescriptionPath(programDir, catNum), text))
        return noDescriptionText();
    return text;
}
