// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef HINTMARK_H
#define HINTMARK_H

#include <QPointer>
#include <QWidget>

// A dashed gold ring around the coin to press next. It lies just outside where the focus ring
// is drawn, so both can show at once, and its dashes tell it apart even without colour.
class hintMark : public QWidget
{
    Q_OBJECT
public:
    explicit hintMark(QWidget *scene);

    // Rings `coin` and tells a screen reader `announcement`.
    void mark(QWidget *coin, const QString &announcement);
    QWidget *markedCoin() const { return coin; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QPointer<QWidget> coin;
};

#endif
