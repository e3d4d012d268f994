#ifndef SCENEHELPERS_H
#define SCENEHELPERS_H

// Finding, driving and timing the game's windows from tests.
#include <QtTest>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QAnimationDriver>
#include <QPropertyAnimation>
#include <QSound>
#include <functional>

#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "support/liveobjects.h"
#include "support/solver.h"
#include "widgets/jinbi.h"
#include "widgets/mybtn.h"

// QtMultimedia's sample cache can deadlock when the last user of a sound goes while another
// sound is still loading; holding one of each for the whole run keeps windows that come and
// go quickly from ever releasing a sample. Call it before the first scene window is made.
inline void holdGameSounds(QObject *owner)
{
    for (const char *name : {"BackButtonSound", "TapButtonSound", "ConFlipSound", "LevelWinSound"})
        new QSound(QString(":/res/%1.wav").arg(name), owner);
}

// Pictures as Qt keeps icons, premultiplied, so that the two compare.
inline QImage picture(const QString &path) { return QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied); }
inline QImage iconOf(const QPushButton &b) { return b.icon().pixmap(b.iconSize()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

// The one direct child button resting at the place, or null when none or several are there.
inline mybtn *buttonAt(QWidget &w, QPoint place)
{
    mybtn *found = nullptr;
    for (mybtn *b : w.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (b->pos() == place) {
            if (found)
                return nullptr;
            found = b;
        }
    }
    return found;
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
    for (auto &column : w.coinGrid)
        for (jinbi *coin : column)
            n += coin->isLocked ? 1 : 0;
    return n;
}

// A failed test may leave play windows open; the next one must not count them.
inline void closePlayWindows()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<youxi *>(w))
            delete w;
}

// Clicks a coin as soon as it takes presses again.
inline void clickCoin(youxi &w, QPoint cell)
{
    jinbi *coin = w.coinGrid[cell.x()][cell.y()];
    QTRY_VERIFY_WITH_TIMEOUT(!coin->isLocked && !coin->isTurning, 2000);
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

// Animation time under the test's control: while one is alive, animations move only when
// a test sets their time, so no busy machine can run them out between two checks.
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
        QVERIFY2(qAbs(w->x() - want.x()) <= 1 && qAbs(w->y() - want.y()) <= 1,
                 qPrintable(QString("at %1 ms: (%2, %3), want (%4, %5)").arg(ms)
                                    .arg(w->x()).arg(w->y()).arg(want.x()).arg(want.y())));
        // Qt moves the edges, so the size may be a pixel off on the way.
        QVERIFY(qAbs(w->width() - to.width()) <= 1 && qAbs(w->height() - to.height()) <= 1);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!a, 3000);
    QCOMPARE(w->geometry(), to);
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
