// Tree nodes: lookup rules, unassigned values, errors and copies.
#include "app/sytreenode.h"

#include <QTest>

namespace {

QString errorOf(const std::function<void()> &f) {
    try {
        f();
    } catch (const ESyException &e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

} // namespace

class TstPersistTree : public QObject {
    Q_OBJECT
private slots:
    void namesMatchWithoutCaseFirstWinsDuplicatesKept() {
        TSyTreeNode root(QStringLiteral("R"));
        TSyTreeNode &a1 = root.AddChild(QStringLiteral("Alpha"));
        root.AddChild(QStringLiteral("ALPHA"));
        QCOMPARE(root.ChildCount(), 2);
        QCOMPARE(root.IndexOfChild(QStringLiteral("alpha")), 0);
        QCOMPARE(&root.ChildByName(QStringLiteral("aLpHa")), &a1);
        QCOMPARE(root.IndexOfChild(QStringLiteral("beta")), -1);
        TSyTreeNode &beta = root.ChildByName(QStringLiteral("Beta"));
        QCOMPARE(root.ChildCount(), 3);
        QCOMPARE(beta.Parent(), &root);
        QCOMPARE(root.Parent(), nullptr);

        root.AddParam(QStringLiteral("Key"), 1);
        root.AddParam(QStringLiteral("key"), 2);
        QCOMPARE(root.ParamCount(), 2);
        QCOMPARE(root.ParamByName(QStringLiteral("KEY")).toInt(), 1);
        root.SetParam(QStringLiteral("kEy"), 3); // replaces the first only
        QCOMPARE(root.ParamValue(0).toInt(), 3);
        QCOMPARE(root.ParamValue(1).toInt(), 2);
        root.SetParam(QStringLiteral("Other"), QStringLiteral("x")); // appends
        QCOMPARE(root.ParamName(2), QStringLiteral("Other"));
    }

    void unassignedValuesAreNeverStored() {
        TSyTreeNode node;
        node.AddParam(QStringLiteral("a"), QVariant());
        QCOMPARE(node.ParamCount(), 0);
        node.AddParam(QStringLiteral("a"), QString()); // empty text is a value
        QCOMPARE(node.ParamCount(), 1);
        node.SetParam(QStringLiteral("A"), QVariant());
        QCOMPARE(node.ParamCount(), 0);
        node.AddParam(QStringLiteral("b"), 5);
        node.SetParamValue(0, QVariant());
        QCOMPARE(node.ParamCount(), 0);
        node.SetParam(QStringLiteral("c"), QVariant()); // nothing to replace, nothing added
        QCOMPARE(node.ParamCount(), 0);
    }

    void valueTexts_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("true") << QVariant(true) << "True";
        QTest::newRow("false") << QVariant(false) << "False";
        QTest::newRow("integer") << QVariant(-42) << "-42";
        QTest::newRow("text") << QVariant(QStringLiteral("Кухня")) << "Кухня";
        QTest::newRow("empty text") << QVariant(QString()) << "";
    }
    void valueTexts() {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(syValueText(value), text);
    }

    void missingNamesRaiseTheirErrors() {
        TSyTreeNode root(QStringLiteral("R"));
        root.AddChild(QStringLiteral("kid"));
        root.AddParam(QStringLiteral("p"), 1);
        QCOMPARE(errorOf([&] { root.DeleteChild(QStringLiteral("ghost")); }), "Node \"ghost\" is not found");
        QCOMPARE(errorOf([&] { root.ParamByName(QStringLiteral("ghost")); }), "Parameter \"ghost\" is not found");
        QCOMPARE(errorOf([&] { root.DeleteParam(QStringLiteral("ghost")); }), "Parameter \"ghost\" is not found");

        TSyTreeNode stranger(QStringLiteral("kid"));
        const QString expected = QStringLiteral("Node \"$%1\" is not found")
                                     .arg(QString::number(quintptr(&stranger), 16).toUpper());
        QCOMPARE(errorOf([&] { root.DeleteChild(&stranger); }), expected);
        QVERIFY(errorOf([&] { root.Child(5); }).contains(QLatin1String("out of bounds")));

        // What exists is deleted, by any letter case.
        root.DeleteChild(QStringLiteral("KID"));
        root.DeleteParam(QStringLiteral("P"));
        QCOMPARE(root.ChildCount(), 0);
        QCOMPARE(root.ParamCount(), 0);
    }

    void assignCopiesDeeplyAndReplaces() {
        TSyTreeNode source(QStringLiteral("S"));
        source.AddParam(QStringLiteral("a"), 1);
        TSyTreeNode &kid = source.AddChild(QStringLiteral("kid"));
        kid.AddParam(QStringLiteral("b"), QStringLiteral("x"));
        kid.AddChild(QStringLiteral("grandkid")).AddParam(QStringLiteral("c"), true);

        TSyTreeNode target(QStringLiteral("T"));
        target.AddParam(QStringLiteral("old"), 9);
        target.AddChild(QStringLiteral("oldkid"));
        target.Assign(source);
        QCOMPARE(target.Name(), QStringLiteral("T"));
        QCOMPARE(target.ParamCount(), 1);
        QCOMPARE(target.ChildCount(), 1);
        QCOMPARE(target.Child(0).Child(0).ParamByName(QStringLiteral("c")).toBool(), true);
        QCOMPARE(target.Child(0).Child(0).Parent()->Parent(), &target);

        // Copying a node's own descendant into it must not read freed nodes.
        source.Assign(source.Child(0));
        QCOMPARE(source.ParamByName(QStringLiteral("b")).toString(), QStringLiteral("x"));
        QCOMPARE(source.Child(0).Name(), QStringLiteral("grandkid"));
        QCOMPARE(source.Child(0).Parent(), &source);
    }

    void veryDeepTreeIsFreedWithoutExhaustingTheStack() {
        auto root = std::make_unique<TSyTreeNode>();
        TSyTreeNode *n = root.get();
        for (int i = 0; i < 300000; ++i)
            n = &n->AddChild(QStringLiteral("x"));
        root.reset();
        QVERIFY(!root);
    }
};

QTEST_GUILESS_MAIN(TstPersistTree)
#include "tst_persisttree.moc"
