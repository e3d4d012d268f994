// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef DATACONFIG_H
#define DATACONFIG_H

#include <QMap>
#include <QObject>
#include <QVector>

// The twenty starting boards. levelLayouts[level][column][row]: 1 = gold, 0 = silver.
class dataConfig : public QObject
{
    Q_OBJECT
public:
    explicit dataConfig(QObject *parent = nullptr);

    QMap<int, QVector<QVector<int>>> levelLayouts;
};

#endif
