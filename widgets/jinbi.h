// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef JINBI_H
#define JINBI_H

#include <QPushButton>
#include <QString>

class QTimer;

// One coin of the board: knows its cell and face, plays its turn, refuses presses when busy.
class jinbi : public QPushButton
{
    Q_OBJECT
public:
    explicit jinbi(const QString &picturePath);

    // Starts the turn away from the current face, mid-turn from the frame on show; the face flag
    // changes at once.
    void turnOver();

    int boardColumn = 0;
    int boardRow = 0;
    bool goldUp = false;
    QTimer *toSilverTimer;
    QTimer *toGoldTimer;
    int toSilverFrame = 1;
    int toGoldFrame = 8;
    bool isTurning = false;
    bool isLocked = false;

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void keyReleaseEvent(QKeyEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    bool refusesPresses() const { return isTurning || isLocked; }
    void stepToSilver();
    void stepToGold();
    void showFrame(int frame);
    void announceFace();
};

#endif
