#pragma once
// Errors of the persistence framework. Their texts are the framework's own
// (English); the code that loads or saves decides what the user is told.
#include <QString>
#include <exception>

class ESyException : public std::exception {
public:
    explicit ESyException(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString &message() const { return message_; }
    const char *what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// A value that does not fit where it should go: a wrong class in Assign, or
// a parameter text that cannot become its property's type. For the latter
// the property and the text are kept so that callers can name them.
class ESyConvertError : public ESyException {
public:
    explicit ESyConvertError(QString message, QString property = {}, QString value = {})
        : ESyException(std::move(message)), property_(std::move(property)), value_(std::move(value)) {}
    const QString &property() const { return property_; }
    const QString &value() const { return value_; }

private:
    QString property_;
    QString value_;
};
