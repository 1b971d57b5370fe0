// Assembly of one device's command list: declarations, the code of every
// link, label addresses, then the configuration commands.
#include "analis.h"
#include "compilertext.h"
#include "irconfiglist.h"

#include "project/project.h"

using compilerrecords::ErrorKind;
using compilerrecords::GeneralCode;
using compilerrecords::WarningKind;
using compilertext::hex;

namespace {

constexpr int IRCatalogueNumber = 5000;
const QString kEndLine = QStringLiteral("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF");
constexpr int CodeLineLength = 44;

// The six-digit UID that begins every line of the device.
QString uidText(const TDevice &d) { return hex(d.uidValue(), 6); }

} // namespace

bool TAnalis::IsCodeLine(const QString &line) {
    return line.size() > 11 && QStringView(line).sliced(7, 4) != QLatin1String("CMND");
}

int TAnalis::CountCodeLines(const QStringList &lines, int n) {
    int count = 0;
    for (int i = 0; i < n && i < lines.size(); ++i)
        count += IsCodeLine(lines[i]) ? 1 : 0;
    return count;
}

// Every line goes through here, so the number of code lines so far is
// known without counting from the start.
void TAnalis::appendLine(const QString &line, const TStatementRecord &origin) {
    FLines.append(line);
    FLineOrigins.append(origin);
    if (IsCodeLine(line))
        ++FCodeLines;
}

bool TAnalis::CompileProgram(const QString &programPath) {
    bool ok = false;
    try {
        ok = compileProgram(programPath);
    } catch (const TStatementFailure &failure) {
        // A configuration text that does not convert (statements catch
        // their own failures).
        AddError(ErrorKind, GeneralCode, TStatementRecord(programPath, 0, QString()), failure.message);
    }
    if (!ok)
        FLines.clear(); // a program stopped by an error gives no lines
    return ok;
}

bool TAnalis::compileProgram(const QString &programPath) {
    FLines.clear();
    FLineOrigins.clear();
    FCodeLines = 0;
    Tables().errors.clear();
    const TStatementRecord programStart(programPath, 0, QString());
    const TPreprocessor::Status status = PreprocessProgram(programPath);
    if (status != TPreprocessor::Ok) {
        const TPreprocessFailure &f = FPreprocessFailure;
        const QString text = status == TPreprocessor::TooShort
                                 ? QStringLiteral("Программа устройства содержит меньше трёх операторов")
                                 : f.message;
        AddError(ErrorKind, GeneralCode, f.at.filePath().isEmpty() ? programStart : f.at, text);
        return false;
    }
    TArrayStringsTable table;
    QString error;
    if (!ReadCompileTable(programPath, table, &error)) {
        AddError(ErrorKind, GeneralCode, programStart, error);
        return false;
    }
    // The link readers start from the same listing: given it, not read again.
    FListing = table;
    FListingPath = programPath;
    // The declarations are no link body, also when a link is named in
    // them on a line of its own.
    ExtractSection(table, QStringLiteral("links"), QStringLiteral("end"));
    DeclareLinks(programPath);
    FListing.clear();
    FListingPath.clear();
    if (!Tables().errors.isEmpty())
        return false;
    SetConstants(ReadConstants(table));
    if (!Tables().errors.isEmpty())
        return false;
    SetLabels(ReadLabels(table));
    if (!Tables().errors.isEmpty())
        return false;

    TDevice *d = FProject ? FProject->currentDeviceRecord() : nullptr;
    if (!d)
        return false;
    TIRConfig *ir = nullptr;
    if (d->cat_num == IRCatalogueNumber) {
        TIRConfigList *list = IRConfigListOf(*FProject);
        ir = list ? list->ConfigByName(d->alias) : nullptr;
        if (!ir)
            AddError(WarningKind, GeneralCode, programStart,
                     QStringLiteral("Отсутствует ИК-конфигурация устройства ") + d->alias);
        else if (!ir->PrepareButtonList()) {
            AddError(ErrorKind, GeneralCode, TStatementRecord(), QStringLiteral("Ошибка формирования списка кнопок"));
            return false;
        }
    }
    const QString u = uidText(*d);
    const QString cmnd = u + QStringLiteral(":CMND:");
    appendLine(cmnd + QStringLiteral("71"));
    appendLine(cmnd + QStringLiteral("72"));
    if (FProject->deviceCount() == 1)
        appendLine(cmnd + QStringLiteral("FAFF00"));
    for (int n = 0; n < 32; ++n)
        appendLine(cmnd + QStringLiteral("A2") + hex(n, 2) + QStringLiteral("FFFFFFFF"));

    QStringList kept; // A2 lines of the global links, written last
    if (!compileLinks(table, kept, u) || !resolveLabels())
        return false;
    FProject->compiledLinks() = FLocalLinks;
    return writeConfigurationLines(*d, u, kept, ir);
}

bool TAnalis::compileLinks(TArrayStringsTable &table, QStringList &kept, const QString &u) {
    TGlobalLinksArray &globals = FProject->globalLinks();
    QHash<QString, QList<int>> globalsByName; // lower-cased names
    for (int g = 0; g < globals.size(); ++g)
        globalsByName[globals[g].name.toLower()].append(g);
    const TDevice &d = *FProject->currentDeviceRecord();
    for (int p = 0; p < FLocalLinks.size(); ++p) {
        TLocalLink &link = FLocalLinks[p];
        link.codeAddressText = hex(FCodeLines, 4);
        for (int g : globalsByName.value(link.name.toLower())) {
            globals[g].devices.append(d.alias);
            if (link.idText != globals[g].idText)
                link.idText = globals[g].idText;
            kept.append(u + QStringLiteral(":CMND:A2") + ValueToHex(link.numberText, 2) + ValueToHex(link.idText, 4) +
                        link.codeAddressText);
        }
        const TArrayStringsTable section = ExtractSection(table, link.name, QStringLiteral("end"));
        const bool missing = !section.isEmpty() && (section.first().text().startsWith(QLatin1String("Error"), Qt::CaseInsensitive) ||
                                                    section.first().text().compare(QLatin1String("Warning"), Qt::CaseInsensitive) == 0);
        if (missing) {
            if (p == 0 || p > globals.size())
                AddError(WarningKind, GeneralCode, section.first(),
                         QStringLiteral("Отсутствует раздел описания скрипта линка ") + compilertext::dq(link.name));
        } else {
            for (const TStatementRecord &st : section)
                if (!compileLinkStatement(st, u))
                    return false;
        }
        appendLine(u + QLatin1Char(':') + hex(FCodeLines, 4) + QLatin1Char(':') + kEndLine);
    }
    SetLocalLinks(FLocalLinks);
    return true;
}

namespace {

// Whether the statement's first token is "error" (letter case ignored),
// without cutting the whole statement into tokens.
bool firstTokenIsError(const QString &text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].unicode() <= 32)
        ++i;
    const QStringView rest = QStringView(text).sliced(i);
    return rest.startsWith(QLatin1String("error"), Qt::CaseInsensitive) &&
           (rest.size() == 5 || rest[5].unicode() <= 32 || !IsWordChar(rest[5]));
}

} // namespace

bool TAnalis::compileLinkStatement(const TStatementRecord &st, const QString &u) {
    if (firstTokenIsError(st.text())) {
        AddError(ErrorKind, GeneralCode, st, QStringLiteral("Нет раздела для линка"));
        return true;
    }
    const QString answer = CompileStatement(st.text());
    if (answer.startsWith(QLatin1String("error"))) {
        AddError(ErrorKind, GeneralCode, st, answer.mid(5));
        return false;
    }
    const QString line = answer.startsWith(QLatin1String("ADDR"))
                             ? QString(u + QLatin1Char(':') + hex(FCodeLines, 4) + QLatin1Char(':') + answer.mid(5))
                             : QString(u + QLatin1Char(':') + answer);
    appendLine(line, st);
    if (line.size() != CodeLineLength)
        AddError(ErrorKind, GeneralCode, st, QStringLiteral("Ошибка размера hex-команды"));
    return true;
}

// Labelled lines give their labels an address; then every placeholder in
// every line becomes the address, in one pass over the lines.
bool TAnalis::resolveLabels() {
    if (FLabels.isEmpty())
        return true;
    int count = 0;
    for (const QString &line : std::as_const(FLines)) {
        if (line.size() > 11 && line[7] == u'L') {
            const auto l = FLabelByPlaceholder.constFind(line.mid(7, 4));
            if (l != FLabelByPlaceholder.constEnd())
                FLabels[*l].codeAddress = hex(count, 4);
        }
        if (IsCodeLine(line))
            ++count;
    }
    for (int i = 0; i < FLines.size(); ++i) {
        QString &line = FLines[i];
        for (qsizetype at = line.indexOf(u'L'); at >= 0 && at + 4 <= line.size(); at = line.indexOf(u'L', at + 1)) {
            const auto l = FLabelByPlaceholder.constFind(line.mid(at, 4));
            if (l == FLabelByPlaceholder.constEnd())
                continue;
            const QString &address = FLabels[*l].codeAddress;
            if (address.isEmpty()) {
                AddError(ErrorKind, compilerrecords::LabelCode, FLineOrigins[i],
                         QStringLiteral("Метка перехода находится вне разделов линков"));
                return false;
            }
            line.replace(at, 4, address);
        }
    }
    return true;
}
