// The two text forms: exact bytes written, what the readers make of odd
// lines, missing and unreadable files, failed writes.
#include "app/syinifile.h"
#include "app/textfile.h"
#include "app/vkwizardfile.h"
#include "persistsamples.h"
#include "filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Loads bytes into a document of the given form, saves it and returns the
// file as it was written back.
template <class Doc> QByteArray loadAndSave(const QByteArray &input, const QString &root) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.txt"));
    writeBytes(path, input);
    Doc doc(path, root);
    QString error;
    if (!doc.LoadError().isEmpty() || !doc.save(&error))
        return "(failed) " + doc.LoadError().toUtf8() + error.toUtf8();
    return readBytes(path);
}

const QByteArray kitchenObjectForm = "object IRConfigList \r\n"
                                     "   object IRConfig \r\n"
                                     "      IRName = Kitchen\r\n"
                                     "      object RemoteList \r\n"
                                     "         object Remote \r\n"
                                     "            SysDBType = 0\r\n"
                                     "            RemoteID = 3\r\n"
                                     "         end\r\n"
                                     "      end\r\n"
                                     "   end\r\n"
                                     "end\r\n";

} // namespace

class TstPersistDocs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerPersistSamples(); }

    void iniFormWritesSectionsDepthFirst() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.ini"));
        {
            TSyIniFile doc(path, QStringLiteral("AppSettings"));
            TSyTreeNode &root = doc.Root();
            root.AddParam(QStringLiteral("GridColor1"), 255);
            root.AddParam(QStringLiteral("DatabaseDir"), QStringLiteral("C:\\Program\\База"));
            root.AddParam(QStringLiteral("Flag"), true);
            root.AddChild(QStringLiteral("LastPrs")).AddParam(QStringLiteral("item"), QStringLiteral("C:\\h.lpr"));
            TSyTreeNode &empty = root.AddChild(QStringLiteral("NoParams")); // no header of its own
            empty.AddChild(QStringLiteral("Deep")).AddParam(QStringLiteral("x"), QString());
            QVERIFY(doc.save());
        }
        QCOMPARE(readBytes(path), QByteArray("[AppSettings]\r\n"
                                             "GridColor1=255\r\n"
                                             "DatabaseDir=C:\\Program\\\xC1\xE0\xE7\xE0\r\n"
                                             "Flag=True\r\n"
                                             "\r\n"
                                             "[LastPrs]\r\n"
                                             "item=C:\\h.lpr\r\n"
                                             "\r\n"
                                             "[NoParams\\Deep]\r\n"
                                             "x=\r\n"
                                             "\r\n"));
        // Read back and written again: the same bytes.
        QCOMPARE(loadAndSave<TSyIniFile>(readBytes(path), QStringLiteral("AppSettings")), readBytes(path));
    }

    void objectFormMatchesTheConfigurationExample() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.ir"));
        TSampleConfigList list;
        fillKitchenExample(list);
        {
            TVKWizardFile doc(path, QStringLiteral("IRConfigList"));
            list.SaveToNode(doc.Root());
            QVERIFY(doc.save());
        }
        QCOMPARE(readBytes(path), kitchenObjectForm);

        TVKWizardFile doc(path, QStringLiteral("IRConfigList"));
        TSampleConfigList back;
        back.LoadFromNode(doc.Root());
        QVERIFY(back.IsEqual(&list));
        QCOMPARE(loadAndSave<TVKWizardFile>(kitchenObjectForm, QStringLiteral("IRConfigList")), kitchenObjectForm);
    }

    void iniReading_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("written"); // after a load and a save, root "AppSettings"
        QTest::newRow("semicolon cuts a value")
            << QByteArray("[AppSettings]\r\nText=a;b\r\n") << QByteArray("[AppSettings]\r\nText=a\r\n\r\n");
        QTest::newRow("comment after a header keeps the bracket")
            << QByteArray("[Sec] ;note\r\nk=v\r\n") << QByteArray("[Sec]]\r\nk=v\r\n\r\n");
        QTest::newRow("root name in other case is a child")
            << QByteArray("[appsettings]\r\nk=v\r\n") << QByteArray("[appsettings]\r\nk=v\r\n\r\n");
        QTest::newRow("repeated key kept twice")
            << QByteArray("[AppSettings]\r\nk=1\r\nk=2\r\n") << QByteArray("[AppSettings]\r\nk=1\r\nk=2\r\n\r\n");
        QTest::newRow("line without equals")
            << QByteArray("[AppSettings]\r\njunk\r\n") << QByteArray("[AppSettings]\r\n=\r\n\r\n");
        QTest::newRow("lines before the first header ignored")
            << QByteArray("k=v\r\n[AppSettings]\r\na=1\r\n") << QByteArray("[AppSettings]\r\na=1\r\n\r\n");
        QTest::newRow("comments blank lines and blanks go")
            << QByteArray("; top\r\n\r\n  [AppSettings]  \r\n\t a = 1 \r\n;x=2\r\n\r\n")
            << QByteArray("[AppSettings]\r\na=1\r\n\r\n");
        QTest::newRow("any line end")
            << QByteArray("[AppSettings]\ra=1\nb=2\r\n[X]\nc=3") << QByteArray("[AppSettings]\r\na=1\r\nb=2\r\n\r\n[X]\r\nc=3\r\n\r\n");
        QTest::newRow("nested path and empty pieces")
            << QByteArray("[A\\\\B\\]\r\nk=1\r\n[a]\r\nj=2\r\n")
            << QByteArray("[A]\r\nj=2\r\n\r\n[A\\B]\r\nk=1\r\n\r\n");
        QTest::newRow("header of nothing is the root")
            << QByteArray("[]\r\nk=1\r\n") << QByteArray("[AppSettings]\r\nk=1\r\n\r\n");
        QTest::newRow("first equals splits")
            << QByteArray("[AppSettings]\r\n a = b = c \r\n") << QByteArray("[AppSettings]\r\na=b = c\r\n\r\n");
        QTest::newRow("sections without keys vanish")
            << QByteArray("[AppSettings]\r\n[Empty]\r\n") << QByteArray("");
        QTest::newRow("non-breaking space is text")
            << QByteArray("[AppSettings]\r\nk=\xA0v\xA0\r\n") << QByteArray("[AppSettings]\r\nk=\xA0v\xA0\r\n\r\n");
    }
    void iniReading() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, written);
        QCOMPARE(loadAndSave<TSyIniFile>(input, QStringLiteral("AppSettings")), written);
    }

    void objectReading_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("written"); // after a load and a save, root "R"
        QTest::newRow("root name in the file is not used")
            << QByteArray("object Other\r\nk = v\r\nend\r\n") << QByteArray("object R \r\n   k = v\r\nend\r\n");
        QTest::newRow("key beginning with object opens a node")
            << QByteArray("object R\r\nobjectName = x\r\nend\r\nend\r\n")
            << QByteArray("object R \r\n   object Name = x \r\n   end\r\nend\r\n");
        QTest::newRow("end without object, lines outside ignored")
            << QByteArray("end\r\nk = 1\r\nobject R\r\na = 1\r\nend\r\nend\r\nb = 2\r\n")
            << QByteArray("object R \r\n   a = 1\r\nend\r\n");
        QTest::newRow("missing ends")
            << QByteArray("object R\r\nobject A\r\nobject B\r\nx = 1\r\n")
            << QByteArray("object R \r\n   object A \r\n      object B \r\n         x = 1\r\n      end\r\n   end\r\nend\r\n");
        QTest::newRow("second object outside reopens the root")
            << QByteArray("object R\r\na = 1\r\nend\r\nobject S\r\nb = 2\r\nend\r\n")
            << QByteArray("object R \r\n   a = 1\r\n   b = 2\r\nend\r\n");
        QTest::newRow("end with a comment is no end")
            << QByteArray("object R\r\nobject A\r\nend ;c\r\nk = 1\r\nend\r\nend\r\n")
            << QByteArray("object R \r\n   object A \r\n       = \r\n      k = 1\r\n   end\r\nend\r\n");
        QTest::newRow("End in capitals is a key")
            << QByteArray("object R\r\nEnd\r\nend\r\n") << QByteArray("object R \r\n    = \r\nend\r\n");
        QTest::newRow("repeated names, empty value, comment")
            << QByteArray("object R\n  object A\n  end\n  object A ; second\n  v =\n  end\nend")
            << QByteArray("object R \r\n   object A \r\n   end\r\n   object A \r\n      v = \r\n   end\r\nend\r\n");
    }
    void objectReading() {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, written);
        QCOMPARE(loadAndSave<TVKWizardFile>(input, QStringLiteral("R")), written);
    }

    void lineBreaksInsideValuesBecomeBlanks() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("n.ini"));
        const QString ir = dir.filePath(QStringLiteral("n.ir"));
        TSyIniFile iniDoc(ini, QStringLiteral("R"));
        TVKWizardFile irDoc(ir, QStringLiteral("R"));
        for (TSyTreeNode *root : {&iniDoc.Root(), &irDoc.Root()}) {
            root->AddParam(QStringLiteral("Note"), QStringLiteral("one\r\ntwo\nthree"));
            root->AddParam(QStringLiteral("After"), 1);
        }
        QVERIFY(iniDoc.save());
        QVERIFY(irDoc.save());
        QCOMPARE(readBytes(ini), QByteArray("[R]\r\nNote=one  two three\r\nAfter=1\r\n\r\n"));
        QCOMPARE(readBytes(ir), QByteArray("object R \r\n   Note = one  two three\r\n   After = 1\r\nend\r\n"));
    }

    void missingFileGivesAnEmptyDocument() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("new.ini"));
        const QString ir = dir.filePath(QStringLiteral("new.ir"));
        TSyIniFile iniDoc(ini, QStringLiteral("AppSettings"));
        TVKWizardFile irDoc(ir, QStringLiteral("IRConfigList"));
        QVERIFY(iniDoc.LoadError().isEmpty());
        QCOMPARE(iniDoc.Root().ParamCount() + iniDoc.Root().ChildCount(), 0);
        QVERIFY(iniDoc.save());
        QVERIFY(irDoc.save());
        QCOMPARE(readBytes(ini), QByteArray(""));
        QCOMPARE(readBytes(ir), QByteArray("object IRConfigList \r\nend\r\n"));
    }

    void replaceModeIgnoresTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.ini"));
        writeBytes(path, "[AppSettings]\r\nold=1\r\n");
        TSyIniFile doc(path, QStringLiteral("AppSettings"), TSyDocument::Replace);
        QCOMPARE(doc.Root().ParamCount(), 0);
    }

    void unreadableFileIsNeverOverwritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("folder.ini"));
        QVERIFY(QDir().mkpath(path)); // exists, yet cannot be read as a file
        TSyIniFile doc(path, QStringLiteral("AppSettings"));
        QVERIFY(!doc.LoadError().isEmpty());
        QString error;
        QVERIFY(!doc.save(&error));
        QCOMPARE(error, doc.LoadError());
        QVERIFY(QFileInfo(path).isDir());
    }

    void tooDeepNestingIsRefusedNotCrashed() {
        QByteArray deep = "object R\r\n";
        for (int i = 0; i < TSyDocument::MaxDepth + 5; ++i)
            deep += "object A\r\n";
        QByteArray deepIni = "[" + QByteArray("A\\").repeated(TSyDocument::MaxDepth + 5) + "]\r\nk=1\r\n";
        QTemporaryDir dir;
        const QString ir = dir.filePath(QStringLiteral("deep.ir"));
        const QString ini = dir.filePath(QStringLiteral("deep.ini"));
        writeBytes(ir, deep);
        writeBytes(ini, deepIni);
        TVKWizardFile irDoc(ir, QStringLiteral("R"));
        TSyIniFile iniDoc(ini, QStringLiteral("R"));
        QVERIFY2(irDoc.LoadError().contains(QStringLiteral("строка %1").arg(TSyDocument::MaxDepth + 2)),
                 qPrintable(irDoc.LoadError()));
        QVERIFY(iniDoc.LoadError().contains(QStringLiteral("строка 1")));
        QVERIFY(!irDoc.save());
        QCOMPARE(readBytes(ir), deep);
        QCOMPARE(readBytes(ini), deepIni);
        // Exactly the limit is still read.
        QByteArray limit = "object R\r\n" + QByteArray("object A\r\n").repeated(TSyDocument::MaxDepth);
        QVERIFY(loadAndSave<TVKWizardFile>(limit, QStringLiteral("R")).startsWith("object R \r\n"));
    }

    void failedSaveKeepsTheOldFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.ir"));
        writeBytes(path, kitchenObjectForm);
        TVKWizardFile doc(path, QStringLiteral("IRConfigList"));
        doc.Root().Clear();
        textfile::setWriteFailureHook([](const QString &) { return true; });
        QString error;
        const bool saved = doc.save(&error);
        textfile::setWriteFailureHook({});
        QVERIFY(!saved);
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes(path), kitchenObjectForm);

        // Text that Windows-1251 cannot hold is refused the same way.
        doc.Root().AddParam(QStringLiteral("k"), QStringLiteral("日本"));
        QVERIFY(!doc.save(&error));
        QCOMPARE(readBytes(path), kitchenObjectForm);
    }
};

QTEST_GUILESS_MAIN(TstPersistDocs)
#include "tst_persistdocs.moc"
