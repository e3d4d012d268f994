// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "scenes/youxi.h"
#include "widgets/jinbi.h"

// What the scenes pay for fetching their pictures from the bundle on every paint and frame,
// next to holding them once; and how many background paints one winning move causes.

namespace {

constexpr int windowWidth = 320;
constexpr int windowHeight = 588;
constexpr int repeats = 400;
const QRect coinRect(162, 298, 46, 44);
const char *const playBackground = ":/res/PlayLevelSceneBg.png";
const char *const menuBackground = ":/res/MenuSceneBg.png";
const char *const coinFrame = ":/res/Coin0004.png";

template <typename F>
double medianMicros(F step)
{
    std::vector<double> samples;
    samples.reserve(repeats);
    QElapsedTimer timer;
    for (int i = 0; i < repeats; ++i) {
        timer.start();
        step();
        samples.push_back(timer.nsecsElapsed() / 1000.0);
    }
    std::nth_element(samples.begin(), samples.begin() + repeats / 2, samples.end());
    return samples[repeats / 2];
}

void drawBackground(QImage &target, const QPixmap &background, const QRect &clip)
{
    QPainter painter(&target);
    painter.setClipRect(clip);
    painter.drawPixmap(QRectF(0, 0, windowWidth, windowHeight), background, QRectF());
}

void reportBackground(const char *name, const char *path)
{
    QImage target(windowWidth, windowHeight, QImage::Format_ARGB32_Premultiplied);
    const QRect whole(0, 0, windowWidth, windowHeight);
    QPixmap held(path);
    const double loadHit = medianMicros([&] { QPixmap p; p.load(path); });
    const double decode = medianMicros([&] { QPixmapCache::clear(); QPixmap p; p.load(path); });
    const double drawWhole = medianMicros([&] { drawBackground(target, held, whole); });
    const double drawCoin = medianMicros([&] { drawBackground(target, held, coinRect); });
    std::printf("%s size=%dx%d load_cached_us=%.1f load_decode_us=%.1f "
                "draw_window_us=%.1f draw_coin_clip_us=%.1f\n",
                name, held.width(), held.height(), loadHit, decode, drawWhole, drawCoin);
}

void reportCoinFrame()
{
    QIcon held{QPixmap(coinFrame)};
    const double fromBundle = medianMicros([&] { QPixmap p(coinFrame); QIcon icon(p); });
    const double decode = medianMicros([&] { QPixmapCache::clear(); QPixmap p(coinFrame); QIcon icon(p); });
    const double heldIcon = medianMicros([&] { QIcon icon(held); });
    std::printf("coin_frame load_cached_us=%.1f load_decode_us=%.1f held_icon_us=%.1f\n",
                fromBundle, decode, heldIcon);
}

// Counts the play window's own paints while level 1 is won with its one move.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    qint64 pixels = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            ++paints;
            for (const QRect &r : static_cast<QPaintEvent *>(e)->region())
                pixels += qint64(r.width()) * r.height();
        }
        return QObject::eventFilter(watched, e);
    }
};

// Loads every picture once in the order a first play-through meets them, then times the menu
// background again: all pictures together outgrow the default QPixmapCache, and the oldest goes.
void reportAfterPlayThrough()
{
    const char *const firstUse[] = {
        menuBackground, ":/res/MenuSceneStartButton.png", ":/res/OtherSceneBg.png",
        ":/res/LevelIcon.png", ":/res/BackButton.png", ":/res/BackButtonSelected.png",
        playBackground, ":/res/BoardNode.png", ":/res/Coin0001.png", ":/res/Coin0002.png",
        ":/res/Coin0003.png", ":/res/Coin0004.png", ":/res/Coin0005.png", ":/res/Coin0006.png",
        ":/res/Coin0007.png", ":/res/Coin0008.png", ":/res/LevelCompletedDialogBg.png",
        ":/res/shibai.png"};
    QPixmapCache::clear();
    for (const char *path : firstUse)
        QPixmap{QString(path)};
    QElapsedTimer timer;
    timer.start();
    QPixmap again(menuBackground);
    std::printf("after_play_through cache_limit_kb=%d menu_background_reload_us=%.1f\n",
                QPixmapCache::cacheLimit(), timer.nsecsElapsed() / 1000.0);
}

}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    reportAfterPlayThrough();
    reportBackground("menu_background", menuBackground);
    reportBackground("play_background", playBackground);
    reportCoinFrame();

    constexpr int moveAndVictoryMs = 300 + 8 * 30 + 1500 + 500;
    youxi play(1);
    play.show();
    PaintCounter counter;
    QTimer::singleShot(500, &play, [&] {
        play.installEventFilter(&counter);
        play.coinGrid[2][2]->click();
    });
    QTimer::singleShot(500 + moveAndVictoryMs, &app, &QApplication::quit);
    app.exec();
    std::printf("winning_move play_window_paints=%d painted_pixels=%lld solved=%d\n",
                counter.paints, counter.pixels, play.solved ? 1 : 0);
    return 0;
}
