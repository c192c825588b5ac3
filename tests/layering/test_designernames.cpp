// Windows, controls, timers and handlers carry names that say what they are, never the
// numbered names a form designer hands out ("TForm1", "ListBox2", "GlintImage13Click"):
// a reader of such a name has to open the layout to learn what the thing does.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// A control type's name with a number after it (or a "%1" that makes one), alone or at
// the end of a longer name ("LabeledEdit1", also a local "panel7"); a numbered form; a
// handler named after a numbered control or menu item ("Smazatprojekt1Click").
const QRegularExpression DesignerName(QStringLiteral(
    R"((?<![A-Za-z0-9_])T?Form\d)"
    R"(|(?<![A-Za-z0-9])[A-Za-z_]*)"
    R"(([Ll]istBox|[Gg]lintImage|[Pp]anel|[Ss]hape|[Pp]aintBox|[Ss]crollBox|[Tt]imer|)"
    R"([Ii]mage|[Ee]dit|[Ll]abel|[Cc]omboBox|[Dd]rawGrid|[Pp]opupMenu)(\d|%\d))"
    R"(|[A-Za-z]\d+(Click|DblClick|Change|KeyPress|MouseDown|MouseMove|Enter)\b)"));

// Every designer name in the text, each as "line: name".
QStringList DesignerNamesIn(const QString& text) {
    QStringList found;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        for (auto match = DesignerName.globalMatch(lines[i]); match.hasNext();)
            found << QStringLiteral("%1: %2").arg(i + 1).arg(match.next().captured(0));
    }
    return found;
}

} // namespace

class TestDesignerNames : public QObject {
    Q_OBJECT
private slots:
    void recognisesDesignerNames_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("designer");
        QTest::newRow("form class") << "class TForm1 : public QWidget {" << true;
        QTest::newRow("form object name") << R"(setObjectName(QStringLiteral("Form2"));)" << true;
        QTest::newRow("list") << "ListBox2->clear();" << true;
        QTest::newRow("image button") << "connect(GlintImage13, &TGlintImage::Click" << true;
        QTest::newRow("button by format")
            << R"(Button(QStringLiteral("GlintImage%1").arg(i)))" << true;
        QTest::newRow("panel") << "Panel5->setVisible(true);" << true;
        QTest::newRow("shape") << "ColourShape* Shape7 = nullptr;" << true;
        QTest::newRow("paint box") << R"(setObjectName(QStringLiteral("PaintBox1"));)" << true;
        QTest::newRow("scroll box") << "ScrollBox1->setWidget(view);" << true;
        QTest::newRow("timer") << "QTimer Timer1;" << true;
        QTest::newRow("image") << R"(Picture(Artwork::Logo(), band, QStringLiteral("Image1")))"
                               << true;
        QTest::newRow("edit") << "QLineEdit* Edit12 = nullptr;" << true;
        QTest::newRow("labeled edit") << "LabeledEdit3->text()" << true;
        QTest::newRow("label") << "Label4->setText(text);" << true;
        QTest::newRow("local") << "auto* panel7 = new GradientStrip(picture, colour, column);"
                               << true;
        QTest::newRow("grid") << "DrawGrid1->update();" << true;
        QTest::newRow("menu") << R"(menu->setObjectName(QStringLiteral("PopupMenu2"));)" << true;
        QTest::newRow("menu item handler") << "void Smazatprojekt1Click();" << true;
        QTest::newRow("double click handler") << "void ListBox2DblClick();" << true;
        QTest::newRow("edit handler") << "void Edit1Enter();" << true;
        QTest::newRow("main window") << "class MainWindow : public QWidget {" << false;
        QTest::newRow("image button type") << "class TGlintImage : public QWidget {" << false;
        QTest::newRow("its factory")
            << R"(MakeGlintImage(parent, QStringLiteral("openButton"),)" << false;
        QTest::newRow("role names")
            << "editingBar->show(); layerList->clear(); imageView;" << false;
        QTest::newRow("handlers") << "void onNewLayerClicked(); void onShadeListKeyPressed();"
                                  << false;
        QTest::newRow("image format") << "QImage(1, 52, QImage::Format_RGB32)" << false;
        QTest::newRow("numbers elsewhere") << "Rgb(255, 0, 0); Simd::Avx2; sha256; x2" << false;
        QTest::newRow("edit without a number") << "QLineEdit* quantityEdit;" << false;
    }
    void recognisesDesignerNames() {
        QFETCH(QString, text);
        QFETCH(bool, designer);
        QCOMPARE(!DesignerNamesIn(text).isEmpty(), designer);
    }

    void sourceCarriesNoDesignerName() {
        const QString root = QStringLiteral(TINTORA_SOURCE_DIR "/src/");
        QStringList found;
        int files = 0;
        QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
            ++files;
            for (const QString& name : DesignerNamesIn(QString::fromUtf8(file.readAll())))
                found << path.mid(root.size()) + QLatin1Char(':') + name;
        }
        QVERIFY(files > 50);
        QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("%1 numbered designer names:\n%2")
                                                 .arg(found.size())
                                                 .arg(found.join(QLatin1Char('\n')))));
    }
};

QTEST_GUILESS_MAIN(TestDesignerNames)
#include "test_designernames.moc"
