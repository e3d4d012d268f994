#include <QtTest>
#include <QSignalSpy>

#include "support/scenehelpers.h"

namespace {

const QString startPicture = ":/res/MenuSceneStartButton.png";
const QString backPicture = ":/res/BackButton.png";
const QString backPressedPicture = ":/res/BackButtonSelected.png";

// Qt keeps icons premultiplied; compare pictures the same way.
QImage shown(const QPushButton &button)
{
    return button.icon().pixmap(button.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage picture(const QString &path) { return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied); }

}

class TestMybtn : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        new FrozenAnimationClock(this);
    }
    void showsThePressedPictureFromPressToRelease_data();
    void showsThePressedPictureFromPressToRelease();
    void clickBouncesTenPixelsDownAndBack();
    void burstOfClicksNeverWalksTheButtonDown();
    void missingPictureIsReportedAndGivesAnEmptyButton();
};

void TestMybtn::showsThePressedPictureFromPressToRelease_data()
{
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<int>("mouseButton");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("clicks");
    QTest::newRow("back, left button") << backPicture << backPressedPicture << int(Qt::LeftButton) << QSize(50, 50) << 1;
    QTest::newRow("back, right button") << backPicture << backPressedPicture << int(Qt::RightButton) << QSize(50, 50) << 0;
    QTest::newRow("start, no pressed picture") << startPicture << QString() << int(Qt::LeftButton) << QSize(110, 110) << 1;
}

void TestMybtn::showsThePressedPictureFromPressToRelease()
{
    QFETCH(QString, rest);
    QFETCH(QString, pressed);
    QFETCH(int, mouseButton);
    QFETCH(QSize, size);
    QFETCH(int, clicks);
    QWidget window;
    auto *button = new mybtn(rest, pressed);
    button->setParent(&window);
    window.show();
    QCOMPARE(button->size(), size);
    QCOMPARE(button->minimumSize(), button->maximumSize());
    QCOMPARE(shown(*button), picture(rest));
    QImage seenAtClick;
    connect(button, &QPushButton::clicked, button, [&] { seenAtClick = shown(*button); });
    QSignalSpy clicked(button, &QPushButton::clicked);

    QTest::mousePress(button, Qt::MouseButton(mouseButton), {}, QPoint(20, 20));
    QCOMPARE(shown(*button), picture(pressed.isEmpty() ? rest : pressed));
    QCOMPARE(button->size(), size);
    QTest::mouseRelease(button, Qt::MouseButton(mouseButton), {}, QPoint(20, 20));
    QCOMPARE(shown(*button), picture(rest));
    QCOMPARE(clicked.count(), clicks);
    // The rest picture is back before anyone hears of the click.
    if (clicks)
        QCOMPARE(seenAtClick, picture(rest));
}

void TestMybtn::clickBouncesTenPixelsDownAndBack()
{
    QWidget window;
    auto *start = new mybtn(startPicture, "");
    start->setParent(&window);
    start->move(105, 352);
    window.show();
    const int before = liveobjects::count<QPropertyAnimation>();
    start->bounceDown();
    start->bounceUp();
    // Starting the second stops the first: the button shows 10 px down at once, then bounces up.
    expectGlide(start, 200, QEasingCurve::OutBounce, QRect(105, 362, 110, 110), QRect(105, 352, 110, 110));
    start->bounceDown();
    expectGlide(start, 200, QEasingCurve::OutBounce, QRect(105, 352, 110, 110), QRect(105, 362, 110, 110));
    // Every bounce lets itself go once it has run.
    QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), before, 2000);
}

void TestMybtn::burstOfClicksNeverWalksTheButtonDown()
{
    QWidget window;
    auto *start = new mybtn(startPicture, "");
    start->setParent(&window);
    start->move(105, 352);
    window.show();
    for (int click = 0; click < 12; ++click) {
        // Caught mid-bounce, displaced, when the next click comes.
        start->bounceDown();
        start->bounceUp();
        QPropertyAnimation *bounce = animationOf(start);
        QVERIFY(bounce);
        bounce->setCurrentTime(10 + 10 * (click % 4));
        QVERIFY(start->y() > 352 && start->y() <= 362);
    }
    animationOf(start)->setCurrentTime(200);
    QCOMPARE(start->geometry(), QRect(105, 352, 110, 110));
    QTRY_VERIFY_WITH_TIMEOUT(!animationOf(start), 2000);
}

void TestMybtn::missingPictureIsReportedAndGivesAnEmptyButton()
{
    QTest::ignoreMessage(QtDebugMsg, "\":/res/NoSuchPicture.png\" 加载图片失败");
    QWidget window;
    auto *button = new mybtn(":/res/NoSuchPicture.png", "");
    button->setParent(&window);
    button->move(160, 352);
    QCOMPARE(button->geometry(), QRect(160, 352, 0, 0));
    QVERIFY(button->icon().isNull());
}

QTEST_MAIN(TestMybtn)
#include "tst_mybtn.moc"
