#include "core/IniFile.h"
#include "data/StudyBackup.h"
#include "data/StudyError.h"
#include "data/Transaction.h"
#include "support/FullDisk.h"
#include "support/StudyFixture.h"

#include <sys/stat.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

// One save as the recording window makes it: a stimulus and its drawing in one transaction. False
// when the study refused either row.
bool save(QSqlDatabase &db, int id) {
    Transaction transaction(db);
    QSqlQuery q(db);
    const bool stimulus = q.exec(
        QStringLiteral(
            "INSERT INTO estimulo (id, id_puntoestimulo, pasada, archivopuntos) VALUES (%1, 1, 1, 'd%1')")
            .arg(id));
    const bool drawing = q.exec(QStringLiteral("INSERT INTO drawing (stimulus_id, points) VALUES (%1, '%2')")
                                    .arg(id)
                                    .arg(QString(2000, '7')));
    transaction.commit();
    return stimulus && drawing;
}

} // namespace

// Backups of an open study: never halfway through a save, a rolling set of seven kept to the
// study's own, the study's permissions, destinations refused, and a full disk that leaves the study as
// it was and says so.
class TestStudyBackup : public QObject {
    Q_OBJECT

private slots:
    // A backup asked for while a save is open on the study's connection is refused and leaves nothing;
    // once the save is stored it holds it.
    void backupIsNeverTakenHalfwayThroughASave() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        QSqlDatabase db = study.db();
        const QString target = study.dirPath() + "/during.sqlite";
        {
            Transaction open(db);
            QVERIFY(
                QSqlQuery(db).exec("INSERT INTO estimulo (id, id_puntoestimulo, pasada) VALUES (1, 1, 1)"));
            QVERIFY_THROWS_EXCEPTION(StudyError, StudyBackup::write(db, target));
            open.commit();
        }
        QVERIFY(!QFileInfo::exists(target));
        StudyBackup::write(db, target);
        QCOMPARE(OpenStudy(target).read("SELECT COUNT(*) FROM estimulo"), "1");
    }

    void rollingBackupKeepsOneADayAndTheLastSeven() {
        StudyFixture study("lab.sqlite");
        const QString folder = study.dirPath() + "/backups";
        const QDate first(2026, 3, 1);
        const QString id = StudyBackup::identity(study.db());
        QCOMPARE(StudyBackup::identity(study.db()), id); // kept in the study, made once
        const auto named = [&](int day) {
            return StudyBackup::rollingName(study.path(), id, first.addDays(day));
        };
        QCOMPARE(named(0), "lab-2026-03-01-" + id.left(8) + ".sqlite");
        // What a killed backup of another day left (a process id that no longer runs) goes.
        for (const QString &left : {named(-9), named(-9) + "-journal"}) {
            QVERIFY(putFile(folder + "/." + named(-9) + ".backing-up-999999999" + left.mid(named(-9).size()),
                            "x"));
        }
        for (int day = 0; day < 10; ++day) {
            const StudyBackup::Rolling done =
                StudyBackup::rolling(study.db(), study.path(), folder, 7, first.addDays(day));
            QCOMPARE(done.written, folder + '/' + named(day));
            QCOMPARE(done.removed.size(), day >= 7 ? 1 : 0);
        }
        QVERIFY(
            StudyBackup::rolling(study.db(), study.path(), folder, 7, first.addDays(9)).written.isEmpty());
        QStringList expected;
        for (int day = 3; day < 10; ++day) {
            expected << named(day);
        }
        QCOMPARE(folderEntries(folder), expected);
        // The settings: the folder beside the study unless config.ini names another, 7 unless it says.
        QVERIFY(putFile(study.dirPath() + "/config.ini", "[Backups]\r\nFolder=old copies\r\nKeep=3\r\n"));
        const StudyBackup::Settings s = StudyBackup::settings(study.dirPath() + "/config.ini", study.path());
        QCOMPARE(s.folder + '|' + QString::number(s.keep), study.dirPath() + "/old copies|3");
        QCOMPARE(StudyBackup::settings(study.dirPath() + "/none.ini", study.path()).keep, 7);
        // A long folder, as the program writes it, comes back whole.
        const QString longFolder = study.dirPath() + '/' + QString(300, 'b');
        QVERIFY(EscribeIni(study.dirPath() + "/config.ini", "Backups", "Folder", longFolder) != 0);
        QCOMPARE(StudyBackup::settings(study.dirPath() + "/config.ini", study.path()).folder, longFolder);
    }

    // Studies whose rolling backups share one folder: names that are glob patterns of each other, and
    // the same name in two folders. Each keeps its own last two, clears its own leftovers and never
    // touches the other's.
    void rollingBackupsSharingAFolderKeepToThemselves_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("lab [12] and lab 2") << u"a/lab [12].sqlite"_s << u"a/lab 2.sqlite"_s;
        QTest::newRow("lab and lab of another folder") << u"a/lab.sqlite"_s << u"b/lab.sqlite"_s;
        // A plain copy of the file (made outside the program) carries the identity: it gets its own.
        QTest::newRow("lab and a copy of it in another folder")
            << u"a/lab.sqlite"_s << u"copy:b/lab.sqlite"_s;
    }
    void rollingBackupsSharingAFolderKeepToThemselves() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QTemporaryDir dir;
        const QString folder = dir.filePath("shared");
        std::map<QString, QString> ids;
        const bool copy = second.startsWith("copy:");
        second.remove("copy:");
        for (const QString &name : {first, second}) {
            QVERIFY(QDir(dir.path()).mkpath(QFileInfo(name).path()));
            if (copy && name == second) {
                QVERIFY(QFile::copy(dir.filePath(first), dir.filePath(name)));
            } else {
                Study::create(dir.filePath(name));
            }
            OpenStudy study(dir.filePath(name));
            ids[name] = StudyBackup::identity(study.db);
            QVERIFY(name == first || ids[name] != ids[first]);
            // What a killed backup of an earlier day left goes, whatever characters the name holds.
            QVERIFY(putFile(folder + "/." + StudyBackup::rollingName(name, ids[name], QDate(2026, 4, 1)) +
                                ".backing-up-999999999-journal",
                            "x"));
            for (int day = 1; day <= 3; ++day) {
                QVERIFY(
                    !StudyBackup::rolling(study.db, study.db.databaseName(), folder, 2, QDate(2026, 5, day))
                         .written.isEmpty());
            }
        }
        QStringList expected;
        for (const QString &name : {first, second}) {
            for (int day = 2; day <= 3; ++day) {
                expected << StudyBackup::rollingName(name, ids[name], QDate(2026, 5, day));
            }
        }
        expected.sort();
        QCOMPARE(folderEntries(folder), expected);
    }

    // An identity the program would not have made is replaced, saying so, and then kept: a NUL in it
    // would name another file, an empty one would make a new identity on every run.
    void aStoredIdentityThatIsNotOneIsReplaced_data() {
        QTest::addColumn<QString>("rows"); // the study_identity rows, as SQL values
        QTest::newRow("empty") << u"('')"_s;
        QTest::newRow("a NUL inside") << u"('ab' || char(0) || 'cdef01')"_s;
        QTest::newRow("a NUL first") << u"(char(0) || 'abcdef01')"_s;
        QTest::newRow("upper case") << u"('ABCDEF01')"_s;
        QTest::newRow("two rows") << u"('abcdef01'), ('01234567')"_s;
    }
    void aStoredIdentityThatIsNotOneIsReplaced() {
        QFETCH(QString, rows);
        StudyFixture study("lab.sqlite");
        study.exec("CREATE TABLE study_identity (id TEXT NOT NULL)");
        study.exec("INSERT INTO study_identity (id) VALUES " + rows);
        const QString folder = study.dirPath() + "/backups";
        const QDate day(2026, 5, 1);
        QVERIFY(putFile(folder + "/lab-2026-05-01-ab", "not a backup"));
        const StudyBackup::Rolling done = StudyBackup::rolling(study.db(), study.path(), folder, 7, day);
        QVERIFY2(done.replaced.contains("A new backup identity"), qPrintable(done.replaced));
        const QString id = StudyBackup::identity(study.db());
        QVERIFY(QRegularExpression("^[0-9a-f]{32}$").match(id).hasMatch());
        QCOMPARE(done.written, folder + "/" + StudyBackup::rollingName(study.path(), id, day));
        QCOMPARE(fileBytes(folder + "/lab-2026-05-01-ab"), "not a backup");
        QCOMPARE(StudyBackup::rolling(study.db(), study.path(), folder, 7, day).written, QString());
    }

    // A backup is never wider than the study: a study only its owner reads gives backups only the
    // owner reads.
    void backupHasTheStudysPermissions() {
        StudyFixture study("lab.sqlite");
        QVERIFY(QFile::setPermissions(study.path(), QFile::ReadOwner | QFile::WriteOwner));
        const QString folder = study.dirPath() + "/backups";
        StudyBackup::write(study.db(), study.dirPath() + "/copy.sqlite");
        const QString rolling = StudyBackup::rolling(study.db(), study.path(), folder, 7).written;
        for (const QString &backup : {study.dirPath() + "/copy.sqlite", rolling}) {
            struct stat status;
            QVERIFY(::stat(QFile::encodeName(backup).constData(), &status) == 0);
            QCOMPARE(status.st_mode & 0777, 0600u);
        }
    }

    // `backup` never writes over the study itself (by any name) or another file: refused, saying why,
    // with both files as they were; onto one of the study's own backups it writes.
    void toolRefusesADestinationThatIsNotItsOwnBackup_data() {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the study itself") << u"lab.sqlite"_s << u"it is the study itself"_s;
        QTest::newRow("the study through a link") << u"link.sqlite"_s << u"it is the study itself"_s;
        QTest::newRow("the study through a hard link") << u"hard.sqlite"_s << u"it is the study itself"_s;
        QTest::newRow("another study") << u"other.sqlite"_s << u"is not a backup of this study"_s;
        QTest::newRow("a dangling link") << u"dangling.sqlite"_s << u"symbolic link"_s;
        QTest::newRow("its own backup") << u"own"_s << u""_s;
    }
    void toolRefusesADestinationThatIsNotItsOwnBackup() {
        QFETCH(QString, destination);
        QFETCH(QString, reason);
        StudyFixture study("lab.sqlite");
        study.addSubject(1, "Ana");
        const QString dir = study.dirPath() + '/';
        // Only the row that writes onto its own backup gives the study an identity: a refusal must
        // not change a study that has none yet.
        QString own;
        if (destination == "own") {
            own =
                StudyBackup::rollingName(study.path(), StudyBackup::identity(study.db()), QDate(2026, 1, 1));
            StudyBackup::write(study.db(), dir + own);
        }
        study.release();
        Study::create(dir + "other.sqlite");
        QVERIFY(QFile::link(dir + "lab.sqlite", dir + "link.sqlite") &&
                QFile::link(dir + "nowhere", dir + "dangling.sqlite") &&
                ::link(QFile::encodeName(dir + "lab.sqlite"), QFile::encodeName(dir + "hard.sqlite")) == 0);
        const QString target = dir + (destination == "own" ? own : destination);
        const QByteArray studyBefore = fileBytes(dir + "lab.sqlite"), targetBefore = fileBytes(target);
        QString said;
        const int code = runProgram(QString(), {"backup", study.path(), target}, &said);
        if (reason.isEmpty()) {
            QCOMPARE(code, 0);
            QCOMPARE(OpenStudy(target).read("SELECT Nombre FROM paciente"), "Ana");
            return;
        }
        QVERIFY2(code == 1 && said.contains("Cannot write " + target + ": ") && said.contains(reason),
                 qPrintable(said));
        QCOMPARE(fileBytes(dir + "lab.sqlite"), studyBefore);
        QCOMPARE(fileBytes(target), targetBefore);
        QVERIFY(!QFileInfo::exists(dir + "nowhere"));
    }

    void fullDiskLeavesNoBackupAndTheStudyUntouched() {
        const FullDisk disk;
        if (!disk.mounted()) {
            QSKIP(qPrintable(disk.why()));
        }
        StudyFixture study;
        study.addSubject(1, "Ana");
        for (int id = 1; id <= 100; ++id) {
            QVERIFY(save(study.db(), id)); // about 200 kB, more than the disk holds
        }
        const QByteArray before = fileBytes(study.path());
        try {
            StudyBackup::write(study.db(), disk.filePath("full.sqlite"));
            QFAIL("a backup larger than the disk was written");
        } catch (const StudyError &e) {
            QVERIFY2(e.message().startsWith("Cannot write " + disk.filePath("full.sqlite") + ": "),
                     qPrintable(e.message()));
        }
        QCOMPARE(folderEntries(disk.path()), QStringList());
        QCOMPARE(fileBytes(study.path()), before);
        QCOMPARE(study.read("SELECT COUNT(*) FROM drawing"), "100");
    }

    void toolBacksUpIntoAFolder() {
        StudyFixture study("lab.sqlite");
        study.addSubject(1, "Ana");
        study.release();
        QString said;
        QCOMPARE(runProgram(QString(), {"backup", study.path(), study.dirPath()}, &said), 0);
        QString id;
        {
            OpenStudy opened(study.path());
            id = StudyBackup::identity(opened.db);
        }
        QCOMPARE(OpenStudy(study.dirPath() + '/' +
                           StudyBackup::rollingName(study.path(), id, QDate::currentDate()))
                     .read("SELECT Nombre FROM paciente"),
                 "Ana");
    }
};

QTEST_GUILESS_MAIN(TestStudyBackup)
#include "tst_study_backup.moc"
