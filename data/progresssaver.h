// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef PROGRESSSAVER_H
#define PROGRESSSAVER_H

#include <QMap>
#include <QMutex>
#include <QQueue>
#include <QThread>
#include <QWaitCondition>

#include "data/progressstore.h"

// Writes victories to the progress file on a thread of its own: a lock held by another copy of
// the game, or a slow network home, must never stall a victory's picture and sound. Until a win
// is on disk it is kept here, and the application does not end before it is written.
class progressSaver : public QThread
{
    Q_OBJECT
public:
    // The application's saver, made at the first victory; the application's end waits for it.
    static progressSaver *instance();
    ~progressSaver() override;

    // Queues the win; `saved` tells the outcome once it is on disk (or cannot be).
    void save(const QString &path, int levelNumber, int tenths, int moves);
    // The wins for this file still on their way to it.
    static QMap<int, progressStore::Level> pending(const QString &path);

signals:
    void saved(const QString &path, int levelNumber, int tenths, progressStore::Outcome outcome);

protected:
    void run() override;

private:
    struct Win {
        QString path;
        int levelNumber;
        int tenths;
        int moves;
    };

    explicit progressSaver(QObject *parent);
    progressStore::Outcome write(const Win &win);

    mutable QMutex mutex;
    QWaitCondition wake;
    QQueue<Win> queue;   // the head stays queued until it is written, so `pending` sees it
    bool ending = false;
};

#endif
