// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/publish/ftp/ScriptedFtpServer.h"

#include <QHostAddress>
#include <QRegularExpression>

ScriptedFtpServer::ScriptedFtpServer(QObject *parent) : QObject(parent)
{
    connect(&m_control, &QTcpServer::newConnection, this, &ScriptedFtpServer::onControlConnection);
    connect(&m_passive, &QTcpServer::newConnection, this, &ScriptedFtpServer::onDataConnection);
}

ScriptedFtpServer::~ScriptedFtpServer()
{
    // Sockets closing as the server goes away are not events of the test.
    // The accepted sockets belong to the two listening servers, which are
    // members, not children: they are destroyed after this body, when the
    // members their handlers use are gone already.
    for (QTcpServer *server : {&m_control, &m_passive}) {
        const QList<QTcpSocket *> sockets = server->findChildren<QTcpSocket *>();
        for (QTcpSocket *socket : sockets)
            socket->disconnect(this);
    }
}

bool ScriptedFtpServer::listen()
{
    return m_control.listen(QHostAddress::LocalHost, 0);
}

void ScriptedFtpServer::reply(const QByteArray &verb, const QByteArray &text, int occurrence)
{
    m_rules.append({verb, occurrence, Action::Reply, text});
}

void ScriptedFtpServer::closeAfter(const QByteArray &verb, int occurrence)
{
    m_rules.append({verb, occurrence, Action::Close, {}});
}

void ScriptedFtpServer::stallAt(const QByteArray &verb, int occurrence)
{
    m_rules.append({verb, occurrence, Action::Stall, {}});
}

void ScriptedFtpServer::addRules(const QStringList &rules)
{
    for (const QString &rule : rules) {
        const qsizetype cut = rule.indexOf(QRegularExpression(QStringLiteral("[=:]")));
        QString head = rule.left(cut);
        const QString rest = rule.mid(cut + 1);
        int occurrence = 0;
        if (const qsizetype hash = head.indexOf(u'#'); hash >= 0) {
            occurrence = head.mid(hash + 1).toInt();
            head.truncate(hash);
        }
        const QByteArray verb = head.toLatin1();
        if (verb == "GREETING") {
            stallGreeting = rest == QLatin1String("stall");
            greeting = rest.toLatin1().replace("\\n", "\r\n");
            continue;
        }
        if (rule[cut] == u'=')
            reply(verb, rest.toLatin1().replace("\\n", "\r\n"), occurrence);
        else if (rest == QLatin1String("close"))
            closeAfter(verb, occurrence);
        else
            stallAt(verb, occurrence);
    }
}

void ScriptedFtpServer::sendNow(const QByteArray &text)
{
    send(text);
}

void ScriptedFtpServer::closeNow()
{
    if (m_client)
        m_client->disconnectFromHost();
}

void ScriptedFtpServer::send(const QByteArray &text)
{
    if (m_client)
        m_client->write(text + "\r\n");
}

void ScriptedFtpServer::onControlConnection()
{
    while (QTcpSocket *socket = m_control.nextPendingConnection()) {
        m_client = socket;
        controlClosed = false;
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedFtpServer::onControlReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket == m_client)
                controlClosed = true;
            socket->deleteLater();
        });
        if (!stallGreeting)
            send(greeting);
    }
}

void ScriptedFtpServer::onControlReadyRead()
{
    if (!m_client)
        return;
    m_lineBuffer += m_client->readAll();
    qsizetype end;
    while ((end = m_lineBuffer.indexOf("\r\n")) >= 0) {
        const QByteArray line = m_lineBuffer.left(end);
        m_lineBuffer.remove(0, end + 2);
        handle(line);
    }
}

void ScriptedFtpServer::handle(const QByteArray &line)
{
    commands.append(line);
    events.append(QStringLiteral("CMD ") + QString::fromLatin1(line));
    emit commandReceived(line);

    const qsizetype blank = line.indexOf(' ');
    const QByteArray verb = (blank < 0 ? line : line.left(blank)).toUpper();
    const QByteArray argument = blank < 0 ? QByteArray() : line.mid(blank + 1);
    const int occurrence = ++m_counts[verb];
    for (const Rule &rule : std::as_const(m_rules)) {
        if (rule.verb != verb || (rule.occurrence != 0 && rule.occurrence != occurrence))
            continue;
        switch (rule.action) {
        case Action::Reply:
            send(rule.text);
            return;
        case Action::Close:
            if (m_client)
                m_client->disconnectFromHost();
            return;
        case Action::Stall:
            return;
        }
    }
    answerByDefault(verb, argument);
}

void ScriptedFtpServer::answerByDefault(const QByteArray &verb, const QByteArray &argument)
{
    if (verb == "USER")
        send("331 Password required");
    else if (verb == "PASS")
        send("230 Logged in");
    else if (verb == "TYPE")
        send("200 Type set to I");
    else if (verb == "SYST")
        send("215 UNIX Type: L8");
    else if (verb == "CWD")
        send("250 Directory changed");
    else if (verb == "PASV")
        openPassive();
    else if (verb == "STOR") {
        m_storName = QString::fromLatin1(argument);
        m_storOccurrence = m_counts.value("STOR");
        m_storPending = true;
        beginTransferWhenReady();
    } else
        send("502 Command not implemented");
}

void ScriptedFtpServer::openPassive()
{
    m_passive.close();
    m_passive.listen(QHostAddress::LocalHost, 0);
    const quint16 port = m_passive.serverPort();
    const QByteArray numbers =
        passiveHost + ',' + QByteArray::number(port / 256) + ',' + QByteArray::number(port % 256);
    send(QByteArray(passiveFormat).replace("%1", numbers));
}

void ScriptedFtpServer::onDataConnection()
{
    // The client sends STOR before it opens the data connection, so the STOR
    // is already waiting on the control connection; read it first so the log
    // shows what reached this machine first. A zero timeout does not wait.
    if (m_client)
        m_client->waitForReadyRead(0);
    while (QTcpSocket *socket = m_passive.nextPendingConnection()) {
        m_data = socket;
        m_receiving.clear();
        dataReceived = 0;
        dataClosed = false;
        events.append(QStringLiteral("DATA OPEN"));
        if (stallData)
            socket->setReadBufferSize(1);
        connect(socket, &QTcpSocket::readyRead, this, &ScriptedFtpServer::onDataReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, &ScriptedFtpServer::onDataClosed);
        connect(socket, &QTcpSocket::bytesWritten, this, &ScriptedFtpServer::flood);
    }
    m_passive.close();
    if (floodBytes > 0)
        return flood();
    beginTransferWhenReady();
}

void ScriptedFtpServer::beginTransferWhenReady()
{
    // Like many servers, the 150 comes once the data connection is open.
    if (m_storPending && m_data) {
        m_storPending = false;
        m_transferring = true;
        send("150 Opening BINARY mode data connection");
    }
}

void ScriptedFtpServer::flood()
{
    // A block at a time as the client takes them, so that what piles up is
    // the client's, not ours.
    if (!m_data || dataFlooded >= floodBytes)
        return;
    if (m_data->bytesToWrite() > 0)
        return;
    const qint64 block = qMin<qint64>(m_floodBlock.size(), floodBytes - dataFlooded);
    m_data->write(m_floodBlock.left(block));
    dataFlooded += block;
    if (dataFlooded >= floodBytes)
        beginTransferWhenReady();
}

void ScriptedFtpServer::onDataReadyRead()
{
    if (!m_data || stallData)
        return;
    const QByteArray bytes = m_data->readAll();
    m_receiving += bytes;
    dataReceived += bytes.size();
    if (closeControlAfterDataBytes > 0 && dataReceived >= closeControlAfterDataBytes && m_client)
        m_client->disconnectFromHost();
}

void ScriptedFtpServer::resumeData()
{
    stallData = false;
    if (m_data) {
        m_data->setReadBufferSize(0);
        onDataReadyRead();
        if (m_data->state() == QAbstractSocket::UnconnectedState)
            onDataClosed();
    }
}

void ScriptedFtpServer::onDataClosed()
{
    if (!m_data || dataClosed)
        return;
    if (!m_transferring) {
        // A data connection the client gave up before any STOR was accepted.
        dataClosed = true;
        events.append(QStringLiteral("DATA END %1").arg(m_receiving.size()));
        return;
    }
    onDataReadyRead();
    if (stallData)
        return; // a stalled connection is only finished once resumed
    dataClosed = true;
    m_transferring = false;
    events.append(QStringLiteral("DATA END %1").arg(m_receiving.size()));
    const QByteArray final = finalReplies.value(m_storOccurrence, "226 Transfer complete");
    if (final.startsWith('2'))
        files.insert(m_storName, m_receiving);
    if (!final.isEmpty())
        send(final);
    m_data->deleteLater();
    m_data = nullptr;
}
