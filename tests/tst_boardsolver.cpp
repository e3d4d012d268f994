// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>
#include <algorithm>

#include "support/scenehelpers.h"

namespace {

// Every board with every set of presses that solves it, found the slow way: each of the 65,536
// sets of presses is applied under the tests' own rule, and solves the board it turns.
const QVector<QVector<int>> &solutionsByBoard()
{
    static const QVector<QVector<int>> byBoard = [] {
        QVector<QVector<int>> found(1 << 16);
        for (int presses = 0; presses < 1 << 16; ++presses) {
            int turned = 0;
            for (int k = 0; k < 16; ++k)
                if (presses >> k & 1)
                    turned ^= effectOf(k / 4, k % 4);
            found[turned].append(presses);
        }
        return found;
    }();
    return byBoard;
}

}

class TestBoardSolver : public QObject
{
    Q_OBJECT
private slots:
    void findsEverySolutionOfEveryBoard()
    {
        int solvable = 0, hardest = 0;
        for (int silver = 0; silver < 1 << 16; ++silver) {
            QVector<int> expected = solutionsByBoard()[silver];
            QVector<int> got = boardSolver::allSolutions(silver);
            std::sort(got.begin(), got.end());
            if (got != expected)
                QFAIL(qPrintable(QString("board %1: %2 solutions, %3 expected")
                                 .arg(silver, 4, 16, QChar('0')).arg(got.size()).arg(expected.size())));
            if (!expected.isEmpty() && expected.size() != 16)
                QFAIL(qPrintable(QString("board %1 has %2 solutions").arg(silver).arg(expected.size())));

            int fewest = expected.isEmpty() ? -1 : 16;
            for (int presses : expected)
                fewest = qMin(fewest, int(qPopulationCount(quint16(presses))));
            const int shortest = boardSolver::shortestSolution(silver);
            if (boardSolver::fewestMoves(silver) != fewest
                    || (fewest >= 0) != expected.contains(shortest)
                    || (fewest >= 0 && int(qPopulationCount(quint16(shortest))) != fewest))
                QFAIL(qPrintable(QString("board %1: fewest %2, shortest %3, expected fewest %4")
                                 .arg(silver).arg(boardSolver::fewestMoves(silver)).arg(shortest).arg(fewest)));
            solvable += fewest >= 0;
            hardest = qMax(hardest, fewest);
        }
        QCOMPARE(solvable, 4096);
        // No board needs more than seven presses, and some need exactly seven.
        QCOMPARE(hardest, 7);
    }

    // The fewest presses of each level, as a victory tells them: a changed board shows here.
    void everyLevelsFewestMoves()
    {
        const int fewest[20] = {1, 2, 4, 2, 4, 4, 4, 6, 4, 4, 4, 4, 4, 6, 6, 6, 6, 4, 5, 4};
        for (int level = 1; level <= 20; ++level) {
            QVector<QPoint> clicks;
            QVERIFY(solveBoard(boardOnScreen(level), &clicks));
            QCOMPARE(clicks.size(), fewest[level - 1]);
        }
    }

    void aPressTurnsTheCoinAndItsNeighbours()
    {
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                QCOMPARE(boardSolver::effectOf(c, r), effectOf(c, r));
        // The faces as the play window holds them, column first; silver is 0.
        int faces[4][4] = {};
        faces[3][0] = faces[1][2] = 1;
        QCOMPARE(boardSolver::silverOf(faces), 0xffff & ~(1 << (4 * 3 + 0)) & ~(1 << (4 * 1 + 2)));
    }

    void pressesComeRowByRow()
    {
        // (3, 0), (0, 1) and (1, 3): the top row's coin first, whatever its column.
        const int presses = 1 << (4 * 3 + 0) | 1 << (4 * 0 + 1) | 1 << (4 * 1 + 3);
        QCOMPARE(boardSolver::pressesInReadingOrder(presses),
                 (QVector<QPoint>{QPoint(3, 0), QPoint(0, 1), QPoint(1, 3)}));
        QCOMPARE(boardSolver::effectOfPresses(presses),
                 effectOf(3, 0) ^ effectOf(0, 1) ^ effectOf(1, 3));
    }
};

QTEST_MAIN(TestBoardSolver)
#include "tst_boardsolver.moc"
