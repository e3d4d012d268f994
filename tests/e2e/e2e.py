#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end runs of the real quenvary executable on a private X server, driven from outside.
Usage: e2e.py CASE QUENVARY RESDIR, CASE one of CASES below. Exit 0 = pass, 77 = skip.
"""
import array, ctypes, os, re, shutil, signal, socket, subprocess, sys, tempfile, time
from itertools import zip_longest

W, H = 320, 588
TITLES = {"menu": "TavroQuenvary", "select": "选择关卡", "play": "Quenvary"}
START, BACK, MIDDLE_BACK, LEVEL_1 = (160, 407), (295, 563), (160, 319), (55, 190)  # centres in a window
WIN = (2, 2)   # the one click that solves level 1, and the coin two columns off it, which does not
MISS = (0, 2)
# What the game may print: the designed picture-load line, Qt's notes about the environment, and Qt 6's
# on a machine without the player's locale generated (the game needs none of its own).
ALLOWED = re.compile(r'^((".*" )?加载图片失败|QStandardPaths: |quenvary: no sound server could be reached; playing without sound$|'
                     r'qt\.qpa\.xcb: |Detected locale ".*" with character encoding|Qt depends on a UTF-8 locale|'
                     r'If this causes problems, reconfigure|for more information\.$)')
ENGLISH = {"LANG": "en_US.UTF-8", "LC_ALL": "", "LANGUAGE": ""}
SIMPLIFIED = {"LANG": "zh_CN.UTF-8", "LC_ALL": "", "LANGUAGE": ""}   # the design's, as a locale naming none
RATE, FRAME, LOUD = 8000, 40, 30   # recording rate, 5 ms frames, level of a sound (-61 dB)
LAGS = [(0, 0), (1, 0), (2, 0), (0, 1), (0, 2)]
GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "golden")
SCREEN = "1024x768x24"
APP_ID = "io.github.quenvary.Quenvary"


def check(ok, message):
    if not ok:
        raise AssertionError(message)


def wait(predicate, what, deadline=10.0, step=0.02):   # `what` may be a function, asked only on failure
    end = time.monotonic() + deadline
    while not (value := predicate()):
        if time.monotonic() >= end:
            raise AssertionError(f"{what() if callable(what) else what}: not within {deadline:.0f} s")
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

    def __init__(self, wm, dpi=96):
        if not shutil.which("Xvfb") or (wm and not shutil.which(wm)):
            skip(f"Xvfb or {wm} is not installed")
        r, w = os.pipe()
        # 96 dpi: the physical size of a plain monitor (None: Xvfb's own, 100).
        PROCS.append(subprocess.Popen(["Xvfb", "-displayfd", str(w), *(["-dpi", str(dpi)] if dpi else []), "-screen",
                                       "0", SCREEN, "-nolisten", "tcp", "-noreset"], pass_fds=(w,), stderr=subprocess.DEVNULL))
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

    def windows(self, pid):   # the game's viewable top-level windows (clients, under a window manager)
        return self.run("xdotool", "search", "--onlyvisible", "--pid", pid, check=False).decode().split()

    def title(self, window):   # a window seen a moment ago may be gone by now (a closed play window)
        return self.run("xdotool", "getwindowname", window, check=False).decode().strip()

    def geometry(self, window):   # where X has the client window on the root, and its size
        geo = dict(v.split("=") for v in self.run("xdotool", "getwindowgeometry", "--shell", window).decode().split())
        return [int(geo[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")]

    def close(self, window):   # as a window manager's close button, WM_DELETE_WINDOW (xdotool's windowclose destroys)
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


class Game:
    """One run of the game, from a copy of the executable alone in a folder of its own."""

    def __init__(self, x, args=(), env=None, titles=TITLES):
        self.x, self.log, self.titles = x, tempfile.TemporaryFile(), titles
        self.proc = subprocess.Popen([BINARY, *args], cwd=TMP, env={**x.env, **GAME_ENV, **(env or {})},
                                     stdout=self.log, stderr=subprocess.STDOUT)
        PROCS.append(self.proc)

    def scene(self, name, deadline=10):
        """Waits until the scene is the game's one visible window: (window, [x, y])."""
        def alone():
            found = self.x.windows(self.proc.pid)
            return len(found) == 1 and self.x.title(found[0]) == self.titles[name] and found[0]
        window = wait(alone, f'"{self.titles[name]}" shown alone', deadline)
        geometry = self.x.geometry(window)
        check(geometry[2:] == [W, H], f"{name} is {geometry[2]}x{geometry[3]}")
        return window, geometry[:2]

    def move(self, window, x, y):
        """Moves a window as a player drags it; a window manager may shift it by its frame."""
        before = self.x.geometry(window)
        self.x.run("xdotool", "windowmove", window, x, y)
        return wait(lambda: self.x.geometry(window) != before and self.x.geometry(window)[:2], "moved")

    def level(self, at, spot=LEVEL_1):
        """From the menu through the level select into a level: its window."""
        self.x.click(at, START)
        self.scene("select")
        self.x.click(at, spot)
        return self.scene("play")[0]

    def win(self, window, at):
        """Solves level 1 and waits until its victory drops: the time of the click."""
        corner = self.x.shot(window)[538 * W * 4:]   # the back button glides off as the victory drops
        clicked = time.monotonic()
        self.x.click(at, coin(*WIN))
        wait(lambda: self.x.shot(window)[538 * W * 4:] != corner, "victory drop begun")
        return clicked

    def output(self, also=None):
        """Fails on any stray line the game printed; those matching `also` are returned."""
        self.log.seek(0)
        lines = self.log.read().decode("utf-8", "replace").splitlines()
        check(not (stray := [s for s in lines if s.strip() and not ALLOWED.search(s) and not (also and also.search(s))]),
              "unexpected output:\n" + "\n".join(stray))
        return [s for s in lines if also and also.search(s)]

    def close(self, also=None):
        """Closes the visible window as a window manager would: exit code 0 and no stray output."""
        found = self.x.windows(self.proc.pid)
        check(len(found) == 1, f"{len(found)} windows visible before closing")
        self.x.close(found[0])
        code = self.proc.wait(10)   # TimeoutExpired fails the case
        said = self.output(also)   # a crash's own words first
        check(code == 0, f"exit code {code}")
        return said


def audible(samples):
    """The envelope (the largest sample of each 5 ms) from the first to the last loud frame: the same
    measure for a WAV and a recording; and where it begins."""
    env = [max(map(abs, samples[i:i + FRAME])) for i in range(0, len(samples) - FRAME + 1, FRAME)]
    loud = [i for i, v in enumerate(env) if v > LOUD] or [None]
    return env[loud[0]:loud[-1] + 1] if loud[0] is not None else [], loud[0]


def ncc(a, b):
    """Normalised cross-correlation of two envelopes laid from their onsets."""
    a, b = a[:len(b)], b[:len(a)]
    ma, mb = sum(a) / len(a), sum(b) / len(b)
    cov = sum((p - ma) * (q - mb) for p, q in zip(a, b))
    return cov / (sum((p - ma) ** 2 for p in a) * sum((q - mb) ** 2 for q in b)) ** 0.5


def wav(name):
    return array.array("h", run("sox", os.path.join(RESDIR, name + ".wav"), "-t", "raw", "-e", "signed", "-b", "16",
                                "-r", RATE, "-c", "1", "-"))


def sounds():
    """What each event should sound like: the bundle's WAV, or at a victory the flip with the win sound
    started by the neighbour step, 300 ms on within the timer's grain."""
    found = {n: [audible(wav(n))[0]] for n in ("TapButtonSound", "BackButtonSound", "ConFlipSound", "LevelWinSound")}
    flip, win = wav("ConFlipSound"), wav("LevelWinSound")
    mixes = [[max(-32768, min(32767, a + b)) for a, b in zip_longest(flip, [0] * int(d * RATE / 1000) + list(win), fillvalue=0)]
             for d in range(250, 355, 5)]
    found["flip and win"] = [audible(m)[0] for m in mixes]
    return found


class Recorder:
    """The private sound server's null sink, recorded throughout; places are sample counts."""

    def __init__(self):
        self.path, self.events, self.busy = os.path.join(TMP, "rec.raw"), [], 0
        fmt = ["--raw", "--format=s16le", f"--rate={RATE}", "--channels=1"]
        # A silent stream keeps the sink running, so the recording keeps pace with the clock; at low
        # latency, or each sound that starts makes the sink rewind past what was recorded, cutting its start.
        PROCS.append(subprocess.Popen(["pacat", *fmt, "--latency-msec=20", "/dev/zero"], stderr=subprocess.DEVNULL))
        with open(self.path, "wb") as out:
            PROCS.append(subprocess.Popen(["parec", "-d", "rec.monitor", *fmt, "--latency-msec=20"], stdout=out,
                                          stderr=subprocess.DEVNULL))
        wait(lambda: self.now() > RATE, "parec records")
        self.expected = sounds()

    def now(self):
        return os.path.getsize(self.path) // 2

    def sound(self, action, name, delay=0.0, since=0):
        """Acts once the last sound is over; `name` follows `delay` s later (None: untimed) or began `since` s ago."""
        wait(lambda: self.now() > self.busy, "the last sound over")
        self.events.append((self.now() - int(since * RATE), name, delay))
        action()
        self.busy = self.now() + int((delay or 0) * RATE) + len(self.expected[name][-1]) * FRAME + RATE // 4

    def verify(self):
        """Between one event and the next exactly its sound: the same envelope, as long within 20 ms;
        sounds at a click start together with it, up to the sound path's own latency."""
        with open(self.path, "rb") as f:
            rec = array.array("h", f.read()[:self.now() * 2])
        check(not audible(rec[:self.events[0][0]])[0], "a sound before the first event")
        heard = [(name, delay, *audible(rec[pos:end])) for (pos, name, delay), end
                 in zip(self.events, [e[0] for e in self.events[1:]] + [len(rec)])]
        latency = min(onset for _, delay, _, onset in heard if delay == 0 and onset is not None)
        for name, delay, env, onset in heard:
            check(env, f"no {name} heard")
            # Onsets found on a 5 ms grid: the best of lags up to 10 ms either way.
            score, want = max((ncc(env[i:], w[j:]), w) for w in self.expected[name] for i, j in LAGS)
            at = (onset - latency) * FRAME / RATE
            print(f"{name}: {at * 1000:.0f} ms after its action, {len(env) * 5} ms (WAV {len(want) * 5} ms), "
                  f"envelope correlation {score:.3f}", flush=True)
            check(abs(len(env) - len(want)) * FRAME <= RATE // 50, f"{name} lasts {len(env) * 5} ms")
            check(score >= 0.9, f"{name} does not sound like its WAV")
            check(delay is None or delay - 0.08 <= at <= delay + 0.25, f"{name} not {delay} s after its action")


def start(x, args=(), env=None):
    """Launches the game; its main menu stands first, with its title, size and icon: (game, window, [x, y])."""
    game = Game(x, args, env)
    window, at = game.scene("menu")
    check(b"Icon (200 x 200)" in x.run("xprop", "-id", window, "_NET_WM_ICON"), "no 200x200 window icon")
    return game, window, at


def same(x, window, name, settle=0.3, mask=None):
    """The window shows tests/golden/NAME.png once settled, pixel for pixel (its fonts are fixed by the package
    list). `mask` blanks a running clock. QUENVARY_UPDATE_GOLDEN=1 writes the picture."""
    path, last = os.path.join(GOLDEN, name + ".png"), [b""]
    own = os.environ.get("QUENVARY_QT") == "6" and os.path.join(GOLDEN, "qt6", name + ".png")   # where Qt 6 differs

    def masked(pixels):
        s = bytearray(pixels)
        for y in range(mask[1], mask[1] + mask[3]) if mask else ():
            s[(y * W + mask[0]) * 4:(y * W + mask[0] + mask[2]) * 4] = bytes(mask[2] * 4)
        return bytes(s)
    shot = lambda: masked(x.shot(window))

    def save(pixels, to):
        subprocess.run(["convert", "-size", f"{W}x{H}", "-depth", "8", "rgba:-", "-define", "png:exclude-chunks=date,time", to], input=pixels, check=True)
    if os.environ.get("QUENVARY_UPDATE_GOLDEN") == "1":   # once two shots 0.3 s apart agree
        time.sleep(settle)
        while last[0] != (now := shot()):
            last[0] = now
            time.sleep(0.3)
        to = own if own and (os.path.exists(own) or now != run("convert", path, "-depth", "8", "rgba:-")) else path
        if not os.path.exists(to) or now != masked(run("convert", to, "-depth", "8", "rgba:-")):   # unchanged: left as it is
            save(now, to)
        return
    path = own if own and os.path.exists(own) else path
    want = masked(run("convert", path, "-depth", "8", "rgba:-"))   # references with a live clock too
    try:
        wait(lambda: last.__setitem__(0, shot()) or last[0] == want, f"{name} on screen", settle + 5, 0.1)
    except AssertionError:
        seen = os.path.join(tempfile.gettempdir(), f"quenvary-seen-{name.replace('/', '-')}.png")
        save(last[0], seen)
        bad = sum(last[0][i:i + 4] != want[i:i + 4] for i in range(0, len(want), 4))
        raise AssertionError(f"{name}: {bad} pixels differ from its reference; seen: {seen}")


def held(x, game, at, spot, name, scene, mask=None):
    """Held down, the button shows its picture; slid off and let go outside, it does nothing (no
    hand-over here, no sound in the recording)."""
    x.run("xdotool", "mousemove", at[0] + spot[0], at[1] + spot[1], "mousedown", "1")
    same(x, game.scene(scene)[0], name, mask=mask)
    x.run("xdotool", "mousemove", at[0] + 2, at[1] + 2, "mouseup", "1")
    time.sleep(0.4)
    return game.scene(scene)[0]


def case_golden(x):
    """Every scene at rest, each kind of button held, the focus ring on each, victory and defeat landed,
    against reference pictures, on a Simplified Chinese desktop; every sound recognised in the recording."""
    rec, game = Recorder(), Game(x, env=SIMPLIFIED)
    window, at = game.scene("menu")
    clock, level_11 = (110, 428, 120, 25), (195, 330)   # the running countdown; a level of 50 s

    def go(action, scene, sound, delay=0.0):
        rec.sound(action, sound, delay)
        window, now = game.scene(scene)
        check(now == at, f"{scene} shown at {now}, the last window was at {at}")
        return window
    same(x, window, "menu")
    held(x, game, at, START, "menu-start-held", "menu")
    for keys, name in [("Tab", "menu-ring"), (None, "menu"), ("Tab", "menu-ring")]:   # Tab after a mouse press
        x.keys(keys) if keys else x.click(at, (2, 2))
        same(x, window, name)
    window = go(lambda: x.keys("Return"), "select", "TapButtonSound", 0.3)
    same(x, window, "select-ring-level")
    x.keys("shift+Tab")
    same(x, window, "select-ring-back")
    held(x, game, at, LEVEL_1, "select-level-held", "select")
    same(x, window, "select")
    held(x, game, at, BACK, "select-back-held", "select")
    go(lambda: x.click(at, BACK), "menu", "BackButtonSound")
    go(lambda: x.click(at, START), "select", "TapButtonSound", 0.3)
    window = go(lambda: x.click(at, level_11), "play", "TapButtonSound")
    same(x, window, "play", mask=clock)
    held(x, game, at, BACK, "play-back-held", "play", clock)
    held(x, game, at, coin(*MISS), "play-coin-held", "play", clock)
    same(x, window, "play", mask=clock)   # no coin turned
    for keys, name in [(["Right"], "play-ring-coin"), (["Left", "Up", "Up", "shift+Tab"], "play-ring-back")]:
        x.keys(*keys)
        same(x, window, name, mask=clock)
    rec.sound(lambda: x.click(at, coin(*MISS)), "ConFlipSound")
    go(lambda: x.click(at, BACK), "select", "BackButtonSound")
    window, opened = go(lambda: x.click(at, LEVEL_1), "play", "TapButtonSound"), rec.now()
    same(x, window, "defeat", 13)   # 11 s after the level opened; its drop lasts 1.5 s
    rec.sound(lambda: None, "LevelWinSound", None, (rec.now() - opened) / RATE - 10.3)   # from before it
    held(x, game, at, MIDDLE_BACK, "defeat-back-held", "play")
    go(lambda: x.click(at, MIDDLE_BACK), "select", "BackButtonSound")
    window = go(lambda: x.keys("Return"), "play", "TapButtonSound")
    x.keys("Right", "Right", "Down", "Down")
    rec.sound(lambda: x.keys("space"), "flip and win")
    same(x, window, "victory-ring", 2.5, clock)   # the clock shows through; stopped at 0 to 1 s in
    x.click(at, (2, 2))
    same(x, window, "victory", mask=clock)
    held(x, game, at, MIDDLE_BACK, "victory-back-held", "play", clock)
    go(lambda: x.click(at, MIDDLE_BACK), "select", "BackButtonSound")
    go(lambda: x.click(at, BACK), "menu", "BackButtonSound")
    game.close()
    rec.verify()


def case_english(x):
    """Under LANG=en_US.UTF-8: menu, level select, a level and its victory in English, titles and
    pictures alike. The menu and the level select match the unit tests' English references; X edges
    the level label's white glyphs otherwise, so the play window has its own (e2e-*), the clock masked."""
    game = Game(x, env=ENGLISH, titles=dict(TITLES, select="Choose a Level"))
    window, at = game.scene("menu")
    same(x, window, "en/menu")
    for spot, scene, name in [(START, "select", "en/select"), ((195, 470), "play", "en/e2e-play"), (BACK, "select", None),
                              (LEVEL_1, "play", None), (coin(*WIN), None, "en/e2e-victory"), (MIDDLE_BACK, "select", None),
                              (BACK, "menu", None)]:   # level 19, then level 1 won
        x.click(at, spot)
        window = game.scene(scene)[0] if scene else window
        name and same(x, window, name, 0.3 if scene else 2.5, (110, 428, 120, 25) if "e2e" in name else None)
    game.close()


def case_close(x):
    """Closed with a hand-over, a neighbour step or a victory drop pending, the game ends with 0."""
    # The first run also gets arguments of the kinds a launcher or a careless user passes.
    game, _, at = start(x, ["", "20", "关卡", "x" * 10000])
    x.click(at, START)
    game.close()
    game, _, at = start(x)
    game.level(at)
    x.click(at, coin(*MISS))
    game.close()
    game, _, at = start(x)
    game.win(game.level(at), at)
    game.close()


def restore(x):
    """Under a window manager, a scene minimised and restored keeps its focus and ring (desktop.py runs it)."""
    game, _, at = start(x)
    x.click(at, START)
    window = game.scene("select")[0]
    x.keys("Right", "Right")
    time.sleep(0.5)
    before = x.shot(window)
    x.run("xdotool", "windowminimize", "--sync", window)
    x.run("xdotool", "windowactivate", "--sync", window)
    wait(lambda: x.shot(window) == before, "the ring on level 3 after a restore", 5, 0.2)
    x.click(at, BACK)
    game.scene("menu")
    game.close()


def case_progress(x):
    """Level 1 solved from the keyboard outlives the game: after a restart its badge shows and the keyboard
    starts on level 2. A game killed as its victory shows has kept it; a broken settings place costs one line."""
    def kept(config):   # level 1's time as the file has it, or None
        path = os.path.join(config, APP_ID, "progress.ini")
        found = os.path.exists(path) and re.search(r"^\[level1\]\nbestTenths=(\d+)\nsolved=true$", open(path).read(), re.M)
        return found and int(found.group(1))
    config = GAME_ENV["XDG_CONFIG_HOME"]
    game, window, at = start(x)
    for key, scene in [("Return", "select"), ("Return", "play")]:
        x.keys(key)
        window = game.scene(scene)[0]
    x.keys("Right", "Right", "Down", "Down", "space")
    tenths = wait(lambda: kept(config), "level 1 kept")
    check(3 <= tenths <= 100, f"level 1 kept with {tenths} tenths of a second")
    x.keys("Return")   # the back button has the focus
    game.scene("select")
    game.close()
    game, window, at = start(x)
    x.keys("Return")
    same(x, game.scene("select")[0], "select-solved-ring")   # the badge on 1, the ring on 2
    game.close()

    # kill -9 as soon as the victory picture moves: the win is on disk already.
    killed = os.path.join(TMP, "killed")
    game, window, at = start(x, env={"XDG_CONFIG_HOME": killed})
    game.win(game.level(at), at)
    os.kill(game.proc.pid, signal.SIGKILL)
    game.proc.wait(10)
    check(kept(killed), "the victory was lost to kill -9")

    # Another copy holds the file's lock (as QLockFile writes it) through a victory, and the game is closed
    # at once: the victory still drops on time, and the game ends only once the win is written.
    held, holder = os.path.join(TMP, "held"), subprocess.Popen(["sleep", "60"])
    PROCS.append(holder)
    os.makedirs(os.path.join(held, APP_ID))
    lock = os.path.join(held, APP_ID, "progress.ini.merge-lock")
    open(lock, "w").write(f"{holder.pid}\nsleep\n{socket.gethostname()}\n")
    game, window, at = start(x, env={"XDG_CONFIG_HOME": held})
    window = game.level(at)
    clicked = game.win(window, at)
    check(time.monotonic() - clicked < 1.5, f"the victory dropped {time.monotonic() - clicked:.1f} s after the click")
    x.close(window)
    time.sleep(1)
    check(game.proc.poll() is None and not kept(held), "the game ended before its win was written")
    os.remove(lock)
    check(game.proc.wait(10) == 0 and kept(held), "the win was not written once the lock was free")

    # The game's settings folder a regular file: it plays on and says so in one line, however often it wins.
    blocked = os.path.join(TMP, "blocked")
    os.makedirs(blocked)
    open(os.path.join(blocked, APP_ID), "w").close()
    game, window, at = start(x, env={"XDG_CONFIG_HOME": blocked})
    x.click(at, START)
    game.scene("select")
    for _ in range(2):
        x.click(at, LEVEL_1)
        window = game.scene("play")[0]
        x.click(at, coin(*WIN))
        time.sleep(2)   # the victory has landed
        x.click(at, MIDDLE_BACK)
        game.scene("select")
    said = game.close(re.compile(r"^Quenvary: "))
    check(len(said) == 1 and "not kept" in said[0], f"the broken place told {said}")


def case_actions(x):
    """Under a window manager, the play window's actions by key and by its menu: restart and next take the
    old window's place, pause holds the countdown and a minimised level is paused, a hinted win is solved
    without a time, and a shown solution ends with every coin gold."""
    clock = lambda window: x.shot(window)[428 * W * 4:453 * W * 4]   # the countdown's row of the window
    board = lambda window: x.shot(window)[194 * W * 4:394 * W * 4]
    game, window, at = start(x)
    window = game.level(at)
    at = game.move(window, 150, 90)
    place = x.geometry(window)

    def handed_over(keys, menu=False):   # a fresh play window, where the old one was
        nonlocal window
        old = window
        if menu:   # drawn inside the window, its first entry chosen
            shown = x.shot(old)
            x.keys("Menu")
            wait(lambda: x.shot(old) != shown, "the menu open")
        x.keys(*keys)
        window = wait(lambda: x.windows(game.proc.pid) != [old] and len(x.windows(game.proc.pid)) == 1
                      and x.windows(game.proc.pid)[0], "a new play window")
        check(x.title(window) == TITLES["play"] and x.geometry(window) == place,
              f"{x.title(window)} at {x.geometry(window)}, not {place}")

    handed_over(["F5"])
    handed_over(["n"])
    handed_over(["Return"], menu=True)   # the menu's first entry restarts
    handed_over(["Down", "Down", "Return"], menu=True)   # its third, the level before: level 1 again
    time.sleep(1.5)

    x.keys("p")
    paused = clock(window)
    time.sleep(3)
    check(clock(window) == paused, "the countdown moved while paused")
    covered = board(window)
    x.keys("p")
    wait(lambda: clock(window) != paused, "the countdown going on", 1.5)
    check(board(window) != covered, "the pause card stayed")

    x.run("xdotool", "windowminimize", "--sync", window)
    x.run("xdotool", "windowactivate", "--sync", window)
    wait(lambda: board(window) == covered, "paused after minimising", 5, 0.2)
    stopped = clock(window)
    time.sleep(1.5)
    check(clock(window) == stopped, "the countdown moved after minimising")
    x.click(at, coin(1, 1))   # on the card: resumes, and plays no coin

    x.keys("h")
    time.sleep(0.3)
    x.click(at, coin(*WIN))
    path = os.path.join(GAME_ENV["XDG_CONFIG_HOME"], APP_ID, "progress.ini")
    wait(lambda: os.path.exists(path), "the hinted win kept")
    kept = open(path).read()
    check("[level1]\nsolved=true\n" in kept and "bestTenths" not in kept, f"kept after a hint:\n{kept}")

    time.sleep(2)   # the victory has landed
    x.keys("s")
    gold = lambda shot: all(shot[(y * W + cx) * 4] - shot[(y * W + cx) * 4 + 2] > 60   # one shot of the board at a time
                            for cx, y in (coin(c, r) for c in range(4) for r in range(4)))
    wait(lambda: not gold(x.shot(window)), "the board back at its start", 1.0, 0.05)   # its one press comes at 0.8 s
    wait(lambda: gold(x.shot(window)), "every coin gold after the shown solution", 5, 0.2)
    x.keys("ctrl+q")
    code = game.proc.wait(10)
    check(code == 0, f"Ctrl+Q ended with {code}")


# One function per case, each on a display of its own; a new case goes here and into CMake's list.
CASES = {"golden": (case_golden, None), "close": (case_close, None), "english": (case_english, None),
         "progress": (case_progress, None), "actions": (case_actions, "openbox")}


def main(cases):   # desktop.py runs its cases through this too
    global PROCS, RESDIR, TMP, BINARY, GAME_ENV
    if len(sys.argv) != 4 or sys.argv[1] not in cases:
        sys.exit(__doc__)
    PROCS, RESDIR, TMP = [], sys.argv[3], tempfile.mkdtemp(prefix="quenvary-e2e.")
    BINARY = shutil.copy(sys.argv[2], TMP)
    # Sound goes to the private server of with-sound.sh (or nowhere, run alone); runtime files and settings
    # stay private. The design's language, whatever the machine speaks, unless a case chooses one.
    GAME_ENV = {"XDG_RUNTIME_DIR": TMP, "PULSE_SERVER": os.environ.get("PULSE_SERVER", "unix:" + TMP + "/none"),
                "XDG_CONFIG_HOME": os.path.join(TMP, "config"), "LC_ALL": "C.UTF-8", "LANGUAGE": ""}
    try:
        case, wm = cases[sys.argv[1]]
        x = X(*wm) if isinstance(wm, tuple) else X(wm)
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
