// The driver's helpers. "close WINDOW" asks the game to close a window as a window manager's close
// button does, with WM_DELETE_WINDOW (xdotool's windowclose destroys the window instead).
// "solve LEVEL" prints the fewest clicks that turn the level's board all gold, as "column,row".
// "hear BUS" prints what a screen reader finds over the AT-SPI bus: a line "role|name" per object.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
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

static QDBusMessage ask(const QDBusConnection &bus, const QString &service, const QString &path,
                        const QString &interface, const QString &method, const QVariantList &args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(args);
    return bus.call(call, QDBus::Block, 5000);
}

static void hear(const QDBusConnection &bus, const QString &service, const QString &path)
{
    const QString accessible = "org.a11y.atspi.Accessible";
    const QDBusMessage role = ask(bus, service, path, accessible, "GetRoleName");
    const QDBusMessage name = ask(bus, service, path, "org.freedesktop.DBus.Properties", "Get", {accessible, "Name"});
    const QDBusMessage children = ask(bus, service, path, accessible, "GetChildren");
    if (children.type() != QDBusMessage::ReplyMessage)
        return;
    printf("%s|%s\n", qPrintable(role.arguments().value(0).toString()),
           qPrintable(name.arguments().value(0).value<QDBusVariant>().variant().toString()));
    const QDBusArgument list = children.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString childService;
        QDBusObjectPath childPath;
        list.beginStructure();
        list >> childService >> childPath;
        list.endStructure();
        hear(bus, childService, childPath.path());
    }
    list.endArray();
}

int main(int argc, char **argv)
{
    const std::string_view command = argc == 3 ? argv[1] : "";
    if (command == "close")
        return closeWindow(strtoul(argv[2], nullptr, 0));
    if (command == "solve")
        return solve(atoi(argv[2]));
    if (command == "hear") {
        QCoreApplication app(argc, argv);
        const QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(argv[2]), "a11y");
        hear(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root");
        return bus.isConnected() ? 0 : 1;
    }
    fprintf(stderr, "usage: %s close WINDOW | solve LEVEL | hear BUS\n", argv[0]);
    return 2;
}
