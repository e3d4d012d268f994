// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QAccessible>
#include <QPixmapCache>

#include "data/gamelanguage.h"
#include "support/scenehelpers.h"

namespace {

// What a screen reader says for a widget.
QString nameOf(QWidget *w)
{
    return w ? QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) : QString();
}

void tick(youxi &w, int ticks)
{
    while (ticks-- > 0)
        QVERIFY(QMetaObject::invokeMethod(countdownTimerOf(w), "timeout"));
}

// The running glides of a level's end, run to their end on the frozen clock.
void landEnding(youxi &w, const char *picture)
{
    for (QWidget *moving : {static_cast<QWidget *>(labelOf(w, picture)), static_cast<QWidget *>(backButtonOf(w))}) {
        QPointer<QPropertyAnimation> a = animationOf(moving);
        QVERIFY2(a, picture);
        a->setCurrentTime(a->duration());
        QTRY_VERIFY(!a);
    }
}

void win(youxi &w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickCoin(w, QPoint(2, 2));   // level 1's one winning move
    QTRY_VERIFY_WITH_TIMEOUT(w.solved, 2000);
    QTRY_VERIFY_WITH_TIMEOUT(std::none_of(&w.coinGrid[0][0], &w.coinGrid[0][0] + 16,
                                          [](jinbi *coin) { return coin->isTurning; }), 2000);
}

// The game's texts under a chosen language, rebuilt from nothing: no picture of another
// language may linger in the cache.
struct Speaking
{
    explicit Speaking(const QStringList &uiLanguages) : language(nullptr, uiLanguages) { QPixmapCache::clear(); }
    ~Speaking() { QPixmapCache::clear(); }
    gameLanguage language;
};

// The countdown's widest text of the level's limit, and how many ticks it is from the start.
int ticksToWidestCountdown(youxi &w, int limit)
{
    const QFontMetricsF metrics(labelOf(w, "countdownLabel")->font());
    int widest = 0;
    for (int s = 0; s < limit; ++s)
        if (metrics.horizontalAdvance(youxi::countdownText(s)) > metrics.horizontalAdvance(youxi::countdownText(widest)))
            widest = s;
    return limit - widest;
}

const QString sourceDir = QStringLiteral(QUENVARY_SOURCE_DIR);

}

class TestGameLanguage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        holdGameSounds(this);
        new FrozenAnimationClock(this);
        QCOMPARE(gameLanguage::available(), (QStringList{"en", "zh_TW"}));
    }
    // Each row starts with nothing solved: a win of an earlier row would mark the level select.
    void init() { solvedBefore({}); }
    void cleanup() { closePlayWindows(); }

    // Lists as Qt makes them from LANG and LANGUAGE.
    void choosesThePlayersFirstLanguageItHas_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("countdown");
        QTest::addColumn<QString>("pictures");   // folder of res/ with the pictures with words
        const QString own = "选择关卡", ownClock = "倒计时: 1:19";
        const QString en = "Choose a Level", enClock = "Time: 1:19";
        const QString tw = "選擇關卡", twClock = "倒數: 1:19";
        QTest::newRow("C") << QStringList{"C"} << "" << own << ownClock << "";
        QTest::newRow("C.UTF-8") << QStringList{"C.UTF-8"} << "" << own << ownClock << "";
        QTest::newRow("POSIX") << QStringList{"POSIX"} << "" << own << ownClock << "";
        QTest::newRow("zh_CN") << QStringList{"zh-CN", "zh", "zh-Hans-CN"} << "" << own << ownClock << "";
        QTest::newRow("zh_SG") << QStringList{"zh-SG", "zh-Hans-SG"} << "" << own << ownClock << "";
        QTest::newRow("zh_TW") << QStringList{"zh-TW", "zh-Hant-TW"} << "zh_TW" << tw << twClock << "zh_TW";
        QTest::newRow("zh_HK") << QStringList{"zh-HK", "zh-Hant-HK"} << "zh_TW" << tw << twClock << "zh_TW";
        QTest::newRow("zh_MO") << QStringList{"zh-MO", "zh-Hant-MO"} << "zh_TW" << tw << twClock << "zh_TW";
        QTest::newRow("zh-Hant") << QStringList{"zh-Hant"} << "zh_TW" << tw << twClock << "zh_TW";
        QTest::newRow("en_US") << QStringList{"en-US", "en-Latn-US"} << "en" << en << enClock << "en";
        QTest::newRow("en_GB") << QStringList{"en-GB", "en-Latn-GB"} << "en" << en << enClock << "en";
        QTest::newRow("de_DE") << QStringList{"de-DE", "de-Latn-DE"} << "en" << en << enClock << "en";
        QTest::newRow("LANGUAGE=de:zh_TW") << QStringList{"de", "de-DE", "de-Latn-DE", "zh-TW", "zh-Hant-TW"}
                                           << "zh_TW" << tw << twClock << "zh_TW";
        QTest::newRow("LANGUAGE=fr:en") << QStringList{"fr", "fr-FR", "fr-Latn-FR", "en", "en-US", "en-Latn-US"}
                                        << "en" << en << enClock << "en";
        QTest::newRow("LANGUAGE=de:zh_CN:en") << QStringList{"de", "de-DE", "zh-CN", "zh", "en", "en-US"}
                                              << "" << own << ownClock << "";
        QTest::newRow("nothing") << QStringList{} << "en" << en << enClock << "en";
    }
    void choosesThePlayersFirstLanguageItHas()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, chosen);
        QFETCH(QString, title);
        QFETCH(QString, countdown);
        QFETCH(QString, pictures);
        Speaking speaking(uiLanguages);
        QCOMPARE(speaking.language.name(), chosen);
        MenuWithLevelSelect scenes;
        QCOMPARE(scenes.levelSelect->windowTitle(), title);
        QCOMPARE(youxi::countdownText(79), countdown);
        // Every picture with words comes in the language of the texts; the design's otherwise.
        for (const char *name : {"MenuSceneStartButton", "OtherSceneBg", "LevelCompletedDialogBg", "shibai"}) {
            const QString file = QString("%1/res/%2/%3.png").arg(sourceDir, pictures, name);
            QVERIFY2(picture(QString(":/res/%1.png").arg(name)) == picture(file), qPrintable(file));
        }
        QCOMPARE(iconOf(*startButtonOf(scenes.menu)),
                 picture(QString("%1/res/%2/MenuSceneStartButton.png").arg(sourceDir, pictures)));
    }

    // Run by ctest under LANG and LANGUAGE of its own, with the language expected.
    void followsTheDesktop()
    {
        if (!qEnvironmentVariableIsSet("QUENVARY_EXPECTED_LANGUAGE"))
            QSKIP("run by ctest as tst_gamelanguage_desktop");
        Speaking speaking(QLocale::system().uiLanguages());
        QCOMPARE(speaking.language.name(), qEnvironmentVariable("QUENVARY_EXPECTED_LANGUAGE"));
        youxi w(20);
        QCOMPARE(labelOf(w, "levelLabel")->text(), qEnvironmentVariable("QUENVARY_EXPECTED_LABEL"));
    }

    void screenReadersHearTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("names");   // start, level 7, back, a gold and a silver coin, won, lost
        QTest::newRow("English") << "en-US" << QStringList{"Play", "Level 7", "Back", "Gold coin, row 1, column 3",
                                                            "Silver coin, row 2, column 3", "Level cleared", "Time’s up"};
        QTest::newRow("Traditional Chinese") << "zh-TW" << QStringList{"開始", "第 7 關", "返回", "金幣 第 1 列 第 3 行",
                                                                        "銀幣 第 2 列 第 3 行", "通關", "失敗"};
        QTest::newRow("design") << "zh-CN" << QStringList{"开始", "第 7 关", "返回", "金币 第 1 行 第 3 列",
                                                           "银币 第 2 行 第 3 列", "通关", "失败"};
    }
    void screenReadersHearTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, names);
        Speaking speaking({language});
        MenuWithLevelSelect scenes;
        QCOMPARE(nameOf(startButtonOf(scenes.menu)), names[0]);
        QCOMPARE(nameOf(levelButtonOf(*scenes.levelSelect, 6)), names[1]);
        QCOMPARE(nameOf(backButtonOf(*scenes.levelSelect)), names[2]);
        youxi won(1), lost(1);
        QCOMPARE(nameOf(backButtonOf(won)), names[2]);
        QCOMPARE(nameOf(won.coinGrid[2][0]), names[3]);   // column 3 of row 1: gold in level 1
        QCOMPARE(nameOf(won.coinGrid[2][1]), names[4]);
        won.show();
        win(won);
        tick(lost, 11);
        QTRY_COMPARE_WITH_TIMEOUT(nameOf(labelOf(won, "victoryLabel")), names[5], 5000);
        QTRY_COMPARE_WITH_TIMEOUT(nameOf(labelOf(lost, "defeatLabel")), names[6], 5000);
        landEnding(won, "victoryLabel");   // their glides, stopped by nothing on the frozen clock, let go
        landEnding(lost, "defeatLabel");
    }

    // Measured in the labels' own font as the desktop's scale sizes it, every value they show.
    void textsFitTheirBoxesAtEveryScale_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("design") << "zh-CN";
        QTest::newRow("English") << "en-US";
        QTest::newRow("Traditional Chinese") << "zh-TW";
    }
    void textsFitTheirBoxesAtEveryScale()
    {
        QFETCH(QString, language);
        Speaking speaking({language});
        youxi w(1);
        const auto widest = [](const QFont &font, double scale, const QStringList &texts) {
            QFont scaled(font);
            scaled.setPointSizeF(font.pointSizeF() * scale);
            QImage device(1, 1, QImage::Format_ARGB32);
            device.setDotsPerMeterX(qRound(96 / 0.0254));
            device.setDotsPerMeterY(qRound(96 / 0.0254));
            const QFontMetricsF metrics(scaled, &device);
            qreal most = 0;
            for (const QString &text : texts)
                most = qMax(most, qMax(metrics.horizontalAdvance(text), metrics.boundingRect(text).right()));
            return most / scale;
        };
        QStringList levels, clocks;
        for (int level = 1; level <= 20; ++level)
            levels << youxi::tr("第 %1 关").arg(level);
        for (int s = 0; s < 120; ++s)
            clocks << youxi::countdownText(s);
        for (double scale : {1.0, 1.25, 1.5, 2.0, 3.0}) {
            const qreal level = widest(labelOf(w, "levelLabel")->font(), scale, levels);
            const qreal clock = widest(labelOf(w, "countdownLabel")->font(), scale, clocks);
            QVERIFY2(level <= 120, qPrintable(QString("level label %1 px wide at %2").arg(level).arg(scale)));
            QVERIFY2(clock <= 120, qPrintable(QString("countdown %1 px wide at %2").arg(clock).arg(scale)));
        }
    }

    // Against tests/golden/<language>/; at 200 % (QT_SCALE_FACTOR=2) the pictures end in -200.
    void scenesLookAsTheirReferences_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("folder");
        QTest::newRow("English") << "en-US" << "en";
        QTest::newRow("Traditional Chinese") << "zh-TW" << "zh_TW";
    }
    void scenesLookAsTheirReferences()
    {
        QFETCH(QString, language);
        QFETCH(QString, folder);
        Speaking speaking({language});
        MenuWithLevelSelect scenes;
        const QString suffix = qApp->devicePixelRatio() > 1 ? "-200" : "";
        const auto expect = [&](QWidget &w, const char *scene) {
            w.show();
            const QImage shot = w.grab().toImage();
            QCOMPARE(shot.width(), qRound(w.width() * qApp->devicePixelRatio()));
            expectGolden(shot, QString("%1/%2%3").arg(folder, scene, suffix));
            w.hide();   // one scene on screen at a time, as in the game: clicks find the right one
        };
        expect(scenes.menu, "menu");
        expect(*scenes.levelSelect, "select");
        youxi play(19), won(1), lost(1);
        // Counted down by hand only: on a slow machine the real second would pass during the shots.
        for (youxi *w : {&play, &won, &lost})
            countdownTimerOf(*w)->stop();
        tick(play, ticksToWidestCountdown(play, 80));
        expect(play, "play");
        tick(won, 1);
        won.show();
        win(won);
        landEnding(won, "victoryLabel");
        expect(won, "victory");
        tick(lost, 11);
        landEnding(lost, "defeatLabel");
        expect(lost, "defeat");
    }
};

QTEST_MAIN(TestGameLanguage)
#include "tst_gamelanguage.moc"
