#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""How the desktop knows the game: its command line, its window class against the menu entry, the
scale on an X server that names none, and its name and remembered volume in the sound server."""
import array, math, os, re, subprocess, time, e2e
from e2e import APP_ID, MIDDLE_BACK, START, WIN, Recorder, check, coin, run, start, wait


def desktop_entry():
    path = os.path.join(e2e.RESDIR, "..", "packaging", APP_ID + ".desktop")
    return dict(line.split("=", 1) for line in open(path, encoding="utf-8").read().splitlines() if "=" in line)


def answers(x, args, env_extra=None):
    """Runs the program with ARGS; it must end by itself within 5 s (a game would wait for its player)."""
    env = dict(x.env, **e2e.GAME_ENV, **(env_extra or {}))
    done = subprocess.run([e2e.BINARY, *args], env=env, capture_output=True, timeout=5, cwd=e2e.TMP)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def case_identity(x):
    """On a bare X server of 100 dpi (Xvfb's own) with no Xft.dpi."""
    code, out, err = answers(x, ["--version"], {"DISPLAY": ""})   # no display needed
    check((code, out) == (0, "Quenvary 1.0.0\n"), f"--version: {code} {out!r} {err!r}")
    code, out, err = answers(x, ["--bogus"])
    check(code != 0 and "'bogus'" in err and not out, f"--bogus: {code} {out!r} {err!r}")
    # Qt's own options beside them are Qt's, never the game's unknown ones; the help names both kinds.
    for args in (["--help"], ["-platform", "xcb", "--help"], ["--platform", "offscreen", "-h"], ["-style=fusion", "--help-all"],
                 ["-display", x.env["DISPLAY"], "--version"], ["-reverse", "-v"]):
        code, out, err = answers(x, args, {"QT_QPA_PLATFORM": ""})
        check(code == 0 and ("Quenvary 1.0.0" in out if "v" in args[-1] else "--version" in out and "-platform" in out),
              f"{' '.join(args)}: {code} {out!r} {err!r}")

    entry, game = desktop_entry(), None
    check(entry.get("Icon") == APP_ID, f"the menu entry's icon is {entry.get('Icon')}")
    # Qt's own options still work, and as the environment's: the physical 100 dpi is no scale, whether
    # the platform and display come from there or from the command line: 320 x 588 (Game.scene checks).
    game, _, _ = start(x, ["-display", x.env["DISPLAY"]], {"DISPLAY": "", "QT_QPA_PLATFORM": ""})
    game.close()
    game, window, _ = start(x, ["-platform", "xcb"], {"QT_QPA_PLATFORM": ""})
    wm_class = re.findall(r'"([^"]*)"', x.run("xprop", "-id", window, "WM_CLASS").decode())
    check(wm_class == ["quenvary", entry.get("StartupWMClass")], f"WM_CLASS {wm_class}, menu entry {entry}")
    game.close()

    # Without a sound server: silent, said once.
    e2e.GAME_ENV["PULSE_SERVER"], server = "unix:" + os.path.join(e2e.TMP, "no-server"), e2e.GAME_ENV["PULSE_SERVER"]
    game, _, at = start(x)
    x.click(at, START)
    game.scene("select")
    told = len(game.close(re.compile(r"^quenvary: no sound server could be reached; playing without sound$")))
    check(told == 1, f"the missing sound server told {told} times")
    e2e.GAME_ENV["PULSE_SERVER"] = server   # (the scales a desktop asks for: desktop.py)


def pactl(kind):
    """The sound server's clients or sink inputs: one dict of properties (and number, volume) each."""
    found = []
    for block in filter(str.strip, run("pactl", "list", kind).decode().split("\n\n")):
        volume = re.search(r"Volume: [\w-]+: \d+ / +(\d+)%", block)
        found.append(dict(re.findall(r'^\s*([\w.-]+) = "(.*)"$', block, re.M), volume=volume and volume.group(1),
                          **{"#": re.search(r"#(\d+)", block).group(1)}))
    return found


def own(game, kind):
    return [p for p in pactl(kind) if p.get("application.process.id") == str(game.proc.pid)]


def turn_down(game):
    """Turns the game's streams down to 30 % as a mixer does, once it has some (the Qt 6 build's only while a
    sound plays, the Qt 5 build's several at once, of which one may go with its window meanwhile): those turned."""
    def turned():
        return [p for p in own(game, "sink-inputs")
                if subprocess.run(["pactl", "set-sink-input-volume", p["#"], "30%"], capture_output=True).returncode == 0]
    return wait(turned, "a stream of the game turned down", 3, 0.01)


def other_game():
    """Another program of the game role playing silence, started before the game so that the sound
    server has restored its stream first: its sink input."""
    proc = subprocess.Popen(["pacat", "--property=media.role=game", "--property=application.name=Another game",
                             "/dev/zero"], stderr=subprocess.DEVNULL)
    e2e.PROCS.append(proc)
    return lambda: wait(lambda: [p for p in pactl("sink-inputs") if p.get("application.process.id") == str(proc.pid)],
                        "the other game's stream")[0]


def energy(rec, since):
    """The root of the summed squares of the recording since then: a sound's level, whatever its length."""
    with open(rec.path, "rb") as f:
        f.seek(since * 2)
        samples = array.array("h", f.read((rec.now() - since) * 2))
    return math.sqrt(sum(s * s for s in samples))


def victory(x, rec, game, at):
    """Level 1 won in one move: the flip and then the win sound, 4.6 s long, so that the sink cutting
    a sound's first milliseconds as it starts (it may) weighs nothing; as loud as it came out of the sink."""
    game.level(at)
    time.sleep(0.5)   # the level select's tap is over
    since = rec.now()
    x.click(at, coin(*WIN))
    time.sleep(5.2)
    return energy(rec, since)


def case_mixer(x):
    """Named Quenvary in the mixer, with its icon and the game role; a volume set for it is kept for
    its next run (the private server has stream restore), and not given to another game."""
    rec = Recorder()
    game, _, at = start(x)
    client = wait(lambda: own(game, "clients"), "the game's sound client")[0]
    for key, want in [("application.name", "Quenvary"), ("application.icon_name", APP_ID), ("media.role", "game")]:
        check(client.get(key) == want, f"sound client's {key} is {client.get(key)!r}")
    full = victory(x, rec, game, at)
    check(full > 100000, f"the victory is hardly heard ({full:.0f})")
    # The back button's sound plays: turned down to 30 % as in a mixer.
    x.click(at, MIDDLE_BACK)
    streams = turn_down(game)
    check(all(p.get("media.name") == "Quenvary" for p in streams), f"stream names {[p.get('media.name') for p in streams]}")
    game.scene("select")
    game.close()

    # Kept by the game's id: not by its role (another game's own), nor by the name the player gives it.
    other = other_game()
    game, _, at = start(x, env={"PULSE_PROP_OVERRIDE_application.name": "My Quenvary"})
    client = wait(lambda: own(game, "clients"), "the game's sound client")[0]
    check(client.get("application.name") == "My Quenvary", f"the player's name gave {client.get('application.name')!r}")
    quiet = victory(x, rec, game, at)
    volumes = {p["volume"] for p in own(game, "sink-inputs")}
    check(volumes <= {"30"}, f"the next run's streams at {volumes} %")
    check(other()["volume"] == "100", f"another game's stream at {other()['volume']} %")
    # 30 % on the mixer's scale is -31.4 dB (cubic); within 1.5 dB of it in the recording.
    db = 20 * math.log10(max(quiet, 1) / full)
    print(f"the victory after the restart is {db:.1f} dB from the first ({quiet:.0f} / {full:.0f})", flush=True)
    check(abs(db - 20 * math.log10(0.3 ** 3)) < 1.5, f"the restarted game's victory is {db:.1f} dB from full")
    game.close()


def case_pipewire(x):
    """On PipeWire with WirePlumber (with-pipewire.sh), which keys a volume by a stream's role before
    its id: a volume set for the game comes back on its next run, named as the player likes, and another
    game's stays its own. No sound is recorded: WirePlumber restores a stream as it appears."""
    game, _, at = start(x)
    x.click(at, START)   # a sound plays
    turn_down(game)
    memory = os.path.join(os.environ["XDG_STATE_HOME"], "wireplumber", "restore-stream")
    read = lambda: open(memory).read() if os.path.exists(memory) else ""
    key = f"Output/Audio:application.id:{APP_ID}:channelVolumes="
    kept = lambda: sorted({line.rsplit(":", 1)[0] for line in read().splitlines() if line.startswith("Output/")})
    wait(lambda: key in read(), lambda: f"WirePlumber keeps the game's volume under {kept()}, not application.id:{APP_ID}",
         5, 0.1)   # written 1 s after a change
    game.scene("select")
    game.close()

    other = other_game()
    game, _, at = start(x, env={"PULSE_PROP_application.name": "My Quenvary"})
    x.click(at, START)
    seen = []
    wait(lambda: seen.append({p["volume"] for p in own(game, "sink-inputs")}) or seen[-1] == {"30"},   # restored as it appears
         lambda: f"the next run's streams at {[v for v in seen if v][-3:]} %", 3, 0.01)
    check(other()["volume"] == "100", f"another game's stream at {other()['volume']} %")
    names = {p.get("application.name") for p in own(game, "clients")}
    check(names == {"My Quenvary"}, f"the player's name gave {names}")
    game.scene("select")
    game.close()


if __name__ == "__main__":
    e2e.main({"identity": (case_identity, (None, None)), "mixer": (case_mixer, None), "pipewire": (case_pipewire, None)})
