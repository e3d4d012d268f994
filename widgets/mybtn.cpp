// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "mybtn.h"

#include <QDebug>
#include <QEasingCurve>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QRect>
#include <QStyleOptionButton>

#include "widgets/picturepainting.h"

namespace {

constexpr int bounceDurationMs = 200;
constexpr int bounceDepthPx = 10;

}

mybtn::mybtn(QString normalPath, QString pressedPath)
    : QPushButton(nullptr)
    , normalPicture(std::move(normalPath))
    , pressedPicture(std::move(pressedPath))
{
    applyPicture(normalPicture);
}

mybtn::~mybtn() = default;

void mybtn::applyPicture(const QString &path)
{
    const QPixmap picture = picturePainting::load(path);
    if (picture.isNull())
        qDebug() << path << "加载图片失败";
    picturePainting::dress(this, picture);
}

void mybtn::bounceDown()
{
    startBounce(0, bounceDepthPx);
}

void mybtn::bounceUp()
{
    startBounce(bounceDepthPx, 0);
}

void mybtn::startBounce(int fromOffset, int toOffset)
{
    // Only a button at rest tells where it rests; mid-bounce it is displaced.
    if (!bounce)
        restingPlace = pos();
    // Qt stops the running bounce when the new one starts; it then deletes itself.
    auto *animation = new QPropertyAnimation(this, "geometry");
    animation->setDuration(bounceDurationMs);
    const QRect rest(restingPlace, size());
    animation->setStartValue(rest.translated(0, fromOffset));
    animation->setEndValue(rest.translated(0, toOffset));
    animation->setEasingCurve(QEasingCurve::OutBounce);
    bounce = animation;
    connect(animation, &QObject::destroyed, this, [this, animation] {
        if (bounce == animation)
            bounce = nullptr;
    });
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void mybtn::mousePressEvent(QMouseEvent *e)
{
    if (pressedPicture != QString())
        applyPicture(pressedPicture);
    QPushButton::mousePressEvent(e);
}

void mybtn::mouseReleaseEvent(QMouseEvent *e)
{
    if (pressedPicture != QString())
        applyPicture(normalPicture);
    QPushButton::mouseReleaseEvent(e);
}

void mybtn::paintEvent(QPaintEvent *)
{
    QStyleOptionButton option;
    initStyleOption(&option);
    picturePainting::paint(this, option);
}
