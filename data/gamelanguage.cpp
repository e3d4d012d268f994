// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "gamelanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace {

const char *const translationDir = ":/i18n";
const char *const translationPrefix = "quenvary_";
// Where a language the game lacks has no better fallback.
const char *const fallbackLanguage = "en";
// Traditional Chinese without a translation of its own region's reads Taiwan's.
const char *const traditionalChinese = "zh_TW";

// The candidates for one of the player's languages, most specific first; empty means the game's
// own texts, which are Simplified Chinese and stand for a locale that names no language too.
QStringList candidatesFor(const QString &uiLanguage, bool *ownTexts)
{
    const QLocale locale(uiLanguage);
    *ownTexts = false;
    if (locale.language() == QLocale::C) {   // "C", "C.UTF-8" and "POSIX" alike
        *ownTexts = true;
        return {};
    }
    const QString full = locale.name();                      // "de_DE", "zh_HK"
    const QString language = full.section(QLatin1Char('_'), 0, 0);
    if (locale.language() == QLocale::Chinese) {
        if (locale.script() != QLocale::TraditionalHanScript) {
            *ownTexts = true;
            return {};
        }
        return {full, QString::fromLatin1(traditionalChinese)};
    }
    return {full, language};
}

}

gameLanguage::gameLanguage(QObject *parent, const QStringList &uiLanguages)
    : QObject(parent)
    , chosen(choose(uiLanguages))
{
    if (chosen.isEmpty()) {
        // The design's pictures are the ones without a language.
        QLocale::setDefault(QLocale::c());
        return;
    }
    auto *translator = new QTranslator(this);   // leaves the application with this object
    if (translator->load(translationPrefix + chosen, translationDir))
        QCoreApplication::installTranslator(translator);
    QLocale::setDefault(QLocale(chosen));
}

QStringList gameLanguage::available()
{
    QStringList names;
    const QString prefix = QString::fromLatin1(translationPrefix);
    const QString suffix = QStringLiteral(".qm");
    // Matched by hand: a name filter is a pattern Qt compiles with its regular expression
    // engine, which start-up would otherwise load for this alone.
    for (const QString &file : QDir(translationDir).entryList(QDir::Files))
        if (file.startsWith(prefix) && file.endsWith(suffix) && file.size() > prefix.size() + suffix.size())
            names << file.mid(prefix.size()).chopped(suffix.size());
    return names;
}

QString gameLanguage::choose(const QStringList &uiLanguages)
{
    const QStringList have = available();
    for (const QString &uiLanguage : uiLanguages) {
        bool ownTexts = false;
        for (const QString &candidate : candidatesFor(uiLanguage, &ownTexts))
            if (have.contains(candidate))
                return candidate;
        if (ownTexts)
            return QString();
    }
    return have.contains(fallbackLanguage) ? QString::fromLatin1(fallbackLanguage) : QString();
}
