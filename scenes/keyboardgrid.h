// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef KEYBOARDGRID_H
#define KEYBOARDGRID_H

#include <QObject>
#include <QVector>

class QAbstractButton;
class QKeyEvent;
class QWidget;

// Steers a scene's buttons by keys: arrows over a grid in screen directions, Tab in reading
// order and then the back button, Return and Enter like Space, Escape as the back button.
// The first cell (or the one set as such) takes the focus each time the scene shows.
class keyboardGrid : public QObject
{
    Q_OBJECT
public:
    // Cells in reading order, `columns` to a row; `back` may be null where there is no way back.
    keyboardGrid(QWidget *scene, int columns, const QVector<QAbstractButton *> &cells,
                 QAbstractButton *back);

    void setFirstCell(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    bool handleKey(QAbstractButton *button, QKeyEvent *e);
    void moveFocus(QAbstractButton *from, int key);

    QWidget *scene;
    int columns;
    QVector<QAbstractButton *> cells;
    QAbstractButton *back;
    int firstCell = 0;
};

#endif
