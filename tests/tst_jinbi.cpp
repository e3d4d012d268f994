// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QSignalSpy>

#include "support/scenehelpers.h"

namespace {

QImage frame(int n) { return picture(QString(":/res/Coin000%1.png").arg(n)); }
const QVector<int> goldToSilver{1, 2, 3, 4, 5, 6, 7, 8}, silverToGold{8, 7, 6, 5, 4, 3, 2, 1};

// Which of the eight frames the coin shows; 0 when none.
int frameShown(const jinbi &coin)
{
    for (int n = 1; n <= 8; ++n)
        if (iconOf(coin) == frame(n))
            return n;
    return 0;
}

}

class TestJinbi : public QObject
{
    Q_OBJECT
private slots:
    void turnShowsEveryFrameOnceThirtyMsApart()
    {
        // From gold to silver and back: the widget keeps its starting size.
        jinbi coin(":/res/Coin0001.png");
        coin.goldUp = true;
        QVector<int> seen;
        // Connected after the coin's own handlers, so each entry is the frame just shown.
        for (QTimer *timer : {coin.toSilverTimer, coin.toGoldTimer}) {
            connect(timer, &QTimer::timeout, &coin, [&, timer] {
                QCOMPARE(timer->interval(), 30);
                seen << frameShown(coin);
                expectGolden(coin.grab().toImage(), QString("coin-%1").arg(seen.last()));
            });
        }
        for (bool toSilver : {true, false}) {
            seen.clear();
            coin.turnOver();
            // The face flag changes as the turn starts; the first tick shows the old face again.
            QCOMPARE(coin.goldUp, !toSilver);
            QVERIFY(coin.isTurning);
            QTRY_VERIFY_WITH_TIMEOUT(!coin.isTurning, 3000);
            QCOMPARE(seen, toSilver ? goldToSilver : silverToGold);
            QCOMPARE(coin.size(), QSize(46, 44));
            QVERIFY(!coin.toSilverTimer->isActive() && !coin.toGoldTimer->isActive());
        }
    }

    void turnedAgainMidTurnItRestsOnItsTrueFace()
    {
        // Ticks by hand, each running timer in turn as the event loop would; gives the frames shown.
        auto tick = [](jinbi &coin, int rounds) {
            QVector<int> frames;
            while (rounds-- > 0)
                for (QTimer *timer : {coin.toSilverTimer, coin.toGoldTimer})
                    if (timer->isActive() && QMetaObject::invokeMethod(timer, "timeout"))
                        frames << frameShown(coin);
            return frames;
        };
        for (bool gold : {true, false}) {
            for (int ticks = 0; ticks < 8; ++ticks) {  // turned again 0 to 210 ms into the turn
                jinbi coin(gold ? ":/res/Coin0001.png" : ":/res/Coin0008.png");
                coin.goldUp = gold;
                coin.turnOver();
                QVector<int> back = tick(coin, ticks);
                std::reverse(back.begin(), back.end());
                coin.turnOver();
                QCOMPARE(tick(coin, 20), ticks ? back : QVector<int>{gold ? 1 : 8});
                QVERIFY(coin.goldUp == gold && !coin.isTurning);
                coin.turnOver();  // from rest again: one run, the whole way
                QCOMPARE(tick(coin, 20), gold ? goldToSilver : silverToGold);
            }
        }
    }

    void busyCoinSwallowsPresses_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("byKeyboard");
        for (const char *state : {"free", "turning", "locked", "locked while held"}) {
            QTest::newRow(qPrintable(QString("%1, mouse").arg(state))) << state << false;
            QTest::newRow(qPrintable(QString("%1, keyboard").arg(state))) << state << true;
        }
    }

    void busyCoinSwallowsPresses()
    {
        QFETCH(QString, state);
        QFETCH(bool, byKeyboard);
        QWidget window;
        jinbi *coin = placed(window, new jinbi(":/res/Coin0001.png"));
        coin->setFocus();
        coin->goldUp = true;
        QSignalSpy clicked(coin, &QPushButton::clicked);
        if (state == "turning")
            coin->turnOver();
        coin->isLocked = state == "locked";
        byKeyboard ? QTest::keyPress(coin, Qt::Key_Space) : QTest::mousePress(coin, Qt::LeftButton);
        QCOMPARE(coin->isDown(), state == "free" || state == "locked while held");
        // Held down while another coin's move locks the board: letting go must not start a move.
        coin->isLocked = coin->isLocked || state == "locked while held";
        byKeyboard ? QTest::keyRelease(coin, Qt::Key_Space) : QTest::mouseRelease(coin, Qt::LeftButton);
        QVERIFY(!coin->isDown());
        QCOMPARE(clicked.count(), state == "free" ? 1 : 0);
    }

    void missingStartingPictureIsReported()
    {
        QTest::ignoreMessage(QtDebugMsg, "加载图片失败");
        jinbi coin(":/res/NoSuchCoin.png");
        QCOMPARE(coin.size(), QSize(0, 0));
        QVERIFY(coin.icon().isNull());
    }
};

QTEST_MAIN(TestJinbi)
#include "tst_jinbi.moc"
