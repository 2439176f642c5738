// SPDX-License-Identifier: GPL-3.0-or-later
// Every fault at every step of a run, over FTP, FTPS and SFTP against the
// real servers, through the fault proxy: how the run ends, what the server
// holds and logs, how long it took, and that the next run publishes. Run
// verbosely (-v1), it prints the matrix as a table.
#include "tests/publish/FaultRig.h"

#include <QTest>

#include <algorithm>
#include <map>
#include <vector>

class TestFaultMatrix : public QObject {
    Q_OBJECT

    std::map<Way, std::unique_ptr<FaultRig>> m_rigs;
    // way → step → fault → how it ended, steps in the matrix's order
    std::map<Way, std::vector<std::pair<QString, std::map<QString, QString>>>> m_table;

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
        record(way, faultCase.name(), result.seen + (result.wrong.isEmpty() ? "" : " (!)"));
        QVERIFY2(result.wrong.isEmpty(), qPrintable(result.wrong.join(QStringLiteral("; "))));
    }

    // A case is named "step/fault", with " (data)" after a fault on FTP's
    // data connection: a row of the step, a column of the fault.
    void record(Way way, const QString &name, const QString &seen)
    {
        QString step = name.section(u'/', 0, 0);
        QString fault = name.section(u'/', 1);
        if (fault.endsWith(QStringLiteral(" (data)"))) {
            fault.chop(7);
            step += QStringLiteral(" (data)");
        }
        auto &rows = m_table[way];
        auto row = std::find_if(rows.begin(), rows.end(),
                                [&](const auto &entry) { return entry.first == step; });
        if (row == rows.end())
            row = rows.insert(rows.end(), {step, {}});
        row->second[fault] = seen;
    }
    static QString grid(const std::vector<std::pair<QString, std::map<QString, QString>>> &rows)
    {
        const QStringList faults = {QStringLiteral("reset"), QStringLiteral("close"),
                                    QStringLiteral("stall"), QStringLiteral("trickle")};
        int stepWidth = 0;
        std::map<QString, int> widths;
        for (const QString &fault : faults)
            widths[fault] = int(fault.size());
        for (const auto &[step, cells] : rows) {
            stepWidth = std::max(stepWidth, int(step.size()));
            for (const auto &[fault, seen] : cells)
                widths[fault] = std::max(widths[fault], int(seen.size()));
        }
        QString text = QStringLiteral("  %1").arg(QString(), -stepWidth);
        for (const QString &fault : faults)
            text += QStringLiteral(" | %1").arg(fault, -widths[fault]);
        text += u'\n';
        for (const auto &[step, cells] : rows) {
            text += QStringLiteral("  %1").arg(step, -stepWidth);
            for (const QString &fault : faults) {
                const auto cell = cells.find(fault);
                text += QStringLiteral(" | %1")
                            .arg(cell == cells.end() ? QStringLiteral("-") : cell->second,
                                 -widths[fault]);
            }
            text += u'\n';
        }
        return text;
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
        for (const auto &[way, rows] : m_table)
            qInfo().noquote() << u'\n' + wayName(way) + u'\n' + grid(rows);
    }
};

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
