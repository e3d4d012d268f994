// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PICTUREPAINTING_H
#define PICTUREPAINTING_H

#include <QSize>

class QPixmap;
class QPushButton;
class QString;
class QStyleOptionButton;

// What the picture button and the coin share: a borderless push button that shows a picture.
namespace picturePainting {

// The picture at a resource path, rendered for the screen's scale: the path's @2x or @3x file
// where the bundle has one (the next larger one between scales, made smaller smoothly), so it
// is drawn pixel for pixel. Null when the path does not load.
QPixmap load(const QString &path);

// The picture's size in the design's pixels, whatever scale it was rendered for.
QSize designSize(const QPixmap &picture);

// Sizes the button to the picture and shows it, without a border.
void dress(QPushButton *button, const QPixmap &picture);

// Shows another picture at its own size; the button keeps its size.
void show(QPushButton *button, const QPixmap &picture);

// Paints as the push button does, but without the style's focus frame over the picture (the
// scene draws its own ring) and, scaled, resampling the picture smoothly.
void paint(QPushButton *button, QStyleOptionButton option);

}

#endif
