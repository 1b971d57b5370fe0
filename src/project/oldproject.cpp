#include "oldproject.h"

#include "aliasname.h"
#include "lexis.h"
#include "programtemplate.h"
#include "projectfile.h"
#include "projectpaths.h"

#include "app/askuser.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

bool IsOldProjectFormat(const QString &path) {
    QStringList lines;
    if (!textfile::readLines(path, lines))
        return false;
    for (const QString &line : lines) {
        const QStringList t = lexis::splitTokens(line);
        if (!t.isEmpty() && t[0].compare(QLatin1String("groupcount"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int OldTypeCatalogueNumber(const QString &typeDigits) {
    struct Row {
        int type, variant1, variant2;
    };
    static const Row table[] = {{1, 1000, 1001}, {2, 100, 150},  {3, 300, 400},   {4, 500, 550},
                                {8, 1010, 0},    {9, 2000, 0},   {100, 9200, 0}};
    bool okType = false, okVariant = false;
    const int type = typeDigits.left(4).toInt(&okType, 16);
    const int variant = typeDigits.mid(4, 2).toInt(&okVariant, 16);
    if (typeDigits.size() != 6 || !okType || !okVariant)
        return 0;
    for (const Row &r : table)
        if (r.type == type)
            return variant == 1 ? r.variant1 : variant == 2 ? r.variant2 : 0;
    return 0;
}

namespace {

struct Failure {
    QString message;
};

bool sameWord(const QString &a, const char *b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

// One device of the older file, as its lines give it.
struct OldDevice {
    QString alias, uidDigits, uidText, addrDigits, softVer, hardVer;
    int catNum = 0;
};

class OldReader {
public:
    explicit OldReader(const QStringList &lines) : lines_(lines) {}

    QList<OldDevice> read() {
        if (lines_.isEmpty())
            throw Failure{QStringLiteral("Файл проекта пуст")};
        const QStringList first = tokens(0);
        if (first.isEmpty() || first[0] != QLatin1String("project"))
            throw Failure{QStringLiteral("Отсутствует признак начала проекта - \"project\"")};
        const QStringList count = tokens(1);
        quint64 n = 0;
        if (count.size() < 3 || !sameWord(count[0], "devicecount") || count[1] != QLatin1String("=") ||
            !lexis::readDecimal(count[2], &n) || n > 0x7FFFFFFF)
            throw Failure{QStringLiteral("Ошибка чтения количества устройств в проекте")};
        QList<OldDevice> devices;
        for (int i = 1; i <= int(n); ++i)
            devices << device(i, 7 + 13 * (i - 1), devices);
        return devices;
    }

private:
    QStringList tokens(qsizetype line) const {
        return line < lines_.size() ? lexis::splitTokens(lines_[line]) : QStringList();
    }

    // "key = 0x<hex> ;" gives the digits after "0x".
    QString hexValue(qsizetype line, const char *key, const char *message, quint64 max) const {
        const QStringList t = tokens(line);
        quint64 v = 0;
        if (t.size() != 4 || !sameWord(t[0], key) || t[1] != QLatin1String("=") || t[3] != QLatin1String(";") ||
            !t[2].startsWith(QLatin1String("0x"), Qt::CaseInsensitive) || !lexis::readHex(t[2].mid(2), &v) ||
            v > max)
            throw Failure{QString::fromUtf8(message)};
        return t[2].mid(2);
    }

    QString decimalValue(qsizetype line, const char *key, const char *message) const {
        const QStringList t = tokens(line);
        if (t.size() != 4 || !sameWord(t[0], key) || t[1] != QLatin1String("=") || t[3] != QLatin1String(";") ||
            !lexis::isDecimal(t[2]))
            throw Failure{QString::fromUtf8(message)};
        if (!lexis::readDecimal(t[2], nullptr))
            throw Failure{QStringLiteral("Ошибка формата файла проекта")};
        return t[2];
    }

    OldDevice device(int index, qsizetype at, const QList<OldDevice> &earlier) const {
        const QStringList head = tokens(at);
        if (head.size() < 3 || !sameWord(head[0], "device"))
            throw Failure{QStringLiteral("Ошибка чтения данных об устройстве")};
        quint64 n = 0;
        if (!lexis::readDecimal(head[2], &n) || n != quint64(index))
            throw Failure{QStringLiteral("Ошибка чтения блока устройства")};

        OldDevice d;
        const QStringList alias = tokens(at + 1);
        if (alias.size() != 6 || !sameWord(alias[0], "alias") || alias[1] != QLatin1String("=") ||
            alias[2] != QLatin1String("\"") || alias[4] != QLatin1String("\"") || alias[5] != QLatin1String(";") ||
            !aliasProblem(alias[3]).isEmpty())
            throw Failure{QStringLiteral("Ошибка чтения названия устройства")};
        d.alias = alias[3];
        for (const OldDevice &e : earlier)
            if (e.alias.compare(d.alias, Qt::CaseInsensitive) == 0)
                throw Failure{QStringLiteral("Обнаружено два устройства с алисом = ") + d.alias};

        const QString type = hexValue(at + 2, "type", "Ошибка чтения TYPE устройства", ~quint64(0));
        if (type.size() != 6)
            throw Failure{QStringLiteral("Ошибка чтения TYPE устройства")};
        d.catNum = OldTypeCatalogueNumber(type);
        d.uidDigits = hexValue(at + 3, "uid", "Ошибка чтения UID устройства", 0xFFFFFF);
        d.uidText = tokens(at + 3)[2];
        d.addrDigits = hexValue(at + 4, "UniqAddr", "Ошибка чтения уникального адреса устройства", ~quint64(0));
        quint64 addr = 0;
        if (!lexis::readHex(d.addrDigits, &addr) || addr > 0x3FFF)
            throw Failure{QStringLiteral("Ошибка чтения уникального адреса - значение превышает допустимое")};
        d.hardVer = decimalValue(at + 8, "hardver", "Ошибка чтения HardVer устройства");
        d.softVer = decimalValue(at + 9, "softver", "Ошибка чтения SoftVer устройства");
        return d;
    }

    const QStringList &lines_;
};

bool fail(const QString &message) {
    userDialogs().askUser(QStringLiteral("o"), message, QStringLiteral("Ошибка открытия проекта"),
                          UserDialogs::ErrorIcon);
    return false;
}

QStringList newProjectText(const QList<OldDevice> &devices) {
    QStringList text{QStringLiteral("project;"), QStringLiteral("devicecount = %1;").arg(devices.size())};
    for (int i = 0; i < devices.size(); ++i) {
        const OldDevice &d = devices[i];
        text << projectfile::deviceBlock(i + 1, d.alias, d.uidDigits, d.addrDigits, d.catNum, 1, d.softVer,
                                         d.hardVer);
    }
    text << QStringLiteral("speed = 0;") << QStringLiteral("endproject;");
    return text;
}

// The older program of a device: named by its UID digits, or by the UID as
// written with its "0x".
std::optional<QString> oldProgram(const QString &folder, const OldDevice &d) {
    for (const QString &name : {d.uidDigits, d.uidText}) {
        const QString path = projectpaths::inFolder(folder, name + QStringLiteral(".pd"));
        if (QFileInfo::exists(path))
            return path;
    }
    return std::nullopt;
}

} // namespace

bool ConvertOldProject(const QString &oldPath, const QString &newPath) {
    QStringList lines;
    QString error;
    if (!textfile::readLines(oldPath, lines, &error))
        return fail(error);
    QList<OldDevice> devices;
    try {
        devices = OldReader(lines).read();
    } catch (const Failure &f) {
        return fail(f.message);
    }
    if (!textfile::writeLines(newPath, newProjectText(devices), &error))
        return fail(error);

    const QString oldFolder = QFileInfo(oldPath).absolutePath();
    const QString newFolder = QFileInfo(newPath).absolutePath();
    for (const OldDevice &d : devices) {
        const std::optional<QString> from = oldProgram(oldFolder, d);
        if (!from)
            return fail(QStringLiteral("Ошибка! Отсутствует файл устроства с alias = ") + d.alias);
        // A program already in the new folder is the user's: left as it is.
        const QString to = projectpaths::inFolder(newFolder, d.alias + QStringLiteral(".pd"));
        if (QFileInfo::exists(to))
            continue;
        QStringList program;
        if (!textfile::readLines(*from, program, &error))
            return fail(error);
        const QStringList head{programtemplate::banner(), programtemplate::moduleLine(d.alias),
                               programtemplate::banner()};
        if (!textfile::writeLines(to, head + program, &error))
            return fail(error);
    }
    for (const QString &name : QDir(oldFolder).entryList({QStringLiteral("*.pf")}, QDir::Files)) {
        const QString to = projectpaths::inFolder(newFolder, name);
        if (!QFileInfo::exists(to) && !projectpaths::copyFile(projectpaths::inFolder(oldFolder, name), to, &error))
            return fail(error);
    }
    return true;
}

bool PrepareConversionFolder(const QString &oldPath, const QString &newPath) {
    const QString folder = QFileInfo(newPath).absolutePath();
    if (projectpaths::sameFile(folder, QFileInfo(oldPath).absolutePath())) {
        userDialogs().showMessage(QStringLiteral(
            "Проект нового формата нельзя создать в папке преобразуемого проекта: его файлы были бы удалены. "
            "Выберите другую папку."));
        return false;
    }
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (files.isEmpty())
        return true;
    const QString question = QStringLiteral("Внимание! Директория не пуста!\n\rПри создании проекта все файлы "
                                            "директории будут УДАЛЕНЫ! Продолжить?");
    if (userDialogs().askUser(QStringLiteral("до"), question, QString(), UserDialogs::ErrorIcon) != 0)
        return false;
    for (const QString &name : files) {
        if (!QFile::remove(projectpaths::inFolder(folder, name))) {
            userDialogs().showMessage(QStringLiteral("Не удалось удалить файл ") +
                                      QDir::toNativeSeparators(projectpaths::inFolder(folder, name)));
            return false;
        }
    }
    return true;
}
