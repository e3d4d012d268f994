#include <QtTest>
#include <QLabel>
#include <QPointer>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QSound>

#include <mutex>
#include <thread>
#include <unordered_set>

#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "widgets/mybtn.h"

// Qt's exported hook table (used by debugging tools); slots 3 and 4 are called from the
// QObject constructor and destructor.
extern quintptr Q_CORE_EXPORT qtHookData[];

namespace {

constexpr int stepWaitMs = 1000;      // deadline for the 300 ms delays
constexpr int bounceWaitMs = 2000;    // deadline for the 200 ms bounces to be released

// Remembers every QObject made on the GUI thread until it is destroyed, so a test can
// count the parentless bounce animations that no findChildren can reach.
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

// Records when a window is shown and hidden, measured on the test's clock.
class VisibilityLog : public QObject
{
public:
    VisibilityLog(QWidget *watched, const QElapsedTimer &clock) : clock(clock)
    {
        watched->installEventFilter(this);
    }
    QVector<qint64> shownAt;
    QVector<qint64> hiddenAt;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            shownAt << clock.elapsed();
        else if (e->type() == QEvent::Hide)
            hiddenAt << clock.elapsed();
        return false;
    }

private:
    const QElapsedTimer &clock;
};

mybtn *buttonAt(QWidget &w, QPoint place)
{
    mybtn *found = nullptr;
    for (mybtn *b : w.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (b->pos() == place) {
            if (found)
                return nullptr;
            found = b;
        }
    }
    return found;
}

mybtn *backButtonOf(xuanguan &w) { return buttonAt(w, QPoint(270, 538)); }

QLabel *numberLabel(xuanguan &w, const QString &text)
{
    QLabel *found = nullptr;
    for (QLabel *label : w.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label->text() == text) {
            if (found)
                return nullptr;
            found = label;
        }
    }
    return found;
}

mybtn *startButtonOf(Zhujiemian &menu)
{
    const auto buttons = menu.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly);
    return buttons.size() == 1 ? buttons.first() : nullptr;
}

int levelSelectWindows()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<xuanguan *>(w) ? 1 : 0;
    return n;
}

// Only the absence of a late event can be checked, so wait until its moment has passed.
void waitUntil(const QElapsedTimer &clock, qint64 ms)
{
    QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() >= ms, int(ms) + 2000);
}

}

// The menu never deletes its level select; each test hands it to this guard.
class MenuWithLevelSelect
{
public:
    MenuWithLevelSelect() : levelSelect(menu.levelSelect) {}
    ~MenuWithLevelSelect() { delete levelSelect.data(); }
    Zhujiemian menu;
    QPointer<xuanguan> levelSelect;
};

class TestXuanguan : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void isAFixedSizeTitledHiddenWindow();
    void backButtonStandsInTheBottomRightCorner();
    void levelButtonsAndNumbersFormTheGrid_data();
    void levelButtonsAndNumbersFormTheGrid();
    void everyNumberAppearsOnce();
    void clickOnANumberReachesItsButton_data();
    void clickOnANumberReachesItsButton();

    void backHidesThenEmitsFanhuiAfter300Ms();
    void twoQuickBackClicksEmitFanhuiTwice();

    void menuHandsOverAfter300MsInItsPlace();
    void movingEitherWindowMovesTheOther();
    void twoStartClicksLeaveTheSameFinalState();
    void roundTripsReuseTheOneLevelSelect();
};

// QtMultimedia's sample cache can deadlock when the last user of a sound goes while another
// sound is still loading; holding every sound for the whole run keeps windows that come and
// go quickly from ever releasing a sample.
void TestXuanguan::initTestCase()
{
    LiveObjects::install();
    for (const char *name : {"BackButtonSound", "TapButtonSound", "ConFlipSound", "LevelWinSound"})
        new QSound(QString(":/res/%1.wav").arg(name), this);
}

void TestXuanguan::isAFixedSizeTitledHiddenWindow()
{
    xuanguan w;
    QCOMPARE(w.windowTitle(), QString("选择关卡"));
    QCOMPARE(w.size(), QSize(320, 588));
    QCOMPARE(w.minimumSize(), QSize(320, 588));
    QCOMPARE(w.maximumSize(), QSize(320, 588));
    QVERIFY(!w.windowIcon().isNull());
    QVERIFY(!w.isVisible());
    QCOMPARE(w.playWindow, nullptr);
}

void TestXuanguan::backButtonStandsInTheBottomRightCorner()
{
    xuanguan w;
    mybtn *back = backButtonOf(w);
    QVERIFY(back);
    QCOMPARE(back->geometry(), QRect(270, 538, 50, 50));
    // Twenty level buttons and the back button, nothing else.
    QCOMPARE(w.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly).size(), 21);
}

void TestXuanguan::levelButtonsAndNumbersFormTheGrid_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QPoint>("place");
    const int xs[] = {25, 95, 165, 235};
    const int ys[] = {160, 230, 300, 370, 440};
    // Filled row by row: level 5 starts the second row.
    for (int level = 1; level <= 20; ++level) {
        QTest::newRow(qPrintable(QString("level %1").arg(level)))
                << level << QPoint(xs[(level - 1) % 4], ys[(level - 1) / 4]);
    }
}

void TestXuanguan::levelButtonsAndNumbersFormTheGrid()
{
    QFETCH(int, level);
    QFETCH(QPoint, place);
    xuanguan w;
    mybtn *button = buttonAt(w, place);
    QVERIFY(button);
    QCOMPARE(button->size(), QPixmap(":/res/LevelIcon.png").size());
    QCOMPARE(button->size(), QSize(60, 60));

    QLabel *number = numberLabel(w, QString::number(level));
    QVERIFY(number);
    QCOMPARE(number->geometry(), button->geometry());
    QCOMPARE(number->alignment(), Qt::AlignCenter);
    QCOMPARE(number->font().family(), QString("等线"));
    QCOMPARE(number->font().pointSize(), 14);
    QVERIFY(!number->font().italic());
    QVERIFY(number->testAttribute(Qt::WA_TransparentForMouseEvents));
    // The number lies on top of its button.
    QVERIFY(w.children().indexOf(number) > w.children().indexOf(button));
}

void TestXuanguan::everyNumberAppearsOnce()
{
    xuanguan w;
    QStringList texts;
    for (QLabel *label : w.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        texts << label->text();
    texts.sort();
    QStringList expected;
    for (int level = 1; level <= 20; ++level)
        expected << QString::number(level);
    expected.sort();
    QCOMPARE(texts, expected);
}

void TestXuanguan::clickOnANumberReachesItsButton_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 5, second row") << 5;
    QTest::newRow("level 20, last") << 20;
}

void TestXuanguan::clickOnANumberReachesItsButton()
{
    QFETCH(int, level);
    xuanguan w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QLabel *number = numberLabel(w, QString::number(level));
    QVERIFY(number);
    const QPoint centre = number->geometry().center();
    auto *button = qobject_cast<mybtn *>(w.childAt(centre));
    QVERIFY(button);
    QCOMPARE(button->geometry(), number->geometry());
    QSignalSpy clicked(button, &QPushButton::clicked);

    // Through the window, so the click lands wherever the pointer finds a widget.
    QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, centre);
    QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, stepWaitMs);
    QVERIFY(w.playWindow);
    QCOMPARE(w.playWindow->levelNumber, level);
    delete w.playWindow;
}

void TestXuanguan::backHidesThenEmitsFanhuiAfter300Ms()
{
    xuanguan w;
    w.show();
    QSignalSpy back(&w, &xuanguan::fanhui);
    QElapsedTimer clock;
    QVector<bool> visibleAtFanhui;
    QVector<qint64> fanhuiAt;
    connect(&w, &xuanguan::fanhui, this, [&] {
        visibleAtFanhui << w.isVisible();
        fanhuiAt << clock.elapsed();
    });
    clock.start();
    QTest::mouseClick(backButtonOf(w), Qt::LeftButton);
    QCOMPARE(back.count(), 0);
    QVERIFY(w.isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(back.count(), 1, stepWaitMs);
    QVERIFY2(fanhuiAt[0] >= 290, qPrintable(QString::number(fanhuiAt[0])));
    // Hidden before the signal goes out.
    QCOMPARE(visibleAtFanhui, QVector<bool>{false});
    QVERIFY(!w.isVisible());
}

void TestXuanguan::twoQuickBackClicksEmitFanhuiTwice()
{
    MenuWithLevelSelect scenes;
    xuanguan *ls = scenes.levelSelect;
    ls->move(90, 120);
    ls->show();
    const QRect place = ls->geometry();
    QSignalSpy back(ls, &xuanguan::fanhui);
    QElapsedTimer clock;
    QVector<qint64> fanhuiAt;
    connect(ls, &xuanguan::fanhui, this, [&] { fanhuiAt << clock.elapsed(); });
    clock.start();
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QTest::qWait(50);
    const qint64 secondClick = clock.elapsed();
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QVERIFY2(secondClick < 290, "second click came too late");

    QTRY_COMPARE_WITH_TIMEOUT(back.count(), 2, stepWaitMs);
    QVERIFY(fanhuiAt[0] >= 290);
    QVERIFY(fanhuiAt[1] >= secondClick + 290);
    QVERIFY(scenes.menu.isVisible());
    QVERIFY(!ls->isVisible());
    QCOMPARE(scenes.menu.geometry(), place);
}

void TestXuanguan::menuHandsOverAfter300MsInItsPlace()
{
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    QVERIFY(ls);
    menu.move(140, 90);
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QRect menuPlace = menu.geometry();

    QElapsedTimer clock;
    VisibilityLog menuLog(&menu, clock);
    VisibilityLog levelLog(ls, clock);
    clock.start();
    QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
    QVERIFY(menu.isVisible());
    QVERIFY(!ls->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), stepWaitMs);
    QVERIFY(!menu.isVisible());
    QCOMPARE(ls->geometry(), menuPlace);
    // The menu stayed on screen for the first 300 ms, and went as the level select came.
    QCOMPARE(menuLog.hiddenAt.size(), 1);
    QVERIFY2(menuLog.hiddenAt[0] >= 290, qPrintable(QString::number(menuLog.hiddenAt[0])));
    QCOMPARE(levelLog.shownAt.size(), 1);
    QVERIFY(levelLog.shownAt[0] - menuLog.hiddenAt[0] < 100);
}

void TestXuanguan::movingEitherWindowMovesTheOther()
{
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    menu.show();
    menu.move(33, 44);
    const QRect firstPlace = menu.geometry();
    QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), stepWaitMs);
    QCOMPARE(ls->geometry(), firstPlace);

    ls->move(250, 175);
    const QRect secondPlace = ls->geometry();
    QVERIFY(secondPlace != firstPlace);
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(menu.isVisible(), stepWaitMs);
    QVERIFY(!ls->isVisible());
    QCOMPARE(menu.geometry(), secondPlace);

    menu.move(12, 300);
    const QRect thirdPlace = menu.geometry();
    QVERIFY(thirdPlace != secondPlace);
    QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), stepWaitMs);
    QCOMPARE(ls->geometry(), thirdPlace);
}

void TestXuanguan::twoStartClicksLeaveTheSameFinalState()
{
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    menu.move(70, 80);
    menu.show();
    const QRect menuPlace = menu.geometry();
    QElapsedTimer clock;
    VisibilityLog menuLog(&menu, clock);
    VisibilityLog levelLog(ls, clock);
    clock.start();
    QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
    QTest::qWait(50);
    const qint64 secondClick = clock.elapsed();
    QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
    QVERIFY2(secondClick < 290, "second click came too late");

    QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), stepWaitMs);
    waitUntil(clock, secondClick + 500);
    QVERIFY(ls->isVisible());
    QVERIFY(!menu.isVisible());
    QCOMPARE(ls->geometry(), menuPlace);
    QCOMPARE(menuLog.hiddenAt.size(), 1);
    QCOMPARE(levelLog.shownAt.size(), 1);
    QCOMPARE(levelLog.hiddenAt.size(), 0);
    QCOMPARE(levelSelectWindows(), 1);
}

void TestXuanguan::roundTripsReuseTheOneLevelSelect()
{
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QPropertyAnimation>(), 0, bounceWaitMs);
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    QCOMPARE(levelSelectWindows(), 1);
    menu.show();
    for (int trip = 0; trip < 4; ++trip) {
        QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
        QVERIFY(LiveObjects::count<QPropertyAnimation>() > 0);
        QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible() && !menu.isVisible(), stepWaitMs);
        QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(menu.isVisible() && !ls->isVisible(), stepWaitMs);
        QCOMPARE(menu.levelSelect, ls);
        QCOMPARE(levelSelectWindows(), 1);
    }
    QVERIFY(scenes.levelSelect);
    // Each start click bounced the button; every bounce is released once it has run.
    QTRY_COMPARE_WITH_TIMEOUT(LiveObjects::count<QPropertyAnimation>(), 0, bounceWaitMs);
}

QTEST_MAIN(TestXuanguan)
#include "tst_xuanguan.moc"
