// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QAccessible>

#include "support/scenehelpers.h"
#include "widgets/focusring.h"

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
    void initTestCase()
    {
        liveobjects::install();
        holdGameSounds(this);
    }
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
        QTest::newRow("Right: next column, Down: next row") << 2 << "RRD" << "第 2 行 第 3 列" << 0;
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

    void ringShowsForKeysOnlyAndNeverCoversTheFace()
    {
        Scenes scenes(2);
        youxi &w = scenes.play;
        countdownTimerOf(w)->stop();
        auto *ring = w.findChild<focusRing *>();
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(10, 300));
        const QImage byMouse = w.grab().toImage();
        typeKeys("R");
        const QImage byKeys = w.grab().toImage();
        jinbi *coin = w.coinGrid[1][0];
        QVERIFY(ring->isVisible() && ring->geometry().contains(coin->geometry().adjusted(-3, -3, 3, 3)));
        QVERIFY(byKeys.copy(ring->geometry()) != byMouse.copy(ring->geometry()));
        const QImage face = iconOf(*coin);
        for (int i = 0; i < face.width() * face.height(); ++i) {
            const QPoint p(i % face.width(), i / face.width());
            if (qAlpha(face.pixel(p)) == 255)
                QCOMPARE(byKeys.pixel(coin->pos() + p), byMouse.pixel(coin->pos() + p));
        }
        QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(10, 300));
        QCOMPARE(w.grab().toImage(), byMouse);
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
            // The drops run out before the window goes, or their animations outlive it.
            QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), 0, 6000);
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
