#include <QtTest>
#include <QSignalSpy>

#include "support/scenehelpers.h"

namespace {

constexpr int stepWaitMs = 1000;  // deadline for the 300 ms delays

// Twenty labels, each number found: no number is missing or shown twice.
QLabel *numberLabel(xuanguan &w, int level)
{
    for (QLabel *label : w.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly))
        if (label->text() == QString::number(level))
            return label;
    return nullptr;
}

}

class TestXuanguan : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();

    void isAFixedSizeTitledWindowWithTheBackButtonInTheCorner();
    void levelButtonsAndNumbersFormTheGrid_data();
    void levelButtonsAndNumbersFormTheGrid();
    void clickOnANumberOpensItsLevelInPlace_data();
    void clickOnANumberOpensItsLevelInPlace();
    void backHidesThenEmitsFanhuiAfter300MsEachTime();
    void chosenLevelOverridesAPendingBackClickAndReturnsInItsPlace();
};

void TestXuanguan::initTestCase()
{
    holdGameSounds(this);
}

void TestXuanguan::cleanup()
{
    closePlayWindows();
}

void TestXuanguan::isAFixedSizeTitledWindowWithTheBackButtonInTheCorner()
{
    xuanguan w;
    QCOMPARE(w.windowTitle(), QString("选择关卡"));
    QCOMPARE(w.minimumSize(), QSize(320, 588));
    QCOMPARE(w.maximumSize(), QSize(320, 588));
    QVERIFY(!w.windowIcon().isNull());
    QVERIFY(!w.isVisible());
    QCOMPARE(w.playWindow, nullptr);
    QVERIFY(backButtonOf(w) && backButtonOf(w)->size() == QSize(50, 50));
    // Twenty level buttons with their numbers, and the back button; nothing else.
    QCOMPARE(w.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly).size(), 21);
    QCOMPARE(w.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly).size(), 20);
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
    QCOMPARE(button->size(), QSize(60, 60));
    QLabel *number = numberLabel(w, level);
    QVERIFY(number);
    QCOMPARE(number->geometry(), button->geometry());
    QCOMPARE(number->alignment(), Qt::AlignCenter);
    QCOMPARE(number->font().family(), QString("等线"));
    QCOMPARE(number->font().pointSize(), 14);
    // The number lies on top of its button.
    QVERIFY(w.children().indexOf(number) > w.children().indexOf(button));
}

void TestXuanguan::clickOnANumberOpensItsLevelInPlace_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("level 1") << 1;
    QTest::newRow("level 5, second row") << 5;
    QTest::newRow("level 20, last") << 20;
}

void TestXuanguan::clickOnANumberOpensItsLevelInPlace()
{
    QFETCH(int, level);
    xuanguan ls;
    ls.move(173, 61);
    ls.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ls));
    const QRect place = ls.geometry();
    QLabel *number = numberLabel(ls, level);
    QVERIFY(number);
    // Through the window, so the click lands wherever the pointer finds a widget.
    QTest::mouseClick(ls.windowHandle(), Qt::LeftButton, {}, number->geometry().center());
    QTRY_VERIFY_WITH_TIMEOUT(ls.playWindow, stepWaitMs);
    QPointer<youxi> play = ls.playWindow;
    QCOMPARE(play->levelNumber, level);
    QVERIFY(play->isVisible() && !ls.isVisible());
    QCOMPARE(play->geometry(), place);

    // While a level is open, the other level buttons do nothing.
    QTest::mouseClick(levelButtonOf(ls, level % 20), Qt::LeftButton);
    QCOMPARE(ls.playWindow, play.data());
    QCOMPARE(topLevelCount<youxi>(), 1);
}

void TestXuanguan::backHidesThenEmitsFanhuiAfter300MsEachTime()
{
    MenuWithLevelSelect scenes;
    xuanguan *ls = scenes.levelSelect;
    ls->move(90, 120);
    ls->show();
    const QRect place = ls->geometry();
    QElapsedTimer clock;
    QVector<qint64> fanhuiAt;
    QVector<bool> visibleAtFanhui;
    connect(ls, &xuanguan::fanhui, this, [&] {
        fanhuiAt << clock.elapsed();
        visibleAtFanhui << ls->isVisible();
    });
    clock.start();
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QVERIFY(ls->isVisible());
    QTest::qWait(50);
    const qint64 secondClick = clock.elapsed();
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QVERIFY2(secondClick < 290, "second click came too late");
    QVERIFY(fanhuiAt.isEmpty());

    QTRY_COMPARE_WITH_TIMEOUT(fanhuiAt.size(), 2, stepWaitMs);
    QVERIFY2(fanhuiAt[0] >= 290, qPrintable(QString::number(fanhuiAt[0])));
    QVERIFY(fanhuiAt[1] >= secondClick + 290);
    // Hidden before the signal goes out; the menu comes back where the level select was.
    QCOMPARE(visibleAtFanhui, QVector<bool>({false, false}));
    QVERIFY(scenes.menu.isVisible());
    QCOMPARE(scenes.menu.geometry(), place);
}

void TestXuanguan::chosenLevelOverridesAPendingBackClickAndReturnsInItsPlace()
{
    MenuWithLevelSelect scenes;
    xuanguan *ls = scenes.levelSelect;
    ls->show();
    QSignalSpy back(ls, &xuanguan::fanhui);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
    QTest::mouseClick(levelButtonOf(*ls, 5), Qt::LeftButton);
    QPointer<youxi> play = ls->playWindow;
    QVERIFY(play);
    waitUntil(clock, 600);
    QCOMPARE(back.count(), 0);
    QVERIFY(play && play->isVisible());
    QVERIFY(!ls->isVisible() && !scenes.menu.isVisible());

    // The play window's way back leads to the level select alone, where the play window was,
    // after the back sound, once however often it is clicked.
    play->move(211, 97);
    const QRect moved = play->geometry();
    EventLog returns(ls, QEvent::Show);
    clock.restart();
    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    QTest::mouseClick(backButtonOf(*play), Qt::LeftButton);
    const qint64 secondClick = clock.elapsed();
    QVERIFY(play->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!play, stepWaitMs);
    QVERIFY(clock.elapsed() >= 290);
    QVERIFY(ls->isVisible() && !ls->playWindow);
    QCOMPARE(ls->geometry(), moved);
    // Chosen before the second click's delay is due: that delay died with the first window.
    QTest::mouseClick(levelButtonOf(*ls, 2), Qt::LeftButton);
    QPointer<youxi> next = ls->playWindow;
    QVERIFY(next);
    waitUntil(clock, secondClick + 600);
    QCOMPARE(returns.at.size(), 1);
    QVERIFY(next && next->isVisible());
    QVERIFY(!ls->isVisible() && !scenes.menu.isVisible());
    QCOMPARE(back.count(), 0);
}

QTEST_MAIN(TestXuanguan)
#include "tst_xuanguan.moc"
