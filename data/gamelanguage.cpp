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

// "C", "POSIX" and their encoded forms ("C.UTF-8") ask for no language: the game's own texts.
bool namesNoLanguage(const QString &uiLanguage)
{
    const QString bare = uiLanguage.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    return bare == QLatin1String("C") || bare == QLatin1String("POSIX");
}

// The candidates for one of the player's languages, most specific first; `ownTexts` when it asks
// for the game's own texts, which are Simplified Chinese. Empty for a language Qt does not know.
QStringList candidatesFor(const QString &uiLanguage, bool *ownTexts)
{
    *ownTexts = namesNoLanguage(uiLanguage);
    const QLocale locale(uiLanguage);
    if (*ownTexts || locale.language() == QLocale::C)
        return {};
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
    bool afterUnknown = false;
    for (const QString &uiLanguage : uiLanguages) {
        // Qt follows a code it cannot name ("tok") with "C", its locale for it: not the player's.
        const bool qtsEcho = afterUnknown && uiLanguage == QLatin1String("C");
        afterUnknown = !namesNoLanguage(uiLanguage) && QLocale(uiLanguage).language() == QLocale::C;
        if (qtsEcho)
            continue;
        bool ownTexts = false;
        for (const QString &candidate : candidatesFor(uiLanguage, &ownTexts))
            if (have.contains(candidate))
                return candidate;
        if (ownTexts)
            return QString();
    }
    return have.contains(fallbackLanguage) ? QString::fromLatin1(fallbackLanguage) : QString();
}
