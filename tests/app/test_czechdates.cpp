// Dates in Qt's file dialogs in Czech, whatever the locale the program is started in
// (here LC_ALL=C.UTF-8, as on many machines), while the environment and the C
// library's locale stay the user's.
#include "app/StartUp.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <clocale>

class TestCzechDates : public QObject {
    Q_OBJECT
private slots:
    void theSystemLocaleWritesCzechDates() {
        const QDateTime at(QDate(2025, 12, 8), QTime(10, 5));
        const QLocale czech(QLocale::Czech, QLocale::Czechia);
        QCOMPARE(QLocale::system().toString(at, QLocale::ShortFormat),
                 czech.toString(at, QLocale::ShortFormat));
        QVERIFY(QLocale::system().toString(at, QLocale::ShortFormat) != "8 Dec 2025 10:05:00");
        // Numbers as the user's locale has them.
        QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral("."));
    }

    void theEnvironmentAndTheCLibraryStayTheUsers() {
        QCOMPARE(qgetenv("LC_ALL"), QByteArray("C.UTF-8"));
        QVERIFY(!qEnvironmentVariableIsSet("LC_TIME"));
        QVERIFY(!qEnvironmentVariableIsSet("LC_NUMERIC"));
        QCOMPARE(QByteArray(std::setlocale(LC_CTYPE, nullptr)), QByteArray("C.UTF-8"));
    }

    // A file listed in Qt's own file dialog with its date in Czech.
    void aFileDialogListsCzechDates() {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("dům.jpg")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QDateTime modified = QFileInfo(file.fileName()).lastModified();
        QFileDialog dialog(nullptr, QStringLiteral("Otevřít"), dir.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setViewMode(QFileDialog::Detail);
        dialog.show();
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        QModelIndex date;
        for (int i = 0; i < 100 && !date.isValid(); ++i) {
            QTest::qWait(50);
            const QModelIndex found = model->index(file.fileName(), 3);
            if (found.isValid() && !found.data().toString().isEmpty())
                date = found;
        }
        QVERIFY(date.isValid());
        QCOMPARE(
            date.data().toString(),
            QLocale(QLocale::Czech, QLocale::Czechia).toString(modified, QLocale::ShortFormat));
    }
};

// As the program's main does: the Czech dates named while the application is made.
int main(int argc, char* argv[]) {
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LC_TIME");
    qunsetenv("LC_NUMERIC");
    CzechDatesInQtDialogs czechDates;
    QApplication application(argc, argv);
    czechDates.Restore();
    TestCzechDates test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_czechdates.moc"
