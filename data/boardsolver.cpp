// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "boardsolver.h"

namespace {

constexpr int n = boardSolver::boardSize;

int bitOf(int column, int row)
{
    return 1 << (n * column + row);
}

int popCount(int mask)
{
    int count = 0;
    for (; mask; mask &= mask - 1)
        ++count;
    return count;
}

}

int boardSolver::silverOf(const int faces[boardSize][boardSize])
{
    int silver = 0;
    for (int c = 0; c < n; ++c)
        for (int r = 0; r < n; ++r)
            if (faces[c][r] != 1)
                silver |= bitOf(c, r);
    return silver;
}

int boardSolver::effectOf(int column, int row)
{
    int mask = bitOf(column, row);
    if (column + 1 < n)
        mask |= bitOf(column + 1, row);
    if (column > 0)
        mask |= bitOf(column - 1, row);
    if (row + 1 < n)
        mask |= bitOf(column, row + 1);
    if (row > 0)
        mask |= bitOf(column, row - 1);
    return mask;
}

int boardSolver::effectOfPresses(int presses)
{
    int turned = 0;
    for (int k = 0; k < n * n; ++k)
        if (presses >> k & 1)
            turned ^= effectOf(k / n, k % n);
    return turned;
}

// Chasing the silver down the board: once the presses of the top row are chosen, a coin left
// silver in one row can only be turned by the press just below it. Each of the 16 choices of
// the top row so fixes a whole set of presses, and the board is solved by all of them or none.
QVector<int> boardSolver::allSolutions(int silver)
{
    QVector<int> solutions;
    for (int top = 0; top < 1 << n; ++top) {
        int presses = 0;
        int left = silver;
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < n; ++column) {
                const bool press = row == 0 ? (top >> column & 1)
                                            : (left & bitOf(column, row - 1)) != 0;
                if (press) {
                    presses |= bitOf(column, row);
                    left ^= effectOf(column, row);
                }
            }
        }
        if (left == 0)
            solutions.append(presses);
    }
    return solutions;
}

int boardSolver::shortestSolution(int silver)
{
    int best = -1;
    for (int presses : allSolutions(silver))
        if (best < 0 || popCount(presses) < popCount(best))
            best = presses;
    return best;
}

int boardSolver::fewestMoves(int silver)
{
    const int best = shortestSolution(silver);
    return best < 0 ? -1 : popCount(best);
}

QVector<QPoint> boardSolver::pressesInReadingOrder(int presses)
{
    QVector<QPoint> order;
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n; ++column)
            if (presses & bitOf(column, row))
                order.append(QPoint(column, row));
    return order;
}
