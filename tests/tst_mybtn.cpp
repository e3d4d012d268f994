// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QSignalSpy>

#include "support/scenehelpers.h"

namespace {

const QString startPicture = ":/res/MenuSceneStartButton.png";

// A start button in its place on a window.
struct StartButton
{
    StartButton() : button(new mybtn(startPicture, ""))
    {
        button->setParent(&window);
        button->move(105, 352);
        window.show();
    }
    QWidget window;
    mybtn *button;
};

}

class TestMybtn : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        new FrozenAnimationClock(this);
    }

    void showsThePressedPictureFromPressToRelease_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<int>("mouseButton");
        QTest::addColumn<int>("clicks");
        QTest::newRow("back, left button") << ":/res/BackButtonSelected.png" << int(Qt::LeftButton) << 1;
        QTest::newRow("back, right button") << ":/res/BackButtonSelected.png" << int(Qt::RightButton) << 0;
        QTest::newRow("no pressed picture") << "" << int(Qt::LeftButton) << 1;
    }

    void showsThePressedPictureFromPressToRelease()
    {
        QFETCH(QString, pressed);
        QFETCH(int, mouseButton);
        QFETCH(int, clicks);
        const QString rest = pressed.isEmpty() ? startPicture : ":/res/BackButton.png";
        QWidget window;
        auto *button = new mybtn(rest, pressed);
        button->setParent(&window);
        window.show();
        const QSize size = QImage(rest).size();
        QCOMPARE(button->size(), size);
        QCOMPARE(button->minimumSize(), button->maximumSize());
        QImage seenAtClick;
        connect(button, &QPushButton::clicked, button, [&] { seenAtClick = iconOf(*button); });
        QTest::mousePress(button, Qt::MouseButton(mouseButton), {}, QPoint(20, 20));
        QCOMPARE(iconOf(*button), picture(pressed.isEmpty() ? rest : pressed));
        QCOMPARE(button->size(), size);
        QTest::mouseRelease(button, Qt::MouseButton(mouseButton), {}, QPoint(20, 20));
        QCOMPARE(iconOf(*button), picture(rest));
        // The rest picture is back before anyone hears of the click.
        QCOMPARE(seenAtClick, clicks ? picture(rest) : QImage());
    }

    void clickBouncesTenPixelsDownAndBack()
    {
        StartButton start;
        const int before = liveobjects::count<QPropertyAnimation>();
        start.button->bounceDown();
        start.button->bounceUp();
        // Starting the second stops the first: 10 px down at once, then bouncing up.
        expectGlide(start.button, 200, QEasingCurve::OutBounce, QRect(105, 362, 110, 110), QRect(105, 352, 110, 110));
        start.button->bounceDown();
        expectGlide(start.button, 200, QEasingCurve::OutBounce, QRect(105, 352, 110, 110), QRect(105, 362, 110, 110));
        QTRY_COMPARE_WITH_TIMEOUT(liveobjects::count<QPropertyAnimation>(), before, 2000);
    }

    void burstOfClicksNeverWalksTheButtonDown()
    {
        StartButton start;
        for (int click = 0; click < 12; ++click) {
            // Caught mid-bounce, displaced, when the next click comes.
            start.button->bounceDown();
            start.button->bounceUp();
            animationOf(start.button)->setCurrentTime(10 + 10 * (click % 4));
            QVERIFY(start.button->y() > 352 && start.button->y() <= 362);
        }
        animationOf(start.button)->setCurrentTime(200);
        QCOMPARE(start.button->geometry(), QRect(105, 352, 110, 110));
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
