#include <QtTest>
#include <QSignalSpy>

#include "widgets/jinbi.h"

namespace {

const QString goldPicture = ":/res/Coin0001.png";
const QString silverPicture = ":/res/Coin0008.png";

QImage frame(int n) { return QImage(QString(":/res/Coin000%1.png").arg(n)).convertToFormat(QImage::Format_ARGB32_Premultiplied); }
QImage shown(const jinbi &coin) { return coin.icon().pixmap(coin.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

// Which frame the coin shows, by picture; 0 when it is none of the eight.
int frameShown(const jinbi &coin)
{
    for (int n = 1; n <= 8; ++n)
        if (shown(coin) == frame(n))
            return n;
    return 0;
}

// A coin in a shown window, so that it can take focus and presses.
struct CoinOnScreen
{
    explicit CoinOnScreen(const QString &path) : coin(new jinbi(path))
    {
        coin->setParent(&window);
        window.show();
        coin->setFocus();
    }
    QWidget window;
    jinbi *coin;
};

}

class TestJinbi : public QObject
{
    Q_OBJECT
private slots:
    void turnShowsEveryFrameOnceThirtyMsApart_data();
    void turnShowsEveryFrameOnceThirtyMsApart();
    void busyCoinSwallowsPresses_data();
    void busyCoinSwallowsPresses();
    void pressBeforeTheLockDoesNotClickAfterIt();
    void missingStartingPictureIsReported();
};

void TestJinbi::turnShowsEveryFrameOnceThirtyMsApart_data()
{
    QTest::addColumn<bool>("gold");
    QTest::addColumn<QVector<int>>("frames");
    QTest::newRow("gold to silver") << true << QVector<int>{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("silver to gold") << false << QVector<int>{8, 7, 6, 5, 4, 3, 2, 1};
}

void TestJinbi::turnShowsEveryFrameOnceThirtyMsApart()
{
    QFETCH(bool, gold);
    QFETCH(QVector<int>, frames);
    jinbi coin(gold ? goldPicture : silverPicture);
    coin.goldUp = gold;
    const QSize size = coin.size();
    QVector<int> seen;
    QVector<QSize> iconSizes;
    QElapsedTimer clock;
    // Connected after the coin's own handlers, so each entry is the frame just shown.
    for (QTimer *timer : {coin.toSilverTimer, coin.toGoldTimer}) {
        connect(timer, &QTimer::timeout, &coin, [&, timer] {
            QCOMPARE(timer->interval(), 30);
            seen << frameShown(coin);
            iconSizes << coin.iconSize();
        });
    }
    for (int turn = 0; turn < 2; ++turn) {
        seen.clear();
        clock.start();
        coin.turnOver();
        // The face flag changes as the turn starts; nothing shown changes before the first tick.
        QCOMPARE(coin.goldUp, turn == 0 ? !gold : gold);
        QVERIFY(coin.isTurning);
        QCOMPARE(frameShown(coin), frames.first());
        QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 3000);
        QVERIFY2(clock.elapsed() >= 8 * 30 - 10, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(seen, frames);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(iconSizes[i], frame(frames[i]).size());
        iconSizes.clear();
        // The widget keeps its starting size; the counters rest at 1 and 8 again.
        QCOMPARE(coin.size(), size);
        QCOMPARE(QPoint(coin.toSilverFrame, coin.toGoldFrame), QPoint(1, 8));
        QVERIFY(!coin.toSilverTimer->isActive() && !coin.toGoldTimer->isActive());
        std::reverse(frames.begin(), frames.end());
    }
    QCOMPARE(coin.goldUp, gold);
}

void TestJinbi::busyCoinSwallowsPresses_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("byKeyboard");
    for (const char *state : {"free", "turning", "locked"}) {
        QTest::newRow(qPrintable(QString("%1, mouse").arg(state))) << state << false;
        QTest::newRow(qPrintable(QString("%1, keyboard").arg(state))) << state << true;
    }
}

void TestJinbi::busyCoinSwallowsPresses()
{
    QFETCH(QString, state);
    QFETCH(bool, byKeyboard);
    CoinOnScreen screen(goldPicture);
    jinbi *coin = screen.coin;
    coin->goldUp = true;
    QSignalSpy clicked(coin, &QPushButton::clicked);
    const bool free = state == "free";
    if (state == "turning")
        coin->turnOver();
    coin->isLocked = state == "locked";
    if (byKeyboard) {
        QTest::keyPress(coin, Qt::Key_Space);
        QCOMPARE(coin->isDown(), free);
        QTest::keyRelease(coin, Qt::Key_Space);
    } else {
        QTest::mousePress(coin, Qt::LeftButton, {}, QPoint(23, 22));
        QCOMPARE(coin->isDown(), free);
        QTest::mouseRelease(coin, Qt::LeftButton, {}, QPoint(23, 22));
    }
    QCOMPARE(clicked.count(), free ? 1 : 0);
}

void TestJinbi::pressBeforeTheLockDoesNotClickAfterIt()
{
    CoinOnScreen screen(goldPicture);
    jinbi *coin = screen.coin;
    QSignalSpy clicked(coin, &QPushButton::clicked);
    // Held down while another coin's move locks the board: letting go must not start a move.
    QTest::mousePress(coin, Qt::LeftButton, {}, QPoint(23, 22));
    QVERIFY(coin->isDown());
    coin->isLocked = true;
    QTest::mouseRelease(coin, Qt::LeftButton, {}, QPoint(23, 22));
    QVERIFY(!coin->isDown());
    coin->isLocked = false;
    QTest::keyPress(coin, Qt::Key_Space);
    QVERIFY(coin->isDown());
    coin->isLocked = true;
    QTest::keyRelease(coin, Qt::Key_Space);
    QVERIFY(!coin->isDown());
    QCOMPARE(clicked.count(), 0);
}

void TestJinbi::missingStartingPictureIsReported()
{
    QTest::ignoreMessage(QtDebugMsg, "加载图片失败");
    jinbi coin(":/res/NoSuchCoin.png");
    QCOMPARE(coin.size(), QSize(0, 0));
    QVERIFY(coin.icon().isNull());
    // Its turns still run and end.
    coin.goldUp = true;
    coin.turnOver();
    QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 3000);
    QVERIFY(!coin.goldUp);
}

QTEST_MAIN(TestJinbi)
#include "tst_jinbi.moc"
