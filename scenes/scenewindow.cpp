// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scenewindow.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFont>
#include <QIcon>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QSound>
#include <QTimer>
#include <QWindow>
#include <qpa/qplatformwindow.h>

#include "widgets/focusring.h"
#include "widgets/mybtn.h"

namespace {

constexpr int windowWidth = 320;
constexpr int windowHeight = 588;
const char *const iconPath = ":/logo.ico";
constexpr int backDelayMs = 300;
constexpr int backCornerRadiusPx = 11;
constexpr int menuPointSize = 14;

// The background through the pixmap cache, as QPixmap::load gives it, but converted for the screen
// in place: load converts a copy, and on the menu's first paint that second 3 MB of the
// 640 x 1176 picture made the game's peak of memory.
QPixmap backgroundPicture(const QString &path)
{
    const QString key = QLatin1String("quenvary-background:") + path;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    QImage decoded = QImageReader(path).read();
    picture = QPixmap::fromImage(std::move(decoded));
    if (!picture.isNull())
        QPixmapCache::insert(key, picture);
    return picture;
}

QPlatformWindow *nativeWindow(QWidget *widget)
{
    QWindow *window = widget->windowHandle();
    return window ? window->handle() : nullptr;
}

// A screen reader finds the scene's actions on its window and presses them by name.
class sceneAccessible : public QAccessibleWidget
{
public:
    explicit sceneAccessible(sceneWindow *scene)
        : QAccessibleWidget(scene, QAccessible::Window)
    {
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        for (QAction *action : scene()->sceneActions())
            if (action->isEnabled() && action->isVisible())
                names << nameOf(action);
        return names;
    }

    void doAction(const QString &name) override
    {
        for (QAction *action : scene()->sceneActions()) {
            if (nameOf(action) == name) {
                if (action->isEnabled())
                    action->trigger();
                return;
            }
        }
        QAccessibleWidget::doAction(name);
    }

    QStringList keyBindingsForAction(const QString &name) const override
    {
        for (QAction *action : scene()->sceneActions())
            if (nameOf(action) == name)
                return {action->shortcut().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    static QString nameOf(const QAction *action) { return action->text().remove('&'); }
    sceneWindow *scene() const { return static_cast<sceneWindow *>(widget()); }
};

// A press anywhere but on the open menu closes it, and goes on to what it pressed.
class pressOutside : public QObject
{
public:
    explicit pressOutside(QMenu *menu)
        : QObject(menu)
        , menu(menu)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonDblClick)
            return false;
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !menu->isVisible() || widget == menu || menu->isAncestorOf(widget)
                || widget->window() != menu->window())
            return false;
        menu->hide();
        return false;
    }

private:
    QMenu *menu;
};

QAccessibleInterface *sceneInterface(const QString &className, QObject *object)
{
    if (className == QLatin1String("sceneWindow") && object && object->isWidgetType())
        return new sceneAccessible(static_cast<sceneWindow *>(object));
    return nullptr;
}

}

sceneWindow::sceneWindow(const QString &title, const QString &backgroundPath, QWidget *parent)
    : QMainWindow(parent)
    , backgroundPath(backgroundPath)
{
    // The labels ask for 等线, whose Latin letters are narrow; where it is missing, the CJK face the
    // game depends on keeps "倒计时: 1:19" inside its 120-pixel box, unlike the default fallback.
    static const bool substituted = (QFont::insertSubstitution("等线", "Noto Sans CJK SC"), true);
    Q_UNUSED(substituted);
    setFixedSize(windowWidth, windowHeight);
    setWindowTitle(title);
    setWindowIcon(QIcon(QPixmap(iconPath)));

    static const bool readable = (QAccessible::installFactory(sceneInterface), true);
    Q_UNUSED(readable);
    // Shift+F10 opens the menu as the Menu key does (the platform turns that one into a
    // context menu event of its own).
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    connect(menuKey, &QAction::triggered, this, [this] { showMenuAtKeyboard(); });
    addAction(menuKey);
    quitAction = addSceneAction(tr("退出"), {QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
                                [] { QCoreApplication::quit(); });
}

QAction *sceneWindow::addSceneAction(const QString &text, const QList<QKeySequence> &keys,
                                     std::function<void()> whenTriggered)
{
    auto *action = new QAction(text, this);
    QList<QKeySequence> unique;
    for (const QKeySequence &key : keys)
        if (!key.isEmpty() && !unique.contains(key))
            unique << key;
    action->setShortcuts(unique);
    connect(action, &QAction::triggered, this, [whenTriggered] { whenTriggered(); });
    addAction(action);
    // Quit stays last, whatever the scene adds after the base has made it.
    const int at = quitAction ? actionsOfScene.indexOf(quitAction) : actionsOfScene.size();
    actionsOfScene.insert(at, action);
    return action;
}

// The menu lies inside the scene rather than in a window of its own, so the scene stays the one
// window of the game on screen, and nothing waits in a loop of the menu's while it is open.
void sceneWindow::showSceneMenu(const QPoint &globalPos, bool byKeyboard)
{
    // Made for each opening and gone once closed: a scene keeps nothing of it.
    if (!sceneMenu) {
        QMenu *menu = new QMenu(this);
        sceneMenu = menu;
        menu->setObjectName("sceneMenu");
        menu->setWindowFlags(Qt::Widget);
        // In the face and size of the level numbers, whose glyphs the game has made already.
        menu->setFont(QFont("等线", menuPointSize));
        auto *closer = new pressOutside(menu);
        connect(menu, &QMenu::triggered, menu, &QWidget::hide);
        connect(menu, &QMenu::aboutToHide, this, [this, menu, closer] {
            qApp->removeEventFilter(closer);
            if (focusBeforeMenu)
                focusBeforeMenu->setFocus(Qt::PopupFocusReason);
            if (sceneMenu == menu)
                sceneMenu = nullptr;
            menu->deleteLater();
        });
        qApp->installEventFilter(closer);
    }
    sceneMenu->clear();
    QAction *first = nullptr;
    for (QAction *action : actionsOfScene) {
        if (!action->isVisible())
            continue;
        sceneMenu->addAction(action);
        if (!first && action->isEnabled())
            first = action;
    }
    sceneMenu->adjustSize();
    // Where it was asked for, moved inside the scene where it would reach beyond its edge.
    const QPoint at = mapFromGlobal(globalPos);
    sceneMenu->move(qBound(0, at.x(), width() - sceneMenu->width()),
                    qBound(0, at.y(), height() - sceneMenu->height()));
    if (!sceneMenu->isVisible())
        focusBeforeMenu = focusWidget();
    sceneMenu->raise();
    sceneMenu->show();
    sceneMenu->setFocus(Qt::PopupFocusReason);
    // Opened from the keyboard, the first entry is chosen at once, so Return takes it.
    sceneMenu->setActiveAction(byKeyboard ? first : nullptr);
}

void sceneWindow::showMenuAtKeyboard()
{
    QWidget *at = focusWidget() ? focusWidget() : this;
    showSceneMenu(at->mapToGlobal(at->rect().center()), true);
}

void sceneWindow::contextMenuEvent(QContextMenuEvent *e)
{
    if (e->reason() == QContextMenuEvent::Keyboard)
        showMenuAtKeyboard();
    else
        showSceneMenu(e->globalPos());
    e->accept();
}

void sceneWindow::handOver(QWidget *left, QWidget *next)
{
    next->setGeometry(left->geometry());
    // Scaled by a fraction, a logical position names no device pixel exactly (571 px at 150 %
    // is 380.67), so the place itself goes over in device pixels, to the native window. The
    // widget then takes the logical geometry Qt derives from it, so showing it changes nothing.
    if (QPlatformWindow *from = nativeWindow(left)) {
        next->winId();   // its native window, made now if it has none yet
        if (QPlatformWindow *to = nativeWindow(next)) {
            // Through QWindow first: a window whose place the program never set is mapped
            // without a position, and the window manager would choose one.
            next->windowHandle()->setGeometry(next->geometry());
            to->setGeometry(from->geometry());
            next->setGeometry(next->windowHandle()->geometry());
        }
    }
    left->hide();
    next->show();
}

mybtn *sceneWindow::addBackButton(std::function<void()> afterDelay)
{
    auto *backSound = new QSound(":/res/BackButtonSound.wav", this);
    auto *backButton = new mybtn(":/res/BackButton.png", ":/res/BackButtonSelected.png");
    backButton->setParent(this);
    backButton->move(width() - backButton->width(), height() - backButton->height());
    connect(backButton, &QPushButton::clicked, backButton, [this, backSound, afterDelay] {
        backSound->play();
        QTimer::singleShot(backDelayMs, Qt::PreciseTimer, this, afterDelay);
    }, Qt::DirectConnection);
    backButton->setAccessibleName(tr("返回"));
    return backButton;
}

focusRing *sceneWindow::addFocusRing(mybtn *backButton)
{
    auto *ring = new focusRing(this);
    if (backButton)
        ring->setCornerRadius(backButton, backCornerRadiusPx);
    return ring;
}

// Before the window is mapped. Scaled, Qt asks the window manager to resize in steps (2 device
// pixels at 150 %) counted from a base of -1, and one that keeps to the steps (icewm) cuts a pixel
// off the fixed size: count them from the size itself.
void sceneWindow::showEvent(QShowEvent *e)
{
    if (QWindow *window = windowHandle())
        window->setBaseSize(size());
    QMainWindow::showEvent(e);
}

void sceneWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // Scaled, the picture is resampled from its full size; at 100 % it is drawn as it always was.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, devicePixelRatioF() != 1);
    painter.drawPixmap(QRectF(0, 0, width(), height()), backgroundPicture(backgroundPath), QRectF());
}
