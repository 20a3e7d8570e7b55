// Creating and opening study files: the schema, refusals that change nothing, and the lock that
// keeps a second program out while a study is open.

#include "StudyFixture.h"

#include "Study.h"
#include "StudyError.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
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

    void refusedOpenSaysWhyAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QByteArray() << "does not exist";
        QTest::newRow("text file") << QByteArray("Nombre;Apellido1\nAna;Ruiz\n") << "not an SQLite";
        QTest::newRow("access file") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00", 24)
                                     << "legacy Access";
    }
    void refusedOpenSaysWhyAndChangesNothing() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath("study.sqlite");
        if (!content.isEmpty()) {
            writeFile(path, content);
        }
        const QByteArray before = digest(path);
        const Study::Opened opened = Study::open(path);
        QVERIFY(!opened.ok());
        QVERIFY2(opened.error.contains(reason), qPrintable(opened.error));
        QVERIFY(!opened.db.isValid());
        QCOMPARE(digest(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), content.isEmpty() ? 0 : 1);
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
