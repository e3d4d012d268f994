// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picturepainting.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

const char *const borderlessStyle = "QPushButton{border:0px;}";

}

void picturePainting::dress(QPushButton *button, const QPixmap &picture)
{
    button->setFixedSize(picture.width(), picture.height());
    button->setStyleSheet(borderlessStyle);
    show(button, picture);
}

void picturePainting::show(QPushButton *button, const QPixmap &picture)
{
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(picture.width(), picture.height()));
}

void picturePainting::paint(QPushButton *button, QStyleOptionButton option)
{
    QStylePainter painter(button);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, button->devicePixelRatioF() != 1);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_PushButton, option);
}
