// The windowed question dialog, wait panel and placement, driven off-screen.
#include "app/ui/form1.h"
#include "app/ui/qtuserdialogs.h"
#include "app/ui/waitpanelf.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
// Acts on the modal message box once it is shown.
void whenBoxShown(std::function<void(QMessageBox *)> act) {
    QTimer::singleShot(0, [act] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            whenBoxShown(act);
            return;
        }
        act(box);
    });
}

void clickCaption(QMessageBox *box, const QString &caption) {
    for (QAbstractButton *b : box->buttons())
        if (b->text() == caption)
            b->click();
}
} // namespace

class TstSharedDialogs : public QObject {
    Q_OBJECT
private slots:
    void escapeAnswersTheLastButton_data() {
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<int>("answer");
        QTest::newRow("до") << "до" << 1;
        QTest::newRow("дн") << "дн" << 1;
        QTest::newRow("дно") << "дно" << 2;
    }
    void escapeAnswersTheLastButton() {
        QFETCH(QString, buttons);
        QFETCH(int, answer);
        QtUserDialogs d;
        QString title;
        whenBoxShown([&](QMessageBox *box) {
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(d.askUser(buttons, QStringLiteral("Удалить?"), QString(), UserDialogs::WarningIcon), answer);
        QCOMPARE(title, QStringLiteral("VO-diz"));
    }

    void clickedButtonGivesItsIndexInOrder() {
        QtUserDialogs d;
        QStringList captions;
        whenBoxShown([&](QMessageBox *box) {
            for (QAbstractButton *b : box->buttons())
                captions << b->text();
            clickCaption(box, QStringLiteral("Нет"));
        });
        QCOMPARE(d.askUser(QStringLiteral("дно"), QStringLiteral("Сохранить?"), QStringLiteral("Проект"), 2), 1);
        QCOMPARE(captions, (QStringList{"Да", "Нет", "Отмена"}));
    }

    void waitPanelCentresOverItsOwnerAndShowsProgress() {
        QWidget owner;
        owner.setGeometry(100, 200, 800, 600);
        TWaitPanelF panel(&owner);
        panel.ShowWait(QStringLiteral("Программирование..."));
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.pos(), QPoint(100 + 200, 200 + 250));
        for (int i = 0; i < 7; ++i)
            panel.StepWait(90.0 / 7);
        QCOMPARE(panel.findChild<QProgressBar *>()->value(), 90);
        panel.StepWait(20); // overshoot stays at the end of the bar
        QCOMPARE(panel.findChild<QProgressBar *>()->value(), 100);
        panel.HideWait();
        QVERIFY(!panel.isVisible());
    }

    void placeControlReadsPercentAbsoluteAndKeep() {
        QWidget parent;
        parent.resize(400, 300);
        QWidget child(&parent);
        child.setGeometry(7, 8, 9, 10);
        PlaceControl(&child, 25, -12, 2000, 50);
        QCOMPARE(child.geometry(), QRect(100, 12, 200, 10));
        QWidget orphan;
        orphan.setGeometry(1, 2, 3, 4);
        PlaceControl(&orphan, 50, 50, 50, 50);
        QCOMPARE(orphan.geometry(), QRect(1, 2, 3, 4));
    }
};

QTEST_MAIN(TstSharedDialogs)
#include "tst_shareddialogs.moc"
