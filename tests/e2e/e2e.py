#!/usr/bin/env python3
"""End-to-end checks of the real quenvary binary on a private X server, without a window manager.

Usage: e2e.py CASE QUENVARY RESDIR WMCLOSE SOLVE
CASE is one of: scenes, close, args, sound, keyboard, atspi. Exit 0 = pass, 77 = skip, anything else = fail.
"""
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import wave

SKIP = 77
W, H = 320, 588
START = (105, 352, 110, 110)
BACK = (270, 538, 50, 50)
MIDDLE_BACK = (135, 294, 50, 50)
TITLES = {"menu": "TavroQuenvary", "select": "选择关卡", "play": "Quenvary"}
BACKGROUNDS = {"menu": "MenuSceneBg.png", "select": "OtherSceneBg.png", "play": "PlayLevelSceneBg.png"}

# What the game may print: the designed picture-load line and Qt's own warnings about
# the environment (no session bus, sound server, runtime dir).
ALLOWED_OUTPUT = [
    re.compile(r'^(".*" )?加载图片失败$'),
    re.compile(r"^QStandardPaths: "),
    re.compile(r"^PulseAudioService: "),
    re.compile(r"^qt\.qpa\.xcb: "),
]


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def poll(predicate, deadline_s, interval_s=0.02):
    """Returns the first truthy value of predicate(), or None once the deadline has passed."""
    end = time.monotonic() + deadline_s
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= end:
            return None
        time.sleep(interval_s)


class Display:
    """A private Xvfb on a display number it picks itself."""

    def __init__(self):
        read_fd, write_fd = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset"], pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        ready, _, _ = select.select([read_fd], [], [], 20)
        if ready:
            while not number.endswith(b"\n"):
                chunk = os.read(read_fd, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_fd)
        if not number.strip():
            self.close()
            raise Failure("Xvfb did not start")
        self.name = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.name)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.root = int(self.run(["xwininfo", "-root"]).split("Window id:")[1].split()[0], 16)

    def run(self, args, **kw):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=True,
                              timeout=20, **kw).stdout

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(10)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()

    # Windows: the viewable children of the root, as X sees them.
    def visible_windows(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--maxdepth", "1", "--name", ""],
                             env=self.env, capture_output=True, text=True, timeout=20).stdout
        return [int(w) for w in out.split() if int(w) != self.root]

    def title(self, window):
        # A window listed a moment ago may be gone by now (a closed play window).
        try:
            return self.run(["xdotool", "getwindowname", str(window)]).strip()
        except subprocess.CalledProcessError:
            return None

    def geometry(self, window):
        values = dict(line.split("=", 1) for line in
                      self.run(["xdotool", "getwindowgeometry", "--shell", str(window)]).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def icon_size(self, window):
        out = self.run(["xprop", "-id", str(window), "_NET_WM_ICON"])
        found = re.search(r"Icon \((\d+) x (\d+)\)", out)
        return (int(found.group(1)), int(found.group(2))) if found else None

    def click(self, x, y):
        self.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"])

    def screenshot(self, x, y, w, h):
        """RGB rows of the screen rectangle, read back from the X server."""
        data = subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                               "-depth", "8", "rgb:-"], env=self.env, capture_output=True,
                              check=True, timeout=30).stdout
        check(len(data) == w * h * 3, f"screenshot of {w}x{h} gave {len(data)} bytes")
        return Image(w, h, data, 3)


class Image:
    def __init__(self, w, h, data, channels):
        self.w, self.h, self.data, self.channels = w, h, data, channels

    def pixel(self, x, y):
        i = (y * self.w + x) * self.channels
        return self.data[i:i + self.channels]


def load_picture(path, size=None):
    """RGBA of a picture file, scaled to size if given."""
    args = ["convert", path]
    if size:
        args += ["-resize", f"{size[0]}x{size[1]}!"]
    info = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True, text=True,
                          check=True).stdout.split()
    w, h = size or (int(info[0]), int(info[1]))
    data = subprocess.run(args + ["-depth", "8", "rgba:-"], capture_output=True, check=True).stdout
    return Image(w, h, data, 4)


def difference(shot, picture, at, cells, opaque_only=False):
    """Mean absolute channel difference between the screen and a picture placed at `at`,
    over the given (x, y) cells of the picture."""
    total = 0
    count = 0
    for px, py in cells:
        sx, sy = px + at[0], py + at[1]
        if not (0 <= sx < shot.w and 0 <= sy < shot.h):
            continue
        p = picture.pixel(px, py)
        if opaque_only and p[3] != 255:
            continue
        s = shot.pixel(sx, sy)
        total += abs(s[0] - p[0]) + abs(s[1] - p[1]) + abs(s[2] - p[2])
        count += 3
    return total / count if count else 255.0


class Game:
    """One quenvary process on the display, its output collected in a file."""

    def __init__(self, display, binary, args=(), extra_env=None):
        self.display = display
        self.log = tempfile.TemporaryFile()
        env = dict(display.env)
        env.update(extra_env or {})
        self.proc = subprocess.Popen([binary, *args], env=env, stdout=self.log, stderr=subprocess.STDOUT)
        self.window = None

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def output(self):
        self.log.seek(0)
        return self.log.read().decode("utf-8", "replace")

    def scene_window(self, deadline_s=10):
        """The one visible window, once there is exactly one."""
        def single():
            windows = self.display.visible_windows()
            return windows if len(windows) == 1 else None
        windows = poll(single, deadline_s)
        check(windows, f"expected exactly one visible window, saw {self.display.visible_windows()}")
        return windows[0]

    def wait_for_title(self, title, deadline_s):
        def shown():
            windows = self.display.visible_windows()
            if len(windows) == 1 and self.display.title(windows[0]) == title:
                return windows[0]
            return None
        window = poll(shown, deadline_s)
        check(window, f'"{title}" not shown alone within {deadline_s} s; visible: '
                      f"{[self.display.title(w) for w in self.display.visible_windows()]}")
        return window

    def close(self, wmclose, deadline_s=10):
        """Closes the visible window as a window manager would; the game must end with 0."""
        windows = self.display.visible_windows()
        check(len(windows) == 1, f"{len(windows)} windows visible before closing")
        subprocess.run([wmclose, str(windows[0])], env=self.display.env, check=True, timeout=20)
        try:
            code = self.proc.wait(deadline_s)
        except subprocess.TimeoutExpired:
            self.kill()
            raise Failure(f"still running {deadline_s} s after its window was closed")
        check(code == 0, f"exit code {code}; output:\n{self.output()}")
        stray = [line for line in self.output().splitlines()
                 if line.strip() and not any(p.search(line) for p in ALLOWED_OUTPUT)]
        check(not stray, "unexpected output:\n" + "\n".join(stray))


class Pictures:
    def __init__(self, resdir):
        self.resdir = resdir
        self.backgrounds = {k: load_picture(os.path.join(resdir, v), (W, H)) for k, v in BACKGROUNDS.items()}
        self.victory = load_picture(os.path.join(resdir, "LevelCompletedDialogBg.png"))
        self.defeat = load_picture(os.path.join(resdir, "shibai.png"))
        self.back = load_picture(os.path.join(resdir, "BackButton.png"))
        # Cells where the two end pictures are both opaque and clearly different tell them apart.
        self.end_cells = []
        for y in range(0, H, 2):
            for x in range(0, W, 2):
                if MIDDLE_BACK[0] - 2 <= x < MIDDLE_BACK[0] + 52 and MIDDLE_BACK[1] - 2 <= y < MIDDLE_BACK[1] + 52:
                    continue
                v, d = self.victory.pixel(x, y), self.defeat.pixel(x, y)
                if v[3] == 255 and d[3] == 255 and sum(abs(v[i] - d[i]) for i in range(3)) > 90:
                    self.end_cells.append((x, y))
        check(len(self.end_cells) > 50, "victory and defeat pictures are too alike to tell apart")
        self.back_cells = [(x, y) for y in range(50) for x in range(50)]
        # Bands free of widgets in every scene; the level select's heading lies in the second.
        self.free_cells = [(x, y) for y in range(0, 70, 2) for x in range(0, W, 2)] + \
                          [(x, y) for y in range(106, 156, 2) for x in range(0, W, 2)] + \
                          [(x, y) for y in range(545, H, 2) for x in range(0, 260, 2)]

    def scene_of(self, shot):
        """The scene whose background the screen shows best, and how far off it is."""
        scores = {k: difference(shot, bg, (0, 0), self.free_cells) for k, bg in self.backgrounds.items()}
        best = min(scores, key=scores.get)
        return best, scores

    def end_picture(self, shot):
        v = difference(shot, self.victory, (0, 0), self.end_cells, True)
        d = difference(shot, self.defeat, (0, 0), self.end_cells, True)
        return v, d

    def back_at(self, shot, x, y):
        return difference(shot, self.back, (x, y), self.back_cells, True)


def window_shot(display, window):
    x, y, w, h = display.geometry(window)
    return display.screenshot(x, y, w, h)


def expect_scene(display, pictures, window, scene):
    check(display.title(window) == TITLES[scene], f"title {display.title(window)!r}, expected {TITLES[scene]!r}")
    def drawn():
        best, scores = pictures.scene_of(window_shot(display, window))
        return (best, scores) if best == scene and scores[scene] < 25 else None
    found = poll(drawn, 5, 0.1)
    check(found, f"{scene} background not on screen: {pictures.scene_of(window_shot(display, window))}")


def minimal_clicks(solver, level):
    out = subprocess.run([solver, str(level)], capture_output=True, text=True, check=True, timeout=20).stdout
    return [tuple(int(v) for v in pair.split(",")) for pair in out.split()]


def coin_centre(window_pos, column, row):
    return window_pos[0] + 62 + 50 * column + 23, window_pos[1] + 198 + 50 * row + 22


def level_centre(window_pos, index):
    return window_pos[0] + 25 + 70 * (index % 4) + 30, window_pos[1] + 160 + 70 * (index // 4) + 30


def start_centre(window_pos):
    return window_pos[0] + START[0] + 55, window_pos[1] + START[1] + 55


def back_centre(window_pos, rect=BACK):
    return window_pos[0] + rect[0] + 25, window_pos[1] + rect[1] + 25


def to_level_select(display, game, pictures):
    menu = game.wait_for_title(TITLES["menu"], 10)
    pos = display.geometry(menu)
    clicked = time.monotonic()
    display.click(*start_centre(pos))
    select_window = game.wait_for_title(TITLES["select"], 3)
    return menu, select_window, time.monotonic() - clicked


# ---------------------------------------------------------------------------------------------

def case_scenes(display, binary, pictures, wmclose, solver, env):
    game = Game(display, binary, extra_env=env)
    try:
        menu = game.scene_window()
        check(display.title(menu) == "TavroQuenvary", f"title {display.title(menu)!r}")
        geometry = display.geometry(menu)
        check(geometry[2:] == (W, H), f"main menu is {geometry[2]}x{geometry[3]}")
        check(display.icon_size(menu) == (200, 200), f"icon {display.icon_size(menu)}")
        expect_scene(display, pictures, menu, "menu")
        # Moved first, so that "the same place" is not just the corner where X puts new windows.
        display.run(["xdotool", "windowmove", "--sync", str(menu), "150", "90"])
        geometry = poll(lambda: display.geometry(menu) if display.geometry(menu)[:2] == (150, 90) else None, 5)
        check(geometry, "the main menu did not move")

        # The start button: the menu stays for about 300 ms, then the level select takes its place.
        clicked = time.monotonic()
        display.click(*start_centre(geometry))
        time.sleep(0.1)
        check(display.visible_windows() == [menu], "the main menu left before its 300 ms")
        select_window = game.wait_for_title(TITLES["select"], 3)
        delay = time.monotonic() - clicked
        print(f"level select shown {delay * 1000:.0f} ms after the start click")
        check(0.27 <= delay <= 1.5, f"level select came after {delay * 1000:.0f} ms")
        check(display.geometry(select_window) == geometry,
              f"level select at {display.geometry(select_window)}, menu was at {geometry}")
        check(display.icon_size(select_window) == (200, 200), "level select has no icon")
        expect_scene(display, pictures, select_window, "select")

        # Back to the main menu, in the same place.
        display.click(*back_centre(geometry))
        menu = game.wait_for_title(TITLES["menu"], 3)
        check(display.geometry(menu) == geometry, f"main menu back at {display.geometry(menu)}")
        expect_scene(display, pictures, menu, "menu")

        # Level 1 solved with its fewest clicks.
        display.click(*start_centre(geometry))
        select_window = game.wait_for_title(TITLES["select"], 3)
        display.click(*level_centre(geometry, 0))
        play = game.wait_for_title(TITLES["play"], 3)
        check(display.geometry(play) == geometry, f"play window at {display.geometry(play)}")
        expect_scene(display, pictures, play, "play")
        clicks = minimal_clicks(solver, 1)
        check(clicks, "no solution for level 1")
        for n, (column, row) in enumerate(clicks):
            display.click(*coin_centre(geometry, column, row))
            if n + 1 < len(clicks):
                time.sleep(0.6)   # the board is locked for 300 ms, the neighbours turn 240 ms more

        def victory_shown():
            shot = window_shot(display, play)
            v, d = pictures.end_picture(shot)
            back = pictures.back_at(shot, MIDDLE_BACK[0], MIDDLE_BACK[1])
            return (v, d, back) if v < 20 and d > v + 20 and back < 25 else None
        shown = poll(victory_shown, 6, 0.1)
        shot = window_shot(display, play)
        check(shown, f"victory not shown (victory/defeat/back differences "
                     f"{pictures.end_picture(shot)} {pictures.back_at(shot, *MIDDLE_BACK[:2])})")
        print(f"victory picture and middle back button: differences {shown}")

        # The back button in the middle returns to the level select.
        display.click(*back_centre(geometry, MIDDLE_BACK))
        select_window = game.wait_for_title(TITLES["select"], 3)
        check(display.geometry(select_window) == geometry, "level select not where the play window was")
        expect_scene(display, pictures, select_window, "select")

        # Level 1 left alone: the defeat drops in about 11 s after the level opened.
        display.click(*level_centre(geometry, 0))
        opened = time.monotonic()
        play = game.wait_for_title(TITLES["play"], 3)

        def defeat_state():
            v, d = pictures.end_picture(window_shot(display, play))
            return d
        while time.monotonic() - opened < 10.0:
            d = defeat_state()
            check(d > 40, f"defeat picture visible {time.monotonic() - opened:.1f} s after opening")
            time.sleep(0.5)

        def defeat_shown():
            shot = window_shot(display, play)
            v, d = pictures.end_picture(shot)
            back = pictures.back_at(shot, MIDDLE_BACK[0], MIDDLE_BACK[1])
            return time.monotonic() if d < 20 and v > d + 20 and back < 25 else None
        at = poll(defeat_shown, 8, 0.1)
        check(at, "defeat picture never settled with the back button in the middle")
        after = at - opened
        print(f"defeat picture in place {after:.1f} s after the level opened")
        # The drop starts at 11 s and lasts 1.5 s; its bounces first touch the top at about 11.5 s.
        check(11.0 <= after <= 14.5, f"defeat in place after {after:.1f} s")
        game.close(wmclose)
    finally:
        game.kill()


def case_close(display, binary, pictures, wmclose, solver, env):
    """Closing at every scene, also with delays and animations pending, ends with exit code 0."""
    def menu_idle(game, pos):
        pass

    def menu_hand_over_pending(game, pos):
        display.click(*start_centre(pos))
        time.sleep(0.05)

    def select_idle(game, pos):
        to_level_select(display, game, pictures)

    def select_back_pending(game, pos):
        to_level_select(display, game, pictures)
        display.click(*back_centre(pos))
        time.sleep(0.05)

    def play_move_pending(game, pos):
        to_level_select(display, game, pictures)
        display.click(*level_centre(pos, 4))
        game.wait_for_title(TITLES["play"], 3)
        display.click(*coin_centre(pos, 1, 1))
        time.sleep(0.1)

    def play_back_pending(game, pos):
        to_level_select(display, game, pictures)
        display.click(*level_centre(pos, 7))
        game.wait_for_title(TITLES["play"], 3)
        display.click(*coin_centre(pos, 2, 2))
        display.click(*back_centre(pos))
        time.sleep(0.05)

    def play_victory_dropping(game, pos):
        to_level_select(display, game, pictures)
        display.click(*level_centre(pos, 0))
        game.wait_for_title(TITLES["play"], 3)
        for column, row in minimal_clicks(solver, 1):
            display.click(*coin_centre(pos, column, row))
        time.sleep(0.8)   # 300 ms to the victory, then half a second into the drop

    for case in (menu_idle, menu_hand_over_pending, select_idle, select_back_pending,
                 play_move_pending, play_back_pending, play_victory_dropping):
        game = Game(display, binary, extra_env=env)
        try:
            pos = display.geometry(game.wait_for_title(TITLES["menu"], 10))
            case(game, pos)
            game.close(wmclose)
            print(f"{case.__name__}: closed, exit code 0")
        except Failure as failure:
            raise Failure(f"{case.__name__}: {failure}")
        finally:
            game.kill()
        poll(lambda: not display.visible_windows(), 5)


def generated_arguments(count):
    """Argument vectors of the kinds a launcher or a careless user may pass."""
    import random
    rng = random.Random(5)
    pools = [
        lambda: "",
        lambda: "--help",
        lambda: "-h",
        lambda: "--version",
        lambda: str(rng.randint(-10**12, 10**12)),
        lambda: "%d.%d" % (rng.randint(0, 999), rng.randint(0, 999)),
        lambda: "x" * rng.randint(1000, 20000),
        lambda: "关卡" * rng.randint(1, 500),
        lambda: "".join(rng.choice("äöü€✓🪙\u200b\t ") for _ in range(rng.randint(1, 60))),
        lambda: "--level=" + str(rng.randint(0, 99)),
        lambda: "/nonexistent/" + "dir/" * rng.randint(1, 100) + "file.png",
        lambda: "-" * rng.randint(1, 5),
        lambda: ":/res/Coin0001.png",
    ]
    vectors = [["--help"], [""], ["", ""], ["x" * 100000], ["0"], ["-1"], ["20"], ["99999999999999999999"]]
    while len(vectors) < count:
        vectors.append([rng.choice(pools)() for _ in range(rng.randint(1, 8))])
    return vectors[:count]


def case_args(display, binary, pictures, wmclose, solver, env):
    vectors = generated_arguments(50)
    for n, args in enumerate(vectors):
        game = Game(display, binary, args, extra_env=env)
        try:
            menu = game.scene_window()
            check(display.title(menu) == TITLES["menu"], f"title {display.title(menu)!r}")
            check(display.geometry(menu)[2:] == (W, H), f"size {display.geometry(menu)[2:]}")
            expect_scene(display, pictures, menu, "menu")
            game.close(wmclose)
        except Failure as failure:
            shown = [a if len(a) < 40 else a[:37] + "..." for a in args]
            raise Failure(f"arguments #{n} {shown}: {failure}")
        finally:
            game.kill()
    print(f"{len(vectors)} argument vectors: main menu shown, exit code 0 on close")


# --- sound ------------------------------------------------------------------------------------

RATE = 8000
FRAME_MS = 5


def envelope(samples):
    """Mean absolute level per FRAME_MS frame."""
    step = RATE * FRAME_MS // 1000
    return [sum(abs(v) for v in samples[i:i + step]) / step for i in range(0, len(samples) - step + 1, step)]


def onsets(env_levels, threshold, quiet_frames=20):
    """Frame indices where the level rises above threshold after at least quiet_frames of quiet."""
    found = []
    quiet = quiet_frames
    for i, level in enumerate(env_levels):
        if level >= threshold:
            if quiet >= quiet_frames:
                found.append(i)
            quiet = 0
        else:
            quiet += 1
    return found


def case_sound(display, binary, pictures, wmclose, solver, env):
    for tool in ("pulseaudio", "pactl", "parec"):
        if not shutil.which(tool):
            print(f"SKIP: {tool} is not installed")
            return SKIP
    workdir = tempfile.mkdtemp(prefix="quenvary-sound.")
    daemon = None
    recorder = None
    keeper = None
    game = None
    try:
        os.makedirs(os.path.join(workdir, "run"))
        socket = os.path.join(workdir, "sock")
        penv = dict(display.env, HOME=workdir, XDG_RUNTIME_DIR=os.path.join(workdir, "run"),
                    PULSE_RUNTIME_PATH=os.path.join(workdir, "run"), PULSE_SERVER="unix:" + socket)
        penv.pop("DBUS_SESSION_BUS_ADDRESS", None)
        daemon = subprocess.Popen(
            ["pulseaudio", "--system=false", "-n", "--daemonize=no", "--exit-idle-time=-1",
             "--use-pid-file=false", "--log-target=file:" + os.path.join(workdir, "pulse.log"),
             "-L", f"module-null-sink sink_name=rec rate=44100 channels=1",
             "-L", f"module-native-protocol-unix auth-anonymous=1 socket={socket}"],
            env=penv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        up = poll(lambda: subprocess.run(["pactl", "info"], env=penv, capture_output=True).returncode == 0
                  or daemon.poll() is not None, 15, 0.1)
        if not up or daemon.poll() is not None:
            print("SKIP: the private PulseAudio daemon did not start")
            return SKIP
        subprocess.run(["pactl", "set-default-sink", "rec"], env=penv, capture_output=True)

        # A silent stream keeps the null sink running, so its monitor delivers a steady stream.
        keeper = subprocess.Popen(["pacat", "--raw", "--format=s16le", f"--rate={RATE}", "--channels=1",
                                   "/dev/zero"], env=penv, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        raw = os.path.join(workdir, "rec.raw")
        out = open(raw, "wb")
        recorder = subprocess.Popen(["parec", "-d", "rec.monitor", "--raw", "--format=s16le",
                                     f"--rate={RATE}", "--channels=1", "--latency-msec=10"],
                                    env=penv, stdout=out, stderr=subprocess.DEVNULL)
        check(poll(lambda: os.path.getsize(raw) > RATE, 10, 0.05), "parec records nothing")

        def recorded_s():
            """Where the recording stands now, in seconds: clicks are placed on its own time line."""
            return os.path.getsize(raw) / 2 / RATE

        events = {}
        game = Game(display, binary, extra_env=dict(penv, **env))
        menu = game.wait_for_title(TITLES["menu"], 10)
        pos = display.geometry(menu)
        time.sleep(1.0)   # the samples load; a sound played before that would start late
        events["start click"] = recorded_s()
        display.click(*start_centre(pos))
        game.wait_for_title(TITLES["select"], 3)
        time.sleep(1.5)
        display.click(*level_centre(pos, 1))   # level 2: a first move that does not win
        game.wait_for_title(TITLES["play"], 3)
        time.sleep(2.0)
        events["coin click"] = recorded_s()
        display.click(*coin_centre(pos, 0, 0))
        time.sleep(2.5)
        display.click(*back_centre(pos))
        game.wait_for_title(TITLES["select"], 3)
        display.click(*level_centre(pos, 0))
        game.wait_for_title(TITLES["play"], 3)
        time.sleep(2.0)
        clicks = minimal_clicks(solver, 1)
        check(len(clicks) == 1, f"level 1 takes {len(clicks)} clicks")
        events["winning click"] = recorded_s()
        display.click(*coin_centre(pos, *clicks[0]))
        time.sleep(5.5)
        game.close(wmclose)
        recorder.terminate()
        recorder.wait(10)
        out.close()
        keeper.terminate()
        keeper.wait(10)

        with open(raw, "rb") as f:
            data = f.read()
        samples = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
        levels = envelope(samples)
        peak = max(levels) if levels else 0
        check(peak > 200, f"recording is silent (peak level {peak:.0f})")

        # The recording lags the clicks by the sound path's latency; the flip at a coin click
        # has none by design, so its onset measures it.
        all_onsets = [o * FRAME_MS / 1000 for o in onsets(levels, peak * 0.08)]
        print("clicks at " + ", ".join(f"{k} {v:.3f} s" for k, v in events.items())
              + "; sound onsets at " + ", ".join(f"{o:.3f}" for o in all_onsets))
        coin_t = events["coin click"]
        flips = [o for o in all_onsets if coin_t - 0.05 <= o <= coin_t + 0.5]
        check(flips, f"no sound within 500 ms of the coin click (onsets {all_onsets})")
        latency = flips[0] - coin_t
        print(f"flip sound {latency * 1000:.0f} ms after the coin click (sound path latency)")

        start_t = events["start click"]
        taps = [o - start_t - latency for o in all_onsets if start_t - 0.05 <= o - latency <= start_t + 1.0]
        check(taps, f"no tap sound within 1 s of the start click (onsets {all_onsets})")
        print(f"tap sound {taps[0] * 1000:.0f} ms after the start click")
        check(0.22 <= taps[0] <= 0.6, f"tap sound {taps[0] * 1000:.0f} ms after the start click, not about 300")

        win_t = events["winning click"]
        after_win = [o - win_t - latency for o in all_onsets if win_t - 0.05 <= o - latency <= win_t + 1.5]
        check(len(after_win) >= 1, f"no sound after the winning click (onsets {all_onsets})")
        # The win sound (4.6 s) outlasts the flip sound (1.4 s): still loud 3 s after the click.
        frame = lambda t: int((t + latency) / FRAME_MS * 1000)
        tail = levels[frame(win_t + 2.5):frame(win_t + 3.5)]
        check(tail and max(tail) > peak * 0.05, "no win sound: silence 2.5-3.5 s after the winning click")
        coin_tail = levels[frame(coin_t + 2.0):frame(coin_t + 2.4)]
        check(coin_tail and max(coin_tail) < peak * 0.05, "sound goes on 2 s after a non-winning move")
        print(f"win sound still playing 2.5-3.5 s after the winning click (level {max(tail):.0f} of peak {peak:.0f})")
    finally:
        if game:
            game.kill()
        for proc in (recorder, keeper, daemon):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(10)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        shutil.rmtree(workdir, ignore_errors=True)
    return 0



def case_keyboard(display, binary, pictures, wmclose, solver, env):
    """Level 1 from the keyboard alone; a cream ring shows the focus, Return and Escape lead back.
    With QUENVARY_E2E_SHOTS set to a folder, the ring around the coin is saved there as keyboard.png."""
    def keys(*names):
        display.run(["xdotool", "key", "--delay", "60", *names])

    def ring_around(window, rect, deadline_s=3):
        def cream_at(shot, x, y):
            return all(abs(a - b) <= 24 for a, b in zip(shot.pixel(x, y), (0xFF, 0xF8, 0xEC)))
        def seen():
            shot, middle = window_shot(display, window), rect[1] + rect[3] // 2
            return cream_at(shot, rect[0] - 3, middle) and cream_at(shot, rect[0] + rect[2] + 2, middle)
        return poll(seen, deadline_s, 0.1)

    game = Game(display, binary, extra_env=env)
    try:
        menu = game.wait_for_title(TITLES["menu"], 10)
        expect_scene(display, pictures, menu, "menu")
        check(not ring_around(menu, START, 0.5), "a ring before any key was pressed")
        keys("Return")
        select_window = game.wait_for_title(TITLES["select"], 3)
        check(ring_around(select_window, (25, 160, 60, 60)), "no ring around level 1")
        keys("Return")
        play = game.wait_for_title(TITLES["play"], 3)
        keys("Right", "Right", "Down", "Down")
        check(ring_around(play, (162, 298, 46, 45)), "no ring around the coin at (2, 2)")
        if os.environ.get("QUENVARY_E2E_SHOTS"):
            x, y, _, _ = display.geometry(play)
            display.run(["import", "-window", "root", "-crop", f"{W}x{H}+{x}+{y}", "+repage",
                         os.path.join(os.environ["QUENVARY_E2E_SHOTS"], "keyboard.png")])
        keys("space")

        def won():
            shot = window_shot(display, play)
            v, d = pictures.end_picture(shot)
            return v < 20 and d > v + 20 and pictures.back_at(shot, *MIDDLE_BACK[:2]) < 25
        check(poll(won, 6, 0.1), "level 1 not won by Right, Right, Down, Down, Space")
        check(ring_around(play, MIDDLE_BACK), "no ring around the back button in the middle")
        keys("Return")
        expect_scene(display, pictures, game.wait_for_title(TITLES["select"], 3), "select")
        keys("Escape")
        menu = game.wait_for_title(TITLES["menu"], 3)
        expect_scene(display, pictures, menu, "menu")
        check(ring_around(menu, START), "no ring around the start button")
        game.close(wmclose)
    finally:
        game.kill()


def case_atspi(display, binary, pictures, wmclose, solver, env):
    """What a screen reader hears, read over a private AT-SPI bus. The bus launcher publishes the
    bus on the X root window (the display never resets, so the property stays): Qt's bridge, told
    only through the session bus, registers before it has connected and is never heard."""
    launcher = shutil.which("at-spi-bus-launcher", path="/usr/libexec:/usr/lib/at-spi2-core")
    if not launcher or not shutil.which("dbus-daemon"):
        print("SKIP: at-spi2-core or dbus is not installed")
        return SKIP
    reader = os.path.join(os.path.dirname(wmclose), "atspitree")
    daemon = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    busenv = dict(display.env, **env, DBUS_SESSION_BUS_ADDRESS=daemon.stdout.readline().strip())
    helpers = [daemon, subprocess.Popen([launcher, "--launch-immediately"], env=busenv,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)]
    game = None
    try:
        def published():
            found = re.search(r'= "(.*)"', display.run(["xprop", "-root", "AT_SPI_BUS"]))
            return found.group(1) if found else None
        bus = poll(published, 10, 0.1)
        check(bus, "the bus launcher did not publish AT_SPI_BUS on the root window")
        game = Game(display, binary, extra_env=dict(busenv, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))

        def hears(*lines):
            def tree():
                out = subprocess.run([reader, bus], capture_output=True, text=True, timeout=60).stdout
                return out if all(line in out for line in lines) else None
            check(poll(tree, 10, 0.3), f"the reader does not hear {lines}")
        game.wait_for_title(TITLES["menu"], 10)
        hears("push button|开始")
        display.run(["xdotool", "key", "Return"])
        game.wait_for_title(TITLES["select"], 3)
        hears("push button|第 1 关", "push button|第 20 关", "push button|返回")
        display.run(["xdotool", "key", "Return"])
        game.wait_for_title(TITLES["play"], 3)
        hears("push button|金币 第 1 行 第 1 列", "push button|银币 第 3 行 第 3 列", "|倒计时: 0:")
        display.run(["xdotool", "key", "--delay", "60", "Right", "Right", "Down", "Down", "space"])
        hears("push button|金币 第 3 行 第 3 列", "|通关")
        print("the reader hears the start button, 20 levels, back, 16 coins, the countdown and 通关")
        game.close(wmclose)
    finally:
        if game:
            game.kill()
        for helper in helpers:
            helper.terminate()
            helper.wait(10)


CASES = {"scenes": case_scenes, "close": case_close, "args": case_args, "sound": case_sound,
         "keyboard": case_keyboard, "atspi": case_atspi}


def main():
    if len(sys.argv) != 6 or sys.argv[1] not in CASES:
        print(__doc__, file=sys.stderr)
        return 2
    case, binary, resdir, wmclose, solver = sys.argv[1:]
    for tool in ("Xvfb", "xdotool", "xwininfo", "xprop", "import", "convert"):
        if not shutil.which(tool):
            print(f"FAIL: {tool} is missing (tools/debian-packages.txt installs it)")
            return 1
    display = Display()
    # Sound goes nowhere unless a case brings its own server; runtime files stay private.
    runtime = tempfile.mkdtemp(prefix="quenvary-e2e.")
    os.chmod(runtime, 0o700)
    env = {"XDG_RUNTIME_DIR": runtime}
    if case != "sound":
        env["PULSE_SERVER"] = "unix:" + os.path.join(runtime, "no-sound-server")
    try:
        pictures = Pictures(resdir)
        result = CASES[case](display, binary, pictures, wmclose, solver, env)
        print(f"{case}: passed" if not result else f"{case}: skipped")
        return result or 0
    except Failure as failure:
        print(f"FAIL ({case}): {failure}")
        return 1
    finally:
        display.close()
        shutil.rmtree(runtime, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
