// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include "support/scenehelpers.h"
#include "widgets/picturepainting.h"

// Runs at 100 %, 150 %, 200 % and 300 % (QT_SCALE_FACTOR, set by ctest).
namespace {

constexpr int fullWidth = 640;   // twice the window: a background, drawn from its full size

qreal screenScale() { return qApp->devicePixelRatio(); }

struct BundledPicture
{
    QString language;   // empty for the design's own
    QString alias;
    QString file;
};

// The pictures of app/res.qrc, as the resource compiler reads it.
QVector<BundledPicture> bundledPictures()
{
    QFile qrc(QUENVARY_SOURCE_DIR "/app/res.qrc");
    if (!qrc.open(QIODevice::ReadOnly))
        return {};
    QVector<BundledPicture> pictures;
    QXmlStreamReader xml(&qrc);
    QString language;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("qresource"))
            language = xml.attributes().value("lang").toString();
        if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value("alias").toString();
            const QString file = QDir(QUENVARY_SOURCE_DIR "/app").absoluteFilePath(xml.readElementText());
            if (alias.endsWith(".png"))
                pictures.append({language, alias, QDir::cleanPath(file)});
        }
    }
    return xml.hasError() ? QVector<BundledPicture>() : pictures;
}

QPixmap pictureOf(const QLabel *label)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return label->pixmap();
#else
    return label->pixmap(Qt::ReturnByValue);
#endif
}

QString atScale(const QString &name, int scale)
{
    return scale == 1 ? name : QString(name).insert(name.lastIndexOf('.'), QString("@%1x").arg(scale));
}

// Every widget of a scene in the design's pixels, one line each, in the order they were made.
QString layoutOf(QWidget &scene, const QString &name)
{
    QString lines = QString("%1 %2x%3\n").arg(name).arg(scene.width()).arg(scene.height());
    for (QWidget *w : scene.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&scene) && !w->inherits("solvedMark"))
            continue;
        const QRect g = w->geometry();
        lines += QString("  %1 %2 %3,%4 %5x%6").arg(w->metaObject()->className(), w->objectName())
                         .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
        if (!w->isVisibleTo(&scene))
            lines += " hidden";
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            lines += QString(" icon %1x%2").arg(button->iconSize().width()).arg(button->iconSize().height());
        if (auto *label = qobject_cast<QLabel *>(w); label && !pictureOf(label).isNull()) {
            const QSize shown = picturePainting::designSize(pictureOf(label));
            lines += QString(" picture %1x%2").arg(shown.width()).arg(shown.height());
        }
        lines += '\n';
    }
    return lines;
}

// The mean absolute Laplacian of the grey levels: how crisp the edges of a picture are.
double sharpness(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    double sum = 0;
    int count = 0;
    for (int y = 1; y + 1 < grey.height(); ++y) {
        const uchar *up = grey.constScanLine(y - 1), *row = grey.constScanLine(y), *down = grey.constScanLine(y + 1);
        for (int x = 1; x + 1 < grey.width(); ++x, ++count)
            sum += qAbs(up[x] + down[x] + row[x - 1] + row[x + 1] - 4 * row[x]);
    }
    return count ? sum / count : 0;
}

}

class TestScales : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        liveobjects::install();
        new FrozenAnimationClock(this);
        holdGameSounds(this);
    }

    void cleanup()
    {
        finishAnimations();
        closePlayWindows();
    }

    // A picture added to the bundle without its 2x and 3x renderings, in any language, fails here.
    void everyPictureComesForEveryScale_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("scaled");   // the files of its @2x and @3x aliases in its language
        const QVector<BundledPicture> pictures = bundledPictures();
        QVERIFY(pictures.size() > 20);
        for (const BundledPicture &p : pictures) {
            QStringList scaled;
            for (const BundledPicture &q : pictures)
                if (q.language == p.language && (q.alias == atScale(p.alias, 2) || q.alias == atScale(p.alias, 3)))
                    scaled << q.file;
            if (!p.alias.contains('@'))
                QTest::newRow(qPrintable((p.language.isEmpty() ? "" : p.language + ": ") + p.alias)) << p.file << scaled;
        }
    }

    void everyPictureComesForEveryScale()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, scaled);
        const QImage plain(file);
        QVERIFY2(!plain.isNull(), qPrintable(file));
        QCOMPARE(scaled.size(), plain.width() >= fullWidth ? 0 : 2);   // a full-size picture needs no other scale
        for (const QString &rendering : scaled)
            QVERIFY2(QImage(rendering).size() == plain.size() * (rendering.contains("@2x") ? 2 : 3), qPrintable(rendering));
    }

    // The picture shown is the rendering for the screen's scale, or the next larger one made
    // smaller; either way its size in the design's pixels is the 1x picture's.
    void picturesComeFromTheRenderingForTheScale_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *name : {"BackButton", "BackButtonSelected", "BoardNode", "Coin0001", "Coin0004", "Coin0008",
                                 "LevelIcon", "MenuSceneStartButton", "LevelCompletedDialogBg", "shibai", "SolvedMark"})
            QTest::newRow(name) << QString(":/res/%1.png").arg(name);
    }

    void picturesComeFromTheRenderingForTheScale()
    {
        QFETCH(QString, path);
        const qreal scale = screenScale();
        const QPixmap shown = picturePainting::load(path);
        const QImage plain(path);
        QCOMPARE(picturePainting::designSize(shown), plain.size());
        QCOMPARE(shown.devicePixelRatio(), scale);
        QCOMPARE(shown.size(), QSize(qRound(plain.width() * scale), qRound(plain.height() * scale)));
        const int rendered = qMin(qCeil(scale), 3);
        QImage rendering = QImage(atScale(path, rendered)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (rendered != scale)   // the larger rendering, made smaller smoothly
            rendering = rendering.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        rendering.setDevicePixelRatio(scale);
        QCOMPARE(shown.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied), rendering);
    }

    // Every widget of every scene has the place and size it has at 100 %, in the design's pixels.
    void scenesKeepTheirLayout()
    {
        solvedBefore({{1, 52}, {7, 0}});
        QString layout;
        {
            MenuWithLevelSelect scenes;
            scenes.menu.show();
            layout += layoutOf(scenes.menu, "menu");
            scenes.levelSelect->show();
            layout += layoutOf(*scenes.levelSelect, "level select");
        }
        {
            youxi play(1);
            play.show();
            layout += layoutOf(play, "play");
            clickCoin(play, QPoint(2, 2));
            QTRY_VERIFY_WITH_TIMEOUT(play.solved, 5000);
            // The coins' icons follow their frames: wait for the turns to end.
            const QList<jinbi *> coins = play.findChildren<jinbi *>();
            QTRY_VERIFY_WITH_TIMEOUT(std::none_of(coins.begin(), coins.end(), [](jinbi *c) { return c->isTurning; }), 5000);
            finishAnimations();
            layout += layoutOf(play, "victory");
        }
        {
            youxi play(20);
            play.show();
            for (int second = 0; second <= 80; ++second)
                QVERIFY(QMetaObject::invokeMethod(countdownTimerOf(play), "timeout"));
            finishAnimations();
            layout += layoutOf(play, "defeat");
        }
        const QString path = QUENVARY_GOLDEN_DIR "/layout.txt";
        QFile reference(path);
        if (qEnvironmentVariableIntValue("QUENVARY_UPDATE_GOLDEN") && screenScale() == 1) {
            QVERIFY(reference.open(QIODevice::WriteOnly | QIODevice::Truncate));
            reference.write(layout.toUtf8());
            reference.close();
        }
        QVERIFY(reference.open(QIODevice::ReadOnly));
        const QStringList want = QString::fromUtf8(reference.readAll()).split('\n');
        const QStringList got = layout.split('\n');
        for (int i = 0; i < qMax(want.size(), got.size()); ++i)
            QCOMPARE(got.value(i), want.value(i));
    }

    // At 200 % the coins and the back button are as crisp as their renderings make them.
    void picturesAreCrispWhenDoubled()
    {
        if (screenScale() != 2)
            QSKIP("measured at 200 %");
        youxi play(1);
        play.show();
        const QImage shot = play.grab().toImage();
        const auto crop = [&shot](const QRect &r) { return shot.copy(QRect(r.topLeft() * 2, r.size() * 2)); };
        const double back = sharpness(crop(backButtonOf(play)->geometry()));
        double coins = 0;
        for (jinbi *coin : play.findChildren<jinbi *>())
            coins += sharpness(crop(coin->geometry())) / 16;
        qInfo("sharpness at 200 %%: back button %.1f, coins %.1f", back, coins);
        QVERIFY2(back >= 12.6, qPrintable(QString::number(back)));
        QVERIFY2(coins >= 7.9, qPrintable(QString::number(coins)));
    }
};

QTEST_MAIN(TestScales)
#include "tst_scales.moc"
