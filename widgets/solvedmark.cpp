// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "solvedmark.h"

#include <QPainter>

namespace {

constexpr int markSizePx = 24;
const char *const plainPicture = ":/res/SolvedMark.png";
const char *const doubledPicture = ":/res/SolvedMark@2x.png";

}

solvedMark::solvedMark(QWidget *parent)
    : QWidget(parent)
    , plain(plainPicture)   // through the pixmap cache: twenty marks, one decode
    , doubled(doubledPicture)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(markSizePx, markSizePx);
}

void solvedMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const qreal scale = devicePixelRatioF();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale != 1 && scale != 2);
    painter.drawPixmap(rect(), scale > 1 ? doubled : plain);
}
