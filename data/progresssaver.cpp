// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "progresssaver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPointer>

namespace {

// Each try waits this long for the lock, so an ending application is noticed soon.
constexpr int lockSliceMs = 200;
// At the end of the game, how long a win waits for a lock another copy holds before it is given up.
constexpr int exitWaitMs = 15000;

QPointer<progressSaver> theSaver;

// Runs as the application ends, before its objects go: the wins still queued are written first.
void endSaver()
{
    delete theSaver;
}

}

progressSaver *progressSaver::instance()
{
    if (!theSaver) {
        theSaver = new progressSaver(nullptr);
        theSaver->start();
        qAddPostRoutine(endSaver);
    }
    return theSaver;
}

progressSaver::progressSaver(QObject *parent)
    : QThread(parent)
{
    qRegisterMetaType<progressStore::Outcome>("progressStore::Outcome");
}

progressSaver::~progressSaver()
{
    {
        QMutexLocker locker(&mutex);
        ending = true;
    }
    wake.wakeAll();
    wait();
}

void progressSaver::save(const QString &path, int levelNumber, int tenths, int moves)
{
    QMutexLocker locker(&mutex);
    queue.enqueue({path, levelNumber, tenths, moves});
    wake.wakeAll();
}

QMap<int, progressStore::Level> progressSaver::pending(const QString &path)
{
    QMap<int, progressStore::Level> wins;
    if (!theSaver)
        return wins;
    QMutexLocker locker(&theSaver->mutex);
    for (const Win &win : qAsConst(theSaver->queue)) {
        if (win.path == path)
            wins[win.levelNumber] = progressStore::bestOf(wins.value(win.levelNumber),
                                                          {true, win.tenths, win.moves});
    }
    return wins;
}

void progressSaver::run()
{
    forever {
        Win win;
        {
            QMutexLocker locker(&mutex);
            while (queue.isEmpty() && !ending)
                wake.wait(&mutex);
            if (queue.isEmpty())
                return;
            win = queue.head();
        }
        const progressStore::Outcome outcome = write(win);
        {
            QMutexLocker locker(&mutex);
            queue.dequeue();
        }
        emit saved(win.path, win.levelNumber, win.tenths, outcome);
    }
}

// Tries until the lock is free; only an application that is ending gives up, after a while.
progressStore::Outcome progressSaver::write(const Win &win)
{
    progressStore store(win.path);
    QDeadlineTimer giveUp(QDeadlineTimer::Forever);
    forever {
        const progressStore::Outcome outcome = store.recordVictory(win.levelNumber, win.tenths, win.moves, lockSliceMs);
        if (outcome != progressStore::Outcome::LockHeld)
            return outcome;
        QMutexLocker locker(&mutex);
        if (ending && giveUp.isForever())
            giveUp.setRemainingTime(exitWaitMs);
        if (giveUp.hasExpired()) {
            qWarning("Quenvary: %s stayed locked by another process; the win of level %d is not kept.",
                     qPrintable(QDir::toNativeSeparators(win.path)), win.levelNumber);
            return progressStore::Outcome::NotKept;
        }
    }
}
