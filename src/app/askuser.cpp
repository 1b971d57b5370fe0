#include "askuser.h"

#include <cstdio>

QStringList askUserButtonCaptions(const QString &buttons) {
    if (buttons.size() > 5)
        return buttons.split(QLatin1Char(','));
    QStringList captions;
    for (QChar c : buttons) {
        // Only Latin letters change case here.
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = c.toLower();
        switch (c.unicode()) {
        case u'д': captions << QStringLiteral("Да"); break;
        case u'н': captions << QStringLiteral("Нет"); break;
        case u'o': captions << QStringLiteral("Ok"); break;
        case u'1': captions << QStringLiteral("Закрыть"); break;
        case u'о': captions << QStringLiteral("Отмена"); break;
        case u'з': captions << QStringLiteral("ЗАПУСК"); break;
        case u'в': captions << QStringLiteral("Выполнить"); break;
        case u'п': captions << QStringLiteral("Продолжить"); break;
        case u'с': captions << QStringLiteral("Сохранить"); break;
        default: captions << QStringLiteral("?"); break;
        }
    }
    return captions;
}

namespace {
UserDialogs *&current() {
    static ConsoleDialogs console;
    static UserDialogs *dialogs = &console;
    return dialogs;
}

int lastButton(const QString &buttons) { return qMax(0, int(askUserButtonCaptions(buttons).size()) - 1); }
} // namespace

UserDialogs &userDialogs() { return *current(); }
void setUserDialogs(UserDialogs *dialogs) { current() = dialogs; }

ScopedUserDialogs::ScopedUserDialogs(UserDialogs &d) : previous_(current()) { current() = &d; }
ScopedUserDialogs::~ScopedUserDialogs() { current() = previous_; }

int ScriptedDialogs::askUser(const QString &buttons, const QString &text, const QString &title, int icon) {
    const int answer = answers.isEmpty() ? lastButton(buttons) : answers.takeFirst();
    questions.append({buttons, text, title, icon, answer});
    return answer;
}

void ScriptedDialogs::showMessage(const QString &text) { messages << text; }

int ConsoleDialogs::askUser(const QString &buttons, const QString &text, const QString &, int) {
    const QStringList captions = askUserButtonCaptions(buttons);
    const int answer = assumeYes_ ? 0 : lastButton(buttons);
    std::fprintf(stderr, "%s [%s] -> %s\n", qUtf8Printable(text), qUtf8Printable(captions.join(QLatin1Char('/'))),
                 qUtf8Printable(captions.value(answer)));
    return answer;
}

void ConsoleDialogs::showMessage(const QString &text) { std::fprintf(stderr, "%s\n", qUtf8Printable(text)); }
