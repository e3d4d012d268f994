// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "data/gamelanguage.h"
#include "scenes/zhujiemian.h"

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include "soundserver.h"
#endif

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <xcb/xcb.h>
#include <cstdlib>
#include <cstring>
#define QUENVARY_XCB_DPI
#endif

namespace {

const char *const appName = "Quenvary";

// Qt's own command-line options (QGuiApplication's, QApplication's, the X11 plug-in's), and whether
// a value follows; Qt takes them with one dash or two.
struct QtOption {
    const char *name;
    bool takesValue;
};
constexpr QtOption qtOptions[] = {
    {"platform", true}, {"platformpluginpath", true}, {"platformtheme", true}, {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true}, {"qwindowtitle", true}, {"title", true},
    {"qwindowicon", true}, {"icon", true}, {"session", true}, {"style", true}, {"stylesheet", true},
    {"display", true}, {"name", true}, {"visual", true}, {"reverse", false}, {"testability", false},
    {"widgetcount", false}, {"nograb", false}, {"dograb", false}, {"qmljsdebugger", false},
};

// The command line split into Qt's options, of which the platform and the display matter before
// Qt starts, and the game's own.
struct CommandLine {
    QByteArray platform;
    QByteArray display;
    std::vector<char *> gameArguments;   // the program's name first, as argv has it
};

CommandLine readCommandLine(int argc, char *argv[])
{
    CommandLine line;
    line.gameArguments.push_back(argv[0]);
    for (int i = 1; i < argc; ++i) {
        QByteArray name(argv[i]);
        if (name == "--" || !name.startsWith('-')) {
            line.gameArguments.push_back(argv[i]);
            continue;
        }
        name.remove(0, name.startsWith("--") ? 2 : 1);
        QByteArray value;
        const int equals = name.indexOf('=');
        if (equals > 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        const auto option = std::find_if(std::begin(qtOptions), std::end(qtOptions),
                                         [&name](const QtOption &o) { return name == o.name; });
        if (option == std::end(qtOptions)) {
            line.gameArguments.push_back(argv[i]);
            continue;
        }
        if (option->takesValue && equals < 0 && i + 1 < argc)
            value = argv[++i];
        if (name == "platform")
            line.platform = value;
        else if (name == "display")
            line.display = value;
    }
    return line;
}

#ifdef QUENVARY_XCB_DPI
// Whether the X server's resources name a desktop scale (Xft.dpi), as desktops set it.
bool desktopSetsDpi(const QByteArray &display)
{
    xcb_connection_t *connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    bool found = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        const auto cookie = xcb_get_property(connection, 0, screen->root, XCB_ATOM_RESOURCE_MANAGER,
                                             XCB_ATOM_STRING, 0, 1 << 16);
        if (xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr)) {
            const QByteArray resources(static_cast<const char *>(xcb_get_property_value(reply)),
                                       xcb_get_property_value_length(reply));
            for (const QByteArray &line : resources.split('\n'))
                found = found || line.startsWith("Xft.dpi:");
            free(reply);
        }
    }
    xcb_disconnect(connection);
    return found;
}
#endif

// Gives Qt's own settings the values this game needs, where the player has not set them; a
// choice made on the command line counts as the same choice made in the environment.
void prepareQt(const CommandLine &line)
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
    const QByteArray display = line.display.isEmpty() ? qgetenv("DISPLAY") : line.display;
    QByteArray platform = line.platform.isEmpty() ? qgetenv("QT_QPA_PLATFORM") : line.platform;
    if (platform.isEmpty() && !display.isEmpty()) {
        platform = "xcb";
        qputenv("QT_QPA_PLATFORM", platform);
    }
#ifdef QUENVARY_XCB_DPI
    // Qt 5 takes an X server's physical dpi (a monitor's size, 100 on Xvfb) for a scale when the
    // desktop names none; only a scale the desktop asks for should apply, as on Qt 6.
    if (platform.startsWith("xcb") && !qEnvironmentVariableIsSet("QT_FONT_DPI") && !desktopSetsDpi(display))
        qputenv("QT_FONT_DPI", "96");
#endif
    // The sound server lists the game, and keeps its volume between runs, by these; Qt would
    // name it after its process id. The player's own PULSE_PROP settings come first: a name
    // given without OVERRIDE too, which would otherwise lose to Qt's.
    if (!qEnvironmentVariableIsSet("PULSE_PROP_OVERRIDE_application.name"))
        qputenv("PULSE_PROP_OVERRIDE_application.name",
                qEnvironmentVariableIsSet("PULSE_PROP_application.name")
                        ? qgetenv("PULSE_PROP_application.name") : QByteArray(appName));
    if (!qEnvironmentVariableIsSet("PULSE_PROP_application.icon_name"))
        qputenv("PULSE_PROP_application.icon_name", QUENVARY_APP_ID);
    if (!qEnvironmentVariableIsSet("PULSE_PROP_application.id"))
        qputenv("PULSE_PROP_application.id", QUENVARY_APP_ID);
    // WirePlumber keys a stream's volume by its role before its id, so on PipeWire the game
    // role would share the volume with every game: there the game goes without it.
    if (!qEnvironmentVariableIsSet("PULSE_PROP_media.role") && !soundServerIsPipeWire())
        qputenv("PULSE_PROP_media.role", "game");
    // PulseAudio restores by the game's own id rather than by the role it shares with every game.
    if (!qEnvironmentVariableIsSet("PULSE_PROP_module-stream-restore.id"))
        qputenv("PULSE_PROP_module-stream-restore.id", "sink-input-by-application-id:" QUENVARY_APP_ID);
#else
    Q_UNUSED(line);
#endif
}

QtMessageHandler qtHandler = nullptr;

// Without a sound server Qt says so once per sound and scene; the player needs to hear it once.
void quietSoundFailures(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    static bool told = false;
    if (message.startsWith("PulseAudioService: pa_context_connect() failed")
            || message == "No audio device detected") {
        if (!told)
            std::fputs("quenvary: no sound server could be reached; playing without sound\n", stderr);
        told = true;
        return;
    }
    if (qtHandler)
        qtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

void describe(QCoreApplication &app)
{
    app.setApplicationName(appName);
    app.setApplicationVersion(QUENVARY_VERSION);
}

void setUpParser(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
            "Turn every coin on the board to gold.\n"
            "Qt's standard options, such as -platform and -display, are accepted as well.");
    parser.addHelpOption();
    parser.addVersionOption();
}

// --help and --version answer without a display, so they are read before Qt's GUI starts.
bool asksForInformation(const std::vector<char *> &gameArguments)
{
    for (size_t i = 1; i < gameArguments.size() && qstrcmp(gameArguments[i], "--") != 0; ++i)
        for (const char *option : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (qstrcmp(gameArguments[i], option) == 0)
                return true;
    return false;
}

}

int main(int argc, char *argv[])
{
    CommandLine line = readCommandLine(argc, argv);
    if (asksForInformation(line.gameArguments)) {
        // Without Qt's own options, which a core application would take for the game's.
        int gameArgc = static_cast<int>(line.gameArguments.size());
        line.gameArguments.push_back(nullptr);
        QCoreApplication app(gameArgc, line.gameArguments.data());
        describe(app);
        QCommandLineParser parser;
        setUpParser(parser);
        parser.process(app);   // prints and exits
        return 0;
    }
    prepareQt(line);
    qtHandler = qInstallMessageHandler(quietSoundFailures);
    QApplication app(argc, argv);
    describe(app);
    new gameLanguage(&app);   // the player's language, before any window
    // The desktop matches the windows (WM_CLASS, Wayland's app_id) with the menu entry by this.
    QApplication::setDesktopFileName(QUENVARY_APP_ID);
    {
        // Qt's own options are gone from the arguments by now; whatever else starts with a dash
        // is refused by name, before any window shows.
        QCommandLineParser parser;
        setUpParser(parser);
        parser.process(app);
    }
    Zhujiemian menu;
    menu.show();
    return app.exec();
}
