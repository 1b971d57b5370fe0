#include "preprocessor.h"

#include "listingfiles.h"

#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kColon = QStringLiteral(":");

bool isBlank(QChar c) { return c.unicode() <= 32; }

// The first token of a statement whose second token is ":" (a label
// definition), found without cutting the whole statement into tokens.
bool labelDefinition(QStringView text, QStringView &name) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isBlank(text[i]))
        ++i;
    if (i == n)
        return false;
    qsizetype j = i + 1;
    if (IsWordChar(text[i]))
        while (j < n && !isBlank(text[j]) && IsWordChar(text[j]))
            ++j;
    qsizetype k = j;
    while (k < n && isBlank(text[k]))
        ++k;
    if (k == n || text[k] != u':')
        return false;
    name = text.sliced(i, j - i);
    return true;
}

// Label definitions of statements, in order. The first definition of a
// name decides its replacement; every definition still takes a number, so
// a repeated label keeps the number of its first one and the later
// duplicate check finds it.
struct LabelTable {
    QHash<QString, QString> replacement;

    void collect(QStringView text, int &counter) {
        QStringView name;
        if (!labelDefinition(text, name))
            return;
        ++counter;
        const QString key = name.toString();
        if (!replacement.contains(key))
            replacement.insert(key, QStringLiteral("@L%1").arg(counter));
    }
    // The replacement of a token, or the token itself.
    QStringView renamed(QStringView token) const {
        if (replacement.isEmpty())
            return token;
        const auto it = replacement.constFind(QString::fromRawData(token.data(), token.size()));
        return it == replacement.constEnd() ? token : QStringView(*it);
    }
    void rename(TStringArray &tokens) const {
        for (QString &t : tokens)
            if (const QStringView r = renamed(t); r.data() != t.constData())
                t = r.toString();
    }
};

// A program statement with its labels renamed, rebuilt as JoinTokens would
// rebuild its tokens, in one pass and without a token list.
QString rebuildStatement(const QString &text, const LabelTable &labels) {
    QString out;
    out.reserve(text.size() + 8);
    bool havePrev = false, prevWord = false, prevSlash = false;
    auto put = [&](QStringView token) {
        const QStringView t = labels.renamed(token);
        const bool word = IsWordChar(t[0]);
        const bool slash = t.size() == 1 && t[0] == u'/';
        if (havePrev && ((prevWord && word) || (prevSlash && slash)))
            out += u' ';
        out += t;
        havePrev = true;
        prevWord = word;
        prevSlash = slash;
    };
    const qsizetype n = text.size();
    qsizetype wordStart = -1;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (!isBlank(c) && IsWordChar(c)) {
            if (wordStart < 0)
                wordStart = i;
            continue;
        }
        if (wordStart >= 0)
            put(QStringView(text).sliced(wordStart, i - wordStart));
        wordStart = -1;
        if (!isBlank(c))
            put(QStringView(text).sliced(i, 1));
    }
    if (wordStart >= 0)
        put(QStringView(text).sliced(wordStart));
    return out;
}

// A statement that calls a function: "$f(...)" or "label: $f(...)".
struct CallSite {
    QString prefix;   // "label:" or empty
    QString callText; // the tokens from the "$" token on, without blanks
    QString function; // lower-cased name, for the recursion check
};

bool findCall(const QString &text, CallSite &site) {
    if (!text.contains(u'$'))
        return false;
    const TStringArray tokens = TLexer::SplitTokens(text);
    qsizetype from = -1;
    if (!tokens.isEmpty() && tokens[0].startsWith(u'$'))
        from = 0;
    else if (tokens.size() >= 3 && tokens[1] == kColon && tokens[2].startsWith(u'$'))
        from = 2;
    if (from < 0)
        return false;
    site.prefix = from == 0 ? QString() : tokens[0] + kColon;
    site.callText = tokens.mid(from).join(QString());
    site.function = tokens[from].mid(1).toLower();
    return true;
}

// The rounding of the header's parameter count: halves go to the even
// neighbour (4 header tokens give 0 parameters, 6 give 2, 8 give 2).
qsizetype parameterCount(qsizetype headerTokens) {
    const qsizetype twice = headerTokens - 3;
    qsizetype n = twice / 2;
    if (twice % 2 != 0 && n % 2 != 0)
        ++n;
    return n;
}

// Matches the header "function name ( p1 , p2 ... )" with the call
// "$name ( a1 , a2 ... )"; fills formal (lower-cased) -> actual.
bool bindParameters(const TStringArray &header, const TStringArray &call, const QString &name,
                    QHash<QString, QString> &bindings) {
    const qsizetype h = header.size();
    if (h <= 3 || header[0].compare(QLatin1String("function"), Qt::CaseInsensitive) != 0 ||
        header[1].compare(name, Qt::CaseInsensitive) != 0 || header[2] != QLatin1String("(") ||
        header.last() != QLatin1String(")") || h != call.size() + 1)
        return false;
    const qsizetype count = parameterCount(h);
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype formal = 2 * k + 3, actual = 2 * k + 2;
        if (formal >= h || actual >= call.size())
            return false;
        if (k > 0 && (header[formal - 1] != QLatin1String(",") || call[actual - 1] != QLatin1String(",")))
            return false;
        const QString key = header[formal].toLower();
        if (!bindings.contains(key))
            bindings.insert(key, call[actual]);
    }
    return true;
}

// A glued body statement may form a section word ("en d(" becomes "end(")
// that the listing reader would cut in two. The statements are cut here the
// same way, so the listing and the position file always agree.
TArrayStringsTable settleForListing(const TArrayStringsTable &table) {
    TArrayStringsTable settled;
    settled.reserve(table.size());
    QString prepared;
    for (const TStatementRecord &st : table) {
        const QString &text = st.text();
        TLexer::PrepareSourceLine(text, prepared);
        // Unchanged, or only the ";" of a section word at its end added.
        const bool intact = prepared.startsWith(text) &&
                            (prepared.size() == text.size() || (prepared.size() == text.size() + 1 && prepared.endsWith(u';')));
        if (intact) {
            settled.append(st);
            continue;
        }
        for (TStatementRecord piece : TLexer::SplitStatements({text + u';'}, st.filePath())) {
            piece.setLine(st.line());
            settled.append(piece);
        }
    }
    return settled;
}

void removeStaleListing(const QString &programPath) {
    QFile::remove(listingfiles::ListingPath(programPath));
    QFile::remove(listingfiles::PositionPath(programPath));
}

} // namespace

bool TPreprocessor::fail(const QString &message, const TStatementRecord &at) {
    failure_ = {message, at};
    return false;
}

QString TPreprocessor::FunctionPath(const QString &name) const {
    const QString file = name + QLatin1String(".pf");
    if (functionFolder_.isEmpty())
        return file;
    if (functionFolder_.endsWith(u'/') || functionFolder_.endsWith(u'\\'))
        return functionFolder_ + file;
    return functionFolder_ + u'/' + file;
}

const TPreprocessor::FunctionFile &TPreprocessor::functionFile(const QString &path) {
    auto it = functions_.find(path);
    if (it != functions_.end())
        return *it;
    FunctionFile f;
    f.path = QFileInfo::exists(path) ? path : findCaseInsensitive(path);
    f.exists = !f.path.isEmpty();
    if (!f.exists)
        f.path = path;
    else if (!TLexer::ReadStatementTable(f.path, f.statements, &f.readError) && f.readError.isEmpty())
        f.readError = QStringLiteral("Не удалось прочитать файл %1").arg(f.path);
    return *functions_.insert(path, f);
}

// Function names are not case-sensitive, and on Windows neither are file
// names; elsewhere "$Blink" must still find blink.pf.
QString TPreprocessor::findCaseInsensitive(const QString &path) {
    if (!folderListed_) {
        folderListed_ = true;
        const QDir folder(functionFolder_.isEmpty() ? QStringLiteral(".") : functionFolder_);
        for (const QString &name : folder.entryList({QStringLiteral("*")}, QDir::Files, QDir::Name))
            folderNames_.insert(name.toLower(), name);
    }
    const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString found = folderNames_.value(path.mid(slash + 1).toLower());
    return found.isEmpty() ? QString() : path.left(slash + 1) + found;
}

TArrayStringsTable TPreprocessor::ExpandFunctionCall(const QString &callText, int &labelCounter) {
    const TStringArray call = TLexer::SplitTokens(callText);
    QString name = call.isEmpty() ? QString() : call[0];
    if (name.startsWith(u'$'))
        name.remove(0, 1);
    const FunctionFile &file = functionFile(FunctionPath(name));
    const QString &path = file.path;
    auto single = [&](const QString &text) { return TArrayStringsTable{TStatementRecord(path, 0, text)}; };

    if (!file.exists)
        return single(QStringLiteral("0"));
    if (!file.readError.isEmpty()) {
        fail(file.readError);
        return {};
    }
    const TArrayStringsTable &f = file.statements;
    if (f.size() < 2)
        return single(QStringLiteral("1"));
    QHash<QString, QString> bindings;
    if (!bindParameters(TLexer::SplitTokens(f[0].text()), call, name, bindings))
        return single(QStringLiteral("2"));

    QList<TStringArray> body;
    body.reserve(f.size() - 1);
    LabelTable labels;
    for (qsizetype i = 1; i < f.size(); ++i) {
        body.append(TLexer::SplitTokens(f[i].text()));
        labels.collect(f[i].text(), labelCounter);
    }
    TArrayStringsTable result;
    result.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        TStringArray &tokens = body[i];
        for (QString &t : tokens) {
            const auto bound = bindings.constFind(t.toLower());
            if (bound != bindings.constEnd())
                t = *bound;
        }
        labels.rename(tokens);
        result.append(TStatementRecord(path, qint32(i + 1), TLexer::GlueTokens(tokens)));
    }
    return result;
}

bool TPreprocessor::expandCalls(TArrayStringsTable &table, int &labelCounter) {
    // Statements of expansions still to look at, the next one last. Each
    // carries the chain of functions it was expanded from, so a function
    // that calls itself (directly or through others) is caught instead of
    // expanding without end. Finishing an expansion before going on with the
    // table keeps the order in which a search from the top would expand.
    struct Pending {
        TStatementRecord statement;
        QStringList chain;
    };
    QList<Pending> waiting;
    TArrayStringsTable done;
    done.reserve(table.size());
    qsizetype next = 0;
    while (next < table.size() || !waiting.isEmpty()) {
        const Pending item = waiting.isEmpty() ? Pending{table[next++], {}} : waiting.takeLast();
        CallSite site;
        if (!findCall(item.statement.text(), site)) {
            done.append(item.statement);
            continue;
        }
        if (item.chain.contains(site.function)) {
            const QString path = (item.chain + QStringList{site.function}).join(QLatin1String(" -> "));
            return fail(QStringLiteral("Рекурсивный вызов функции %1: %2").arg(site.function, path), item.statement);
        }
        TArrayStringsTable body = ExpandFunctionCall(site.callText, labelCounter);
        if (body.isEmpty())
            return fail(failure_.message, item.statement);
        if (done.size() + waiting.size() + (table.size() - next) + body.size() > MaxStatements)
            return fail(QStringLiteral("После подстановки функций в программе больше %1 операторов").arg(MaxStatements),
                        item.statement);
        body.first().setText(site.prefix + body.first().text());
        const QStringList chain = item.chain + QStringList{site.function};
        for (qsizetype i = body.size() - 1; i >= 0; --i)
            waiting.append({body[i], chain});
    }
    table = done;
    return true;
}

TPreprocessor::Status TPreprocessor::PreprocessProgram(const QString &programPath) {
    failure_ = {};
    functions_.clear();
    listed_.clear();
    // Whatever happens, no listing of an earlier run may stay to be compiled.
    removeStaleListing(programPath);

    TArrayStringsTable table;
    QString error;
    if (readPrograms_ && readPrograms_->contains(programPath))
        table = readPrograms_->take(programPath);
    else if (!TLexer::ReadStatementTable(programPath, table, &error)) {
        fail(error);
        return Failed;
    }
    if (table.size() < 3) {
        fail(QStringLiteral("В программе %1 меньше трёх операторов").arg(listingfiles::ShortFileName(programPath)));
        return TooShort;
    }

    int labelCounter = 0;
    LabelTable labels;
    for (const TStatementRecord &st : table)
        labels.collect(st.text(), labelCounter);
    for (TStatementRecord &st : table)
        st.setText(rebuildStatement(st.text(), labels));
    if (!expandCalls(table, labelCounter))
        return Failed;

    table = settleForListing(table);
    for (TStatementRecord &st : table)
        st.setText(LowerAscii(st.text()));
    if (!listingfiles::WriteListing(listingfiles::ListingPath(programPath), table, &error) ||
        !listingfiles::WritePositionFile(listingfiles::PositionPath(programPath), table, &error)) {
        removeStaleListing(programPath);
        fail(error);
        return Failed;
    }
    QString source, recorded; // statements come in runs from one file
    for (TStatementRecord &st : table) {
        if (st.filePath() != source) {
            source = st.filePath();
            recorded = listingfiles::RecordedPath(source);
        }
        st.setFilePath(recorded);
    }
    listed_ = table;
    return Ok;
}
