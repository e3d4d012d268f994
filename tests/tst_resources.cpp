#include <QtTest>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QtEndian>

namespace {

quint32 be32(const QByteArray &b, int at) { return qFromBigEndian<quint32>(b.constData() + at); }
quint32 le32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

}

class TestResources : public QObject
{
    Q_OBJECT
private slots:
    void bundleHoldsExactlyTheGamesFiles();
    void picturesArePngRgbaOfTheirSize_data();
    void picturesArePngRgbaOfTheirSize();
    void soundsArePcmMonoOfTheirRateAndLength_data();
    void soundsArePcmMonoOfTheirRateAndLength();
    void iconIsOne200PixelDib();
    void iconLoadsThroughQt();
    void translucentPicturesKeepTheirAlpha();
};

void TestResources::bundleHoldsExactlyTheGamesFiles()
{
    QVERIFY(QFileInfo(":/logo.ico").isFile());
    QStringList expected = {
        "BackButton.png", "BackButtonSelected.png", "BackButtonSound.wav", "BoardNode.png",
        "Coin0001.png", "Coin0002.png", "Coin0003.png", "Coin0004.png", "Coin0005.png",
        "Coin0006.png", "Coin0007.png", "Coin0008.png", "ConFlipSound.wav",
        "LevelCompletedDialogBg.png", "LevelIcon.png", "LevelWinSound.wav", "MenuSceneBg.png",
        "MenuSceneStartButton.png", "OtherSceneBg.png", "PlayLevelSceneBg.png",
        "TapButtonSound.wav", "shibai.png",
    };
    expected.sort();
    QStringList present = QDir(":/res").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    present.sort();
    QCOMPARE(present, expected);
}

void TestResources::picturesArePngRgbaOfTheirSize_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    const struct { const char *name; int w, h; } pictures[] = {
        {"MenuSceneBg.png", 640, 1176}, {"MenuSceneStartButton.png", 110, 110},
        {"OtherSceneBg.png", 640, 1140}, {"LevelIcon.png", 60, 60},
        {"BackButton.png", 50, 50}, {"BackButtonSelected.png", 50, 50},
        {"PlayLevelSceneBg.png", 640, 1140}, {"BoardNode.png", 50, 50},
        {"Coin0001.png", 46, 44}, {"Coin0002.png", 46, 45}, {"Coin0003.png", 46, 45},
        {"Coin0004.png", 46, 47}, {"Coin0005.png", 46, 46}, {"Coin0006.png", 46, 45},
        {"Coin0007.png", 46, 45}, {"Coin0008.png", 46, 45},
        {"LevelCompletedDialogBg.png", 320, 630}, {"shibai.png", 320, 630},
    };
    for (const auto &p : pictures)
        QTest::newRow(p.name) << QString(":/res/") + p.name << QSize(p.w, p.h);
}

void TestResources::picturesArePngRgbaOfTheirSize()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QByteArray bytes = readResource(path);
    QVERIFY2(bytes.size() > 33, "missing from the bundle");
    QCOMPARE(bytes.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QCOMPARE(bytes.mid(12, 4), QByteArray("IHDR"));
    QCOMPARE(QSize(int(be32(bytes, 16)), int(be32(bytes, 20))), size);
    QCOMPARE(int(quint8(bytes[24])), 8);  // bits per channel
    QCOMPARE(int(quint8(bytes[25])), 6);  // truecolour with alpha
    QPixmap pixmap;
    QVERIFY(pixmap.load(path));
    QCOMPARE(pixmap.size(), size);
}

void TestResources::soundsArePcmMonoOfTheirRateAndLength_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("rate");
    QTest::addColumn<double>("seconds");
    QTest::newRow("tap") << ":/res/TapButtonSound.wav" << 44100 << 0.30;
    QTest::newRow("back") << ":/res/BackButtonSound.wav" << 44100 << 0.23;
    QTest::newRow("flip") << ":/res/ConFlipSound.wav" << 22050 << 1.39;
    QTest::newRow("win") << ":/res/LevelWinSound.wav" << 22050 << 4.60;
}

void TestResources::soundsArePcmMonoOfTheirRateAndLength()
{
    QFETCH(QString, path);
    QFETCH(int, rate);
    QFETCH(double, seconds);
    const QByteArray bytes = readResource(path);
    QVERIFY2(bytes.size() > 44, "missing from the bundle");
    QCOMPARE(bytes.left(4), QByteArray("RIFF"));
    QCOMPARE(bytes.mid(8, 4), QByteArray("WAVE"));

    // Walk the chunks: players need "fmt " before "data", whatever else sits between.
    int at = 12;
    bool sawFormat = false;
    quint32 dataBytes = 0;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 length = le32(bytes, at + 4);
        if (id == "fmt ") {
            QCOMPARE(int(le16(bytes, at + 8)), 1);       // PCM
            QCOMPARE(int(le16(bytes, at + 10)), 1);      // mono
            QCOMPARE(int(le32(bytes, at + 12)), rate);
            QCOMPARE(int(le16(bytes, at + 22)), 16);     // bits per sample
            sawFormat = true;
        } else if (id == "data") {
            QVERIFY2(sawFormat, "data before fmt");
            dataBytes = length;
            QVERIFY(at + 8 + int(length) <= bytes.size());
            break;
        }
        at += 8 + int(length) + int(length & 1);
    }
    QVERIFY(dataBytes > 0);
    const double length = dataBytes / 2.0 / rate;
    QVERIFY2(qAbs(length - seconds) <= 0.01, qPrintable(QString::number(length)));
}

void TestResources::iconIsOne200PixelDib()
{
    const QByteArray bytes = readResource(":/logo.ico");
    QVERIFY(bytes.size() > 22 + 40);
    QCOMPARE(int(le16(bytes, 0)), 0);
    QCOMPARE(int(le16(bytes, 2)), 1);   // icon
    QCOMPARE(int(le16(bytes, 4)), 1);   // one image
    QCOMPARE(int(quint8(bytes[6])), 200);
    QCOMPARE(int(quint8(bytes[7])), 200);
    QCOMPARE(int(le16(bytes, 12)), 32);
    const int offset = int(le32(bytes, 18));
    QVERIFY(offset + 40 <= bytes.size());
    // A DIB starts with its 40-byte header, not with a PNG signature.
    QCOMPARE(int(le32(bytes, offset)), 40);
    QCOMPARE(int(le32(bytes, offset + 4)), 200);
    QCOMPARE(int(le32(bytes, offset + 8)), 400);  // colour rows plus mask rows
    QCOMPARE(int(le16(bytes, offset + 14)), 32);
}

void TestResources::iconLoadsThroughQt()
{
    const QPixmap icon(":/logo.ico");
    QCOMPARE(icon.size(), QSize(200, 200));
    QVERIFY(icon.hasAlphaChannel());
    QVERIFY(!QIcon(icon).isNull());
}

void TestResources::translucentPicturesKeepTheirAlpha()
{
    // The board cells and the end pictures dim what lies beneath; opaque ones would hide it.
    const QImage node = QPixmap(":/res/BoardNode.png").toImage();
    QVERIFY(qAbs(qAlpha(node.pixel(25, 25)) - 77) <= 12);
    QCOMPARE(qAlpha(node.pixel(0, 0)), 0);
    for (const char *path : {":/res/LevelCompletedDialogBg.png", ":/res/shibai.png"}) {
        const QImage end = QPixmap(path).toImage();
        QVERIFY2(qAbs(qAlpha(end.pixel(10, 600)) - 66) <= 12, path);
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
