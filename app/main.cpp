// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>

#include "scenes/zhujiemian.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Zhujiemian menu;
    menu.show();
    return app.exec();
}
