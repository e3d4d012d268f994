// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef ZHUJIEMIAN_H
#define ZHUJIEMIAN_H

#include "scenes/scenewindow.h"

class xuanguan;

namespace Ui {
class Zhujiemian;
}

// The main menu: one start button that hands over to the level select.
class Zhujiemian : public sceneWindow
{
    Q_OBJECT
public:
    explicit Zhujiemian(QWidget *parent = nullptr);
    ~Zhujiemian() override;

    // Lives for the whole run and is never deleted: the menu hides and shows it.
    xuanguan *levelSelect = nullptr;

private:
    Ui::Zhujiemian *ui;
};

#endif
