#include "support/solver.h"

namespace {

// Bit 4c + r stands for the cell in column c, row r.
int bitOf(int column, int row) { return 1 << (4 * column + row); }

int effectOf(int column, int row)
{
    int mask = bitOf(column, row);
    if (column > 0) mask |= bitOf(column - 1, row);
    if (column < 3) mask |= bitOf(column + 1, row);
    if (row > 0) mask |= bitOf(column, row - 1);
    if (row < 3) mask |= bitOf(column, row + 1);
    return mask;
}

}

void applyClick(Board &board, QPoint click)
{
    const int mask = effectOf(click.x(), click.y());
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (mask & bitOf(c, r))
                board[c][r] ^= 1;
}

bool solveBoard(const Board &board, QVector<QPoint> *clicks)
{
    int silver = 0;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            if (board[c][r] != 1)
                silver |= bitOf(c, r);
    // Clicks commute and a double click undoes itself, so a solution is a set of cells. All
    // 65536 sets are visited in Gray-code order, one click apart; the smallest that fits wins.
    int best = -1;
    int changed = 0;
    for (int i = 0; i < (1 << 16); ++i) {
        const int set = i ^ (i >> 1);
        if (i > 0)
            changed ^= effectOf(__builtin_ctz(i) / 4, __builtin_ctz(i) % 4);
        if (changed == silver && (best < 0 || __builtin_popcount(set) < __builtin_popcount(best)))
            best = set;
    }
    if (best >= 0 && clicks) {
        clicks->clear();
        for (int k = 0; k < 16; ++k)
            if (best & (1 << k))
                clicks->append(QPoint(k / 4, k % 4));
    }
    return best >= 0;
}
