#include <QtTest>
#include <QAction>
#include <QPropertyAnimation>

#include "support/liveobjects.h"
#include "support/scenehelpers.h"

class TestZhujiemian : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void isAFixedSizeTitledWindowWithIcon();
    void startButtonBouncesThenHandsOverInPlaceAfter300Ms();
    void roundTripsMoveTheWindowsTogetherAndReuseTheOneLevelSelect();
    void levelChosenBetweenTwoHandOversKeepsThePlayWindowAlone();
    void paintsTheBackgroundOverTheWholeWindow();
    void tuichuClosesTheWindow();
};

void TestZhujiemian::initTestCase()
{
    liveobjects::install();
    holdGameSounds(this);
}

void TestZhujiemian::isAFixedSizeTitledWindowWithIcon()
{
    Zhujiemian menu;
    QCOMPARE(menu.objectName(), QString("Zhujiemian"));
    QCOMPARE(menu.minimumSize(), QSize(320, 588));
    QCOMPARE(menu.maximumSize(), QSize(320, 588));
    QCOMPARE(menu.windowTitle(), QString("TavroQuenvary"));
    QVERIFY(!menu.windowIcon().isNull());
    QCOMPARE(menu.windowIcon().availableSizes().value(0), QSize(200, 200));
    QVERIFY(!menu.isVisible());
    QVERIFY(menu.levelSelect);
    QVERIFY(!menu.levelSelect->isVisible());
    QCOMPARE(menu.levelSelect->parent(), nullptr);
    QVERIFY(startButtonOf(menu));
    QCOMPARE(startButtonOf(menu)->geometry(), QRect(105, 352, 110, 110));
    auto *quit = menu.findChild<QAction *>("tuichu");
    QVERIFY(quit);
    QCOMPARE(quit->text(), QString("退出"));
}

void TestZhujiemian::startButtonBouncesThenHandsOverInPlaceAfter300Ms()
{
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    const int levelSelects = topLevelCount<xuanguan>();
    menu.move(140, 90);
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QRect place = menu.geometry();
    mybtn *start = startButtonOf(menu);
    EventLog menuHidden(&menu, QEvent::Hide);
    EventLog levelShown(ls, QEvent::Show);
    EventLog levelHidden(ls, QEvent::Hide);
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(55, 55));
    // Down at once, then bouncing back within the 200 ms bounce.
    QCOMPARE(start->pos(), QPoint(105, 362));
    // A second click of the same burst changes nothing in the end.
    QTest::qWait(50);
    QElapsedTimer sinceSecondClick;
    sinceSecondClick.start();
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(55, 55));
    QTRY_COMPARE_WITH_TIMEOUT(start->pos(), QPoint(105, 352), 1000);
    QVERIFY(menu.isVisible());
    QVERIFY(!ls->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), 1000);
    // The menu stayed on screen for the first 300 ms, and went as the level select came.
    QVERIFY2(menuHidden.at.value(0) >= 290, qPrintable(QString::number(menuHidden.at.value(0))));
    QCOMPARE(levelShown.at.size(), 1);
    QVERIFY(levelShown.at[0] - menuHidden.at[0] < 100);
    waitUntil(sinceSecondClick, 500);
    QCOMPARE(menuHidden.at.size(), 1);
    QVERIFY(levelHidden.at.isEmpty());
    QVERIFY(ls->isVisible() && !menu.isVisible());
    QCOMPARE(ls->geometry(), place);
    QCOMPARE(topLevelCount<xuanguan>(), levelSelects);
}

void TestZhujiemian::roundTripsMoveTheWindowsTogetherAndReuseTheOneLevelSelect()
{
    QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), 0, 2000);
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    const int levelSelects = topLevelCount<xuanguan>();
    menu.show();
    for (int trip = 0; trip < 3; ++trip) {
        menu.move(30 + 100 * trip, 40 + 50 * trip);
        const QRect menuPlace = menu.geometry();
        QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
        QVERIFY(liveobjects::count<QPropertyAnimation>() > 0);
        QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible() && !menu.isVisible(), 1000);
        QCOMPARE(ls->geometry(), menuPlace);

        ls->move(250 - 60 * trip, 175);
        const QRect levelPlace = ls->geometry();
        QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(menu.isVisible() && !ls->isVisible(), 1000);
        QCOMPARE(menu.geometry(), levelPlace);
        QCOMPARE(menu.levelSelect, ls);
        QCOMPARE(topLevelCount<xuanguan>(), levelSelects);
    }
    // Each start click bounced the button; every bounce is released once it has run.
    QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), 0, 2000);
}

void TestZhujiemian::tuichuClosesTheWindow()
{
    Zhujiemian menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    // With no other window on screen, closing the menu ends the event loop with code 0.
    QTimer::singleShot(0, &menu, [&menu] { menu.findChild<QAction *>("tuichu")->trigger(); });
    QTimer::singleShot(5000, qApp, [] { qApp->exit(1); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!menu.isVisible());
}

// Two start clicks arm two hand-overs; a level chosen after the first one must not
// have the second bring the level select back over the play window.
void TestZhujiemian::levelChosenBetweenTwoHandOversKeepsThePlayWindowAlone()
{
    MenuWithLevelSelect scenes;
    Zhujiemian &menu = scenes.menu;
    xuanguan *ls = scenes.levelSelect;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    mybtn *start = startButtonOf(menu);

    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(start, Qt::LeftButton);
    waitUntil(clock, 150);
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), 1000);
    QTest::mouseClick(levelButtonOf(*ls, 0), Qt::LeftButton);
    QVERIFY(ls->playWindow);

    // Well past the second hand-over.
    waitUntil(clock, 800);
    QVERIFY(ls->playWindow && ls->playWindow->isVisible());
    QVERIFY(!ls->isVisible());
    QVERIFY(!menu.isVisible());
    delete ls->playWindow;
    ls->playWindow = nullptr;
}

void TestZhujiemian::paintsTheBackgroundOverTheWholeWindow()
{
    Zhujiemian menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QImage shot = menu.grab().toImage();
    const QImage background = QImage(":/res/MenuSceneBg.png")
            .scaled(320, 588, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Corners and an edge point, away from the start button: the picture, scaled to half.
    for (const QPoint p : {QPoint(2, 2), QPoint(317, 2), QPoint(2, 585), QPoint(317, 585), QPoint(160, 40)}) {
        const QColor got = shot.pixelColor(p);
        const QColor want = background.pixelColor(p);
        QVERIFY2(qAbs(got.red() - want.red()) < 24 && qAbs(got.green() - want.green()) < 24
                         && qAbs(got.blue() - want.blue()) < 24,
                 qPrintable(QString("at %1,%2").arg(p.x()).arg(p.y())));
    }
}

QTEST_MAIN(TestZhujiemian)
#include "tst_zhujiemian.moc"
