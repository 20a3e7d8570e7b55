// The experiment viewer and editor: what it shows for an experiment and a cell, what view mode
// locks, the checks and confirmations before a correction, the rows and columns each correction
// writes, opening from the main window, and a legacy study viewed after its import.

#include "StudyFixture.h"

#include "AppState.h"
#include "DrawingView.h"
#include "EGrid.h"
#include "FVerEstimulo.h"
#include "LegacyImport.h"
#include "MainWindow.h"
#include "Messages.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

class ExperimentReviewTest : public QObject {
    Q_OBJECT

private:
    QList<Messages::Shown> m_messages;
    bool m_answer = true;
    std::unique_ptr<StudyFixture> m_study;
    std::unique_ptr<AppState> m_state;

    // Subject 1 (centre row 1, column 4) with points at cells 14 (id 1) and 25 (id 2); subject 2
    // with a point at cell 14 (id 3). Stimuli: 10 at point 1 in experiment 1, 11 at point 1 in
    // experiment 2, 12 at point 2 in experiment 1, 13 at subject 2's point in experiment 1.
    void openStudy() {
        m_study = std::make_unique<StudyFixture>();
        m_study->addSubject(1, "Ana");
        m_study->addSubject(2, "Luis");
        m_study->addPoint(1, 1, 1, 0, 0, 2);
        m_study->addPoint(2, 2, 1, 1, 1, 1);
        m_study->addPoint(3, 1, 2, 0, 0, 1);
        const QString insert = QStringLiteral(
            "INSERT INTO estimulo (id, id_puntoestimulo, pasada, color, intensidad, hayfosfeno, "
            "observaciones, "
            "archivopuntos, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, PulsoFrecuencia, "
            "PulsoIntensidad, PulsoFase) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        m_study->exec(
            insert, {10, 1, 1, "verde", 4, 0, "first", "111", 0, "2026-01-02 03:04:05", 2, 2, 5, 10, 80, 2});
        m_study->exec(insert,
                      {11, 1, 2, "azul", 2, 2, "", "112", 2, "2026-01-03 03:04:05", 1, 1, 1, 1, 70, 1});
        m_study->exec(insert, {12, 2, 1, "", 0, 1, "", "", 3, "2026-01-02 03:05:00", 1, 3, 2, 2, 60, 1});
        m_study->exec(insert,
                      {13, 3, 1, "rojo", 1, 0, "", "131", 1, "2026-01-04 00:00:00", 1, 1, 1, 1, 90, 1});
        m_study->release();
        m_state = std::make_unique<AppState>();
        QVERIFY(m_state->AbreBaseDatos(m_study->path()).isEmpty());
        m_state->FijaPaciente(1, "Ana", 5, 9, 1, 4);
        writeDrawing("111", "3\r\n0 2 2\r\n1 10 10\r\n3 10 10\r\n");
    }
    void writeDrawing(const QString &name, const QByteArray &content) {
        QDir().mkpath(m_study->dirPath() + "/study_puntos");
        QFile file(m_study->dirPath() + "/study_puntos/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QStringList rows(const QString &sql) {
        QSqlQuery query(m_state->BaseDatos);
        if (!query.exec(sql)) {
            qFatal("%s", qPrintable(query.lastError().text()));
        }
        QStringList result;
        while (query.next()) {
            QStringList values;
            for (int i = 0; i < query.record().count(); ++i) {
                values << query.value(i).toString();
            }
            result << values.join('|');
        }
        return result;
    }
    QStringList stimuli() {
        return rows(
            "SELECT id, TipoBobina, PulsoTipo, NumeroPulsos, PulsoFrecuencia, PulsoIntensidad, PulsoFase, "
            "orientacion, color, observaciones, intensidad, hayfosfeno, fecha, pasada, archivopuntos "
            "FROM estimulo ORDER BY id");
    }
    template <typename T> static T *child(QWidget *w, const char *name) {
        T *found = w->findChild<T *>(name);
        if (!found) {
            qFatal("no control %s", name);
        }
        return found;
    }
    static QList<int> marked(QWidget *w) {
        QList<int> cells;
        for (int cell = 0; cell < 50; ++cell) {
            if (child<EGrid>(w, "EGrid1")->ElementoMarcado(cell)) {
                cells << cell;
            }
        }
        return cells;
    }
    QStringList texts() const {
        QStringList result;
        for (const Messages::Shown &m : m_messages) {
            result << m.text;
        }
        return result;
    }

private slots:
    void init() {
        m_messages.clear();
        m_answer = true;
        Messages::setResponder([this](const Messages::Shown &shown) {
            m_messages << shown;
            return m_answer;
        });
    }
    void cleanup() {
        Messages::setResponder({});
        m_state.reset();
        m_study.reset();
    }

    void viewModeLocksTheFieldsButBrowsesExperimentsAndDrawingModes() {
        openStudy();
        FVerEstimulo w(*m_state, false);
        QCOMPARE(w.windowTitle(), QStringLiteral("View experiments"));
        for (const char *button : {"bOKEstimulo", "bOKPasada", "bOKPaciente"}) {
            QVERIFY(child<QPushButton>(&w, button)->isHidden());
        }
        QVERIFY(child<QLineEdit>(&w, "TColor")->isReadOnly());
        QVERIFY(child<QLineEdit>(&w, "TIntensidad")->isReadOnly());
        QVERIFY(child<QPlainTextEdit>(&w, "TObservaciones")->isReadOnly());
        QVERIFY(!child<QGroupBox>(&w, "FrameTipo")->isEnabled());
        QVERIFY(!child<QGroupBox>(&w, "FrameHayFosfenos")->isEnabled());

        // Experiment 1 is shown first, at the centre cell, with the stimulus of that experiment.
        auto *pasadas = child<QComboBox>(&w, "CPasada");
        QCOMPARE(pasadas->count(), 2);
        QCOMPARE(pasadas->currentText(), QStringLiteral("1"));
        QCOMPARE(marked(&w), QList<int>({14, 25}));
        QCOMPARE(child<EGrid>(&w, "EGrid1")->EIndex(), 14);
        QCOMPARE(child<QLineEdit>(&w, "TColor")->text(), QStringLiteral("verde"));
        QCOMPARE(child<QLineEdit>(&w, "TIntensidad")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLineEdit>(&w, "TFecha")->text(), QStringLiteral("2026-01-02 03:04:05"));
        QCOMPARE(child<QComboBox>(&w, "CBobina")->currentText(), QStringLiteral("Magstim Redonda"));
        QCOMPARE(child<QComboBox>(&w, "CFase")->currentText(), QStringLiteral("Bifáisco"));
        QCOMPARE(child<QComboBox>(&w, "COrientacion")->currentText(), QStringLiteral("Left-Right"));
        QCOMPARE(child<QLineEdit>(&w, "TPulsos")->text(), QStringLiteral("5"));
        QVERIFY(child<QRadioButton>(&w, "Option1_0")->isChecked());
        QCOMPARE(w.dibujo(), QStringLiteral("111"));

        // The drawing modes paint differently: strokes, then one blot at the mass centre.
        auto *picture = child<DrawingView>(&w, "Picture1");
        const QImage lines = picture->image().copy();
        child<QRadioButton>(&w, "Option2_2")->setChecked(true);
        QImage white(lines.size(), lines.format());
        white.fill(Qt::white);
        QVERIFY(lines != white);
        QVERIFY(picture->image() != lines);
        QVERIFY(picture->image() != white);

        // Another experiment: its own marks, the centre again, its stimulus.
        child<EGrid>(&w, "EGrid1")->setEIndex(25);
        pasadas->setCurrentIndex(1);
        QCOMPARE(marked(&w), QList<int>({14}));
        QCOMPARE(child<EGrid>(&w, "EGrid1")->EIndex(), 14);
        QCOMPARE(child<QLineEdit>(&w, "TColor")->text(), QStringLiteral("azul"));
        QVERIFY(child<QRadioButton>(&w, "Option1_2")->isChecked());
        QVERIFY(m_messages.isEmpty());

        FVerEstimulo edit(*m_state, true);
        QCOMPARE(edit.windowTitle(), QStringLiteral("Edit experiments"));
        QVERIFY(!child<QPushButton>(&edit, "bOKPasada")->isHidden());
        QVERIFY(!child<QLineEdit>(&edit, "TColor")->isReadOnly());
        QVERIFY(child<QGroupBox>(&edit, "FrameTipo")->isEnabled());
        if (qEnvironmentVariableIsSet("ZK_SCREENSHOTS")) {
            w.show();
            edit.show();
            QVERIFY(QTest::qWaitForWindowExposed(&edit));
            w.grab().save(qEnvironmentVariable("ZK_SCREENSHOTS") + "/experiment-viewer.png");
            edit.grab().save(qEnvironmentVariable("ZK_SCREENSHOTS") + "/experiment-editor.png");
        }
    }

    void cellsWithoutAStimulusOfTheExperimentHideThePerception_data() {
        QTest::addColumn<int>("pasada");
        QTest::addColumn<int>("cell");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("dataShown");
        QTest::newRow("stimulus with a phosphene") << 1 << 14 << true << true;
        QTest::newRow("stimulus answered No") << 1 << 25 << true << false;
        QTest::newRow("no point at the cell") << 1 << 3 << false << false;
        QTest::newRow("point without a stimulus in the experiment") << 2 << 25 << false << false;
    }
    void cellsWithoutAStimulusOfTheExperimentHideThePerception() {
        QFETCH(int, pasada);
        QFETCH(int, cell);
        QFETCH(bool, shown);
        QFETCH(bool, dataShown);
        openStudy();
        FVerEstimulo w(*m_state, true);
        child<QComboBox>(&w, "CPasada")->setCurrentIndex(pasada - 1);
        child<EGrid>(&w, "EGrid1")->setEIndex(cell);
        QCOMPARE(!child<QGroupBox>(&w, "FEstímulo")->isHidden(), shown);
        QCOMPARE(child<QPushButton>(&w, "bOKEstimulo")->isEnabled(), shown);
        QCOMPARE(!child<QGroupBox>(&w, "Frame2")->isHidden(), dataShown);
    }

    void aSubjectWithoutExperimentsIsToldSo() {
        openStudy();
        m_state->FijaPaciente(7, "Nadie", 5, 9, 1, 4);
        FVerEstimulo w(*m_state, false);
        QCOMPARE(texts(), QStringList({"There is no information about the selected subject"}));
        QVERIFY(child<EGrid>(&w, "EGrid1")->isHidden());
        QVERIFY(child<QPlainTextEdit>(&w, "TObservaciones")->isHidden());
    }

    void applyingWritesExactlyTheRowsAndColumnsOfEachButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("expected");
        // Corrections: coil "Cadwell en ocho" (3), -3 pulses, orientation Right-Left (1), colour
        // "rosa", notes "nota", brightness 6, and the answer changed to Doubt (never written).
        const QString s10 = "10|2|2|5|10|80|2|0|verde|first|4|0|2026-01-02 03:04:05|1|111";
        const QString s11 = "11|1|1|1|1|70|1|2|azul||2|2|2026-01-03 03:04:05|2|112";
        const QString s12 = "12|1|3|2|2|60|1|3|||0|1|2026-01-02 03:05:00|1|";
        const QString s13 = "13|1|1|1|1|90|1|1|rojo||1|0|2026-01-04 00:00:00|1|131";
        const QString s10all = "10|3|2|3|10|80|2|1|rosa|nota|6|0|2026-01-02 03:04:05|1|111";
        const QString s10par = "10|3|2|3|10|80|2|0|verde|first|4|0|2026-01-02 03:04:05|1|111";
        const QString s11par = "11|3|2|3|10|80|2|2|azul||2|2|2026-01-03 03:04:05|2|112";
        const QString s12par = "12|3|2|3|10|80|2|3|||0|1|2026-01-02 03:05:00|1|";
        QTest::newRow("perception") << "bOKEstimulo" << true
                                    << "Are you sure to aply the changes to this perception?"
                                    << QStringList{s10all, s11, s12, s13};
        QTest::newRow("experiment") << "bOKPasada" << true
                                    << "Are you sure to aply the changes to this EXPERIMENT?"
                                    << QStringList{s10par, s11, s12par, s13};
        QTest::newRow("subject") << "bOKPaciente" << true
                                 << "Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?"
                                 << QStringList{s10par, s11par, s12par, s13};
        QTest::newRow("perception, answered No")
            << "bOKEstimulo" << false << "Are you sure to aply the changes to this perception?"
            << QStringList{s10, s11, s12, s13};
        QTest::newRow("subject, answered No")
            << "bOKPaciente" << false << "Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?"
            << QStringList{s10, s11, s12, s13};
    }
    void applyingWritesExactlyTheRowsAndColumnsOfEachButton() {
        QFETCH(QString, button);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, expected);
        openStudy();
        const QStringList points = rows("SELECT * FROM puntoestimulacion ORDER BY ID");
        FVerEstimulo w(*m_state, true);
        child<QComboBox>(&w, "CBobina")->setCurrentText("Cadwell en ocho");
        child<QComboBox>(&w, "COrientacion")->setCurrentText("Right-Left");
        child<QLineEdit>(&w, "TPulsos")->setText("-3");
        child<QLineEdit>(&w, "TColor")->setText("rosa");
        child<QLineEdit>(&w, "TIntensidad")->setText("6");
        child<QPlainTextEdit>(&w, "TObservaciones")->setPlainText("nota");
        child<QRadioButton>(&w, "Option1_2")->setChecked(true);
        m_answer = answer;
        child<QPushButton>(&w, button.toLatin1())->click();

        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, Messages::Kind::Question);
        QCOMPARE(m_messages[0].text, question);
        QCOMPARE(stimuli(), expected);
        QCOMPARE(rows("SELECT * FROM puntoestimulacion ORDER BY ID"), points);
        if (answer) {
            QCOMPARE(child<QLineEdit>(&w, "TPulsos")->text(), QStringLiteral("3")); // as stored
        }
    }

    void applyingIsRefusedBeforeAnythingIsAsked_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown stored coil") << "UPDATE estimulo SET TipoBobina = 7 WHERE id = 10"
                                             << ""
                                             << ""
                                             << "Undefined 'Coil type'";
        QTest::newRow("unknown pulse and phase")
            << "UPDATE estimulo SET PulsoTipo = 0, PulsoFase = 9 WHERE id = 10"
            << ""
            << ""
            << "Undefined 'Pulse Type'\nUndefined 'Fase'";
        QTest::newRow("pulses not a number")
            << ""
            << "TPulsos"
            << "tres"
            << "# pulses must be a whole number from -2147483647 to 2147483647; "
               "\"tres\" is not. Nothing was changed.";
        QTest::newRow("empty brightness")
            << ""
            << "TIntensidad"
            << ""
            << "Brightness must be a whole number from -32768 to 32767; \"\" is not. "
               "Nothing was changed.";
    }
    void applyingIsRefusedBeforeAnythingIsAsked() {
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        openStudy();
        if (!sql.isEmpty()) {
            QSqlQuery(m_state->BaseDatos).exec(sql);
        }
        const QStringList before = stimuli();
        FVerEstimulo w(*m_state, true);
        if (!sql.isEmpty()) {
            QCOMPARE(child<QComboBox>(&w, "CBobina")->currentIndex() == 0, sql.contains("TipoBobina"));
        }
        if (!field.isEmpty()) {
            child<QLineEdit>(&w, field.toLatin1())->setText(text);
        }
        child<QPushButton>(&w, "bOKEstimulo")->click();
        QCOMPARE(texts().join('\n'), message);
        QCOMPARE(stimuli(), before);
    }

    void theMainWindowIsDisabledWhileTheViewerIsOpen() {
        openStudy();
        MainWindow main(*m_state);
        main.findChild<QAction *>("MAEdita")->trigger();
        auto *viewer = main.findChild<FVerEstimulo *>();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->editar());
        QVERIFY(!main.isEnabled());
        QVERIFY(viewer->isEnabled());
        QVERIFY(child<QPushButton>(viewer, "bOKPasada")->isEnabled());
        child<QPushButton>(viewer, "bCerrar")->click();
        QVERIFY(main.isEnabled());
        QTRY_VERIFY(!main.findChild<FVerEstimulo *>());
    }

    void anImportedLegacyStudyShowsItsExperimentsAndDrawings() {
        QTemporaryDir dir;
        const QString data = qEnvironmentVariable("ZK_TEST_DATA");
        QVERIFY(QFile::copy(data + "/legacy-study.mdb", dir.filePath("legacy-study.mdb")));
        QDir(dir.path()).mkdir("legacy-study_puntos");
        for (const QString &name : QDir(data + "/legacy-study_puntos").entryList(QDir::Files)) {
            QVERIFY(QFile::copy(data + "/legacy-study_puntos/" + name,
                                dir.filePath("legacy-study_puntos/" + name)));
        }
        const QString study = dir.filePath("legacy-study.sqlite");
        LegacyImport::importMdb(dir.filePath("legacy-study.mdb"), study);
        AppState state;
        QVERIFY(state.AbreBaseDatos(study).isEmpty());
        state.FijaPaciente(1, "Begoña Ibáñez Núñez", 5, 9, 1, 4);

        FVerEstimulo w(state, false);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(child<QComboBox>(&w, "CPasada")->count(), 1);
        QCOMPARE(marked(&w), QList<int>({11, 12, 45}));
        child<EGrid>(&w, "EGrid1")->setEIndex(11);
        QVERIFY(!child<QGroupBox>(&w, "FEstímulo")->isHidden());
        QCOMPARE(child<QLineEdit>(&w, "TColor")->text(), QStringLiteral("blanco"));
        QCOMPARE(child<QComboBox>(&w, "CBobina")->currentText(), QStringLiteral("Cadwell en ocho"));
        QCOMPARE(w.dibujo(), QStringLiteral("111"));
        // The drawing is drawn, not the file error's crossing lines through the corner.
        const QImage image = child<DrawingView>(&w, "Picture1")->image();
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        int black = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                black += image.pixelColor(x, y) == QColor(Qt::black) ? 1 : 0;
            }
        }
        QVERIFY(black > 20);
    }
};

QTEST_MAIN(ExperimentReviewTest)
#include "tst_experiment_review.moc"
