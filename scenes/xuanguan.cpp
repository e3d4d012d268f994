// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "xuanguan.h"

#include <QFont>
#include <QLabel>
#include <QSound>

#include "scenes/keyboardgrid.h"
#include "scenes/youxi.h"
#include "widgets/mybtn.h"

namespace {

constexpr int levelCount = 20;
constexpr int gridColumns = 4;
constexpr int gridLeft = 25;
constexpr int gridTop = 160;
constexpr int gridPitch = 70;
constexpr int numberPointSize = 14;

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

    auto *tapSound = new QSound(":/res/TapButtonSound.wav", this);

    // Qt's sample cache can hang for good when the last user of a sound goes away while
    // another sound loads; holding the play window's sounds here too keeps every sample in
    // use for the whole run, so closing a play window never releases one.
    new QSound(":/res/ConFlipSound.wav", this);
    new QSound(":/res/LevelWinSound.wav", this);

    playWindow = nullptr;

    QVector<QAbstractButton *> levelButtons;
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

        connect(levelButton, &QPushButton::clicked, this, [this, tapSound, i] {
            if (playWindow)
                return;
            tapSound->play();
            openLevel(i + 1);
        });
        levelButton->setAccessibleName(tr("第 %1 关").arg(i + 1));
        levelButtons.append(levelButton);
    }

    addFocusRing(backButton);
    new keyboardGrid(this, gridColumns, levelButtons, backButton);
}

void xuanguan::openLevel(int levelNumber)
{
    playWindow = new youxi(levelNumber);
    handOver(this, playWindow);
    connect(playWindow, &youxi::fanhui, playWindow, [this] { returnFromPlay(); },
            Qt::DirectConnection);
}

void xuanguan::returnFromPlay()
{
    youxi *left = playWindow;
    playWindow = nullptr;
    handOver(left, this);
    delete left;
}
