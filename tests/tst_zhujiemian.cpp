#include <QtTest>
#include <QAction>
#include <QSignalSpy>

#include "scenes/xuanguan.h"
#include "scenes/zhujiemian.h"
#include "widgets/mybtn.h"

class TestZhujiemian : public QObject
{
    Q_OBJECT
private slots:
    void isAFixedSizeTitledWindowWithIcon();
    void formNamesItsObjects();
    void startButtonStandsAtItsPlace();
    void startButtonBouncesAndMenuStaysFor300Ms();
    void paintsTheBackgroundOverTheWholeWindow();
    void tuichuClosesTheWindow();
};

static mybtn *startButtonOf(Zhujiemian &menu)
{
    const auto buttons = menu.findChildren<mybtn *>(QString(), Qt::FindDirectChildrenOnly);
    return buttons.size() == 1 ? buttons.first() : nullptr;
}

void TestZhujiemian::isAFixedSizeTitledWindowWithIcon()
{
    Zhujiemian menu;
    QCOMPARE(menu.size(), QSize(320, 588));
    QCOMPARE(menu.minimumSize(), QSize(320, 588));
    QCOMPARE(menu.maximumSize(), QSize(320, 588));
    QCOMPARE(menu.windowTitle(), QString("TavroQuenvary"));
    QVERIFY(!menu.windowIcon().isNull());
    QCOMPARE(menu.windowIcon().availableSizes().value(0), QSize(200, 200));
    QVERIFY(!menu.isVisible());
    QCOMPARE(menu.metaObject()->className(), "Zhujiemian");
    QVERIFY(menu.levelSelect);
    QVERIFY(!menu.levelSelect->isVisible());
    QCOMPARE(menu.levelSelect->parent(), nullptr);
}

void TestZhujiemian::formNamesItsObjects()
{
    Zhujiemian menu;
    QCOMPARE(menu.objectName(), QString("Zhujiemian"));
    auto *quit = menu.findChild<QAction *>("tuichu");
    QVERIFY(quit);
    QCOMPARE(quit->text(), QString("退出"));
    QVERIFY(quit->shortcut().isEmpty());
    QVERIFY(quit->associatedWidgets().isEmpty());
    QVERIFY(menu.centralWidget());
    QCOMPARE(menu.centralWidget()->objectName(), QString("centralWidget"));
}

void TestZhujiemian::startButtonStandsAtItsPlace()
{
    Zhujiemian menu;
    mybtn *start = startButtonOf(menu);
    QVERIFY(start);
    QCOMPARE(start->geometry(), QRect(105, 352, 110, 110));
}

void TestZhujiemian::startButtonBouncesAndMenuStaysFor300Ms()
{
    Zhujiemian menu;
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    mybtn *start = startButtonOf(menu);
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(start, Qt::LeftButton, {}, QPoint(55, 55));
    // Down at once, then bouncing back within the 200 ms bounce.
    QCOMPARE(start->pos(), QPoint(105, 362));
    QTRY_COMPARE_WITH_TIMEOUT(start->pos(), QPoint(105, 352), 1000);
    QVERIFY(menu.isVisible());
    QVERIFY(!menu.levelSelect->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!menu.isVisible(), 2000);
    QVERIFY(clock.elapsed() >= 300);
    QVERIFY(menu.levelSelect->isVisible());
    menu.levelSelect->hide();
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
