// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include "support/scenehelpers.h"

static const QString startPicture = ":/res/MenuSceneStartButton.png";

class TestMybtn : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        new FrozenAnimationClock(this);
    }

    void clickBouncesTenPixelsDownAndBack()
    {
        QWidget window;
        mybtn *start = placed(window, new mybtn(startPicture, ""), QPoint(105, 352));
        const int before = liveobjects::count<QPropertyAnimation>();
        start->bounceDown();
        start->bounceUp();
        // Starting the second stops the first: 10 px down at once, then bouncing up.
        expectGlide(start, 200, QEasingCurve::OutBounce, QRect(105, 362, 110, 110), QRect(105, 352, 110, 110));
        start->bounceDown();
        expectGlide(start, 200, QEasingCurve::OutBounce, QRect(105, 352, 110, 110), QRect(105, 362, 110, 110));
        QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), before, 2000);
    }

    void burstOfClicksNeverWalksTheButtonDown()
    {
        QWidget window;
        mybtn *start = placed(window, new mybtn(startPicture, ""), QPoint(105, 352));
        for (int click = 0; click < 12; ++click) {
            // Caught mid-bounce, displaced, when the next click comes.
            start->bounceDown();
            start->bounceUp();
            animationOf(start)->setCurrentTime(10 + 10 * (click % 4));
            QVERIFY(start->y() > 352 && start->y() <= 362);
        }
        animationOf(start)->setCurrentTime(200);
        QCOMPARE(start->geometry(), QRect(105, 352, 110, 110));
    }

    void missingPictureIsReportedAndGivesAnEmptyButton()
    {
        QTest::ignoreMessage(QtDebugMsg, "\":/res/NoSuchPicture.png\" 加载图片失败");
        mybtn button(":/res/NoSuchPicture.png", "");
        QCOMPARE(button.size(), QSize(0, 0));
        QVERIFY(button.icon().isNull());
    }
};

QTEST_MAIN(TestMybtn)
#include "tst_mybtn.moc"
