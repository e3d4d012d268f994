// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QAccessible>

#include "support/scenehelpers.h"

// What a screen reader says for a widget.
static QString nameOf(QWidget *w)
{
    return w ? QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) : QString();
}
static QString focusName() { return nameOf(QApplication::focusWidget()); }

// To the focus: L R U D arrows, T Tab, B Shift+Tab, E Escape, N Return, K Enter, S Space; lower case repeats.
static void typeKeys(const QString &keys)
{
    const QString letters = "LRUDTBENKS";
    const int codes[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Tab,
        Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space};
    for (QChar k : keys)
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            if (QWidget *focus = QApplication::focusWidget()) {
                QKeyEvent e(type, codes[letters.indexOf(k.toUpper())], Qt::NoModifier, QString(), k.isLower());
                QApplication::sendEvent(focus, &e);
            }
}

// The scenes with one of them shown and active: 0 menu, 1 level select, 2 level 1.
struct Scenes : MenuWithLevelSelect
{
    explicit Scenes(int shown) : scene{&menu, levelSelect, &play}
    {
        scene[shown]->show();
        active = QTest::qWaitForWindowActive(scene[shown]);
    }
    youxi play{1};
    QWidget *scene[3];
    bool active;
};

class TestKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setUpSceneTests(this, Animations::RunFree); }
    void cleanup() { closePlayWindows(); }

    void keysWalkEachSceneAndClickOncePerPress_data()
    {
        QTest::addColumn<int>("scene");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("focusEndsWith");
        QTest::addColumn<int>("clicks");
        QTest::newRow("menu: arrows, Tab, Escape, repeats do nothing") << 0 << "RDTEennnNn" << "开始" << 1;
        QTest::newRow("Left, Up, held Right stop at the edges") << 1 << "LURrrrrD" << "第 8 关" << 0;
        QTest::newRow("Shift+Tab from 1 is back; Tab row by row") << 1 << "BTTTTT" << "第 5 关" << 0;
        QTest::newRow("Tab after 20 is back; arrows leave it") << 1 << "DDDDRRRTLU" << "返回" << 0;
        QTest::newRow("one level per Enter") << 1 << "kkK" << "" << 1;
        QTest::newRow("board edges stop") << 2 << "RrrrrDdddd" << "第 4 行 第 4 列" << 0;
        QTest::newRow("board Tab in reading order, then back") << 2 << "TTTTDDRRRT" << "返回" << 0;
        QTest::newRow("lock refuses keys; one Escape") << 2 << "sSsNnKSEeee" << "第 1 行 第 1 列" << 2;
    }
    void keysWalkEachSceneAndClickOncePerPress()
    {
        QFETCH(int, scene);
        QFETCH(QString, keys);
        QFETCH(QString, focusEndsWith);
        QFETCH(int, clicks);
        int clicked = 0;
        Scenes scenes(scene);
        QVERIFY(scenes.active);
        for (auto *b : scenes.scene[scene]->findChildren<QAbstractButton *>())
            connect(b, &QAbstractButton::clicked, this, [&clicked] { ++clicked; });
        typeKeys(keys);
        QVERIFY2(focusEndsWith.isEmpty() || focusName().endsWith(focusEndsWith), qPrintable(focusName()));
        QCOMPARE(clicked, clicks);
    }

    void everyButtonAndCoinIsNamedAndTheNameFollowsTheFace()
    {
        MenuWithLevelSelect scenes;
        youxi w(7);
        QCOMPARE(nameOf(startButtonOf(scenes.menu)) + nameOf(backButtonOf(*scenes.levelSelect))
                 + nameOf(backButtonOf(w)), QString("开始返回返回"));
        for (int i = 0; i < 20; ++i)
            QCOMPARE(nameOf(levelButtonOf(*scenes.levelSelect, i)), QString("第 %1 关").arg(i + 1));
        for (int i = 0; i < 16; ++i)
            QCOMPARE(nameOf(w.coinGrid[i / 4][i % 4]), QString("%1 第 %2 行 第 %3 列")
                     .arg(w.faceGrid[i / 4][i % 4] ? "金币" : "银币").arg(i % 4 + 1).arg(i / 4 + 1));
        w.coinGrid[0][0]->goldUp = !w.coinGrid[0][0]->goldUp;   // the play window writes it directly
        QCOMPARE(nameOf(w.coinGrid[0][0]).left(2), QString(w.faceGrid[0][0] ? "银币" : "金币"));
        QTRY_COMPARE_WITH_TIMEOUT(nameOf(labelOf(w, "countdownLabel")), QString("倒计时: 0:19"), 3000);
    }

    void arrowsReachEveryCellFromEverySide()
    {
        for (int shown : {1, 2}) {
            Scenes scenes(shown);
            auto cell = [&](int column, int row) -> QWidget * {
                if (column < 0 || column > 3 || row < 0 || row > (shown == 1 ? 4 : 3))
                    return nullptr;
                return shown == 1 ? static_cast<QWidget *>(levelButtonOf(*scenes.levelSelect, 4 * row + column)) : scenes.play.coinGrid[column][row];
            };
            for (int i = 0; i < 20; ++i)
                for (QPoint step : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})   // from the right, left, below, above
                    if (QWidget *from = cell(i % 4 - step.x(), i / 4 - step.y()); from && cell(i % 4, i / 4)) {
                        from->setFocus();
                        typeKeys(step.x() ? (step.x() < 0 ? "L" : "R") : (step.y() < 0 ? "U" : "D"));
                        QCOMPARE(QApplication::focusWidget(), cell(i % 4, i / 4));
                    }
        }
    }

    void pressActionClicksEveryButtonKindButNoCoinOfALockedBoard()
    {
        Scenes scenes(2);
        youxi &w = scenes.play;
        int clicked = 0;
        for (QAbstractButton *b : QList<QAbstractButton *>{startButtonOf(scenes.menu), levelButtonOf(*scenes.levelSelect, 3),
                backButtonOf(*scenes.levelSelect), backButtonOf(w), w.coinGrid[1][2], w.coinGrid[3][0]}) {
            connect(b, &QAbstractButton::clicked, this, [&clicked] { ++clicked; });
            QAccessible::queryAccessibleInterface(b)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        }
        // Buttons click 100 ms after the action, as if held; the first coin's move has locked the board.
        waitPast(150);
        QCOMPARE(clicked, 5);
    }

    void levelEndFocusesBackAndTellsTheOutcome()
    {
        for (bool won : {true, false}) {
            Scenes scenes(2);
            if (won)
                typeKeys("RRDDS");
            else
                countdownTimerOf(scenes.play)->start(1);
            QTRY_COMPARE_WITH_TIMEOUT(focusName(), QString("返回"), 3000);
            QLabel *picture = labelOf(scenes.play, won ? "victoryLabel" : "defeatLabel");
            QTRY_COMPARE_WITH_TIMEOUT(nameOf(picture), QString(won ? "通关" : "失败"), 6000);
            // Told once the picture has landed (at 0), not while it drops.
            QVERIFY2(qAbs(picture->y()) <= 16, qPrintable(QString("told with the picture at y %1").arg(picture->y())));
            // The drops run out before the window goes, or their animations outlive it.
            QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), 0, 6000);
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
