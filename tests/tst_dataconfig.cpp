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
    void noTwoLevelsAreEqual();
    void everyLayoutIsTheBoardShownToThePlayerAndCanBeWon_data();
    void everyLayoutIsTheBoardShownToThePlayerAndCanBeWon();
};

void TestDataConfig::holdsExactlyLevelsOneToTwenty()
{
    const dataConfig config;
    QList<int> expected;
    for (int level = 1; level <= 20; ++level)
        expected.append(level);
    QCOMPARE(config.levelLayouts.keys(), expected);
}

void TestDataConfig::noTwoLevelsAreEqual()
{
    const auto layouts = dataConfig().levelLayouts.values();
    for (int a = 0; a < layouts.size(); ++a)
        for (int b = a + 1; b < layouts.size(); ++b)
            QVERIFY2(layouts[a] != layouts[b], qPrintable(QString("levels %1, %2").arg(a + 1).arg(b + 1)));
}

void TestDataConfig::everyLayoutIsTheBoardShownToThePlayerAndCanBeWon_data()
{
    QTest::addColumn<int>("level");
    for (int level = 1; level <= 20; ++level)
        QTest::newRow(qPrintable(QString("level %1").arg(level))) << level;
}

void TestDataConfig::everyLayoutIsTheBoardShownToThePlayerAndCanBeWon()
{
    QFETCH(int, level);
    Board board = dataConfig().levelLayouts.value(level);
    // First index is the column: a transposed table would swap asymmetric levels such as 9.
    QCOMPARE(board, boardFromScreen(boardsOnScreen[level - 1]));
    // And the level can be won: playing the solver's clicks by the rule turns it all gold.
    QVector<QPoint> clicks;
    QVERIFY(solveBoard(board, &clicks));
    QVERIFY(!clicks.isEmpty());
    for (const QPoint &click : clicks)
        applyClick(board, click);
    QCOMPARE(board, Board(4, QVector<int>(4, 1)));

    // One wrong digit in the table would make the level unwinnable, whichever cell it is.
    for (int cell = 0; cell < 16; ++cell) {
        Board typo = dataConfig().levelLayouts.value(level);
        typo[cell / 4][cell % 4] ^= 1;
        QVERIFY2(!solveBoard(typo, nullptr), qPrintable(QString("cell %1").arg(cell)));
    }
}

QTEST_MAIN(TestDataConfig)
#include "tst_dataconfig.moc"
