// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picturepainting.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QPixmapCache>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QtMath>

namespace {

const char *const borderlessStyle = "QPushButton{border:0px;}";

}

QPixmap picturePainting::load(const QString &path)
{
    const qreal scale = qApp->devicePixelRatio();
    qreal renderedFor = 1;
    // Qt's own choice, as for icons: the @Nx file for the scale rounded up, else the next below.
    const QString file = qt_findAtNxFile(path, scale, &renderedFor);
    if (renderedFor == scale || scale < 1)
        return QPixmap(file);
    // Between scales (150 %) the larger rendering is made smaller once, smoothly, and kept, so
    // no painter resamples it again on every frame.
    const QString key = file + QLatin1Char('@') + QString::number(scale);
    QPixmap fitted;
    if (QPixmapCache::find(key, &fitted))
        return fitted;
    const QPixmap picture(file);
    if (picture.isNull())
        return picture;
    const QSize design = designSize(picture);
    fitted = picture.scaled(qRound(design.width() * scale), qRound(design.height() * scale),
                            Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fitted.setDevicePixelRatio(scale);
    QPixmapCache::insert(key, fitted);
    return fitted;
}

QSize picturePainting::designSize(const QPixmap &picture)
{
    const qreal scale = picture.devicePixelRatio();
    return QSize(qRound(picture.width() / scale), qRound(picture.height() / scale));
}

void picturePainting::dress(QPushButton *button, const QPixmap &picture)
{
    button->setFixedSize(designSize(picture));
    button->setStyleSheet(borderlessStyle);
    show(button, picture);
}

void picturePainting::show(QPushButton *button, const QPixmap &picture)
{
    button->setIcon(QIcon(picture));
    button->setIconSize(designSize(picture));
}

void picturePainting::paint(QPushButton *button, QStyleOptionButton option)
{
    QStylePainter painter(button);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, button->devicePixelRatioF() != 1);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawControl(QStyle::CE_PushButton, option);
}
