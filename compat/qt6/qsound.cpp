// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qsound.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <QtEndian>

QSound::QSound(const QString &fileName, QObject *parent)
    : QObject(parent)
{
    QFile file(fileName);
    const QByteArray wav = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const auto word = [&wav](qsizetype at, int bytes) {
        return bytes == 2 ? qFromLittleEndian<quint16>(wav.constData() + at)
                          : qFromLittleEndian<quint32>(wav.constData() + at);
    };
    // RIFF chunks: "fmt " says how the samples are laid out, "data" holds them.
    QAudioFormat format;
    QByteArray pcm;
    for (qsizetype at = 12; wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE" && at + 8 <= wav.size();) {
        const quint32 length = word(at + 4, 4);
        const qsizetype body = at + 8;
        if (wav.mid(at, 4) == "fmt " && length >= 16 && body + 16 <= wav.size() && word(body, 2) == 1) {
            const auto bits = word(body + 14, 2);
            format.setSampleFormat(bits == 8 ? QAudioFormat::UInt8 : bits == 16 ? QAudioFormat::Int16
                                   : bits == 32 ? QAudioFormat::Int32 : QAudioFormat::Unknown);
            format.setChannelCount(word(body + 2, 2));
            format.setSampleRate(word(body + 4, 4));
        } else if (wav.mid(at, 4) == "data") {
            pcm = wav.mid(body, length);
        }
        at = body + length + (length & 1);
    }
    if (!format.isValid() || pcm.isEmpty()) {
        qWarning("QSound: %ls is no PCM WAV file", qUtf16Printable(fileName));
        return;
    }
    samples.setData(pcm);
    samples.open(QIODevice::ReadOnly);
    sink = new QAudioSink(format);
    // A second after the end everything has been played: give the sound server its stream back.
    release.setSingleShot(true);
    release.setInterval(format.durationForBytes(pcm.size()) / 1000 + 1000);
    connect(&release, &QTimer::timeout, sink, &QAudioSink::stop);
    // Qt 6.4's sound engine, torn down at exit, races its own PulseAudio thread while that still
    // handles a stream (about one exit in twenty with a sound playing crashed). Windows kept to
    // the end are never destroyed, so close their streams here and give the server's answers
    // time to arrive.
    if (QCoreApplication *app = QCoreApplication::instance()) {
        connect(app, &QCoreApplication::aboutToQuit, sink, [sink = sink] {   // may outlive this
            if (sink->state() == QAudio::StoppedState)
                return;
            sink->stop();
            QThread::msleep(50);
        });
    }
}

// Qt 6.4's PulseAudio sink runs the event loop in its destructor; inside a window's destructor
// that could run a pending hand-over there and then, so the sink goes once the loop is back.
QSound::~QSound()
{
    if (sink) {
        sink->stop();
        sink->deleteLater();
    }
}

void QSound::play()
{
    if (!sink)
        return;
    sink->stop();
    samples.seek(0);
    sink->start(&samples);
    release.start();
}
