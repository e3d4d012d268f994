// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef FOCUSRING_H
#define FOCUSRING_H

#include <QHash>
#include <QPointer>
#include <QWidget>

// A ring drawn around the focused button of one scene, only while the player steers by keys.
// It lies outside the button, so it never covers a picture; a mouse press hides it at once.
class focusRing : public QWidget
{
    Q_OBJECT
public:
    explicit focusRing(QWidget *scene);

    // The ring is round unless a target is given its own corner radius.
    void setCornerRadius(const QWidget *target, int radiusPx);

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    void follow();

    QPointer<QWidget> target;
    QHash<const QWidget *, int> cornerRadii;
};

#endif
