// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SOLVEDMARK_H
#define SOLVEDMARK_H

#include <QPixmap>
#include <QWidget>

// The small gold badge on a solved level's button, drawn from its rendering for the screen's
// scale; it takes no clicks.
class solvedMark : public QWidget
{
    Q_OBJECT
public:
    explicit solvedMark(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QPixmap picture;
};

#endif
