// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef GAMELANGUAGE_H
#define GAMELANGUAGE_H

#include <QLocale>
#include <QObject>
#include <QStringList>

// The language the game speaks: the first of the player's languages it has a translation for.
// Installs that translation and makes its locale the default, so that the resource system picks
// the pictures with words in that language. Gone, it takes its translation with it.
class gameLanguage : public QObject
{
    Q_OBJECT
public:
    // `uiLanguages` in Qt's form ("zh-TW", "de", "C"), the player's first choice first.
    explicit gameLanguage(QObject *parent,
                          const QStringList &uiLanguages = QLocale::system().uiLanguages());

    // The translation for these languages ("en", "zh_TW"); empty for the game's own Chinese.
    static QString choose(const QStringList &uiLanguages);
    // The translations built into the game.
    static QStringList available();

    // What was chosen; empty for the game's own Chinese.
    QString name() const { return chosen; }

private:
    QString chosen;
};

#endif
