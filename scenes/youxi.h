// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef YOUXI_H
#define YOUXI_H

#include <QElapsedTimer>
#include <QPixmap>
#include <QString>

#include "scenes/scenewindow.h"

class QLabel;
class QSound;
class QTimer;
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

signals:
    void fanhui();

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
