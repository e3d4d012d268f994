#ifndef SOLVER_H
#define SOLVER_H

#include <QPoint>
#include <QVector>

// Boards are indexed [column][row], 1 = gold, like the game's own grids.
using Board = QVector<QVector<int>>;

// The fewest clicks (as (column, row)) that turn the board all gold under the flip rule;
// false when there are none.
bool solveBoard(const Board &board, QVector<QPoint> *clicks);

// Applies one click to a board the way the rule says.
void applyClick(Board &board, QPoint click);

#endif
