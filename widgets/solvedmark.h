// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SOLVEDMARK_H
#define SOLVEDMARK_H

#include <QPixmap>
#include <QWidget>

// The small gold badge on a solved level's button. Drawn from its 1x or 2x picture, whichever
// suits the screen's scale, resampled smoothly in between; it takes no clicks.
class solvedMark : public QWidget
{
    Q_OBJECT
public:
    explicit solvedMark(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QPixmap plain;
    QPixmap doubled;
};

#endif
