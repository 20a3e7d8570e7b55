#pragma once

#include "support/StudyFixture.h"

#include <QProcess>
#include <QRandomGenerator>

#include <csignal>
#include <cstdio>
#include <cstdlib>

// Writers killed with SIGKILL at random moments of their work, on either engine. A writer is the test
// program run again as "--writer STUDY SEED": it announces each operation before it starts (its name)
// and once it is committed ("+" one stimulus more, "-" one less, "0" none changed).
namespace KilledWriter {

inline void announce(const char *what) {
    std::printf("%s\n", what);
    std::fflush(stdout);
}

// Runs `rounds` writers on the study one after another, each killed once it has announced its first
// operation, after a random delay. After every kill the study is whole (no broken rows; a sound file)
// and holds what the committed operations left, give or take the one in flight. Over all rounds at
// least half the kills land mid-operation, and at least as many operations as rounds are committed.
inline void killAtRandom(const QString &study, int rounds, quint32 seed) {
    const bool server = StudyFixture::onServer();
    QRandomGenerator random(seed);
    int expected = 0;  // stimuli the committed operations leave
    int committed = 0; // operations committed over all rounds
    int midWrite = 0;  // rounds killed while an operation was in flight
    for (int round = 0; round < rounds; ++round) {
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--writer"), study, QString::number(random.generate())});
        QVERIFY(writer.waitForStarted());
        // Killed only once it writes, however busy the machine is.
        QVERIFY2(writer.waitForReadyRead(-1), qPrintable(writer.readAllStandardError()));
        QTest::qWait(random.bounded(0, 60));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(-1));
        QVERIFY2(writer.exitStatus() == QProcess::CrashExit, qPrintable(writer.readAllStandardError()));
        bool pending = false;
        for (const QByteArray &line : writer.readAllStandardOutput().split('\n')) {
            const bool done = line == "+" || line == "-" || line == "0";
            expected += line == "+" ? 1 : (line == "-" ? -1 : 0);
            committed += done ? 1 : 0;
            pending = line.isEmpty() ? pending : !done;
        }
        midWrite += pending ? 1 : 0;
        // A server ends the killed writer's session (and rolls back its work) on its own time.
        while (server &&
               StudyFixture::serverAdmin(StudyFixture::databaseOf(study),
                                         QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE "
                                                        "datname = current_database() AND pid <> "
                                                        "pg_backend_pid()")) != QLatin1String("0")) {
            QTest::qWait(10);
        }
        OpenStudy opened(study);
        QCOMPARE(brokenRows(opened.db) +
                     (server ? QStringLiteral("ok") : opened.read("PRAGMA integrity_check")),
                 QStringLiteral("0ok"));
        const int stored = opened.read(QStringLiteral("SELECT COUNT(*) FROM estimulo")).toInt();
        QVERIFY2(
            stored == expected || (pending && std::abs(stored - expected) == 1),
            qPrintable(
                QStringLiteral("round %1: %2 stored, %3 expected").arg(round).arg(stored).arg(expected)));
        expected = stored;
    }
    QVERIFY2(midWrite >= rounds / 2 && committed >= rounds,
             qPrintable(
                 QStringLiteral("%1 kills mid-write, %2 operations committed").arg(midWrite).arg(committed)));
}

} // namespace KilledWriter
