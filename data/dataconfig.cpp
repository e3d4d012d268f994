// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "dataconfig.h"

namespace {

constexpr int levelCount = 20;
constexpr int boardSize = 4;

// Indexed [level - 1][column][row]: each line is one column of the board, top to bottom.
constexpr int layouts[levelCount][boardSize][boardSize] = {
    // level 1
    {
        {1, 1, 1, 1},
        {1, 1, 0, 1},
        {1, 0, 0, 0},
        {1, 1, 0, 1},
    },
    // level 2
    {
        {1, 0, 1, 1},
        {0, 0, 1, 1},
        {1, 1, 0, 0},
        {1, 1, 0, 1},
    },
    // level 3
    {
        {0, 0, 0, 0},
        {0, 1, 1, 0},
        {0, 1, 1, 0},
        {0, 0, 0, 0},
    },
    // level 4
    {
        {0, 1, 1, 1},
        {1, 0, 0, 1},
        {1, 0, 1, 1},
        {1, 1, 1, 1},
    },
    // level 5
    {
        {1, 0, 0, 1},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
        {1, 0, 0, 1},
    },
    // level 6
    {
        {1, 0, 0, 1},
        {0, 1, 1, 0},
        {0, 1, 1, 0},
        {1, 0, 0, 1},
    },
    // level 7
    {
        {0, 1, 1, 1},
        {1, 0, 1, 1},
        {1, 1, 0, 1},
        {1, 1, 1, 0},
    },
    // level 8
    {
        {0, 1, 0, 1},
        {1, 0, 0, 0},
        {0, 0, 0, 1},
        {1, 0, 1, 0},
    },
    // level 9
    {
        {1, 0, 1, 0},
        {1, 0, 1, 0},
        {0, 0, 1, 0},
        {1, 0, 0, 1},
    },
    // level 10
    {
        {1, 0, 1, 1},
        {1, 1, 0, 0},
        {0, 0, 1, 1},
        {1, 1, 0, 1},
    },
    // level 11
    {
        {0, 1, 1, 0},
        {1, 0, 0, 1},
        {1, 0, 0, 1},
        {0, 1, 1, 0},
    },
    // level 12
    {
        {0, 1, 1, 0},
        {0, 0, 0, 0},
        {1, 1, 1, 1},
        {0, 0, 0, 0},
    },
    // level 13
    {
        {0, 1, 1, 0},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
        {0, 1, 1, 0},
    },
    // level 14
    {
        {1, 0, 1, 1},
        {0, 1, 0, 1},
        {1, 0, 1, 0},
        {1, 1, 0, 1},
    },
    // level 15
    {
        {0, 1, 0, 1},
        {1, 0, 0, 0},
        {1, 0, 0, 0},
        {0, 1, 0, 1},
    },
    // level 16
    {
        {0, 1, 1, 0},
        {1, 1, 1, 1},
        {1, 1, 1, 1},
        {0, 1, 1, 0},
    },
    // level 17
    {
        {0, 1, 1, 1},
        {0, 1, 0, 0},
        {0, 0, 1, 0},
        {1, 1, 1, 0},
    },
    // level 18
    {
        {0, 0, 0, 1},
        {0, 0, 1, 0},
        {0, 1, 0, 0},
        {1, 0, 0, 0},
    },
    // level 19
    {
        {0, 1, 0, 0},
        {0, 1, 1, 0},
        {0, 0, 1, 1},
        {0, 0, 0, 0},
    },
    // level 20
    {
        {0, 0, 0, 0},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
    },
};

}

dataConfig::dataConfig(QObject *parent)
    : QObject(parent)
{
    QVector<QVector<int>> board;
    for (int level = 1; level <= levelCount; ++level) {
        board.resize(0);
        for (int column = 0; column < boardSize; ++column) {
            QVector<int> cells;
            for (int row = 0; row < boardSize; ++row)
                cells.append(layouts[level - 1][column][row]);
            board.append(cells);
        }
        levelLayouts.insert(level, board);
    }
}
