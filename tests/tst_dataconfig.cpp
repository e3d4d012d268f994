#include <QtTest>

#include "data/dataconfig.h"
#include "support/solver.h"

namespace {

// The twenty boards as the player sees them: rows top to bottom, coins left to right.
const char *const boardsOnScreen[20] = {
    "1111 1101 1000 1101", "1011 0011 1100 1101", "0000 0110 0110 0000",
    "0111 1001 1011 1111", "1001 0000 0000 1001", "1001 0110 0110 1001",
    "0111 1011 1101 1110", "0101 1000 0001 1010", "1101 0000 1110 0001",
    "1101 0101 1010 1011", "0110 1001 1001 0110", "0010 1010 1010 0010",
    "0000 1001 1001 0000", "1011 0101 1010 1101", "0110 1001 0000 1001",
    "0110 1111 1111 0110", "0001 1101 1011 1000", "0001 0010 0100 1000",
    "0000 1100 0110 0010", "0000 0000 0000 0000",
};

Board boardFromScreen(const char *text)
{
    const QStringList rows = QString(text).split(' ');
    Board board(4, QVector<int>(4));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            board[c][r] = rows[r][c] == '1' ? 1 : 0;
    return board;
}

}

class TestDataConfig : public QObject
{
    Q_OBJECT
private slots:
    void holdsExactlyLevelsOneToTwenty();
    void everyLayoutMatchesTheBoardShownToThePlayer_data();
    void everyLayoutMatchesTheBoardShownToThePlayer();
    void noTwoLevelsAreEqual();
    void goldCountsMatchTheDesign();
    void everyLevelIsSolvable_data();
    void everyLevelIsSolvable();
    void anySingleWrongCellMakesALevelUnsolvable();
};

void TestDataConfig::holdsExactlyLevelsOneToTwenty()
{
    const dataConfig config;
    QList<int> expected;
    for (int level = 1; level <= 20; ++level)
        expected.append(level);
    QCOMPARE(config.levelLayouts.keys(), expected);
    for (const auto &layout : config.levelLayouts) {
        QCOMPARE(layout.size(), 4);
        for (const auto &column : layout) {
            QCOMPARE(column.size(), 4);
            for (int value : column)
                QVERIFY(value == 0 || value == 1);
        }
    }
}

void TestDataConfig::everyLayoutMatchesTheBoardShownToThePlayer_data()
{
    QTest::addColumn<int>("level");
    for (int level = 1; level <= 20; ++level)
        QTest::newRow(qPrintable(QString("level %1").arg(level))) << level;
}

void TestDataConfig::everyLayoutMatchesTheBoardShownToThePlayer()
{
    QFETCH(int, level);
    const dataConfig config;
    // First index is the column: a transposed table would swap asymmetric levels such as 9.
    QCOMPARE(config.levelLayouts.value(level), boardFromScreen(boardsOnScreen[level - 1]));
}

void TestDataConfig::noTwoLevelsAreEqual()
{
    const dataConfig config;
    for (int a = 1; a <= 20; ++a)
        for (int b = a + 1; b <= 20; ++b)
            QVERIFY2(config.levelLayouts.value(a) != config.levelLayouts.value(b),
                     qPrintable(QString("levels %1 and %2").arg(a).arg(b)));
}

void TestDataConfig::goldCountsMatchTheDesign()
{
    const int goldCounts[20] = {11, 10, 4, 12, 4, 8, 12, 6, 7, 10, 8, 6, 4, 10, 6, 12, 8, 4, 5, 0};
    const dataConfig config;
    for (int level = 1; level <= 20; ++level) {
        int gold = 0;
        for (const auto &column : config.levelLayouts.value(level))
            for (int value : column)
                gold += value;
        QCOMPARE(gold, goldCounts[level - 1]);
    }
}

void TestDataConfig::everyLevelIsSolvable_data()
{
    everyLayoutMatchesTheBoardShownToThePlayer_data();
}

void TestDataConfig::everyLevelIsSolvable()
{
    QFETCH(int, level);
    const dataConfig config;
    Board board = config.levelLayouts.value(level);
    QVector<QPoint> clicks;
    QVERIFY(solveBoard(board, &clicks));
    QVERIFY(!clicks.isEmpty());
    // Playing the clicks by the rule really turns the board all gold.
    for (const QPoint &click : clicks)
        applyClick(board, click);
    QCOMPARE(board, Board(4, QVector<int>(4, 1)));
}

void TestDataConfig::anySingleWrongCellMakesALevelUnsolvable()
{
    const dataConfig config;
    for (int level = 1; level <= 20; ++level) {
        for (int c = 0; c < 4; ++c) {
            for (int r = 0; r < 4; ++r) {
                Board board = config.levelLayouts.value(level);
                board[c][r] ^= 1;
                QVERIFY2(!solveBoard(board, nullptr),
                         qPrintable(QString("level %1 cell %2,%3").arg(level).arg(c).arg(r)));
            }
        }
    }
}

QTEST_MAIN(TestDataConfig)
#include "tst_dataconfig.moc"
