// Random input over all three scenes, checking after every step what must always hold, and at
// the end that the session left no object behind and did not grow.
#include <QtTest>
#include <malloc.h>
#include <random>
#include <unistd.h>

#include "support/scenehelpers.h"

namespace {

int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Live objects by class name.
QMap<QString, int> census()
{
    QMap<QString, int> byClass;
    for (QObject *o : liveobjects::of())
        ++byClass[o->metaObject()->className()];
    return byClass;
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
private slots:
    void initTestCase() { liveobjects::install(); }
    void randomInputKeepsTheGameConsistentAndLean();

private:
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    QWidget *scene() const;
    youxi *play() const { return menu->levelSelect->playWindow; }
    void fail(const QString &why) { if (violation.isEmpty()) violation = why; }
    void check();
    void clickAt(QWidget *target, Qt::MouseButton button = Qt::LeftButton);
    void act();
    void playToTheEnd(bool win);
    void backToTheMenu(bool settle = true);

    std::mt19937 rng;
    Zhujiemian *menu = nullptr;
    QStringList history;
    QString violation;
    QPointer<youxi> probed;
};

QWidget *MonkeyTest::scene() const
{
    if (play() && play()->isVisible())
        return play();
    return menu->levelSelect->isVisible() ? static_cast<QWidget *>(menu->levelSelect) : menu;
}

void MonkeyTest::check()
{
    int visible = 0, playWindows = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        visible += w->isVisible() ? 1 : 0;
        playWindows += qobject_cast<youxi *>(w) ? 1 : 0;
    }
    if (visible != 1)
        fail(QString("%1 windows visible").arg(visible));
    if (playWindows != (play() ? 1 : 0))
        fail(QString("%1 play windows alive").arg(playWindows));
    youxi *p = play();
    if (!p)
        return;
    if (probed != p) {
        // A coin must never be pressed or released while it is turning or the board is locked.
        for (auto &column : p->coinGrid) {
            for (jinbi *coin : column) {
                auto refuse = [this, coin] { if (coin->isLocked || coin->isTurning) fail("busy coin pressed"); };
                connect(coin, &QAbstractButton::pressed, this, refuse);
                connect(coin, &QAbstractButton::released, this, refuse);
            }
        }
        probed = p;
    }
    bool allGold = true, allLocked = true;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            jinbi *coin = p->coinGrid[c][r];
            if (p->faceGrid[c][r] != (coin->goldUp ? 1 : 0))
                fail(QString("faceGrid[%1][%2] disagrees with its coin").arg(c).arg(r));
            allGold = allGold && coin->goldUp;
            allLocked = allLocked && coin->isLocked;
        }
    }
    if (p->solved && !(allGold && allLocked))
        fail("solved, but not all gold and locked");
}

void MonkeyTest::clickAt(QWidget *target, Qt::MouseButton button)
{
    QWidget *window = target->window();
    const QRect area = QRect(target->mapTo(window, QPoint()), target->size()) & window->rect();
    const QPoint pos = area.isEmpty() ? QPoint(160, 294) : QPoint(uniform(area.left(), area.right()), uniform(area.top(), area.bottom()));
    history << QString("click %1 at %2,%3").arg(target->metaObject()->className()).arg(pos.x()).arg(pos.y());
    QTest::mousePress(window->windowHandle(), button, {}, pos);
    // Delivering the press runs due timers; the scene under the pointer may have changed.
    QTest::mouseRelease(scene()->windowHandle(), button, {}, pos);
}

void MonkeyTest::act()
{
    QWidget *now = scene();
    const int r = uniform(0, 99);
    if (r < 35) {
        const QList<QWidget *> targets = now->findChildren<QWidget *>();
        clickAt(targets.value(uniform(0, targets.size() - 1), now), uniform(0, 6) ? Qt::LeftButton : Qt::RightButton);
    } else if (r < 50) {
        static const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape,
                                       Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
        const Qt::Key key = keys[uniform(0, 7)];
        history << QString("key %1").arg(QKeySequence(key).toString());
        QTest::keyPress(now->windowHandle(), key);
        QTest::keyRelease(scene()->windowHandle(), key);
    } else if (r < 75) {
        // A button of the scene or a coin, often twice inside the 300 ms a step waits.
        QList<QWidget *> targets;
        for (mybtn *b : now->findChildren<mybtn *>())
            targets << b;
        if (youxi *p = qobject_cast<youxi *>(now))
            for (auto &column : p->coinGrid)
                for (jinbi *coin : column)
                    targets << coin << coin;
        QWidget *target = targets.value(uniform(0, targets.size() - 1), now);
        QPointer<QWidget> guard(target);
        clickAt(target);
        if (guard && uniform(0, 7) == 0) {
            QTest::qWait(uniform(0, 280));
            if (guard && guard->isVisible())
                clickAt(guard);
        }
    } else if (r < 78) {
        history << "move";
        now->move(uniform(0, 900), uniform(0, 500));
    } else if (r < 79 && play() && uniform(0, 1)) {
        playToTheEnd(uniform(0, 1));
    } else {
        const int ms = uniform(0, 9) < 9 ? uniform(0, 20) : uniform(20, 400);
        history << QString("wait %1 ms").arg(ms);
        QTest::qWait(ms);
    }
}

// Plays the solution move by move, or lets the clock run out at once.
void MonkeyTest::playToTheEnd(bool win)
{
    QPointer<youxi> p = play();
    history << (win ? "play to victory" : "run out the clock");
    for (int move = 0; win && move < 16 && p && !p->solved; ++move) {
        QVector<QPoint> clicks;
        if (!QTest::qWaitFor([&] { return !p || lockedCoins(*p) == 0 || p->solved; }, 2000)
                || !p || p->solved || !solveBoard(facesOf(*p), &clicks))
            return;
        if (QTest::qWaitFor([&] { return !p || !p->coinGrid[clicks[0].x()][clicks[0].y()]->isTurning; }, 2000) && p)
            clickAt(p->coinGrid[clicks[0].x()][clicks[0].y()]);
    }
    for (int i = 0; !win && p && i < 81; ++i)
        QMetaObject::invokeMethod(countdownTimerOf(*p), "timeout");
}

void MonkeyTest::backToTheMenu(bool settle)
{
    for (int step = 0; step < 10 && scene() != menu; ++step) {
        QWidget *now = scene();
        mybtn *back = nullptr;
        for (mybtn *b : now->findChildren<mybtn *>())
            back = b->size() == QSize(50, 50) ? b : back;
        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&] { return scene() != now; }, 2000));
    }
    if (settle)
        waitPast(1700);  // every pending delay and end animation has run out
}

void MonkeyTest::randomInputKeepsTheGameConsistentAndLean()
{
    const quint32 seed = quint32(envInt("QUENVARY_MONKEY_SEED", 20240517));
    const int inputs = envInt("QUENVARY_MONKEY_INPUTS", 1000);
    rng.seed(seed);
    holdGameSounds(this);
    menu = new Zhujiemian;
    menu->show();
    // A first tour through every scene and both endings fills Qt's caches.
    QTest::mouseClick(startButtonOf(*menu), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(menu->levelSelect->isVisible(), 2000);
    for (bool win : {true, false}) {
        QTest::mouseClick(levelButtonOf(*menu->levelSelect, 0), Qt::LeftButton);
        playToTheEnd(win);
        QTRY_VERIFY_WITH_TIMEOUT(countdownTimerOf(*play()) && !countdownTimerOf(*play())->isActive(), 4000);
        backToTheMenu(false);
        QTest::mouseClick(startButtonOf(*menu), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(menu->levelSelect->isVisible(), 2000);
    }
    backToTheMenu();
    const QMap<QString, int> before = census();
    const qint64 rssBefore = residentKiB();

    for (int i = 0; i < inputs && violation.isEmpty(); ++i) {
        act();
        check();
        if (history.size() > 30)
            history.removeFirst();
        if (!violation.isEmpty())
            QFAIL(qPrintable(QString("seed %1, input %2: %3; last steps: %4").arg(seed).arg(i)
                                     .arg(violation, history.join(" | "))));
    }
    backToTheMenu();
    check();
    QVERIFY2(violation.isEmpty(), qPrintable(violation));

    // Objects handed to deleteLater go at the next turns of the event loop.
    QTRY_COMPARE_WITH_TIMEOUT(census(), before, 5000);
#if !defined(__SANITIZE_ADDRESS__)
    const qint64 grown = residentKiB() - rssBefore;
    qInfo("monkey: %d inputs, seed %u, resident memory %+lld KiB", inputs, seed, grown);
    QVERIFY2(grown < 4096, qPrintable(QString("grew by %1 KiB").arg(grown)));
#endif
    delete menu->levelSelect;
    delete menu;
}

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
