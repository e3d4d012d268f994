#include <QtTest>

#include "data/dataconfig.h"
#include "support/scenehelpers.h"

class TestDataConfig : public QObject
{
    Q_OBJECT
private slots:
    void holdsTwentyDistinctBoards()
    {
        const dataConfig config;
        QList<int> levels;
        for (int level = 1; level <= 20; ++level)
            levels << level;
        QCOMPARE(config.levelLayouts.keys(), levels);
        const auto boards = config.levelLayouts.values();
        for (int a = 0; a < boards.size(); ++a)
            for (int b = a + 1; b < boards.size(); ++b)
                QVERIFY2(boards[a] != boards[b], qPrintable(QString("levels %1, %2").arg(a + 1).arg(b + 1)));
    }

    void everyBoardIsTheOneShownAndCanBeWon_data()
    {
        QTest::addColumn<int>("level");
        for (int level = 1; level <= 20; ++level)
            QTest::newRow(qPrintable(QString("level %1").arg(level))) << level;
    }

    void everyBoardIsTheOneShownAndCanBeWon()
    {
        QFETCH(int, level);
        Board board = dataConfig().levelLayouts.value(level);
        // First index is the column: a transposed table would swap asymmetric levels such as 9.
        QCOMPARE(board, boardOnScreen(level));
        QVector<QPoint> clicks;
        QVERIFY(solveBoard(board, &clicks));
        for (const QPoint &click : clicks)
            applyClick(board, click);
        QCOMPARE(board, Board(4, QVector<int>(4, 1)));
        // Under this rule one wrong digit makes any board unwinnable, whichever cell it is.
        for (int cell = 0; cell < 16; ++cell) {
            Board typo = boardOnScreen(level);
            typo[cell / 4][cell % 4] ^= 1;
            QVERIFY2(!solveBoard(typo, nullptr), qPrintable(QString("cell %1").arg(cell)));
        }
    }
};

QTEST_MAIN(TestDataConfig)
#include "tst_dataconfig.moc"
