// Races between the delayed scene changes that quick players can cause.
#include <QtTest>
#include <QApplication>

#include "scenes/xuanguan.h"
#include "scenes/youxi.h"
#include "scenes/zhujiemian.h"
#include "widgets/mybtn.h"

namespace {

constexpr int handOverMs = 300;

mybtn *levelButton(xuanguan *select, int index)
{
    const QPoint at(25 + 70 * (index % 4), 160 + 70 * (index / 4));
    for (mybtn *b : select->findChildren<mybtn *>())
        if (b->pos() == at)
            return b;
    return nullptr;
}

int visibleTopLevels()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += w->isVisible() ? 1 : 0;
    return n;
}

}

class SceneRaceTest : public QObject
{
    Q_OBJECT

private slots:
    void levelChosenBetweenTwoHandOversKeepsThePlayWindowAlone();
};

// Two start clicks arm two hand-overs; a level chosen after the first one must not
// have the second bring the level select back over the play window.
void SceneRaceTest::levelChosenBetweenTwoHandOversKeepsThePlayWindowAlone()
{
    Zhujiemian menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    mybtn *start = menu.findChild<mybtn *>();
    QVERIFY(start);
    xuanguan *select = menu.levelSelect;

    QTest::mouseClick(start, Qt::LeftButton);
    QTest::qWait(handOverMs / 2);
    QTest::mouseClick(start, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(select->isVisible(), 1000);
    QVERIFY(!menu.isVisible());

    mybtn *level = levelButton(select, 0);
    QVERIFY(level);
    QTest::mouseClick(level, Qt::LeftButton);
    QVERIFY(select->playWindow);
    QVERIFY(select->playWindow->isVisible());

    // Well past the second hand-over.
    QTest::qWait(handOverMs * 2);
    QVERIFY(select->playWindow);
    QVERIFY(select->playWindow->isVisible());
    QVERIFY(!select->isVisible());
    QVERIFY(!menu.isVisible());
    QCOMPARE(visibleTopLevels(), 1);

    delete select->playWindow;
    select->playWindow = nullptr;
}

QTEST_MAIN(SceneRaceTest)
#include "tst_scenerace.moc"
