// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

/*
 * Drives one benchmark round against a program under a private X server and
 * prints its measurements as one line of name=value pairs.
 *
 *   xprobe game PROGRAM      start, menu, level select, play level 1 and win it
 *   xprobe baseline PROGRAM  start and idle on the one window
 *   xprobe start PROGRAM     start only: the first window, its first paint, memory
 *
 * Times come from CLOCK_MONOTONIC when the X server's notice is read: the map
 * of a top-level window, and Damage reports of what the program drew.
 */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { idleSettleMs = 5000, idleCpuMs = 10000, sceneSettleMs = 1000, mapTimeoutMs = 15000 };

/* Window coordinates of the game's controls. */
enum { startX = 105 + 55, startY = 352 + 55 };
enum { level1X = 25 + 30, level1Y = 160 + 30 };
/* Level 1 is solved by the centre-right coin (column 2, row 2) alone. */
enum { coinX = 62 + 50 * 2, coinY = 198 + 50 * 2, coinW = 46, coinH = 44 };
/* A move lasts 300 ms to the neighbours plus their 8 frames; the win picture falls for 1.5 s. */
enum { flipWatchMs = 600, victoryWaitMs = 3000 };
enum { maxEvents = 256 };

static Display *dpy;
static Window root;
static int damageBase, damageErrorBase;
static pid_t child;

static double nowMs(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static void die(const char *what)
{
    fprintf(stderr, "xprobe: %s\n", what);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, NULL, 0);
    }
    exit(1);
}

/* Next X event before the deadline; 0 when it passed. */
static int nextEvent(XEvent *ev, double deadline)
{
    for (;;) {
        if (XPending(dpy)) {
            XNextEvent(dpy, ev);
            return 1;
        }
        double left = deadline - nowMs();
        if (left <= 0)
            return 0;
        struct pollfd p = { ConnectionNumber(dpy), POLLIN, 0 };
        poll(&p, 1, (int)left + 1);
    }
}

/* Every new top-level window gets a Damage object, so its first paint is seen even
 * when it comes before the map notice is read. */
static void watchCreated(const XEvent *ev)
{
    if (ev->type == CreateNotify && ev->xcreatewindow.parent == root
        && !ev->xcreatewindow.override_redirect)
        XDamageCreate(dpy, ev->xcreatewindow.window, XDamageReportRawRectangles);
}

/* Lets events pass for a while, keeping the Damage objects up to date. */
static void pump(double ms)
{
    XEvent ev;
    double deadline = nowMs() + ms;
    while (nextEvent(&ev, deadline))
        watchCreated(&ev);
}

static Window waitMap(double deadline, double *when)
{
    XEvent ev;
    while (nextEvent(&ev, deadline)) {
        watchCreated(&ev);
        if (ev.type == MapNotify && ev.xmap.event == root && !ev.xmap.override_redirect) {
            *when = nowMs();
            return ev.xmap.window;
        }
    }
    return 0;
}

static double waitDamage(Window w, double deadline)
{
    XEvent ev;
    while (nextEvent(&ev, deadline)) {
        watchCreated(&ev);
        if (ev.type == damageBase + XDamageNotify && ((XDamageNotifyEvent *)&ev)->drawable == w)
            return nowMs();
    }
    return -1;
}

static long statusKb(const char *key)
{
    char path[64], line[256];
    long value = -1;
    snprintf(path, sizeof path, "/proc/%d/status", (int)child);
    FILE *f = fopen(path, "r");
    if (!f)
        return -1;
    size_t n = strlen(key);
    while (fgets(line, sizeof line, f))
        if (strncmp(line, key, n) == 0 && line[n] == ':')
            value = atol(line + n + 1);
    fclose(f);
    return value;
}

/* CPU nanoseconds and context switches of all threads alive now. */
static void usage(double *cpuMs, long *switches)
{
    char path[320], line[256];
    *cpuMs = 0;
    *switches = 0;
    snprintf(path, sizeof path, "/proc/%d/task", (int)child);
    DIR *dir = opendir(path);
    if (!dir)
        die("process is gone");
    struct dirent *d;
    while ((d = readdir(dir))) {
        if (d->d_name[0] == '.')
            continue;
        snprintf(path, sizeof path, "/proc/%d/task/%s/schedstat", (int)child, d->d_name);
        FILE *f = fopen(path, "r");
        if (f) {
            unsigned long long ns = 0;
            if (fscanf(f, "%llu", &ns) == 1)
                *cpuMs += ns / 1e6;
            fclose(f);
        }
        snprintf(path, sizeof path, "/proc/%d/task/%s/status", (int)child, d->d_name);
        f = fopen(path, "r");
        if (f) {
            while (fgets(line, sizeof line, f))
                if (strstr(line, "ctxt_switches:"))
                    *switches += atol(strchr(line, ':') + 1);
            fclose(f);
        }
    }
    closedir(dir);
}

static void idleCost(const char *scene)
{
    double cpu0, cpu1;
    long sw0, sw1;
    usage(&cpu0, &sw0);
    pump(idleCpuMs);
    usage(&cpu1, &sw1);
    printf(" %s_cpu_ms=%.2f %s_csw=%ld", scene, cpu1 - cpu0, scene, sw1 - sw0);
}

static void clickAt(Window w, int x, int y)
{
    int rx, ry;
    Window unused;
    XTranslateCoordinates(dpy, w, root, x, y, &rx, &ry, &unused);
    XTestFakeMotionEvent(dpy, -1, rx, ry, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    XSync(dpy, False);
}

static Window launch(char **argv)
{
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);
    double t0 = nowMs();
    child = fork();
    if (child < 0)
        die("fork failed");
    if (child == 0) {
        execv(argv[0], argv);
        _exit(127);
    }
    double mapped;
    Window w = waitMap(t0 + mapTimeoutMs, &mapped);
    if (!w)
        die("no window was mapped");
    double painted = waitDamage(w, t0 + mapTimeoutMs);
    if (painted < 0)
        die("the window was never painted");
    printf("map_ms=%.2f paint_ms=%.2f rss_paint_kb=%ld", mapped - t0, painted - t0, statusKb("VmHWM"));
    pump(idleSettleMs);
    printf(" rss_idle_kb=%ld hwm_idle_kb=%ld", statusKb("VmRSS"), statusKb("VmHWM"));
    return w;
}

static Window clickAndWaitMap(Window w, int x, int y, const char *what)
{
    double mapped;
    clickAt(w, x, y);
    Window next = waitMap(nowMs() + mapTimeoutMs, &mapped);
    if (!next)
        die(what);
    return next;
}

static int intersectsCoin(const XDamageNotifyEvent *e)
{
    return e->area.x < coinX + coinW && e->area.x + e->area.width > coinX
        && e->area.y < coinY + coinH && e->area.y + e->area.height > coinY;
}

static int sameImage(const XImage *a, const XImage *b)
{
    return memcmp(a->data, b->data, (size_t)a->bytes_per_line * a->height) == 0;
}

/* Clicks the coin and follows what reaches the screen inside its rectangle. */
static void flipCoin(Window play)
{
    double damage[maxEvents], change[maxEvents];
    int damages = 0, changes = 0;
    XImage *shown = XGetImage(dpy, play, coinX, coinY, coinW, coinH, AllPlanes, ZPixmap);
    if (!shown)
        die("cannot read the coin");
    clickAt(play, coinX + coinW / 2, coinY + coinH / 2);
    double t0 = nowMs();
    XEvent ev;
    while (nextEvent(&ev, t0 + flipWatchMs)) {
        watchCreated(&ev);
        if (ev.type != damageBase + XDamageNotify)
            continue;
        XDamageNotifyEvent *e = (XDamageNotifyEvent *)&ev;
        if (e->drawable != play || !intersectsCoin(e))
            continue;
        double t = nowMs() - t0;
        if (damages < maxEvents)
            damage[damages++] = t;
        XImage *now = XGetImage(dpy, play, coinX, coinY, coinW, coinH, AllPlanes, ZPixmap);
        if (!sameImage(now, shown) && changes < maxEvents) {
            change[changes++] = t;
            XDestroyImage(shown);
            shown = now;
        } else {
            XDestroyImage(now);
        }
    }
    XDestroyImage(shown);
    if (changes == 0)
        die("the clicked coin never changed");
    printf(" click_to_change_ms=%.2f coin_changes=", change[0]);
    for (int i = 0; i < changes; ++i)
        printf("%s%.2f", i ? "," : "", change[i]);
    printf(" coin_damages=");
    for (int i = 0; i < damages; ++i)
        printf("%s%.2f", i ? "," : "", damage[i]);
}

int main(int argc, char **argv)
{
    if (argc < 3 || (strcmp(argv[1], "game") != 0 && strcmp(argv[1], "baseline") != 0
                     && strcmp(argv[1], "start") != 0)) {
        fprintf(stderr, "usage: xprobe game|baseline|start PROGRAM [ARGS...]\n");
        return 2;
    }
    dpy = XOpenDisplay(NULL);
    if (!dpy)
        die("cannot open the display");
    int major, minor, unused;
    if (!XDamageQueryExtension(dpy, &damageBase, &damageErrorBase)
        || !XTestQueryExtension(dpy, &unused, &unused, &major, &minor))
        die("the X server lacks DAMAGE or XTEST");
    root = DefaultRootWindow(dpy);

    printf("kind=%s ", argv[1]);
    Window w = launch(argv + 2);
    if (strcmp(argv[1], "start") == 0) {
    } else if (strcmp(argv[1], "baseline") == 0) {
        idleCost("idle");
    } else {
        idleCost("menu");
        Window select = clickAndWaitMap(w, startX, startY, "the level select never showed");
        pump(sceneSettleMs);
        idleCost("select");
        Window play = clickAndWaitMap(select, level1X, level1Y, "the play window never showed");
        pump(sceneSettleMs);
        flipCoin(play);
        pump(victoryWaitMs);
        idleCost("won");
    }
    printf("\n");
    fflush(stdout);
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(dpy);
    return 0;
}
