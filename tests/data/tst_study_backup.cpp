#include "data/StudyBackup.h"
#include "data/StudyError.h"
#include "data/Transaction.h"
#include "support/Files.h"
#include "support/StudyFixture.h"

#include <QThread>

#include <unistd.h>

#include <atomic>

namespace {

// One save as the recording window makes it: a stimulus and its drawing in one transaction.
void save(QSqlDatabase &db, int id) {
    Transaction transaction(db);
    QSqlQuery q(db);
    q.exec(QStringLiteral(
               "INSERT INTO estimulo (id, id_puntoestimulo, pasada, archivopuntos) VALUES (%1, 1, 1, 'd%1')")
               .arg(id));
    q.exec(QStringLiteral("INSERT INTO drawing (stimulus_id, points) VALUES (%1, '%2')")
               .arg(id)
               .arg(QString(2000, '7')));
    transaction.commit();
}

} // namespace

// Backups of an open study: consistent while another thread saves, a rolling set of seven, and a
// full disk that leaves the study as it was and says so.
class TestStudyBackup : public QObject {
    Q_OBJECT

private slots:
    void backupDuringSavesOnAnotherThreadOpensWhole() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        QSqlDatabase db = study.db();
        std::atomic<int> saved{0};
        std::atomic<bool> stop{false};
        // The saves run on their own thread on the study's connection, as a long save would while the
        // backup is asked for.
        std::unique_ptr<QThread> writer(QThread::create([&] {
            for (int id = 1; !stop && id < 100000; ++id) {
                save(db, id);
                saved = id;
            }
        }));
        writer->start();
        while (saved < 50) {
            QThread::msleep(1);
        }
        const QString target = study.dirPath() + "/during.sqlite";
        StudyBackup::write(db, target);
        stop = true;
        writer->wait();
        QVERIFY(saved > 50);

        OpenStudy copy(target);
        QCOMPARE(copy.read("PRAGMA integrity_check") + brokenRows(copy.db), "ok0");
        QVERIFY(copy.read("SELECT COUNT(*) FROM estimulo").toInt() >= 50);
    }

    void rollingBackupKeepsOneADayAndTheLastSeven() {
        StudyFixture study("lab.sqlite");
        const QString folder = study.dirPath() + "/backups";
        const QDate first(2026, 3, 1);
        for (int day = 0; day < 10; ++day) {
            const StudyBackup::Rolling done =
                StudyBackup::rolling(study.db(), study.path(), folder, 7, first.addDays(day));
            QCOMPARE(done.written, folder + first.addDays(day).toString("/lab-yyyy-MM-dd.sqlite"));
            QCOMPARE(done.removed.size(), day >= 7 ? 1 : 0);
        }
        QVERIFY(
            StudyBackup::rolling(study.db(), study.path(), folder, 7, first.addDays(9)).written.isEmpty());
        QStringList expected;
        for (int day = 3; day < 10; ++day) {
            expected << first.addDays(day).toString("lab-yyyy-MM-dd.sqlite");
        }
        QCOMPARE(folderEntries(folder), expected);
        // The settings: the folder beside the study unless config.ini names another, 7 unless it says.
        QVERIFY(putFile(study.dirPath() + "/config.ini", "[Backups]\r\nFolder=old copies\r\nKeep=3\r\n"));
        const StudyBackup::Settings s = StudyBackup::settings(study.dirPath() + "/config.ini", study.path());
        QCOMPARE(s.folder + '|' + QString::number(s.keep), study.dirPath() + "/old copies|3");
        QCOMPARE(StudyBackup::settings(study.dirPath() + "/none.ini", study.path()).keep, 7);
    }

    void fullDiskLeavesNoBackupAndTheStudyUntouched() {
        if (::geteuid() != 0) {
            QSKIP("only root can mount the small tmpfs this case needs");
        }
        StudyFixture study;
        study.addSubject(1, "Ana");
        for (int id = 1; id <= 100; ++id) {
            save(study.db(), id); // about 200 kB, more than the disk holds
        }
        QTemporaryDir disk;
        QCOMPARE(runProgram("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk.path()}), 0);
        const QByteArray before = fileBytes(study.path());
        try {
            StudyBackup::write(study.db(), disk.filePath("full.sqlite"));
            QFAIL("a backup larger than the disk was written");
        } catch (const StudyError &e) {
            QVERIFY2(e.message().startsWith("Cannot write " + disk.filePath("full.sqlite") + ": "),
                     qPrintable(e.message()));
        }
        const QStringList left = folderEntries(disk.path());
        QProcess::execute("umount", {disk.path()});
        QCOMPARE(left, QStringList());
        QCOMPARE(fileBytes(study.path()), before);
        QCOMPARE(study.read("SELECT COUNT(*) FROM drawing"), "100");
    }

    void toolBacksUpIntoAFolder() {
        StudyFixture study("lab.sqlite");
        study.addSubject(1, "Ana");
        study.release();
        QString said;
        QCOMPARE(runProgram(QString(), {"backup", study.path(), study.dirPath()}, &said), 0);
        QCOMPARE(OpenStudy(study.dirPath() + QDate::currentDate().toString("/lab-yyyy-MM-dd.sqlite"))
                     .read("SELECT Nombre FROM paciente"),
                 "Ana");
    }
};

QTEST_GUILESS_MAIN(TestStudyBackup)
#include "tst_study_backup.moc"
