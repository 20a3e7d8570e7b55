// The experiment viewer and editor: what it shows for an experiment and a cell, what view mode
// locks, the checks and confirmations before a correction, the rows and columns each correction
// writes, and opening from the main window.

#include "data/StudyDrawings.h"
#include "support/StudyFixture.h"
#include "support/StudyInApp.h"

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "drawings/DrawingView.h"
#include "experiments/EGrid.h"
#include "experiments/FVerEstimulo.h"
#include "support/MessageLog.h"
#include "support/Widgets.h"

#include <QAction>
#include <QComboBox>
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
    MessageLog m_messages;
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
        StudyDrawings::store(m_study->db(), 10, "3\r\n0 2 2\r\n1 10 10\r\n3 10 10\r\n");
        m_state = openInApp(*m_study, 1, "Ana");
        QVERIFY(m_state);
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
    static QList<int> marked(QWidget *w) {
        QList<int> cells;
        for (int cell = 0; cell < 50; ++cell) {
            if (child<EGrid>(w, "EGrid1")->ElementoMarcado(cell)) {
                cells << cell;
            }
        }
        return cells;
    }

private slots:
    void init() {
        m_messages.clear();
        m_messages.setAnswer(true);
    }
    void cleanup() {
        m_state.reset();
        m_study.reset();
    }

    void viewModeLocksTheFieldsButBrowsesExperimentsAndDrawingModes() {
        openStudy();
        FVerEstimulo w(*m_state, false);
        for (const char *button : {"bOKEstimulo", "bOKPasada", "bOKPaciente"}) {
            QVERIFY(child<QPushButton>(&w, button)->isHidden());
        }
        QVERIFY(child<QLineEdit>(&w, "TColor")->isReadOnly());
        QVERIFY(child<QPlainTextEdit>(&w, "TObservaciones")->isReadOnly());
        QVERIFY(!child<QGroupBox>(&w, "FrameTipo")->isEnabled());
        QVERIFY(!child<QGroupBox>(&w, "FrameHayFosfenos")->isEnabled());

        // Experiment 1 is shown first, at the centre cell, with the stimulus of that experiment and
        // its list entries chosen by code.
        auto *pasadas = child<QComboBox>(&w, "CPasada");
        QCOMPARE(pasadas->count(), 2);
        QCOMPARE(marked(&w), QList<int>({14, 25}));
        QCOMPARE(child<EGrid>(&w, "EGrid1")->EIndex(), 14);
        QCOMPARE(child<QLineEdit>(&w, "TColor")->text(), QStringLiteral("verde"));
        QCOMPARE(child<QComboBox>(&w, "CBobina")->currentText(), QStringLiteral("Magstim Redonda"));
        QCOMPARE(child<QComboBox>(&w, "COrientacion")->currentText(), QStringLiteral("Left-Right"));
        QCOMPARE(w.dibujo(), QStringLiteral("111"));

        // The drawing modes paint differently: strokes, then one blot at the mass centre.
        auto *picture = child<DrawingView>(&w, "Picture1");
        const QImage lines = picture->image().copy();
        child<QRadioButton>(&w, "Option2_2")->setChecked(true);
        QVERIFY(pixelsOf(lines, lines.rect(), qRgb(0, 0, 0)) > 0);
        QVERIFY(picture->image() != lines);

        // Another experiment: its own marks, the centre again, its stimulus.
        child<EGrid>(&w, "EGrid1")->setEIndex(25);
        pasadas->setCurrentIndex(1);
        QCOMPARE(marked(&w), QList<int>({14}));
        QCOMPARE(child<EGrid>(&w, "EGrid1")->EIndex(), 14);
        QCOMPARE(child<QLineEdit>(&w, "TColor")->text(), QStringLiteral("azul"));
        QVERIFY(child<QRadioButton>(&w, "Option1_2")->isChecked());
        QVERIFY(m_messages.isEmpty());

        FVerEstimulo edit(*m_state, true);
        QVERIFY(!child<QPushButton>(&edit, "bOKPasada")->isHidden());
        QVERIFY(!child<QLineEdit>(&edit, "TColor")->isReadOnly());
        QVERIFY(child<QGroupBox>(&edit, "FrameTipo")->isEnabled());
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
        QCOMPARE(m_messages.texts(), QStringList({"There is no information about the selected subject"}));
        QVERIFY(child<EGrid>(&w, "EGrid1")->isHidden());
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
        const QString subject = "Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?";
        QTest::newRow("perception") << "bOKEstimulo" << true
                                    << "Are you sure to aply the changes to this perception?"
                                    << QStringList{s10all, s11, s12, s13};
        QTest::newRow("experiment") << "bOKPasada" << true
                                    << "Are you sure to aply the changes to this EXPERIMENT?"
                                    << QStringList{s10par, s11, s12par, s13};
        QTest::newRow("subject") << "bOKPaciente" << true << subject
                                 << QStringList{s10par, s11par, s12par, s13};
        QTest::newRow("subject, answered No")
            << "bOKPaciente" << false << subject << QStringList{s10, s11, s12, s13};
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
        m_messages.setAnswer(answer);
        child<QPushButton>(&w, button.toLatin1())->click();

        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, Messages::Kind::Question);
        QCOMPARE(m_messages[0].text, question);
        QCOMPARE(stimuli(), expected);
        QCOMPARE(rows("SELECT * FROM puntoestimulacion ORDER BY ID"), points);
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
    }
    void applyingIsRefusedBeforeAnythingIsAsked() {
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        openStudy();
        rows(sql.isEmpty() ? QStringLiteral("SELECT 1") : sql);
        const QStringList before = stimuli();
        FVerEstimulo w(*m_state, true);
        if (sql.contains("TipoBobina")) {
            QCOMPARE(child<QComboBox>(&w, "CBobina")->currentText(), QStringLiteral("- Any"));
        }
        if (!field.isEmpty()) {
            child<QLineEdit>(&w, field.toLatin1())->setText(text);
        }
        child<QPushButton>(&w, "bOKEstimulo")->click();
        QCOMPARE(m_messages.texts().join('\n'), message);
        QCOMPARE(stimuli(), before);
    }

    void theMainWindowIsDisabledWhileTheViewerIsOpen() {
        openStudy();
        MainWindow main(*m_state);
        main.findChild<QAction *>("MAEdita")->trigger();
        auto *viewer = main.findChild<FVerEstimulo *>();
        QVERIFY(viewer && viewer->isVisible() && viewer->editar());
        QVERIFY(!main.isEnabled());
        child<QPushButton>(viewer, "bCerrar")->click();
        QVERIFY(main.isEnabled());
        QTRY_VERIFY(!main.findChild<FVerEstimulo *>());
    }
};

QTEST_MAIN(ExperimentReviewTest)
#include "tst_experiment_review.moc"
