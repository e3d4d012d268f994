#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end runs of the real quenvary executable on a private X server, driven from outside.
Usage: e2e.py CASE QUENVARY RESDIR, CASE one of CASES below. Exit 0 = pass, 77 = skip.
"""
import ctypes, os, re, shutil, struct, subprocess, sys, tempfile, time

W, H = 320, 588
TITLES = {"menu": "TavroQuenvary", "select": "选择关卡", "play": "Quenvary"}
BACKGROUNDS = {"menu": "MenuSceneBg.png", "select": "OtherSceneBg.png", "play": "PlayLevelSceneBg.png"}
START, BACK, MIDDLE_BACK, LEVEL_1 = (160, 407), (295, 563), (160, 319), (55, 190)  # centres in a window
WIN = (2, 2)   # the one click that solves level 1, and the coin two columns off it, which does not
MISS = (0, 2)
# Bands free of widgets in every scene, where the background shows.
FREE = [(x, y) for y in list(range(0, 70, 2)) + list(range(106, 156, 2)) for x in range(0, W, 2)]
# What the game may print: the designed picture-load line and Qt's notes about the environment.
ALLOWED = re.compile(r'^((".*" )?加载图片失败|QStandardPaths: |PulseAudioService: |qt\.qpa\.xcb: )')
RATE, FRAME, LOUD = 8000, 40, 300   # recording rate, 5 ms frames, level of a sound
SCREEN = "1024x768x24"


def check(ok, message):
    if not ok:
        raise AssertionError(message)


def wait(predicate, what, deadline=10.0, step=0.02):
    end = time.monotonic() + deadline
    while not (value := predicate()):
        check(time.monotonic() < end, f"{what}: not within {deadline:.0f} s")
        time.sleep(step)
    return value


def run(*args, env=None, check=True):
    return subprocess.run([str(a) for a in args], env=env, capture_output=True, check=check, timeout=30).stdout


def skip(why):
    print("SKIP:", why)
    sys.exit(77)


class ClientMessage(ctypes.Structure):   # Xlib's XClientMessageEvent, padded to the size of an XEvent
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]


class X:
    """A private Xvfb, under a window manager if one is named."""

    def __init__(self, wm):
        if not shutil.which("Xvfb") or (wm and not shutil.which(wm)):
            skip(f"Xvfb or {wm} is not installed")
        r, w = os.pipe()
        # 96 dpi: a plain 100 % desktop (without Xft.dpi Qt scales by the server's dpi, Xvfb's own is 100).
        PROCS.append(subprocess.Popen(["Xvfb", "-displayfd", str(w), "-dpi", "96", "-screen", "0", SCREEN,
                                       "-nolisten", "tcp", "-noreset"], pass_fds=(w,), stderr=subprocess.DEVNULL))
        os.close(w)
        with os.fdopen(r) as pipe:
            self.env = dict(os.environ, DISPLAY=":" + pipe.readline().strip(), QT_QPA_PLATFORM="xcb")
        if self.env["DISPLAY"] == ":":
            skip("Xvfb did not start")
        if wm:
            wait(lambda: self.wm_ready(wm), wm)

    def wm_ready(self, wm):   # started again should it fail to open the display (seen once under load)
        if PROCS[-1].args[0] != wm or PROCS[-1].poll() is not None:
            PROCS.append(subprocess.Popen([wm], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        return b"window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")

    def run(self, *args, check=True):
        return run(*args, env=self.env, check=check)

    def windows(self, pid):
        """The game's viewable top-level windows (clients, under a window manager)."""
        return self.run("xdotool", "search", "--onlyvisible", "--pid", pid, check=False).decode().split()

    def title(self, window):   # a window seen a moment ago may be gone by now (a closed play window)
        return self.run("xdotool", "getwindowname", window, check=False).decode().strip()

    def geometry(self, window):
        """Where X has the client window on the root, and its size."""
        geo = dict(v.split("=") for v in self.run("xdotool", "getwindowgeometry", "--shell", window).decode().split())
        return [int(geo[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")]

    def close(self, window):
        """Asks for the window to close as a window manager's close button does, with WM_DELETE_WINDOW
        (xdotool's windowclose destroys the window instead)."""
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype, x11.XInternAtom.restype = ctypes.c_void_p, ctypes.c_ulong
        display = ctypes.c_void_p(x11.XOpenDisplay(self.env["DISPLAY"].encode()))
        event = ClientMessage(type=33, window=int(window), format=32,   # 33: ClientMessage
                              message_type=x11.XInternAtom(display, b"WM_PROTOCOLS", 0))
        event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        sent = x11.XSendEvent(display, ctypes.c_ulong(int(window)), 0, ctypes.c_long(0), ctypes.byref(event))
        x11.XCloseDisplay(display)
        check(sent, "WM_DELETE_WINDOW not sent")

    def keys(self, *names):
        self.run("xdotool", "key", "--delay", "60", *names)

    def click(self, at, spot):
        self.run("xdotool", "mousemove", at[0] + spot[0], at[1] + spot[1], "click", "1")

    def shot(self, window):
        x, y, w, h = self.geometry(window)
        return self.run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "rgba:-")


coin = lambda c, r: (62 + 50 * c + 23, 198 + 50 * r + 22)   # the centre of a coin in its window


def picture(name, size):
    return run("convert", os.path.join(RESDIR, name), "-resize", "%dx%d!" % size, "-depth", "8", "rgba:-")


def difference(shot, pic, width, cells, at=(0, 0)):
    """Mean channel difference between a window and a picture placed at `at`, over its opaque cells."""
    total = count = 0
    for px, py in cells:
        p, s = (py * width + px) * 4, ((py + at[1]) * W + px + at[0]) * 4
        if pic[p + 3] == 255:
            total, count = total + sum(abs(shot[s + i] - pic[p + i]) for i in range(3)), count + 3
    return total / count if count else 255


class Game:
    """One run of the game, from a copy of the executable alone in a folder of its own."""

    def __init__(self, x, args=()):
        self.x, self.log = x, tempfile.TemporaryFile()
        self.proc = subprocess.Popen([BINARY, *args], cwd=TMP, env=dict(x.env, **GAME_ENV), stdout=self.log,
                                     stderr=subprocess.STDOUT)
        PROCS.append(self.proc)

    def scene(self, name, deadline=10):
        """Waits until the scene is the game's one visible window: (window, [x, y])."""
        def alone():
            found = self.x.windows(self.proc.pid)
            return len(found) == 1 and self.x.title(found[0]) == TITLES[name] and found[0]
        window = wait(alone, f'"{TITLES[name]}" shown alone', deadline)
        geometry = self.x.geometry(window)
        check(geometry[2:] == [W, H], f"{name} is {geometry[2]}x{geometry[3]}")
        return window, geometry[:2]

    def move(self, window, x, y):
        """Moves a window as a player drags it; a window manager may shift it by its frame."""
        before = self.x.geometry(window)
        self.x.run("xdotool", "windowmove", window, x, y)
        return wait(lambda: self.x.geometry(window) != before and self.x.geometry(window)[:2], "moved")

    def looks(self, window, name):
        """The window shows the scene's background, and it matches no other scene's."""
        def drawn():
            shot = self.x.shot(window)
            scores = {k: difference(shot, bg, W, FREE) for k, bg in BACKGROUND_PICTURES.items()}
            return (min(scores, key=scores.get) == name and scores[name] < 25) or print(name, scores)
        wait(drawn, f"{name} background on screen", 5, 0.2)

    def close(self):
        """Closes the visible window as a window manager would: exit code 0 and no stray output."""
        found = self.x.windows(self.proc.pid)
        check(len(found) == 1, f"{len(found)} windows visible before closing")
        self.x.close(found[0])
        code = self.proc.wait(10)   # TimeoutExpired fails the case
        self.log.seek(0)
        lines = self.log.read().decode("utf-8", "replace").splitlines()
        check(code == 0, f"exit code {code}; output:\n" + "\n".join(lines))
        stray = [line for line in lines if line.strip() and not ALLOWED.search(line)]
        check(not stray, "unexpected output:\n" + "\n".join(stray))


class Recorder:
    """The private sound server's null sink, recorded; times are places in the recording."""

    def __init__(self):
        self.path, self.heard = os.path.join(TMP, "rec.raw"), []
        fmt = ["--raw", "--format=s16le", f"--rate={RATE}", "--channels=1"]
        # A silent stream keeps the sink running, so the recording keeps pace with the clock; at low
        # latency, or each sound that starts makes the sink rewind past what was recorded, cutting its start.
        PROCS.append(subprocess.Popen(["pacat", *fmt, "--latency-msec=20", "/dev/zero"], stderr=subprocess.DEVNULL))
        with open(self.path, "wb") as out:
            PROCS.append(subprocess.Popen(["parec", "-d", "rec.monitor", *fmt, "--latency-msec=10"], stdout=out,
                                          stderr=subprocess.DEVNULL))
        wait(lambda: os.path.getsize(self.path) > RATE, "parec records")

    def sound(self, click, what, delay, shortest, longest):
        """Clicks, then waits until the sound this causes has died away; keeps when it started."""
        start = os.path.getsize(self.path) // 2
        click()

        def died_away():
            with open(self.path, "rb") as f:
                f.seek(start * 2)
                data = f.read()
            samples = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
            loud = [max(samples[i:i + FRAME]) > LOUD for i in range(0, len(samples) - FRAME, FRAME)]
            on = loud.index(True) if True in loud else len(loud)
            ends = [i for i in range(on, len(loud) - 30) if loud[i] and not any(loud[i + 1:i + 31])]
            return ends and (on * FRAME / RATE, (ends[0] + 1 - on) * FRAME / RATE)
        onset, length = wait(died_away, f"the {what}", longest + 5, 0.05)
        self.heard.append((what, onset, length, delay, shortest, longest))

    def verify(self):
        """Sounds at a click start together with it, up to the sound path's own latency."""
        latency = min(onset for _, onset, _, delay, _, _ in self.heard if delay == 0)
        for what, onset, length, delay, shortest, longest in self.heard:
            print(f"{what}: {(onset - latency) * 1000:.0f} + {latency * 1000:.0f} ms after its click, {length:.2f} s")
            check(delay - 0.08 <= onset - latency <= delay + 0.25, f"{what} not {delay * 1000:.0f} ms after its click")
            check(shortest <= length <= longest, f"{what} lasts {length:.2f} s")


def walk(game, rec, full):
    """Each hand-over, starting from a moved window: the next scene takes the place X gave the last."""
    tap, level_tap = ("tap 300 ms after the start click", 0.3, 0, 0.8), ("level tap", 0, 0, 0.8)
    back, flip = ("back sound", 0, 0, 0.8), ("flip sound", 0, 0.8, 2.5)
    steps = [((150, 90), START, "select", tap), (None, BACK, "menu", back), (None, START, "select", tap),
             ((260, 120), LEVEL_1, "play", level_tap), ((200, 60), coin(*MISS), None, flip),
             (None, BACK, "select", back), (None, BACK, "menu", back)]
    if full:   # and on to a victory; the win sound outlasts the flip by seconds
        steps += [(None, START, "select", tap), (None, LEVEL_1, "play", level_tap),
                  (None, coin(*WIN), None, ("flip and win sound", 0, 4.65, 6.0))]
    window, at = game.scene("menu")
    for move_to, spot, scene, sound in steps:
        at = game.move(window, *move_to) if move_to else at
        rec.sound(lambda: game.x.click(at, spot), *sound) if rec else game.x.click(at, spot)
        if scene:
            window, now = game.scene(scene)
            check(now == at, f"{scene} shown at {now}, where X had the last window at {at}")
            full and game.looks(window, scene)
    return window, at


def start(x, args=()):
    """Launches the game; its main menu stands first, with its title, size and icon: (game, window, [x, y])."""
    game = Game(x, args)
    window, at = game.scene("menu")
    check(b"Icon (200 x 200)" in x.run("xprop", "-id", window, "_NET_WM_ICON"), "no 200x200 window icon")
    game.looks(window, "menu")
    return game, window, at


def case_play(x):
    """Menu, level select, play window, their sounds, a victory and back; no window manager."""
    game, rec = start(x)[0], Recorder()
    window, at = walk(game, rec, True)
    victory, back = picture("LevelCompletedDialogBg.png", (W, 630)), picture("BackButton.png", (50, 50))
    cells = [(px, py) for py in range(0, H, 3) for px in range(0, W, 3) if not (130 < px < 190 and 290 < py < 350)]
    wait(lambda: difference(x.shot(window), victory, W, cells) < 20, "victory picture over the board", 5, 0.2)
    wait(lambda: difference(x.shot(window), back, 50, [(i, j) for i in range(50) for j in range(50)], (135, 294))
         < 25, "back button in the middle", 5, 0.2)
    rec.sound(lambda: x.click(at, MIDDLE_BACK), "back sound", 0, 0, 0.8)
    window, now = game.scene("select")
    check(now == at, f"level select at {now}, the play window was at {at}")
    game.close()
    rec.verify()


def case_close(x):
    """Closed with a hand-over, a neighbour step or a victory drop pending, the game ends with 0."""
    # The first run also gets arguments of the kinds a launcher or a careless user passes.
    for args, spots in [(["--help", "", "-1", "20", "关卡", "x" * 10000], [START]),
                        ([], [START, LEVEL_1, coin(*MISS)]), ([], [START, LEVEL_1, coin(*WIN)])]:
        game, window, at = start(x, args)
        for spot, scene in zip(spots, ["select", "play", None]):
            corner = x.shot(window)[538 * W * 4:]   # the back button glides off as the victory drops
            x.click(at, spot)
            window = game.scene(scene)[0] if spot != spots[-1] else window
        if spots[-1] == coin(*WIN):
            wait(lambda: x.shot(window)[538 * W * 4:] != corner, "victory drop begun")
        game.close()


def ring(x, window, rect):
    """The cream focus ring shows on both sides of the rectangle."""
    def seen():
        shot, y = x.shot(window), rect[1] + rect[3] // 2
        return all(abs(shot[(y * W + px) * 4 + i] - c) <= 24 for px in (rect[0] - 3, rect[0] + rect[2] + 2)
                   for i, c in enumerate((0xFF, 0xF8, 0xEC)))
    return seen


def case_keyboard(x):
    """Level 1 from the keyboard alone: the ring follows the focus, Return and Escape lead back."""
    game, window, _ = start(x)
    check(not ring(x, window, (105, 352, 110, 110))(), "a ring before any key was pressed")
    for keys, scene, focus in [(["Return"], "select", (25, 160, 60, 60)), (["Return"], "play", (62, 198, 46, 44)),
                               (["Right", "Right", "Down", "Down"], "play", (162, 298, 46, 45)),
                               (["space"], "play", (135, 294, 50, 50)), (["Return"], "select", (25, 160, 60, 60)),
                               (["Escape"], "menu", (105, 352, 110, 110))]:
        x.keys(*keys)
        window, _ = game.scene(scene)
        wait(ring(x, window, focus), f"ring at {focus} after {keys}", 5, 0.1)
    game.close()


# One function per case, each on a display of its own; a new case goes here and into CMake's list.
CASES = {"play": (case_play, None), "close": (case_close, None), "keyboard": (case_keyboard, None)}


def main(cases):   # desktop.py runs its cases through this too
    global PROCS, RESDIR, TMP, BINARY, GAME_ENV, BACKGROUND_PICTURES
    if len(sys.argv) != 4 or sys.argv[1] not in cases:
        sys.exit(__doc__)
    PROCS, RESDIR, TMP = [], sys.argv[3], tempfile.mkdtemp(prefix="quenvary-e2e.")
    BINARY = shutil.copy(sys.argv[2], TMP)
    # Sound goes to the private server of with-pulse.sh (or nowhere, run alone); runtime files stay private.
    GAME_ENV = {"XDG_RUNTIME_DIR": TMP, "PULSE_SERVER": os.environ.get("PULSE_SERVER", "unix:" + TMP + "/none")}
    try:
        case, wm = cases[sys.argv[1]]
        x = X(wm)
        BACKGROUND_PICTURES = {k: picture(v, (W, H)) for k, v in BACKGROUNDS.items()}
        case(x)
    except (AssertionError, subprocess.SubprocessError) as failure:
        sys.exit(f"FAIL ({sys.argv[1]}): {failure}")
    finally:
        for proc in reversed(PROCS):   # terminated, so that Xvfb removes its socket and lock
            proc.terminate()
            proc.wait(10)
        shutil.rmtree(TMP, ignore_errors=True)


if __name__ == "__main__":
    main(CASES)
