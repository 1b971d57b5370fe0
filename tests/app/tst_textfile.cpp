// Windows-1251 text files: conversion, line ends, all-or-nothing writes.
#include "app/askuser.h"
#include "app/text1251.h"
#include "app/textfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstTextFile : public QObject {
    Q_OBJECT
private slots:
    void everyByteRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QByteArray back;
        QVERIFY(cp1251::encode(cp1251::decode(all), back));
        QCOMPARE(back, all);
        QCOMPARE(cp1251::decode("\xC0\xFF\xA8\xB8\xB9"), QStringLiteral("АяЁё№"));
    }

    void unencodableTextIsRefusedBeforeWriting() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        QVERIFY(textfile::writeLines(path, {QStringLiteral("старое")}));
        QString error;
        QVERIFY(!textfile::writeLines(path, {QStringLiteral("ok"), QStringLiteral("日本")}, &error));
        QVERIFY2(error.contains(QStringLiteral("строке 2")), qPrintable(error));
        QStringList lines;
        QVERIFY(textfile::readLines(path, lines));
        QCOMPARE(lines, QStringList{QStringLiteral("старое")});
    }

    void linesEndWithCrLfAndReadAnyEnding() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("b.txt"));
        QVERIFY(textfile::writeLines(path, {QStringLiteral("Привет"), QString(), QStringLiteral("x")}));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2\r\n\r\nx\r\n"));
        QCOMPARE(textfile::splitLines(QStringLiteral("a\rb\nc\r\n\r\nd")),
                 (QStringList{"a", "b", "c", "", "d"}));
        QCOMPARE(textfile::splitLines(QStringLiteral("a\r\n")), QStringList{"a"});
        QCOMPARE(textfile::splitLines(QString()), QStringList{});
    }

    void failedWriteKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("c.txt"));
        QVERIFY(textfile::writeLines(path, {QStringLiteral("один"), QStringLiteral("два")}));
        textfile::setWriteFailureHook([](const QString &) { return true; });
        QString error;
        QVERIFY(!textfile::writeLines(path, {QStringLiteral("три")}, &error));
        textfile::setWriteFailureHook({});
        QVERIFY(!error.isEmpty());
        QStringList lines;
        QVERIFY(textfile::readLines(path, lines));
        QCOMPARE(lines, (QStringList{QStringLiteral("один"), QStringLiteral("два")}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"c.txt"});
    }

    void askUserButtons_data() {
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("до") << "до" << QStringList{"Да", "Отмена"};
        QTest::newRow("дно") << "дно" << QStringList{"Да", "Нет", "Отмена"};
        QTest::newRow("latin O") << "O" << QStringList{"Ok"};
        QTest::newRow("five codes") << "1звпс" << QStringList{"Закрыть", "ЗАПУСК", "Выполнить", "Продолжить", "Сохранить"};
        QTest::newRow("upper Cyrillic") << "Д" << QStringList{"?"};
        QTest::newRow("list") << "Первый,Второй" << QStringList{"Первый", "Второй"};
        QTest::newRow("six, no comma") << "дндндн" << QStringList{"дндндн"};
    }
    void askUserButtons() {
        QFETCH(QString, buttons);
        QFETCH(QStringList, captions);
        QCOMPARE(askUserButtonCaptions(buttons), captions);
    }

    void dismissedQuestionAnswersTheLastButton() {
        ScriptedDialogs d;
        QCOMPARE(d.askUser(QStringLiteral("до"), QStringLiteral("?"), {}, 3), 1);
        QCOMPARE(d.askUser(QStringLiteral("дн"), QStringLiteral("?"), {}, 3), 1);
        d.answers = {0};
        QCOMPARE(d.askUser(QStringLiteral("дно"), QStringLiteral("?"), {}, 3), 0);
        QCOMPARE(d.askUser(QStringLiteral("дно"), QStringLiteral("?"), {}, 3), 2);
    }
};

QTEST_GUILESS_MAIN(TstTextFile)
#include "tst_textfile.moc"
