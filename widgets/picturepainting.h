// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PICTUREPAINTING_H
#define PICTUREPAINTING_H

class QPixmap;
class QPushButton;
class QStyleOptionButton;

// What the picture button and the coin share: a borderless push button that shows a picture.
namespace picturePainting {

// Sizes the button to the picture and shows it, without a border.
void dress(QPushButton *button, const QPixmap &picture);

// Shows another picture at its own size; the button keeps its size.
void show(QPushButton *button, const QPixmap &picture);

// Paints as the push button does, but without the style's focus frame over the picture (the
// scene draws its own ring) and, scaled, resampling the picture smoothly.
void paint(QPushButton *button, QStyleOptionButton option);

}

#endif
