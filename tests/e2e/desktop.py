#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The game on the desktops players have: scaled X displays, window managers, Wayland, no OpenGL.
Usage: desktop.py CASE QUENVARY RESDIR, as e2e.py."""
import os, re, subprocess, time, types
import e2e
from e2e import BACK, LEVEL_1, MIDDLE_BACK, START, WIN, Game, check, coin, wait

e2e.SCREEN = "1400x2000x24"   # room for the 300 % play window, moved
DPI = {100: 96, 125: 120, 150: 144, 200: 192, 300: 288}   # the Xft.dpi a desktop sets for each scale
ODD = [(151, 91), (263, 121), (203, 61), (97, 143)]   # device positions between logical pixels at every scale
STEPS = [(None, "menu"), (START, "select"), (BACK, "menu"), (START, "select"), (LEVEL_1, "play"),
         (coin(*WIN), "victory"), (MIDDLE_BACK, "select"), (BACK, "menu")]
# A scene at 320 x 588, blurred by 2 pixels, against the 100 % one: the largest channel difference
# allowed. Right rendering measured 12-33 at 125-300 %, clipped texts (no scaling) 70-239.
LIMIT, REFS = 50, {}


def looks(x, window, name):   # the countdown's seconds, frozen behind the victory picture, left out
    x0, y0, w, h = x.geometry(window)
    shot = subprocess.run(f"import -window root -crop {w}x{h}+{x0}+{y0} +repage miff:- | convert - -resize 320x588! "
                          "-blur 0x2 -depth 8 rgb:-", shell=True, env=x.env, capture_output=True, check=True).stdout
    return shot[:410 * 960] + shot[470 * 960:] if name == "victory" else shot


def walk(x, percent, compare=True):
    """Every hand-over, from a window moved to an odd device position, lands on that device pixel; each
    scene is the 100 % one scaled (recorded at 100 % when settled, the countdown's seconds as they pass)."""
    x.run("xprop", "-root", "-format", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER", f"Xft.dpi:\t{DPI[percent]}\n")
    e2e.W, e2e.H = round(320 * percent / 100), round(588 * percent / 100)   # the size Game.scene expects
    game, worst = Game(x), {}
    for i, (spot, name) in enumerate(STEPS):
        if spot:
            at = game.move(window, *ODD[i % len(ODD)]) if name != "victory" else at
            x.click(at, [round(c * percent / 100) for c in spot])
        if name != "victory":
            window, now = game.scene(name)
            check(not spot or now == at, f"{percent} %: {name} shown at {now}, where X had the last window at {at}")
            at = now
        time.sleep(2.5 if name == "victory" else 0)   # the picture has dropped
        if compare and percent == 100:
            end, seen = time.monotonic() + (2 if name == "play" else 1), REFS.setdefault(name, [])
            while time.monotonic() < end or not seen:
                first, second = looks(x, window, name), (time.sleep(0.3), looks(x, window, name))[1]
                seen += [second] if first == second and second not in seen else []
        elif compare:
            wait(lambda: worst.update({name: min(max(map(abs, map(int.__sub__, looks(x, window, name), r)))
                                                 for r in REFS[name])}) or worst[name] < LIMIT,
                 f"{name} at {percent} % as at 100 % ({worst})", 5, 0.1)
    print(f"{percent} %: largest difference to 100 %: {worst}")
    # Qt Gui links GLVND's dispatch stubs (libGL, libGLX); a driver is loaded only by Qt's OpenGL probe.
    maps = open(f"/proc/{game.proc.pid}/maps").read()
    check(not re.search(r"GLX_|EGL|glapi|LLVM|_dri\.|glintegrations", maps), "OpenGL loaded:\n" + maps)
    game.close()


def weston(x, backend, *args):   # beside the X server, its socket in the game's runtime folder
    e2e.PROCS.append(subprocess.Popen(["weston", f"--backend={backend}-backend.so", f"--socket=wl-{backend}",
                                       "--idle-time=0", "--no-config", *args], env=dict(x.env, **e2e.GAME_ENV),
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    return wait(lambda: os.path.exists(f"{e2e.TMP}/wl-{backend}") and f"wl-{backend}", "weston up")


def case_wayland(x):
    """With Wayland and X both offered the game is an X client; with Wayland alone it goes through every
    hand-over and prints nothing. Weston's headless back end has no input, so that walk runs in a weston
    nested in the X server, driven by keys; the scenes shown are read from the game's Wayland traffic."""
    x.env.update(WAYLAND_DISPLAY=weston(x, "headless"), XDG_SESSION_TYPE="wayland")
    del x.env["QT_QPA_PLATFORM"]
    game = Game(x)
    game.scene("menu")
    game.close()
    x.env.update(WAYLAND_DISPLAY=weston(x, "x11", "--use-pixman"), WAYLAND_DEBUG="client")
    game, titles = Game(types.SimpleNamespace(env={k: v for k, v in x.env.items() if k != "DISPLAY"})), []
    text = lambda: (game.log.seek(0), game.log.read().decode("utf-8", "replace"))[1]
    shown = lambda: re.findall(r'set_title\("(.*)"\)', text()) + (   # and "?" until the last has the keyboard
        [] if re.search(r"wl_keyboard@\d+\.enter", text().rpartition(".set_title(")[2]) else ["?"])
    for key, name in [("", "menu"), ("Return", "select"), ("Escape", "menu"), ("Return", "select"),
                      ("Return", "play"), ("Escape", "select"), ("Escape", "menu")]:
        key and x.run("xdotool", "search", "--class", "weston", "windowfocus", "--sync", "key", key)
        titles.append(e2e.TITLES[name])
        wait(lambda: shown() == titles, f"{titles} on Wayland, seen {shown()}")
    game.proc.terminate()   # a Wayland window cannot be closed from outside
    game.proc.wait(10)
    stray = [line for line in text().splitlines() if line.strip() and not line.startswith("[")   # "[": traffic
             and not e2e.ALLOWED.search(line)]
    check(not stray, "unexpected output:\n" + "\n".join(stray))


if __name__ == "__main__":
    e2e.main({"scales": (lambda x: [walk(x, percent) for percent in DPI], None), "wayland": (case_wayland, None),
              **{wm: (lambda x: [walk(x, percent, False) for percent in (100, 150, 200)], wm) for wm in ("openbox", "icewm")}})
