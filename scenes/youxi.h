// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef YOUXI_H
#define YOUXI_H

#include <QElapsedTimer>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QVector>

#include "scenes/scenewindow.h"

class QAction;
class QLabel;
class QPropertyAnimation;
class QSound;
class QTimer;
class hintMark;
class jinbi;
class mybtn;

// The play window of one level: the board, the countdown and the way back.
class youxi : public sceneWindow
{
    Q_OBJECT
public:
    explicit youxi(int levelNumber);
    ~youxi() override;

    // "倒计时: m:s" without leading zeros, for 0..119 seconds.
    static QString countdownText(int seconds);

    int levelNumber;
    int faceGrid[4][4];
    jinbi *coinGrid[4][4];
    bool solved;

    // The presses the player has made in this level.
    int movesMade() const { return moves; }
    bool isPaused() const { return paused; }
    bool isShowingSolution() const { return showingSolution; }

signals:
    void fanhui();
    // The player asks for a level (this one afresh, the next or the one before) in this
    // window's place.
    void levelWanted(int levelNumber);

protected:
    void changeEvent(QEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // What victory and defeat both need to end the level.
    struct Ending {
        QSound *winSound;
        QTimer *countdownTimer;
        QLabel *pictureLabel;
        QPixmap picture;
        mybtn *backButton;
    };

    // Set when the time runs out: from then on the board takes no move.
    bool lost = false;
    // From the level's start; read at the victory for the time kept.
    QElapsedTimer playClock;
    // The time of a victory that beat the level's best, in tenths of a second; 0 otherwise.
    int newBestTenths = 0;
    // The victory's or defeat's picture once it has landed; it carries the outcome's words.
    QLabel *landedPicture = nullptr;

    // The presses made, the level's fewest, and whether a hint helped.
    int moves = 0;
    int fewestMoves = 0;
    int startSilver = 0;
    bool hinted = false;
    // Paused: the countdown waits with what was left of its second, the card covers the board.
    bool paused = false;
    int pausedLeftMs = 0;
    qint64 pausedTotalMs = 0;
    QElapsedTimer pausedClock;
    jinbi *moveUnderWay = nullptr;
    // A shortest solution played from the level's start once it has ended.
    bool showingSolution = false;
    int solutionRun = 0;
    QVector<QPoint> solutionLeft;

    QTimer *countdown = nullptr;
    QTimer *restOfSecond = nullptr;
    QSound *flipSoundOfBoard = nullptr;
    mybtn *backButtonOfScene = nullptr;
    QLabel *endPicture = nullptr;
    QLabel *pauseCard = nullptr;
    QPointer<QWidget> focusBeforePause;
    hintMark *hint = nullptr;
    QTimer *solutionTimer = nullptr;
    QList<QPointer<QPropertyAnimation>> glides;
    QAction *pauseAction = nullptr;
    QAction *hintAction = nullptr;
    QAction *solutionAction = nullptr;

    // Won for good, even while a shown solution has the board away from all gold.
    bool won = false;

    bool hasEnded() const { return won || lost; }
    void setUpActions();
    void updateActions();
    void setPaused(bool on);
    void leavePause();
    void showHint();
    void startSolution();
    void playSolutionStep();
    void stopSolution();
    void flipNeighbours(jinbi *coin);
    void announce(const QString &text);

    void setBoardLocked(bool locked);
    void flipCoin(jinbi *coin);
    void playMove(jinbi *coin, QSound *flipSound, const Ending &victory);
    void finishMove(jinbi *coin, const Ending &victory);
    void endLevel(const Ending &ending);
    void keepVictory();
    void setUpKeyboardAccess(mybtn *backButton);
    void announceEnding(const Ending &ending);
    void tellOutcome();
};

#endif
