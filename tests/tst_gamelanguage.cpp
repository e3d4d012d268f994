// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <QAccessible>
#include <QPixmapCache>

#include "data/gamelanguage.h"
#include "support/scenehelpers.h"
#include "widgets/hintmark.h"

namespace {

// What a screen reader says for a widget.
QString nameOf(QWidget *w)
{
    return w ? QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) : QString();
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
        setUpSceneTests(this, Animations::Frozen);
        QCOMPARE(gameLanguage::available(), (QStringList{"en", "zh_TW"}));
    }
    // Each row starts with nothing solved: a win of an earlier row would mark the level select.
    void init() { solvedBefore({}); }
    void cleanup() { closePlayWindows(); }

    // Lists as Qt makes them from LANG and LANGUAGE.
    void choosesThePlayersFirstLanguageItHas_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("chosen");   // also the folder of res/ with its pictures with words
        QTest::newRow("C") << QStringList{"C"} << "";
        QTest::newRow("C.UTF-8") << QStringList{"C.UTF-8"} << "";
        QTest::newRow("POSIX") << QStringList{"POSIX"} << "";
        QTest::newRow("zh_CN") << QStringList{"zh-CN", "zh", "zh-Hans-CN"} << "";
        QTest::newRow("zh_SG") << QStringList{"zh-SG", "zh-Hans-SG"} << "";
        QTest::newRow("zh_TW") << QStringList{"zh-TW", "zh-Hant-TW"} << "zh_TW";
        QTest::newRow("zh_HK") << QStringList{"zh-HK", "zh-Hant-HK"} << "zh_TW";
        QTest::newRow("zh-Hant") << QStringList{"zh-Hant"} << "zh_TW";
        QTest::newRow("en_GB") << QStringList{"en-GB", "en-Latn-GB"} << "en";
        QTest::newRow("de_DE") << QStringList{"de-DE", "de-Latn-DE"} << "en";
        QTest::newRow("LANGUAGE=de:zh_TW") << QStringList{"de", "de-DE", "de-Latn-DE", "zh-TW", "zh-Hant-TW"} << "zh_TW";
        QTest::newRow("LANGUAGE=fr:en") << QStringList{"fr", "fr-FR", "fr-Latn-FR", "en", "en-US", "en-Latn-US"} << "en";
        QTest::newRow("LANGUAGE=de:zh_CN:en") << QStringList{"de", "de-DE", "zh-CN", "zh", "en", "en-US"} << "";
        QTest::newRow("tok, zh_TW") << QStringList{"tok", "C", "zh-TW", "zh-Hant-TW"} << "zh_TW";
        QTest::newRow("xx, en") << QStringList{"xx", "C", "en", "en-US"} << "en";
        QTest::newRow("nothing") << QStringList{} << "en";
    }
    void choosesThePlayersFirstLanguageItHas()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, chosen);
        const QHash<QString, QStringList> shown{{"", {"选择关卡", "倒计时: 1:19"}}, {"en", {"Choose a Level", "Time: 1:19"}},
                                                {"zh_TW", {"選擇關卡", "倒數: 1:19"}}};
        Speaking speaking(uiLanguages);
        QCOMPARE(speaking.language.name(), chosen);
        MenuWithLevelSelect scenes;
        QCOMPARE(scenes.levelSelect->windowTitle(), shown[chosen][0]);
        QCOMPARE(youxi::countdownText(79), shown[chosen][1]);
        // Every picture with words comes in the language of the texts; the design's otherwise.
        for (const char *name : {"MenuSceneStartButton", "OtherSceneBg", "LevelCompletedDialogBg", "shibai"}) {
            const QString file = QString("%1/res/%2/%3.png").arg(sourceDir, chosen, name);
            QVERIFY2(picture(QString(":/res/%1.png").arg(name)) == picture(file), qPrintable(file));
        }
        QCOMPARE(iconOf(*startButtonOf(scenes.menu)),
                 picture(QString("%1/res/%2/MenuSceneStartButton.png").arg(sourceDir, chosen)));
    }

    // Real processes under the desktop's own variables: the language of the texts, and level 1's
    // best time of 5.7 s written the desktop's way, whatever language the texts are in.
    void followsTheDesktop_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("de_DE") << QStringList{"LANG=de_DE.UTF-8"} << "en" << "Best time: 5,7 s";
        QTest::newRow("LANGUAGE=fr:zh_HK") << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=fr:zh_HK"} << "zh_TW" << "最佳時間: 5,7 秒";
        QTest::newRow("LANGUAGE=tok:zh_TW") << QStringList{"LANG=en_US.UTF-8", "LANGUAGE=tok:zh_TW"} << "zh_TW" << "最佳時間: 5.7 秒";
        QTest::newRow("LANGUAGE=xx:en") << QStringList{"LANG=fr_FR.UTF-8", "LANGUAGE=xx:en"} << "en" << "Best time: 5,7 s";
        QTest::newRow("LANGUAGE=C") << QStringList{"LANG=de_DE.UTF-8", "LANGUAGE=C"} << "" << "最佳时间: 5,7 秒";
        QTest::newRow("LC_ALL=C") << QStringList{"LC_ALL=C"} << "" << "最佳时间: 5.7 秒";
        QTest::newRow("LC_NUMERIC=de_DE") << QStringList{"LANG=zh_CN.UTF-8", "LC_NUMERIC=de_DE.UTF-8"} << "" << "最佳时间: 5,7 秒";
    }
    void followsTheDesktop()
    {
        QFETCH(QStringList, environment);
        QFETCH(QString, language);
        QFETCH(QString, tooltip);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LC_ALL", "LC_MESSAGES", "LC_NUMERIC", "LANG", "LANGUAGE"})
            env.remove(name);
        for (const QString &setting : environment)
            env.insert(setting.section('=', 0, 0), setting.section('=', 1));
        env.insert("QUENVARY_DESKTOP_CHILD", "1");
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"desktopChild"});
        QVERIFY(child.waitForFinished(60000));
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        QVERIFY2(child.exitCode() == 0, qPrintable(out + child.readAllStandardError()));
        const QString seen = out.section("CHOSEN\t", 1).section('\n', 0, 0);
        QCOMPARE(seen, language + "\t" + tooltip);
    }
    // The desktop's side of the above: chooses as the game does and says what the player sees.
    void desktopChild()
    {
        if (!qEnvironmentVariableIsSet("QUENVARY_DESKTOP_CHILD"))
            QSKIP("run by followsTheDesktop");
        solvedBefore({{1, 57}});
        gameLanguage language(nullptr);
        MenuWithLevelSelect scenes;
        scenes.levelSelect->show();
        std::printf("CHOSEN\t%s\t%s\n", qPrintable(language.name()),
                    qPrintable(levelButtonOf(*scenes.levelSelect, 0)->toolTip()));
        std::fflush(stdout);
    }

    void textsAreHeardAndFitInTheLanguage_data()
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
    void textsAreHeardAndFitInTheLanguage()
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
        win(won);
        tick(lost, 11);
        QTRY_COMPARE_WITH_TIMEOUT(nameOf(labelOf(won, "victoryLabel")), names[5], 5000);
        QTRY_COMPARE_WITH_TIMEOUT(nameOf(labelOf(lost, "defeatLabel")), names[6], 5000);
        landEnding(won, "victoryLabel");   // their glides, stopped by nothing on the frozen clock, let go
        landEnding(lost, "defeatLabel");

        // Every value the labels show fits, measured in their own font as the desktop's scale sizes it.
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
            const qreal level = widest(labelOf(won, "levelLabel")->font(), scale, levels);
            const qreal clock = widest(labelOf(won, "countdownLabel")->font(), scale, clocks);
            QVERIFY2(level <= 120, qPrintable(QString("level label %1 px wide at %2").arg(level).arg(scale)));
            QVERIFY2(clock <= 120, qPrintable(QString("countdown %1 px wide at %2").arg(clock).arg(scale)));
        }
    }

    // The play window's actions as a screen reader offers them, and the hint and the pause card they show
    // against tests/golden/<language>/; tests/CMakeLists.txt runs this once more at 200 % (pictures ending in -200).
    void actionPicturesLookAsTheirReferences_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("names");   // the actions, then the pause card and a hint
        QTest::newRow("design") << "zh-CN" << "" << QStringList{"重新开始", "下一关", "上一关", "暂停", "提示", "退出",
                                                                "已暂停", "提示: 第 3 行 第 3 列"};
        QTest::newRow("English") << "en-US" << "en/" << QStringList{"Restart", "Next Level", "Previous Level", "Pause",
                                                                    "Hint", "Quit", "Paused", "Hint: row 3, column 3"};
        QTest::newRow("Traditional Chinese") << "zh-TW" << "zh_TW/" << QStringList{"重新開始", "下一關", "上一關", "暫停", "提示",
                                                                                  "離開", "已暫停", "提示: 第 3 列 第 3 行"};
    }
    void actionPicturesLookAsTheirReferences()
    {
        QFETCH(QString, language);
        QFETCH(QString, folder);
        QFETCH(QStringList, names);
        Speaking speaking({language});
        const QString suffix = qApp->devicePixelRatio() > 1 ? "-200" : "";
        youxi w(1);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(&w)->actionInterface();
        QVERIFY(actions);
        // Level 1 has no level before it: that action is not offered.
        QCOMPARE(actions->actionNames(), (QStringList{names[0], names[1], names[3], names[4], names[5]}));
        actions->doAction(names[4]);
        QCOMPARE(nameOf(w.findChild<hintMark *>()), names[7]);
        expectGolden(w.grab().toImage(), folder + "hint" + suffix);
        actions->doAction(names[3]);
        QVERIFY(w.isPaused());
        QCOMPARE(nameOf(labelOf(w, "pauseCard")), names[6]);
        expectGolden(w.grab().toImage(), folder + "pause" + suffix);
        actions->doAction(names[3]);
        QVERIFY(!w.isPaused());
        QSignalSpy wanted(&w, &youxi::levelWanted);
        actions->doAction(names[0]);
        actions->doAction(names[1]);
        QCOMPARE(wanted.count(), 2);
    }

    void scenesLookAsTheirReferences_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("folder");
        QTest::newRow("English") << "en-US" << "en/";
        QTest::newRow("Traditional Chinese") << "zh-TW" << "zh_TW/";
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
            expectGolden(shot, QString("%1%2%3").arg(folder, scene, suffix));
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
