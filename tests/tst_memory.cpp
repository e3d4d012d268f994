// Long sessions must not grow: every object a level or a bounce makes goes away again.
#include <QtTest>
#include <QApplication>
#include <QMutex>
#include <QSound>
#include <QSoundEffect>

#include <malloc.h>
#include <unistd.h>
#include <unordered_set>

#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "support/scenehelpers.h"
#include "widgets/jinbi.h"
#include "widgets/mybtn.h"

// Qt's exported hook table for debugging tools: slot 3 is called by every QObject
// constructor, slot 4 by every destructor, on whatever thread makes the object.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {

constexpr int cycles = 300;
constexpr int warmUpCycles = 20;
constexpr int bounces = 1000;
constexpr int bounceBurst = 10;
constexpr qint64 rssSlackBytes = 2 * 1024 * 1024;
constexpr int stepWaitMs = 2000;
constexpr int settleMs = 1800;

// Every QObject alive in the process, so the census can also name what was left behind.
QMutex censusMutex;
std::unordered_set<QObject *> *alive = nullptr;
using ObjectHook = void (*)(QObject *);
ObjectHook previousAdd = nullptr;
ObjectHook previousRemove = nullptr;

void onAdd(QObject *o)
{
    {
        QMutexLocker lock(&censusMutex);
        alive->insert(o);
    }
    if (previousAdd)
        previousAdd(o);
}

void onRemove(QObject *o)
{
    {
        QMutexLocker lock(&censusMutex);
        alive->erase(o);
    }
    if (previousRemove)
        previousRemove(o);
}

void installCensus()
{
    alive = new std::unordered_set<QObject *>;
    previousAdd = reinterpret_cast<ObjectHook>(qtHookData[3]);
    previousRemove = reinterpret_cast<ObjectHook>(qtHookData[4]);
    qtHookData[3] = reinterpret_cast<quintptr>(&onAdd);
    qtHookData[4] = reinterpret_cast<quintptr>(&onRemove);
}

// Live objects by class name.
QMap<QByteArray, int> census()
{
    QMutexLocker lock(&censusMutex);
    QMap<QByteArray, int> byClass;
    for (QObject *o : *alive)
        ++byClass[o->metaObject()->className()];
    return byClass;
}

int total(const QMap<QByteArray, int> &byClass)
{
    int n = 0;
    for (int count : byClass)
        n += count;
    return n;
}

QString difference(const QMap<QByteArray, int> &before, const QMap<QByteArray, int> &after)
{
    QStringList lines;
    QSet<QByteArray> names;
    for (auto it = before.begin(); it != before.end(); ++it)
        names.insert(it.key());
    for (auto it = after.begin(); it != after.end(); ++it)
        names.insert(it.key());
    for (const QByteArray &name : names) {
        const int delta = after.value(name) - before.value(name);
        if (delta != 0)
            lines << QString("%1 %2%3").arg(QString::fromLatin1(name))
                         .arg(delta > 0 ? "+" : "").arg(delta);
    }
    return lines.join(", ");
}

qint64 residentBytes()
{
    // Give freed heap back first, so the figure is what is still held.
    malloc_trim(0);
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

bool underAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

}

class MemoryTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void longSessionsLeaveNoObjectsAndNoGrowth();

private:
    bool openPlayBack(int cycle);
    bool menuRoundTrip();

    Zhujiemian *menu = nullptr;
};

void MemoryTest::initTestCase()
{
    installCensus();
}

// One round: a level from the level select, a move or a whole solution, and back.
bool MemoryTest::openPlayBack(int cycle)
{
    xuanguan *select = menu->levelSelect;
    const int index = cycle % 10 == 0 ? 0 : cycle % 20;
    mybtn *level = levelButtonOf(*select, index);
    if (!level)
        return false;
    QTest::mouseClick(level, Qt::LeftButton);
    youxi *play = select->playWindow;
    if (!play || !play->isVisible())
        return false;

    if (index == 0) {
        // Level 1 solved: leave during the drop of the victory picture or after it.
        QVector<QPoint> clicks;
        if (!solveBoard(boardOf(*play), &clicks) || clicks.size() != 1)
            return false;
        QTest::mouseClick(play->coinGrid[clicks[0].x()][clicks[0].y()], Qt::LeftButton);
        if (!QTest::qWaitFor([play] { return play->solved; }, stepWaitMs))
            return false;
        QTest::qWait(cycle % 30 == 0 ? 1600 : 100);
    } else {
        // A move whose neighbour step is still pending when the window goes.
        QTest::mouseClick(play->coinGrid[cycle % 4][(cycle / 4) % 4], Qt::LeftButton);
    }

    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    return QTest::qWaitFor([select] { return select->isVisible() && !select->playWindow; },
                           stepWaitMs);
}

bool MemoryTest::menuRoundTrip()
{
    xuanguan *select = menu->levelSelect;
    QTest::mouseClick(backButtonOf(*select), Qt::LeftButton);
    if (!QTest::qWaitFor([this] { return menu->isVisible(); }, stepWaitMs))
        return false;
    QTest::mouseClick(menu->findChild<mybtn *>(), Qt::LeftButton);
    return QTest::qWaitFor([select] { return select->isVisible(); }, stepWaitMs);
}

void MemoryTest::longSessionsLeaveNoObjectsAndNoGrowth()
{
    menu = new Zhujiemian;
    menu->show();
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    mybtn *start = menu->findChild<mybtn *>();
    QVERIFY(start);
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(menu->levelSelect->isVisible(), stepWaitMs);

    // The first rounds fill Qt's caches (fonts, pictures, style, sound samples).
    for (int cycle = 0; cycle < warmUpCycles; ++cycle)
        QVERIFY2(openPlayBack(cycle), qPrintable(QString("warm-up round %1").arg(cycle)));
    QVERIFY(menuRoundTrip());
    QTest::qWait(settleMs);
    const QMap<QByteArray, int> before = census();
    const qint64 rssBefore = residentBytes();

    for (int cycle = 0; cycle < cycles; ++cycle) {
        QVERIFY2(openPlayBack(cycle), qPrintable(QString("round %1").arg(cycle)));
        if (cycle % 30 == 29)
            QVERIFY2(menuRoundTrip(), qPrintable(QString("menu after round %1").arg(cycle)));
    }

    // Bounces on the start button, in bursts quicker than one bounce lasts.
    QVERIFY(menuRoundTrip());
    QTest::mouseClick(backButtonOf(*menu->levelSelect), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), stepWaitMs);
    for (int i = 0; i < bounces; ++i) {
        start->bounceDown();
        start->bounceUp();
        if (i % bounceBurst == bounceBurst - 1)
            QTest::qWait(i % 100 == 99 ? 250 : 5);
    }
    QTest::qWait(settleMs);
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(menu->levelSelect->isVisible(), stepWaitMs);
    QTest::qWait(settleMs);

    QMap<QByteArray, int> after = census();
    // Objects handed to deleteLater go at the next turns of the event loop.
    for (int i = 0; i < 20 && total(after) != total(before); ++i) {
        QTest::qWait(100);
        after = census();
    }
    const qint64 rssAfter = residentBytes();
    qInfo("live QObjects: %d before, %d after %d rounds and %d bounces", total(before),
          total(after), cycles, bounces);
    qInfo("sounds: %d QSound / %d QSoundEffect before, %d / %d after",
          before.value("QSound"), before.value("QSoundEffect"), after.value("QSound"),
          after.value("QSoundEffect"));
    qInfo("resident memory: %lld KiB before, %lld KiB after (%+lld KiB)", rssBefore / 1024,
          rssAfter / 1024, (rssAfter - rssBefore) / 1024);

    QVERIFY2(after.value("QSound") == before.value("QSound")
                 && after.value("QSoundEffect") == before.value("QSoundEffect"),
             qPrintable("sounds left behind: " + difference(before, after)));
    QVERIFY2(total(after) == total(before),
             qPrintable("live objects changed: " + difference(before, after)));
    QVERIFY(!menu->levelSelect->playWindow);
    if (underAddressSanitizer()) {
        // The sanitizer's quarantine holds freed memory on purpose; the plain build checks it.
        qInfo("resident memory not compared under AddressSanitizer");
    } else {
        QVERIFY2(rssAfter - rssBefore <= rssSlackBytes,
                 qPrintable(QString("resident memory grew by %1 KiB")
                                .arg((rssAfter - rssBefore) / 1024)));
    }

    delete menu;
}

QTEST_MAIN(MemoryTest)
#include "tst_memory.moc"
