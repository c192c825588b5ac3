// References on the photograph: the lengths a user types, the plane a reference
// gives, and every reference that gives none.
#include "project/CzechNumber.h"
#include "project/PlaneReference.h"
#include "support/PlaneCamera.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(PlaneReference)

namespace {

PlaneReference Rectangle(QList<QPointF> corners, double width = 1.2, double height = 1.5) {
    return {PlaneReference::Kind::Rectangle, std::move(corners), width, height};
}

PlaneReference Line(QPointF a, QPointF b, double length) {
    return {PlaneReference::Kind::Length, {a, b}, length, 0};
}

// A window of 1.2 × 1.5 m seen by camera, its corners where the camera puts them.
PlaneReference SeenWindow(const PlaneCamera& camera) {
    const QTransform map = camera.PlaneToPhoto();
    QList<QPointF> corners;
    for (const QPointF& p :
         {QPointF(-1, -1), QPointF(0.2, -1), QPointF(0.2, 0.5), QPointF(-1, 0.5)})
        corners << map.map(p);
    return Rectangle(corners);
}

const QSize Photo(1200, 800);

} // namespace

class TestPlaneReference : public QObject {
    Q_OBJECT
private slots:
    void metres_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("metres"); // 0: refused
        QTest::newRow("decimal comma") << "1,25" << 1.25;
        QTest::newRow("decimal point") << "1.25" << 1.25;
        QTest::newRow("blanks and unit") << " 2,5 m " << 2.5;
        QTest::newRow("whole number") << "3" << 3.0;
        QTest::newRow("largest") << "1000" << 1000.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("word") << "metr" << 0.0;
        QTest::newRow("zero") << "0" << 0.0;
        QTest::newRow("zero with comma") << "0,0" << 0.0;
        QTest::newRow("negative") << "-1,2" << 0.0;
        QTest::newRow("two commas") << "1,2,5" << 0.0;
        QTest::newRow("exponent") << "1e3" << 0.0;
        QTest::newRow("infinity") << "inf" << 0.0;
        QTest::newRow("too long") << "1000,5" << 0.0;
    }
    void metres() {
        QFETCH(QString, text);
        QFETCH(double, metres);
        if (metres > 0) {
            QCOMPARE(ParseMetres(text), metres);
            return;
        }
        try {
            ParseMetres(text);
            QFAIL("a length that is none was taken");
        } catch (const ReferenceError& error) {
            QVERIFY(!error.message().isEmpty());
        }
    }

    void czechNumbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("area") << 42.46 << 1 << "42,5";
        QTest::newRow("no thousands separator") << 1234.56 << 1 << "1234,6";
        QTest::newRow("small") << 0.04 << 1 << "0,0";
        QTest::newRow("no minus zero") << -0.04 << 1 << "0,0";
        QTest::newRow("whole") << 10000.0 << 0 << "10000";
    }
    void czechNumbers() {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(CzechNumber::Format(value, decimals), text);
    }

    // The marked corners go to the rectangle's corners in metres, whatever the view.
    void cornersGoToTheRectangle_data() {
        QTest::addColumn<double>("yaw");
        QTest::addColumn<double>("pitch");
        QTest::newRow("head-on") << 0.0 << 0.0;
        QTest::newRow("yaw 30°") << 30.0 << 0.0;
        QTest::newRow("pitch 15°") << 0.0 << 15.0;
        QTest::newRow("yaw -45°, pitch 20°") << -45.0 << 20.0;
    }
    void cornersGoToTheRectangle() {
        QFETCH(double, yaw);
        QFETCH(double, pitch);
        const PlaneReference window = SeenWindow({yaw, pitch});
        const Homography plane = PlaneOf(window, Photo);
        const QPointF expected[] = {{0, 0}, {1.2, 0}, {1.2, 1.5}, {0, 1.5}};
        for (int i = 0; i < 4; ++i) {
            const QPointF got = plane.Map(window.points[i]);
            QVERIFY2(
                std::hypot(got.x() - expected[i].x(), got.y() - expected[i].y()) < 1e-5,
                qPrintable(QStringLiteral("corner %1 at %2, %3").arg(i).arg(got.x()).arg(got.y())));
        }
        for (const QPointF& corner : {QPointF(-0.5, -0.5), QPointF(1199.5, 799.5)})
            QVERIFY(plane.W(corner.x(), corner.y()) > 0);
    }

    // The closed form against the integral of the map's Jacobian determinant, summed
    // numerically over a fine grid of the rectangle.
    void areaIsTheIntegralOfTheJacobian_data() {
        QTest::addColumn<double>("yaw");
        QTest::addColumn<double>("pitch");
        QTest::addColumn<QRectF>("rect");
        QTest::newRow("head-on, one pixel") << 0.0 << 0.0 << QRectF(99.5, 99.5, 1, 1);
        QTest::newRow("yaw 30°, a long run") << 30.0 << 0.0 << QRectF(10.5, 300.5, 1100, 1);
        QTest::newRow("pitch 15°, a block") << 0.0 << 15.0 << QRectF(200.5, 20.5, 700, 600);
        QTest::newRow("yaw 45°, pitch 20°") << 45.0 << 20.0 << QRectF(-0.5, -0.5, 1200, 800);
    }
    void areaIsTheIntegralOfTheJacobian() {
        QFETCH(double, yaw);
        QFETCH(double, pitch);
        QFETCH(QRectF, rect);
        const Homography plane = PlaneOf(SeenWindow({yaw, pitch}), Photo);
        const int steps = 400;
        const double dx = rect.width() / steps, dy = rect.height() / steps, h = 1e-3;
        double integral = 0;
        for (int i = 0; i < steps; ++i) {
            for (int j = 0; j < steps; ++j) {
                const QPointF p(rect.left() + (i + 0.5) * dx, rect.top() + (j + 0.5) * dy);
                const QPointF ex =
                    (plane.Map(p + QPointF(h, 0)) - plane.Map(p - QPointF(h, 0))) / (2 * h);
                const QPointF ey =
                    (plane.Map(p + QPointF(0, h)) - plane.Map(p - QPointF(0, h))) / (2 * h);
                integral += std::abs(ex.x() * ey.y() - ex.y() * ey.x()) * dx * dy;
            }
        }
        const double area = AreaOf(plane, rect.left(), rect.top(), rect.right(), rect.bottom());
        // The grid's own error grows with how fast 1 / w³ changes across it.
        QVERIFY2(
            std::abs(area - integral) <= 1e-4 * integral,
            qPrintable(
                QStringLiteral("%1 against %2").arg(area, 0, 'g', 12).arg(integral, 0, 'g', 12)));
    }

    void lineIsAUniformScale() {
        const Homography plane = PlaneOf(Line({100, 100}, {400, 500}, 2.5), Photo);
        // 500 pixels long: 5 mm a pixel, 25 mm² a pixel's square.
        QCOMPARE(AreaOf(plane, 9.5, 9.5, 10.5, 10.5), 0.005 * 0.005);
        QCOMPARE(AreaOf(plane, -0.5, -0.5, 1199.5, 799.5), 1200 * 800 * 0.005 * 0.005);
    }

    void degenerate_data() {
        QTest::addColumn<PlaneReference>("reference");
        QTest::addColumn<QString>("message");
        const QString onALine =
            "Tři rohy měřítka leží na jedné přímce: obdélník z nich nelze určit.";
        const QString crossing = "Strany měřítka se kříží: označte rohy obdélníku postupně dokola.";
        const QString inside = "Rohy měřítka netvoří obdélník viděný v perspektivě: jeden roh leží "
                               "uvnitř ostatních.";
        const QString outside = "Značka měřítka leží mimo fotografii.";
        const QString length = "Délka měřítka musí být větší než nula.";
        const QString tooLong = "Délka měřítka může být nejvýše 1000 m.";
        const QString edgeOn = "Rovina měřítka je na fotografii vidět příliš z boku: její úběžnice "
                               "prochází fotografií nebo leží těsně u ní. Označte obdélník na "
                               "rovině viděné víc zepředu.";
        QTest::newRow("three corners on a line")
            << Rectangle({{100, 100}, {300, 100}, {500, 100}, {300, 400}}) << onALine;
        QTest::newRow("three corners nearly on a line")
            << Rectangle({{100, 100}, {300, 100.5}, {500, 101}, {300, 400}}) << onALine;
        QTest::newRow("two corners on one point")
            << Rectangle({{100, 100}, {100, 100}, {500, 400}, {100, 400}}) << onALine;
        QTest::newRow("crossing sides")
            << Rectangle({{100, 100}, {500, 400}, {500, 100}, {100, 400}}) << crossing;
        QTest::newRow("a corner inside the others")
            << Rectangle({{100, 100}, {500, 100}, {200, 200}, {100, 500}}) << inside;
        QTest::newRow("width 0") << Rectangle({{100, 100}, {500, 100}, {500, 400}, {100, 400}}, 0)
                                 << length;
        QTest::newRow("height negative")
            << Rectangle({{100, 100}, {500, 100}, {500, 400}, {100, 400}}, 1, -1) << length;
        QTest::newRow("length not a number")
            << Rectangle({{100, 100}, {500, 100}, {500, 400}, {100, 400}}, std::nan(""), 1)
            << length;
        QTest::newRow("a corner right of the photograph")
            << Rectangle({{100, 100}, {1199.6, 100}, {500, 400}, {100, 400}}) << outside;
        QTest::newRow("a corner above the photograph")
            << Rectangle({{100, -0.6}, {500, 100}, {500, 400}, {100, 400}}) << outside;
        // The left side is 400 pixels tall, the right 10: its vanishing point lies
        // just right of it, inside the photograph.
        QTest::newRow("edge-on, vanishing line across the photograph")
            << Rectangle({{100, 100}, {500, 295}, {500, 305}, {100, 500}}) << edgeOn;
        // A window on a wall turned 80°: the wall's vanishing line, 176 pixels left of
        // the centre, crosses the photograph.
        QTest::newRow("yaw 80°") << SeenWindow({80, 0}) << edgeOn;
        // Turned 58.5°: the vanishing line lies 12 pixels beside the photograph, where a
        // pixel's area on the wall grows a millionfold from one edge to the other.
        QTest::newRow("yaw 58.5°, vanishing line beside the photograph")
            << SeenWindow({58.5, 0}) << edgeOn;
        const QString tooLarge = "Podle měřítka by jeden bod fotografie měřil víc než 5 m: tak "
                                 "velká stavba se na fotografii nevejde. Zkontrolujte délky "
                                 "měřítka a jeho značky.";
        QTest::newRow("rectangle too long")
            << Rectangle({{100, 100}, {500, 100}, {500, 400}, {100, 400}}, 1000.5, 1) << tooLong;
        QTest::newRow("1.5 pixels for 10 km")
            << Rectangle({{100, 100}, {101.5, 100}, {101.5, 101.5}, {100, 101.5}}, 10000, 10000)
            << tooLong;
        QTest::newRow("1.5 pixels for 1 km")
            << Rectangle({{100, 100}, {101.5, 100}, {101.5, 101.5}, {100, 101.5}}, 1000, 1000)
            << tooLarge;
        // The top side 400 pixels, the bottom 100: 5 m on it is 5 cm a pixel.
        QTest::newRow("a short side too large")
            << Rectangle({{100, 100}, {500, 100}, {350, 400}, {250, 400}}, 501, 1) << tooLarge;
        QTest::newRow("a short height too large")
            << Rectangle({{100, 100}, {500, 100}, {500, 200}, {100, 102}}, 1, 11) << tooLarge;
        QTest::newRow("line of 100 m on 10 pixels") << Line({50, 50}, {60, 50}, 100) << tooLarge;
        QTest::newRow("line with both ends on one point")
            << Line({50, 50}, {50.5, 50}, 1.0) << "Oba konce úsečky měřítka leží v jednom bodě.";
        QTest::newRow("line of length 0") << Line({50, 50}, {150, 50}, 0) << length;
        QTest::newRow("line leaving the photograph") << Line({50, 50}, {50, 800}, 1) << outside;
        QTest::newRow("line without its second end")
            << PlaneReference{PlaneReference::Kind::Length, {{50, 50}}, 1, 0}
            << "Měřítko nemá všechny značky.";
    }
    void degenerate() {
        QFETCH(PlaneReference, reference);
        QFETCH(QString, message);
        try {
            PlaneOf(reference, Photo);
            QFAIL("a reference without a plane was taken");
        } catch (const ReferenceError& error) {
            QCOMPARE(error.message(), message);
        }
    }

    // The edges of the photograph belong to it; a plane seen at 45° is no edge-on one.
    void acceptedAtTheLimits_data() {
        QTest::addColumn<PlaneReference>("reference");
        QTest::newRow("corners on the photograph's edges")
            << Rectangle({{-0.5, -0.5}, {1199.5, -0.5}, {1199.5, 799.5}, {-0.5, 799.5}});
        QTest::newRow("yaw 45°, pitch 20°") << SeenWindow({45, 20});
        QTest::newRow("line across the photograph") << Line({-0.5, 0}, {1199.5, 799.5}, 14.4);
        QTest::newRow("5 m a pixel") << Line({50, 50}, {60, 50}, 50);
        QTest::newRow("a kilometre at 5 m a pixel")
            << Rectangle({{100, 100}, {300, 100}, {300, 300}, {100, 300}}, 1000, 1000);
    }
    void acceptedAtTheLimits() {
        QFETCH(PlaneReference, reference);
        const Homography plane = PlaneOf(reference, Photo);
        QVERIFY(AreaOf(plane, -0.5, -0.5, 1199.5, 799.5) > 0);
    }
};

QTEST_GUILESS_MAIN(TestPlaneReference)
#include "test_planereference.moc"
