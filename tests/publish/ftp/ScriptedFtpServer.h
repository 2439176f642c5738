// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// An FTP server on 127.0.0.1 for the tests: it logs every command byte for
// byte, answers like a plain server, and can be told to answer any step
// otherwise, close the connection after it, or never answer it.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

class ScriptedFtpServer : public QObject {
    Q_OBJECT

public:
    explicit ScriptedFtpServer(QObject *parent = nullptr);
    ~ScriptedFtpServer() override;

    bool listen();
    quint16 port() const { return m_control.serverPort(); }

    // The script. A rule's occurrence counts from 1; 0 means every time.
    // Reply texts may hold several lines; the last CR LF is added.
    void reply(const QByteArray &verb, const QByteArray &text, int occurrence = 0);
    void closeAfter(const QByteArray &verb, int occurrence = 0);
    void stallAt(const QByteArray &verb, int occurrence = 0);
    // Rules written one per item as "VERB[#n]=reply", "VERB[#n]:close" or
    // "VERB[#n]:stall"; "\n" in a reply separates its lines. GREETING
    // stands for the greeting ("GREETING=421 Lleno", "GREETING:stall").
    void addRules(const QStringList &rules);
    // Sends raw bytes on the control connection now (to end a stall).
    void sendNow(const QByteArray &text);
    // Closes the control connection now.
    void closeNow();

    QByteArray greeting = "220 Servidor de pruebas listo";
    bool stallGreeting = false;
    // The six numbers of a 227 take the place of %1.
    QByteArray passiveFormat = "227 Entering Passive Mode (%1).";
    QByteArray passiveHost = "127,0,0,1";
    // Final replies of transfers by STOR occurrence; 226 when not given,
    // none when given empty.
    QHash<int, QByteArray> finalReplies;
    // Data connections are left unread: the client's sending stalls.
    bool stallData = false;
    // Bytes written into each data connection, as fast as the client takes
    // them, before the 150 is sent.
    qint64 floodBytes = 0;
    // The control connection is closed once a data connection has brought
    // this many bytes (0: never).
    qint64 closeControlAfterDataBytes = 0;

    // What happened.
    QList<QByteArray> commands;      // every command line, without its CR LF
    QStringList events;              // "CMD <line>", "DATA OPEN", "DATA END <bytes>"
    QMap<QString, QByteArray> files; // files whose transfer ended with a 2xx
    qint64 dataReceived = 0;         // bytes of the current data connection
    qint64 dataFlooded = 0;          // bytes written into data connections
    bool controlClosed = false;
    bool dataClosed = false;
    // Reads what the stalled data connection holds and goes on reading.
    void resumeData();

signals:
    void commandReceived(const QByteArray &line);

private:
    enum class Action { Reply, Close, Stall };
    struct Rule {
        QByteArray verb;
        int occurrence;
        Action action;
        QByteArray text;
    };

    void onControlConnection();
    void onControlReadyRead();
    void handle(const QByteArray &line);
    void answerByDefault(const QByteArray &verb, const QByteArray &argument);
    void openPassive();
    void onDataConnection();
    void beginTransferWhenReady();
    void onDataReadyRead();
    void flood();
    void onDataClosed();
    void send(const QByteArray &text);

    QTcpServer m_control;
    QTcpServer m_passive;
    QPointer<QTcpSocket> m_client;
    QPointer<QTcpSocket> m_data;
    QByteArray m_lineBuffer;
    // Written again and again: the memory the flood test measures is the
    // client's, not a new block of ours for every write.
    const QByteArray m_floodBlock = QByteArray(256 * 1024, 'x');
    QList<Rule> m_rules;
    QHash<QByteArray, int> m_counts;
    QByteArray m_receiving;
    QString m_storName;
    int m_storOccurrence = 0;
    bool m_storPending = false;
    bool m_transferring = false;
};
