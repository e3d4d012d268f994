// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include "support/scenehelpers.h"

namespace {

const QRect parked(0, -630, 320, 630);
const QRect dropped(0, 0, 320, 630);
const QRect backCorner(270, 538, 50, 50);
const QRect backMiddle(135, 294, 50, 50);

QByteArray contentsOfFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Victory and defeat end alike: the clock stops, the picture drops over the board on a
// bounce, and the back button glides above it to the middle.
void expectEnding(youxi &w, const char *picture)
{
    QVERIFY(!countdownTimerOf(w)->isActive());
    QLabel *label = labelOf(w, picture);
    const QObjectList children = w.children();
    QCOMPARE(children.mid(children.size() - 2), (QObjectList{label, backButtonOf(w)}));
    expectGlide(label, 1500, QEasingCurve::OutBounce, parked, dropped);
    expectGlide(backButtonOf(w), 1500, QEasingCurve::OutCubic, backCorner, backMiddle);
}

}

class TestYouxi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpSceneTests(this, Animations::Frozen); }
    void cleanup()
    {
        closePlayWindows();
        finishAnimations();
    }

    void showsItsLevelsBoard_data()
    {
        QTest::addColumn<int>("level");
        for (int level = 1; level <= 20; ++level)
            QTest::newRow(qPrintable(QString("level %1").arg(level))) << level;
    }

    void showsItsLevelsBoard()
    {
        QFETCH(int, level);
        youxi w(level);
        QCOMPARE(labelOf(w, "levelLabel")->text(), QString("第 %1 关").arg(level));
        QCOMPARE(labelOf(w, "countdownLabel")->text(), QString());
        QVERIFY(countdownTimerOf(w)->isActive());
        QCOMPARE(countdownTimerOf(w)->interval(), 1000);
        // What the player sees (a transposed reading shows up on levels such as 9), and winnable.
        QCOMPARE(facesOf(w), boardOnScreen(level));
        QVERIFY(solveBoard(facesOf(w), nullptr));
    }

    void clickFlipsTheCoinAtOnceAndItsNeighbours300MsLater_data()
    {
        // Corners, edges and the inside: between them every column and every row.
        QTest::addColumn<QPoint>("click");
        for (QPoint cell : {QPoint(0, 0), QPoint(3, 3), QPoint(1, 0), QPoint(3, 1), QPoint(2, 2)})
            QTest::newRow(qPrintable(QString("column %1, row %2").arg(cell.x()).arg(cell.y()))) << cell;
    }

    void clickFlipsTheCoinAtOnceAndItsNeighbours300MsLater()
    {
        QFETCH(QPoint, click);
        // Level 10: not symmetric, and no single click solves it.
        const Board start = boardOnScreen(10);
        youxi w(10);
        w.show();
        QTest::mouseClick(w.coinGrid[click.x()][click.y()], Qt::LeftButton);
        Board expected = start;
        expected[click.x()][click.y()] ^= 1;
        QCOMPARE(facesOf(w), expected);
        // Locked until the neighbours turn, the clicked coin included.
        QCOMPARE(lockedCoins(w), 16);
        applyClick(expected = start, click);
        expectAfter300Ms([&] { return facesOf(w) == expected; }, "neighbour step");
        QCOMPARE(lockedCoins(w), 0);
    }

    void victoryNeedsAllGoldOnceTheNeighboursTurn_data()
    {
        QTest::addColumn<Board>("start");
        QTest::addColumn<QVector<QPoint>>("clicks");
        QTest::addColumn<bool>("wins");
        for (int level : {1, 2}) {
            QVector<QPoint> clicks;
            QVERIFY(solveBoard(boardOnScreen(level), &clicks));
            QTest::newRow(qPrintable(QString("level %1 solved").arg(level))) << boardOnScreen(level) << clicks << true;
        }
        // No set of clicks leads to a single silver coin, so such boards are set by hand.
        // Clicking that coin makes the board all gold for 300 ms, until its neighbours turn.
        Board oneSilver(4, QVector<int>(4, 1));
        oneSilver[1][1] = 0;
        QTest::newRow("the only silver coin clicked") << oneSilver << QVector<QPoint>{{1, 1}} << false;
        QTest::newRow("its neighbour clicked") << oneSilver << QVector<QPoint>{{1, 0}} << false;
    }

    void victoryNeedsAllGoldOnceTheNeighboursTurn()
    {
        QFETCH(Board, start);
        QFETCH(QVector<QPoint>, clicks);
        QFETCH(bool, wins);
        // Every start board is turned into place by hand, on one level's window.
        youxi w(8);
        w.show();
        for (int k = 0; k < 16; ++k) {
            if (w.faceGrid[k / 4][k % 4] != start[k / 4][k % 4]) {
                w.coinGrid[k / 4][k % 4]->turnOver();
                w.faceGrid[k / 4][k % 4] ^= 1;
            }
        }
        for (QPoint click : clicks) {
            clickCoin(w, click);
            QVERIFY(!w.solved);  // nothing is decided at click time
        }
        Board expected = start;
        for (QPoint click : clicks)
            applyClick(expected, click);
        QTRY_VERIFY_WITH_TIMEOUT(w.solved || lockedCoins(w) == 0, 2000);
        QCOMPARE(facesOf(w), expected);
        QCOMPARE(w.solved, wins);
        if (!wins) {
            QVERIFY(countdownTimerOf(w)->isActive());
            QCOMPARE(labelOf(w, "victoryLabel")->geometry(), parked);
            return;
        }
        QCOMPARE(lockedCoins(w), 16);
        expectEnding(w, "victoryLabel");
        QCOMPARE(labelOf(w, "defeatLabel")->geometry(), parked);
    }

    void countsDownTheLevelsLimitThenLoses_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("limit");
        for (QPoint row : {QPoint(1, 10), QPoint(5, 10), QPoint(6, 20), QPoint(10, 20), QPoint(11, 50), QPoint(18, 50),
                           QPoint(19, 80), QPoint(20, 80)})
            QTest::newRow(qPrintable(QString("level %1").arg(row.x()))) << row.x() << row.y();
    }

    void countsDownTheLevelsLimitThenLoses()
    {
        QFETCH(int, level);
        QFETCH(int, limit);
        youxi w(level);
        w.show();
        QLabel *countdown = labelOf(w, "countdownLabel");
        // Ticks delivered back to back: the first shows the limit less one, the last 0:0,
        // minutes and seconds without leading zeros.
        for (int s = limit - 1; s >= 0; --s) {
            tick(w);
            QCOMPARE(countdown->text(), QString("倒计时: %1:%2").arg(s / 60).arg(s % 60));
            if (level == 20 && (s % 30 == 0 || s == 79))
                expectGolden(w.grab(QRect(100, 420, 140, 40)).toImage(), QString("countdown-%1").arg(s));
        }
        QVERIFY(countdownTimerOf(w)->isActive());
        QCOMPARE(labelOf(w, "defeatLabel")->geometry(), parked);
        tick(w);
        QCOMPARE(countdown->text(), QString("倒计时: 0:0"));
        expectEnding(w, "defeatLabel");
        QCOMPARE(labelOf(w, "victoryLabel")->geometry(), parked);
        // As at victory, the board takes no more moves.
        QCOMPARE(lockedCoins(w), 16);
    }

    void defeatClosesTheBoardButLetsAPendingMoveEnd_data()
    {
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<bool>("wins");
        QTest::newRow("losing move pending") << QPoint(0, 0) << false;
        QTest::newRow("winning move pending") << QPoint(2, 2) << true;  // level 1's one solving click
    }

    void defeatClosesTheBoardButLetsAPendingMoveEnd()
    {
        QFETCH(QPoint, click);
        QFETCH(bool, wins);
        youxi w(1);
        w.show();
        countdownTimerOf(w)->stop();  // ticked by hand, so the defeat surely falls inside the click's 300 ms
        tick(w, 10);  // down to 0:0; the next tick is the defeat
        Board expected = facesOf(w);
        clickCoin(w, click);
        applyClick(expected, click);
        tick(w);
        QTRY_COMPARE_WITH_TIMEOUT(facesOf(w), expected, 2000);
        QCOMPARE(w.solved, wins);
        // The picture that dropped in last lies on top: the defeat, or the victory over it.
        for (QPropertyAnimation *a : liveobjects::of<QPropertyAnimation>())
            a->setCurrentTime(1500);
        QCOMPARE(w.childAt(160, 100), labelOf(w, wins ? "victoryLabel" : "defeatLabel"));
        for (jinbi *coin : w.findChildren<jinbi *>()) {
            QTRY_VERIFY_WITH_TIMEOUT(coin->isLocked && !coin->isTurning, 2000);
            QTest::mouseClick(coin, Qt::LeftButton);
            QTest::keyClick(coin, Qt::Key_Space);
            coin->click();
            QVERIFY(!coin->isTurning);  // no press of any kind starts a move
        }
    }

    void victoryIsKeptAtOnceAndANewBestIsTold_data()
    {
        QTest::addColumn<int>("bestBefore");   // tenths; 0: never solved
        QTest::addColumn<bool>("newBest");
        QTest::newRow("first solve") << 0 << false;
        QTest::newRow("faster than before") << 999 << true;
        QTest::newRow("slower than before") << 1 << false;
    }
    void victoryIsKeptAtOnceAndANewBestIsTold()
    {
        QFETCH(int, bestBefore);
        QFETCH(bool, newBest);
        solvedBefore(bestBefore ? BestTimes{{1, bestBefore}} : BestTimes{});
        youxi w(1);
        w.show();
        waitPast(500);
        clickCoin(w, QPoint(2, 2));
        // On disk by the time the window knows it has won, before any picture moves.
        QTRY_VERIFY_WITH_TIMEOUT(w.solved, 2000);
        const int kept = keptTimes().value(1);
        // From the level's start: 0.5 s waited and the neighbours' 0.3 s, and a busy machine's lag.
        if (bestBefore == 1)
            QCOMPARE(kept, 1);
        else
            QVERIFY2(kept >= 8 && kept < 40, qPrintable(QString::number(kept)));
        const QString outcome = newBest ? QString("通关，新的最佳时间: %1 秒").arg(QLocale().toString(kept / 10.0, 'f', 1)) : QString("通关");
        QTRY_COMPARE_WITH_TIMEOUT(labelOf(w, "victoryLabel")->accessibleName(), outcome, 3000);
    }

    // Another process holds the file's lock through the victory: the picture and sound start on
    // time, the level select already sees the win, and it reaches the file once the lock is free.
    void victoryNeverWaitsForALockAnotherProcessHolds()
    {
        solvedBefore({});
        QProcess holder;
        holder.start("sleep", {"60"});
        QVERIFY(holder.waitForStarted());
        const QString lock = progressStore::defaultPath() + ".merge-lock";
        QDir().mkpath(QFileInfo(lock).absolutePath());
        {
            QFile f(lock);   // as QLockFile writes it: process id, program name, host
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QString("%1\nsleep\n%2\n").arg(holder.processId()).arg(QSysInfo::machineHostName()).toUtf8());
        }
        youxi w(1);
        w.show();
        clickCoin(w, QPoint(2, 2));
        QElapsedTimer sinceClick;
        sinceClick.start();
        QTRY_VERIFY_WITH_TIMEOUT(animationOf(labelOf(w, "victoryLabel")), 2000);
        QVERIFY2(sinceClick.elapsed() < 300 + 400, qPrintable(QString::number(sinceClick.elapsed())));
        QCOMPARE(keptTimes().keys(), QList<int>{1});
        waitPast(1000);
        QVERIFY(QFile::exists(lock));
        QVERIFY(!contentsOfFile(progressStore::defaultPath()).contains("level1"));
        QFile::remove(lock);
        holder.kill();
        holder.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(contentsOfFile(progressStore::defaultPath()).contains("[level1]"), 3000);
        finishAnimations();
    }

    void defeatKeepsNothing()
    {
        solvedBefore({});
        youxi w(1);
        tick(w, 11);
        QTRY_COMPARE_WITH_TIMEOUT(labelOf(w, "defeatLabel")->accessibleName(), QString("失败"), 3000);
        QCOMPARE(keptTimes(), BestTimes{});
    }
};

QTEST_MAIN(TestYouxi)
#include "tst_youxi.moc"
