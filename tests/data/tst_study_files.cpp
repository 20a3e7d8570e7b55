// Creating and opening study files: the schema, refusals that change nothing, and the lock that
// keeps a second program out while a study is open.

#include "support/StudyFixture.h"

#include "data/Study.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <iostream>

namespace {

QByteArray digest(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Runs this test program again as a second process that holds or tries to open a study.
QProcess *startSelf(const QString &mode, const QString &path) {
    auto *process = new QProcess;
    process->start(QCoreApplication::applicationFilePath(), {mode, path});
    return process;
}

} // namespace

class StudyFiles : public QObject {
    Q_OBJECT

private slots:
    void newStudyHasTheThreeTablesAndItsIndexes() {
        StudyFixture study;
        QVERIFY(Study::missingTables(study.db()).isEmpty());
        QSqlQuery query(study.db());
        QVERIFY(
            query.exec("SELECT tbl_name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL"));
        QStringList indexed;
        while (query.next()) {
            indexed << query.value(0).toString() + ":" +
                           query.value(1).toString().section('(', 1).remove(' ');
        }
        indexed.sort();
        QCOMPARE(indexed,
                 QStringList({"estimulo:id_puntoestimulo)", "puntoestimulacion:Id_paciente,Numero)"}));
    }

    void columnsKeepTheirRanges() {
        StudyFixture study;
        QSqlQuery query(study.db());
        // A 16-bit column refuses what a 16-bit field could not hold, and text in a number column.
        QVERIFY(!query.exec("INSERT INTO puntoestimulacion (ID, fila) VALUES (1, 40000)"));
        QVERIFY(!query.exec("INSERT INTO estimulo (id, TipoBobina) VALUES (1, 256)"));
        QVERIFY(!query.exec("INSERT INTO estimulo (id, intensidad) VALUES (1, 'bright')"));
        QVERIFY(query.exec("INSERT INTO puntoestimulacion (ID, fila, columna) VALUES (1, -32768, 32767)"));
        QVERIFY(!query.exec("INSERT INTO puntoestimulacion (ID) VALUES (1)")); // identifiers are unique
    }

    void newStudyNeverOverwritesAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("existing.sqlite");
        writeFile(path, "keep me");
        QVERIFY_THROWS_EXCEPTION(StudyError, Study::create(path));
        QCOMPARE(digest(path), QCryptographicHash::hash("keep me", QCryptographicHash::Sha256));
        QVERIFY_THROWS_EXCEPTION(StudyError, Study::create(dir.filePath("no/such/folder/s.sqlite")));
        QVERIFY(!QFile::exists(dir.filePath("no")));
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
            writeFile(dir.filePath(name), "");
        }
        Study::create(dir.filePath("lab.sqlite"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({".lab.sqlite.creating-" + alive, "lab.sqlite"}));
    }

    void refusedOpenSaysWhyAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QByteArray() << "does not exist";
        QTest::newRow("empty file") << QByteArray("") << "empty";
        QTest::newRow("text file") << QByteArray("Nombre;Apellido1\nAna;Ruiz\n") << "not an SQLite";
        QTest::newRow("access file") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24)
                                     << "legacy Access";
    }
    void refusedOpenSaysWhyAndChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("study.sqlite");
        if (!content.isNull()) {
            writeFile(path, content);
        }
        const QByteArray before = digest(path);
        const Study::Opened opened = Study::open(path);
        QVERIFY(!opened.ok());
        QVERIFY2(opened.error.contains(reason), qPrintable(opened.error));
        QVERIFY(!opened.db.isValid());
        QCOMPARE(digest(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), content.isNull() ? 0 : 1);
        QCOMPARE(QFileInfo(path).size(), content.size());
    }

    void sqliteFileWithoutTheTablesNamesWhatIsMissing() {
        QTemporaryDir dir;
        const QString path = dir.filePath("other.sqlite");
        {
            StudyFixture donor; // any SQLite file: take a study and drop two tables
            donor.exec("DROP TABLE estimulo");
            donor.exec("DROP TABLE puntoestimulacion");
            donor.release();
            QVERIFY(QFile::copy(donor.path(), path));
        }
        const Study::Opened opened = Study::open(path);
        QVERIFY(!opened.ok());
        QVERIFY2(opened.error.contains("puntoestimulacion") && opened.error.contains("estimulo") &&
                     !opened.error.contains("paciente,"),
                 qPrintable(opened.error));
        QCOMPARE(QSqlDatabase::connectionNames().size(), 0);
    }

    void tableNamesMatchInAnyCase() {
        QTemporaryDir dir;
        const QString path = dir.filePath("upper.sqlite");
        {
            StudyFixture donor;
            donor.exec("ALTER TABLE paciente RENAME TO Paciente_tmp");
            donor.exec("ALTER TABLE Paciente_tmp RENAME TO PACIENTE");
            donor.release();
            QVERIFY(QFile::copy(donor.path(), path));
        }
        Study::Opened opened = Study::open(path);
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        Study::close(opened.db);
    }

    void secondProgramIsRefusedWhileAStudyIsOpen() {
        StudyFixture study;
        // Another process of ours.
        QScopedPointer<QProcess> other(startSelf("--try-open", study.path()));
        QVERIFY(other->waitForFinished(10000));
        QCOMPARE(other->exitCode(), 0);
        QVERIFY2(other->readAllStandardOutput().contains("in use by another program"), "wrong refusal");
        // Any other SQLite client.
        const QString sqlite3 = QStandardPaths::findExecutable("sqlite3");
        if (sqlite3.isEmpty()) {
            QSKIP("the sqlite3 client is not installed");
        }
        QProcess client;
        client.start(sqlite3, {study.path(), "SELECT count(*) FROM paciente;"});
        QVERIFY(client.waitForFinished(10000));
        QVERIFY(client.exitCode() != 0);
        QVERIFY(client.readAllStandardError().contains("locked"));
    }

    void studyHeldByAnotherProcessIsRefusedHereUntilReleased() {
        StudyFixture study;
        study.release();
        QScopedPointer<QProcess> holder(startSelf("--hold", study.path()));
        QVERIFY(holder->waitForReadyRead(10000));
        QCOMPARE(holder->readLine().trimmed(), QByteArray("held"));
        Study::Opened refused = Study::open(study.path());
        QVERIFY(!refused.ok());
        QVERIFY(refused.error.contains("in use by another program"));
        holder->write("\n");
        QVERIFY(holder->waitForFinished(10000));
        Study::Opened opened = Study::open(study.path());
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        Study::close(opened.db);
    }

    // A study of the version that kept drawings as files beside it: opening it writes a backup copy,
    // copies in the drawings its rows name (a name that leads outside the folder is refused, a
    // missing file reported), leaves the folder as it was, and an export gives the same files back.
    void aStudyOfTheEarlierVersionIsBroughtUpToDateOnce() {
        QTemporaryDir dir;
        const QString path = dir.filePath("lab.sqlite");
        {
            StudyFixture old(QStringLiteral("lab.sqlite"));
            old.exec("DROP TABLE drawing");
            old.exec("PRAGMA user_version = 0");
            old.addSubject(1, "Ana");
            old.addPoint(1, 1, 1, 0, 0, 1);
            int id = 0;
            for (const char *name : {"111", "p\\112", "113", "../victim.txt", ""}) {
                old.addStimulus(++id, 1, 1, 0, QString::fromLatin1(name));
            }
            old.release();
            QVERIFY(QFile::copy(old.path(), path));
        }
        const QString folder = Study::drawingDirectory(path);
        QVERIFY(QDir().mkpath(folder));
        writeFile(folder + "/111", "2\r\n0 1 1\r\n3 4 4\r\n");
        writeFile(folder + "/112", "1\r\n0 7 7\r\n");
        writeFile(dir.filePath("victim.txt"), "not a drawing");
        const QByteArray folderBefore = digest(folder + "/111") + digest(folder + "/112");

        Study::Opened opened = Study::open(path);
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        const QString notes = opened.notes.join('\n');
        const QString backup = dir.filePath("lab.before-version-1.sqlite");
        QVERIFY2(notes.contains(backup) && notes.contains("2 drawings were copied") &&
                     notes.contains("113 (stimulus 3)") && notes.contains("../victim.txt"),
                 qPrintable(notes));
        QSqlQuery query(opened.db);
        QVERIFY(query.exec("SELECT group_concat(stimulus_id) FROM drawing") && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("1,2"));
        query.finish();
        QTemporaryDir exported;
        const StudyDrawings::ExportReport report = StudyDrawings::exportToFolder(opened.db, exported.path());
        QCOMPARE(report.written, 2);
        QCOMPARE(digest(exported.filePath("111")) + digest(exported.filePath("112")), folderBefore);
        Study::close(opened.db);
        QCOMPARE(digest(folder + "/111") + digest(folder + "/112"), folderBefore);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);

        // The backup is the study as it was; opening again brings nothing more up to date.
        {
            QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "backup");
            copy.setDatabaseName(backup);
            QVERIFY(copy.open());
            QSqlQuery version(copy);
            QVERIFY(version.exec("PRAGMA user_version") && version.next());
            QCOMPARE(version.value(0).toInt(), 0);
            QVERIFY(!copy.tables().contains("drawing"));
        }
        QSqlDatabase::removeDatabase("backup");
        opened = Study::open(path);
        QVERIFY(opened.ok() && opened.notes.isEmpty());
        Study::close(opened.db);
        QCOMPARE(QDir(dir.path()).entryList({"*.sqlite"}, QDir::Files).size(), 2);
    }

    void drawingDirectoryIsBesideTheStudy() {
        QCOMPARE(Study::drawingDirectory("/lab/tms.sqlite"), QStringLiteral("/lab/tms_puntos"));
        QCOMPARE(Study::drawingDirectory("/lab/v1.2/tms.sqlite"), QStringLiteral("/lab/v1.2/tms_puntos"));
    }
};

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--try-open") == 0) {
        Study::Opened opened = Study::open(QString::fromLocal8Bit(argv[2]));
        std::cout << (opened.ok() ? "opened" : qPrintable(opened.error)) << std::endl;
        return opened.ok() ? 1 : 0;
    }
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
