// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SCENEWINDOW_H
#define SCENEWINDOW_H

#include <QMainWindow>
#include <QString>

// What the three scenes share: a fixed-size window with the game's icon, a background picture
// stretched over it, and the hand-over that shows one scene where another one was.
class sceneWindow : public QMainWindow
{
    Q_OBJECT
public:
    sceneWindow(const QString &title, const QString &backgroundPath, QWidget *parent = nullptr);

    // Puts `next` exactly where `left` is on screen, hides `left` and shows `next`.
    static void handOver(QWidget *left, QWidget *next);

protected:
    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QString backgroundPath;
};

#endif
