// The recording window: experiment number, marks of a continued experiment, the buttons' rule,
// what a save stores from the controls, refused input and keys.

#include "support/ExperimentStudy.h"

#include "drawings/DrawingCanvas.h"
#include "experiments/IntroEstimulo.h"

using namespace Qt::StringLiterals;

class RecordingWindowTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;
    std::optional<ExperimentStudy> m;

    static void draw(IntroEstimulo *w) {
        auto *canvas = child<DrawingCanvas>(w, "Picture1");
        canvas->Picture1_MouseDown(1, 0, 1.0f, 1.0f);
        canvas->Picture1_MouseMove(1, 0, 1.0f, 1.0f);
        canvas->Picture1_MouseMove(1, 0, 6.4f, 7.5f);
        canvas->Picture1_MouseUp(1, 0, 6.4f, 7.5f);
    }

private slots:
    void init() {
        m_messages.reset();
        m.emplace("Paco");
        QVERIFY(m->open());
    }
    void cleanup() { m.reset(); }

    // Without points, a new or continued experiment is number 1 (continuing says so); continuing
    // experiment 3 marks exactly its points, and a new one is 4.
    void theExperimentNumberAndItsMarksFollowTheStudy() {
        IntroEstimulo fresh(*m->state);
        QVERIFY(fresh.pasada() == 1 && m_messages.isEmpty() && !child<QCheckBox>(&fresh, "CRM")->isEnabled());
        m->state->ContinuarPasada = true;
        QCOMPARE(IntroEstimulo(*m->state).pasada(), 1);
        QCOMPARE(m_messages.texts(), QStringList{"There is no experiment. Next: Start new experiment."});

        // Subject 2's point with a stimulus of experiment 3 is at cell 25: not marked.
        m->read(
            "INSERT INTO puntoestimulacion (ID, Numero, Id_paciente, fila, columna, n_on, pasadas) VALUES "
            "(1, 1, 1, 0, 0, 2, 3), (2, 2, 1, 2, 3, 1, 3), (3, 3, 1, -1, -4, 1, 2), (4, 1, 2, 1, 1, 1, 3)");
        m->read("INSERT INTO estimulo (id, id_puntoestimulo, pasada, hayfosfeno) VALUES "
                "(1, 1, 1, 0), (2, 1, 3, 0), (3, 2, 3, 0), (4, 3, 2, 0), (5, 4, 3, 0)");
        IntroEstimulo w(*m->state);
        QCOMPARE(w.pasada(), 3);
        QCOMPARE(markedCells(&w), QList<int>({14, 37}));
        // The selected centre cell is marked: only "Delete" applies to it.
        QVERIFY(!child<QPushButton>(&w, "bNext")->isEnabled() &&
                child<QPushButton>(&w, "bBorrar")->isEnabled());
        m->state->ContinuarPasada = false;
        QCOMPARE(IntroEstimulo(*m->state).pasada(), 4);
    }
    void savingStoresTheEntryAndSwapsTheButtons() {
        IntroEstimulo w(*m->state);
        auto *grid = child<EGrid>(&w, "EGrid1");
        QVERIFY(grid->setEIndex(37) && child<QGroupBox>(&w, "Frame2")->isHidden()); // "No" at start
        QVERIFY(child<QPushButton>(&w, "bNext")->isEnabled() &&
                !child<QPushButton>(&w, "bBorrar")->isEnabled());
        child<QRadioButton>(&w, "Option1_0")->setChecked(true);
        QVERIFY(!child<QGroupBox>(&w, "Frame2")->isHidden());
        child<QLineEdit>(&w, "TColor")->setText("verde");
        child<QLineEdit>(&w, "TIntensidad")->setText("7");
        child<QPlainTextEdit>(&w, "TObservaciones")->setPlainText("two lines\nof notes");
        child<QComboBox>(&w, "COrientacion")->setCurrentText("Left-Right");
        child<QComboBox>(&w, "CBobina")->setCurrentIndex(2);
        child<QComboBox>(&w, "CFase")->setCurrentIndex(1);
        // "Single" keeps the pulse count and frequency disabled, yet stores their texts.
        auto *pulso = child<QComboBox>(&w, "CPulso");
        QVERIFY(pulso->currentText() == "Single" && !child<QLineEdit>(&w, "TPulsos")->isEnabled());
        child<QLineEdit>(&w, "TPulsos")->setText("4");
        child<QLineEdit>(&w, "TPulsoFrecuencia")->setText("10");
        draw(&w);
        child<QPushButton>(&w, "bNext")->click();
        QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.value(0).text));

        QCOMPARE(m->read("SELECT fila, columna, n_on, pasadas FROM puntoestimulacion"), "2|3|1|1");
        QCOMPARE(
            m->read("SELECT color, intensidad, observaciones, orientacion, TipoBobina, archivopuntos, "
                    "NumeroPulsos, PulsoFrecuencia, PulsoIntensidad, PulsoTipo, PulsoFase FROM estimulo"),
            "verde|7|two lines\nof notes|0|3|111|4|10|80|1|2");
        // The cell stays selected and is red; the entry is cleared for the next stimulus.
        QVERIFY(grid->EIndex() == 37 && grid->ElementoMarcado(37));
        QVERIFY(!child<QPushButton>(&w, "bNext")->isEnabled() &&
                child<QPushButton>(&w, "bBorrar")->isEnabled());
        QCOMPARE(child<DrawingCanvas>(&w, "Picture1")->buffer().count(), 0);

        child<QPushButton>(&w, "bBorrar")->click();
        QCOMPARE(m->read("SELECT count(*) FROM estimulo"), "0");
        QVERIFY(!grid->ElementoMarcado(37) && child<QPushButton>(&w, "bNext")->isEnabled());
    }

    // What is not a whole number is refused by the rule tst_stimulus_store checks; every field is read
    // the same way, each with its own name and range: here, the last one the window reads.
    void aPulseCountOfZeroIsRefusedAndNothingIsWritten() {
        IntroEstimulo w(*m->state);
        child<QRadioButton>(&w, "Option1_2")->setChecked(true);
        draw(&w);
        child<QLineEdit>(&w, "TPulsos")->setText("0");
        child<QPushButton>(&w, "bNext")->click();
        QVERIFY2(m_messages.size() == 1 && m_messages[0].text.startsWith("# pulses") &&
                     m_messages[0].text.contains("0"),
                 qPrintable(m_messages.value(0).text));
        QCOMPARE(m->read("SELECT (SELECT count(*) FROM puntoestimulacion) + count(*) FROM estimulo"), "0");
        // What the operator entered is still there to correct.
        QVERIFY(child<QRadioButton>(&w, "Option1_2")->isChecked() &&
                child<DrawingCanvas>(&w, "Picture1")->buffer().count() == 3);
    }

    void keysRecordANoWithoutTheMouse() {
        IntroEstimulo w(*m->state);
        QVERIFY(exposed(&w));
        w.activateWindow();
        auto *grid = child<EGrid>(&w, "EGrid1");
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Right); // centre 14 -> 15
        QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
        QVERIFY(child<QRadioButton>(&w, "Option1_0")->isChecked());
        QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(&w, Qt::Key_Return, Qt::ControlModifier);
        // "Up-Down" is orientation 3; a "No" has no drawing.
        QCOMPARE(
            m->read(
                "SELECT fila, columna, n_off, orientacion, archivopuntos FROM puntoestimulacion, estimulo"),
            "0|1|1|3|");
    }
};

QTEST_MAIN(RecordingWindowTest)
#include "tst_recording_window.moc"
