#include <QtTest>

#include "support/scenehelpers.h"

class TestZhujiemian : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        holdGameSounds(this);
    }

    void isTheFixedTitledMenuWithItsStartButton()
    {
        MenuWithLevelSelect scenes;
        Zhujiemian &menu = scenes.menu;
        QCOMPARE(menu.windowTitle(), QString("TavroQuenvary"));
        QCOMPARE(menu.minimumSize(), QSize(320, 588));
        QCOMPARE(menu.maximumSize(), QSize(320, 588));
        QCOMPARE(menu.windowIcon().availableSizes().value(0), QSize(200, 200));
        QVERIFY(startButtonOf(menu));
        QCOMPARE(startButtonOf(menu)->size(), QSize(110, 110));
        QVERIFY(scenes.levelSelect && !scenes.levelSelect->isVisible());
        QCOMPARE(scenes.levelSelect->parent(), nullptr);

        // The background, scaled to half, fills the window: corners and a point of the sky.
        menu.show();
        const QImage shot = menu.grab().toImage();
        const QImage background = QImage(":/res/MenuSceneBg.png").scaled(320, 588, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (const QPoint p : {QPoint(2, 2), QPoint(317, 2), QPoint(2, 585), QPoint(317, 585), QPoint(160, 40)}) {
            const QColor got = shot.pixelColor(p), want = background.pixelColor(p);
            QVERIFY2(qAbs(got.red() - want.red()) < 24 && qAbs(got.green() - want.green()) < 24
                             && qAbs(got.blue() - want.blue()) < 24,
                     qPrintable(QString("at %1,%2").arg(p.x()).arg(p.y())));
        }
    }

    void startClickBouncesThenHandsOverInPlaceAfter300Ms()
    {
        MenuWithLevelSelect scenes;
        Zhujiemian &menu = scenes.menu;
        xuanguan *ls = scenes.levelSelect;
        menu.move(140, 90);
        menu.show();
        const QRect place = menu.geometry();
        mybtn *start = startButtonOf(menu);
        QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(55, 55));
        // Down at once; the menu stays for 300 ms, then the level select takes its place.
        QCOMPARE(start->pos(), QPoint(105, 362));
        expectAfter300Ms([&] { return ls->isVisible() && !menu.isVisible(); }, "hand-over");
        QCOMPARE(ls->geometry(), place);
        QTRY_COMPARE_WITH_TIMEOUT(start->pos(), QPoint(105, 352), 2000);
    }

    void backFromTheLevelSelectBringsTheMenuWhereItWas()
    {
        MenuWithLevelSelect scenes;
        Zhujiemian &menu = scenes.menu;
        xuanguan *ls = scenes.levelSelect;
        menu.show();
        for (int trip = 0; trip < 2; ++trip) {
            menu.move(30 + 100 * trip, 40 + 50 * trip);
            const QRect menuPlace = menu.geometry();
            QTest::mouseClick(startButtonOf(menu), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible() && !menu.isVisible(), 2000);
            QCOMPARE(ls->geometry(), menuPlace);
            ls->move(250 - 60 * trip, 175);
            const QRect levelPlace = ls->geometry();
            QTest::mouseClick(backButtonOf(*ls), Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(menu.isVisible() && !ls->isVisible(), 2000);
            QCOMPARE(menu.geometry(), levelPlace);
            // The one level select is hidden and shown again, never made anew.
            QCOMPARE(menu.levelSelect, ls);
            QCOMPARE(liveobjects::count<xuanguan>(), 1);
        }
    }

    // Two start clicks arm two hand-overs; a level chosen after the first one must not
    // have the second bring the level select back over the play window.
    void levelChosenBetweenTwoHandOversKeepsThePlayWindowAlone()
    {
        MenuWithLevelSelect scenes;
        xuanguan *ls = scenes.levelSelect;
        scenes.menu.show();
        QTest::mouseClick(startButtonOf(scenes.menu), Qt::LeftButton);
        waitPast(150);
        QTest::mouseClick(startButtonOf(scenes.menu), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(ls->isVisible(), 2000);
        QTest::mouseClick(levelButtonOf(*ls, 0), Qt::LeftButton);
        QPointer<youxi> play = ls->playWindow;
        QVERIFY(play);
        waitPast(350);
        QVERIFY(play && play->isVisible());
        QVERIFY(!ls->isVisible() && !scenes.menu.isVisible());
        delete play.data();
        ls->playWindow = nullptr;
    }
};

QTEST_MAIN(TestZhujiemian)
#include "tst_zhujiemian.moc"
