// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef MYBTN_H
#define MYBTN_H

#include <QPoint>
#include <QPushButton>
#include <QString>

class QPropertyAnimation;

// A borderless push button drawn as a picture, with an optional pressed picture and a bounce.
class mybtn : public QPushButton
{
    Q_OBJECT
public:
    mybtn(QString normalPath, QString pressedPath);
    ~mybtn() override;

    void bounceDown();
    void bounceUp();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void applyPicture(const QString &path);
    void startBounce(int fromOffset, int toOffset);

    QString normalPicture;
    QString pressedPicture;
    // Where the owner placed the button; a bounce always returns here, however quickly they follow.
    QPoint restingPlace;
    QPropertyAnimation *bounce = nullptr;
};

#endif
