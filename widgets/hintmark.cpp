// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "hintmark.h"

#include <QAccessible>
#include <QPainter>
#include <QPen>

namespace {

// Outside the focus ring's 4 pixels, so the two never cover each other.
constexpr int ringGapPx = 5;
constexpr int ringWidthPx = 3;
constexpr int rimWidthPx = 5;
constexpr int reachPx = ringGapPx + rimWidthPx;
const QColor goldBody(0xF2, 0xB8, 0x26);
const QColor goldRim(0xB7, 0x79, 0x1F);

}

hintMark::hintMark(QWidget *scene)
    : QWidget(scene)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void hintMark::mark(QWidget *target, const QString &announcement)
{
    coin = target;
    setGeometry(target->geometry().adjusted(-reachPx, -reachPx, reachPx, reachPx));
    raise();
    show();
    update();
    setAccessibleName(announcement);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void hintMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    const qreal radius = qMin(width(), height()) / 2.0 - rimWidthPx / 2.0;
    const QPointF centre = QRectF(rect()).center();
    // The same dashes twice: a dark rim under a gold body, so it reads on gold and silver coins.
    for (const auto &stroke : {qMakePair(goldRim, rimWidthPx), qMakePair(goldBody, ringWidthPx)}) {
        QPen pen(stroke.first, stroke.second);
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({7.0 / stroke.second, 4.0 / stroke.second});
        painter.setPen(pen);
        painter.drawEllipse(centre, radius, radius);
    }
}
