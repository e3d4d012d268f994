#ifndef SCENEHELPERS_H
#define SCENEHELPERS_H

// Finding and driving the game's windows from tests.
#include <QtTest>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSound>

#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
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
inline mybtn *levelButtonOf(xuanguan &ls, int index)
{
    return buttonAt(ls, QPoint(25 + 70 * (index % 4), 160 + 70 * (index / 4)));
}

inline mybtn *backButtonOf(xuanguan &ls) { return buttonAt(ls, QPoint(270, 538)); }
// Found by name: at the end of a level it leaves its corner.
inline mybtn *backButtonOf(youxi &w) { return w.findChild<mybtn *>("backButton"); }

// The play window's faces as a board for the solver.
inline Board boardOf(const youxi &w)
{
    Board board(4, QVector<int>(4));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            board[c][r] = w.faceGrid[c][r];
    return board;
}

inline mybtn *startButtonOf(Zhujiemian &menu)
{
    const auto buttons = menu.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly);
    return buttons.size() == 1 ? buttons.first() : nullptr;
}

template <class T>
int topLevelCount()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<T *>(w) ? 1 : 0;
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
    QTRY_VERIFY_WITH_TIMEOUT(!coin->isLocked && !coin->isTurning, 1000);
    QTest::mouseClick(coin, Qt::LeftButton);
}

// Only the absence of a late event can be checked, so wait until its moment has passed.
inline void waitUntil(const QElapsedTimer &clock, qint64 ms)
{
    QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() >= ms, int(ms) + 2000);
}

// When a window receives events of one type, in ms since the log was made.
class EventLog : public QObject
{
public:
    EventLog(QObject *watched, QEvent::Type type) : type(type)
    {
        clock.start();
        watched->installEventFilter(this);
    }
    QVector<qint64> at;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == type)
            at << clock.elapsed();
        return false;
    }

private:
    QEvent::Type type;
    QElapsedTimer clock;
};

// The menu never deletes its level select; a test holds both through this.
struct MenuWithLevelSelect
{
    MenuWithLevelSelect() : levelSelect(menu.levelSelect) {}
    ~MenuWithLevelSelect() { delete levelSelect.data(); }
    Zhujiemian menu;
    QPointer<xuanguan> levelSelect;
};

#endif
