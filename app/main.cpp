// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QtGlobal>

#include "data/gamelanguage.h"
#include "scenes/zhujiemian.h"

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
bool platformChosen(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}
#endif

// Gives Qt's own settings the values this game needs, where the player has not set them.
void prepareQt(int argc, char *argv[])
{
    // The design's pixels are device-independent: the desktop's scale, 125 % included, applies
    // exactly, so the point-size texts keep fitting their boxes.
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
#endif
#if QT_VERSION >= QT_VERSION_CHECK(5, 14, 0)
    QApplication::setHighDpiScaleFactorRoundingPolicy(
            Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
#endif
    // Nothing is drawn with OpenGL, so the X11 plug-in need not load and probe it first.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // A Wayland client cannot place its windows, and the scenes must replace one another at one
    // place: where the session offers X as well, be an X client.
    if (!platformChosen(argc, argv) && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
#endif
}

}

int main(int argc, char *argv[])
{
    prepareQt(argc, argv);
    QApplication app(argc, argv);
    new gameLanguage(&app);   // the player's language, before any window
    // The desktop matches windows, menu entry and mixer entry by these.
    QApplication::setApplicationName("Quenvary");
    QApplication::setApplicationVersion(QUENVARY_VERSION);
    QApplication::setDesktopFileName(QUENVARY_APP_ID);
    Zhujiemian menu;
    menu.show();
    return app.exec();
}
