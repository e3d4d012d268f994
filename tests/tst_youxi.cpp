// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include <QAccessible>
#include <QMenu>
#include <memory>

#include "support/scenehelpers.h"
#include "widgets/hintmark.h"

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

bool allGold(const youxi &w)
{
    return facesOf(w) == Board(4, QVector<int>(4, 1));
}

int fewestLeft(const youxi &w)
{
    return boardSolver::fewestMoves(boardSolver::silverOf(w.faceGrid));
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
        QTest::newRow("level 1 solved") << boardOnScreen(1) << QVector<QPoint>{{2, 2}} << true;
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
        solvedBefore({});
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
        // Told, and kept only when won.
        QTRY_COMPARE_WITH_TIMEOUT(labelOf(w, wins ? "victoryLabel" : "defeatLabel")->accessibleName(),
                                  QString(wins ? "通关" : "失败"), 3000);
        QCOMPARE(keptTimes().keys(), wins ? QList<int>{1} : QList<int>{});
    }

    void victoryIsKeptAtOnceAndANewBestIsTold_data()
    {
        QTest::addColumn<int>("bestBefore");   // tenths; a first solve is in the defeat's race
        QTest::addColumn<bool>("newBest");
        QTest::newRow("faster than before") << 999 << true;
        QTest::newRow("slower than before") << 1 << false;
    }
    void victoryIsKeptAtOnceAndANewBestIsTold()
    {
        QFETCH(int, bestBefore);
        QFETCH(bool, newBest);
        solvedBefore({{1, bestBefore}});
        youxi w(1);
        w.show();
        // Level 1 takes one press at the fewest; two more make a detour back to the start.
        for (QPoint p : {QPoint(0, 0), QPoint(0, 0), QPoint(2, 2)})
            clickCoin(w, p);
        // On disk by the time the window knows it has won, before any picture moves.
        QTRY_VERIFY_WITH_TIMEOUT(w.solved, 2000);
        const int kept = keptTimes().value(1);
        // From the level's start: three neighbour steps of 0.3 s, and a busy machine's lag.
        if (bestBefore == 1)
            QCOMPARE(kept, 1);
        else
            QVERIFY2(kept >= 8 && kept < 40, qPrintable(QString::number(kept)));
        QCOMPARE(w.movesMade(), 3);
        QCOMPARE(progressStore().levels().value(1).fewestMoves, 3);
        const QString outcome = newBest ? QString("通关，新的最佳时间: %1 秒").arg(QLocale().toString(kept / 10.0, 'f', 1)) : QString("通关");
        QLabel *picture = labelOf(w, "victoryLabel");
        QTRY_COMPARE_WITH_TIMEOUT(picture->accessibleName(), outcome, 3000);
        QCOMPARE(picture->accessibleDescription(), QString("用了 3 步，本关最少 1 步"));
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

    void eachSceneListsItsOwnActionsAndScreenReadersPressThem()
    {
        MenuWithLevelSelect scenes;
        for (sceneWindow *scene : {static_cast<sceneWindow *>(&scenes.menu),
                                   static_cast<sceneWindow *>(scenes.levelSelect.data())}) {
            QCOMPARE(scene->sceneActions().size(), 1);
            QCOMPARE(scene->sceneActions().first()->text(), QString("退出"));
        }
        youxi w(5);
        w.show();
        QStringList texts;
        for (QAction *a : w.sceneActions())
            if (a->isVisible())
                texts << a->text() + ' ' + a->shortcut().toString();
        QCOMPARE(texts, (QStringList{"重新开始 F5", "下一关 N", "上一关 Ctrl+PgUp", "暂停 P", "提示 H", "退出 Ctrl+Q"}));
        QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(&w)->actionInterface();
        QVERIFY(actions);
        QVERIFY(!actions->actionNames().contains("演示解法"));
        QCOMPARE(actions->keyBindingsForAction("暂停"), QStringList{"P"});
        actions->doAction("暂停");
        QVERIFY(w.isPaused());
        actions->doAction("暂停");
        QVERIFY(!w.isPaused());
        actions->doAction("提示");
        QVERIFY(w.findChild<hintMark *>()->isVisible());
        QSignalSpy wanted(&w, &youxi::levelWanted);
        QList<int> asked;
        for (const char *name : {"下一关", "上一关", "重新开始"}) {
            actions->doAction(name);
            asked << (wanted.isEmpty() ? 0 : wanted.takeFirst().first().toInt());
        }
        QCOMPARE(asked, (QList<int>{6, 4, 5}));
        // The last level has no next one, the first no previous one.
        youxi first(1), last(20);
        QVERIFY(!actionOf(last, "下一关")->isEnabled() && actionOf(last, "上一关")->isEnabled());
        QVERIFY(actionOf(first, "下一关")->isEnabled() && !actionOf(first, "上一关")->isEnabled());
    }

    void theContextMenuOpensByMouseAndKeys_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("right click") << "click";
        QTest::newRow("Menu key") << "menu";
        QTest::newRow("Shift+F10") << "shift+f10";
    }
    void theContextMenuOpensByMouseAndKeys()
    {
        QFETCH(QString, how);
        youxi w(2);
        w.show();
        // The Menu key reaches the window as the platform's context menu event, at the pointer.
        if (how != "shift+f10") {
            QContextMenuEvent e(how == "click" ? QContextMenuEvent::Mouse : QContextMenuEvent::Keyboard,
                                QPoint(20, 300), w.mapToGlobal(QPoint(20, 300)));
            QApplication::sendEvent(w.coinGrid[0][2], &e);
        } else {
            pressKey(w, QKeySequence(Qt::SHIFT | Qt::Key_F10));
        }
        QPointer<QMenu> menu = w.findChild<QMenu *>("sceneMenu");
        QVERIFY(menu && menu->isVisible());
        QStringList listed;
        for (QAction *a : menu->actions())
            listed << a->text();
        QCOMPARE(listed, (QStringList{"重新开始", "下一关", "上一关", "暂停", "提示", "退出"}));
        // From the keyboard, the first entry is chosen so that Return takes it.
        if (how != "click")
            QCOMPARE(menu->activeAction(), menu->actions().first());
        // Inside the window, whole, and the one thing a click reaches until it closes.
        QVERIFY(w.rect().contains(menu->geometry()));
        QCOMPARE(w.focusWidget(), static_cast<QWidget *>(menu));
        QTest::mouseClick(w.coinGrid[3][3], Qt::LeftButton);
        QVERIFY(!menu || !menu->isVisible());
        QTRY_VERIFY(!menu);   // a scene keeps nothing of a closed menu
        QCOMPARE(w.movesMade(), 1);   // and went on to the coin
        QVERIFY(w.focusWidget() != static_cast<QWidget *>(menu));
    }

    void pauseHoldsTheCountdownAndTheBoardUntilResumed()
    {
        youxi w(3);
        w.show();
        waitPast(400);
        QTimer *countdown = countdownTimerOf(w);
        // Paused: the card shown, the clock stopped and every coin locked; and all undone.
        const auto pausedAs = [&](bool paused) {
            QLabel *card = labelOf(w, "pauseCard");
            return w.isPaused() == paused && (card && card->isVisible()) == paused
                   && (!paused || !countdown->isActive()) && lockedCoins(w) == (paused ? 16 : 0);
        };
        // Every way in and out: P, Pause, the menu's action and a click on the card.
        pressKey(w, QKeySequence(Qt::Key_P));
        QVERIFY(pausedAs(true));
        QLabel *card = labelOf(w, "pauseCard");
        QVERIFY(card->geometry().contains(QRect(60, 194, 200, 200)));
        QCOMPARE(w.childAt(160, 294), card);
        QTest::mouseClick(card, Qt::LeftButton, {}, QPoint(5, 5));   // the card's corner resumes too
        QVERIFY(pausedAs(false));
        pressKey(w, QKeySequence(Qt::Key_Pause));
        QVERIFY(pausedAs(true));
        actionOf(w, "暂停")->trigger();
        QVERIFY(pausedAs(false));
        pressKey(w, QKeySequence(Qt::Key_P));
        QVERIFY(pausedAs(true));
        // Time stands still and the board takes nothing.
        const Board before = facesOf(w);
        QTest::mouseClick(w.coinGrid[1][1], Qt::LeftButton);
        waitPast(1300);
        QCOMPARE(labelOf(w, "countdownLabel")->text(), QString());
        QCOMPARE(facesOf(w), before);
        QVERIFY(!actionOf(w, "提示")->isEnabled());
        pressKey(w, QKeySequence(Qt::Key_P));
        QVERIFY(pausedAs(false));
        // What was left of the first second, 600 ms or a little less, and then whole seconds.
        bool at250 = true, at750 = false, over = false;
        QObject probes;
        const auto ticked = [&] { return labelOf(w, "countdownLabel")->text() == youxi::countdownText(9); };
        QTimer::singleShot(250, Qt::PreciseTimer, &probes, [&] { at250 = ticked(); });
        QTimer::singleShot(750, Qt::PreciseTimer, &probes, [&] { at750 = ticked(); over = true; });
        QTRY_VERIFY_WITH_TIMEOUT(over, 20000);
        QVERIFY2(!at250 && at750, "the first tick after the pause not where the second was left");
        QVERIFY(countdown->isActive());
        QCOMPARE(countdown->interval(), 1000);
    }

    void minimisedTheLevelPausesAndStaysPaused()
    {
        youxi w(4);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.showMinimized();
        QTRY_VERIFY_WITH_TIMEOUT(w.isPaused(), 2000);
        w.showNormal();
        waitPast(100);
        QVERIFY(w.isPaused());
        QVERIFY(!countdownTimerOf(w)->isActive());
    }

    void hintsLeadAlongAShortestSolution()
    {
        solvedBefore({});
        youxi w(1);
        w.show();
        QCOMPARE(fewestLeft(w), 1);
        // A wrong press first: the hint then starts from the board as it is.
        clickCoin(w, QPoint(0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(lockedCoins(w) == 0, 2000);
        const int afterDetour = fewestLeft(w);
        QCOMPARE(afterDetour, 2);
        for (int left = afterDetour; left > 0; --left) {
            pressKey(w, QKeySequence(Qt::Key_H));
            hintMark *mark = w.findChild<hintMark *>();
            QVERIFY(mark && mark->isVisible());
            auto *coin = static_cast<jinbi *>(mark->markedCoin());
            QCOMPARE(mark->accessibleName(), QString("提示: 第 %1 行 第 %2 列").arg(coin->boardRow + 1).arg(coin->boardColumn + 1));
            QVERIFY(mark->geometry().contains(coin->geometry()));
            clickCoin(w, QPoint(coin->boardColumn, coin->boardRow));
            QVERIFY(!mark->isVisible());
            QTRY_VERIFY_WITH_TIMEOUT(lockedCoins(w) == 0 || w.solved, 2000);
            QCOMPARE(fewestLeft(w), left - 1);
        }
        QVERIFY(w.solved);
        // Solved, but with no time, nor moves, to beat.
        QCOMPARE(keptTimes(), (BestTimes{{1, 0}}));
        QCOMPARE(progressStore().levels().value(1).fewestMoves, 0);
        QLabel *picture = labelOf(w, "victoryLabel");
        QTRY_COMPARE_WITH_TIMEOUT(picture->accessibleName(), QString("通关，用过提示，不计最佳时间"), 3000);
        QCOMPARE(picture->accessibleDescription(), QString("用了 3 步，本关最少 1 步"));
    }

    void aShownSolutionPlaysFromTheStartToAllGold_data()
    {
        QTest::addColumn<bool>("won");
        QTest::newRow("after a defeat") << false;
        QTest::newRow("after a victory") << true;
    }
    void aShownSolutionPlaysFromTheStartToAllGold()
    {
        QFETCH(bool, won);
        youxi w(2);
        w.show();
        QAction *show = actionOf(w, "演示解法");
        QVERIFY(!show->isVisible() && !show->isEnabled());
        if (won) {
            QVector<QPoint> clicks;
            QVERIFY(solveBoard(boardOnScreen(2), &clicks));
            for (QPoint p : clicks)
                clickCoin(w, p);
            QTRY_VERIFY_WITH_TIMEOUT(w.solved, 3000);
        } else {
            clickCoin(w, QPoint(1, 1));
            QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, 2000);
            tick(w, 11);
        }
        QVERIFY(show->isVisible() && show->isEnabled());
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QElapsedTimer sincePressed;
        sincePressed.start();
        QTest::keyClick(w.focusWidget(), Qt::Key_S);
        QVERIFY(w.isShowingSolution());
        // Back at the start at once (the turns under way), the ending's picture out of the way.
        QCOMPARE(facesOf(w), boardOnScreen(2));
        QVERIFY(!labelOf(w, won ? "victoryLabel" : "defeatLabel")->isVisible());
        QCOMPARE(backButtonOf(w)->geometry(), backCorner);
        // The first press comes 0.8 s after the start, then one every 0.8 s: two in all.
        QTRY_VERIFY_WITH_TIMEOUT(facesOf(w) != boardOnScreen(2), 3000);
        QVERIFY2(sincePressed.elapsed() >= 700, qPrintable(QString::number(sincePressed.elapsed())));   // a coarse timer may fire 5 % early
        QTRY_VERIFY_WITH_TIMEOUT(allGold(w), 5000);
        QVERIFY(w.isShowingSolution());
        QTRY_VERIFY_WITH_TIMEOUT(!w.isShowingSolution(), 2000);
        QVERIFY(allGold(w) && show->isEnabled());
        // Solved once more only where the level was won.
        QCOMPARE(w.solved, won);
        // Shown again and stopped by any key or click, which leads nowhere else.
        QSignalSpy back(&w, &youxi::fanhui);
        show->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(fewestLeft(w), 1, 3000);
        if (won)
            QTest::mouseClick(w.coinGrid[0][0], Qt::LeftButton);
        else
            QTest::keyClick(backButtonOf(w), Qt::Key_Space);
        QVERIFY(!w.isShowingSolution());
        const Board stopped = facesOf(w);
        waitPast(1200);
        QCOMPARE(facesOf(w), stopped);
        QCOMPARE(back.count(), 0);
    }
};

QTEST_MAIN(TestYouxi)
#include "tst_youxi.moc"
