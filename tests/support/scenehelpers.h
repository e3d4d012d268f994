// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SCENEHELPERS_H
#define SCENEHELPERS_H

// Finding, driving and timing the game's windows from tests.
#include <QtTest>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QAnimationDriver>
#include <QPropertyAnimation>
#include <QSound>
#include <QStandardPaths>
#include <functional>
#include <mutex>
#include <thread>
#include <unordered_set>

#include "data/boardsolver.h"
#include "data/progressstore.h"
#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "widgets/jinbi.h"
#include "widgets/mybtn.h"

// Standard paths lead into ~/.qttest while the tests run, never to the player's settings; each
// test program starts with nothing solved.
inline const bool privateSettings = [] {
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(progressStore::defaultPath());
    return true;
}();

// The store as earlier runs left it: these levels solved, in these tenths of a second.
using BestTimes = QMap<int, int>;
inline void solvedBefore(const BestTimes &times)
{
    QFile::remove(progressStore::defaultPath());
    for (auto it = times.cbegin(); it != times.cend(); ++it)
        progressStore().recordVictory(it.key(), it.value());
}

inline BestTimes keptTimes()
{
    BestTimes times;
    const QMap<int, progressStore::Level> levels = progressStore().levels();
    for (auto it = levels.cbegin(); it != levels.cend(); ++it)
        times.insert(it.key(), it->bestTenths);
    return times;
}

// Qt's exported hook table for debugging tools: slot 3 is called by every QObject constructor,
// slot 4 by every destructor, on whatever thread makes the object.
extern quintptr Q_CORE_EXPORT qtHookData[];

// Every QObject made on the GUI thread and not yet destroyed, so that a test can reach parentless
// objects (animations, the layout store) that findChildren cannot. Install before they are made.
namespace liveobjects {

inline std::mutex mutex;
inline std::unordered_set<QObject *> objects;
inline std::thread::id guiThread;

inline void install()
{
    guiThread = std::this_thread::get_id();
    // Sound back ends make objects on their own threads; those are not the tests' business.
    qtHookData[3] = reinterpret_cast<quintptr>(+[](QObject *o) {
        std::lock_guard<std::mutex> lock(mutex);
        if (std::this_thread::get_id() == guiThread)
            objects.insert(o);
    });
    qtHookData[4] = reinterpret_cast<quintptr>(+[](QObject *o) {
        std::lock_guard<std::mutex> lock(mutex);
        objects.erase(o);
    });
}

template <class T = QObject>
QList<T *> of()
{
    std::lock_guard<std::mutex> lock(mutex);
    QList<T *> found;
    for (QObject *o : objects)
        if (T *t = qobject_cast<T *>(o))
            found << t;
    return found;
}

template <class T>
int count() { return of<T>().size(); }

}

// Boards are indexed [column][row], 1 = gold, like the game's own grids; bit 4c + r of a mask
// stands for the cell in column c, row r.
using Board = QVector<QVector<int>>;

inline int effectOf(int column, int row)
{
    int mask = 0;
    for (QPoint p : {QPoint(column, row), QPoint(column - 1, row), QPoint(column + 1, row),
                     QPoint(column, row - 1), QPoint(column, row + 1)})
        if (p.x() >= 0 && p.x() < 4 && p.y() >= 0 && p.y() < 4)
            mask |= 1 << (4 * p.x() + p.y());
    return mask;
}

// A click under the rule: the coin and its orthogonal neighbours change face.
inline void applyClick(Board &board, QPoint click)
{
    for (int k = 0; k < 16; ++k)
        board[k / 4][k % 4] ^= effectOf(click.x(), click.y()) >> k & 1;
}

// The fewest clicks (as (column, row), row by row) that turn the board all gold; false when
// there are none. The game's own solver, which tst_boardsolver checks against every board.
inline bool solveBoard(const Board &board, QVector<QPoint> *clicks)
{
    int faces[4][4];
    for (int k = 0; k < 16; ++k)
        faces[k / 4][k % 4] = board[k / 4][k % 4];
    const int best = boardSolver::shortestSolution(boardSolver::silverOf(faces));
    if (clicks && best >= 0)
        *clicks += boardSolver::pressesInReadingOrder(best);
    return best >= 0;
}

// QtMultimedia's sample cache can deadlock when a sound's last user goes while another loads;
// one of each held for the whole run (made before any scene) keeps every sample in use.
inline void holdGameSounds(QObject *owner)
{
    for (const char *name : {"BackButtonSound", "TapButtonSound", "ConFlipSound", "LevelWinSound"})
        new QSound(QString(":/res/%1.wav").arg(name), owner);
}

class FrozenAnimationClock;
enum class Animations { RunFree, Frozen };

// What every scene test starts with: the census of objects, the sounds held, and (asked for)
// animations that move only when the test sets their time.
inline void setUpSceneTests(QObject *owner, Animations animations);

// Pictures as Qt keeps icons, premultiplied, so that the two compare.
inline QImage picture(const QString &path) { return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied); }
inline QImage iconOf(const QPushButton &b) { return b.icon().pixmap(b.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

// Against its reference picture in tests/golden/, or in golden/qt6/ where Qt 6 differs (it edges
// some glyphs otherwise); QUENVARY_UPDATE_GOLDEN=1 writes the picture instead.
inline void expectGolden(const QImage &shot, const QString &name)
{
    const QImage got = shot.convertToFormat(QImage::Format_ARGB32);
    const auto in = [&name](const char *dir) { return QStringLiteral(QUENVARY_GOLDEN_DIR "%1/%2.png").arg(dir, name); };
    const QString path = in(QT_VERSION_MAJOR > 5 && (QFile::exists(in("/qt6"))
                            || got != QImage(in("")).convertToFormat(QImage::Format_ARGB32)) ? "/qt6" : "");
    if (qEnvironmentVariableIntValue("QUENVARY_UPDATE_GOLDEN"))
        QVERIFY(shot.save(path));
    QVERIFY2(got == QImage(path).convertToFormat(QImage::Format_ARGB32), qPrintable(path));
}

// A widget given a shown window as its parent, at a place of it.
template <class T>
T *placed(QWidget &window, T *widget, QPoint at = QPoint())
{
    widget->setParent(&window);
    widget->move(at);
    window.show();
    return widget;
}

// The direct child button resting at the place, if any.
inline mybtn *buttonAt(QWidget &w, QPoint place)
{
    for (mybtn *b : w.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly))
        if (b->pos() == place)
            return b;
    return nullptr;
}

// Level buttons fill the grid row by row, four to a row.
inline QPoint levelPlace(int index) { return QPoint(25 + 70 * (index % 4), 160 + 70 * (index / 4)); }
inline mybtn *levelButtonOf(xuanguan &ls, int index) { return buttonAt(ls, levelPlace(index)); }
inline mybtn *backButtonOf(xuanguan &ls) { return buttonAt(ls, QPoint(270, 538)); }
// Found by name: at the end of a level it leaves its corner.
inline mybtn *backButtonOf(youxi &w) { return w.findChild<mybtn *>("backButton"); }
inline mybtn *startButtonOf(Zhujiemian &menu) { return buttonAt(menu, QPoint(105, 352)); }
inline QTimer *countdownTimerOf(youxi &w) { return w.findChild<QTimer *>("countdownTimer"); }
inline QLabel *labelOf(youxi &w, const char *name) { return w.findChild<QLabel *>(name); }

// Countdown ticks, delivered now instead of a second apart.
inline void tick(youxi &w, int ticks = 1)
{
    while (ticks-- > 0)
        QVERIFY(QMetaObject::invokeMethod(countdownTimerOf(w), "timeout"));
}

// The twenty boards as the player sees them: rows top to bottom, coins left to right.
inline Board boardOnScreen(int level)
{
    static const char *const rows[20] = {
        "1111 1101 1000 1101", "1011 0011 1100 1101", "0000 0110 0110 0000",
        "0111 1001 1011 1111", "1001 0000 0000 1001", "1001 0110 0110 1001",
        "0111 1011 1101 1110", "0101 1000 0001 1010", "1101 0000 1110 0001",
        "1101 0101 1010 1011", "0110 1001 1001 0110", "0010 1010 1010 0010",
        "0000 1001 1001 0000", "1011 0101 1010 1101", "0110 1001 0000 1001",
        "0110 1111 1111 0110", "0001 1101 1011 1000", "0001 0010 0100 1000",
        "0000 1100 0110 0010", "0000 0000 0000 0000",
    };
    const QStringList text = QString(rows[level - 1]).split(' ');
    Board board(4, QVector<int>(4));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            board[c][r] = text[r][c] == '1' ? 1 : 0;
    return board;
}

// The coins' faces as a board; the window's own face grid must agree with them.
inline Board facesOf(const youxi &w)
{
    Board board(4, QVector<int>(4));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            board[c][r] = w.coinGrid[c][r]->goldUp == (w.faceGrid[c][r] == 1)
                    ? w.faceGrid[c][r] : -1;
    return board;
}

inline int lockedCoins(const youxi &w)
{
    int n = 0;
    for (int k = 0; k < 16; ++k)
        n += w.coinGrid[k / 4][k % 4]->isLocked;
    return n;
}

// A failed test may leave play windows open; the next one must not count them.
inline void closePlayWindows() { qDeleteAll(liveobjects::of<youxi>()); }

// Ends every running animation, as the clock the tests freeze would have: an ending's glides
// outlive their window and, never stopped, would never delete themselves.
inline void finishAnimations()
{
    for (QPropertyAnimation *a : liveobjects::of<QPropertyAnimation>())
        a->setCurrentTime(a->totalDuration());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Clicks a coin as soon as it takes presses again.
inline void clickCoin(youxi &w, QPoint cell)
{
    jinbi *coin = w.coinGrid[cell.x()][cell.y()];
    QTRY_VERIFY_WITH_TIMEOUT(!coin->isLocked && !coin->isTurning, 5000);
    QTest::mouseClick(coin, Qt::LeftButton);
}

// Checks that `done` turns true between 250 and 350 ms from now. Qt fires overdue timers in
// deadline order, so however slow the machine, a 300 ms step lands between the two probes.
inline void expectAfter300Ms(const std::function<bool()> &done, const char *what)
{
    bool at250 = true, at350 = false, over = false;
    QObject probes;
    QTimer::singleShot(250, Qt::PreciseTimer, &probes, [&] { at250 = done(); });
    QTimer::singleShot(350, Qt::PreciseTimer, &probes, [&] { at350 = done(); over = true; });
    QTRY_VERIFY_WITH_TIMEOUT(over, 20000);
    QVERIFY2(!at250, qPrintable(QString("%1: already at 250 ms").arg(what)));
    QVERIFY2(at350, qPrintable(QString("%1: not yet at 350 ms").arg(what)));
}

// Returns `ms` from now, once every timer that was due before then has fired.
inline void waitPast(int ms)
{
    bool over = false;
    QObject probe;
    QTimer::singleShot(ms, Qt::PreciseTimer, &probe, [&] { over = true; });
    QTRY_VERIFY_WITH_TIMEOUT(over, ms + 20000);
}

// The live geometry animation of a widget; they have no parent, so the census finds them.
inline QPropertyAnimation *animationOf(QObject *target)
{
    for (QPropertyAnimation *a : liveobjects::of<QPropertyAnimation>())
        if (a->targetObject() == target && a->state() == QAbstractAnimation::Running)
            return a;
    return nullptr;
}

// While one is alive, animations move only when a test sets their time: no busy machine can
// run them out between two checks.
class FrozenAnimationClock : public QAnimationDriver
{
public:
    explicit FrozenAnimationClock(QObject *parent) : QAnimationDriver(parent) { install(); }
    ~FrozenAnimationClock() override { uninstall(); }
    qint64 elapsed() const override { return 0; }
};

// Walks the widget's running animation along its course: the widget must follow the designed
// curve from `from` to `to` within a pixel, and the animation must let itself go at the end.
inline void expectGlide(QWidget *w, int durationMs, QEasingCurve::Type type, QRect from, QRect to)
{
    QPointer<QPropertyAnimation> a = animationOf(w);
    QVERIFY2(a, "no animation running");
    QCOMPARE(a->duration(), durationMs);
    const QEasingCurve curve(type);
    for (int ms : {0, durationMs / 5, int(durationMs / 2.75), durationMs / 2, durationMs * 4 / 5, durationMs}) {
        a->setCurrentTime(ms);
        const QPointF want = QPointF(from.topLeft())
                + curve.valueForProgress(ms / double(durationMs)) * QPointF(to.topLeft() - from.topLeft());
        const QPointF off = QPointF(w->pos()) - want;
        QVERIFY2(qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1,
                 qPrintable(QString("at %1 ms: %2, %3 not %4, %5").arg(ms).arg(w->x()).arg(w->y()).arg(want.x()).arg(want.y())));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!a, 3000);
    QCOMPARE(w->geometry(), to);
}

inline void setUpSceneTests(QObject *owner, Animations animations)
{
    liveobjects::install();
    holdGameSounds(owner);
    if (animations == Animations::Frozen)
        new FrozenAnimationClock(owner);
}

// Presses a key as the player does, through the window's shortcuts.
inline void pressKey(QWidget &w, QKeySequence key)
{
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget *to = w.focusWidget() ? w.focusWidget() : &w;
#if QT_VERSION_MAJOR > 5
    QTest::keyClick(to, key[0].key(), key[0].keyboardModifiers());
#else
    QTest::keyClick(to, Qt::Key(key[0] & ~Qt::KeyboardModifierMask),
                    Qt::KeyboardModifiers(key[0] & Qt::KeyboardModifierMask));
#endif
}

inline QAction *actionOf(sceneWindow &w, const QString &text)
{
    for (QAction *a : w.sceneActions())
        if (a->text() == text)
            return a;
    return nullptr;
}

// The menu never deletes its level select; a test holds both through this.
struct MenuWithLevelSelect
{
    MenuWithLevelSelect() : levelSelect(menu.levelSelect) {}
    ~MenuWithLevelSelect() { delete levelSelect.data(); }
    Zhujiemian menu;
    QPointer<xuanguan> levelSelect;
};

#endif
