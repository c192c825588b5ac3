// Values quoted in messages: one line each, of bounded length, the beginning and the
// end kept around "…".
#include "project/MessageText.h"

#include <QTest>

class TestMessageText : public QObject {
    Q_OBJECT
private slots:
    void values_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxChars");
        QTest::addColumn<QString>("shown");
        QTest::newRow("short stays") << "Fasáda" << 10 << "Fasáda";
        QTest::newRow("exactly the length") << "0123456789" << 10 << "0123456789";
        QTest::newRow("one over") << "0123456789A" << 10 << "0123…6789A";
        QTest::newRow("long") << QString(100'000, QLatin1Char('x')) + "konec" << 11
                              << "xxxxx…konec";
        QTest::newRow("line breaks and tabs become blanks") << "a\nb\r\nc\td" << 80 << "a b  c d";
        QTest::newRow("a line separator too") << QString("a") + QChar(0x2028) + "b" << 80 << "a b";
        // A pair of surrogates (😀) is never cut in two: the cut moves before it.
        QTest::newRow("surrogates at the head's end") << "abc😀efghijklmn" << 10 << "abc…jklmn";
        QTest::newRow("surrogates at the tail's start") << "abcdefghi😀klmn" << 10 << "abcd…klmn";
        QTest::newRow("surrogates whole in the tail") << "abcdefghij😀lmn" << 10 << "abcd…😀lmn";
        QTest::newRow("empty") << "" << 10 << "";
    }
    void values() {
        QFETCH(QString, text);
        QFETCH(int, maxChars);
        QFETCH(QString, shown);
        QCOMPARE(MessageText::Value(text, maxChars), shown);
        QVERIFY(MessageText::Value(text, maxChars).size() <= maxChars);
    }

    // A path keeps more of its end, where the file's own name is.
    void pathsKeepTheirEnd() {
        const QString path = "/home/" + QString(300, QLatin1Char('a')) + "/domy/Rodinný dům.bmp";
        const QString shown = MessageText::Path(path);
        QCOMPARE(shown.size(), MessageText::PathChars);
        QVERIFY(shown.startsWith("/home/aaa"));
        QVERIFY(shown.endsWith("aaa/domy/Rodinný dům.bmp"));
        QCOMPARE(shown.indexOf(QStringLiteral("…")), MessageText::PathChars / 3);
        QCOMPARE(MessageText::Path("/tmp/a.bmp"), "/tmp/a.bmp");
    }

    // A message from elsewhere keeps its lines, each shortened, and at most Lines of them.
    void paragraphs() {
        QCOMPARE(MessageText::Paragraph("první\ndruhý"), "první\ndruhý");
        QStringList many;
        for (int i = 0; i < 100; ++i)
            many << QString::number(i) + QString(1000, QLatin1Char('y'));
        const QStringList lines = MessageText::Paragraph(many.join('\n')).split('\n');
        QCOMPARE(lines.size(), MessageText::Lines);
        QCOMPARE(lines.last(), QStringLiteral("…"));
        QVERIFY(lines.first().startsWith("0yyy"));
        for (const QString& line : lines)
            QVERIFY(line.size() <= MessageText::LineChars);
    }
};

QTEST_GUILESS_MAIN(TestMessageText)
#include "test_messagetext.moc"
