#include "core/AppState.h"
#include "data/StudyError.h"
#include "data/StudyState.h"
#include "drawings/DrawingShape.h"
#include "results/ExportStudyWindow.h"
#include "results/PhospheneMap.h"
#include "results/PhospheneMapWindow.h"
#include "results/StudyExport.h"
#include "subjects/elegirpaciente.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/StudyFixture.h"
#include "support/Widgets.h"
#include "tools/DemoStudy.h"

namespace {

// The map's counts on the map's conditions: no bound but the intensity's, any list entry but the coil's.
PhospheneMap::Counts countOf(const QSqlDatabase &db, int coil, const QStringList &intensity,
                             const QList<int> &subjects) {
    StimulationComparison::Conditions conditions;
    conditions.openBounds = true;
    conditions.bounds.fill(QString());
    conditions.coil = coil;
    conditions.bounds[StimulationComparison::IntensityFrom] = intensity.value(0);
    conditions.bounds[StimulationComparison::IntensityTo] = intensity.value(1);
    return PhospheneMap::count(db, {StimulationComparison::buildFilter(conditions), subjects});
}

} // namespace

// The results of a study: the phosphene map against a count of its own, the exports read back (the
// stimuli by Python's csv module), and the windows' and the tool's wiring.
class TestResults : public QObject {
    Q_OBJECT

#ifdef ZK_SANITIZED
    static constexpr int LargeStimuli = 20000; // the sanitizers make every row costly
#else
    static constexpr int LargeStimuli = 100000;
#endif
    QTemporaryDir m_dir;
    QString m_demo;
    QString m_large;

private slots:
    void initTestCase() {
        m_demo = DemoStudy::create(m_dir.filePath(QStringLiteral("demo")));
        m_large = m_dir.filePath(QStringLiteral("large.sqlite"));
        DemoStudy::createLarge(m_large, 50, LargeStimuli);
    }

    void mapCountsEqualAPlainCountPerCell_data() {
        QTest::addColumn<int>("coil");              // -1: any
        QTest::addColumn<QStringList>("intensity"); // the two bound boxes
        QTest::addColumn<QList<int>>("subjects");   // empty: all
        QTest::addColumn<QString>("sql");           // the same conditions in SQL
        QTest::newRow("everything") << -1 << QStringList{"", ""} << QList<int>() << "1 = 1";
        QTest::newRow("Cadwell coils at 30-80 %, three subjects")
            << 3 << QStringList{"30", "80"} << QList<int>{1, 2, 10}
            << "e.TipoBobina = 3 AND e.PulsoIntensidad BETWEEN 30 AND 80 AND p.Id_paciente IN (1, 2, 10)";
        QTest::newRow("one subject, at least 50 %") << -1 << QStringList{"50", ""} << QList<int>{17}
                                                    << "e.PulsoIntensidad >= 50 AND p.Id_paciente = 17";
    }

    void mapCountsEqualAPlainCountPerCell() {
        QFETCH(int, coil);
        QFETCH(QStringList, intensity);
        QFETCH(QList<int>, subjects);
        QFETCH(QString, sql);
        OpenStudy study(m_large);
        const PhospheneMap::Counts counts = countOf(study.db, coil, intensity, subjects);
        // The same count written out in SQL: the point placed by its subject's centre, a Cadwell coil
        // moving it one cell towards its orientation; compared through the map's CSV.
        const QString rows = study.read(
            "SELECT cell, COUNT(*), SUM(hayfosfeno IS 0), SUM(hayfosfeno IS 1), SUM(hayfosfeno IS 2) FROM "
            "(SELECT "
            "10 * (p.fila + s.FilaCentro) + p.columna + s.ColumnaCentro + CASE WHEN e.TipoBobina <> 3 THEN 0 "
            "WHEN "
            "e.orientacion = 0 THEN 1 WHEN e.orientacion = 1 THEN -1 WHEN e.orientacion = 2 THEN 10 WHEN "
            "e.orientacion = 3 THEN -10 ELSE 0 END AS cell, e.hayfosfeno FROM estimulo e JOIN "
            "puntoestimulacion p "
            "ON p.ID = e.id_puntoestimulo JOIN paciente s ON s.ID = p.Id_paciente WHERE p.fila + "
            "s.FilaCentro "
            "BETWEEN 0 AND 4 AND p.columna + s.ColumnaCentro BETWEEN 0 AND 9 AND " +
            sql + ") AS moved WHERE cell BETWEEN 0 AND 49 GROUP BY cell");
        QStringList lines;
        for (int cell = 0; cell < 50; ++cell) {
            lines << QString::number(cell) + ",0,0,0,0,\n";
        }
        for (const QString &row : rows.split('\n', Qt::SkipEmptyParts)) {
            const QStringList v = row.split('|');
            lines[v[0].toInt()] =
                v.join(',') + ',' + QString::number(v[2].toDouble() / v[1].toInt(), 'f', 4) + '\n';
        }
        QVERIFY(counts.total() > 0);
        QCOMPARE(QString(PhospheneMap::csv(counts)), "cell,stimuli,yes,no,doubt,rate\n" + lines.join(""));
    }

    // On the large study, whose 50 subjects give every kind of value the export writes.
    void stimuliTsvReadsBackInPythonValueForValue() {
        const QString out = m_dir.filePath("tsv-large");
        {
            OpenStudy study(m_large);
            QCOMPARE(StudyExport::run(study.db, out, StudyExport::Format::Tsv).stimuli,
                     study.read("SELECT COUNT(*) FROM estimulo").toLongLong());
        }
        QString said;
        QVERIFY2(runProgram("python3",
                            {QFINDTESTDATA("check_stimuli_tsv.py"), out + "/stimuli.tsv", m_large, "100"},
                            &said) == 0,
                 qPrintable(said));
    }

    void nibsBidsDatasetHoldsEveryStimulusAndDrawing() {
        const QString out = m_dir.filePath(QStringLiteral("bids"));
        OpenStudy study(m_demo);
        StudyExport::run(study.db, out, StudyExport::Format::NibsBids);
        // Shared datasets carry no names.
        const QByteArray participants = fileBytes(out + "/participants.tsv");
        QVERIFY(participants.contains("sub-2\t51") && !participants.contains("Ana"));

        int rows = 0, drawings = 0;
        for (const QString &subject : QDir(out).entryList({"sub-*"}, QDir::Dirs)) {
            const QString stem = out + "/" + subject + "/nibs/" + subject + "_task-phosphene";
            const QList<QByteArray> lines = fileBytes(stem + "_nibs.tsv").trimmed().split('\n');
            const QList<QByteArray> columns = lines.first().split('\t');
            const int fileColumn = int(columns.indexOf("drawing_file"));
            for (const QByteArray &line : lines.mid(1)) {
                const QList<QByteArray> fields = line.split('\t');
                QCOMPARE(fields.size(), columns.size());
                ++rows;
                if (fields[fileColumn] != "n/a") {
                    const QString file =
                        out + "/" + subject + "/nibs/" + QString::fromLatin1(fields[fileColumn]);
                    const QString id = QFileInfo(file).baseName().section('-', 1);
                    QCOMPARE(fileBytes(file),
                             study.read("SELECT points FROM drawing WHERE stimulus_id = " + id).toLatin1());
                    ++drawings;
                }
            }
        }
        QCOMPARE(QString("%1|%2").arg(rows).arg(drawings),
                 study.read("SELECT COUNT(*), (SELECT COUNT(*) FROM drawing) FROM estimulo"));
    }

    // A refused or stopped export leaves nothing, and what a killed one left is cleared.
    void refusedOrStoppedExportLeavesNothing() {
        OpenStudy study(m_large);
        QTemporaryDir parent;
        QProcess gone;
        gone.start("sleep", {"0.05"});
        QVERIFY(gone.waitForStarted());
        QVERIFY(putFile(parent.filePath(".old.exporting-%1/stimuli.tsv").arg(gone.processId()), "half"));
        QVERIFY(gone.waitForFinished());
        const QString full = parent.filePath("full");
        QVERIFY(putFile(full + "/notes.txt", "mine"));
        QVERIFY_THROWS_EXCEPTION(StudyError, StudyExport::run(study.db, full, StudyExport::Format::Tsv));
        QCOMPARE(folderEntries(full), QStringList{"notes.txt"});

        const QString stopped = parent.filePath("stopped");
        try {
            StudyExport::run(study.db, stopped, StudyExport::Format::NibsBids,
                             [](qint64 done, qint64) { return done < 3000; });
            QFAIL("the stopped export went on");
        } catch (const StudyError &e) {
            QCOMPARE(e.message(), QStringLiteral("The export was stopped"));
        }
        QCOMPARE(folderEntries(parent.path()), QStringList{"full"});
    }

    // What a TSV reader would split or lose: a NUL is escaped like the other control characters; text
    // that is not valid UTF-8 stops the export, naming it, before anything is written.
    void exportEscapesANulAndRefusesInvalidText_data() {
        QTest::addColumn<QString>("name");    // SQL giving the subject's name
        QTest::addColumn<QString>("written"); // the start of the subject's row; empty when refused
        QTest::addColumn<QString>("refused");
        QTest::newRow("NUL") << "CAST(x'410042' AS TEXT)"
                             << "1\tA\\0B\t" << QString();
        QTest::newRow("invalid UTF-8")
            << "CAST(x'41FF42' AS TEXT)" << QString()
            << "Cannot export the study: in the table paciente, row ID 1, column Nombre, the text "
               "\"A\\xFFB\" is not valid UTF-8.";
    }
    void exportEscapesANulAndRefusesInvalidText() {
        QFETCH(QString, name);
        QFETCH(QString, written);
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.exec("UPDATE paciente SET Nombre = " + name);
        const QString out = study.dirPath() + "/out";
        try {
            StudyExport::run(study.db(), out, StudyExport::Format::Tsv);
            QVERIFY(!written.isEmpty());
        } catch (const StudyError &e) {
            QTEST(e.message(), "refused");
        }
        QCOMPARE(
            QString::fromUtf8(fileBytes(out + "/subjects.tsv").split('\n').value(1)).left(written.size()),
            written);
        QCOMPARE(QFile::exists(out), !written.isEmpty());
    }

    void drawingFiguresOfKnownShapes_data() {
        QTest::addColumn<QList<DrawingFile::PointRecord>>("records");
        QTest::addColumn<int>("strokes");
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<QRect>("bounds"); // left, top, right, bottom as a rectangle's corners
        QTest::addColumn<double>("area");  // expected within a quarter unit
        using R = DrawingFile::PointRecord;
        // A square outline of side 4: its inside and the line around it, half a unit each side.
        QTest::newRow("closed square") << QList<R>{{0, 2, 2}, {1, 6, 2}, {1, 6, 6}, {1, 2, 6}, {3, 2, 2}} << 1
                                       << QPointF(3.6, 3.6) << QRect(QPoint(2, 2), QPoint(6, 6)) << 24.8;
        // A first record that continues a stroke starts one from (0, 0), as the lines display draws it.
        QTest::newRow("two strokes, the first from the origin")
            << QList<R>{{1, 0, 4}, {0, 8, 8}, {3, 12, 8}} << 2 << QPointF(20 / 3.0, 20 / 3.0)
            << QRect(QPoint(0, 4), QPoint(12, 8)) << 2.4 + 4.6;
    }

    void drawingFiguresOfKnownShapes() {
        QFETCH(QList<DrawingFile::PointRecord>, records);
        const DrawingShape::Figures f = DrawingShape::measure(records);
        QTEST(f.strokes, "strokes");
        QTEST(QPointF(f.centreX, f.centreY), "centre");
        QTEST(QRect(QPoint(f.left, f.top), QPoint(f.right, f.bottom)), "bounds");
        QFETCH(double, area);
        QVERIFY2(qAbs(f.area - area) <= 0.25, qPrintable(QString::number(f.area)));
    }

    void mapWindowRecountsChoosesCellsAndSaves() {
        MessageLog messages;
        AppState state;
        QCOMPARE(AbreBaseDatos(state, m_demo), QString());
        PhospheneMapWindow w(state, LlenaListaPacientes);
        w.resize(1280, 660);
        QCOMPARE(w.counts().total(), 13);

        // A list change recounts; a bound that is not a number stops the map and its saving.
        auto *coil = child<QComboBox>(&w, "coilList");
        coil->setCurrentIndex(coil->findText("Magstim Redonda"));
        QCOMPARE(w.counts().total(),
                 queryText(state.BaseDatos, "SELECT COUNT(*) FROM estimulo WHERE TipoBobina = 2").toInt());
        auto *from = child<QLineEdit>(&w, "pulsesFrom");
        from->setText("many");
        emit from->editingFinished();
        QVERIFY(child<QLabel>(&w, "warningLabel")->text().contains("\"many\" is not a whole number"));
        QVERIFY(!child<QPushButton>(&w, "saveNumbersButton")->isEnabled());
        from->clear();
        emit from->editingFinished();
        coil->setCurrentIndex(0);

        // Mouse and keys choose the cell; the density follows it.
        auto *map = child<QLabel>(&w, "mapPicture");
        const PhospheneMap::MapGeometry g = PhospheneMap::mapGeometry(map->contentsRect().size());
        QTest::mouseClick(map, Qt::LeftButton, {}, g.cellRect(15).center().toPoint());
        QCOMPARE(w.density().drawings, 3);
        QTest::keyClick(map, Qt::Key_Up);
        QCOMPARE(w.cell(), 25);

        QTemporaryDir dir;
        QVERIFY(w.saveNumbers(dir.filePath("map.csv")));
        QVERIFY(!w.saveDensity(dir.filePath("missing/folder/density.png")));
        QVERIFY(messages.size() == 1 && messages[0].text.startsWith("Cannot write "));
    }

    void exportWindowWritesOnceAndRefusesAFullFolder() {
        MessageLog messages;
        OpenStudy study(m_demo);
        QTemporaryDir dir;
        ExportStudyWindow w(study.db);
        QVERIFY(child<QLineEdit>(&w, "folderEdit")->text().endsWith("demo-export"));
        child<QLineEdit>(&w, "folderEdit")->setText(dir.filePath("out"));
        QVERIFY(w.exportStudy());
        QVERIFY(QFile::exists(dir.filePath("out/stimuli.tsv")) && messages.isEmpty());
        QVERIFY(child<QLabel>(&w, "statusLabel")->text().startsWith("Exported 13 stimuli"));
        QVERIFY(!w.exportStudy());
        QVERIFY(messages.size() == 1 && messages[0].text.contains("the folder is not empty"));
    }

    void mapAndExportCommands() {
        QTemporaryDir dir;
        QString said;
        QCOMPARE(runProgram(QString(),
                            {"map", m_demo, "--csv", dir.filePath("map.csv"), "--coil", "magstim en ocho",
                             "--subjects", "1,3"},
                            &said),
                 0);
        QCOMPARE(fileBytes(dir.filePath("map.csv")),
                 PhospheneMap::csv(countOf(OpenStudy(m_demo).db, 1, {}, {1, 3})));
        QCOMPARE(
            runProgram(QString(), {"map", m_demo, "--csv", dir.filePath("x.csv"), "--coil", "bent"}, &said),
            2);
        QVERIFY(said.contains("--coil takes one of"));
        QCOMPARE(runProgram({}, {"export", m_demo, dir.filePath("e"), "--format", "xls"}), 2);
        QCOMPARE(runProgram({}, {"export", m_demo, dir.filePath("e"), "--format", "nibs-bids"}), 0);
    }
};

QTEST_MAIN(TestResults)
#include "tst_results.moc"
