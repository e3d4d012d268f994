// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QSignalSpy>

#include "support/scenehelpers.h"
#include "widgets/solvedmark.h"

// The levels whose badge shows, by where it sits on its button.
static QList<int> markedLevels(xuanguan &ls)
{
    QList<int> levels;
    for (int i = 0; i < 20; ++i)
        for (solvedMark *m : ls.findChildren<solvedMark *>())
            if (m->isVisible() && m->geometry() == QRect(levelPlace(i) + QPoint(40, -4), QSize(24, 24)))
                levels << i + 1;
    return levels;
}

class TestXuanguan : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpSceneTests(this, Animations::RunFree); }
    void cleanup() { closePlayWindows(); }

    void clickOnANumberOpensItsLevel()
    {
        // The first, the one that starts the second row, the last.
        for (int level : {1, 5, 20}) {
            xuanguan ls;
            ls.show();
            QVERIFY(QTest::qWaitForWindowExposed(&ls));
            // Through the window, so the number on top must let the click through to its button.
            QTest::mouseClick(ls.windowHandle(), Qt::LeftButton, {}, levelPlace(level - 1) + QPoint(30, 30));
            QTRY_VERIFY_WITH_TIMEOUT(ls.playWindow, 2000);
            QCOMPARE(ls.playWindow->levelNumber, level);
            QVERIFY(ls.playWindow->isVisible() && !ls.isVisible());
            // While a level is open, the other level buttons do nothing.
            QTest::mouseClick(levelButtonOf(ls, level % 20), Qt::LeftButton);
            QCOMPARE(liveobjects::count<youxi>(), 1);
            QCOMPARE(ls.playWindow->levelNumber, level);
            closePlayWindows();
        }
    }

    void backHidesThenEmitsFanhuiAfter300Ms()
    {
        xuanguan ls;
        ls.show();
        QVector<bool> visibleAtFanhui;
        connect(&ls, &xuanguan::fanhui, this, [&] { visibleAtFanhui << ls.isVisible(); });
        QTest::mouseClick(backButtonOf(ls), Qt::LeftButton);
        expectAfter300Ms([&] { return !visibleAtFanhui.isEmpty(); }, "back");
        // Hidden before the signal goes out.
        QCOMPARE(visibleAtFanhui, QVector<bool>{false});
    }

    void levelChosenDuringAPendingBackStaysOpen()
    {
        xuanguan ls;
        ls.show();
        QSignalSpy back(&ls, &xuanguan::fanhui);
        QTest::mouseClick(backButtonOf(ls), Qt::LeftButton);
        QTest::mouseClick(levelButtonOf(ls, 5), Qt::LeftButton);
        QPointer<youxi> play = ls.playWindow;
        waitPast(350);
        QCOMPARE(back.count(), 0);
        QVERIFY(play && play->isVisible() && !ls.isVisible());
    }

    void playWindowGoesBackAndIsDeleted()
    {
        xuanguan ls;
        ls.show();
        QTest::mouseClick(levelButtonOf(ls, 2), Qt::LeftButton);
        QPointer<youxi> play = ls.playWindow;
        // Clicked twice: the first return deletes the window, and the second delay dies with it.
        QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
        QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
        QVERIFY(play->isVisible());
        expectAfter300Ms([&] { return !play && ls.isVisible(); }, "play window's back");
        QCOMPARE(ls.playWindow, nullptr);
        QCOMPARE(liveobjects::count<youxi>(), 0);
        QTest::mouseClick(levelButtonOf(ls, 3), Qt::LeftButton);
        QPointer<youxi> next = ls.playWindow;
        waitPast(350);
        QVERIFY(next && next->isVisible() && !ls.isVisible());
    }

    void solvedLevelsShowMarksTimesAndWhereToGoOn_data()
    {
        QTest::addColumn<BestTimes>("solved");
        QTest::addColumn<int>("firstCell");
        BestTimes all;
        for (int level = 1; level <= 20; ++level)
            all[level] = 10 * level + 3;
        BestTimes allBut20 = all;
        allBut20.remove(20);
        QTest::newRow("nothing solved") << BestTimes{} << 1;
        QTest::newRow("1 and 3") << BestTimes{{1, 57}, {3, 1234}} << 2;
        QTest::newRow("all but 20") << allBut20 << 20;
        QTest::newRow("all twenty") << all << 1;
    }
    void solvedLevelsShowMarksTimesAndWhereToGoOn()
    {
        QFETCH(BestTimes, solved);
        QFETCH(int, firstCell);
        solvedBefore(solved);
        xuanguan ls;
        ls.show();
        QCOMPARE(markedLevels(ls), solved.keys());
        QCOMPARE(ls.focusWidget(), levelButtonOf(ls, firstCell - 1));
        for (int level = 1; level <= 20; ++level) {
            const QString seconds = QString::number(solved.value(level) / 10.0, 'f', 1);
            mybtn *button = levelButtonOf(ls, level - 1);
            QCOMPARE(button->toolTip(), solved.contains(level) ? QString("最佳时间: %1 秒").arg(seconds) : QString());
            QCOMPARE(button->accessibleDescription(),
                     solved.contains(level) ? QString("已通关，最佳时间: %1 秒").arg(seconds) : QString());
        }
    }

    void aPlayWindowGivesItsPlaceToAnotherLevel_data()
    {
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("opened");
        QTest::newRow("F5 restarts") << QKeySequence(Qt::Key_F5) << 3 << 3;
        QTest::newRow("Ctrl+R restarts") << QKeySequence(Qt::CTRL | Qt::Key_R) << 3 << 3;
        QTest::newRow("N goes on") << QKeySequence(Qt::Key_N) << 3 << 4;
        QTest::newRow("Ctrl+PgDown goes on") << QKeySequence(Qt::CTRL | Qt::Key_PageDown) << 19 << 20;
        QTest::newRow("Ctrl+PgUp goes back") << QKeySequence(Qt::CTRL | Qt::Key_PageUp) << 3 << 2;
        QTest::newRow("no level after 20") << QKeySequence(Qt::Key_N) << 20 << 0;
        QTest::newRow("no level before 1") << QKeySequence(Qt::CTRL | Qt::Key_PageUp) << 1 << 0;
    }
    void aPlayWindowGivesItsPlaceToAnotherLevel()
    {
        QFETCH(QKeySequence, key);
        QFETCH(int, level);
        QFETCH(int, opened);
        solvedBefore({});
        xuanguan ls;
        ls.show();
        QTest::mouseClick(levelButtonOf(ls, level - 1), Qt::LeftButton);
        QPointer<youxi> first = ls.playWindow;
        first->move(37, 41);
        const QRect place = first->geometry();
        tick(*first);   // its countdown has begun
        pressKey(*first, key);
        if (opened == 0) {
            QCOMPARE(ls.playWindow, first.data());
            QVERIFY(first->isVisible());
            return;
        }
        QPointer<youxi> next = ls.playWindow;
        QVERIFY(next && next != first);
        QTRY_VERIFY_WITH_TIMEOUT(!first, 2000);
        QCOMPARE(next->levelNumber, opened);
        QCOMPARE(next->geometry(), place);
        QVERIFY(next->isVisible() && !ls.isVisible());
        // From its start, with its full time.
        QCOMPARE(facesOf(*next), boardOnScreen(opened));
        QCOMPARE(labelOf(*next, "countdownLabel")->text(), QString());
        QVERIFY(countdownTimerOf(*next)->isActive());
        QCOMPARE(next->focusWidget(), next->coinGrid[0][0]);
        // Won and left, as after any visit: the level select where it was, its badge and keys.
        QVector<QPoint> clicks;
        QVERIFY(solveBoard(boardOnScreen(opened), &clicks));
        for (QPoint p : clicks)
            clickCoin(*next, p);
        QTRY_VERIFY_WITH_TIMEOUT(next->solved, 3000);
        QTest::mouseClick(backButtonOf(*next), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!next && ls.isVisible(), 2000);
        QCOMPARE(ls.geometry(), place);
        QCOMPARE(markedLevels(ls), QList<int>{opened});
        QCOMPARE(ls.focusWidget(), levelButtonOf(ls, opened == 1 ? 1 : 0));
        QCOMPARE(levelButtonOf(ls, opened - 1)->toolTip(), QString("最佳时间: %1 秒，最少用了 %2 步，本关最少 %2 步")
                     .arg(keptTimes().value(opened) / 10.0, 0, 'f', 1).arg(clicks.size()));
    }

    // tests/CMakeLists.txt runs this once more at 200 %.
    void solvedLevelsLookAsDrawn()
    {
        solvedBefore({{1, 57}, {2, 80}, {3, 200}, {6, 99}, {20, 700}});
        xuanguan ls;
        ls.show();
        QVERIFY(QTest::qWaitForWindowExposed(&ls));
        expectGolden(ls.grab().toImage(), QString("select-solved-%1").arg(qRound(ls.devicePixelRatioF() * 100)));
    }
};

QTEST_MAIN(TestXuanguan)
#include "tst_xuanguan.moc"
