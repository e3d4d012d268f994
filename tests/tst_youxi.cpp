#include <QtTest>
#include <QLabel>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QSound>
#include <QTimer>

#include <mutex>
#include <thread>
#include <unordered_set>

#include "data/dataconfig.h"
#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "support/solver.h"
#include "widgets/jinbi.h"
#include "widgets/mybtn.h"

// Qt's exported hook table (used by debugging tools); slots 3 and 4 are called from the
// QObject constructor and destructor.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {

constexpr int stepWaitMs = 1000;      // deadline for the 300 ms delays
constexpr int endWaitMs = 4000;       // deadline for the 1500 ms end animations
const QRect parkedPicture(0, -630, 320, 630);
const QRect droppedPicture(0, 0, 320, 630);
const QRect middleBackButton(135, 294, 50, 50);

// Remembers every QObject made on the GUI thread until it is destroyed, so a test can
// count parentless objects (animations, the layout store) that no findChildren can reach.
class LiveObjects
{
public:
    static void install()
    {
        mainThread = std::this_thread::get_id();
        qtHookData[addSlot] = reinterpret_cast<quintptr>(&added);
        qtHookData[removeSlot] = reinterpret_cast<quintptr>(&removed);
    }

    template <class T>
    static int count()
    {
        std::lock_guard<std::mutex> lock(mutex);
        int n = 0;
        for (QObject *o : objects)
            if (qobject_cast<T *>(o))
                ++n;
        return n;
    }

private:
    static constexpr int addSlot = 3;
    static constexpr int removeSlot = 4;

    static void added(QObject *o)
    {
        if (std::this_thread::get_id() != mainThread)
            return;
        std::lock_guard<std::mutex> lock(mutex);
        objects.insert(o);
    }

    // Objects may die on another thread; they must leave the set all the same.
    static void removed(QObject *o)
    {
        std::lock_guard<std::mutex> lock(mutex);
        objects.erase(o);
    }

    static inline std::mutex mutex;
    static inline std::unordered_set<QObject *> objects;
    static inline std::thread::id mainThread;
};

Board layoutOf(int level)
{
    const dataConfig layouts;
    return layouts.levelLayouts.value(level);
}

// Boards as text ("1101 0110 ..." column by column) so failures show them.
QString boardText(const Board &board)
{
    QStringList columns;
    for (const auto &column : board) {
        QString text;
        for (int face : column)
            text += QString::number(face);
        columns << text;
    }
    return columns.join(' ');
}

QString coinFaces(const youxi &w)
{
    Board board(4, QVector<int>(4));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            board[c][r] = w.coinGrid[c][r]->goldUp ? 1 : 0;
    return boardText(board);
}

QString gridFaces(const youxi &w)
{
    Board board(4, QVector<int>(4));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            board[c][r] = w.faceGrid[c][r];
    return boardText(board);
}

Board flipped(Board board, const QVector<QPoint> &cells)
{
    for (QPoint p : cells)
        board[p.x()][p.y()] ^= 1;
    return board;
}

int lockedCoins(const youxi &w)
{
    int n = 0;
    for (auto &column : w.coinGrid)
        for (jinbi *coin : column)
            n += coin->isLocked ? 1 : 0;
    return n;
}

QVector<QPoint> plusOf(QPoint p)
{
    QVector<QPoint> cells{p};
    for (QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const QPoint n = p + d;
        if (n.x() >= 0 && n.x() < 4 && n.y() >= 0 && n.y() < 4)
            cells << n;
    }
    return cells;
}

QTimer *countdownTimerOf(youxi &w) { return w.findChild<QTimer *>("countdownTimer"); }
QLabel *labelOf(youxi &w, const char *name) { return w.findChild<QLabel *>(name); }
mybtn *backButtonOf(youxi &w) { return w.findChild<mybtn *>("backButton"); }

// One countdown tick, delivered now instead of a second from now.
void tick(youxi &w)
{
    QVERIFY(QMetaObject::invokeMethod(countdownTimerOf(w), "timeout"));
}

// The label as the player should read it: minutes, colon, seconds, no leading zeros.
QStringList expectedCountdownTexts()
{
    QStringList texts;
    for (int minutes = 0; minutes < 2; ++minutes)
        for (int seconds = 0; seconds < 60; ++seconds)
            texts << QString("倒计时: ") + QString::number(minutes) + ':' + QString::number(seconds);
    return texts;
}

// Clicks the coins in turn, each as soon as it takes presses again.
void playClicks(youxi &w, const QVector<QPoint> &clicks)
{
    for (QPoint p : clicks) {
        jinbi *coin = w.coinGrid[p.x()][p.y()];
        QTRY_VERIFY_WITH_TIMEOUT(!coin->isLocked && !coin->isTurning, stepWaitMs);
        QTest::mouseClick(coin, Qt::LeftButton);
        QCOMPARE(lockedCoins(w), 16);
    }
}

int stackIndex(QWidget *w)
{
    return w->parentWidget()->children().indexOf(w);
}

int topCoinIndex(youxi &w)
{
    int top = -1;
    for (auto &column : w.coinGrid)
        for (jinbi *coin : column)
            top = qMax(top, stackIndex(coin));
    return top;
}

QLabel *nodeAt(youxi &w, QPoint place)
{
    for (QLabel *label : w.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        if (label->objectName().isEmpty() && label->geometry() == QRect(place, QSize(50, 50)))
            return label;
    return nullptr;
}

mybtn *levelButtonOf(xuanguan &ls, int index)
{
    const QPoint place(25 + 70 * (index % 4), 160 + 70 * (index / 4));
    for (mybtn *b : ls.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly))
        if (b->pos() == place)
            return b;
    return nullptr;
}

mybtn *backButtonOf(xuanguan &ls)
{
    for (mybtn *b : ls.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly))
        if (b->pos() == QPoint(270, 538))
            return b;
    return nullptr;
}

int openPlayWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<youxi *>(w) ? 1 : 0;
    return n;
}

int liveCoins()
{
    int n = 0;
    for (QWidget *w : QApplication::allWidgets())
        n += qobject_cast<jinbi *>(w) ? 1 : 0;
    return n;
}

// End animations of earlier windows may still be running; start each count from none.
void settleAnimations()
{
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QPropertyAnimation>(), 0, endWaitMs);
}

// Counts the Show events a window receives.
class ShowCounter : public QObject
{
public:
    explicit ShowCounter(QWidget *watched) { watched->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

bool showsPicture(const QLabel *label, QSize size)
{
#if QT_VERSION >= QT_VERSION_CHECK(5, 15, 0)
    const QPixmap picture = label->pixmap(Qt::ReturnByValue);
    return !picture.isNull() && picture.size() == size;
#else
    return label->pixmap() && !label->pixmap()->isNull() && label->pixmap()->size() == size;
#endif
}

// Only the absence of a late event can be checked, so wait until its moment has passed.
void waitUntil(const QElapsedTimer &clock, qint64 ms)
{
    QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() >= ms, int(ms) + 2000);
}

}

class TestYouxi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void isAFixedSizeTitledWindow();
    void constructionFollowsTheLevel_data();
    void constructionFollowsTheLevel();
    void coinsAndNodesStandOnTheirCells_data();
    void coinsAndNodesStandOnTheirCells();
    void labelsButtonAndPicturesStandInPlace();
    void childrenStackInCreationOrder();
    void layoutStoreIsGoneWhenConstructionEnds();

    void clickFlipsTheCoinAtOnceAndItsNeighboursLater_data();
    void clickFlipsTheCoinAtOnceAndItsNeighboursLater();
    void noCoinTakesPressesDuringTheWait();
    void sameCoinTwiceRestoresTheBoard_data();
    void sameCoinTwiceRestoresTheBoard();
    void fixingTheLastSilverCoinButBreakingOthersIsNoVictory_data();
    void fixingTheLastSilverCoinButBreakingOthersIsNoVictory();
    void minimalClicksWinTheLevel_data();
    void minimalClicksWinTheLevel();

    void countdownTextHasNoLeadingZeros_data();
    void countdownTextHasNoLeadingZeros();
    void timeLimitFollowsTheLevel_data();
    void timeLimitFollowsTheLevel();
    void levelOneCountsDownInRealTimeThenLoses();
    void defeatDropsThePictureAndLeavesCoinsFree();

    void levelButtonOpensItsLevelInPlace_data();
    void levelButtonOpensItsLevelInPlace();
    void backReturnsToThePlayWindowsPlaceAndDestroysIt();
    void twoQuickBackClicksReturnOnce();
    void chosenLevelOverridesAPendingBackClick();
    void manyPlayWindowsLeaveNothingBehind();
};

// QtMultimedia's sample cache can deadlock when the last user of a sound goes while another
// sound is still loading; holding every sound for the whole run keeps windows that come and
// go quickly from ever releasing a sample.
void TestYouxi::initTestCase()
{
    LiveObjects::install();
    for (const char *name : {"BackButtonSound", "TapButtonSound", "ConFlipSound", "LevelWinSound"})
        new QSound(QString(":/res/%1.wav").arg(name), this);
}

// A failed test may leave its play window open; the next one must not count it.
void TestYouxi::cleanup()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<youxi *>(w))
            delete w;
}

void TestYouxi::isAFixedSizeTitledWindow()
{
    youxi w(1);
    QCOMPARE(w.windowTitle(), QString("Quenvary"));
    QCOMPARE(w.size(), QSize(320, 588));
    QCOMPARE(w.minimumSize(), QSize(320, 588));
    QCOMPARE(w.maximumSize(), QSize(320, 588));
    QVERIFY(!w.windowIcon().isNull());
    QCOMPARE(w.parent(), nullptr);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.solved);
}

void TestYouxi::constructionFollowsTheLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("title");
    QTest::newRow("level 1") << 1 << "第 1 关";
    QTest::newRow("level 5") << 5 << "第 5 关";
    QTest::newRow("level 9, not symmetric") << 9 << "第 9 关";
    QTest::newRow("level 12, not symmetric") << 12 << "第 12 关";
    QTest::newRow("level 20") << 20 << "第 20 关";
}

void TestYouxi::constructionFollowsTheLevel()
{
    QFETCH(int, level);
    QFETCH(QString, title);
    const Board layout = layoutOf(level);
    QCOMPARE(layout.size(), 4);
    youxi w(level);
    QCOMPARE(w.levelNumber, level);
    QCOMPARE(labelOf(w, "levelLabel")->text(), title);
    // Column first everywhere: a transposed reading shows up on the asymmetric levels.
    QCOMPARE(coinFaces(w), boardText(layout));
    QCOMPARE(gridFaces(w), boardText(layout));
    const QSize gold = QPixmap(":/res/Coin0001.png").size();
    const QSize silver = QPixmap(":/res/Coin0008.png").size();
    QVERIFY(gold != silver);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            jinbi *coin = w.coinGrid[c][r];
            QCOMPARE(coin->parent(), &w);
            QCOMPARE(coin->boardColumn, c);
            QCOMPARE(coin->boardRow, r);
            QCOMPARE(coin->pos(), QPoint(62 + 50 * c, 198 + 50 * r));
            // The starting picture fixes the coin's size, so the size tells which was chosen.
            QCOMPARE(coin->size(), layout[c][r] == 1 ? gold : silver);
            QVERIFY(!coin->isLocked);
        }
    }
}

void TestYouxi::coinsAndNodesStandOnTheirCells_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QPoint>("coinPlace");
    QTest::addColumn<QPoint>("nodePlace");
    QTest::newRow("top left") << QPoint(0, 0) << QPoint(62, 198) << QPoint(60, 194);
    QTest::newRow("top right") << QPoint(3, 0) << QPoint(212, 198) << QPoint(210, 194);
    QTest::newRow("bottom left") << QPoint(0, 3) << QPoint(62, 348) << QPoint(60, 344);
    QTest::newRow("bottom right") << QPoint(3, 3) << QPoint(212, 348) << QPoint(210, 344);
    QTest::newRow("column 1, row 2") << QPoint(1, 2) << QPoint(112, 298) << QPoint(110, 294);
}

void TestYouxi::coinsAndNodesStandOnTheirCells()
{
    QFETCH(QPoint, cell);
    QFETCH(QPoint, coinPlace);
    QFETCH(QPoint, nodePlace);
    youxi w(7);
    QCOMPARE(w.coinGrid[cell.x()][cell.y()]->pos(), coinPlace);
    QLabel *node = nodeAt(w, nodePlace);
    QVERIFY(node);
    QVERIFY(showsPicture(node, QSize(50, 50)));
}

void TestYouxi::labelsButtonAndPicturesStandInPlace()
{
    youxi w(3);
    QLabel *level = labelOf(w, "levelLabel");
    QCOMPARE(level->geometry(), QRect(5, 78, 120, 25));
    QCOMPARE(level->font().family(), QString("等线"));
    QCOMPARE(level->font().pointSize(), 20);
    QCOMPARE(level->styleSheet(), QString("color:#ffffff;"));

    QLabel *countdown = labelOf(w, "countdownLabel");
    QCOMPARE(countdown->geometry(), QRect(110, 428, 120, 25));
    QCOMPARE(countdown->font().family(), QString("等线"));
    QCOMPARE(countdown->font().pointSize(), 16);
    // Nothing to read before the first tick, a second from now.
    QCOMPARE(countdown->text(), QString());
    QTimer *timer = countdownTimerOf(w);
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), 1000);
    QVERIFY(!timer->isSingleShot());

    QCOMPARE(backButtonOf(w)->geometry(), QRect(270, 538, 50, 50));

    for (const char *name : {"victoryLabel", "defeatLabel"}) {
        QLabel *picture = labelOf(w, name);
        QVERIFY2(picture, name);
        QCOMPARE(picture->geometry(), parkedPicture);
        QVERIFY(showsPicture(picture, QSize(320, 630)));
    }
}

void TestYouxi::childrenStackInCreationOrder()
{
    youxi w(2);
    QList<QWidget *> expected{backButtonOf(w), labelOf(w, "levelLabel"), labelOf(w, "victoryLabel"),
                              labelOf(w, "defeatLabel"), labelOf(w, "countdownLabel")};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            expected << nodeAt(w, QPoint(60 + 50 * c, 194 + 50 * r)) << w.coinGrid[c][r];
        }
    }
    QVERIFY(!expected.contains(nullptr));
    QList<QWidget *> actual;
    for (QObject *o : w.children())
        if (auto *widget = qobject_cast<QWidget *>(o))
            actual << widget;
    QCOMPARE(actual, expected);
}

void TestYouxi::layoutStoreIsGoneWhenConstructionEnds()
{
    const int storesBefore = LiveObjects::count<dataConfig>();
    const int coinsBefore = LiveObjects::count<jinbi>();
    {
        youxi w(4);
        QCOMPARE(LiveObjects::count<jinbi>(), coinsBefore + 16);
        QCOMPARE(LiveObjects::count<dataConfig>(), storesBefore);
    }
    QCOMPARE(LiveObjects::count<jinbi>(), coinsBefore);
}

void TestYouxi::clickFlipsTheCoinAtOnceAndItsNeighboursLater_data()
{
    QTest::addColumn<QPoint>("click");
    QTest::addColumn<QVector<QPoint>>("neighbours");
    QTest::newRow("corner top left") << QPoint(0, 0) << QVector<QPoint>{{1, 0}, {0, 1}};
    QTest::newRow("corner top right") << QPoint(3, 0) << QVector<QPoint>{{2, 0}, {3, 1}};
    QTest::newRow("corner bottom left") << QPoint(0, 3) << QVector<QPoint>{{1, 3}, {0, 2}};
    QTest::newRow("corner bottom right") << QPoint(3, 3) << QVector<QPoint>{{2, 3}, {3, 2}};
    QTest::newRow("edge top") << QPoint(1, 0) << QVector<QPoint>{{2, 0}, {0, 0}, {1, 1}};
    QTest::newRow("edge bottom") << QPoint(2, 3) << QVector<QPoint>{{3, 3}, {1, 3}, {2, 2}};
    QTest::newRow("edge left") << QPoint(0, 2) << QVector<QPoint>{{1, 2}, {0, 3}, {0, 1}};
    QTest::newRow("edge right") << QPoint(3, 1) << QVector<QPoint>{{2, 1}, {3, 2}, {3, 0}};
    QTest::newRow("inner 1,1") << QPoint(1, 1) << QVector<QPoint>{{2, 1}, {0, 1}, {1, 2}, {1, 0}};
    QTest::newRow("inner 2,1") << QPoint(2, 1) << QVector<QPoint>{{3, 1}, {1, 1}, {2, 2}, {2, 0}};
}

void TestYouxi::clickFlipsTheCoinAtOnceAndItsNeighboursLater()
{
    QFETCH(QPoint, click);
    QFETCH(QVector<QPoint>, neighbours);
    // Level 10: not symmetric, and no single click solves it.
    const Board start = layoutOf(10);
    youxi w(10);
    w.show();
    QSignalSpy clicked(w.coinGrid[click.x()][click.y()], &QPushButton::clicked);

    QTest::mouseClick(w.coinGrid[click.x()][click.y()], Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    const QString afterClick = boardText(flipped(start, {click}));
    QCOMPARE(coinFaces(w), afterClick);
    QCOMPARE(gridFaces(w), afterClick);
    QCOMPARE(lockedCoins(w), 16);

    const QString afterMove = boardText(flipped(start, QVector<QPoint>{click} + neighbours));
    QTRY_COMPARE_WITH_TIMEOUT(coinFaces(w), afterMove, stepWaitMs);
    QCOMPARE(gridFaces(w), afterMove);
    QCOMPARE(lockedCoins(w), 0);
    QVERIFY(!w.solved);
    QVERIFY(countdownTimerOf(w)->isActive());
}

void TestYouxi::noCoinTakesPressesDuringTheWait()
{
    youxi w(10);
    w.show();
    const Board start = layoutOf(10);
    const QPoint first(1, 2);
    jinbi *clickedCoin = w.coinGrid[first.x()][first.y()];
    QList<QSignalSpy *> spies;
    for (auto &column : w.coinGrid)
        for (jinbi *coin : column)
            spies << new QSignalSpy(coin, &QPushButton::clicked);
    auto pressEverything = [&] {
        for (auto &column : w.coinGrid) {
            for (jinbi *coin : column) {
                QTest::mouseClick(coin, Qt::LeftButton);
                QTest::keyClick(coin, Qt::Key_Space);
            }
        }
    };
    // Again the moment the clicked coin stops turning (240 ms, before the 300 ms step):
    // from then on only the lock holds it.
    int lockedWhenTurned = -1;
    auto pressWhenTurned = [&] {
        if (clickedCoin->isTurning || lockedWhenTurned >= 0)
            return;
        lockedWhenTurned = lockedCoins(w);
        pressEverything();
    };
    connect(clickedCoin->toSilverTimer, &QTimer::timeout, &w, pressWhenTurned);
    connect(clickedCoin->toGoldTimer, &QTimer::timeout, &w, pressWhenTurned);

    QTest::mouseClick(clickedCoin, Qt::LeftButton);
    pressEverything();
    QTRY_VERIFY_WITH_TIMEOUT(lockedWhenTurned >= 0, stepWaitMs);
    QCOMPARE(lockedWhenTurned, 16);

    int clicks = 0;
    for (QSignalSpy *spy : spies)
        clicks += spy->count();
    qDeleteAll(spies);
    QCOMPARE(clicks, 1);
    QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, stepWaitMs);
    QCOMPARE(coinFaces(w), boardText(flipped(start, plusOf(first))));

    // Once the board is open again, a far coin takes a Space press as a move.
    jinbi *far = w.coinGrid[3][0];
    QSignalSpy farClicked(far, &QPushButton::clicked);
    QTest::keyClick(far, Qt::Key_Space);
    QCOMPARE(farClicked.count(), 1);
    QCOMPARE(lockedCoins(w), 16);
}

void TestYouxi::sameCoinTwiceRestoresTheBoard_data()
{
    QTest::addColumn<QPoint>("cell");
    QTest::newRow("inner") << QPoint(2, 2);
    QTest::newRow("corner") << QPoint(0, 3);
}

void TestYouxi::sameCoinTwiceRestoresTheBoard()
{
    QFETCH(QPoint, cell);
    const QString start = boardText(layoutOf(13));
    youxi w(13);
    w.show();
    playClicks(w, {cell});
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, stepWaitMs);
    QVERIFY(coinFaces(w) != start);
    playClicks(w, {cell});
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, stepWaitMs);
    QCOMPARE(coinFaces(w), start);
    QCOMPARE(gridFaces(w), start);
    QVERIFY(!w.solved);
}

void TestYouxi::fixingTheLastSilverCoinButBreakingOthersIsNoVictory_data()
{
    QTest::addColumn<QPoint>("silver");
    QTest::addColumn<QPoint>("click");
    // Clicking the silver coin makes the board all gold for 300 ms, until its neighbours turn.
    QTest::newRow("click the silver coin") << QPoint(1, 1) << QPoint(1, 1);
    QTest::newRow("click its neighbour") << QPoint(0, 0) << QPoint(1, 0);
    QTest::newRow("click the coin above it") << QPoint(3, 2) << QPoint(3, 1);
}

void TestYouxi::fixingTheLastSilverCoinButBreakingOthersIsNoVictory()
{
    QFETCH(QPoint, silver);
    QFETCH(QPoint, click);
    // No set of clicks leads from a level to a single silver coin (every reachable board
    // has at least two, or none), so the coins are turned into place by hand.
    youxi w(8);
    w.show();
    Board oneSilver(4, QVector<int>(4, 1));
    oneSilver[silver.x()][silver.y()] = 0;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            if (w.faceGrid[c][r] != oneSilver[c][r]) {
                w.coinGrid[c][r]->turnOver();
                w.faceGrid[c][r] = oneSilver[c][r];
            }
        }
    }
    for (auto &column : w.coinGrid)
        for (jinbi *coin : column)
            QTRY_VERIFY_WITH_TIMEOUT(!coin->isTurning, stepWaitMs);
    QCOMPARE(coinFaces(w), boardText(oneSilver));

    playClicks(w, {click});
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, stepWaitMs);
    Board expected = oneSilver;
    applyClick(expected, click);
    QCOMPARE(coinFaces(w), boardText(expected));
    QCOMPARE(gridFaces(w), boardText(expected));
    QVERIFY(w.coinGrid[silver.x()][silver.y()]->goldUp);
    QVERIFY(!w.solved);
    QVERIFY(countdownTimerOf(w)->isActive());
    QCOMPARE(labelOf(w, "victoryLabel")->geometry(), parkedPicture);
    QVERIFY(stackIndex(labelOf(w, "victoryLabel")) < topCoinIndex(w));
}

void TestYouxi::minimalClicksWinTheLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 9") << 9;
    QTest::newRow("level 19") << 19;
}

void TestYouxi::minimalClicksWinTheLevel()
{
    QFETCH(int, level);
    QVector<QPoint> clicks;
    QVERIFY(solveBoard(layoutOf(level), &clicks));
    youxi w(level);
    w.show();
    QLabel *countdown = labelOf(w, "countdownLabel");
    QLabel *victory = labelOf(w, "victoryLabel");
    QTimer *timer = countdownTimerOf(w);
    settleAnimations();

    playClicks(w, clicks.mid(0, clicks.size() - 1));
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, stepWaitMs);
    QVERIFY(!w.solved);
    QElapsedTimer clock;
    clock.start();
    playClicks(w, {clicks.last()});
    if (QTest::currentTestFailed())
        return;
    QVERIFY(!w.solved);
    QTRY_VERIFY_WITH_TIMEOUT(w.solved, stepWaitMs);
    QVERIFY(clock.elapsed() >= 290);
    const QString frozen = countdown->text();
    QCOMPARE(coinFaces(w), boardText(Board(4, QVector<int>(4, 1))));
    QCOMPARE(gridFaces(w), coinFaces(w));
    QCOMPARE(lockedCoins(w), 16);
    QVERIFY(!timer->isActive());
    // Raised above the board before they move into view.
    QVERIFY(stackIndex(victory) > topCoinIndex(w));
    QVERIFY(stackIndex(backButtonOf(w)) > stackIndex(victory));

    clock.restart();
    QTRY_COMPARE_WITH_TIMEOUT(victory->geometry(), droppedPicture, endWaitMs);
    QVERIFY(clock.elapsed() >= 1400);
    QTRY_COMPARE_WITH_TIMEOUT(backButtonOf(w)->geometry(), middleBackButton, stepWaitMs);
    // More than a second later: no tick has touched the label.
    QCOMPARE(countdown->text(), frozen);
    QCOMPARE(labelOf(w, "defeatLabel")->geometry(), parkedPicture);
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QPropertyAnimation>(), 0, stepWaitMs);

    // The board stays locked for good.
    for (auto &column : w.coinGrid) {
        for (jinbi *coin : column) {
            QSignalSpy clicked(coin, &QPushButton::clicked);
            QTest::mouseClick(coin, Qt::LeftButton);
            QCOMPARE(clicked.count(), 0);
        }
    }
    QVERIFY(w.solved);
}

void TestYouxi::countdownTextHasNoLeadingZeros_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    const QStringList texts = expectedCountdownTexts();
    for (int s = 0; s < texts.size(); ++s)
        QTest::newRow(qPrintable(QString("%1 s").arg(s))) << s << texts[s];
}

void TestYouxi::countdownTextHasNoLeadingZeros()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(youxi::countdownText(seconds), text);
}

void TestYouxi::timeLimitFollowsTheLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("limit");
    QTest::newRow("level 1") << 1 << 10;
    QTest::newRow("level 5") << 5 << 10;
    QTest::newRow("level 6") << 6 << 20;
    QTest::newRow("level 10") << 10 << 20;
    QTest::newRow("level 11") << 11 << 50;
    QTest::newRow("level 18") << 18 << 50;
    QTest::newRow("level 19") << 19 << 80;
    QTest::newRow("level 20") << 20 << 80;
}

void TestYouxi::timeLimitFollowsTheLevel()
{
    QFETCH(int, level);
    QFETCH(int, limit);
    youxi w(level);
    QLabel *countdown = labelOf(w, "countdownLabel");
    QTimer *timer = countdownTimerOf(w);
    const QStringList all = expectedCountdownTexts();
    // Ticks delivered back to back: no real one can slip in between.
    QStringList shown;
    for (int i = 0; i < limit; ++i) {
        tick(w);
        shown << countdown->text();
    }
    QStringList expected;
    for (int s = limit - 1; s >= 0; --s)
        expected << all[s];
    QCOMPARE(shown, expected);
    QVERIFY(timer->isActive());
    tick(w);
    QVERIFY(!timer->isActive());
    QCOMPARE(countdown->text(), all[0]);
}

void TestYouxi::levelOneCountsDownInRealTimeThenLoses()
{
    QElapsedTimer clock;
    clock.start();
    youxi w(1);
    w.show();
    QLabel *countdown = labelOf(w, "countdownLabel");
    QTimer *timer = countdownTimerOf(w);
    QStringList shown;
    QVector<qint64> at;
    QVector<bool> running;
    // Connected after the window's own tick handler, so this sees each tick's outcome.
    connect(timer, &QTimer::timeout, &w, [&] {
        shown << countdown->text();
        at << clock.elapsed();
        running << timer->isActive();
    });
    QCOMPARE(countdown->text(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(!timer->isActive(), 15000);

    const QStringList all = expectedCountdownTexts();
    QStringList expected;
    for (int s = 9; s >= 0; --s)
        expected << all[s];
    expected << all[0];
    QCOMPARE(shown, expected);
    QCOMPARE(running, QVector<bool>(10, true) << false);
    // Empty for the first second; then one text a second (coarse timers may run 5 % early).
    QVERIFY2(at[0] >= 900, qPrintable(QString::number(at[0])));
    for (int i = 1; i < at.size(); ++i)
        QVERIFY2(at[i] - at[i - 1] >= 900, qPrintable(QString::number(at[i] - at[i - 1])));
    QVERIFY(stackIndex(labelOf(w, "defeatLabel")) > topCoinIndex(w));
}

void TestYouxi::defeatDropsThePictureAndLeavesCoinsFree()
{
    youxi w(3);
    w.show();
    QLabel *defeat = labelOf(w, "defeatLabel");
    QLabel *countdown = labelOf(w, "countdownLabel");
    QTimer *timer = countdownTimerOf(w);
    settleAnimations();
    for (int i = 0; i < 10; ++i)
        tick(w);
    QCOMPARE(defeat->geometry(), parkedPicture);
    QCOMPARE(LiveObjects::count<QPropertyAnimation>(), 0);

    QElapsedTimer clock;
    clock.start();
    tick(w);
    QVERIFY(!timer->isActive());
    QCOMPARE(LiveObjects::count<QPropertyAnimation>(), 2);
    QVERIFY(stackIndex(defeat) > topCoinIndex(w));
    QVERIFY(stackIndex(backButtonOf(w)) > stackIndex(defeat));
    QTRY_COMPARE_WITH_TIMEOUT(defeat->geometry(), droppedPicture, endWaitMs);
    QVERIFY(clock.elapsed() >= 1400);
    QTRY_COMPARE_WITH_TIMEOUT(backButtonOf(w)->geometry(), middleBackButton, stepWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QPropertyAnimation>(), 0, stepWaitMs);

    QCOMPARE(labelOf(w, "victoryLabel")->geometry(), parkedPicture);
    QCOMPARE(countdown->text(), QString("倒计时: 0:0"));
    QVERIFY(!w.solved);
    // Unlike victory, the coins stay free under the picture.
    QCOMPARE(lockedCoins(w), 0);
    const QString before = coinFaces(w);
    QSignalSpy clicked(w.coinGrid[0][0], &QPushButton::clicked);
    QTest::mouseClick(w.coinGrid[0][0], Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
    QVERIFY(coinFaces(w) != before);
    QTRY_COMPARE_WITH_TIMEOUT(lockedCoins(w), 0, stepWaitMs);
    QVERIFY(!timer->isActive());
}

void TestYouxi::levelButtonOpensItsLevelInPlace_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("first button") << 0;
    QTest::newRow("second row, first column") << 4;
    QTest::newRow("third row, third column") << 10;
    QTest::newRow("last button") << 19;
}

void TestYouxi::levelButtonOpensItsLevelInPlace()
{
    QFETCH(int, index);
    xuanguan ls;
    ls.move(173, 61);
    ls.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ls));
    const QRect place = ls.geometry();
    mybtn *button = levelButtonOf(ls, index);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);

    QPointer<youxi> play = ls.playWindow;
    QVERIFY(play);
    QCOMPARE(play->levelNumber, index + 1);
    QCOMPARE(coinFaces(*play), boardText(layoutOf(index + 1)));
    QCOMPARE(play->parent(), nullptr);
    QVERIFY(play->isVisible());
    QVERIFY(!ls.isVisible());
    QCOMPARE(play->geometry(), place);

    // While a level is open, the other level buttons do nothing.
    QTest::mouseClick(levelButtonOf(ls, (index + 1) % 20), Qt::LeftButton);
    QCOMPARE(ls.playWindow, play.data());
    QCOMPARE(openPlayWindows(), 1);
    delete ls.playWindow;
}

void TestYouxi::backReturnsToThePlayWindowsPlaceAndDestroysIt()
{
    xuanguan ls;
    ls.show();
    QTest::mouseClick(levelButtonOf(ls, 2), Qt::LeftButton);
    QPointer<youxi> play = ls.playWindow;
    QVERIFY(play);
    play->move(211, 97);
    const QRect moved = play->geometry();
    ShowCounter returns(&ls);

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    // Nothing hidden or stopped while the back sound plays.
    QVERIFY(play);
    QVERIFY(play->isVisible());
    QVERIFY(countdownTimerOf(*play)->isActive());
    QVERIFY(!ls.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(ls.isVisible(), stepWaitMs);
    QVERIFY(clock.elapsed() >= 290);
    QCOMPARE(returns.shows, 1);
    QVERIFY(!play);
    QCOMPARE(ls.playWindow, nullptr);
    QCOMPARE(ls.geometry(), moved);
    QCOMPARE(openPlayWindows(), 0);

    // A level chosen again gets a fresh window, not the old board.
    QTest::mouseClick(levelButtonOf(ls, 2), Qt::LeftButton);
    QPointer<youxi> again = ls.playWindow;
    QVERIFY(again);
    QCOMPARE(again->levelNumber, 3);
    QCOMPARE(coinFaces(*again), boardText(layoutOf(3)));
    QCOMPARE(labelOf(*again, "countdownLabel")->text(), QString());
    QCOMPARE(again->geometry(), moved);
    QCOMPARE(openPlayWindows(), 1);
    delete ls.playWindow;
}

void TestYouxi::twoQuickBackClicksReturnOnce()
{
    xuanguan ls;
    ls.show();
    QTest::mouseClick(levelButtonOf(ls, 0), Qt::LeftButton);
    QPointer<youxi> play = ls.playWindow;
    QVERIFY(play);
    ShowCounter returns(&ls);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    const qint64 secondClick = clock.elapsed();
    QTRY_VERIFY_WITH_TIMEOUT(!play, stepWaitMs);
    QVERIFY(ls.isVisible());

    // Opened before the second delay is due: that delay died with the first window.
    QTest::mouseClick(levelButtonOf(ls, 1), Qt::LeftButton);
    QPointer<youxi> next = ls.playWindow;
    QVERIFY(next);
    waitUntil(clock, secondClick + 600);
    QCOMPARE(returns.shows, 1);
    QVERIFY(next);
    QVERIFY(next->isVisible());
    QVERIFY(!ls.isVisible());
    delete ls.playWindow;
}

void TestYouxi::chosenLevelOverridesAPendingBackClick()
{
    Zhujiemian menu;
    QScopedPointer<xuanguan> owned(menu.levelSelect);
    xuanguan *ls = menu.levelSelect;
    ls->show();
    QVERIFY(!menu.isVisible());
    QSignalSpy back(ls, &xuanguan::fanhui);

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QTest::mouseClick(levelButtonOf(*ls, 5), Qt::LeftButton);
    QPointer<youxi> play = ls->playWindow;
    QVERIFY(play);

    waitUntil(clock, 600);
    QCOMPARE(back.count(), 0);
    QVERIFY(play);
    QVERIFY(play->isVisible());
    QVERIFY(!ls->isVisible());
    QVERIFY(!menu.isVisible());

    // The play window's own way back still leads to the level select alone.
    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!play, stepWaitMs);
    QVERIFY(ls->isVisible());
    QVERIFY(!menu.isVisible());
    QCOMPARE(back.count(), 0);
}

void TestYouxi::manyPlayWindowsLeaveNothingBehind()
{
    xuanguan ls;
    ls.show();
    const int timersBefore = LiveObjects::count<QTimer>();
    const int soundsBefore = LiveObjects::count<QSound>();
    settleAnimations();
    const int coinsBefore = liveCoins();
    QCOMPARE(openPlayWindows(), 0);

    for (int k = 0; k < 200; ++k) {
        QTest::mouseClick(levelButtonOf(ls, k % 20), Qt::LeftButton);
        youxi *play = ls.playWindow;
        QVERIFY(play);
        QCOMPARE(play->levelNumber, k % 20 + 1);
        // Leave some with a neighbour step pending, some in the middle of their defeat.
        if (k % 3 == 1)
            QTest::mouseClick(play->coinGrid[k % 4][k % 3], Qt::LeftButton);
        if (k % 7 == 2) {
            for (int i = 0; i <= 80 && countdownTimerOf(*play)->isActive(); ++i)
                tick(*play);
            QVERIFY(!countdownTimerOf(*play)->isActive());
        }
        if (k % 50 == 0) {
            QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(ls.isVisible(), stepWaitMs);
        } else {
            // The delayed step's last act, without waiting 300 ms every time.
            emit play->fanhui();
            QVERIFY(ls.isVisible());
        }
        QCOMPARE(ls.playWindow, nullptr);
    }

    QCOMPARE(openPlayWindows(), 0);
    QCOMPARE(liveCoins(), coinsBefore);
    QCOMPARE(LiveObjects::count<youxi>(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QTimer>(), timersBefore, stepWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QSound>(), soundsBefore, stepWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QPropertyAnimation>(), 0, endWaitMs);
}

QTEST_MAIN(TestYouxi)
#include "tst_youxi.moc"
