// SPDX-License-Identifier: GPL-3.0-or-later
// Every fault at every step of a run, over FTP, FTPS and SFTP against the
// real servers, through the fault proxy: how the run ends, what the server
// holds and logs, how long it took, and that the next run publishes. Run
// verbosely (-v1), it prints the matrix as a table.
#include "tests/publish/FaultRig.h"

#include <QTest>

#include <map>

class TestFaultMatrix : public QObject {
    Q_OBJECT

    std::map<Way, std::unique_ptr<FaultRig>> m_rigs;
    std::map<Way, std::map<QString, QString>> m_table; // way → case → how it ended

    static QString wayName(Way way)
    {
        return way == Way::Ftp    ? QStringLiteral("ftp")
               : way == Way::Ftps ? QStringLiteral("ftps")
                                  : QStringLiteral("sftp");
    }
    static void rows(Way way)
    {
        QTest::addColumn<int>("index");
        const QList<FaultCase> cases = FaultRig::matrix(way);
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(qPrintable(cases[i].name())) << i;
    }
    void runCase(Way way)
    {
        QFETCH(int, index);
        auto &rig = m_rigs[way];
        if (!rig) {
            rig = std::make_unique<FaultRig>(way);
            if (const QString why = rig->start(); !why.isEmpty()) {
                rig.reset();
                QSKIP(qPrintable(why));
            }
        }
        const FaultCase faultCase = FaultRig::matrix(way).at(index);
        const FaultRig::Result result = rig->run(faultCase);
        m_table[way][faultCase.name()] = result.seen + (result.wrong.isEmpty() ? "" : " (!)");
        QVERIFY2(result.wrong.isEmpty(), qPrintable(result.wrong.join(QStringLiteral("; "))));
    }

private slots:
    void ftp_data() { rows(Way::Ftp); }
    void ftp() { runCase(Way::Ftp); }
    void ftps_data() { rows(Way::Ftps); }
    void ftps() { runCase(Way::Ftps); }
    void sftp_data() { rows(Way::Sftp); }
    void sftp() { runCase(Way::Sftp); }

    void cleanupTestCase()
    {
        const QStringList arguments = QCoreApplication::arguments();
        if (!arguments.contains(QStringLiteral("-v1")) &&
            !arguments.contains(QStringLiteral("-v2")))
            return;
        for (const auto &[way, cases] : m_table) {
            QString table = QStringLiteral("\n%1\n").arg(wayName(way));
            for (const auto &[name, seen] : cases)
                table += QStringLiteral("  %1 %2\n").arg(name, -24).arg(seen);
            qInfo().noquote() << table;
        }
    }
};

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
