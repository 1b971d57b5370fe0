#include "textfile.h"

#include "text1251.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace textfile {
namespace {

std::function<bool(const QString &)> &failureHook() {
    static std::function<bool(const QString &)> hook;
    return hook;
}

QString nativePath(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

QStringList splitLines(const QString &text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

bool readText(const QString &path, QString &text, QString *error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Не удалось открыть файл %1: %2").arg(nativePath(path), f.errorString());
        return false;
    }
    text = cp1251::decode(f.readAll());
    return true;
}

bool readLines(const QString &path, QStringList &lines, QString *error) {
    QString text;
    if (!readText(path, text, error))
        return false;
    lines = splitLines(text);
    return true;
}

bool writeBytes(const QString &path, const QByteArray &bytes, QString *error) {
    QSaveFile f(path);
    auto fail = [&](const QString &why) {
        f.cancelWriting();
        if (error)
            *error = QStringLiteral("Не удалось записать файл %1: %2").arg(nativePath(path), why);
        return false;
    };
    if (!f.open(QIODevice::WriteOnly))
        return fail(f.errorString());
    if (failureHook() && failureHook()(path)) {
        f.write(bytes.left(bytes.size() / 2));
        return fail(QStringLiteral("нет места на диске"));
    }
    if (f.write(bytes) != bytes.size())
        return fail(f.errorString());
    if (!f.commit())
        return fail(f.errorString());
    return true;
}

bool writeText(const QString &path, const QString &text, QString *error) {
    QByteArray bytes;
    qsizetype bad = -1;
    if (!cp1251::encode(text, bytes, &bad)) {
        if (error)
            *error = cp1251::unencodableMessage(text, bad, nativePath(path));
        return false;
    }
    return writeBytes(path, bytes, error);
}

bool writeLines(const QString &path, const QStringList &lines, QString *error) {
    // Encoded line by line into one buffer: a compiler output of a whole
    // building runs to megabytes, and is not built as text first.
    qsizetype size = 0;
    for (const QString &l : lines)
        size += l.size() + 2;
    QByteArray bytes(size, Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString &l = lines[n];
        qsizetype bad = -1;
        if (!cp1251::encodeInto(l, out, &bad)) {
            if (error)
                *error = cp1251::unencodableMessage(l, bad, nativePath(path), n + 1);
            return false;
        }
        out += l.size();
        *out++ = '\r';
        *out++ = '\n';
    }
    return writeBytes(path, bytes, error);
}

void setWriteFailureHook(std::function<bool(const QString &)> hook) { failureHook() = std::move(hook); }

} // namespace textfile
