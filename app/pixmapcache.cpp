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
    // The bundle has each picture rendered for 2x and 3x screens; Qt 5 would still hand the
    // buttons their icons at 1x, to be enlarged (Qt 6 always does this).
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
}

}

// Runs as the application object is made, so the game, its tests and the benchmark all get it.
Q_COREAPP_STARTUP_FUNCTION(makeRoomForTheBundle)
