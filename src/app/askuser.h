#pragma once
// Questions and messages for the user. Logic code asks through this
// interface; windows answer with dialogs, the command-line tool from its
// options, tests from a script.
#include <QList>
#include <QString>
#include <QStringList>

class UserDialogs {
public:
    enum Icon { NoIcon = 0, WarningIcon = 1, QuestionIcon = 2, ErrorIcon = 3, InformationIcon = 4 };

    virtual ~UserDialogs() = default;

    // AskUser: buttons as described by askUserButtonCaptions(); returns the
    // 0-based index of the button chosen. Dismissing the question (Esc, close
    // box) answers the last button. An empty title means the program's title.
    virtual int askUser(const QString &buttons, const QString &text, const QString &title = QString(),
                        int icon = ErrorIcon) = 0;

    // A plain message box with one OK button.
    virtual void showMessage(const QString &text) = 0;
};

// Button captions of a button string: longer than 5 characters it is a
// comma-separated list of captions; otherwise one letter code per button.
QStringList askUserButtonCaptions(const QString &buttons);

// The program's title, used when a question has none.
inline QString applicationTitle() { return QStringLiteral("VO-diz"); }

// The program-wide instance (a console one until start-up installs another).
UserDialogs &userDialogs();
void setUserDialogs(UserDialogs *dialogs);

// Installs dialogs for the lifetime of a scope, restoring the previous ones.
class ScopedUserDialogs {
public:
    explicit ScopedUserDialogs(UserDialogs &d);
    ~ScopedUserDialogs();
    ScopedUserDialogs(const ScopedUserDialogs &) = delete;
    ScopedUserDialogs &operator=(const ScopedUserDialogs &) = delete;

private:
    UserDialogs *previous_;
};

// Answers from a script, in order; when the script runs out, a question is
// dismissed (the last button). Records everything it was shown.
class ScriptedDialogs : public UserDialogs {
public:
    struct Question {
        QString buttons, text, title;
        int icon = 0;
        int answer = 0;
    };
    QList<int> answers;
    QList<Question> questions;
    QStringList messages;

    int askUser(const QString &buttons, const QString &text, const QString &title, int icon) override;
    void showMessage(const QString &text) override;
};

// The command-line tool: prints to stderr; answers every question with the
// first button when assumeYes is set, otherwise dismisses it.
class ConsoleDialogs : public UserDialogs {
public:
    explicit ConsoleDialogs(bool assumeYes = false) : assumeYes_(assumeYes) {}
    void setAssumeYes(bool yes) { assumeYes_ = yes; }
    int askUser(const QString &buttons, const QString &text, const QString &title, int icon) override;
    void showMessage(const QString &text) override;

private:
    bool assumeYes_;
};
