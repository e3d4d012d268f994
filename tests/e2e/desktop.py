#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""The game on the desktops players have: every display scale, window managers, Wayland, no OpenGL."""
import os, re, subprocess, time, types, e2e
from e2e import BACK, LEVEL_1, MIDDLE_BACK, START, WIN, Game, check, coin, wait

e2e.SCREEN = "1440x1920x24"   # room for the 300 % play window, moved; 96 dpi exactly in whole millimetres
DPI = {100: 96, 125: 120, 150: 144, 200: 192, 300: 288}   # the Xft.dpi a desktop sets for each scale
ODD = [(97, 143), (151, 91), (263, 121), (203, 61)]   # device positions between logical pixels at every scale
STEPS = [(None, "menu"), (START, "select"), (BACK, "menu"), (START, "select"), (LEVEL_1, "play"),
         (coin(*WIN), "victory"), (MIDDLE_BACK, "select"), (BACK, "menu")]
# Largest channel difference to the 100 % scene, both at 320 x 588 blurred by 2 px: right 12-33, clipped 70-239.
LIMIT, REFS = 50, {}


def looks(x, window, name):   # the countdown's seconds left out: they run on while the shots are taken
    shot = subprocess.run("import -window root -crop {2}x{3}+{0}+{1} +repage miff:- | convert - -resize 320x588! -blur 0x2 "
                          "-depth 8 rgb:-".format(*x.geometry(window)), shell=True, env=x.env, capture_output=True,
                          check=True).stdout
    return shot[:410 * 960] + shot[470 * 960:] if name in ("play", "victory") else shot


def crisp(x, window, percent):
    """Scaled up, the start button is drawn from its rendering for the scale, not from the 1x picture made larger
    (asked again until the first paint has come, which a large scale may take a moment for)."""
    n, far = 110 * percent // 100, {}
    refs = {name: e2e.run("convert", os.path.join(e2e.RESDIR, f), "-filter", "Triangle", "-resize", f"{n}x{n}!",
                          "-depth", "8", "rgba:-")
            for name, f in (("rendering", f"MenuSceneStartButton@{percent // 100}x.png"), ("1x enlarged", "MenuSceneStartButton.png"))}

    def drawn_from_rendering():
        shot = x.shot(window)
        seen = b"".join(shot[((352 * percent // 100 + r) * e2e.W + 105 * percent // 100) * 4:][:n * 4] for r in range(n))
        far.update({name: sum(abs(a - b) for i, (a, b) in enumerate(zip(seen, ref)) if i % 4 < 3 and ref[i | 3] == 255)
                    for name, ref in refs.items()})
        return far["rendering"] * 4 < far["1x enlarged"]
    wait(drawn_from_rendering, lambda: f"{percent} %: start button not drawn from its rendering ({far})", 5, 0.2)


def walk(x, percent, compare=True):
    """Hand-overs from odd device positions land on that pixel; each scene looks as the 100 % one, scaled."""
    x.run("xprop", "-root", "-format", "RESOURCE_MANAGER", "8s", "-set", "RESOURCE_MANAGER", f"Xft.dpi:\t{DPI[percent]}\n")
    e2e.W, e2e.H = round(320 * percent / 100), round(588 * percent / 100)   # the size Game.scene expects
    game, worst, at = Game(x), {}, None
    for i, (spot, name) in enumerate(STEPS):
        at = game.move(window, *ODD[i % 4]) if spot and name != "victory" else at
        spot and x.click(at, [round(c * percent / 100) for c in spot])
        window, now = (window, at) if name == "victory" else game.scene(name)
        check(not spot or now == at, f"{percent} %: {name} shown at {now}, where X had the last window at {at}")
        time.sleep({"play": 1.2, "victory": 2.5}.get(name, 0))   # the countdown has begun, the picture dropped
        name == "menu" and percent >= 200 and compare and crisp(x, window, percent)   # bare X: shots to the pixel
        refs, end = REFS.setdefault(name, []), time.monotonic() + 1
        while compare and percent == 100 and (time.monotonic() < end or not refs):   # settled
            first, second = looks(x, window, name), (time.sleep(0.3), looks(x, window, name))[1]
            refs += [second] if first == second and second not in refs else []
        compare and percent != 100 and wait(lambda: worst.update({name: min(max(map(
            abs, map(int.__sub__, looks(x, window, name), r))) for r in refs)}) or worst[name] < LIMIT,
            types.SimpleNamespace(scene=name, percent=percent, largest_difference=worst), 5, 0.1)
    gl = re.search(r"\S*(GLX_|EGL_|glapi|LLVM|_dri\.|glintegrations)\S*", open(f"/proc/{game.proc.pid}/maps").read())
    check(not gl, f"OpenGL loaded: {gl and gl.group()}")   # Qt Gui itself links GLVND's libGL, libGLX (and libEGL on Qt 6), no driver
    game.close()


def weston(x, backend, *args):   # beside the X server, its socket in the game's runtime folder, its traffic logged
    args = [f"--backend={backend}-backend.so", f"--socket=wl-{backend}", "--no-config", "--logger-scopes=log,proto", *args]
    e2e.PROCS.append(subprocess.Popen(["weston", f"--log={e2e.TMP}/{backend}.log", *args], env=dict(x.env, **e2e.GAME_ENV)))
    return wait(lambda: os.path.exists(f"{e2e.TMP}/wl-{backend}") and f"wl-{backend}", "weston up")


def case_wayland(x):
    """Offered Wayland and X the game is an X client; on Wayland alone it walks every hand-over, silent. Weston's
    headless back end has no input: that walk is in a weston nested in X, by keys, read from weston's log."""
    x.env.update(WAYLAND_DISPLAY=weston(x, "headless"), XDG_SESSION_TYPE="wayland")
    del x.env["QT_QPA_PLATFORM"]   # none chosen, as in a desktop session
    game = Game(x)
    game.scene("menu")
    game.close()
    x.env.update(WAYLAND_DISPLAY=weston(x, "x11", "--use-pixman"))
    game, titles = Game(types.SimpleNamespace(env={k: v for k, v in x.env.items() if k != "DISPLAY"})), []
    text = lambda: open(f"{e2e.TMP}/x11.log", errors="replace").read()   # the requests and events it passed
    shown = lambda: re.findall(r'xdg_toplevel@\d+\.set_title\("(.*)"\)', text()) + (   # "?" till it has the keys
        [] if re.search(r"wl_keyboard@\d+\.enter", text().rpartition(".set_title(")[2]) else ["?"])
    for key, name in [("", "menu"), ("Return", "select"), ("Escape", "menu"), ("Return", "select"),
                      ("Return", "play"), ("Escape", "select"), ("Escape", "menu")]:
        key and x.run("xdotool", "search", "--class", "weston", "windowfocus", "--sync", "key", key)
        titles.append(e2e.TITLES[name])
        wait(lambda: shown() == titles, f"{titles} on Wayland")
    app_ids = set(re.findall(r'xdg_toplevel@\d+\.set_app_id\("(.*)"\)', text()))
    check(app_ids == {e2e.APP_ID}, f"the windows' app_id on Wayland: {app_ids}")
    game.output()   # left running (a Wayland window cannot be closed from outside), ended with the test


if __name__ == "__main__":
    e2e.main({"scales": (lambda x: [walk(x, p) for p in DPI], None), "wayland": (case_wayland, None),
              **{wm: (lambda x: e2e.restore(x) or [walk(x, p, False) for p in (100, 150, 200)], wm) for wm in ("openbox", "icewm")}})
