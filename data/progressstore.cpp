// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "progressstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtGlobal>

#include <atomic>

#include "data/progresssaver.h"

namespace {

constexpr int formatVersion = 1;
constexpr int firstLevel = 1;
constexpr int lastLevel = 20;
// The merge holds the lock for milliseconds: one older than this was left by a game that died,
// perhaps on another host, where Qt cannot ask whether its process still runs.
constexpr int staleLockMs = 10000;
const char *const versionKey = "formatVersion";
const char *const solvedKey = "solved";
const char *const bestKey = "bestTenths";
// Added after the first version, which reads a file with it as before and keeps it; named to
// come after "solved", so each section starts as the first version wrote it.
const char *const movesKey = "solvedInMoves";

enum class FileState { Missing, Good, Damaged, Newer, Unreadable };

struct Snapshot {
    FileState state = FileState::Missing;
    QMap<int, progressStore::Level> levels;
};

QString groupOf(int level)
{
    return QStringLiteral("level%1").arg(level);
}

// A broken place says so once, not at every victory.
void warnOnce(const QString &line)
{
    static std::atomic<bool> warned{false};
    if (!warned.exchange(true))
        qWarning("%s", qPrintable(line));
}

// Reads what can be read; a file that is not wholly ours is Damaged, with what was readable.
Snapshot readFile(const QString &path)
{
    Snapshot found;
    const QFileInfo info(path);
    if (!info.exists())
        return found;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        found.state = FileState::Unreadable;
        return found;
    }
    const QByteArray bytes = file.readAll();
    // Nothing in it, nothing to lose (a file QSaveFile writes is never empty).
    if (bytes.isEmpty())
        return found;
    // QSettings trusts its cache of a path while the file's size and time look unchanged, and
    // tells of a format error only when it parses: a copy under a new name is always parsed.
    QTemporaryFile copy;
    const bool copied = copy.open() && copy.write(bytes) == bytes.size() && copy.flush();
    const QSettings settings(copied ? copy.fileName() : path, QSettings::IniFormat);
    if (settings.status() == QSettings::AccessError) {
        found.state = FileState::Unreadable;
        return found;
    }
    bool ok = false;
    const int version = settings.value(versionKey).toString().toInt(&ok);
    if (ok && version > formatVersion) {
        found.state = FileState::Newer;
        return found;
    }
    bool damaged = settings.status() != QSettings::NoError || !ok || version < 1;
    for (int level = firstLevel; level <= lastLevel; ++level) {
        const QString solved = settings.value(groupOf(level) + '/' + solvedKey).toString();
        const QString best = settings.value(groupOf(level) + '/' + bestKey).toString();
        if (solved.isEmpty() && best.isEmpty())
            continue;
        const int tenths = best.toInt(&ok);
        if (solved != QLatin1String("true") || (!best.isEmpty() && (!ok || tenths <= 0))) {
            damaged = true;
            if (solved != QLatin1String("true"))
                continue;
        }
        const int moves = settings.value(groupOf(level) + '/' + movesKey).toString().toInt(&ok);
        found.levels.insert(level, {true, tenths > 0 ? tenths : 0, ok && moves > 0 ? moves : 0});
    }
    found.state = damaged ? FileState::Damaged : FileState::Good;
    return found;
}

QString describe(const QString &path, const QString &problem)
{
    return QStringLiteral("Quenvary: %1 %2; the game goes on, but solved levels are not kept.")
            .arg(QDir::toNativeSeparators(path), problem);
}

// Keeps a damaged file under a name that says why, so nothing of it is lost; false if it stays.
bool moveAside(const QString &path)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    if (!QFile::rename(path, aside))
        return false;
    qWarning("Quenvary: %s could not be read; it is kept as %s and a new one begins.",
             qPrintable(QDir::toNativeSeparators(path)), qPrintable(QDir::toNativeSeparators(aside)));
    return true;
}

}

QString progressStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
            + QStringLiteral("/" QUENVARY_APP_ID "/progress.ini");
}

progressStore::progressStore(QString path)
    : path(std::move(path))
{
}

QMap<int, progressStore::Level> progressStore::levels() const
{
    Snapshot now = readFile(path);
    if (now.state == FileState::Unreadable)
        warnOnce(describe(path, QStringLiteral("cannot be read")));
    else if (now.state == FileState::Newer)
        warnOnce(describe(path, QStringLiteral("is from a newer Quenvary and is left as it is")));
    const QMap<int, Level> pending = progressSaver::pending(path);
    for (auto it = pending.cbegin(); it != pending.cend(); ++it)
        now.levels[it.key()] = bestOf(now.levels.value(it.key()), *it);
    return now.levels;
}

progressStore::Outcome progressStore::recordVictory(int levelNumber, int tenths, int moves, int lockWaitMs)
{
    if (levelNumber < firstLevel || levelNumber > lastLevel || tenths < 0 || moves < 0)
        return Outcome::NotKept;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        warnOnce(describe(folder, QStringLiteral("cannot be made")));
        return Outcome::NotKept;
    }
    // Read, merge and write under one lock: two copies of the game keep both their wins.
    QLockFile lock(path + QStringLiteral(".merge-lock"));
    lock.setStaleLockTime(staleLockMs);
    if (!lock.tryLock(lockWaitMs)) {
        if (lock.error() == QLockFile::LockFailedError)
            return Outcome::LockHeld;
        warnOnce(describe(path, QStringLiteral("cannot be written")));
        return Outcome::NotKept;
    }
    Snapshot now = readFile(path);
    switch (now.state) {
    case FileState::Unreadable:
        warnOnce(describe(path, QStringLiteral("cannot be read")));
        return Outcome::NotKept;
    case FileState::Newer:
        warnOnce(describe(path, QStringLiteral("is from a newer Quenvary and is left as it is")));
        return Outcome::NotKept;
    case FileState::Damaged:
        if (!moveAside(path)) {
            warnOnce(describe(path, QStringLiteral("is damaged and cannot be moved aside")));
            return Outcome::NotKept;
        }
        break;
    case FileState::Missing:
    case FileState::Good:
        break;
    }

    Level &level = now.levels[levelNumber];
    Outcome outcome = Outcome::NoBetter;
    if (!level.solved)
        outcome = Outcome::FirstSolve;
    else if (tenths > 0 && (level.bestTenths == 0 || tenths < level.bestTenths))
        outcome = Outcome::NewBest;
    const bool fewerMoves = moves > 0 && (level.fewestMoves == 0 || moves < level.fewestMoves);
    if (outcome == Outcome::NoBetter && !fewerMoves && now.state == FileState::Good)
        return outcome;
    if (outcome != Outcome::NoBetter)
        level = {true, tenths, level.fewestMoves};
    if (fewerMoves)
        level.fewestMoves = moves;

    // Every level is set from the fresh read, whatever QSettings may still hold of the file.
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(versionKey, formatVersion);
    // A file moved aside had these levels too: they go on into the new one.
    for (auto it = now.levels.cbegin(); it != now.levels.cend(); ++it) {
        settings.setValue(groupOf(it.key()) + '/' + solvedKey, true);
        if (it->bestTenths > 0)
            settings.setValue(groupOf(it.key()) + '/' + bestKey, it->bestTenths);
        if (it->fewestMoves > 0)
            settings.setValue(groupOf(it.key()) + '/' + movesKey, it->fewestMoves);
    }
    // Written through a temporary file, flushed to disk and renamed over the old one.
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        warnOnce(describe(path, QStringLiteral("cannot be written")));
        return Outcome::NotKept;
    }
    return outcome;
}

progressStore::Level progressStore::bestOf(const Level &a, const Level &b)
{
    const auto least = [](int x, int y) { return x > 0 && y > 0 ? qMin(x, y) : qMax(x, y); };
    return {a.solved || b.solved, least(a.bestTenths, b.bestTenths), least(a.fewestMoves, b.fewestMoves)};
}

QString progressStore::secondsText(int tenths)
{
    return QLocale::system().toString(tenths / 10.0, 'f', 1);
}
