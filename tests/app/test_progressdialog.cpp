#include "widgets/ProgressDialog.h"

#include <QApplication>
#include <QDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

// The window long work shows: only after half a second, modal, with its bar;
// "Zrušit", Esc and the close box all stop the work.
class TestProgressDialog : public QObject {
    Q_OBJECT
private slots:
    void showsAfterHalfASecondAndStops_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Zrušit") << QStringLiteral("button");
        QTest::newRow("Esc") << QStringLiteral("escape");
        QTest::newRow("close box") << QStringLiteral("close");
    }
    void showsAfterHalfASecondAndStops() {
        QFETCH(QString, how);
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));

        ProgressDialog progress(QStringLiteral("Import fotografie"), &owner);
        progress.Report(0.1);
        QVERIFY(!progress.Shown());
        QTest::qSleep(50);
        progress.Report(0.2);
        QVERIFY(!progress.Shown());
        QVERIFY(!progress.CancelRequested());

        QTest::qSleep(520);
        progress.Report(0.5);
        QVERIFY(progress.Shown());
        auto* dialog = owner.findChild<QDialog*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Import fotografie"));
        QVERIFY(dialog->isModal());
        QCOMPARE(dialog->findChild<QProgressBar*>()->value(), 500);
        auto* cancel = dialog->findChild<QPushButton*>();
        QCOMPARE(cancel->text(), QStringLiteral("Zrušit"));
        QVERIFY(!progress.CancelRequested());
        if (how == QLatin1String("button"))
            QTest::mouseClick(cancel, Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(dialog, Qt::Key_Escape);
        else
            dialog->close();
        QVERIFY(progress.CancelRequested());
    }

    // Work that ends within half a second shows nothing at all.
    void shortWorkShowsNothing() {
        QWidget owner;
        owner.show();
        ProgressDialog progress(QStringLiteral("Ukládání obrázku"), &owner);
        for (int i = 0; i <= 10; ++i)
            progress.Report(i / 10.0);
        QVERIFY(!progress.Shown());
        QVERIFY(!owner.findChild<QDialog*>());
    }
};

QTEST_MAIN(TestProgressDialog)
#include "test_progressdialog.moc"
