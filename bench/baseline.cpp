// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QMainWindow>
#include <QSound>

// What every scene of the game costs at the least: a fixed-size main window and one sound.
int main(int argc, char *argv[])
{
    constexpr int windowWidth = 320;
    constexpr int windowHeight = 588;
    QApplication app(argc, argv);
    QMainWindow window;
    window.setFixedSize(windowWidth, windowHeight);
    new QSound(":/bench/silence.wav", &window);
    window.show();
    return app.exec();
}
