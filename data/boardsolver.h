// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef BOARDSOLVER_H
#define BOARDSOLVER_H

#include <QPoint>
#include <QVector>

// Which presses turn a board all gold. A board and a set of presses are both 16-bit masks:
// bit 4 * column + row stands for that cell. Presses commute and a coin pressed twice is as
// if never pressed, so a set of presses says everything about a solution.
class boardSolver
{
public:
    static constexpr int boardSize = 4;

    // The silver cells of faces[column][row] (1 = gold).
    static int silverOf(const int faces[boardSize][boardSize]);
    // The cells a press at (column, row) turns: the coin and its orthogonal neighbours.
    static int effectOf(int column, int row);
    // The cells a set of presses turns, each pressed once.
    static int effectOfPresses(int presses);

    // Every set of presses that leaves the board all gold: none, or exactly 16.
    static QVector<int> allSolutions(int silver);
    // One of the solutions with the fewest presses; -1 when the board cannot be solved.
    static int shortestSolution(int silver);
    // The fewest presses that solve the board; -1 when none do.
    static int fewestMoves(int silver);
    // The presses of a set as (column, row), row by row as a player reads the board.
    static QVector<QPoint> pressesInReadingOrder(int presses);
};

#endif
