// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef SCENEWINDOW_H
#define SCENEWINDOW_H

#include <QKeySequence>
#include <QList>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class focusRing;
class mybtn;

// What the three scenes share: a fixed-size window with the game's icon, a background picture
// stretched over it, and the hand-over that shows one scene where another one was.
class sceneWindow : public QMainWindow
{
    Q_OBJECT
public:
    sceneWindow(const QString &title, const QString &backgroundPath, QWidget *parent = nullptr);

    // Puts `next` exactly where `left` is on screen, hides `left` and shows `next`.
    static void handOver(QWidget *left, QWidget *next);

    // What the player can do in this scene, in the order its menu lists them; Quit comes last.
    QList<QAction *> sceneActions() const { return actionsOfScene; }
    // The scene's menu with its actions and their keys, as right click, the Menu key and
    // Shift+F10 open it.
    void showSceneMenu(const QPoint &globalPos, bool byKeyboard = false);
    // The menu at the focused button, its first entry chosen.
    void showMenuAtKeyboard();

protected:
    // The back button in the bottom right corner: it plays its sound and, 300 ms later,
    // `afterDelay` runs, unless the window is gone by then.
    mybtn *addBackButton(std::function<void()> afterDelay);
    // The scene's focus ring, with the back button's corners when it has one.
    focusRing *addFocusRing(mybtn *backButton);
    // An action of this scene: its keys work while the window is active, its menu lists it and
    // a screen reader can press it by name.
    QAction *addSceneAction(const QString &text, const QList<QKeySequence> &keys,
                            std::function<void()> whenTriggered);

    void showEvent(QShowEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    QString backgroundPath;
    QList<QAction *> actionsOfScene;
    QAction *quitAction = nullptr;
    QPointer<QMenu> sceneMenu;
    QPointer<QWidget> focusBeforeMenu;
};

#endif
