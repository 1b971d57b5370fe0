#include "testcatalogue.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

QStringList sqlStatements(const QString &script) {
    QString text = script;
    text.remove(QRegularExpression(QStringLiteral("--[^\n]*")));
    QStringList statements;
    for (const QString &s : text.split(QLatin1Char(';')))
        if (!s.trimmed().isEmpty())
            statements.append(s.trimmed());
    return statements;
}

bool buildTestCatalogue(const QString &path, const QString &schemaFile, const QStringList &statements,
                        QString *error) {
    QStringList all;
    if (!schemaFile.isEmpty()) {
        QFile schema(schemaFile);
        if (!schema.open(QIODevice::ReadOnly)) {
            if (error)
                *error = QStringLiteral("cannot read %1").arg(schemaFile);
            return false;
        }
        all = sqlStatements(QString::fromUtf8(schema.readAll()));
    }
    all += statements;
    const QString name = QStringLiteral("test-catalogue-builder");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        if (!ok && error)
            *error = db.lastError().text();
        for (const QString &sql : all) {
            if (!ok)
                break;
            QSqlQuery q(db);
            ok = q.exec(sql);
            if (!ok && error)
                *error = q.lastError().text() + QStringLiteral(" in: ") + sql;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
