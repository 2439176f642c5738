// SPDX-License-Identifier: GPL-3.0-or-later
// What the client reads from the server and writes to it: replies cut
// strictly by RFC 959, the numbers of a 227, the port of a 229, and command
// lines that cannot carry a second command; the server box's host and port.

#include "publish/ftp/FtpCommand.h"
#include "publish/ftp/FtpReplyReader.h"
#include "publish/ftp/PassiveReply.h"
#include "publish/ServerAddress.h"

#include <QtTest>

class TestFtpParsing : public QObject {
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void passiveReply_data();
    void passiveReply();
    void extendedPassiveReply_data();
    void extendedPassiveReply();
    void commandLine_data();
    void commandLine();
    void serverAddress_data();
    void serverAddress();
};

void TestFtpParsing::replies_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("lastText");
    QTest::addColumn<bool>("broken");

    QTest::newRow("one line") << QByteArray("220 Listo\r\n") << QList<int>{220} << "220 Listo"
                              << false;
    QTest::newRow("code alone") << QByteArray("200\r\n") << QList<int>{200} << "200" << false;
    QTest::newRow("two replies in one read")
        << QByteArray("331 Password\r\n230 In\r\n") << QList<int>{331, 230} << "230 In" << false;
    QTest::newRow("multi-line") << QByteArray("220-Bienvenido\r\n220-a este\r\n220 servidor\r\n")
                                << QList<int>{220} << "220 servidor" << false;
    // Only the same code followed by a blank ends it: other codes, the same
    // code with a hyphen or alone, and indented codes are text.
    QTest::newRow("multi-line, look-alike lines inside")
        << QByteArray("220-Hola\r\n230 no es el final\r\n220-tampoco\r\n220\r\n 220 sangrado\r\n"
                      "220 fin\r\n")
        << QList<int>{220} << "220 fin" << false;
    QTest::newRow("multi-line not finished")
        << QByteArray("220-Hola\r\n220-sigue\r\n") << QList<int>{} << QString() << false;
    QTest::newRow("bare LF") << QByteArray("220 Listo\n") << QList<int>{220} << "220 Listo"
                             << false;
    QTest::newRow("longest line") << QByteArray("220 " + QByteArray(16380, 'x') + "\r\n")
                                  << QList<int>{220} << QString() << false;
    QTest::newRow("line one too long") << QByteArray("220 " + QByteArray(16381, 'x') + "\r\n")
                                       << QList<int>{} << QString() << true;
    QTest::newRow("too long inside a multi-line")
        << QByteArray("220-" + QByteArray(20000, 'x') + "\r\n220 fin\r\n") << QList<int>{}
        << QString() << true;
    QTest::newRow("too long and no end in sight")
        << QByteArray("220 " + QByteArray(20000, 'x')) << QList<int>{} << QString() << true;
    QTest::newRow("not a reply") << QByteArray("hola\r\n") << QList<int>{} << QString() << true;
    QTest::newRow("code without blank")
        << QByteArray("220x\r\n") << QList<int>{} << QString() << true;
    QTest::newRow("code out of range")
        << QByteArray("620 no\r\n") << QList<int>{} << QString() << true;
}

void TestFtpParsing::replies()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<int>, codes);
    QFETCH(QString, lastText);
    QFETCH(bool, broken);

    // All at once, and a byte at a time: where the reads split must not matter.
    for (const bool byteByByte : {false, true}) {
        FtpReplyReader reader;
        if (byteByByte) {
            for (char c : bytes)
                reader.feed(QByteArray(1, c));
        } else {
            reader.feed(bytes);
        }
        QList<int> got;
        QString text;
        while (reader.hasReply()) {
            const FtpReply reply = reader.takeReply();
            got.append(reply.code);
            text = reply.text;
        }
        QCOMPARE(got, codes);
        QCOMPARE(reader.isBroken(), broken);
        if (!lastText.isNull())
            QCOMPARE(text, lastText);
    }
}

void TestFtpParsing::passiveReply_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port"); // -1 when the reply is refused

    QTest::newRow("parentheses") << "227 Entering Passive Mode (127,0,0,1,4,210)." << 4 * 256 + 210;
    QTest::newRow("blanks inside") << "227 Modo pasivo ( 10, 0, 0, 7, 200, 1 )" << 200 * 256 + 1;
    QTest::newRow("after the last blank")
        << "227 Entering Passive Mode 192,168,1,2,19,137" << 19 * 256 + 137;
    QTest::newRow("five numbers") << "227 Entering Passive Mode (127,0,0,1,4)" << -1;
    QTest::newRow("number over 255") << "227 Entering Passive Mode (127,0,0,1,256,1)" << -1;
    QTest::newRow("sign") << "227 Entering Passive Mode (127,0,0,1,+4,1)" << -1;
    QTest::newRow("port zero") << "227 Entering Passive Mode (127,0,0,1,0,0)" << -1;
    QTest::newRow("trailing dot without parentheses") << "227 Passive 127,0,0,1,4,5." << -1;
    QTest::newRow("nothing") << "227 Passive" << -1;
}

void TestFtpParsing::passiveReply()
{
    QFETCH(QString, text);
    QFETCH(int, port);

    const std::optional<PassiveReply> reply = PassiveReply::parse(text);
    QCOMPARE(reply.has_value(), port >= 0);
    if (reply)
        QCOMPARE(int(reply->port), port);
}

void TestFtpParsing::extendedPassiveReply_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("port"); // -1 when the reply is refused

    QTest::newRow("RFC 2428") << "229 Entering Extended Passive Mode (|||6446|)" << 6446;
    QTest::newRow("other delimiter") << "229 Modo pasivo extendido (!!!65535!)" << 65535;
    QTest::newRow("address given") << "229 (|2|::1|6446|)" << -1;
    QTest::newRow("port over 65535") << "229 (|||65536|)" << -1;
    QTest::newRow("port zero") << "229 (|||0|)" << -1;
    QTest::newRow("sign") << "229 (|||+21|)" << -1;
    QTest::newRow("mixed delimiters") << "229 (||!21|)" << -1;
    QTest::newRow("no parentheses") << "229 Entering Extended Passive Mode |||6446|" << -1;
}

void TestFtpParsing::extendedPassiveReply()
{
    QFETCH(QString, text);
    QFETCH(int, port);

    const std::optional<quint16> parsed = PassiveReply::parseExtended(text);
    QCOMPARE(parsed.has_value(), port >= 0);
    if (parsed)
        QCOMPARE(int(*parsed), port);
}

void TestFtpParsing::commandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QByteArray>("line"); // empty when the command is refused

    QTest::newRow("plain") << "usuario" << QByteArray("USER usuario");
    QTest::newRow("blanks kept") << " /web site " << QByteArray("USER  /web site ");
    // A browser asks for "Pe%C3%B1a.gif": the name travels in UTF-8 too.
    QTest::newRow("ISO-8859-1 letter: UTF-8") << QStringLiteral("peña")
                                              << QByteArray("USER pe\xc3\xb1"
                                                            "a");
    QTest::newRow("CR") << "a\rDELE x" << QByteArray();
    QTest::newRow("LF") << "a\nDELE x" << QByteArray();
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << QByteArray();
    QTest::newRow("beyond ISO-8859-1: UTF-8") << QStringLiteral("peña 写真.gif")
                                              << QByteArray("USER pe\xc3\xb1"
                                                            "a \xe5\x86\x99\xe7\x9c\x9f.gif");
    QTest::newRow("half a UTF-16 pair") << QStringLiteral("a") + QChar(0xD800) << QByteArray();
}

void TestFtpParsing::commandLine()
{
    QFETCH(QString, argument);
    QFETCH(QByteArray, line);

    const std::optional<QByteArray> command = ftpCommand("USER", argument);
    QCOMPARE(command.has_value(), !line.isEmpty());
    if (command)
        QCOMPARE(*command, line);
}

void TestFtpParsing::serverAddress_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("parsed"); // the host and the port: 0 for none, -1 refused
    // clang-format off
    const QStringList rows = {
        "ftp.ejemplo.es", "ftp.ejemplo.es 0",   "ftp.ejemplo.es:2121", "ftp.ejemplo.es 2121",
        "::1", "::1 0",   "[::1]:65535", "::1 65535",   "[fe80::1]", "fe80::1 0",
        "servidor:0", "servidor -1",   "servidor:65536", "servidor -1",
        "servidor:+21", "servidor -1",   "[::1]:", "::1 -1"};
    // clang-format on
    for (qsizetype i = 0; i < rows.size(); i += 2)
        QTest::newRow(qPrintable(rows[i])) << rows[i] << rows[i + 1];
}

void TestFtpParsing::serverAddress()
{
    QFETCH(QString, text);
    QFETCH(QString, parsed);
    const ServerAddress address = ServerAddress::parse(text);
    const int port = address.error.isEmpty() ? address.port : -1;
    QCOMPARE(address.host + u' ' + QString::number(port), parsed);
}

QTEST_GUILESS_MAIN(TestFtpParsing)
#include "tst_ftpparsing.moc"
