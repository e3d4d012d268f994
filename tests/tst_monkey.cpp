// Random input over all three scenes, checking after every step what must always hold.
#include <QtTest>
#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>

#include <random>

#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "support/scenehelpers.h"
#include "widgets/jinbi.h"
#include "widgets/mybtn.h"

namespace {

constexpr quint32 defaultSeed = 20240517;
constexpr int defaultInputs = 20000;
constexpr int historyLength = 30;
constexpr int sceneWidth = 320;
constexpr int sceneHeight = 588;
// Level 1..5 run out after ten seconds; sitting one out shows the defeat.
constexpr int defeatWaitMs = 14000;
constexpr int maxSitOuts = 2;
// Whole solutions played click after click; random clicks alone rarely win.
constexpr int maxSolves = 12;
constexpr int solveMoveLimit = 16;

int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

}

class MonkeyTest : public QObject
{
    Q_OBJECT

private slots:
    void randomInputKeepsTheGameConsistent();

private:
    QWidget *visibleScene() const;
    QWidget *anyVisibleTopLevel() const;
    youxi *playWindow() const { return menu->levelSelect->playWindow; }

    void note(const QString &what);
    void fail(const QString &why);
    bool check();
    void probeCoins(youxi *window);

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool chance(int percent) { return uniform(0, 99) < percent; }
    int randomWaitMs();
    void wait(int ms);

    QWindow *handleOf(QWidget *scene);
    void pressAt(QWidget *scene, QPoint pos, Qt::MouseButton button);
    void releaseAt(QWidget *scene, QPoint pos, Qt::MouseButton button);
    void clickAt(QWidget *scene, QPoint pos, Qt::MouseButton button = Qt::LeftButton);
    QPoint pointIn(QWidget *scene, QWidget *target);
    QList<QWidget *> targetsOf(QWidget *scene) const;
    QList<mybtn *> buttonsOf(QWidget *scene) const;
    mybtn *backButtonOf(QWidget *scene) const;

    void clickRandomWidget(QWidget *scene);
    void pressOrReleaseAnywhere(QWidget *scene);
    void pressKey(QWidget *scene);
    void doubleClick(QWidget *scene);
    void chooseLevel(QWidget *scene);
    void clickBack(QWidget *scene);
    void moveWindow(QWidget *scene);
    void playSolvingMove();
    void sitOutCountdown();
    void playToVictory();

    std::mt19937 rng;
    quint32 seed = defaultSeed;
    int inputs = 0;
    Zhujiemian *menu = nullptr;
    QStringList history;
    QString violation;
    QPointer<youxi> probedWindow;
    // Which mouse buttons the monkey holds down, so that a release matches a press.
    Qt::MouseButtons held;
};

void MonkeyTest::note(const QString &what)
{
    history.append(QString("#%1 %2").arg(inputs).arg(what));
    if (history.size() > historyLength)
        history.removeFirst();
}

void MonkeyTest::fail(const QString &why)
{
    if (violation.isEmpty())
        violation = why;
}

QWidget *MonkeyTest::anyVisibleTopLevel() const
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            return w;
    return nullptr;
}

QWidget *MonkeyTest::visibleScene() const
{
    if (youxi *p = playWindow(); p && p->isVisible())
        return p;
    if (menu->levelSelect->isVisible())
        return menu->levelSelect;
    if (menu->isVisible())
        return menu;
    return nullptr;
}

// A coin must never start a press or click while it is turning or the board is locked.
void MonkeyTest::probeCoins(youxi *window)
{
    for (auto &column : window->coinGrid) {
        for (jinbi *coin : column) {
            auto refuse = [this, coin](const char *what) {
                if (coin->isLocked || coin->isTurning)
                    fail(QString("coin (%1,%2) %3 while %4").arg(coin->boardColumn)
                             .arg(coin->boardRow).arg(what)
                             .arg(coin->isLocked ? "locked" : "turning"));
            };
            // released comes just before clicked, ahead of the game's own click handler.
            connect(coin, &QAbstractButton::pressed, this, [refuse] { refuse("pressed"); });
            connect(coin, &QAbstractButton::released, this, [refuse] { refuse("released"); });
        }
    }
    probedWindow = window;
}

bool MonkeyTest::check()
{
    int visible = 0;
    QStringList shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible()) {
            ++visible;
            shown << QString::fromLatin1(w->metaObject()->className());
        }
    }
    if (visible != 1)
        fail(QString("%1 windows visible: %2").arg(visible).arg(shown.join(", ")));

    int playWindows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<youxi *>(w))
            ++playWindows;
    if (playWindows > 1)
        fail(QString("%1 play windows alive").arg(playWindows));
    if (playWindows != (playWindow() ? 1 : 0))
        fail(QString("%1 play windows alive, level select holds %2")
                 .arg(playWindows).arg(playWindow() ? "one" : "none"));

    if (youxi *p = playWindow()) {
        if (probedWindow != p)
            probeCoins(p);
        bool turning = false;
        bool allGold = true;
        bool allLocked = true;
        for (auto &column : p->coinGrid) {
            for (jinbi *coin : column) {
                turning = turning || coin->isTurning;
                allGold = allGold && coin->goldUp;
                allLocked = allLocked && coin->isLocked;
            }
        }
        if (!turning) {
            for (int c = 0; c < 4; ++c)
                for (int r = 0; r < 4; ++r)
                    if (p->faceGrid[c][r] != (p->coinGrid[c][r]->goldUp ? 1 : 0))
                        fail(QString("faceGrid[%1][%2] = %3 but the coin shows %4")
                                 .arg(c).arg(r).arg(p->faceGrid[c][r])
                                 .arg(p->coinGrid[c][r]->goldUp ? "gold" : "silver"));
        }
        if (p->solved && !allGold)
            fail("solved with a silver coin on the board");
        if (p->solved && !allLocked)
            fail("solved board is open");
    }
    return violation.isEmpty();
}

int MonkeyTest::randomWaitMs()
{
    // Mostly none or short, now and then long enough for hand-overs, turns and the end pictures.
    const int r = uniform(0, 999);
    if (r < 700)
        return 0;
    if (r < 950)
        return uniform(1, 30);
    if (r < 995)
        return uniform(30, 350);
    return uniform(350, 1500);
}

void MonkeyTest::wait(int ms)
{
    if (ms <= 0) {
        QCoreApplication::processEvents();
        return;
    }
    QTest::qWait(ms);
}

QWindow *MonkeyTest::handleOf(QWidget *scene)
{
    QWindow *handle = scene->windowHandle();
    if (!handle)
        qFatal("monkey: %s has no window (input %d; %s)", scene->metaObject()->className(), inputs,
               qPrintable(history.join(" | ")));
    return handle;
}

void MonkeyTest::pressAt(QWidget *scene, QPoint pos, Qt::MouseButton button)
{
    held |= button;
    QTest::mousePress(handleOf(scene), button, Qt::NoModifier, pos);
}

void MonkeyTest::releaseAt(QWidget *scene, QPoint pos, Qt::MouseButton button)
{
    held &= ~button;
    QTest::mouseRelease(handleOf(scene), button, Qt::NoModifier, pos);
}

void MonkeyTest::clickAt(QWidget *scene, QPoint pos, Qt::MouseButton button)
{
    // Delivering the press runs due timers; one of them may close the scene under the pointer.
    QPointer<QWidget> pressed(scene);
    pressAt(scene, pos, button);
    if (QWidget *now = pressed ? pressed.data() : visibleScene())
        releaseAt(now, pos, button);
}

QPoint MonkeyTest::pointIn(QWidget *scene, QWidget *target)
{
    // Only the part of the target that lies inside the window can be hit.
    QRect area = scene->rect();
    if (target != scene)
        area &= QRect(target->mapTo(scene, QPoint(0, 0)), target->size());
    if (area.isEmpty())
        area = scene->rect();
    return QPoint(uniform(area.left(), area.right()), uniform(area.top(), area.bottom()));
}

QList<QWidget *> MonkeyTest::targetsOf(QWidget *scene) const
{
    QList<QWidget *> targets{scene};
    for (QWidget *w : scene->findChildren<QWidget *>())
        if (w->isVisible())
            targets << w;
    return targets;
}

QList<mybtn *> MonkeyTest::buttonsOf(QWidget *scene) const
{
    return scene->findChildren<mybtn *>();
}

mybtn *MonkeyTest::backButtonOf(QWidget *scene) const
{
    // Every back button is the 50 x 50 picture button; the level buttons are 60 x 60.
    for (mybtn *b : buttonsOf(scene))
        if (b->size() == QSize(50, 50))
            return b;
    return nullptr;
}

void MonkeyTest::clickRandomWidget(QWidget *scene)
{
    const QList<QWidget *> targets = targetsOf(scene);
    QWidget *target = targets.at(uniform(0, targets.size() - 1));
    const QPoint pos = pointIn(scene, target);
    const Qt::MouseButton button = chance(85) ? Qt::LeftButton : Qt::RightButton;
    note(QString("click %1 %2 at (%3,%4) of %5")
             .arg(button == Qt::LeftButton ? "left" : "right")
             .arg(target->metaObject()->className())
             .arg(pos.x()).arg(pos.y()).arg(scene->metaObject()->className()));
    pressAt(scene, pos, button);
    if (chance(8))
        wait(uniform(1, 120));
    // The scene may have changed under the held button; the release goes where the player is.
    if (QWidget *now = visibleScene())
        releaseAt(now, chance(90) ? pos : QPoint(uniform(0, sceneWidth - 1),
                                                 uniform(0, sceneHeight - 1)), button);
}

void MonkeyTest::pressOrReleaseAnywhere(QWidget *scene)
{
    const QPoint pos(uniform(0, sceneWidth - 1), uniform(0, sceneHeight - 1));
    const Qt::MouseButton button = chance(70) ? Qt::LeftButton : Qt::RightButton;
    if (held & button) {
        note(QString("release %1 at (%2,%3)").arg(int(button)).arg(pos.x()).arg(pos.y()));
        releaseAt(scene, pos, button);
    } else {
        note(QString("press %1 at (%2,%3)").arg(int(button)).arg(pos.x()).arg(pos.y()));
        pressAt(scene, pos, button);
    }
}

void MonkeyTest::pressKey(QWidget *scene)
{
    static const Qt::Key keys[] = {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape};
    const Qt::Key key = keys[uniform(0, 3)];
    QWidget *focus = QApplication::focusWidget();
    note(QString("key %1 on %2").arg(QKeySequence(key).toString())
             .arg(focus ? focus->metaObject()->className() : "none"));
    QTest::keyPress(handleOf(scene), key);
    if (chance(5))
        wait(uniform(1, 300));
    if (QWidget *now = visibleScene())
        QTest::keyRelease(handleOf(now), key);
}

void MonkeyTest::doubleClick(QWidget *scene)
{
    // Two clicks on one spot inside the 300 ms that a hand-over or a move waits.
    QList<QWidget *> targets;
    for (mybtn *b : buttonsOf(scene))
        targets << b;
    if (youxi *p = qobject_cast<youxi *>(scene))
        for (auto &column : p->coinGrid)
            for (jinbi *coin : column)
                targets << coin;
    QWidget *target = targets.at(uniform(0, targets.size() - 1));
    const QPoint pos = pointIn(scene, target);
    const int gapMs = uniform(0, 280);
    note(QString("double click %1 at (%2,%3), %4 ms apart")
             .arg(target->metaObject()->className()).arg(pos.x()).arg(pos.y()).arg(gapMs));
    clickAt(scene, pos);
    wait(gapMs);
    if (QWidget *now = visibleScene())
        clickAt(now, pos);
}

void MonkeyTest::chooseLevel(QWidget *scene)
{
    QList<mybtn *> levels;
    for (mybtn *b : buttonsOf(scene))
        if (b->size() == QSize(60, 60))
            levels << b;
    if (levels.isEmpty())
        return clickRandomWidget(scene);
    mybtn *level = levels.at(uniform(0, levels.size() - 1));
    note(QString("level button at (%1,%2)").arg(level->x()).arg(level->y()));
    clickAt(scene, pointIn(scene, level));
}

void MonkeyTest::clickBack(QWidget *scene)
{
    mybtn *back = backButtonOf(scene);
    if (!back)
        return clickRandomWidget(scene);
    note(QString("back button of %1").arg(scene->metaObject()->className()));
    clickAt(scene, pointIn(scene, back));
}

void MonkeyTest::moveWindow(QWidget *scene)
{
    const QPoint to(uniform(0, 900), uniform(0, 500));
    note(QString("move %1 to (%2,%3)").arg(scene->metaObject()->className())
             .arg(to.x()).arg(to.y()));
    scene->move(to);
}

void MonkeyTest::playSolvingMove()
{
    youxi *p = playWindow();
    if (!p)
        return;
    QVector<QPoint> clicks;
    if (!solveBoard(boardOf(*p), &clicks) || clicks.isEmpty())
        return clickRandomWidget(p);
    const QPoint cell = clicks.at(uniform(0, clicks.size() - 1));
    jinbi *coin = p->coinGrid[cell.x()][cell.y()];
    note(QString("solving move (%1,%2), %3 to go").arg(cell.x()).arg(cell.y())
             .arg(clicks.size()));
    clickAt(p, pointIn(p, coin));
}

void MonkeyTest::playToVictory()
{
    QPointer<youxi> p = playWindow();
    note("play the solution");
    for (int move = 0; move < solveMoveLimit && p && !p->solved; ++move) {
        QElapsedTimer clock;
        clock.start();
        auto boardOpen = [&p] {
            if (!p)
                return false;
            for (auto &column : p->coinGrid)
                for (jinbi *coin : column)
                    if (coin->isLocked)
                        return false;
            return true;
        };
        while (p && !boardOpen() && clock.elapsed() < 1000)
            QTest::qWait(10);
        if (!p || p->solved || !p->isVisible())
            return;
        QVector<QPoint> clicks;
        if (!solveBoard(boardOf(*p), &clicks) || clicks.isEmpty())
            return;
        jinbi *free = nullptr;
        for (const QPoint &cell : clicks)
            if (!p->coinGrid[cell.x()][cell.y()]->isTurning)
                free = p->coinGrid[cell.x()][cell.y()];
        if (!free) {
            QTest::qWait(30);
            continue;
        }
        clickAt(p, pointIn(p, free));
        if (!check())
            return;
    }
}

void MonkeyTest::sitOutCountdown()
{
    youxi *p = playWindow();
    if (!p || p->levelNumber > 5 || p->solved)
        return;
    note("sit out the countdown");
    auto *defeat = p->findChild<QWidget *>("defeatLabel");
    QPointer<youxi> guard(p);
    QElapsedTimer clock;
    clock.start();
    while (guard && defeat->y() != 0 && clock.elapsed() < defeatWaitMs)
        QTest::qWait(50);
}

void MonkeyTest::randomInputKeepsTheGameConsistent()
{
    seed = quint32(envInt("QUENVARY_MONKEY_SEED", int(defaultSeed)));
    const int wanted = envInt("QUENVARY_MONKEY_INPUTS", defaultInputs);
    rng.seed(seed);
    qInfo("monkey seed %u, %d inputs", seed, wanted);

    menu = new Zhujiemian;
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu));

    QElapsedTimer clock;
    clock.start();
    int waits = 0;
    int victories = 0;
    int defeats = 0;
    int sitOuts = 0;
    int solves = 0;
    QPointer<youxi> counted;
    while (inputs < wanted) {
        QWidget *scene = visibleScene();
        if (!scene) {
            fail("no scene visible");
            break;
        }
        const bool inPlay = qobject_cast<youxi *>(scene) != nullptr;
        const bool inSelect = scene == menu->levelSelect;
        const int r = uniform(0, 999);
        bool input = true;

        if (r < 330) {
            clickRandomWidget(scene);
        } else if (r < 400) {
            pressOrReleaseAnywhere(scene);
        } else if (r < 520) {
            pressKey(scene);
        } else if (r < 540) {
            doubleClick(scene);
        } else if (r < 650) {
            if (inSelect)
                chooseLevel(scene);
            else if (inPlay)
                playSolvingMove();
            else
                clickRandomWidget(scene);
        } else if (r < 710) {
            clickBack(scene);
        } else if (r < 730) {
            moveWindow(scene);
        } else if (r < 860) {
            if (inPlay)
                playSolvingMove();
            else
                clickRandomWidget(scene);
        } else if (r < 875 && inPlay && solves < maxSolves) {
            ++solves;
            playToVictory();
        } else if (r >= 994 && inPlay && playWindow()->levelNumber <= 5
                   && sitOuts < maxSitOuts) {
            ++sitOuts;
            sitOutCountdown();
        } else {
            input = false;
            const int ms = randomWaitMs();
            history.append(QString("wait %1 ms").arg(ms));
            wait(ms);
            ++waits;
        }
        if (input) {
            if (++inputs % 1000 == 0)
                qInfo("monkey: %d inputs after %lld s", inputs, clock.elapsed() / 1000);
            QCoreApplication::processEvents();
        }

        if (youxi *p = playWindow(); p && p != counted) {
            if (p->solved) {
                ++victories;
                counted = p;
            } else if (p->findChild<QWidget *>("defeatLabel")->y() == 0) {
                ++defeats;
                counted = p;
            }
        }

        if (!check()) {
            qWarning().noquote() << "monkey seed" << seed << "failed after input" << inputs
                                 << "; last steps:\n  " + history.join("\n  ");
            QFAIL(qPrintable(QString("seed %1, input %2: %3").arg(seed).arg(inputs)
                                 .arg(violation)));
        }
    }

    // Let every pending delay and animation run out, then check once more.
    QTest::qWait(1700);
    QVERIFY2(check(), qPrintable(QString("seed %1 after the last input: %2")
                                     .arg(seed).arg(violation)));
    qInfo("monkey: %d inputs, %d waits, %d victories, %d defeats in %lld s (seed %u)",
          inputs, waits, victories, defeats, clock.elapsed() / 1000, seed);
    QVERIFY(inputs >= wanted);

    delete menu;
}

QTEST_MAIN(MonkeyTest)
#include "tst_monkey.moc"
