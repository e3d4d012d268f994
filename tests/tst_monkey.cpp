// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Random input over all three scenes, checking after every step what must always hold, and at
// the end that the session left no object behind and did not grow.
#include <QtTest>
#include <dlfcn.h>
#include <malloc.h>
#include <random>
#include <unistd.h>

#include "support/scenehelpers.h"

namespace {

// Live objects by class name.
QMap<QString, int> census()
{
    QMap<QString, int> byClass;
    for (QObject *o : liveobjects::of())
        ++byClass[o->metaObject()->className()];
    return byClass;
}

// Every PNG decode begins here, before libpng's own definition: the count of pictures decoded.
int pngDecodes = 0;
extern "C" void *png_create_read_struct(const char *version, void *error, void *errorFn, void *warnFn)
{
    static const auto real = reinterpret_cast<void *(*)(const char *, void *, void *, void *)>(dlsym(RTLD_NEXT, "png_create_read_struct"));
    return ++pngDecodes, real(version, error, errorFn, warnFn);
}

qint64 residentKiB()
{
    malloc_trim(0);  // give freed heap back first, so the figure is what is still held
    QFile statm("/proc/self/statm");
    statm.open(QIODevice::ReadOnly);
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024;
}

}

class MonkeyTest : public QObject
{
    Q_OBJECT

    std::mt19937 rng;
    Zhujiemian *menu = nullptr;
    QStringList history;
    QString violation;
    QPointer<youxi> probed;

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    youxi *play() const { return menu->levelSelect->playWindow; }
    void fail(const QString &why) { violation = violation.isEmpty() ? why : violation; }

    QWidget *scene() const
    {
        if (play() && play()->isVisible())
            return play();
        return menu->levelSelect->isVisible() ? static_cast<QWidget *>(menu->levelSelect) : menu;
    }

    void check()
    {
        int visible = 0, playWindows = 0;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            visible += w->isVisible();
            playWindows += qobject_cast<youxi *>(w) != nullptr;
        }
        if (visible != 1 || playWindows != (play() ? 1 : 0))
            fail(QString("%1 windows visible, %2 play windows alive").arg(visible).arg(playWindows));
        youxi *p = play();
        for (int k = 0; p && k < 16; ++k) {
            jinbi *coin = p->coinGrid[k / 4][k % 4];
            // A coin must never be pressed or released while it is turning or the board is locked.
            auto refuse = [this, coin] { if (coin->isLocked || coin->isTurning) fail("busy coin pressed"); };
            if (probed != p) {
                connect(coin, &QAbstractButton::pressed, this, refuse);
                connect(coin, &QAbstractButton::released, this, refuse);
            }
            if (p->faceGrid[k / 4][k % 4] != coin->goldUp)
                fail(QString("faceGrid[%1][%2] disagrees with its coin").arg(k / 4).arg(k % 4));
            if (p->solved && !(coin->goldUp && coin->isLocked))
                fail("solved, but not all gold and locked");
        }
        probed = p;
    }

    void clickAt(QWidget *target, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget *window = target->window();
        const QRect area = QRect(target->mapTo(window, QPoint()), target->size()) & window->rect();
        const QPoint pos = area.isEmpty() ? QPoint(160, 294) : QPoint(uniform(area.left(), area.right()), uniform(area.top(), area.bottom()));
        history << QString("click %1 at %2,%3").arg(target->metaObject()->className()).arg(pos.x()).arg(pos.y());
        QTest::mousePress(window->windowHandle(), button, {}, pos);
        // Delivering the press runs due timers; the scene under the pointer may have changed.
        QTest::mouseRelease(scene()->windowHandle(), button, {}, pos);
    }

    void act()
    {
        QWidget *now = scene();
        const int r = uniform(0, 99);
        if (r < 60) {
            // Any widget, or more often a button or coin; now and then twice inside a step's 300 ms.
            QList<QWidget *> targets;
            for (QWidget *w : now->findChildren<QWidget *>())
                if (r < 25 || qobject_cast<QPushButton *>(w))
                    targets << w;
            QPointer<QWidget> target = targets.value(uniform(0, targets.size() - 1), now);
            clickAt(target, uniform(0, 6) ? Qt::LeftButton : Qt::RightButton);
            if (target && uniform(0, 7) == 0) {
                QTest::qWait(uniform(0, 280));
                if (target && target->isVisible())
                    clickAt(target);
            }
        } else if (r < 75) {
            const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape,
                                    Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
            const Qt::Key key = keys[uniform(0, 7)];
            history << QString("key %1").arg(QKeySequence(key).toString());
            QTest::keyPress(now->windowHandle(), key);
            QTest::keyRelease(scene()->windowHandle(), key);
        } else if (r < 78) {
            history << "move";
            now->move(uniform(0, 900), uniform(0, 500));
        } else if (r < 79 && play() && uniform(0, 1)) {
            playToTheEnd(uniform(0, 1));
        } else {
            const int ms = uniform(0, 9) ? uniform(0, 20) : uniform(20, 400);
            history << QString("wait %1 ms").arg(ms);
            QTest::qWait(ms);
        }
    }

    // Plays the solution move by move, or lets the clock run out at once.
    void playToTheEnd(bool win)
    {
        QPointer<youxi> p = play();
        history << (win ? "play to victory" : "run out the clock");
        for (int move = 0; win && move < 16 && p && !p->solved; ++move) {
            QVector<QPoint> clicks;
            // Until the board reopens, or the level has ended (the clock stops at either end).
            auto over = [&] { return !p || !countdownTimerOf(*p)->isActive(); };
            if (!QTest::qWaitFor([&] { return over() || lockedCoins(*p) == 0; }, 5000) || over()
                    || !solveBoard(facesOf(*p), &clicks))
                return;
            if (QTest::qWaitFor([&] { return !p || !p->coinGrid[clicks[0].x()][clicks[0].y()]->isTurning; }, 5000) && p)
                clickAt(p->coinGrid[clicks[0].x()][clicks[0].y()]);
        }
        for (int i = 0; !win && p && i < 81; ++i)
            QMetaObject::invokeMethod(countdownTimerOf(*p), "timeout");
    }

    void backToTheMenu(bool settle = true)
    {
        for (int step = 0; step < 10 && scene() != menu; ++step) {
            QWidget *now = scene();
            for (mybtn *b : now->findChildren<mybtn *>())
                if (b->size() == QSize(50, 50))
                    QTest::mouseClick(b, Qt::LeftButton);
            QVERIFY(QTest::qWaitFor([&] { return scene() != now; }, 10000));
        }
        if (settle)
            waitPast(1700);  // every pending delay and end animation has run out
    }

private slots:
    void randomInputKeepsTheGameConsistentAndLean()
    {
        const quint32 seed = qEnvironmentVariableIsSet("QUENVARY_MONKEY_SEED") ? qEnvironmentVariableIntValue("QUENVARY_MONKEY_SEED") : 20240517;
        const int inputs = qEnvironmentVariableIsSet("QUENVARY_MONKEY_INPUTS") ? qEnvironmentVariableIntValue("QUENVARY_MONKEY_INPUTS") : 1000;
        rng.seed(seed);
        liveobjects::install();
        holdGameSounds(this);
        menu = new Zhujiemian;
        menu->show();
        // A first tour through every scene and both endings fills Qt's caches; a first key makes
        // Qt 6's keyboard device, and a key the shortcuts look at (none has F2) its key mapper.
        QTest::keyClick(menu, Qt::Key_Shift);
        QTest::keyClick(menu, Qt::Key_F2);
        for (bool win : {true, false}) {
            QTest::mouseClick(startButtonOf(*menu), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(menu->levelSelect->isVisible(), 10000);
            QTest::mouseClick(levelButtonOf(*menu->levelSelect, 0), Qt::LeftButton);
            playToTheEnd(win);
            QTRY_VERIFY_WITH_TIMEOUT(countdownTimerOf(*play()) && !countdownTimerOf(*play())->isActive(), 10000);
            backToTheMenu(!win);
        }
        const QMap<QString, int> before = census();
        [[maybe_unused]] const qint64 rssBefore = residentKiB();

        for (int i = 0; i < inputs && violation.isEmpty(); ++i) {
            act();
            check();
            history = history.mid(history.size() - 30);
            if (!violation.isEmpty())
                QFAIL(qPrintable(QString("seed %1, input %2: %3; last steps: %4").arg(seed).arg(i).arg(violation, history.join(" | "))));
        }
        backToTheMenu();
        check();
        QVERIFY2(violation.isEmpty(), qPrintable(violation));
        // Objects handed to deleteLater go at the next turns of the event loop.
        const auto changed = [&before] {
            QStringList classes;
            const QMap<QString, int> now = census();
            for (const QString &name : (now.keys() + before.keys()))
                if (now.value(name) != before.value(name) && !classes.contains(name))
                    classes << QString("%1 %2 -> %3").arg(name).arg(before.value(name)).arg(now.value(name));
            return classes.join(", ");
        };
        QTRY_VERIFY2_WITH_TIMEOUT(census() == before, qPrintable(changed()), 5000);
        // After the tour every scene, a new play window included, paints without decoding a picture.
        const int decoded = pngDecodes;
        youxi again(20);
        for (QWidget *scene : {static_cast<QWidget *>(menu), static_cast<QWidget *>(menu->levelSelect), static_cast<QWidget *>(&again)})
            scene->grab();
        QVERIFY(decoded > 0 && pngDecodes == decoded);
#if !defined(__SANITIZE_ADDRESS__)
        const qint64 grown = residentKiB() - rssBefore;
        qInfo("monkey: %d inputs, seed %u, resident memory %+lld KiB", inputs, seed, grown);
        QVERIFY2(grown < 4096, qPrintable(QString("grew by %1 KiB").arg(grown)));
#endif
        delete menu->levelSelect;
        delete menu;
    }
};

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
