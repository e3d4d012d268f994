// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "keyboardgrid.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

keyboardGrid::keyboardGrid(QWidget *scene, int columns, const QVector<QAbstractButton *> &cells,
                           QAbstractButton *back)
    : QObject(scene)
    , scene(scene)
    , columns(columns)
    , cells(cells)
    , back(back)
{
    QVector<QAbstractButton *> order = cells;
    if (back)
        order.append(back);
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    for (QAbstractButton *button : order)
        button->installEventFilter(this);
    scene->installEventFilter(this);
}

void keyboardGrid::setFirstCell(int index)
{
    firstCell = qBound(0, index, cells.size() - 1);
}

bool keyboardGrid::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == scene) {
        // Shown anew, a scene starts at its first cell; restored by the desktop, it stays put.
        if (e->type() == QEvent::Show && !e->spontaneous() && !cells.isEmpty()) {
            cells[firstCell]->setFocus(Qt::OtherFocusReason);
            // The scene that was left had the keyboard; a bare X server would give it to nobody.
            // Wayland refuses a client's own activation (and Qt warns); its compositor decides.
            if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
                scene->activateWindow();
        }
        return false;
    }
    if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
        return false;
    return handleKey(static_cast<QAbstractButton *>(watched), static_cast<QKeyEvent *>(e));
}

bool keyboardGrid::handleKey(QAbstractButton *button, QKeyEvent *e)
{
    const bool press = e->type() == QEvent::KeyPress;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Pressed like Space: down on the press, a click on the release, nothing on auto-repeat,
        // and a busy coin refuses it the same way.
        QKeyEvent space(e->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                        e->isAutoRepeat());
        QCoreApplication::sendEvent(button, &space);
        return true;
    }
    case Qt::Key_Escape:
        if (press && !e->isAutoRepeat() && back)
            back->click();
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (press)
            moveFocus(button, e->key());
        return true;
    default:
        return false;
    }
}

void keyboardGrid::moveFocus(QAbstractButton *from, int key)
{
    const int index = cells.indexOf(from);
    if (index < 0)
        return;
    const int column = index % columns;
    int next = -1;
    if (key == Qt::Key_Left && column > 0)
        next = index - 1;
    else if (key == Qt::Key_Right && column < columns - 1)
        next = index + 1;
    else if (key == Qt::Key_Up)
        next = index - columns;
    else if (key == Qt::Key_Down)
        next = index + columns;
    if (next >= 0 && next < cells.size())
        cells[next]->setFocus(Qt::TabFocusReason);
}
