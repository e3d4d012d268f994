#ifndef SOLVER_H
#define SOLVER_H

#include <QPoint>
#include <QVector>

// Boards are indexed [column][row], 1 = gold, like the game's own grids.
using Board = QVector<QVector<int>>;

// Solves "click a coin: it and its orthogonal neighbours change face" over GF(2).
// Returns false when no set of clicks turns the board all gold; else fills the
// smallest set of clicks (as (column, row)).
bool solveBoard(const Board &board, QVector<QPoint> *clicks);

// Applies one click to a board the way the rule says.
void applyClick(Board &board, QPoint click);

#endif
