// The experiment viewer and editor: what ExperimentReview reads and each correction writes, what the
// review model has the controls show, and the window's wiring: the edit mode applied, the controls,
// checks, confirmations and what reaches the study.

#include "data/StudyDrawings.h"
#include "support/ExperimentStudy.h"

#include "experiments/FVerEstimulo.h"
#include "experiments/ReviewModel.h"

using namespace Qt::StringLiterals;

class ExperimentReviewTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;
    std::optional<ExperimentStudy> m;

    // Subject 1 with points at cells 14 (id 1), 25 (id 2) and 20 (id 4); subject 2 with a point at
    // cell 14 (id 3). Stimuli: 10 at point 1 in experiment 1, 11 at point 1 in experiment 2, 12 at
    // point 2 in experiment 1, 13 at subject 2's point in experiment 1, 14 at point 4 in experiment 1
    // with its columns empty and an answer that is none of the three.
    void openStudy() {
        m.emplace("Luis");
        StudyFixture &study = *m->study;
        study.addPoint(1, 1, 1, 0, 0, 2);
        study.addPoint(2, 2, 1, 1, 1, 1);
        study.addPoint(3, 1, 2, 0, 0, 1);
        study.addPoint(4, 3, 1, 1, -4, 1);
        study.exec("INSERT INTO estimulo (id, id_puntoestimulo, pasada, color, intensidad, hayfosfeno, "
                   "observaciones, "
                   "archivopuntos, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, PulsoFrecuencia, "
                   "PulsoIntensidad, PulsoFase) VALUES "
                   "(10, 1, 1, 'verde', 4, 0, 'first', '111', 0, '2026-01-02 03:04:05', 2, 2, 5, 10, 80, 2), "
                   "(11, 1, 2, 'azul', 2, 2, '', '112', 2, '2026-01-03 03:04:05', 1, 1, 1, 1, 70, 1), "
                   "(12, 2, 1, '', 0, 1, '', '', 3, '2026-01-02 03:05:00', 1, 3, 2, 2, 60, 1), "
                   "(13, 3, 1, 'rojo', 1, 0, '', '131', 1, '2026-01-04 00:00:00', 1, 1, 1, 1, 90, 1)");
        study.exec("INSERT INTO estimulo (id, id_puntoestimulo, pasada, hayfosfeno) VALUES (14, 4, 1, 7)");
        StudyDrawings::store(study.db(), 10, "3\r\n0 2 2\r\n1 10 10\r\n3 10 10\r\n");
        QVERIFY(m->open());
    }
    QStringList stimuli() {
        return m
            ->read("SELECT id, TipoBobina, PulsoTipo, NumeroPulsos, PulsoFrecuencia, PulsoIntensidad, "
                   "PulsoFase, orientacion, color, observaciones, intensidad, hayfosfeno, fecha, pasada, "
                   "archivopuntos FROM estimulo ORDER BY id")
            .split('\n');
    }
    // What the review model has the controls show, "-" for what it leaves as it was.
    static QString describe(const ReviewModel::Shown &s) {
        if (!s.found) {
            return "nothing";
        }
        QStringList fields{QString::number(s.pointId), QString::number(s.stimulusId),
                           QString::number(s.answer)};
        fields << s.notes << s.brightness << s.colour << s.date;
        for (const std::optional<qint16> &code : {s.coil, s.pulseType, s.phase, s.orientation}) {
            fields << (code ? QString::number(*code) : "-");
        }
        for (const std::optional<QString> &text : {s.pulses, s.frequency, s.pulseIntensity}) {
            fields << text.value_or("-");
        }
        return (fields << s.drawing).join('|');
    }
private slots:
    void init() {
        m_messages.reset(true);
        openStudy();
    }
    void cleanup() { m.reset(); }

    void aCellShowsTheFirstPointsStimulusOfTheExperiment_data() {
        QTest::addColumn<int>("pasada");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a phosphene") << 1 << 14
                                     << "1|10|0|first|4|verde|2026-01-02 03:04:05|2|2|2|0|5|10|80|111";
        QTest::newRow("answered No, empty texts")
            << 1 << 25 << "2|12|1||0||2026-01-02 03:05:00|1|3|1|3|2|2|60|";
        QTest::newRow("empty columns, unknown answer") << 1 << 20 << "4|14|1||0|||-|-|-|-|-|-|-|";
        QTest::newRow("the point has no stimulus in the experiment") << 2 << 25 << "nothing";
        QTest::newRow("no point at the cell") << 1 << 3 << "nothing";
    }
    void aCellShowsTheFirstPointsStimulusOfTheExperiment() {
        QFETCH(int, pasada);
        QFETCH(int, cell);
        QTEST(describe(ReviewModel::shown(
                  ExperimentReview::pointAtCell(m->state->BaseDatos, 1, cell, 1, 4, pasada))),
              "shown");
    }

    // Each correction is one transaction over its stimuli; the pulse numbers are stored as absolute
    // values, empty texts as "", and the answer, date, experiment and drawing name never change.
    void correctionsWriteExactlyTheirRowsAndColumns_data() {
        QTest::addColumn<QString>("correction");
        QTest::addColumn<int>("written");
        QTest::addColumn<QStringList>("expected");
        const QString s11 = "11|1|1|1|1|70|1|2|azul||2|2|2026-01-03 03:04:05|2|112";
        const QString s12 = "12|1|3|2|2|60|1|3|||0|1|2026-01-02 03:05:00|1|";
        const QString s13 = "13|1|1|1|1|90|1|1|rojo||1|0|2026-01-04 00:00:00|1|131";
        const QString s14 = "14|||||||||||7||1|";
        const QString p = "3|2|3|10|2147483647|2|";
        const QString p10 = "10|" + p + "0|verde|first|4|0|2026-01-02 03:04:05|1|111";
        const QString p12 = "12|" + p + "3|||0|1|2026-01-02 03:05:00|1|", p14 = "14|" + p + "||||7||1|";
        QTest::newRow("perception") << "perception" << 1
                                    << QStringList{"10|" + p + "1|rosa||6|0|2026-01-02 03:04:05|1|111", s11,
                                                   s12, s13, s14};
        QTest::newRow("experiment") << "experiment" << 3 << QStringList{p10, s11, p12, s13, p14};
        QTest::newRow("subject") << "subject" << 4
                                 << QStringList{p10, "11|" + p + "2|azul||2|2|2026-01-03 03:04:05|2|112", p12,
                                                s13, p14};
    }
    void correctionsWriteExactlyTheirRowsAndColumns() {
        QFETCH(QString, correction);
        const QString points = m->read("SELECT * FROM puntoestimulacion ORDER BY ID");
        const StimulusStore::Parameters parameters{3, 2, 2, 1, -3, 10, -2147483647};
        const QSqlDatabase &db = m->state->BaseDatos;
        int n = 0;
        if (correction == "perception") {
            n = ExperimentReview::applyToPerception(db, 1, 1, {QString(), 6, "rosa"}, parameters);
        } else if (correction == "experiment") {
            n = ExperimentReview::applyToExperiment(db, 1, 1, parameters);
        } else {
            n = ExperimentReview::applyToSubject(db, 1, parameters);
        }
        QTEST(n, "written");
        QTEST(stimuli(), "expected");
        QCOMPARE(m->read("SELECT * FROM puntoestimulacion ORDER BY ID"), points);
    }

    // The edit mode as the window applies it: the controls shown, enabled and writable, and the title.
    void theEditModeIsApplied() {
        FVerEstimulo viewer(*m->state, false), editor(*m->state, true);
        for (const char *name : {"bOKEstimulo", "bOKPasada", "bOKPaciente", "FrameTipo", "FrameHayFosfenos",
                                 "UDIntensidad", "TColor", "TIntensidad", "TObservaciones"}) {
            for (FVerEstimulo *w : {&viewer, &editor}) {
                const auto *c = child<QWidget>(w, name);
                QVERIFY2((!c->isHidden() && c->isEnabled() && !c->property("readOnly").toBool()) ==
                             w->editar(),
                         name);
            }
        }
        QCOMPARE(viewer.windowTitle() + '|' + editor.windowTitle(), "View experiments|Edit experiments");
    }

    void theControlsShowTheCellOfTheExperimentChosen() {
        // The MR view, when open, is aimed at each cell the grid shows.
        struct AimLog : MrViewer {
            QList<int> *cells = nullptr;
            void CRM_Click(bool, int cell) override { cells->append(cell); }
            void update(int cell) override { cells->append(cell); }
        };
        QList<int> aimed;
        FVerEstimulo w(*m->state, false, [&aimed](QWidget *) {
            auto viewer = std::make_unique<AimLog>();
            viewer->cells = &aimed;
            return viewer;
        });
        child<QCheckBox>(&w, "CRM")->setChecked(true);
        // Experiment 1 first, at the centre cell, with its stimulus: list entries chosen by code and the
        // brightness control following the text.
        auto *grid = child<EGrid>(&w, "EGrid1");
        QCOMPARE(markedCells(&w), QList<int>({14, 20, 25}));
        QCOMPARE(QStringList({QString::number(grid->EIndex()), child<QLineEdit>(&w, "TColor")->text(),
                              QString::number(child<QScrollBar>(&w, "UDIntensidad")->value()),
                              child<QComboBox>(&w, "CBobina")->currentText(),
                              child<QLineEdit>(&w, "TPulsoIntensidad")->text(), w.dibujo()}),
                 QStringList({"14", "verde", "4", "Magstim Redonda", "80", "111"}));

        // Another experiment: its own marks, the centre again; a cell without a stimulus hides it.
        grid->setEIndex(25);
        child<QComboBox>(&w, "CPasada")->setCurrentIndex(1);
        QVERIFY(markedCells(&w) == QList<int>{14} && grid->EIndex() == 14);
        QCOMPARE(aimed, QList<int>({14, 25, 14}));
        QVERIFY(child<QRadioButton>(&w, "Option1_2")->isChecked() &&
                !child<QGroupBox>(&w, "Frame2")->isHidden());
        grid->setEIndex(25);
        QVERIFY(child<QGroupBox>(&w, "FEstímulo")->isHidden() && child<QGroupBox>(&w, "Frame2")->isHidden());
        QVERIFY(!child<QPushButton>(&w, "bOKEstimulo")->isEnabled() &&
                child<QLineEdit>(&w, "TColor")->text().isEmpty());
        QVERIFY(m_messages.isEmpty());
    }

    void aSubjectWithoutExperimentsIsToldSo() {
        m->state->FijaPaciente(7, "Nadie", 1, 4);
        FVerEstimulo w(*m->state, false);
        QCOMPARE(m_messages.texts(), QStringList({"There is no information about the selected subject"}));
        QVERIFY(child<EGrid>(&w, "EGrid1")->isHidden());
    }

    // The controls reach the study through the correction of the button pressed, once confirmed.
    void eachButtonAsksItsQuestionAndStoresTheControls_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("corrected");  // stimuli with the new coil and pulse count
        QTest::addColumn<QString>("perception"); // colour, notes, brightness, orientation of stimulus 10
        const QString subject = "Are you sure to aply the changes to ALL SUBJECT (ALL EXPERIMENTS)?";
        const QString stored = "verde|first|4|0";
        QTest::newRow("perception") << "bOKEstimulo" << true
                                    << u"Are you sure to aply the changes to this perception?"_s << u"10"_s
                                    << u"rosa|nota|6|1"_s;
        QTest::newRow("experiment") << "bOKPasada" << true
                                    << u"Are you sure to aply the changes to this EXPERIMENT?"_s
                                    << u"10,12,14"_s << stored;
        QTest::newRow("subject") << "bOKPaciente" << true << subject << u"10,11,12,14"_s << stored;
        QTest::newRow("subject, answered No") << "bOKPaciente" << false << subject << QString() << stored;
    }
    void eachButtonAsksItsQuestionAndStoresTheControls() {
        QFETCH(QString, button);
        QFETCH(bool, answer);
        FVerEstimulo w(*m->state, true);
        child<QComboBox>(&w, "CBobina")->setCurrentText("Cadwell en ocho");
        child<QComboBox>(&w, "COrientacion")->setCurrentText("Right-Left");
        child<QLineEdit>(&w, "TPulsos")->setText("3");
        child<QLineEdit>(&w, "TColor")->setText("rosa");
        child<QScrollBar>(&w, "UDIntensidad")->setValue(6);
        child<QPlainTextEdit>(&w, "TObservaciones")->setPlainText("nota");
        m_messages.setAnswer(answer);
        child<QPushButton>(&w, button.toLatin1())->click();

        QVERIFY(m_messages.size() == 1 && m_messages[0].kind == Messages::Kind::Question);
        QTEST(m_messages[0].text, "question");
        QTEST(m->read("SELECT id FROM estimulo WHERE TipoBobina = 3 AND NumeroPulsos = 3 ORDER BY id")
                  .replace('\n', ','),
              "corrected");
        QTEST(m->read("SELECT color, observaciones, intensidad, orientacion FROM estimulo WHERE id = 10"),
              "perception");
    }

    void applyingIsRefusedBeforeAnythingIsAsked_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("pulses");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown pulse and phase")
            << u"UPDATE estimulo SET PulsoTipo = 0, PulsoFase = 9 WHERE id = 10"_s << u"5"_s
            << u"Undefined 'Pulse Type'\nUndefined 'Fase'"_s;
        QTest::newRow("pulses not a number") << QString() << u"tres"_s
                                             << u"# pulses must be a whole number from 1 to 2147483647; "
                                                u"\"tres\" is not. Nothing was changed."_s;
    }
    void applyingIsRefusedBeforeAnythingIsAsked() {
        QFETCH(QString, sql);
        QFETCH(QString, pulses);
        m->read(sql);
        const QStringList before = stimuli();
        FVerEstimulo w(*m->state, true);
        child<QLineEdit>(&w, "TPulsos")->setText(pulses);
        child<QPushButton>(&w, "bOKEstimulo")->click();
        QTEST(m_messages.texts().join('\n'), "message");
        QCOMPARE(stimuli(), before);
    }
};

QTEST_MAIN(ExperimentReviewTest)
#include "tst_experiment_review.moc"
