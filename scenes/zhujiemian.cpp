// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "zhujiemian.h"
#include "ui_zhujiemian.h"

#include <QSound>
#include <QTimer>

#include "scenes/keyboardgrid.h"
#include "scenes/xuanguan.h"
#include "widgets/mybtn.h"

namespace {

constexpr double startButtonHeightRatio = 0.6;
constexpr int handOverDelayMs = 300;

}

Zhujiemian::Zhujiemian(QWidget *parent)
    //: The menu window's title: the game's name, kept unless the players know it by another
    : sceneWindow(tr("TavroQuenvary"), ":/res/MenuSceneBg.png", parent)
    , ui(new Ui::Zhujiemian)
{
    ui->setupUi(this);

    levelSelect = new xuanguan(nullptr);

    connect(ui->tuichu, &QAction::triggered, this, &QWidget::close);

    auto *startButton = new mybtn(":/res/MenuSceneStartButton.png", "");
    startButton->setParent(this);
    startButton->move(width() / 2 - startButton->width() / 2,
                      static_cast<int>(height() * startButtonHeightRatio));

    auto *startSound = new QSound(":/res/TapButtonSound.wav", this);

    connect(startButton, &QPushButton::clicked, this, [this, startButton, startSound] {
        startButton->bounceDown();
        startButton->bounceUp();
        QTimer::singleShot(handOverDelayMs, Qt::PreciseTimer, this, [this, startSound] {
            // A level chosen after an earlier hand-over of the same burst wins:
            // showing the level select now would put it over the play window.
            if (levelSelect->playWindow)
                return;
            startSound->play();
            handOver(this, levelSelect);
        });
    });

    // Direct: the menu is back on screen within the same emission that hid the level select.
    connect(levelSelect, &xuanguan::fanhui, levelSelect, [this] { handOver(levelSelect, this); });

    startButton->setAccessibleName(tr("开始"));
    addFocusRing(nullptr);
    new keyboardGrid(this, 1, {startButton}, nullptr);
}

Zhujiemian::~Zhujiemian()
{
    delete ui;
}
