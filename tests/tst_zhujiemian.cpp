// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include "support/scenehelpers.h"

class TestZhujiemian : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpSceneTests(this, Animations::RunFree); }

    void startClickBouncesThenHandsOverAfter300Ms()
    {
        MenuWithLevelSelect scenes;
        Zhujiemian &menu = scenes.menu;
        xuanguan *ls = scenes.levelSelect;
        QVERIFY(startButtonOf(menu) && startButtonOf(menu)->size() == QSize(110, 110));
        QVERIFY(!ls->isVisible() && !ls->parent());
        menu.show();
        mybtn *start = startButtonOf(menu);
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(55, 55));
        // Down at once; the menu stays for 300 ms, then the level select takes its place.
        QCOMPARE(start->pos(), QPoint(105, 362));
        expectAfter300Ms([&] { return ls->isVisible() && !menu.isVisible(); }, "hand-over");
        QTRY_COMPARE_WITH_TIMEOUT(start->pos(), QPoint(105, 352), 2000);
    }

    // Of two hand-overs armed by two clicks, the second must not bring back a level select left for a level.
    void levelChosenBetweenTwoHandOversKeepsThePlayWindowAlone()
    {
        MenuWithLevelSelect scenes;
        xuanguan *ls = scenes.levelSelect;
        scenes.menu.show();
        mybtn *start = startButtonOf(scenes.menu);  // found at rest: the first click bounces it
        QTest::mouseClick(start, Qt::LeftButton);
        waitPast(150);
        QTest::mouseClick(start, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), 2000);
        QTest::mouseClick(levelButtonOf(*ls, 0), Qt::LeftButton);
        QPointer<youxi> play = ls->playWindow;
        waitPast(350);
        QVERIFY(play && play->isVisible());
        QVERIFY(!ls->isVisible() && !scenes.menu.isVisible());
        delete play.data();
        ls->playWindow = nullptr;
    }
};

QTEST_MAIN(TestZhujiemian)
#include "tst_zhujiemian.moc"
