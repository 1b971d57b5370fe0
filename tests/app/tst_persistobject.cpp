// Persistent objects: what SaveToNode writes, how LoadFromNode reads it
// back, Assign, IsEqual, collections, string lists and the class registry.
#include "app/syregistry.h"
#include "persistsamples.h"

#include <QTest>

namespace {

QString errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const ESyConvertError &e) {
        return QStringLiteral("convert: ") + e.message();
    } catch (const ESyException &e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

QStringList paramNames(const TSyTreeNode &node) {
    QStringList names;
    for (int i = 0; i < node.ParamCount(); ++i)
        names << node.ParamName(i);
    return names;
}

QStringList childNames(const TSyTreeNode &node) {
    QStringList names;
    for (int i = 0; i < node.ChildCount(); ++i)
        names << node.Child(i).Name();
    return names;
}

} // namespace

class TstPersistObject : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { registerPersistSamples(); }

    void saveWalksPropertiesInDeclarationOrderInheritedFirst() {
        TSampleLabelledRemote remote;
        remote.RemoteID = 7;
        remote.Label = QStringLiteral("ТВ");
        TSyTreeNode node(QStringLiteral("n"));
        node.AddParam(QStringLiteral("stale"), 1); // cleared by the save
        node.AddChild(QStringLiteral("stale"));
        remote.SaveToNode(node);
        QCOMPARE(paramNames(node), (QStringList{"SysDBType", "RemoteID", "Label"}));
        QCOMPARE(node.ChildCount(), 0);
        QCOMPARE(node.ParamValue(1), QVariant(7));
        QCOMPARE(node.ParamValue(2), QVariant(QStringLiteral("ТВ")));
    }

    void everyKindSavesItsValue() {
        TSampleAll all;
        all.Number = -5;
        all.Colour = 0xFF00FF;
        all.Flag = true;
        all.Shape = TSampleShape::Oval;
        TSyTreeNode node;
        all.SaveToNode(node);
        QCOMPARE(paramNames(node), (QStringList{"Number", "Colour", "Text", "Flag", "Shape"}));
        QCOMPARE(node.ParamValue(0), QVariant(-5));
        QCOMPARE(node.ParamValue(1), QVariant(0xFF00FF));
        QCOMPARE(node.ParamValue(2), QVariant(QString())); // empty text is still written
        QCOMPARE(node.ParamValue(3), QVariant(true));
        QCOMPARE(node.ParamValue(4), QVariant(2));
        // The empty string list leaves no node; the absent object leaves a mark.
        QCOMPARE(childNames(node), QStringList{"Optional"});
        QCOMPARE(paramNames(node.Child(0)), QStringList{"#Assigned"});
        QCOMPARE(syValueText(node.Child(0).ParamValue(0)), QStringLiteral("False"));
    }

    void absentObjectRoundTripsAsAbsent() {
        TSampleAll source;
        TSyTreeNode node;
        source.SaveToNode(node);
        TSampleAll target;
        target.Optional = std::make_unique<TSampleRemote>();
        target.LoadFromNode(node);
        QVERIFY(!target.Optional);
    }

    void missingObjectIsCreatedAndLoadedFromItsNode() {
        TSyTreeNode node;
        TSyTreeNode &child = node.AddChild(QStringLiteral("optional"));
        child.AddParam(QStringLiteral("RemoteID"), QStringLiteral("12"));
        TSampleAll all;
        all.LoadFromNode(node);
        QVERIFY(all.Optional);
        QCOMPARE(all.Optional->RemoteID, 12);
    }

    void textConvertsToEachKind_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected"); // invalid: a conversion error
        QTest::addColumn<QString>("typeName");  // named by that error
        QTest::newRow("integer") << "Number" << "-12" << QVariant(-12) << "";
        QTest::newRow("integer dollar hex") << "Number" << "$FF" << QVariant(255) << "";
        QTest::newRow("integer 0x hex") << "Number" << "0x10" << QVariant(16) << "";
        QTest::newRow("integer letters") << "Number" << "abc" << QVariant() << "Integer";
        QTest::newRow("integer empty") << "Number" << "" << QVariant() << "Integer";
        QTest::newRow("integer beyond 32 bits") << "Number" << "2147483648" << QVariant() << "Integer";
        QTest::newRow("integer lowest") << "Number" << "-2147483648" << QVariant(int(0x80000000)) << "";
        QTest::newRow("colour") << "Colour" << "16711680" << QVariant(16711680) << "";
        QTest::newRow("colour hex pattern") << "Colour" << "$FFFFFFFF" << QVariant(-1) << "";
        QTest::newRow("colour name") << "Colour" << "clRed" << QVariant() << "Colour";
        QTest::newRow("bool True") << "Flag" << "True" << QVariant(true) << "";
        QTest::newRow("bool false any case") << "Flag" << "FALSE" << QVariant(false) << "";
        QTest::newRow("bool number") << "Flag" << "1" << QVariant(true) << "";
        QTest::newRow("bool zero") << "Flag" << "0" << QVariant(false) << "";
        QTest::newRow("bool word") << "Flag" << "yes" << QVariant() << "Boolean";
        QTest::newRow("enum ordinal") << "Shape" << "1" << QVariant(1) << "";
        QTest::newRow("enum name") << "Shape" << "oval" << QVariant(2) << "";
        QTest::newRow("enum out of range") << "Shape" << "3" << QVariant() << "Enumeration";
        QTest::newRow("enum negative") << "Shape" << "-1" << QVariant() << "Enumeration";
        QTest::newRow("text anything") << "Text" << "a=b;c" << QVariant(QStringLiteral("a=b;c")) << "";
    }
    void textConvertsToEachKind() {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        QFETCH(QString, typeName);
        TSyTreeNode node;
        node.AddParam(key.toLower(), text); // keys match without regard to case
        TSampleAll all;
        all.Number = 99;
        const QString error = errorOf([&] { all.LoadFromNode(node); });
        if (!expected.isValid()) {
            QCOMPARE(error, QStringLiteral("convert: Cannot convert \"%1\" to %2 for property %3").arg(text, typeName, key));
            QCOMPARE(all.Number, 99);
            return;
        }
        QCOMPARE(error, QStringLiteral("(no error)"));
        TSyTreeNode back;
        all.SaveToNode(back);
        QCOMPARE(back.ParamByName(key), expected);
    }

    void conversionErrorEndsTheLoadKeepingEarlierValues() {
        TSyTreeNode node;
        node.AddParam(QStringLiteral("Number"), QStringLiteral("1"), 3);
        node.AddParam(QStringLiteral("Colour"), QStringLiteral("red"), 4);
        node.AddParam(QStringLiteral("Text"), QStringLiteral("after"), 5);
        TSampleAll all;
        try {
            all.LoadFromNode(node);
            QFAIL("no error");
        } catch (const ESyConvertError &e) {
            QCOMPARE(e.property(), QStringLiteral("Colour"));
            QCOMPARE(e.value(), QStringLiteral("red"));
        }
        QCOMPARE(all.Number, 1);
        QCOMPARE(all.Text, QString());

        // With a handler the bad value is reported with its line and skipped.
        TSampleAll tolerant;
        QList<int> lines;
        tolerant.LoadFromNode(node, [&](const ESyException &, int line) { lines << line; });
        QCOMPARE(lines, QList<int>{4});
        QCOMPARE(tolerant.Number, 1);
        QCOMPARE(tolerant.Colour, 0);
        QCOMPARE(tolerant.Text, QStringLiteral("after"));
    }

    void repeatedKeyLastWinsUnknownKeysIgnoredOthersKept() {
        TSyTreeNode node;
        node.AddParam(QStringLiteral("Number"), QStringLiteral("1"));
        node.AddParam(QStringLiteral("NUMBER"), QStringLiteral("2"));
        node.AddParam(QStringLiteral("Nobody"), QStringLiteral("x"));
        node.AddParam(QString(), QString());
        node.AddChild(QStringLiteral("NoSuchObject")).AddParam(QStringLiteral("a"), 1);
        TSampleAll all;
        all.Text = QStringLiteral("kept");
        all.LoadFromNode(node);
        QCOMPARE(all.Number, 2);
        QCOMPARE(all.Text, QStringLiteral("kept"));
    }

    void absenceMarkOnUnknownOrValueKey() {
        TSyTreeNode node;
        node.AddChild(QStringLiteral("Ghost")).AddParam(QStringLiteral("#Assigned"), false);
        TSampleAll all;
        QCOMPARE(errorOf([&] { all.LoadFromNode(node); }), QStringLiteral("Property Ghost does not exist"));

        // A value key cannot hold "nothing"; a sub-object held by value is
        // never taken away.
        TSyTreeNode marks;
        marks.AddChild(QStringLiteral("Number")).AddParam(QStringLiteral("#Assigned"), QStringLiteral("False"));
        marks.AddChild(QStringLiteral("Lines")).AddParam(QStringLiteral("#Assigned"), QStringLiteral("True"));
        all.Number = 4;
        all.Lines.Strings = QStringList{"a"};
        all.LoadFromNode(marks);
        QCOMPARE(all.Number, 4);
        QCOMPARE(all.Lines.Strings, QStringList{"a"});
    }

    void assignCopiesOnlyTheSameClass() {
        TSampleConfig target;
        TSampleRemote remote;
        QCOMPARE(errorOf([&] { target.Assign(&remote); }),
                 QStringLiteral("convert: Cannot assign a TSampleRemote to a TSampleConfig"));
        QCOMPARE(errorOf([&] { target.Assign(nullptr); }), QStringLiteral("convert: Cannot assign a nil to a TSampleConfig"));
        // A derived class is not the same class either.
        TSampleLabelledRemote labelled;
        QCOMPARE(errorOf([&] { remote.Assign(&labelled); }),
                 QStringLiteral("convert: Cannot assign a TSampleLabelledRemote to a TSampleRemote"));

        TSampleConfigList source;
        fillKitchenExample(source);
        TSampleConfigList copy;
        copy.Assign(&source);
        QCOMPARE(copy.Count(), 1);
        QCOMPARE(copy.Item(0)->IRName, QStringLiteral("Kitchen"));
        QCOMPARE(copy.Item(0)->RemoteList.Item(0)->RemoteID, 3);
        QVERIFY(copy.IsEqual(&source));
        QVERIFY(copy.Item(0) != source.Item(0));
    }

    void assignFromEmptyListsEmptiesTheTarget() {
        TSampleAll source;
        TSampleAll target;
        target.Lines.Strings = QStringList{"old"};
        target.Assign(&source);
        QCOMPARE(target.Lines.Strings, QStringList{});
        QVERIFY(target.IsEqual(&source));

        TSampleConfig emptyConfig, filled;
        filled.RemoteList.Add(std::make_unique<TSampleRemote>());
        filled.Assign(&emptyConfig);
        QCOMPARE(filled.RemoteList.Count(), 0);
    }

    void isEqualComparesClassAndEveryValue() {
        TSampleAll a, b;
        QVERIFY(a.IsEqual(&b));
        b.Lines.Strings << QStringLiteral("x");
        QVERIFY(!a.IsEqual(&b));
        a.Lines.Strings << QStringLiteral("x");
        QVERIFY(a.IsEqual(&b));
        b.Optional = std::make_unique<TSampleRemote>();
        QVERIFY(!a.IsEqual(&b));
        QVERIFY(!a.IsEqual(nullptr));
        TSampleRemote r;
        TSampleLabelledRemote l;
        QVERIFY(!r.IsEqual(&l)); // same values written, different class
        QVERIFY(!l.IsEqual(&r));
    }

    void collectionNamesItemsByTheRegistry() {
        TSampleRemoteList list;
        auto labelled = std::make_unique<TSampleLabelledRemote>();
        labelled->Label = QStringLiteral("L");
        list.Add(std::make_unique<TSampleRemote>());
        list.Add(std::move(labelled));
        TSyTreeNode node;
        list.SaveToNode(node);
        QCOMPARE(childNames(node), (QStringList{"Remote", "LabelledRemote"}));

        TSampleRemoteList back;
        back.Add(std::make_unique<TSampleRemote>()); // replaced by the load
        back.LoadFromNode(node);
        QCOMPARE(back.Count(), 2);
        QCOMPARE(back.Item(1)->ClassName(), QStringLiteral("TSampleLabelledRemote"));
        QVERIFY(back.IsEqual(&list));

        // Registry names match without regard to case when reading.
        node.Child(0).SetName(QStringLiteral("REMOTE"));
        back.LoadFromNode(node);
        QCOMPARE(back.Count(), 2);
    }

    void collectionClassErrors() {
        TSampleRemoteList list;
        list.Add(std::make_unique<TSampleUnregistered>());
        TSyTreeNode node;
        QCOMPARE(errorOf([&] { list.SaveToNode(node); }), QStringLiteral("Class TSampleUnregistered not found"));

        // Unknown names, and registered classes that are no remotes, are refused.
        for (const QString &name : {QStringLiteral("Bogus"), QStringLiteral("IRConfig")}) {
            TSyTreeNode bad;
            bad.AddChild(QStringLiteral("Remote")).AddParam(QStringLiteral("RemoteID"), QStringLiteral("1"));
            bad.AddChild(name);
            TSampleRemoteList target;
            QCOMPARE(errorOf([&] { target.LoadFromNode(bad); }), QStringLiteral("Class %1 not found").arg(name));
            QCOMPARE(target.Count(), 1); // what was read before stays
        }
        TSampleConfigList configs;
        TSyCollection &untyped = configs;
        QCOMPARE(errorOf([&] { untyped.Add(std::make_unique<TSampleRemote>()); }),
                 QStringLiteral("convert: Cannot assign a TSampleRemote to a TSampleConfig"));
    }

    void collectionOperations() {
        TSampleRemoteList list;
        QCOMPARE(list.Add(std::make_unique<TSampleRemote>()), 0);
        QCOMPARE(list.Add(std::make_unique<TSampleRemote>()), 1);
        TSampleRemote *second = list.Item(1);
        QCOMPARE(list.IndexOf(second), 1);
        list.Delete(0);
        QCOMPARE(list.IndexOf(second), 0);
        QCOMPARE(list.IndexOf(nullptr), -1);
        QVERIFY(errorOf([&] { list.Item(3); }).contains(QLatin1String("out of bounds")));
        list.Clear();
        QCOMPARE(list.Count(), 0);
    }

    void stringListReadsOnlyExactItemKeys() {
        TSyTreeNode node;
        node.AddParam(QStringLiteral("item"), QStringLiteral("a"));
        node.AddParam(QStringLiteral("Item"), QStringLiteral("capital"));
        node.AddParam(QStringLiteral("item"), QStringLiteral("a"));
        node.AddParam(QStringLiteral("other"), QStringLiteral("x"));
        node.AddParam(QStringLiteral("item"), 5);
        TSyStringsAdapter list;
        list.Strings = QStringList{"replaced"};
        list.LoadFromNode(node);
        QCOMPARE(list.Strings, (QStringList{"a", "a", "5"}));

        TSyTreeNode back;
        list.SaveToNode(back);
        QCOMPARE(paramNames(back), (QStringList{"item", "item", "item"}));
    }

    void emptyListsLeaveNoNodeAndAreNotClearedByItsAbsence() {
        TSampleAll all;
        TSyTreeNode node;
        all.SaveToNode(node);
        QVERIFY(!node.HasChild(QStringLiteral("Lines")));
        all.Lines.Strings = QStringList{"kept"};
        all.LoadFromNode(node);
        QCOMPARE(all.Lines.Strings, QStringList{"kept"});
    }

    void registryLookups() {
        TSySystemRegistry &registry = TSySystemRegistry::instance();
        QCOMPARE(registry.FindClass(QStringLiteral("irconfig")), &TSampleConfig::staticClassInfo());
        QCOMPARE(registry.FindClass(QStringLiteral("nothing")), nullptr);
        QCOMPARE(registry.RegisteredName(TSampleUnregistered::staticClassInfo()), QString());
        // An empty name means the class's own; the first registration names it.
        RegisterPersistentClass<TSampleRemoteList>();
        QCOMPARE(registry.FindClass(QStringLiteral("TSAMPLEREMOTELIST")), &TSampleRemoteList::staticClassInfo());
        QCOMPARE(registry.RegisteredName(TSampleRemoteList::staticClassInfo()), QStringLiteral("RemoteList"));
    }
};

QTEST_GUILESS_MAIN(TstPersistObject)
#include "tst_persistobject.moc"
