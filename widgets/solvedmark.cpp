// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "solvedmark.h"

#include <QPainter>

#include "widgets/picturepainting.h"

namespace {

constexpr int markSizePx = 24;
const char *const markPicture = ":/res/SolvedMark.png";

}

solvedMark::solvedMark(QWidget *parent)
    : QWidget(parent)
    , picture(picturePainting::load(markPicture))   // through the pixmap cache: twenty marks, one decode
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(markSizePx, markSizePx);
}

void solvedMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // On a screen of another scale than the one the picture was made for (a second monitor).
    painter.setRenderHint(QPainter::SmoothPixmapTransform, devicePixelRatioF() != picture.devicePixelRatio());
    painter.drawPixmap(rect(), picture);
}
