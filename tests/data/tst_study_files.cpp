// Creating and opening study files: the schema, refusals that change nothing, the lock that keeps a
// second program out while a study is open, bringing an earlier version up to date; and backups of an
// open study: never halfway through a save, a rolling set of seven kept to the study's own, the study's
// permissions, destinations refused, and a full disk that leaves the study as it was and says so.

#include "support/Files.h"
#include "support/StudyFixture.h"

#include "data/StudyBackup.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "data/Transaction.h"
#include "support/FullDisk.h"

#include <QThread>

#include <cstring>
#include <iostream>
#include <map>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class StudyFiles : public QObject {
    Q_OBJECT

private slots:
    // (The fixture's study opens: it has the three tables.)
    void newStudyHasTheThreeTablesAndItsIndexes() {
        StudyFixture study;
        QCOMPARE(
            study.read("SELECT tbl_name, replace(substr(sql, instr(sql, '(')), ' ', '') FROM sqlite_master "
                       "WHERE type = 'index' AND sql IS NOT NULL ORDER BY 1"),
            "estimulo|(id_puntoestimulo)\npuntoestimulacion|(Id_paciente,Numero)");
        QSqlQuery query(study.db());
        // A 16-bit column refuses what a 16-bit field could not hold (and holds its whole range), and
        // text in a number column.
        QVERIFY(!query.exec("INSERT INTO puntoestimulacion (ID, fila) VALUES (1, 40000)"));
        QVERIFY(!query.exec("INSERT INTO estimulo (id, intensidad) VALUES (1, 'bright')"));
        QVERIFY(query.exec("INSERT INTO puntoestimulacion (ID, fila, columna) VALUES (1, -32768, 32767)"));
    }

    void newStudyNeverOverwritesAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("existing.sqlite");
        QVERIFY(putFile(path, "keep me"));
        QVERIFY_THROWS_EXCEPTION(StudyError, Study::create(path));
        QCOMPARE(fileBytes(path), QByteArray("keep me"));
        QVERIFY_THROWS_EXCEPTION(StudyError, Study::create(dir.filePath("no/such/folder/s.sqlite")));
        QCOMPARE(folderEntries(dir.path()), QStringList{"existing.sqlite"});
    }

    // What a killed creation or import left under a working name is cleared by the next one; the
    // working files of a process that still runs are not touched.
    void leftoversOfKilledWritersNeverBlockTheName() {
        QTemporaryDir dir;
        QProcess gone;
        gone.start("sleep", {"0.05"});
        QVERIFY(gone.waitForStarted());
        const QString dead = QString::number(gone.processId());
        QVERIFY(gone.waitForFinished());
        const QString alive = QStringLiteral("1"); // init runs as long as the machine
        for (const QString &name :
             {".lab.sqlite.creating-" + dead, ".lab.sqlite.creating-" + dead + "-journal",
              ".lab.sqlite.creating-" + alive}) {
            QVERIFY(putFile(dir.filePath(name), ""));
        }
        Study::create(dir.filePath("lab.sqlite"));
        QCOMPARE(folderEntries(dir.path()), QStringList({".lab.sqlite.creating-" + alive, "lab.sqlite"}));
    }

    void refusedOpenSaysWhyAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QByteArray() << u"does not exist"_s;
        QTest::newRow("empty file") << QByteArray("") << u"empty"_s;
        QTest::newRow("text file") << QByteArray("Nombre;Apellido1\nAna;Ruiz\n") << u"not an SQLite"_s;
        QTest::newRow("access file") << QByteArray("\0\1\0\0Standard Jet DB\0", 20) << u"legacy Access"_s;
    }
    void refusedOpenSaysWhyAndChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("study.sqlite");
        QVERIFY(content.isNull() || putFile(path, content));
        const Study::Opened opened = Study::open(path);
        QVERIFY2(opened.error.contains(reason) && !opened.db.isValid(), qPrintable(opened.error));
        QCOMPARE(folderEntries(dir.path()), content.isNull() ? QStringList() : QStringList{"study.sqlite"});
        QCOMPARE(fileBytes(path), content.isNull() ? QByteArray("<none>") : content);
    }

    // An SQLite file opens as a study when it has the three tables, whatever the case of their names.
    void tablesAreFoundInAnyCaseAndTheMissingOnesNamed_data() {
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QString>("error"); // empty: it opens
        QTest::newRow("two tables dropped")
            << QStringList{"DROP TABLE estimulo", "DROP TABLE puntoestimulacion"}
            << u"It is not a ZoKorvane study: it has no table puntoestimulacion, no table estimulo."_s;
        QTest::newRow("a name in capitals") << QStringList{"ALTER TABLE paciente RENAME TO Paciente_tmp",
                                                           "ALTER TABLE Paciente_tmp RENAME TO PACIENTE"}
                                            << QString();
    }
    void tablesAreFoundInAnyCaseAndTheMissingOnesNamed() {
        QFETCH(QStringList, changes);
        StudyFixture study;
        for (const QString &change : changes) {
            study.exec(change);
        }
        study.release();
        Study::Opened opened = Study::open(study.path());
        QTEST(opened.error, "error");
        Study::close(opened.db);
        QCOMPARE(QSqlDatabase::connectionNames().size(), 0);
    }

    // A study another process holds is refused here until that process lets it go. The lock is
    // SQLite's own, so any other SQLite client is refused as this one is.
    void aStudyIsKeptFromEveryOtherProgramWhileOpen() {
        StudyFixture study;
        study.release();
        QProcess holder;
        holder.start(QCoreApplication::applicationFilePath(), {"--hold", study.path()});
        QVERIFY(holder.waitForReadyRead(-1));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("held"));
        Study::Opened opened = Study::open(study.path());
        QVERIFY2(opened.error.contains("in use by another program"), qPrintable(opened.error));
        holder.write("\n");
        QVERIFY(holder.waitForFinished(-1));
        opened = Study::open(study.path());
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        Study::close(opened.db);
    }

    // A study of the version that kept drawings as files beside it: opening it writes a backup copy,
    // copies in the drawings its rows name (a name that leads outside the folder is refused; a missing
    // file, an empty one and a link to a file outside are named as missing and not read) and leaves the
    // folder as it was. (The backup's permissions: backupHasTheStudysPermissions.)
    void aStudyOfTheEarlierVersionIsBroughtUpToDateOnce() {
        StudyFixture old("lab.sqlite");
        QVERIFY(makeEarlierVersion(old.db(), 0));
        old.addSubject(1, "Ana");
        old.addPoint(1, 1, 1, 0, 0, 1);
        int id = 0;
        for (const char *name : {"111", "p\\112", "113", "../victim.txt", "", "114", "115"}) {
            old.addStimulus(++id, 1, 1, 0, QString::fromLatin1(name));
        }
        old.release();
        const QString path = old.path();
        const QString folder = Study::drawingDirectory(path);
        const QByteArray drawings[] = {"2\r\n0 1 1\r\n3 4 4\r\n", "1\r\n0 7 7\r\n"};
        QVERIFY(putFile(folder + "/111", drawings[0]) && putFile(folder + "/112", drawings[1]));
        QVERIFY(putFile(old.dirPath() + "/victim.txt", "not a drawing"));
        QVERIFY(QFile::link(old.dirPath() + "/victim.txt", folder + "/114") && putFile(folder + "/115", ""));

        std::optional<OpenStudy> opened(path);
        const QString notes = opened->notes.join('\n');
        const QString backup = old.dirPath() + "/lab.before-version-4.sqlite";
        QVERIFY2(notes.contains(backup) && notes.contains("2 drawings were copied") &&
                     notes.contains("113 (stimulus 3: it does not exist)") &&
                     notes.contains("114 (stimulus 6: it is a symbolic link") &&
                     notes.contains("115 (stimulus 7: it is empty)") && notes.contains("../victim.txt"),
                 qPrintable(notes));
        QCOMPARE(opened->read("SELECT stimulus_id, points FROM drawing ORDER BY 1"),
                 "1|" + drawings[0] + "\n2|" + drawings[1]);
        opened.reset();
        QCOMPARE(folderEntries(folder), QStringList({"111", "112", "114", "115"}));
        QCOMPARE(fileBytes(old.dirPath() + "/victim.txt"), "not a drawing");

        // The backup is the study as it was; opening again brings nothing more up to date.
        QCOMPARE(readSqliteFile(backup,
                                {"SELECT count(*), (SELECT name FROM sqlite_master WHERE name = 'drawing') "
                                 "FROM estimulo",
                                 "PRAGMA user_version"}),
                 "7|<null>0");
        QVERIFY(OpenStudy(path).notes.isEmpty());
        QCOMPARE(Study::drawingDirectory("/lab/v1.2/tms.sqlite"), "/lab/v1.2/tms_puntos");
    }

    // export-drawings wants a new or empty folder and writes nothing through a link: a folder that is
    // a link (to an empty folder outside) or holds one is refused, and outside stays as it was.
    void exportOfDrawingsNeverWritesThroughALink_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder is a link") << u"link"_s << u"symbolic link"_s;
        QTest::newRow("folder holds a link") << u"holds"_s << u"not empty"_s;
    }
    void exportOfDrawingsNeverWritesThroughALink() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addPoint(1, 1, 1, 0, 0, 1);
        study.addStimulus(1, 1, 1, 0, "111");
        StudyDrawings::store(study.db(), 1, "1\r\n0 7 7\r\n");
        study.release();
        QTemporaryDir outside;
        const QString out = study.dirPath() + "/drawings";
        if (kind == "holds") {
            QVERIFY(QDir().mkpath(out) && QFile::link(outside.filePath("111"), out + "/111"));
        } else {
            QVERIFY(QFile::link(outside.path(), out));
        }
        QString said;
        QCOMPARE(runProgram(QString(), {"export-drawings", study.path(), out}, &said), 1);
        QVERIFY2(said.contains("Cannot export into " + out + ": ") && said.contains(reason),
                 qPrintable(said));
        QCOMPARE(folderEntries(outside.path()), QStringList());
        QCOMPARE(folderEntries(study.dirPath()), QStringList({"drawings", "study.sqlite"}));
        // Into a new folder the drawing is written.
        QCOMPARE(runProgram(QString(), {"export-drawings", study.path(), out + "2"}, &said), 0);
        QCOMPARE(fileBytes(out + "2/111"), "1\r\n0 7 7\r\n");
    }

    // A migration killed at any point leaves the study whole and no broken backup under a real name;
    // the next open brings it up to date and clears what the killed one left. Half the writers are
    // killed as soon as their backup has begun, the others after a delay that grows: some kills land
    // while the migration runs (the study still of version 0, its backup begun).
    void aKilledMigrationLeavesNoBrokenBackup() {
        QTemporaryDir dir;
        int midMigration = 0;
        for (int attempt = 0; attempt < 12; ++attempt) {
            const QString path = dir.filePath(QStringLiteral("k%1.sqlite").arg(attempt));
            const QString base =
                QStringLiteral("k%1.before-version-%2").arg(attempt).arg(Study::CurrentVersion);
            Study::create(path);
            {
                OpenStudy study(path);
                QVERIFY(makeEarlierVersion(study.db, 0) &&
                        QSqlQuery(study.db).exec(
                            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                            "INSERT INTO estimulo (id, archivopuntos, observaciones) "
                            "SELECT i, 'd' || i, printf('%.300c', 'x') FROM n"));
            }
            for (int id = 1; id <= 3000; id += 10) {
                QVERIFY(putFile(Study::drawingDirectory(path) + QStringLiteral("/d%1").arg(id),
                                "1\r\n0 1 1\r\n"));
            }
            const auto begun = [&] {
                return !QDir(dir.path())
                            .entryList({base + "*", "." + base + "*"}, QDir::Files | QDir::Hidden)
                            .isEmpty();
            };
            QProcess holder;
            holder.start(QCoreApplication::applicationFilePath(), {"--hold", path});
            QVERIFY(holder.waitForStarted());
            if (attempt % 2 == 0) {
                while (!begun() && holder.bytesAvailable() == 0 && holder.state() == QProcess::Running) {
                    holder.waitForReadyRead(1);
                }
            } else {
                QThread::msleep(5 + 15 * attempt);
            }
            holder.kill();
            holder.waitForFinished();
            midMigration += begun() && readSqliteFile(path, {"PRAGMA user_version"}) == "0" ? 1 : 0;

            QCOMPARE(OpenStudy(path).read("SELECT count(*) FROM drawing"), "300");
            const QStringList backups = QDir(dir.path()).entryList({base + "*.sqlite"}, QDir::Files);
            QVERIFY2(backups.contains(base + ".sqlite"), qPrintable(backups.join(' ')));
            for (const QString &backup : backups) {
                QCOMPARE(readSqliteFile(dir.filePath(backup),
                                        {"PRAGMA integrity_check", "SELECT count(*) FROM estimulo"}),
                         "ok3000");
            }
        }
        QVERIFY2(midMigration > 0, "no kill landed while a migration ran");
        QCOMPARE(QDir(dir.path())
                     .entryList({".*"}, QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList());
    }

    // A study of version 1 holds the subject's age, height and weight as typed, and has no table of
    // MR calibrations: opening it writes a backup of it as it was, gains the tables, and text with a
    // decimal comma becomes the number the subject form reads in it; any other text stays as it was
    // (which text is a number: tst_legacy_import's enteredValues...).
    void aVersion1StudyIsBroughtUpToDateAfterABackup_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored"); // typeof|value after the migration
        QTest::newRow("height 1,63") << u"Altura"_s << u"1,63"_s << u"real|1.63"_s;
        QTest::newRow("age unknown") << u"Edad"_s << u"unknown"_s << u"text|unknown"_s;
    }
    void aVersion1StudyIsBroughtUpToDateAfterABackup() {
        QFETCH(QString, column);
        QFETCH(QString, typed);
        StudyFixture old("lab.sqlite");
        QVERIFY(makeEarlierVersion(old.db(), 1));
        old.addSubject(1, "Ana");
        old.exec(QStringLiteral("UPDATE paciente SET %1 = ?").arg(column), {typed});
        old.release();
        const QString backup = old.dirPath() + "/lab.before-version-4.sqlite";
        {
            OpenStudy opened(old.path());
            QTEST(opened.read(QStringLiteral("SELECT typeof(%1), %1 FROM paciente").arg(column)), "stored");
            QCOMPARE(opened.read("SELECT (SELECT Nombre FROM paciente), count(*) FROM mr_calibration") +
                         opened.read("PRAGMA user_version"),
                     "Ana|04");
            QVERIFY2(opened.notes.join('\n').contains(backup), qPrintable(opened.notes.join('\n')));
        }
        QCOMPARE(readSqliteFile(backup, {QStringLiteral("SELECT %1 FROM paciente").arg(column),
                                         "SELECT count(*) FROM sqlite_master WHERE name = 'mr_calibration'",
                                         "PRAGMA user_version"}),
                 typed + "01");
    }

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

    // (What a killed backup left is cleared: rollingBackupsSharingAFolderKeepToThemselves.)
    void rollingBackupKeepsOneADayAndTheLastSeven() {
        StudyFixture study("lab.sqlite");
        const QString folder = study.dirPath() + "/backups";
        const QDate first(2026, 3, 1);
        const QString id = StudyBackup::identity(study.db());
        const auto named = [&](int day) {
            return StudyBackup::rollingName(study.path(), id, first.addDays(day));
        };
        QCOMPARE(named(0), "lab-2026-03-01-" + id.left(8) + ".sqlite");
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
    }

    // Studies whose rolling backups share one folder: names that are glob patterns of each other, and
    // the same name in two folders (one a copy of the other). Each keeps its own last two, clears its own
    // leftovers and never touches the other's.
    void rollingBackupsSharingAFolderKeepToThemselves_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("lab [12] and lab 2") << u"a/lab [12].sqlite"_s << u"a/lab 2.sqlite"_s;
        // The same name in another folder; a plain copy of the file (made outside the program) carries
        // the identity: it gets its own.
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

    // An identity the program would not have made (not hex digits: a NUL in it would name another
    // file; more than one row) is replaced, saying so, and then kept.
    void aStoredIdentityThatIsNotOneIsReplaced_data() {
        QTest::addColumn<QString>("rows"); // the study_identity rows, as SQL values
        QTest::newRow("a NUL inside") << u"('ab' || char(0) || 'cdef01')"_s;
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
    // owner reads (every backup, rolling or before a migration, is written by StudyBackup::write).
    void backupHasTheStudysPermissions() {
        StudyFixture study("lab.sqlite");
        QVERIFY(QFile::setPermissions(study.path(), QFile::ReadOwner | QFile::WriteOwner));
        StudyBackup::write(study.db(), study.dirPath() + "/copy.sqlite");
        struct stat status;
        QVERIFY(::stat(QFile::encodeName(study.dirPath() + "/copy.sqlite").constData(), &status) == 0);
        QCOMPARE(status.st_mode & 0777, 0600u);
    }

    // `backup` never writes over the study itself (by any name: one test of the file's identity, here
    // through a hard link) or another file: refused, saying why, with both files as they were; onto one
    // of the study's own backups it writes.
    void toolRefusesADestinationThatIsNotItsOwnBackup_data() {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("reason");
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
        QVERIFY(QFile::link(dir + "nowhere", dir + "dangling.sqlite") &&
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
        StudyFixture study; // about 200 kB of stimuli, more than the disk holds
        study.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                   "INSERT INTO estimulo (id, observaciones) SELECT i, printf('%.2000c', 'x') FROM n");
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
    }

    // Given a folder, `backup` writes the day's rolling backup into it.
    void toolBacksUpIntoAFolder() {
        StudyFixture study("lab.sqlite");
        study.addSubject(1, "Ana");
        const QString id = StudyBackup::identity(study.db());
        study.release();
        const QDate day = QDate::currentDate();
        QCOMPARE(runProgram(QString(), {"backup", study.path(), study.dirPath()}), 0);
        // The tool names the backup by its own day, which a run across midnight sees as the next.
        QString name = StudyBackup::rollingName(study.path(), id, day);
        if (!QFileInfo::exists(study.dirPath() + '/' + name)) {
            name = StudyBackup::rollingName(study.path(), id, day.addDays(1));
        }
        QCOMPARE(OpenStudy(study.dirPath() + '/' + name).read("SELECT Nombre FROM paciente"), "Ana");
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    // Holder mode: opens the study, says whether it could, and keeps it until a line comes in.
    if (argc == 3 && std::strcmp(argv[1], "--hold") == 0) {
        Study::Opened opened = Study::open(QString::fromLocal8Bit(argv[2]));
        std::cout << (opened.ok() ? "held" : qPrintable(opened.error)) << std::endl;
        std::string line;
        std::getline(std::cin, line);
        Study::close(opened.db);
        return 0;
    }
    StudyFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_study_files.moc"
