// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps of a publishing run as they can be told from the bytes that
// pass between the program and the server, and readers that tell them:
// commands and replies for FTP, record and packet boundaries and byte
// counts where the stream is encrypted. The "file" of the file steps is the
// second file sent; the page is the page wherever it goes in the order.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

enum class Phase {
    Connect,      // the connection is taken, nothing has passed yet
    Greeting,     // the server's first words (FTP greeting, SSH banner)
    Handshake,    // the TLS handshake, the SSH key exchange
    Login,        // the user's name and password, or key
    Folder,       // changing to the remote folder
    FileStart,    // the first bytes of the file's data
    FileMiddle,   // half of the file's data has passed
    FileEnd,      // the file's last byte has passed, its answer not yet
    BetweenFiles, // the file is in place; the next one not begun
    Page,         // half of the page's data has passed
    Check,        // the visitor's side fetches the page
};
QString phaseName(Phase phase);

enum class Direction { ToServer, ToClient };

// One connection as a reader sees it: its kind and the order it came in.
struct LinkId {
    bool data = false; // an FTP data connection
    int ordinal = 0;   // of the connections of its kind, from 0
};

// A phase that begins in a block of bytes, `at` bytes into it.
struct PhaseMark {
    Phase phase;
    qsizetype at = 0;
};

class PhaseReader {
public:
    virtual ~PhaseReader() = default;
    // A connection was taken.
    virtual QList<PhaseMark> opened(LinkId link)
    {
        return link.data ? QList<PhaseMark>{} : QList<PhaseMark>{{Phase::Connect}};
    }
    virtual QList<PhaseMark> bytes(LinkId link, Direction direction, QByteArrayView bytes) = 0;
    // One side closed its end: the phases that begin as it does.
    virtual QList<PhaseMark> ended(LinkId, Direction) { return {}; }
};

// TLS records as they pass one way: their content types and the length of
// the application data among them.
class TlsRecords {
public:
    struct Record {
        quint8 type = 0;
        qsizetype length = 0; // of its body
        qsizetype at = 0;     // where its header begins in the block
    };
    // The records whose header begins in `bytes`.
    QList<Record> feed(QByteArrayView bytes);

private:
    QByteArray m_header; // of a record, incomplete
    qsizetype m_bodyLeft = 0;
};

// FTP and FTPS: the control connection and one data connection per file.
// `sizes` are the sizes of the files in the order they are sent; `page` the
// place of the page in that order.
class FtpPhases : public PhaseReader {
public:
    FtpPhases(bool tls, QList<qint64> sizes, int page);
    QList<PhaseMark> bytes(LinkId link, Direction direction, QByteArrayView bytes) override;
    QList<PhaseMark> ended(LinkId link, Direction direction) override;

private:
    QList<PhaseMark> control(Direction direction, QByteArrayView bytes);
    QList<PhaseMark> data(int ordinal, QByteArrayView bytes);
    // A command or a reply, whole, with where its first byte was.
    void message(Direction direction, const QByteArray &text, qsizetype at,
                 QList<PhaseMark> &marks);

    bool m_tls;
    QList<qint64> m_sizes;
    int m_page;
    bool m_greeted = false;
    bool m_encrypted = false;     // TLS on the control connection
    bool m_handshakeNext = false; // the client's next bytes begin the TLS handshake
    bool m_serverSpoke = false;   // an answer came since the client's last command
    int m_commands = 0;           // the client's commands over TLS
    int m_afterFile = -1;         // commands since the file's data ended; -1 before
    bool m_answerAwaited = false; // the file's data ended, its answer not come
    QByteArray m_line[2];         // an unfinished line each way (plain FTP)
    TlsRecords m_records[2];
    // Data connections: the bytes of the file's data so far, and TLS.
    QList<qint64> m_sent;
    QList<TlsRecords> m_dataRecords;
};

// SSH with a cipher that leaves packet lengths readable (AES-GCM): the
// banner, the key exchange, then packets counted and sized.
class SshPhases : public PhaseReader {
public:
    SshPhases(QList<qint64> sizes, int page);
    QList<PhaseMark> bytes(LinkId link, Direction direction, QByteArrayView bytes) override;

private:
    struct Packet {
        qsizetype at = 0;
        qsizetype length = 0;
        bool encrypted = false;
    };
    // The client's encrypted packet that asks for the remote folder: after
    // SERVICE_REQUEST, three of authentication by key, the channel, the
    // subsystem, the SFTP session's start, a window adjustment and the
    // home folder's name.
    static constexpr int FolderPacket = 10;
    QList<Packet> packets(Direction direction, QByteArrayView bytes);
    QList<PhaseMark> fromClient(QByteArrayView bytes);

    QList<qint64> m_sizes;
    int m_page;
    bool m_bannerSeen[2] = {false, false};
    bool m_encrypted[2] = {false, false};
    QByteArray m_partial[2];      // of a packet's length field, or of the banner line
    qsizetype m_skip[2] = {0, 0}; // of the packet under way
    bool m_pendingNewKeys[2] = {false, false};
    bool m_handshakeSeen = false;
    int m_encryptedPackets = 0; // from the client
    int m_filesSeen = -1;
    int m_file = -1; // in the order sent, while its data passes
    qint64 m_fileBytes = 0;
    int m_smallAfterFile = -1; // small packets since the file's data ended
    bool m_answerAwaited = false;
};

// HTTP: the visitor's side asking for the page.
class HttpPhases : public PhaseReader {
public:
    QList<PhaseMark> opened(LinkId) override { return {}; }
    QList<PhaseMark> bytes(LinkId, Direction direction, QByteArrayView) override
    {
        return direction == Direction::ToServer ? QList<PhaseMark>{{Phase::Check}}
                                                : QList<PhaseMark>{};
    }
};
