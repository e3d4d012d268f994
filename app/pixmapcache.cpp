// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include <QCoreApplication>
#include <QPixmapCache>

namespace {

constexpr int pixmapCacheKiB = 16 * 1024;

void makeRoomForTheBundle()
{
    // The bundle decodes to 10.4 MB, over Qt's 10 MB default: a background would be decoded twice.
    QPixmapCache::setCacheLimit(pixmapCacheKiB);
}

}

// Runs as the application object is made, so the game, its tests and the benchmark all get it.
Q_COREAPP_STARTUP_FUNCTION(makeRoomForTheBundle)
