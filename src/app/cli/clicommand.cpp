#include "clicommand.h"

#include <cstdio>

CliGlobals &cliGlobals() {
    static CliGlobals g;
    return g;
}

namespace {
QList<CliCommand> &registry() {
    static QList<CliCommand> commands;
    return commands;
}
} // namespace

CliRegistration::CliRegistration(CliCommand command) { registry().append(std::move(command)); }

const QList<CliCommand> &cliCommands() { return registry(); }

void cliOut(const QString &line) {
    const QByteArray b = line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
}

void cliErr(const QString &line) {
    std::fflush(stdout);
    const QByteArray b = line.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

bool cliParse(QCommandLineParser &parser, const QString &usage, const QStringList &args) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QStringList full = args;
    full.prepend(QStringLiteral("vodiz-cli"));
    if (!parser.parse(full)) {
        cliErr(parser.errorText());
        cliErr(QStringLiteral("usage: vodiz-cli ") + usage);
        return false;
    }
    return true;
}

void cliPrintTable(const QStringList &header, const QList<QStringList> &rows, bool tsv) {
    if (tsv) {
        cliOut(header.join(QLatin1Char('\t')));
        for (const QStringList &r : rows)
            cliOut(r.join(QLatin1Char('\t')));
        return;
    }
    QList<qsizetype> width(header.size());
    for (int c = 0; c < header.size(); ++c)
        width[c] = header[c].size();
    for (const QStringList &r : rows)
        for (int c = 0; c < r.size() && c < header.size(); ++c)
            width[c] = qMax(width[c], r[c].size());
    auto line = [&](const QStringList &cells) {
        QString s;
        for (int c = 0; c < cells.size(); ++c) {
            if (c)
                s += QLatin1String("  ");
            s += c + 1 < cells.size() ? cells[c].leftJustified(width.value(c)) : cells[c];
        }
        cliOut(s);
    };
    line(header);
    for (const QStringList &r : rows)
        line(r);
}
