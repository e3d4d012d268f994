// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef XUANGUAN_H
#define XUANGUAN_H

#include <QVector>

#include "scenes/scenewindow.h"

class QAbstractButton;
class QSound;
class keyboardGrid;
class youxi;

// The level select: twenty numbered level buttons and a back button.
class xuanguan : public sceneWindow
{
    Q_OBJECT
public:
    explicit xuanguan(QWidget *parent = nullptr);

    // The open play window, owned here; null when none is open.
    youxi *playWindow = nullptr;

signals:
    void fanhui();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void openLevel(int levelNumber);
    void replacePlayWindow(int levelNumber);
    void watchPlayWindow();
    void holdPlaySounds();
    void returnFromPlay();
    void showProgress();

    QVector<QAbstractButton *> levelButtons;
    QVector<QWidget *> solvedMarks;
    keyboardGrid *keys = nullptr;
    QSound *tapSound = nullptr;
    bool playSoundsHeld = false;
};

#endif
