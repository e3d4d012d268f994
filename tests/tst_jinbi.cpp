#include <QtTest>
#include <QSignalSpy>
#include <QTimer>

#include "widgets/jinbi.h"

namespace {

const QString goldPicture = ":/res/Coin0001.png";
const QString silverPicture = ":/res/Coin0008.png";

QSize frameSize(int frame)
{
    return QPixmap(QString(":/res/Coin000%1.png").arg(frame)).size();
}

// Turns the coin and records the icon size at every tick of its frame timers.
void recordRun(jinbi &coin, QVector<QSize> &sizes)
{
    sizes.clear();
    auto record = [&] { sizes.append(coin.iconSize()); };
    // Connected after the coin's own handler, so each entry is the frame just shown.
    auto a = QObject::connect(coin.toSilverTimer, &QTimer::timeout, &coin, record);
    auto b = QObject::connect(coin.toGoldTimer, &QTimer::timeout, &coin, record);
    coin.turnOver();
    QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 2000);
    QObject::disconnect(a);
    QObject::disconnect(b);
}

}

class TestJinbi : public QObject
{
    Q_OBJECT
private slots:
    void startsAtRestWithTheStartingPicture_data();
    void startsAtRestWithTheStartingPicture();
    void goldToSilverShowsFramesOneToEight();
    void silverToGoldShowsFramesEightToOne();
    void faceFlagTogglesWhenTheTurnStarts();
    void twoTurnsRestoreFaceAndCounters();
    void turningTakesAboutEightTicks();
    void busyCoinSwallowsPresses_data();
    void busyCoinSwallowsPresses();
    void freeCoinClicksByMouseAndKeyboard();
    void pressBeforeTheLockDoesNotClickAfterIt();
    void missingStartingPictureIsReported();
    void turnedAgainMidTurnItRestsOnItsTrueFace();
};

void TestJinbi::startsAtRestWithTheStartingPicture_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("gold") << goldPicture << QSize(46, 44);
    QTest::newRow("silver") << silverPicture << QSize(46, 45);
}

void TestJinbi::startsAtRestWithTheStartingPicture()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    jinbi coin(path);
    QCOMPARE(coin.size(), size);
    QCOMPARE(coin.iconSize(), size);
    QCOMPARE(coin.toSilverFrame, 1);
    QCOMPARE(coin.toGoldFrame, 8);
    QVERIFY(!coin.isTurning);
    QVERIFY(!coin.isLocked);
    QCOMPARE(coin.toSilverTimer->parent(), &coin);
    QCOMPARE(coin.toGoldTimer->parent(), &coin);
}

void TestJinbi::goldToSilverShowsFramesOneToEight()
{
    jinbi coin(goldPicture);
    coin.goldUp = true;
    QVector<QSize> expected;
    for (int frame = 1; frame <= 8; ++frame)
        expected.append(frameSize(frame));
    QVector<QSize> shown;
    recordRun(coin, shown);
    QCOMPARE(shown, expected);
    // The widget keeps its starting size while the icon follows the frames.
    QCOMPARE(coin.size(), QSize(46, 44));
    QCOMPARE(coin.icon().pixmap(coin.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             QImage(silverPicture).convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestJinbi::silverToGoldShowsFramesEightToOne()
{
    jinbi coin(silverPicture);
    coin.goldUp = false;
    QVector<QSize> expected;
    for (int frame = 8; frame >= 1; --frame)
        expected.append(frameSize(frame));
    QVector<QSize> shown;
    recordRun(coin, shown);
    QCOMPARE(shown, expected);
    QCOMPARE(coin.size(), QSize(46, 45));
    QCOMPARE(coin.iconSize(), QSize(46, 44));
}

void TestJinbi::faceFlagTogglesWhenTheTurnStarts()
{
    jinbi coin(goldPicture);
    coin.goldUp = true;
    coin.turnOver();
    QVERIFY(!coin.goldUp);
    QVERIFY(coin.isTurning);
    QCOMPARE(coin.iconSize(), QSize(46, 44));  // nothing shown changes before the first tick
    QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 2000);
    QVERIFY(!coin.goldUp);
}

void TestJinbi::twoTurnsRestoreFaceAndCounters()
{
    jinbi coin(goldPicture);
    coin.goldUp = true;
    const QImage before = coin.icon().pixmap(coin.iconSize()).toImage();
    QVector<QSize> shown;
    recordRun(coin, shown);
    recordRun(coin, shown);
    QVERIFY(coin.goldUp);
    QCOMPARE(coin.toSilverFrame, 1);
    QCOMPARE(coin.toGoldFrame, 8);
    QVERIFY(!coin.toSilverTimer->isActive());
    QVERIFY(!coin.toGoldTimer->isActive());
    QCOMPARE(coin.icon().pixmap(coin.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
             before.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

void TestJinbi::turningTakesAboutEightTicks()
{
    jinbi coin(goldPicture);
    coin.goldUp = true;
    QElapsedTimer clock;
    clock.start();
    coin.turnOver();
    QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 2000);
    // Eight 30 ms ticks; under load it may be later, never sooner.
    QVERIFY2(clock.elapsed() >= 225, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

void TestJinbi::busyCoinSwallowsPresses_data()
{
    QTest::addColumn<bool>("turning");
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("turning, mouse") << true << false;
    QTest::newRow("turning, keyboard") << true << true;
    QTest::newRow("locked, mouse") << false << false;
    QTest::newRow("locked, keyboard") << false << true;
}

void TestJinbi::busyCoinSwallowsPresses()
{
    QFETCH(bool, turning);
    QFETCH(bool, byKeyboard);
    QWidget window;
    auto *coin = new jinbi(goldPicture);
    coin->setParent(&window);
    coin->goldUp = true;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    coin->setFocus();
    QSignalSpy clicked(coin, &QPushButton::clicked);
    if (turning)
        coin->turnOver();
    else
        coin->isLocked = true;

    if (byKeyboard) {
        QTest::keyPress(coin, Qt::Key_Space);
        QVERIFY(!coin->isDown());
        QTest::keyRelease(coin, Qt::Key_Space);
    } else {
        QTest::mousePress(coin, Qt::LeftButton, {}, QPoint(23, 22));
        QVERIFY(!coin->isDown());
        QTest::mouseRelease(coin, Qt::LeftButton, {}, QPoint(23, 22));
    }
    QCOMPARE(clicked.count(), 0);
    QCOMPARE(coin->size(), QSize(46, 44));
}

void TestJinbi::freeCoinClicksByMouseAndKeyboard()
{
    QWidget window;
    auto *coin = new jinbi(silverPicture);
    coin->setParent(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    coin->setFocus();
    QSignalSpy clicked(coin, &QPushButton::clicked);
    QTest::mouseClick(coin, Qt::LeftButton, {}, QPoint(23, 22));
    QCOMPARE(clicked.count(), 1);
    QTest::keyClick(coin, Qt::Key_Space);
    QCOMPARE(clicked.count(), 2);
}

void TestJinbi::pressBeforeTheLockDoesNotClickAfterIt()
{
    QWidget window;
    auto *coin = new jinbi(goldPicture);
    coin->setParent(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    coin->setFocus();
    QSignalSpy clicked(coin, &QPushButton::clicked);

    // Held down while another coin's move locks the board: letting go must not start a move.
    QTest::mousePress(coin, Qt::LeftButton, {}, QPoint(23, 22));
    QVERIFY(coin->isDown());
    coin->isLocked = true;
    QTest::mouseRelease(coin, Qt::LeftButton, {}, QPoint(23, 22));
    QVERIFY(!coin->isDown());

    coin->isLocked = false;
    QTest::keyPress(coin, Qt::Key_Space);
    coin->isLocked = true;
    QTest::keyRelease(coin, Qt::Key_Space);
    QCOMPARE(clicked.count(), 0);
}

void TestJinbi::missingStartingPictureIsReported()
{
    QTest::ignoreMessage(QtDebugMsg, "加载图片失败");
    jinbi coin(":/res/NoSuchCoin.png");
    QCOMPARE(coin.size(), QSize(0, 0));
    QVERIFY(coin.icon().isNull());
    coin.goldUp = true;
    coin.turnOver();
    QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 2000);
}

void TestJinbi::turnedAgainMidTurnItRestsOnItsTrueFace()
{
    // Ticks by hand, each running timer in turn as the event loop would; gives the frames shown.
    auto tick = [](jinbi &coin, int rounds) {
        QString frames;
        while (rounds-- > 0)
            for (QTimer *timer : {coin.toSilverTimer, coin.toGoldTimer}) {
                if (!timer->isActive() || !QMetaObject::invokeMethod(timer, "timeout"))
                    continue;
                const QImage shown = coin.icon().pixmap(coin.iconSize()).toImage();
                for (int frame = 1; frame <= 8; ++frame)
                    if (shown == QImage(QString(":/res/Coin000%1.png").arg(frame)).convertToFormat(shown.format()))
                        frames += QString::number(frame);
            }
        return frames;
    };
    for (bool gold : {true, false})
        for (int ticks = 0; ticks < 8; ++ticks) {  // turned again 0 to 210 ms into the turn
            jinbi coin(gold ? goldPicture : silverPicture);
            coin.goldUp = gold;
            coin.turnOver();
            QString back = tick(coin, ticks);
            std::reverse(back.begin(), back.end());
            coin.turnOver();
            QCOMPARE(tick(coin, 20), ticks ? back : QString(gold ? "1" : "8"));
            QVERIFY(coin.goldUp == gold && !coin.isTurning);
            coin.turnOver();  // from rest again: one run, the whole way
            QCOMPARE(tick(coin, 20), QString(gold ? "12345678" : "87654321"));
        }
}

QTEST_MAIN(TestJinbi)
#include "tst_jinbi.moc"
