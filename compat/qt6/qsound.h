// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#ifndef QUENVARY_COMPAT_QSOUND_H
#define QUENVARY_COMPAT_QSOUND_H

// Qt 6 removed QSound, which the scenes use; this stands in for the part of it they need: a
// sound loaded once from a WAV file (resource paths too), owned by its window, fire and forget,
// play() starting it again from the beginning.
//
// It is not built on QSoundEffect because Qt 6.4's cuts sounds short on PulseAudio: the effect
// stops its audio sink as soon as it has handed over the last bytes, and the PulseAudio sink
// disconnects its stream on stop without waiting for the drain, so whatever the server still
// holds is lost (on a first play, most of a short sound). Here the sink is left to play out and
// is only stopped well after the sound has ended, or when play() restarts it.
#include <QBuffer>
#include <QTimer>

class QAudioSink;

class QSound : public QObject
{
    Q_OBJECT

public:
    explicit QSound(const QString &fileName, QObject *parent = nullptr);
    ~QSound() override;

public slots:
    void play();

private:
    QBuffer samples;
    QAudioSink *sink = nullptr;
    QTimer release;
};

#endif
