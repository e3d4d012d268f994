// Prints the accessibility tree that a screen reader sees, read over the AT-SPI bus whose
// address is the argument: one line per object, indented by depth, "role|name".
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <cstdio>

namespace {

QDBusMessage ask(const QDBusConnection &bus, const QString &service, const QString &path,
                 const QString &interface, const QString &method, const QVariantList &args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(args);
    return bus.call(call, QDBus::Block, 5000);
}

void walk(const QDBusConnection &bus, const QString &service, const QString &path, int depth)
{
    const QString accessible = "org.a11y.atspi.Accessible";
    const QDBusMessage role = ask(bus, service, path, accessible, "GetRoleName");
    const QDBusMessage name = ask(bus, service, path, "org.freedesktop.DBus.Properties", "Get",
                                  {accessible, QString("Name")});
    if (role.type() != QDBusMessage::ReplyMessage || name.type() != QDBusMessage::ReplyMessage)
        return;
    std::printf("%s%s|%s\n", QString(depth * 2, ' ').toUtf8().constData(),
                role.arguments().value(0).toString().toUtf8().constData(),
                name.arguments().value(0).value<QDBusVariant>().variant().toString().toUtf8().constData());
    const QDBusMessage children = ask(bus, service, path, accessible, "GetChildren");
    if (children.type() != QDBusMessage::ReplyMessage)
        return;
    const QDBusArgument list = children.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString childService;
        QDBusObjectPath childPath;
        list.beginStructure();
        list >> childService >> childPath;
        list.endStructure();
        walk(bus, childService, childPath.path(), depth + 1);
    }
    list.endArray();
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDBusConnection bus = QDBusConnection::connectToBus(QString::fromUtf8(argv[1]), "a11y");
    if (!bus.isConnected())
        return 1;
    walk(bus, "org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", 0);
    return 0;
}
