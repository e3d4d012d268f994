// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QSignalSpy>

#include "support/scenehelpers.h"

class TestXuanguan : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        holdGameSounds(this);
    }
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
};

QTEST_MAIN(TestXuanguan)
#include "tst_xuanguan.moc"
