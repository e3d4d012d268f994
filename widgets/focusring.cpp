// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "focusring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>

namespace {

constexpr int ringWidthPx = 3;
// The ring starts one pixel outside the button: a coin's face reaches the edge of its widget.
constexpr int ringGapPx = 1;
constexpr int ringReachPx = ringGapPx + ringWidthPx;
const QColor ringColour(0xFF, 0xF8, 0xEC);

// From a navigation key until the next mouse press, in every scene alike.
bool keyboardMode = false;

bool isNavigationKey(int key)
{
    switch (key) {
    case Qt::Key_Tab: case Qt::Key_Backtab:
    case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Space: case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

}

focusRing::focusRing(QWidget *scene)
    : QWidget(scene)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Every ring hears every key and press, so all scenes agree on how the player steers.
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this] { follow(); });
}

void focusRing::setCornerRadius(const QWidget *target, int radiusPx)
{
    cornerRadii.insert(target, radiusPx);
}

bool focusRing::eventFilter(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        if (isNavigationKey(static_cast<QKeyEvent *>(e)->key())) {
            keyboardMode = true;
            follow();
        }
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
        keyboardMode = false;
        follow();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ZOrderChange:
        if (watched == target)
            follow();
        break;
    default:
        break;
    }
    return false;
}

void focusRing::follow()
{
    QWidget *focused = parentWidget()->focusWidget();
    if (focused != target) {
        target = focused;
        update();
    }
    const bool shown = keyboardMode && target && target->parentWidget() == parentWidget()
            && qobject_cast<QAbstractButton *>(target) && target->isVisible();
    if (!shown) {
        hide();
        return;
    }
    // At the scene's edge the ring comes inside the button rather than off the window.
    setGeometry(target->geometry().adjusted(-ringReachPx, -ringReachPx, ringReachPx, ringReachPx)
                & parentWidget()->rect());
    raise();
    show();
}

void focusRing::paintEvent(QPaintEvent *)
{
    if (!target)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ringColour, ringWidthPx));
    painter.setBrush(Qt::NoBrush);
    const qreal half = ringWidthPx / 2.0;
    const QRectF ring = QRectF(rect()).adjusted(half, half, -half, -half);
    // Round buttons get a round ring; a rounded square keeps its corners, widened by the reach.
    const qreal radius = cornerRadii.contains(target)
            ? cornerRadii.value(target) + ringReachPx - half
            : qMin(ring.width(), ring.height()) / 2;
    painter.drawRoundedRect(ring, radius, radius);
}
