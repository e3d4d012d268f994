// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "youxi.h"

#include <QAccessible>
#include <QEasingCurve>
#include <QFont>
#include <QLabel>
#include <QPropertyAnimation>
#include <QSound>
#include <QTimer>

#include "data/dataconfig.h"
#include "data/progressstore.h"
#include "scenes/keyboardgrid.h"
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

void glide(QWidget *widget, const QRect &to, QEasingCurve::Type easing)
{
    auto *animation = new QPropertyAnimation(widget, "geometry");
    animation->setDuration(endAnimationMs);
    animation->setStartValue(widget->geometry());
    animation->setEndValue(to);
    animation->setEasingCurve(easing);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
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
    setUpKeyboardAccess(backButton);
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
    if (lost)
        return;
    setBoardLocked(true);
    flipSound->play();
    flipCoin(coin);
    QTimer::singleShot(neighbourDelayMs, this, [this, coin, victory] {
        finishMove(coin, victory);
    });
}

void youxi::finishMove(jinbi *coin, const Ending &victory)
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
    setBoardLocked(lost);  // a defeat meanwhile keeps the board closed

    // Faces change when a turn starts, so this sees the neighbours' new faces mid-animation.
    solved = true;
    for (auto &column : coinGrid)
        for (jinbi *each : column)
            if (!each->goldUp)
                solved = false;

    if (solved) {
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
    glide(ending.pictureLabel,
          ending.pictureLabel->geometry().translated(0, picturePainting::designSize(ending.picture).height()),
          QEasingCurve::OutBounce);
    mybtn *back = ending.backButton;
    back->raise();
    const QRect middle(static_cast<int>((width() - back->width()) / 2.0),
                       static_cast<int>(height() / 2.0), back->width(), back->height());
    glide(back, middle, QEasingCurve::OutCubic);
    announceEnding(ending);
}

// Kept before anything is shown, so a game killed from now on still has it.
void youxi::keepVictory()
{
    const int tenths = static_cast<int>((playClock.elapsed() + 50) / 100);
    if (progressStore().recordVictory(levelNumber, tenths) == progressStore::Outcome::NewBest)
        newBestTenths = tenths;
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
    //: Told by a screen reader when the level is won or lost
    QString outcome = solved ? tr("通关") : tr("失败");
    if (newBestTenths > 0)
        outcome = tr("通关，新的最佳时间: %1 秒").arg(progressStore::secondsText(newBestTenths));
    QTimer::singleShot(endAnimationMs, picture, [picture, outcome] {
        picture->setAccessibleName(outcome);
        QAccessibleEvent alert(picture, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    });
}
