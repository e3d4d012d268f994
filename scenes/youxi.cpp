// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "youxi.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QEasingCurve>
#include <QFont>
#include <QHideEvent>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QSound>
#include <QTimer>

#include "data/boardsolver.h"
#include "data/dataconfig.h"
#include "data/progresssaver.h"
#include "data/progressstore.h"
#include "scenes/keyboardgrid.h"
#include "widgets/hintmark.h"
#include "widgets/jinbi.h"
#include "widgets/mybtn.h"
#include "widgets/picturepainting.h"

namespace {

constexpr int boardSize = 4;
constexpr int neighbourDelayMs = 300;
constexpr int tickMs = 1000;
constexpr int endAnimationMs = 1500;
constexpr int levelLabelPointSize = 20;
constexpr int countdownPointSize = 16;
constexpr int nodeSizePx = 50;
const char *const goldPicture = ":/res/Coin0001.png";
const char *const silverPicture = ":/res/Coin0008.png";
constexpr int levelCount = 20;
// A shown solution presses a coin about every 0.8 s, so each move's flips end before the next.
constexpr int solutionStepMs = 800;
// The pause card lies over the board, 20 pixels beyond it on every side.
const QRect pauseCardPlace(40, 174, 240, 240);
const char *const pauseCardPicture = ":/res/PauseCard.png";

int timeLimitFor(int level)
{
    if (level <= 5)
        return 10;
    if (level <= 10)
        return 20;
    if (level <= 18)
        return 50;
    return 80;
}

QPropertyAnimation *glide(QWidget *widget, const QRect &to, QEasingCurve::Type easing)
{
    auto *animation = new QPropertyAnimation(widget, "geometry");
    animation->setDuration(endAnimationMs);
    animation->setStartValue(widget->geometry());
    animation->setEndValue(to);
    animation->setEasingCurve(easing);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

}

youxi::youxi(int levelNumber)
    //: The play window's title: the game's name, kept unless the players know it by another
    : sceneWindow(tr("Quenvary"), ":/res/PlayLevelSceneBg.png")
    , levelNumber(levelNumber)
    , solved(false)
{
    const int W = width();
    const int H = height();

    // The receiver deletes this window during the emission, so it must come last.
    mybtn *backButton = addBackButton([this] { emit fanhui(); });
    backButton->setObjectName("backButton");

    auto *levelLabel = new QLabel(this);
    levelLabel->setObjectName("levelLabel");
    levelLabel->setFont(QFont("等线", levelLabelPointSize));
    levelLabel->setStyleSheet("color:#ffffff;");
    //: Must fit 120 pixels at 20 points for level 20
    levelLabel->setText(tr("第 %1 关").arg(levelNumber));
    levelLabel->setGeometry(5, H - 510, 120, 25);

    auto *flipSound = new QSound(":/res/ConFlipSound.wav", this);
    auto *winSound = new QSound(":/res/LevelWinSound.wav", this);

    // The end pictures wait just above the top edge until they drop in.
    auto parkedPicture = [this, W](const char *name, const QString &path, QPixmap &picture) {
        auto *label = new QLabel(this);
        label->setObjectName(name);
        picture = picturePainting::load(path);
        const QSize size = picturePainting::designSize(picture);
        label->setGeometry(0, 0, size.width(), size.height());
        label->setPixmap(picture);
        label->move(static_cast<int>(W * 0.5 - size.width() * 0.5), -size.height());
        return label;
    };
    QPixmap victoryPixmap;
    QLabel *victoryLabel = parkedPicture("victoryLabel", ":/res/LevelCompletedDialogBg.png",
                                         victoryPixmap);
    QPixmap defeatPixmap;
    QLabel *defeatLabel = parkedPicture("defeatLabel", ":/res/shibai.png", defeatPixmap);

    auto *countdownLabel = new QLabel(this);
    countdownLabel->setObjectName("countdownLabel");
    countdownLabel->setFont(QFont("等线", countdownPointSize));
    countdownLabel->setGeometry(static_cast<int>(W * 0.5 - countdownLabel->width() * 0.5),
                                H - 160, 120, 25);

    auto *countdownTimer = new QTimer(this);
    countdownTimer->setObjectName("countdownTimer");
    const Ending defeat{winSound, countdownTimer, defeatLabel, defeatPixmap, backButton};
    countdown = countdownTimer;
    connect(countdownTimer, &QTimer::timeout, countdownTimer,
            [this, secondsLeft = timeLimitFor(levelNumber), countdownLabel, defeat]() mutable {
        if (secondsLeft != 0) {
            --secondsLeft;
            countdownLabel->setText(countdownText(secondsLeft));
        } else if (!solved) {
            // A lost level is left by the back button only; a move already under way still ends.
            lost = true;
            setBoardLocked(true);
            endLevel(defeat);
        }
    }, Qt::DirectConnection);
    countdownTimer->start(tickMs);
    playClock.start();

    const Ending victory{winSound, countdownTimer, victoryLabel, victoryPixmap, backButton};
    {
        const dataConfig layouts(nullptr);
        const QVector<QVector<int>> layout = layouts.levelLayouts.value(levelNumber);
        for (int c = 0; c < boardSize; ++c) {
            for (int r = 0; r < boardSize; ++r) {
                auto *node = new QLabel(this);
                node->setGeometry(0, 0, nodeSizePx, nodeSizePx);
                node->setPixmap(picturePainting::load(":/res/BoardNode.png"));
                node->move(static_cast<int>(W * 0.5 - 100 + 50 * c),
                           static_cast<int>(H * 0.5 - 100 + 50 * r));

                faceGrid[c][r] = layout[c][r];
                auto *coin = new jinbi(faceGrid[c][r] == 1 ? goldPicture : silverPicture);
                coin->setParent(this);
                coin->move(static_cast<int>(W * 0.5 - 98 + 50 * c),
                           static_cast<int>(H * 0.5 - 96 + 50 * r));
                coinGrid[c][r] = coin;
                coin->boardColumn = c;
                coin->boardRow = r;
                coin->goldUp = faceGrid[c][r] != 0;

                connect(coin, &QPushButton::clicked, coin, [this, coin, flipSound, victory] {
                    playMove(coin, flipSound, victory);
                }, Qt::DirectConnection);
            }
        }
    }
    flipSoundOfBoard = flipSound;
    backButtonOfScene = backButton;
    startSilver = boardSolver::silverOf(faceGrid);
    fewestMoves = boardSolver::fewestMoves(startSilver);
    setUpKeyboardAccess(backButton);
    setUpActions();
}

youxi::~youxi() = default;

QString youxi::countdownText(int seconds)
{
    const int minutes = seconds > 59 ? 1 : 0;
    const int rest = seconds >= 60 ? seconds - 60 : seconds;
    //: Minutes and seconds left, seconds without a leading zero; must fit 120 pixels at 16 points
    return tr("倒计时: %1:%2").arg(minutes).arg(rest);
}

void youxi::setBoardLocked(bool locked)
{
    for (auto &column : coinGrid)
        for (jinbi *coin : column)
            coin->isLocked = locked;
}

void youxi::flipCoin(jinbi *coin)
{
    coin->turnOver();
    int &face = faceGrid[coin->boardColumn][coin->boardRow];
    face = face == 1 ? 0 : 1;
}

void youxi::playMove(jinbi *coin, QSound *flipSound, const Ending &victory)
{
    // Locked coins refuse mouse and keys; a press by any other way (click(), accessibility) ends here.
    if (lost || paused || showingSolution)
        return;
    setBoardLocked(true);
    flipSound->play();
    flipCoin(coin);
    ++moves;
    moveUnderWay = coin;
    if (hint)
        hint->hide();
    QTimer::singleShot(neighbourDelayMs, this, [this, coin, victory] {
        finishMove(coin, victory);
    });
}

void youxi::flipNeighbours(jinbi *coin)
{
    const int x = coin->boardColumn;
    const int y = coin->boardRow;
    if (x <= 2)
        flipCoin(coinGrid[x + 1][y]);
    if (x >= 1)
        flipCoin(coinGrid[x - 1][y]);
    if (y <= 2)
        flipCoin(coinGrid[x][y + 1]);
    if (y >= 1)
        flipCoin(coinGrid[x][y - 1]);
}

void youxi::finishMove(jinbi *coin, const Ending &victory)
{
    flipNeighbours(coin);
    moveUnderWay = nullptr;
    setBoardLocked(lost || paused);  // a defeat or a pause meanwhile keeps the board closed

    // Faces change when a turn starts, so this sees the neighbours' new faces mid-animation.
    solved = true;
    for (auto &column : coinGrid)
        for (jinbi *each : column)
            if (!each->goldUp)
                solved = false;

    if (solved) {
        won = true;
        leavePause();
        setBoardLocked(true);
        keepVictory();
        endLevel(victory);
    }
}

void youxi::endLevel(const Ending &ending)
{
    ending.winSound->play();
    ending.countdownTimer->stop();
    ending.pictureLabel->raise();
    glides << glide(ending.pictureLabel,
                    ending.pictureLabel->geometry().translated(
                            0, picturePainting::designSize(ending.picture).height()),
                    QEasingCurve::OutBounce);
    mybtn *back = ending.backButton;
    back->raise();
    const QRect middle(static_cast<int>((width() - back->width()) / 2.0),
                       static_cast<int>(height() / 2.0), back->width(), back->height());
    glides << glide(back, middle, QEasingCurve::OutCubic);
    endPicture = ending.pictureLabel;
    announceEnding(ending);
    updateActions();
}

// Handed to the saver before anything is shown; the picture and the sound never wait for the disk.
void youxi::keepVictory()
{
    // A win helped by a hint is solved, but neither its time nor its moves are a record.
    const int tenths = hinted ? 0 : static_cast<int>((playClock.elapsed() - pausedTotalMs + 50) / 100);
    const QString path = progressStore::defaultPath();
    progressSaver *saver = progressSaver::instance();
    connect(saver, &progressSaver::saved, this,
            [this, path, tenths](const QString &savedPath, int level, int savedTenths,
                                 progressStore::Outcome outcome) {
                if (savedPath != path || level != levelNumber || savedTenths != tenths
                        || outcome != progressStore::Outcome::NewBest || hinted)
                    return;
                newBestTenths = tenths;
                if (landedPicture)
                    tellOutcome();
            });
    saver->save(path, levelNumber, tenths, hinted ? 0 : moves);
}

void youxi::setUpKeyboardAccess(mybtn *backButton)
{
    addFocusRing(backButton);
    QVector<QAbstractButton *> readingOrder;
    for (int r = 0; r < boardSize; ++r)
        for (int c = 0; c < boardSize; ++c)
            readingOrder.append(coinGrid[c][r]);
    new keyboardGrid(this, boardSize, readingOrder, backButton);
}

// Return leads out at once; the outcome is told when its picture has landed.
void youxi::announceEnding(const Ending &ending)
{
    ending.backButton->setFocus(Qt::OtherFocusReason);
    QLabel *picture = ending.pictureLabel;
    QTimer::singleShot(endAnimationMs, picture, [this, picture] {
        landedPicture = picture;
        tellOutcome();
    });
}

// Told again if a new best time is known only after the picture landed.
void youxi::tellOutcome()
{
    //: Told by a screen reader when the level is won or lost
    QString outcome = solved ? tr("通关") : tr("失败");
    if (newBestTenths > 0)
        outcome = tr("通关，新的最佳时间: %1 秒").arg(progressStore::secondsText(newBestTenths));
    else if (solved && hinted)
        //: Told when a level is won after a hint: solved, but the time is no best time
        outcome = tr("通关，用过提示，不计最佳时间");
    //: Told with a victory: the presses the player made and the fewest that solve the level
    const QString moveCount = solved ? tr("用了 %1 步，本关最少 %2 步").arg(QLocale::system().toString(moves),
                                                                    QLocale::system().toString(fewestMoves))
                                     : QString();
    landedPicture->setAccessibleDescription(moveCount);
    landedPicture->setAccessibleName(outcome);
    QAccessibleEvent alert(landedPicture, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void youxi::setUpActions()
{
    //: An action of the play window, in its menu and for screen readers
    addSceneAction(tr("重新开始"), {QKeySequence::Refresh, QKeySequence(Qt::CTRL | Qt::Key_R)},
                   [this] { emit levelWanted(levelNumber); });
    //: An action of the play window, in its menu and for screen readers
    QAction *next = addSceneAction(tr("下一关"), {QKeySequence(Qt::Key_N),
                                               QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
                                   [this] { emit levelWanted(levelNumber + 1); });
    next->setEnabled(levelNumber < levelCount);
    //: An action of the play window, in its menu and for screen readers
    QAction *previous = addSceneAction(tr("上一关"), {QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
                                       [this] { emit levelWanted(levelNumber - 1); });
    previous->setEnabled(levelNumber > 1);
    //: An action of the play window: pauses the level, and resumes it when checked
    pauseAction = addSceneAction(tr("暂停"), {QKeySequence(Qt::Key_P), QKeySequence(Qt::Key_Pause)},
                                 [this] { setPaused(!paused); });
    pauseAction->setCheckable(true);
    //: An action of the play window: marks one coin of a shortest solution
    hintAction = addSceneAction(tr("提示"), {QKeySequence(Qt::Key_H)}, [this] { showHint(); });
    //: An action of the play window once the level has ended
    solutionAction = addSceneAction(tr("演示解法"), {QKeySequence(Qt::Key_S)},
                                    [this] { startSolution(); });
    updateActions();
}

void youxi::updateActions()
{
    pauseAction->setEnabled(!hasEnded());
    pauseAction->setChecked(paused);
    hintAction->setEnabled(!hasEnded() && !paused);
    // Offered only once the level is over: it gives the whole answer away.
    solutionAction->setVisible(hasEnded());
    solutionAction->setEnabled(hasEnded() && !showingSolution);
}

void youxi::setPaused(bool on)
{
    if (on == paused || (on && hasEnded()))
        return;
    if (on) {
        // Paused again before the rest of a second ran out: that rest is still what is left.
        QTimer *running = restOfSecond && restOfSecond->isActive() ? restOfSecond : countdown;
        pausedLeftMs = qMax(0, running->remainingTime());
        running->stop();
        pausedClock.start();
        paused = true;
        setBoardLocked(true);
        if (!pauseCard) {
            pauseCard = new QLabel(this);
            pauseCard->setObjectName("pauseCard");
            pauseCard->setGeometry(pauseCardPlace);
            pauseCard->setFocusPolicy(Qt::StrongFocus);
            pauseCard->installEventFilter(this);
        }
        pauseCard->setPixmap(picturePainting::load(pauseCardPicture));
        //: What a screen reader hears on the pause card; a click on it resumes
        pauseCard->setAccessibleName(tr("已暂停"));
        pauseCard->raise();
        pauseCard->show();
        // The keyboard rests on the card, so no ring is drawn over it, and comes back after.
        focusBeforePause = focusWidget();
        pauseCard->setFocus(Qt::OtherFocusReason);
        announce(tr("已暂停"));
    } else {
        leavePause();
        setBoardLocked(moveUnderWay != nullptr);
        // Exactly what was left of the running second, then whole seconds again.
        if (!restOfSecond) {
            restOfSecond = new QTimer(this);
            restOfSecond->setSingleShot(true);
            restOfSecond->setTimerType(Qt::PreciseTimer);
            connect(restOfSecond, &QTimer::timeout, this, [this] {
                countdown->start(tickMs);
                QMetaObject::invokeMethod(countdown, "timeout");
            });
        }
        restOfSecond->start(pausedLeftMs);
        //: Told by a screen reader when a paused level goes on
        announce(tr("继续"));
    }
    updateActions();
}

// Off the pause card, with the countdown left as it is (a victory stops it for good).
void youxi::leavePause()
{
    if (!paused)
        return;
    paused = false;
    pausedTotalMs += pausedClock.elapsed();
    pauseCard->hide();
    if (focusBeforePause && focusBeforePause != pauseCard)
        focusBeforePause->setFocus(Qt::OtherFocusReason);
    updateActions();
}

void youxi::showHint()
{
    if (hasEnded() || paused)
        return;
    int faces[boardSize][boardSize];
    for (int c = 0; c < boardSize; ++c)
        for (int r = 0; r < boardSize; ++r)
            faces[c][r] = faceGrid[c][r];
    int silver = boardSolver::silverOf(faces);
    // A move under way: its neighbours turn in a moment (the coin itself already has).
    if (moveUnderWay) {
        const int c = moveUnderWay->boardColumn;
        const int r = moveUnderWay->boardRow;
        silver ^= boardSolver::effectOf(c, r) ^ 1 << (boardSize * c + r);
    }
    const int presses = boardSolver::shortestSolution(silver);
    if (presses <= 0)
        return;
    const QPoint press = boardSolver::pressesInReadingOrder(presses).first();
    hinted = true;
    if (!hint)
        hint = new hintMark(this);
    //: Told by a screen reader when a hint marks a coin: its row and column
    hint->mark(coinGrid[press.x()][press.y()],
               tr("提示: 第 %1 行 第 %2 列").arg(press.y() + 1).arg(press.x() + 1));
}

void youxi::startSolution()
{
    // A move still turning its neighbours would land on the replayed board.
    if (!hasEnded() || showingSolution || moveUnderWay)
        return;
    // The endings' glides land at once, then make room for the board.
    for (const QPointer<QPropertyAnimation> &animation : glides)
        if (animation)
            animation->setCurrentTime(animation->duration());
    glides.clear();
    endPicture->hide();
    backButtonOfScene->move(width() - backButtonOfScene->width(),
                            height() - backButtonOfScene->height());
    showingSolution = true;
    // The board leaves all gold: solved again only once the solution has turned it back.
    solved = false;
    ++solutionRun;
    updateActions();
    qApp->installEventFilter(this);

    // Back to the level's start, each differing coin turning as in play.
    const int now = boardSolver::silverOf(faceGrid);
    bool turned = false;
    for (int c = 0; c < boardSize; ++c) {
        for (int r = 0; r < boardSize; ++r) {
            if ((now ^ startSilver) >> (boardSize * c + r) & 1) {
                flipCoin(coinGrid[c][r]);
                turned = true;
            }
        }
    }
    if (turned)
        flipSoundOfBoard->play();
    solutionLeft = boardSolver::pressesInReadingOrder(boardSolver::shortestSolution(startSilver));
    if (!solutionTimer) {
        solutionTimer = new QTimer(this);
        connect(solutionTimer, &QTimer::timeout, this, [this] { playSolutionStep(); });
    }
    solutionTimer->start(solutionStepMs);
}

void youxi::playSolutionStep()
{
    if (solutionLeft.isEmpty()) {
        stopSolution();
        return;
    }
    const QPoint press = solutionLeft.takeFirst();
    jinbi *coin = coinGrid[press.x()][press.y()];
    if (!hint)
        hint = new hintMark(this);
    //: Told by a screen reader for each press of a shown solution: the coin's row and column
    hint->mark(coin, tr("按下 第 %1 行 第 %2 列").arg(press.y() + 1).arg(press.x() + 1));
    flipSoundOfBoard->play();
    flipCoin(coin);
    QTimer::singleShot(neighbourDelayMs, this, [this, coin, run = solutionRun] {
        if (run == solutionRun && showingSolution)
            flipNeighbours(coin);
    });
}

// The board stays as the solution left it, the ending's picture out of its way.
void youxi::stopSolution()
{
    if (!showingSolution)
        return;
    showingSolution = false;
    solutionTimer->stop();
    solved = won && boardSolver::silverOf(faceGrid) == 0;
    solutionLeft.clear();
    qApp->removeEventFilter(this);
    if (hint)
        hint->hide();
    updateActions();
}

void youxi::announce(const QString &text)
{
    setAccessibleDescription(text);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

// Minimised or hidden by the desktop, the level waits for the player's return.
void youxi::changeEvent(QEvent *e)
{
    if (e->type() == QEvent::WindowStateChange && isMinimized())
        setPaused(true);
    sceneWindow::changeEvent(e);
}

void youxi::hideEvent(QHideEvent *e)
{
    if (e->spontaneous())
        setPaused(true);
    sceneWindow::hideEvent(e);
}

bool youxi::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    if (watched == pauseCard && type == QEvent::MouseButtonPress) {
        setPaused(false);
        return true;
    }
    // Any key or click stops a shown solution, and does nothing else.
    if (showingSolution && (type == QEvent::KeyPress || type == QEvent::MouseButtonPress)
            && watched->isWidgetType() && static_cast<QWidget *>(watched)->window() == this) {
        stopSolution();
        return true;
    }
    return sceneWindow::eventFilter(watched, e);
}
