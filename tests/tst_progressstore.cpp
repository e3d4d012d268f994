// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QProcess>
#include <QStandardPaths>

#include "data/progressstore.h"

using Outcome = progressStore::Outcome;
using Times = QMap<int, int>;   // level -> best tenths; 0: solved, time unknown
Q_DECLARE_METATYPE(Outcome)

namespace {

Times timesOf(const progressStore &store)
{
    Times times;
    const QMap<int, progressStore::Level> levels = store.levels();
    for (auto it = levels.cbegin(); it != levels.cend(); ++it) {
        if (!it->solved)
            return {{-1, -1}};
        times.insert(it.key(), it->bestTenths);
    }
    return times;
}

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QStringList asideOf(const QString &path)
{
    return QDir(QFileInfo(path).absolutePath()).entryList({QFileInfo(path).fileName() + ".damaged-*"});
}

// This program run as a player's game at victories: `--record PATH START LEVEL:TENTHS...`, from
// START (ms since the epoch) on, so that two runs begin together.
int recordVictories(int argc, char *argv[])
{
    progressStore store(QString::fromLocal8Bit(argv[2]));
    while (QDateTime::currentMSecsSinceEpoch() < QByteArray(argv[3]).toLongLong())
        QThread::usleep(100);
    for (int i = 4; i < argc; ++i) {
        const QStringList won = QString(argv[i]).split(':');
        store.recordVictory(won[0].toInt(), won[1].toInt());
    }
    return 0;
}

}

class TestProgressStore : public QObject
{
    Q_OBJECT
    QString path;
    QString helper;

    QProcess *recorder(const QString &at, const QStringList &victories, qint64 start = 0)
    {
        auto *p = new QProcess(this);
        p->start(helper, QStringList{"--record", at, QString::number(start)} + victories);
        return p;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        path = progressStore::defaultPath();
        QVERIFY2(path.contains("/.qttest/") && path.endsWith("/io.github.quenvary.Quenvary/progress.ini"), qPrintable(path));
        helper = QCoreApplication::applicationFilePath();
    }
    void init()
    {
        QDir(QFileInfo(path).absolutePath()).removeRecursively();
    }

    void victoriesRoundTripAndKeepTheBest_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("tenths");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<Times>("after");
        const QByteArray two = "[General]\nformatVersion=1\n\n[level2]\nbestTenths=57\nsolved=true\n";
        QTest::newRow("first solve, no file yet") << QByteArray() << 2 << 57 << Outcome::FirstSolve << Times{{2, 57}};
        QTest::newRow("a second level beside") << two << 20 << 799 << Outcome::FirstSolve << Times{{2, 57}, {20, 799}};
        QTest::newRow("a better time replaces") << two << 2 << 31 << Outcome::NewBest << Times{{2, 31}};
        QTest::newRow("a worse time keeps the better") << two << 2 << 58 << Outcome::NoBetter << Times{{2, 57}};
        QTest::newRow("the same time is no news") << two << 2 << 57 << Outcome::NoBetter << Times{{2, 57}};
        QTest::newRow("solved without a time") << QByteArray("[General]\nformatVersion=1\n[level2]\nsolved=true\n")
                                               << 2 << 90 << Outcome::NewBest << Times{{2, 90}};
        QTest::newRow("level 0 is none") << two << 0 << 10 << Outcome::NotKept << Times{{2, 57}};
        QTest::newRow("level 21 is none") << two << 21 << 10 << Outcome::NotKept << Times{{2, 57}};
        QTest::newRow("an empty file") << QByteArray("") << 1 << 3 << Outcome::FirstSolve << Times{{1, 3}};
    }
    void victoriesRoundTripAndKeepTheBest()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, level);
        QFETCH(int, tenths);
        QFETCH(Outcome, outcome);
        QFETCH(Times, after);
        if (!before.isNull())
            write(path, before);
        QCOMPARE(progressStore().recordVictory(level, tenths), outcome);
        // Read back by a store of its own, as the next run of the game does.
        QCOMPARE(timesOf(progressStore()), after);
        QVERIFY(asideOf(path).isEmpty());
    }

    // Moves beside the times: the fewest kept, and a win without a time (helped) keeps the
    // level solved without touching what was kept.
    void fewestMovesAreKeptBesideTheTimes_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QPoint>("won");    // tenths, moves
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QPoint>("kept");   // best tenths, fewest moves
        const QByteArray kept = "[General]\nformatVersion=1\n[level2]\nbestTenths=57\nsolved=true\nsolvedInMoves=5\n";
        const QByteArray firstVersion = "[General]\nformatVersion=1\n[level2]\nbestTenths=57\nsolved=true\n";
        QTest::newRow("first solve") << QByteArray() << QPoint(40, 3) << Outcome::FirstSolve << QPoint(40, 3);
        QTest::newRow("fewer moves, slower") << kept << QPoint(90, 4) << Outcome::NoBetter << QPoint(57, 4);
        QTest::newRow("more moves, faster") << kept << QPoint(30, 9) << Outcome::NewBest << QPoint(30, 5);
        QTest::newRow("a first version's file") << firstVersion << QPoint(90, 6) << Outcome::NoBetter << QPoint(57, 6);
        QTest::newRow("helped: solved, no time") << QByteArray() << QPoint(0, 0) << Outcome::FirstSolve << QPoint(0, 0);
        QTest::newRow("helped after a timed win") << kept << QPoint(0, 0) << Outcome::NoBetter << QPoint(57, 5);
    }
    void fewestMovesAreKeptBesideTheTimes()
    {
        QFETCH(QByteArray, before);
        QFETCH(QPoint, won);
        QFETCH(Outcome, outcome);
        QFETCH(QPoint, kept);
        if (!before.isNull())
            write(path, before);
        QCOMPARE(progressStore().recordVictory(2, won.x(), won.y()), outcome);
        const progressStore::Level level = progressStore().levels().value(2);
        QVERIFY(level.solved);
        QCOMPARE(QPoint(level.bestTenths, level.fewestMoves), kept);
        QVERIFY(asideOf(path).isEmpty());
    }

    void damagedFileIsKeptAsideAndItsLevelsGoOn_data()
    {
        QTest::addColumn<QByteArray>("damaged");
        QTest::addColumn<Times>("readable");
        QTest::newRow("binary garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\xff garbage", 16) << Times{};
        QTest::newRow("an open section") << QByteArray("[General]\nformatVersion=1\n[level1\nsolved=true\n") << Times{{1, 0}};
        QTest::newRow("no format version") << QByteArray("[level3]\nsolved=true\nbestTenths=40\n") << Times{{3, 40}};
        QTest::newRow("a time that is no number")
                << QByteArray("[General]\nformatVersion=1\n[level1]\nsolved=true\nbestTenths=abc\n[level3]\nsolved=true\nbestTenths=40\n")
                << Times{{1, 0}, {3, 40}};
        QTest::newRow("solved is neither") << QByteArray("[General]\nformatVersion=1\n[level3]\nsolved=maybe\n[level4]\nsolved=true\n")
                                           << Times{{4, 0}};
    }
    void damagedFileIsKeptAsideAndItsLevelsGoOn()
    {
        QFETCH(QByteArray, damaged);
        QFETCH(Times, readable);
        write(path, damaged);
        // Shown as far as it can be read, and left as it is until there is something to write.
        QCOMPARE(timesOf(progressStore()), readable);
        QCOMPARE(contentsOf(path), damaged);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("progress\\.ini could not be read; it is kept as .*progress\\.ini\\.damaged-\\d{8}-\\d{6} "));
        QCOMPARE(progressStore().recordVictory(2, 66), Outcome::FirstSolve);
        const QStringList aside = asideOf(path);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(contentsOf(QFileInfo(path).absolutePath() + '/' + aside.first()), damaged);
        readable.insert(2, 66);
        QCOMPARE(timesOf(progressStore()), readable);
        // The new file is sound: the next victory moves nothing more aside.
        QCOMPARE(progressStore().recordVictory(2, 50), Outcome::NewBest);
        QCOMPARE(asideOf(path).size(), 1);
    }

    void fileFromANewerGameIsLeftAlone()
    {
        const QByteArray newer = "[General]\nformatVersion=2\n[level1]\nsolved=true\nbestTenths=40\nstars=3\n";
        write(path, newer);
        QCOMPARE(timesOf(progressStore()), Times{});
        QCOMPARE(progressStore().recordVictory(1, 20), Outcome::NotKept);
        QCOMPARE(contentsOf(path), newer);
        QVERIFY(asideOf(path).isEmpty());
    }

    // Root reads and writes anything, so the places are made impossible by their kind instead.
    void brokenPlaceKeepsNothingSaysItOnceAndGoesOn_data()
    {
        QTest::addColumn<QString>("blocker");   // a regular file here ...
        QTest::addColumn<QString>("at");        // ... and the store there
        QTest::newRow("folder is a file") << "folder" << "folder/progress.ini";
        QTest::newRow("file is a folder") << "" << "progress.ini/";
    }
    void brokenPlaceKeepsNothingSaysItOnceAndGoesOn()
    {
        QFETCH(QString, blocker);
        QFETCH(QString, at);
        const QString base = QFileInfo(path).absolutePath() + "/broken/";
        QVERIFY(QDir().mkpath(base + (blocker.isEmpty() ? at : QString())));
        if (!blocker.isEmpty())
            write(base + blocker, "not a folder");
        const QString store = base + QString(at).remove(QRegularExpression("/$"));
        // In a process of its own: one line on stderr for any number of victories, and no crash.
        QProcess *p = recorder(store, {"1:50", "2:60", "1:40"});
        QVERIFY(p->waitForFinished(20000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
        const QStringList lines = QString::fromUtf8(p->readAllStandardError()).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith("Quenvary: ") && lines.first().contains("not kept"), qPrintable(lines.first()));
        QCOMPARE(timesOf(progressStore(store)), Times{});
        QCOMPARE(progressStore(store).recordVictory(1, 50), Outcome::NotKept);
    }

    void twoWriterProcessesKeepTheUnion()
    {
        // Both at once, over the same levels, each time a little better than anything before: a
        // write from a stale read would bring back a worse time of some level.
        QStringList victories[2];
        Times want;
        for (int round = 0; round < 60; ++round) {
            for (int p = 0; p < 2; ++p) {
                const int level = (7 * round + 3 * p) % 20 + 1, tenths = 2000 - 20 * round - 7 * p;
                victories[p] << QString("%1:%2").arg(level).arg(tenths);
                want[level] = qMin(want.value(level, 9999), tenths);
            }
        }
        const qint64 start = QDateTime::currentMSecsSinceEpoch() + 500;
        QProcess *a = recorder(path, victories[0], start);
        QProcess *b = recorder(path, victories[1], start);
        QVERIFY(a->waitForFinished(30000) && b->waitForFinished(30000));
        QCOMPARE(a->readAllStandardError() + b->readAllStandardError(), QByteArray());
        QCOMPARE(timesOf(progressStore()), want);
        QVERIFY(asideOf(path).isEmpty());
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 3 && qstrcmp(argv[1], "--record") == 0)
        return recordVictories(argc, argv);
    TestProgressStore test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_progressstore.moc"
