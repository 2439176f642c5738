// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>

#include <optional>

class QIODevice;

// The writes of one file to an open handle, many in flight, as OpenSSH's own
// client sends them: waiting for each block's answer before the next would
// cost a round trip per block. The close follows the last write without
// waiting for its answer: a small file then costs one round trip less, and
// the server closes the file only after every write to it. This says what
// to send next and matches the answers to it; the channel sends and reads.
class SftpUploadPipeline {
public:
    // As OpenSSH's client: 32 KiB a write, 64 writes in flight.
    static constexpr int BlockSize = 32 * 1024;
    static constexpr int WritesInFlight = 64;

    SftpUploadPipeline(QIODevice &source, QByteArray handle);

    // Another write may go: the source is not read to its end, and fewer
    // than WritesInFlight writes await their answers.
    bool hasRoom() const { return !m_atEnd && m_inFlight.size() < WritesInFlight; }
    bool awaitsWrites() const { return !m_inFlight.isEmpty(); }
    // The body of a write of the source's next block; empty once the source
    // is at its end, none when it cannot be read.
    std::optional<QByteArray> nextWrite();
    // The write nextWrite() gave went as the request `id`.
    void wrote(quint32 id) { m_inFlight.insert(id, m_lastBlock); }

    // The close is due once and only once: after the source's end was read.
    bool closeDue() const { return m_atEnd && m_closing == 0; }
    QByteArray closeBody() const;
    void closing(quint32 id) { m_closing = id; }
    bool isClose(quint32 id) const { return m_closing != 0 && id == m_closing; }

    // The bytes the server has acknowledged, this answer to a write
    // included. An answer to no write of this file acknowledges nothing.
    qint64 acknowledge(quint32 id) { return m_acknowledged += m_inFlight.take(id); }

private:
    QIODevice &m_source;
    QByteArray m_handle;
    QByteArray m_block;
    QHash<quint32, qint64> m_inFlight;
    qint64 m_offset = 0;
    qint64 m_lastBlock = 0;
    qint64 m_acknowledged = 0;
    bool m_atEnd = false;
    quint32 m_closing = 0;
};
