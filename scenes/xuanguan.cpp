// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xuanguan.h"

#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QSound>
#include <QTimer>

#include "data/boardsolver.h"
#include "data/dataconfig.h"
#include "data/progressstore.h"
#include "scenes/keyboardgrid.h"
#include "scenes/youxi.h"
#include "widgets/mybtn.h"
#include "widgets/solvedmark.h"

namespace {

constexpr int levelCount = 20;
constexpr int gridColumns = 4;
constexpr int gridLeft = 25;
constexpr int gridTop = 160;
constexpr int gridPitch = 70;
constexpr int numberPointSize = 14;
// The badge sits on the button's upper right edge, reaching a little into the gap.
constexpr int markOffsetX = 40;
constexpr int markOffsetY = -4;

int fewestMovesOf(int levelNumber)
{
    const dataConfig layouts(nullptr);
    const QVector<QVector<int>> layout = layouts.levelLayouts.value(levelNumber);
    int faces[boardSolver::boardSize][boardSolver::boardSize];
    for (int c = 0; c < boardSolver::boardSize; ++c)
        for (int r = 0; r < boardSolver::boardSize; ++r)
            faces[c][r] = layout[c][r];
    return boardSolver::fewestMoves(boardSolver::silverOf(faces));
}

}

xuanguan::xuanguan(QWidget *parent)
    : sceneWindow(tr("选择关卡"), ":/res/OtherSceneBg.png", parent)
{
    mybtn *backButton = addBackButton([this] {
        // A level chosen meanwhile wins over the back click: stay out of the play window's way.
        if (playWindow)
            return;
        hide();
        emit fanhui();
    });

    tapSound = new QSound(":/res/TapButtonSound.wav", this);

    playWindow = nullptr;

    for (int i = 0; i < levelCount; ++i) {
        auto *levelButton = new mybtn(":/res/LevelIcon.png", "");
        levelButton->setParent(this);
        levelButton->move(gridLeft + gridPitch * (i % gridColumns),
                          gridTop + gridPitch * (i / gridColumns));

        auto *number = new QLabel(this);
        number->setFixedSize(levelButton->width(), levelButton->height());
        number->move(levelButton->pos());
        number->setText(QString::number(i + 1));
        number->setAlignment(Qt::AlignCenter);
        number->setFont(QFont("等线", numberPointSize));
        // The number lies on top of its button; clicks go through to the button.
        number->setAttribute(Qt::WA_TransparentForMouseEvents);

        connect(levelButton, &QPushButton::clicked, this, [this, i] {
            if (playWindow)
                return;
            tapSound->play();
            openLevel(i + 1);
        });
        levelButton->setAccessibleName(tr("第 %1 关").arg(i + 1));
        levelButtons.append(levelButton);

        auto *mark = new solvedMark(this);
        mark->move(levelButton->pos() + QPoint(markOffsetX, markOffsetY));
        mark->hide();
        solvedMarks.append(mark);
    }

    addFocusRing(backButton);
    keys = new keyboardGrid(this, gridColumns, levelButtons, backButton);
    // Filters run newest first: the marks and the first cell are up to date before the grid
    // focuses that cell.
    installEventFilter(this);
}

bool xuanguan::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == this && e->type() == QEvent::Show && !e->spontaneous())
        showProgress();
    return sceneWindow::eventFilter(watched, e);
}

// Marks, best times, and the keyboard's start at the first level still to solve.
void xuanguan::showProgress()
{
    const QMap<int, progressStore::Level> levels = progressStore().levels();
    int firstUnsolved = -1;
    for (int i = 0; i < levelCount; ++i) {
        const progressStore::Level level = levels.value(i + 1);
        solvedMarks[i]->setVisible(level.solved);
        QString bestTime;
        QString description;
        if (level.bestTenths > 0) {
            bestTime = tr("最佳时间: %1 秒").arg(progressStore::secondsText(level.bestTenths));
            description = tr("已通关，最佳时间: %1 秒").arg(progressStore::secondsText(level.bestTenths));
        } else if (level.solved) {
            description = tr("已通关");
        }
        if (level.fewestMoves > 0) {
            const auto withMoves = [&level, i](const QString &before) {
                //: Said after a solved level's name and best time: the player's fewest presses, and the level's
                return tr("%1，最少用了 %2 步，本关最少 %3 步").arg(before, QLocale::system().toString(level.fewestMoves),
                                                                QLocale::system().toString(fewestMovesOf(i + 1)));
            };
            description = withMoves(description);
            bestTime = withMoves(bestTime.isEmpty() ? tr("已通关") : bestTime);
        }
        levelButtons[i]->setToolTip(bestTime);
        levelButtons[i]->setAccessibleDescription(description);
        if (!level.solved && firstUnsolved < 0)
            firstUnsolved = i;
    }
    keys->setFirstCell(qMax(firstUnsolved, 0));
}

void xuanguan::openLevel(int levelNumber)
{
    playWindow = new youxi(levelNumber);
    holdPlaySounds();
    handOver(this, playWindow);
    watchPlayWindow();
}

void xuanguan::watchPlayWindow()
{
    connect(playWindow, &youxi::fanhui, playWindow, [this] { returnFromPlay(); },
            Qt::DirectConnection);
    connect(playWindow, &youxi::levelWanted, playWindow,
            [this](int levelNumber) { replacePlayWindow(levelNumber); }, Qt::DirectConnection);
}

// Restart, next and previous: a fresh play window where the old one was, as if chosen here.
void xuanguan::replacePlayWindow(int levelNumber)
{
    if (levelNumber < 1 || levelNumber > levelCount || !playWindow)
        return;
    youxi *left = playWindow;
    tapSound->play();
    playWindow = new youxi(levelNumber);
    handOver(left, playWindow);
    watchPlayWindow();
    // Its action (or the menu that holds it) is still on the stack: it goes at the next turn
    // of the event loop, silent and out of play until then.
    disconnect(left, &youxi::fanhui, nullptr, nullptr);
    disconnect(left, &youxi::levelWanted, nullptr, nullptr);
    if (auto *countdown = left->findChild<QTimer *>("countdownTimer"))
        countdown->stop();
    left->setEnabled(false);
    left->deleteLater();
}

// Qt's sample cache can hang for good when the last user of a sound goes away while another
// sound loads; holding the play window's sounds here too keeps every sample in use for the rest
// of the run, so closing a play window never releases one. Held from the first level on, not
// from the start, where they would cost the first window a sample load each.
void xuanguan::holdPlaySounds()
{
    if (playSoundsHeld)
        return;
    playSoundsHeld = true;
    new QSound(":/res/ConFlipSound.wav", this);
    new QSound(":/res/LevelWinSound.wav", this);
}

void xuanguan::returnFromPlay()
{
    youxi *left = playWindow;
    playWindow = nullptr;
    handOver(left, this);
    delete left;
}
