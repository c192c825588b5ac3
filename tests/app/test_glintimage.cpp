#include "widgets/GlintImage.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QPixmap Solid(const QColor& colour) {
    QPixmap pixmap(20, 10);
    pixmap.fill(colour);
    return pixmap;
}

QColor Shown(const TGlintImage& button) {
    return button.Picture().toImage().pixelColor(0, 0);
}

} // namespace

class TestGlintImage : public QObject {
    Q_OBJECT
private slots:
    void init() {
        button = std::make_unique<TGlintImage>();
        button->SetNormalPicture(Solid(Qt::white));
        button->SetOverPicture(Solid(Qt::yellow));
        button->SetFixedPicture(Solid(Qt::red));
        button->SetOverChange(true);
        button->SetPicture(button->NormalPicture());
        button->show();
        QVERIFY(QTest::qWaitForWindowExposed(button.get()));
    }
    void cleanup() { button.reset(); }

    void sizesItselfToThePicture() { QCOMPARE(button->size(), QSize(20, 10)); }

    void overOnceThenNormalOnLeave() {
        QSignalSpy left(button.get(), &TGlintImage::OnMouseLeave);
        QTest::mouseMove(button.get(), QPoint(5, 5));
        QCOMPARE(Shown(*button), QColor(Qt::yellow));
        QVERIFY(button->MouseOver());
        const int changes = button->DisplayChanges();
        QTest::mouseMove(button.get(), QPoint(6, 6));
        QTest::mouseMove(button.get(), QPoint(7, 5));
        QCOMPARE(button->DisplayChanges(), changes);
        Leave();
        QCOMPARE(Shown(*button), QColor(Qt::white));
        QVERIFY(!button->MouseOver());
        QCOMPARE(left.count(), 1);
        QCOMPARE(left.at(0).at(0).value<TGlintImage*>(), button.get());
    }

    void latchedWhileOverStaysFixed() {
        QTest::mouseMove(button.get(), QPoint(5, 5));
        button->SetShowFixedPicture(true);
        QCOMPARE(Shown(*button), QColor(Qt::red));
        QVERIFY(button->MouseOver());
        Leave();
        QCOMPARE(Shown(*button), QColor(Qt::red));
        QTest::mouseMove(button.get(), QPoint(5, 5));
        QCOMPARE(Shown(*button), QColor(Qt::red));
        button->SetShowFixedPicture(false);
        QCOMPARE(Shown(*button), QColor(Qt::white));
        QTest::mouseMove(button.get(), QPoint(6, 5));
        QCOMPARE(Shown(*button), QColor(Qt::yellow));
    }

    void unlatchingAnUnlatchedButtonRepaintsNothing() {
        const int changes = button->DisplayChanges();
        button->SetShowFixedPicture(false);
        QCOMPARE(button->DisplayChanges(), changes);
    }

    void settingAStoredPictureLeavesTheDisplay() {
        button->SetNormalPicture(Solid(Qt::blue));
        QCOMPARE(Shown(*button), QColor(Qt::white));
        QTest::mouseMove(button.get(), QPoint(5, 5));
        Leave();
        QCOMPARE(Shown(*button), QColor(Qt::blue));
    }

    void withoutOverChangeOnlyTheLatchSwaps() {
        button->SetOverChange(false);
        QTest::mouseMove(button.get(), QPoint(5, 5));
        QCOMPARE(Shown(*button), QColor(Qt::white));
        Leave();
        QCOMPARE(Shown(*button), QColor(Qt::white));
        button->SetShowFixedPicture(true);
        QCOMPARE(Shown(*button), QColor(Qt::red));
    }

    void displayedPictureIsACopy() {
        QPixmap source = Solid(Qt::green);
        button->SetPicture(source);
        source.fill(Qt::black);
        QCOMPARE(Shown(*button), QColor(Qt::green));
    }

    void clickNeedsPressAndReleaseInside() {
        QSignalSpy clicks(button.get(), &TGlintImage::Click);
        QTest::mouseClick(button.get(), Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(clicks.count(), 1);
        QTest::mousePress(button.get(), Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(button.get(), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(clicks.count(), 1);
    }

private:
    void Leave() {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(button.get(), &leave);
    }

    std::unique_ptr<TGlintImage> button;
};

QTEST_MAIN(TestGlintImage)
#include "test_glintimage.moc"
