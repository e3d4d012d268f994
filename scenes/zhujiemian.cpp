// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "zhujiemian.h"
#include "ui_zhujiemian.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSound>
#include <QTimer>
#include <QWindow>

#include "scenes/keyboardgrid.h"
#include "scenes/xuanguan.h"
#include "widgets/focusring.h"
#include "widgets/mybtn.h"

namespace {

constexpr int windowWidth = 320;
constexpr int windowHeight = 588;
constexpr double startButtonHeightRatio = 0.6;
constexpr int handOverDelayMs = 300;

}

Zhujiemian::Zhujiemian(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::Zhujiemian)
{
    ui->setupUi(this);
    setFixedSize(windowWidth, windowHeight);
    setWindowIcon(QIcon(QPixmap(":/logo.ico")));
    setWindowTitle("TavroQuenvary");

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
            levelSelect->setGeometry(geometry());
            hide();
            levelSelect->show();
        });
    });

    // Direct: the menu is back on screen within the same emission that hid the level select.
    connect(levelSelect, &xuanguan::fanhui, levelSelect, [this] {
        setGeometry(levelSelect->geometry());
        // An unchanged geometry reaches neither the native window nor X, and a window whose
        // place the program never set is mapped without a position hint, so the window
        // manager would place it: set it on the native window too.
        if (QWindow *window = windowHandle())
            window->setGeometry(geometry());
        show();
    });

    startButton->setAccessibleName("开始");
    new focusRing(this);
    new keyboardGrid(this, 1, {startButton}, nullptr);
}

Zhujiemian::~Zhujiemian()
{
    delete ui;
}

void Zhujiemian::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QPixmap background;
    background.load(":/res/MenuSceneBg.png");
    painter.drawPixmap(QRectF(0, 0, width(), height()), background, QRectF());
}
