// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "scenewindow.h"

#include <QFont>
#include <QIcon>
#include <QImageReader>
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
