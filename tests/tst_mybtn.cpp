#include <QtTest>
#include <QPropertyAnimation>
#include <QSignalSpy>

#include "support/liveobjects.h"
#include "widgets/mybtn.h"

namespace {

const QString startPicture = ":/res/MenuSceneStartButton.png";
const QString backPicture = ":/res/BackButton.png";
const QString backPressedPicture = ":/res/BackButtonSelected.png";

QImage iconImage(const QPushButton &button)
{
    return button.icon().pixmap(button.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage resourceImage(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}

class TestMybtn : public QObject
{
    Q_OBJECT
private slots:
    void takesItsSizeFromThePicture();
    void pressedPictureShowsFromPressToRelease_data();
    void pressedPictureShowsFromPressToRelease();
    void clickedSeesTheRestPictureAgain();
    void bounceDownThenUpShowsLowerAndReturns();
    void burstOfBouncesComesBackToTheRestingPlace();
    void bouncesAreReleasedWhenTheyStop();
    void missingPictureIsReportedOnceAndGivesAnEmptyButton();
};

void TestMybtn::takesItsSizeFromThePicture()
{
    mybtn start(startPicture, "");
    QCOMPARE(start.size(), QSize(110, 110));
    QCOMPARE(start.minimumSize(), start.maximumSize());
    QCOMPARE(start.iconSize(), QSize(110, 110));
    QCOMPARE(iconImage(start), resourceImage(startPicture));

    mybtn back(backPicture, backPressedPicture);
    QCOMPARE(back.size(), QSize(50, 50));
}

void TestMybtn::pressedPictureShowsFromPressToRelease_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("pressedPicture");
    QTest::addColumn<int>("buttonCode");
    QTest::newRow("left") << backPicture << backPressedPicture << int(Qt::LeftButton);
    QTest::newRow("right") << backPicture << backPressedPicture << int(Qt::RightButton);
    QTest::newRow("no pressed picture") << startPicture << QString() << int(Qt::LeftButton);
}

void TestMybtn::pressedPictureShowsFromPressToRelease()
{
    QFETCH(QString, picture);
    QFETCH(QString, pressedPicture);
    QFETCH(int, buttonCode);
    const auto mouseButton = Qt::MouseButton(buttonCode);
    QWidget window;
    auto *button = new mybtn(picture, pressedPicture);
    button->setParent(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize size = button->size();
    const QPoint centre = button->rect().center();
    QCOMPARE(iconImage(*button), resourceImage(picture));

    QTest::mousePress(button, mouseButton, {}, centre);
    QCOMPARE(iconImage(*button), resourceImage(pressedPicture.isEmpty() ? picture : pressedPicture));
    QCOMPARE(button->size(), size);

    QTest::mouseRelease(button, mouseButton, {}, centre);
    QCOMPARE(iconImage(*button), resourceImage(picture));
    QCOMPARE(button->size(), size);
}

void TestMybtn::clickedSeesTheRestPictureAgain()
{
    QWidget window;
    auto *back = new mybtn(backPicture, backPressedPicture);
    back->setParent(&window);
    window.show();
    QImage seenAtClick;
    connect(back, &QPushButton::clicked, back, [&] { seenAtClick = iconImage(*back); });
    QSignalSpy clicked(back, &QPushButton::clicked);
    QTest::mouseClick(back, Qt::LeftButton, {}, QPoint(25, 25));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(seenAtClick, resourceImage(backPicture));

    QTest::mouseClick(back, Qt::RightButton, {}, QPoint(25, 25));
    QCOMPARE(clicked.count(), 1);
}

void TestMybtn::bounceDownThenUpShowsLowerAndReturns()
{
    QWidget window;
    window.resize(320, 588);
    auto *start = new mybtn(startPicture, "");
    start->setParent(&window);
    start->move(105, 352);
    window.show();

    start->bounceDown();
    start->bounceUp();
    // Only the upward bounce runs, from 10 px below.
    QCOMPARE(start->geometry(), QRect(105, 362, 110, 110));
    QTRY_COMPARE_WITH_TIMEOUT(start->geometry(), QRect(105, 352, 110, 110), 1000);

    start->bounceDown();
    QTRY_COMPARE_WITH_TIMEOUT(start->geometry(), QRect(105, 362, 110, 110), 1000);
}

void TestMybtn::burstOfBouncesComesBackToTheRestingPlace()
{
    QWidget window;
    window.resize(320, 588);
    auto *start = new mybtn(startPicture, "");
    start->setParent(&window);
    start->move(105, 352);
    window.show();

    QElapsedTimer clock;
    for (int burst = 0; burst < 12; ++burst) {
        start->bounceDown();
        start->bounceUp();
        clock.start();
        // Catch the button mid-bounce, displaced, before the next click.
        QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() >= 40, 1000);
        QVERIFY(start->y() >= 352 && start->y() <= 362);
    }
    QTRY_COMPARE_WITH_TIMEOUT(start->geometry(), QRect(105, 352, 110, 110), 1000);
    QTest::qWait(250);
    QCOMPARE(start->geometry(), QRect(105, 352, 110, 110));
}

void TestMybtn::bouncesAreReleasedWhenTheyStop()
{
    QWidget window;
    auto *start = new mybtn(startPicture, "");
    start->setParent(&window);
    window.show();
    QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), 0, 2000);

    for (int i = 0; i < 200; ++i) {
        start->bounceDown();
        start->bounceUp();
    }
    QVERIFY(liveobjects::count<QPropertyAnimation>() > 0);
    // Each animation deletes itself once stopped (later, through the event loop).
    QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), 0, 2000);
}

namespace {
QStringList capturedMessages;
void captureMessage(QtMsgType, const QMessageLogContext &, const QString &text)
{
    capturedMessages.append(text);
}
}

void TestMybtn::missingPictureIsReportedOnceAndGivesAnEmptyButton()
{
    capturedMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    QWidget window;
    auto *button = new mybtn(":/res/NoSuchPicture.png", "");
    button->setParent(&window);
    button->move(160, 352);
    qInstallMessageHandler(previous);

    QCOMPARE(capturedMessages, QStringList({"\":/res/NoSuchPicture.png\" 加载图片失败"}));
    QCOMPARE(button->size(), QSize(0, 0));
    QVERIFY(button->icon().isNull());
    QCOMPARE(button->pos(), QPoint(160, 352));
}

int main(int argc, char *argv[])
{
    liveobjects::install();
    QApplication app(argc, argv);
    TestMybtn test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mybtn.moc"
