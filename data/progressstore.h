// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PROGRESSSTORE_H
#define PROGRESSSTORE_H

#include <QMap>
#include <QString>

// What the game keeps of the player between runs: per level, solved and the best solving time.
// Every call reads the file afresh, so copies of the game running at once see each other's wins.
class progressStore
{
public:
    struct Level {
        bool solved = false;
        int bestTenths = 0;   // tenths of a second; 0 when unknown
        int fewestMoves = 0;  // the fewest presses of a victory; 0 when unknown
    };
    // LockHeld: another process held the file's lock for as long as the caller would wait.
    enum class Outcome { NotKept, FirstSolve, NewBest, NoBetter, LockHeld };

    // progress.ini in the desktop's configuration folder, under the game's id.
    static QString defaultPath();
    explicit progressStore(QString path = defaultPath());

    // The solved levels by number, with the wins still on their way to the file; what cannot be
    // read is left out.
    QMap<int, Level> levels() const;
    // Keeps a victory on disk before returning; a worse time never replaces a better one, nor
    // more moves fewer. A time of 0 keeps the level solved without a time (a helped win). Blocks
    // up to `lockWaitMs` on another process's merge: for the GUI thread, progressSaver does it.
    Outcome recordVictory(int levelNumber, int tenths, int moves = 0, int lockWaitMs = 5000);

    // What two records of one level keep together: solved, the shorter time, the fewer moves.
    static Level bestOf(const Level &a, const Level &b);

    // Tenths of a second as seconds in the desktop's way of writing numbers ("5.7", "5,7"),
    // whatever language the texts are in.
    static QString secondsText(int tenths);

private:
    QString path;
};

#endif
