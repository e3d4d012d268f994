// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QtTest>

#include "data/dataconfig.h"
#include "support/scenehelpers.h"

class TestDataConfig : public QObject
{
    Q_OBJECT
private slots:
    void holdsTwentyWinnableBoardsAsThePlayerSeesThem()
    {
        const dataConfig config;
        QCOMPARE(config.levelLayouts.keys(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
        for (int level = 1; level <= 20; ++level) {
            const QByteArray where = "level " + QByteArray::number(level);
            Board board = config.levelLayouts.value(level);
            // First index is the column: a transposed table would swap asymmetric levels such as 9.
            QVERIFY2(board == boardOnScreen(level), where);
            QVector<QPoint> clicks;
            QVERIFY2(solveBoard(board, &clicks), where);
            for (const QPoint &click : clicks)
                applyClick(board, click);
            QVERIFY2(board == Board(4, QVector<int>(4, 1)), where);
        }
    }
};

QTEST_MAIN(TestDataConfig)
#include "tst_dataconfig.moc"
