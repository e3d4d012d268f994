# SPDX-FileCopyrightText: 2026 The Quenvary developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Turns xprobe's name=value lines into the table kept in docs/PERFORMANCE.md.

function median(list,    n, a, i, j, t) {
    n = split(list, a, ",")
    for (i = 2; i <= n; ++i)
        for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
    if (n == 0) return ""
    return n % 2 ? a[(n + 1) / 2] : (a[n / 2] + a[n / 2 + 1]) / 2
}
function extreme(list, wantMax,    n, a, i, m) {
    n = split(list, a, ",")
    m = a[1] + 0
    for (i = 2; i <= n; ++i)
        if ((wantMax && a[i] + 0 > m) || (!wantMax && a[i] + 0 < m)) m = a[i] + 0
    return m
}
function add(key, value) {
    if (key in values) values[key] = values[key] "," value
    else values[key] = value
}
function num(x, unit) { return sprintf(unit == "ms" ? "%.2f" : "%.0f", x) }
function cell(key, unit) {
    return sprintf("%s %s (%s–%s)", num(median(values[key]), unit), unit, num(extreme(values[key], 0), unit),
                   num(extreme(values[key], 1), unit))
}
function ratio(gameKey, baseKey,    b) {
    b = median(values[baseKey])
    return (b + 0 > 0) ? sprintf("%.2f", median(values[gameKey]) / b) : "n/a"
}
# The game against the empty window, and against the same window without OpenGL.
function row(label, gameKey, baseKey, unit,    noglKey) {
    noglKey = baseKey; sub(/^baseline_/, "nogl_", noglKey)
    printf "| %s | %s | %s | %s | %s | %s |\n", label, cell(gameKey, unit), cell(baseKey, unit),
        ratio(gameKey, baseKey), cell(noglKey, unit), ratio(gameKey, noglKey)
}
function single(label, key, unit) {
    printf "| %s | %s | | | | |\n", label, cell(key, unit)
}

{
    kind = ""
    for (i = 1; i <= NF; ++i) {
        split($i, kv, "=")
        if (kv[1] == "kind") kind = kv[2]
    }
    for (i = 1; i <= NF; ++i) {
        eq = index($i, "="); k = substr($i, 1, eq - 1); v = substr($i, eq + 1)
        if (k == "kind" || k == "round") continue
        if (k == "coin_changes") {
            n = split(v, t, ",")
            for (j = 2; j <= n; ++j) add("game_change_interval", t[j] - t[j - 1])
            add("game_changes", n)
            continue
        }
        if (k == "coin_damages") {
            # Paints closer than 5 ms are one flush; the first comes with the press itself.
            n = split(v, t, ","); last = -100; flushes = ""
            for (j = 1; j <= n; ++j) { if (t[j] - last >= 5) flushes = flushes (flushes == "" ? "" : ",") t[j]; last = t[j] }
            m = split(flushes, f, ",")
            for (j = 2; j <= m; ++j) if (f[j - 1] > 15) add("game_frame_interval", f[j] - f[j - 1])
            add("game_flushes", m)
            continue
        }
        add(kind "_" k, v)
    }
    ++runs[kind]
}

# Start-up only (bench/run.sh start): the game beside the empty window without OpenGL.
function startTable() {
    printf "%d game rounds, %d rounds of the empty window without OpenGL, alternating; median (min–max).\n\n",
        runs["game"], runs["nogl"]
    print "| measure | game | empty window without OpenGL | game / that |"
    print "| --- | --- | --- | --- |"
    startRow("start to first window mapped", "map_ms", "ms")
    startRow("start to first paint", "paint_ms", "ms")
    startRow("peak RSS at first paint", "rss_paint_kb", "KiB")
    startRow("peak RSS after 5 s idle", "hwm_idle_kb", "KiB")
    startRow("RSS after 5 s idle", "rss_idle_kb", "KiB")
}
function startRow(label, key, unit) {
    printf "| %s | %s | %s | %s |\n", label, cell("game_" key, unit), cell("nogl_" key, unit),
        ratio("game_" key, "nogl_" key)
}
# The two figures the README quotes, against their targets.
function verdict(    t, m) {
    if (!runs["game"] || !runs["nogl"]) return
    t = ratio("game_map_ms", "nogl_map_ms"); m = ratio("game_hwm_idle_kb", "nogl_hwm_idle_kb")
    printf "\nFirst window: %s × the empty window without OpenGL (target ≤ 1.25, %s). ", t, t + 0 <= 1.25 ? "met" : "missed"
    printf "Peak memory: %s × (target ≤ 1.20, %s).\n", m, m + 0 <= 1.20 ? "met" : "missed"
}

END {
    if (!runs["baseline"]) {
        startTable()
        verdict()
        exit
    }
    printf "%d game rounds, %d baseline rounds, %d rounds without OpenGL; median (min–max).\n\n",
        runs["game"], runs["baseline"], runs["nogl"]
    print "| measure | game | baseline | game / baseline | baseline without OpenGL | game / that |"
    print "| --- | --- | --- | --- | --- | --- |"
    row("start to first window mapped", "game_map_ms", "baseline_map_ms", "ms")
    row("start to first paint", "game_paint_ms", "baseline_paint_ms", "ms")
    row("peak RSS at first paint", "game_rss_paint_kb", "baseline_rss_paint_kb", "KiB")
    row("peak RSS after 5 s idle", "game_hwm_idle_kb", "baseline_hwm_idle_kb", "KiB")
    row("RSS after 5 s idle", "game_rss_idle_kb", "baseline_rss_idle_kb", "KiB")
    row("CPU, 10 s idle: main menu", "game_menu_cpu_ms", "baseline_idle_cpu_ms", "ms")
    row("CPU, 10 s idle: level select", "game_select_cpu_ms", "baseline_idle_cpu_ms", "ms")
    row("CPU, 10 s idle: play window after victory", "game_won_cpu_ms", "baseline_idle_cpu_ms", "ms")
    row("context switches, 10 s idle: main menu", "game_menu_csw", "baseline_idle_csw", "")
    row("context switches, 10 s idle: level select", "game_select_csw", "baseline_idle_csw", "")
    row("context switches, 10 s idle: after victory", "game_won_csw", "baseline_idle_csw", "")
    single("coin click to first changed pixel", "game_click_to_change_ms", "ms")
    single("interval between visible coin frames", "game_change_interval", "ms")
    single("interval between coin repaints (flushes)", "game_frame_interval", "ms")
    single("visible coin changes per turn", "game_changes", "")
    single("coin repaints (flushes) per turn", "game_flushes", "")
    verdict()
}
