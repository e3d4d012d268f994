// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Asks the game to close a window as a window manager's close button does, with WM_DELETE_WINDOW
// (xdotool's windowclose destroys the window instead). Usage: helper close WINDOW
#include <cstdlib>
#include <string_view>

#include <X11/Xlib.h>

int main(int argc, char **argv)
{
    Display *display = XOpenDisplay(nullptr);
    if (argc != 3 || std::string_view(argv[1]) != "close" || !display)
        return 2;
    const Window window = strtoul(argv[2], nullptr, 0);
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
