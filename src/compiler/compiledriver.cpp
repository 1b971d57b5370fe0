#include "compiledriver.h"

#include "compilertext.h"
#include "listingfiles.h"

#include "app/askuser.h"
#include "app/textfile.h"
#include "app/waitpanel.h"
#include "project/project.h"
#include "project/projectpaths.h"

using compilerrecords::ErrorKind;
using compilerrecords::GeneralCode;
using compilertext::sq;

namespace {

// How a var statement lists its names: which token may come next.
class VarStatement {
public:
    VarStatement(TVariableTable &vars, TErrorArray &errors, const TStatementRecord &at)
        : vars_(vars), errors_(errors), at_(at) {}

    void read(const TVars &device, const TStringArray &t, int &eeprom, int &ram);

private:
    bool fail(const QString &text) {
        compilerrecords::AddError(errors_, ErrorKind, GeneralCode, at_, text);
        return false;
    }
    bool initialValue(TVars &v, const TStringArray &t, int &i);

    TVariableTable &vars_;
    TErrorArray &errors_;
    const TStatementRecord &at_;
};

// After "=": the value, and i past it. False after a diagnostic.
bool VarStatement::initialValue(TVars &v, const TStringArray &t, int &i) {
    if (i >= t.size())
        return fail(QStringLiteral("Требуется константное выражение, а найдено ';'"));
    const QString &value = t[i];
    const bool decimal = IsDigitString(value);
    if (!decimal && !IsHexLiteral(value))
        return fail(QStringLiteral("Требуется константное выражение, а найдено ") + sq(value));
    if (v.memory == TVars::Ram)
        return fail(QStringLiteral("Нельзя инициализировать переменную ") + v.name + QStringLiteral(" типа ram"));
    const std::optional<qint32> n = compilertext::IntegerText(decimal ? value : QStringLiteral("$") + value.mid(2));
    if (!n)
        return fail(QStringLiteral("Неверное числовое значение ") + sq(value));
    v.initValue = quint16(quint32(*n) & 0xFFFF);
    ++i;
    if (decimal && i < t.size() && t[i] != QLatin1String(","))
        return fail(QStringLiteral("Требуется \",\", а найдено ") + sq(t[i]));
    return true;
}

void VarStatement::read(const TVars &device, const TStringArray &t, int &eeprom, int &ram) {
    if (t.isEmpty()) {
        fail(QStringLiteral("Требуется идентификатор, а найдено ';'"));
        return;
    }
    const bool isEeprom = t[0] == QLatin1String("eeprom");
    if (!isEeprom && t[0] != QLatin1String("ram")) {
        fail(QStringLiteral("Требуется идентификатор типа памяти (EEPROM или RAM), а найдено ") + sq(t[0]));
        return;
    }
    const QString size = t.size() > 1 ? t[1] : QString();
    if (size != QLatin1String("byte") && size != QLatin1String("word")) {
        fail(QStringLiteral("Требуется идентификатор типа переменной (BYTE или WORD), а найдено ") + sq(size));
        return;
    }
    if (t.size() < 3) {
        fail(QStringLiteral("Требуется идентификатор переменной"));
        return;
    }
    bool named = false; // a name was just read
    int i = 2;
    while (i < t.size()) {
        const QString &token = t[i];
        if (IsIdentifier(token)) {
            if (named) {
                fail(QStringLiteral("Требуется \",\", а найдено \"") + sq(token) + QLatin1Char('"'));
                return;
            }
            named = true;
            if (IsReservedWord(token)) {
                fail(QStringLiteral("Имя '") + token + QStringLiteral("' является зарезервированным словом"));
                return;
            }
            if (vars_.Own(device.fullAlias, token)) {
                fail(QStringLiteral("Переменная с именем ") + token + QStringLiteral(" уже существует"));
                return;
            }
            TVars v = device;
            v.memory = isEeprom ? TVars::Eeprom : TVars::Ram;
            v.size = size == QLatin1String("word") ? TVars::Word : TVars::Byte;
            v.name = token;
            int &counter = isEeprom ? eeprom : ram;
            v.address = quint16((isEeprom ? 0 : 0x200) + counter);
            counter += v.size == TVars::Word ? 2 : 1;
            ++i;
            if (i < t.size() && t[i] != QLatin1String(",")) {
                if (t[i] != QLatin1String("=")) {
                    vars_.append(v);
                    fail(QStringLiteral("Требуется \",\" или \"=\", а найдено ") + sq(t[i]));
                    return;
                }
                ++i;
                const bool ok = initialValue(v, t, i);
                vars_.append(v);
                if (!ok)
                    return;
                continue;
            }
            vars_.append(v);
        } else if (token == QLatin1String(",")) {
            if (!named) {
                fail(QStringLiteral("Требуется идентификатор переменной, а найдено \",\" "));
                return;
            }
            named = false;
            ++i;
        } else {
            fail(named ? QStringLiteral("Требуется \",\", а найдено ") + sq(token)
                       : QStringLiteral("Неверный идентификатор переменной ") + sq(token));
            return;
        }
    }
    if (!named)
        fail(QStringLiteral("Требуется идентификатор переменной "));
}

} // namespace

void TCompileDriver::readDeviceVariables(const TDevice &d) {
    const QString path = project_.programPath(d.alias);
    TArrayStringsTable table;
    QString error;
    if (!TLexer::ReadStatementTable(path, table, &error)) {
        compilerrecords::AddError(tables_.errors, ErrorKind, GeneralCode, TStatementRecord(path, 0, QString()), error);
        return;
    }
    tables_.programs.insert(path, table);
    const TArrayStringsTable section = TLexer::SectionOf(table, QStringLiteral("var"), QStringLiteral("end"));
    if (section.isEmpty())
        return;
    if (section.first().text().contains(QLatin1String("rror"))) {
        TStatementRecord at = section.first();
        if (at.filePath().isEmpty()) // a program too short to have sections
            at = TStatementRecord(path, 0, QString());
        compilerrecords::AddError(tables_.errors, ErrorKind, GeneralCode, at,
                                  QStringLiteral("Отсутствует раздел описания переменных"));
        return;
    }
    TVars device;
    device.alias = d.alias.left(20);
    device.uid = d.uid;
    device.uniqAddr = d.UniqAddr;
    device.fullAlias = d.alias;
    int eeprom = 0, ram = 0;
    for (const TStatementRecord &st : section)
        VarStatement(tables_.variables, tables_.errors, st)
            .read(device, TLexer::SplitTokens(LowerAscii(st.text())), eeprom, ram);
}

bool TCompileDriver::ReadProjectVariables() {
    tables_.errors.clear();
    tables_.variables.clear();
    tables_.programs.clear();
    for (const TDevice &d : project_.devices())
        readDeviceVariables(d);
    return tables_.errors.isEmpty();
}

void TCompileDriver::WriteErrors() {
    for (const TErrorTable &e : std::as_const(tables_.errors))
        errorLines_.append(compilerrecords::ErrorFileLine(e));
}

bool TCompileDriver::writeFiles() {
    QString error;
    const bool ok = project_.outputFile().isEmpty() ||
                    (textfile::writeLines(project_.outputFile(), outputLines_, &error) &&
                     textfile::writeLines(project_.errorFile(), errorLines_, &error));
    if (!ok) {
        failure_ = error;
        userDialogs().showMessage(error);
    }
    return ok;
}

int TCompileDriver::CompileProject() {
    outputLines_.clear();
    errorLines_.clear();
    failure_.clear();
    if (!ReadProjectVariables()) {
        WriteErrors();
        const int count = int(tables_.errors.size());
        tables_.errors.clear();
        tables_.programs.clear();
        return writeFiles() ? count : -1;
    }
    int count = 0;
    {
        TAnalis analis(&project_, &tables_);
        for (TGlobalLink &g : project_.globalLinks())
            g.devices.clear();
        const int current = project_.currentDevice();
        const int devices = project_.deviceCount();
        for (int i = 0; i < devices; ++i) {
            waitPanel().StepWait(90.0 / devices);
            project_.setCurrentDevice(i);
            const bool compiled = analis.CompileProgram(project_.programPath(project_.devices()[i].alias));
            if (compiled)
                outputLines_ += analis.DeviceLines();
            if (!tables_.errors.isEmpty()) {
                WriteErrors();
                count += int(tables_.errors.size());
            }
        }
        tables_.errors.clear();
        tables_.programs.clear();
        project_.setCurrentDevice(current);
    }
    for (const TDevice &d : project_.devices()) {
        const QString program = project_.programPath(d.alias);
        projectpaths::removeFile(listingfiles::ListingPath(program));
        projectpaths::removeFile(listingfiles::PositionPath(program));
    }
    return writeFiles() ? count : -1;
}

int CompileProject(TProject &project) { return TCompileDriver(project).CompileProject(); }
