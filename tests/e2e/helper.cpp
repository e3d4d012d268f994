// The driver's helpers. "close WINDOW" asks the game to close a window as a window manager's close
// button does, with WM_DELETE_WINDOW (xdotool's windowclose destroys the window instead).
// "solve LEVEL" prints the fewest clicks that turn the level's board all gold, as "column,row".
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "data/dataconfig.h"

#include <X11/Xlib.h>

static int closeWindow(Window window)
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
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

static int solve(int level)
{
    const auto board = dataConfig().levelLayouts.value(level);
    // Bit 4 * column + row of `clicks` is a click on that coin; off the board nothing is clicked.
    auto hit = [](int set, int c, int r) { return c >= 0 && c < 4 && r >= 0 && r < 4 && set >> (4 * c + r) & 1; };
    int best = 0;
    for (int clicks = 1; clicks < 1 << 16 && board.size() == 4; ++clicks) {
        bool gold = true;
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                gold = gold && (board[c][r] + hit(clicks, c, r) + hit(clicks, c - 1, r) + hit(clicks, c + 1, r)
                                + hit(clicks, c, r - 1) + hit(clicks, c, r + 1)) % 2 == 1;
        if (gold && (!best || __builtin_popcount(clicks) < __builtin_popcount(best)))
            best = clicks;
    }
    for (int i = 0; i < 16; ++i)
        if (best >> i & 1)
            printf("%d,%d ", i / 4, i % 4);
    printf("\n");
    return best ? 0 : 1;
}

int main(int argc, char **argv)
{
    const std::string_view command = argc == 3 ? argv[1] : "";
    if (command == "close")
        return closeWindow(strtoul(argv[2], nullptr, 0));
    if (command == "solve")
        return solve(atoi(argv[2]));
    fprintf(stderr, "usage: %s close WINDOW | solve LEVEL\n", argv[0]);
    return 2;
}
