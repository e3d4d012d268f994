// The driver's helpers. "close WINDOW" asks the game to close a window as a window manager's close
// button does, with WM_DELETE_WINDOW (xdotool's windowclose destroys the window instead).
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
    if (command == "hear") {
        QCoreApplication app(argc, argv);
        const QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(argv[2]), "a11y");
        hear(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root");
        return bus.isConnected() ? 0 : 1;
    }
    fprintf(stderr, "usage: %s close WINDOW | hear BUS\n", argv[0]);
    return 2;
}
