#include "support/solver.h"

#include <cstdint>

namespace {

constexpr int side = 4;
constexpr int cells = side * side;

int cellIndex(int column, int row) { return column * side + row; }

// Bit k of the mask: clicking cell k changes this cell.
uint32_t effectOf(int column, int row)
{
    uint32_t mask = 1u << cellIndex(column, row);
    if (column > 0) mask |= 1u << cellIndex(column - 1, row);
    if (column < side - 1) mask |= 1u << cellIndex(column + 1, row);
    if (row > 0) mask |= 1u << cellIndex(column, row - 1);
    if (row < side - 1) mask |= 1u << cellIndex(column, row + 1);
    return mask;
}

}

void applyClick(Board &board, QPoint click)
{
    const uint32_t mask = effectOf(click.x(), click.y());
    for (int c = 0; c < side; ++c)
        for (int r = 0; r < side; ++r)
            if (mask & (1u << cellIndex(c, r)))
                board[c][r] ^= 1;
}

bool solveBoard(const Board &board, QVector<QPoint> *clicks)
{
    // Row i of the system: which clicks change cell i, and whether cell i must change.
    uint32_t rows[cells];
    int rhs[cells];
    for (int i = 0; i < cells; ++i) {
        rows[i] = 0;
        rhs[i] = board[i / side][i % side] == 1 ? 0 : 1;
    }
    for (int k = 0; k < cells; ++k) {
        const uint32_t effect = effectOf(k / side, k % side);
        for (int i = 0; i < cells; ++i)
            if (effect & (1u << i))
                rows[i] |= 1u << k;
    }

    int pivotOfColumn[cells];
    int rank = 0;
    for (int col = 0; col < cells; ++col) {
        pivotOfColumn[col] = -1;
        int pivot = -1;
        for (int i = rank; i < cells; ++i)
            if (rows[i] & (1u << col)) { pivot = i; break; }
        if (pivot < 0)
            continue;
        std::swap(rows[pivot], rows[rank]);
        std::swap(rhs[pivot], rhs[rank]);
        for (int i = 0; i < cells; ++i) {
            if (i != rank && (rows[i] & (1u << col))) {
                rows[i] ^= rows[rank];
                rhs[i] ^= rhs[rank];
            }
        }
        pivotOfColumn[col] = rank;
        ++rank;
    }
    for (int i = rank; i < cells; ++i)
        if (rhs[i])
            return false;

    // Free columns span the null space; try every combination for the fewest clicks.
    QVector<int> freeColumns;
    for (int col = 0; col < cells; ++col)
        if (pivotOfColumn[col] < 0)
            freeColumns.append(col);

    uint32_t best = 0;
    int bestCount = cells + 1;
    for (uint32_t choice = 0; choice < (1u << freeColumns.size()); ++choice) {
        uint32_t solution = 0;
        for (int f = 0; f < freeColumns.size(); ++f)
            if (choice & (1u << f))
                solution |= 1u << freeColumns[f];
        for (int col = 0; col < cells; ++col) {
            const int p = pivotOfColumn[col];
            if (p < 0)
                continue;
            int value = rhs[p];
            for (int f : freeColumns)
                if ((solution & (1u << f)) && (rows[p] & (1u << f)))
                    value ^= 1;
            if (value)
                solution |= 1u << col;
        }
        const int count = __builtin_popcount(solution);
        if (count < bestCount) {
            bestCount = count;
            best = solution;
        }
    }
    if (clicks) {
        clicks->clear();
        for (int k = 0; k < cells; ++k)
            if (best & (1u << k))
                clicks->append(QPoint(k / side, k % side));
    }
    return true;
}
