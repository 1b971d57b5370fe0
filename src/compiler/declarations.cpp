// Declarations of one program file: its links, constants and labels.
#include "analis.h"
#include "compilertext.h"
#include "listingfiles.h"

#include "project/project.h"

#include <QFileInfo>

using compilerrecords::ErrorKind;
using compilertext::sq;

namespace {

const QString kEnd = QStringLiteral("end");

// ExtractSection's answer for a section that is not there.
bool isMarker(const TArrayStringsTable &section) {
    return !section.isEmpty() && section.first().text().contains(QLatin1String("rror"));
}

// Whether ExtractSection would give a real, non-empty section, without
// taking it out of the table.
bool hasSection(const TArrayStringsTable &table, const QString &name) {
    if (table.size() < 3)
        return false;
    qsizetype i = 0;
    while (i < table.size() && table[i].text().compare(name, Qt::CaseInsensitive) != 0)
        ++i;
    if (++i >= table.size())
        return false;
    if (table[i].text().compare(kEnd, Qt::CaseInsensitive) == 0)
        return false;
    const bool firstIsMarkerLike = table[i].text().contains(QLatin1String("rror"));
    for (qsizetype j = i; j < table.size(); ++j)
        if (table[j].text().compare(kEnd, Qt::CaseInsensitive) == 0)
            return !firstIsMarkerLike;
    return false; // no "end": ExtractSection gives a marker
}

} // namespace

bool TAnalis::ReadCompileTable(const QString &programPath, TArrayStringsTable &table, QString *error) {
    if (!FListingPath.isEmpty() && FListingPath == programPath) {
        table = FListing;
        return true;
    }
    // Preprocessing writes the listing and the position file from the same
    // statements, one record a listing line, and every position record
    // carries its statement's text: the records are the listing with its
    // places, so the listing need not be cut into statements again.
    if (!QFileInfo::exists(listingfiles::ListingPath(programPath))) {
        if (error)
            *error = QStringLiteral("Отсутствует файл %1").arg(listingfiles::ListingPath(programPath));
        return false;
    }
    return listingfiles::ReadPositionFile(listingfiles::PositionPath(programPath), table, error);
}

QString TAnalis::nextLinkId() { return compilertext::linkText(0x800 + FLinkCounter++); }

TLocalLink TAnalis::newLink(const QString &name, const QString &id, int number) {
    TLocalLink link;
    link.name = name;
    link.numberText = compilertext::linkText(number);
    link.idText = id;
    return link;
}

TLocalLinksArray TAnalis::DeclareLinks(const QString &programPath) {
    const int current = FProject ? FProject->currentDevice() : -1;
    if (FProject && current >= 0) {
        const TDeviceArray &devices = FProject->devices();
        // Devices after the current one are not compiled yet, so their link
        // lists are still what the run began with: scanned once per run.
        if (FLastDeviceWithLinks < -1) {
            FLastDeviceWithLinks = -1;
            for (int i = 0; i < devices.size(); ++i)
                if (devices[i].links.size() > 1)
                    FLastDeviceWithLinks = i;
        }
        if (devices[current].links.size() > 1 || current <= FLastDeviceWithLinks)
            FConfigurationMode = true;
    }
    TLocalLinksArray links = FConfigurationMode ? ReadLinksFromConfiguration(programPath) : ReadLinksSection(programPath);
    SetLocalLinks(links);
    if (FProject)
        FProject->compiledLinks() = links;
    return links;
}

TLocalLinksArray TAnalis::ReadLinksSection(const QString &programPath) {
    TLocalLinksArray links;
    links.append(newLink(QStringLiteral("reset"), nextLinkId(), 1));
    TArrayStringsTable table;
    QString error;
    if (!ReadCompileTable(programPath, table, &error)) {
        AddError(ErrorKind, compilerrecords::GeneralCode, TStatementRecord(programPath, 0, QString()), error);
        return links;
    }
    // Taken first, so that a global link named in it on a line of its own
    // is not mistaken for that link's body.
    const TArrayStringsTable section = ExtractSection(table, QStringLiteral("links"), kEnd);
    if (FProject)
        for (const TGlobalLink &g : FProject->globalLinks()) {
            const TArrayStringsTable body = ExtractSection(table, g.name, kEnd);
            if (!body.isEmpty() && !isMarker(body))
                links.append(newLink(g.name, g.idText, int(links.size()) + 1));
        }
    if (section.isEmpty() || isMarker(section))
        return links;
    readLinkList(section, links, FProject ? FProject->currentDeviceRecord() : nullptr);
    return links;
}

// The statements of a links section: lists of link names.
void TAnalis::readLinkList(const TArrayStringsTable &section, TLocalLinksArray &links, TDevice *device) {
    const auto fail = [this](const TStatementRecord &at, const QString &text) {
        AddError(ErrorKind, compilerrecords::GeneralCode, at, text);
    };
    for (const TStatementRecord &st : section) {
        const TStringArray tokens = SplitTokens(st.text());
        if (tokens.isEmpty()) {
            fail(st, QStringLiteral("Требуется идентификатор, а найдено ';'"));
            continue;
        }
        if (tokens.first() == QLatin1String("global"))
            continue;
        bool named = false; // a name was just read
        for (const QString &token : tokens) {
            if (IsIdentifier(token)) {
                if (named) {
                    fail(st, QStringLiteral("Требуется \",\", а найдено \"") + sq(token) + QLatin1Char('"'));
                    break;
                }
                named = true;
                if (IsReservedWord(token)) {
                    fail(st, QStringLiteral("Имя '") + token + QStringLiteral("' является зарезервированным словом"));
                    break;
                }
                const bool global = FProject && std::any_of(FProject->globalLinks().cbegin(), FProject->globalLinks().cend(),
                                                            [&](const TGlobalLink &g) { return g.name == token; });
                if (global) {
                    fail(st, QStringLiteral("Линк с именем ") + sq(token) +
                                 QStringLiteral(" является глобальным и требует префикса \"global\""));
                    return;
                }
                if (std::any_of(links.cbegin(), links.cend(), [&](const TLocalLink &l) { return l.name == token; })) {
                    fail(st, QStringLiteral("Линк с именем ") + sq(token) + QStringLiteral(" уже существует"));
                    return;
                }
                const TLocalLink link = newLink(token, nextLinkId(), int(links.size()) + 1);
                links.append(link);
                if (device)
                    device->links.append(link);
            } else if (token == QLatin1String(",")) {
                if (!named) {
                    fail(st, QStringLiteral("Требуется идентификатор линка  "));
                    named = true;
                    break;
                }
                named = false;
            } else {
                fail(st, named ? QStringLiteral("Требуется \",\", а найдено ") + sq(token)
                               : QStringLiteral("Неизвестный идентификатор  ") + token);
                break;
            }
        }
        if (!named)
            fail(st, QStringLiteral("Требуется идентификатор линка "));
    }
}

TLocalLinksArray TAnalis::ReadLinksFromConfiguration(const QString &programPath) {
    TLocalLinksArray links;
    TDevice *device = FProject ? FProject->currentDeviceRecord() : nullptr;
    if (!device || device->links.isEmpty())
        return links;
    const auto declare = [&](TLocalLink &configured, const QString &id) {
        links.append(newLink(LowerAscii(configured.name), id, int(links.size()) + 1));
        configured.idText = links.last().idText;
        configured.numberText = links.last().numberText;
    };
    declare(device->links[0], nextLinkId());
    TArrayStringsTable table;
    QString error;
    if (!ReadCompileTable(programPath, table, &error))
        AddError(ErrorKind, compilerrecords::GeneralCode, TStatementRecord(programPath, 0, QString()), error);
    ExtractSection(table, QStringLiteral("links"), kEnd); // declarations are no bodies
    TGlobalLinksArray &globals = FProject->globalLinks();
    for (int i = 0; i < globals.size(); ++i) {
        // The listing is the same each time it would be read afresh, so the
        // section is looked for without taking it.
        if (!hasSection(table, globals[i].name))
            continue;
        links.append(newLink(LowerAscii(globals[i].name), compilertext::linkText(0x800 + i), int(links.size()) + 1));
        globals[i].idText = links.last().idText;
        globals[i].numberText = links.last().numberText;
    }
    for (int i = 1; i < device->links.size(); ++i)
        declare(device->links[i], nextLinkId());
    return links;
}

TConstArray TAnalis::ReadConstants(TArrayStringsTable &table) {
    TConstArray consts;
    const TArrayStringsTable section = ExtractSection(table, QStringLiteral("const"), kEnd);
    if (isMarker(section))
        return consts;
    for (const TStatementRecord &st : section) {
        const TStringArray t = SplitTokens(st.text());
        if (t.size() != 3 || t[1] != QLatin1String("=") || IsAsciiDigit(t[0][0])) {
            AddError(ErrorKind, compilerrecords::ConstantDeclarationCode, st,
                     QStringLiteral("Ошибка в объявлении константы (возможно вместо ',' надо поставить ';')"));
            consts.clear();
            continue;
        }
        const QString &name = t[0];
        const bool taken = Tables().variables.HasName(name) ||
                           std::any_of(consts.cbegin(), consts.cend(), [&](const TConst &c) { return c.name == name; });
        if (taken)
            AddError(ErrorKind, compilerrecords::GeneralCode, st,
                     QStringLiteral("Константа (переменная) с именем ") + name + QStringLiteral(" уже существует"));
        else
            consts.append({name, t[2]});
        if (IsReservedWord(name))
            AddError(ErrorKind, compilerrecords::GeneralCode, st,
                     QStringLiteral("Имя '") + name + QStringLiteral("' является зарезервированным словом"));
    }
    return consts;
}

namespace {

// The label part of a statement fails these checks with these messages.
QString labelNameProblem(const QString &name) {
    if (name.isEmpty())
        return QStringLiteral("Отсутствует имя метки");
    if (IsAsciiDigit(name[0]) || IsDelimiterChar(name[0]) || IsOperatorChar(name[0]))
        return QStringLiteral("Ошибка");
    for (qsizetype i = 1; i < name.size(); ++i) {
        const QChar c = name[i];
        if (IsDelimiterChar(c) || c == u'=' || c == u'>' || c == u'<')
            return QStringLiteral("Ошибка ");
    }
    return QString();
}

} // namespace

TLabelArray TAnalis::ReadLabels(const TArrayStringsTable &table) {
    TLabelArray labels;
    QHash<QString, int> seen; // lower-cased names
    for (const TStatementRecord &st : table) {
        const qsizetype colon = st.text().indexOf(u':');
        if (colon < 0)
            continue;
        const QString name = PrepareSourceLine(st.text().left(colon));
        QString problem = labelNameProblem(name);
        if (problem.isEmpty() && seen.contains(name.toLower()))
            problem = QStringLiteral("Дублирование метки");
        // Placeholders have three digits; a fourth would not fit the
        // four-character jump field.
        if (problem.isEmpty() && labels.size() >= 0x1000)
            problem = QStringLiteral("Слишком много меток в программе");
        if (!problem.isEmpty()) {
            AddError(ErrorKind, compilerrecords::LabelCode, st, problem);
            continue;
        }
        seen.insert(name.toLower(), int(labels.size()));
        labels.append({name, QString(), QStringLiteral("L") + compilertext::hex(labels.size(), 3)});
    }
    return labels;
}

void TAnalis::SetLocalLinks(const TLocalLinksArray &links) {
    FLocalLinks = links;
    FLocalLinkIndex.clear();
    for (int i = 0; i < links.size(); ++i)
        compilertext::insertFirst(FLocalLinkIndex, links[i].name, i);
}

void TAnalis::SetConstants(const TConstArray &consts) {
    FConsts = consts;
    FConstExact.clear();
    FConstLower.clear();
    for (int i = 0; i < consts.size(); ++i) {
        compilertext::insertFirst(FConstExact, consts[i].name, i);
        FConstLower.insert(consts[i].name.toLower(), i); // a later one wins
    }
}

void TAnalis::SetLabels(const TLabelArray &labels) {
    FLabels = labels;
    FLabelExact.clear();
    FLabelLower.clear();
    FLabelByPlaceholder.clear();
    for (int i = 0; i < labels.size(); ++i) {
        compilertext::insertFirst(FLabelExact, labels[i].name, i);
        FLabelLower.insert(labels[i].name.toLower(), i);
        FLabelByPlaceholder.insert(labels[i].placeholder, i);
    }
}
