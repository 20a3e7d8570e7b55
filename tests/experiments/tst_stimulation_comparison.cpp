// The stimulation comparison: the filter built from the controls (and its values kept out of the
// SQL text), refused bounds, which drawing of each subject is overlaid at the cell its coil moves it
// to (every orientation's move is the phosphene map's count test, tst_results), and when the window
// repaints.

#include "data/StudyDrawings.h"
#include "support/StudyInApp.h"

#include "data/StudyError.h"
#include "experiments/EGrid.h"
#include "experiments/FAcumulados.h"
#include "experiments/StimulationComparison.h"
#include "subjects/elegirpaciente.h"
#include "support/MessageLog.h"
#include "support/Widgets.h"

using namespace StimulationComparison;

namespace {
const QString Initial = "(NumeroPulsos >= 0 AND NumeroPulsos <= 20) AND (PulsoFrecuencia >= 0 AND "
                        "PulsoFrecuencia <= 20) AND (PulsoIntensidad >= 0 AND PulsoIntensidad <= 100)";

// The SQL with every "?" replaced by its value, in order.
QString substituted(const Filter &f) {
    QString result;
    int next = 0;
    for (const QChar c : f.sql) {
        result += c == '?' ? f.values.value(next++).toString() : QString(c);
    }
    return next == f.values.size() ? result : "<values do not match>";
}
} // namespace

class StimulationComparisonTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;
    std::unique_ptr<StudyFixture> m_study;
    std::unique_ptr<AppState> m_state;

    // With the centre at row 1, column 4, the point (1, -1) is cell 23.
    // Subject 1: at cell 23 a coil-3 stimulus oriented Down-Up (2) with drawing "A"; off the grid, right
    // of cell 9, another one with drawing "D".
    // Subject 2: at cell 23 a stimulus without drawing, then "B1" and "B2".
    // Subject 3: at cell 23 a point without stimuli, and one whose stimulus has 50 pulses ("C").
    void openStudy() {
        m_study = std::make_unique<StudyFixture>();
        for (int id : {1, 2, 3}) {
            m_study->addSubject(id, QStringLiteral("S%1").arg(id));
        }
        m_study->addPoint(1, 1, 1, 1, -1, 1);
        m_study->addPoint(2, 1, 2, 1, -1, 1);
        m_study->addPoint(3, 1, 3, 1, -1, 1);
        m_study->addPoint(4, 2, 3, 1, -1, 1);
        m_study->addPoint(5, 2, 1, -1, 6, 1);
        m_study->exec(
            "INSERT INTO estimulo (id, id_puntoestimulo, archivopuntos, TipoBobina, orientacion, "
            "NumeroPulsos, pasada, hayfosfeno, PulsoTipo, PulsoFrecuencia, PulsoIntensidad, PulsoFase) "
            "VALUES (1, 1, 'A', 3, 2, 1, 1, 0, 1, 5, 80, 1), (2, 2, '', 1, 0, 1, 1, 0, 1, 5, 80, 1), "
            "(3, 2, 'B1', 1, 0, 1, 1, 0, 1, 5, 80, 1), (4, 2, 'B2', 1, 0, 1, 1, 0, 1, 5, 80, 1), "
            "(5, 4, 'C', 1, 0, 50, 1, 0, 1, 5, 80, 1), (6, 5, 'D', 3, 2, 1, 1, 0, 1, 5, 80, 1)");
        for (const int id : {1, 3, 4, 5, 6}) {
            StudyDrawings::store(m_study->db(), id, "4\r\n0 2 2\r\n1 10 3\r\n1 10 10\r\n3 10 10\r\n");
        }
        m_state = openInApp(*m_study);
        QVERIFY(m_state);
    }
private slots:
    void cleanup() {
        m_state.reset();
        m_study.reset();
    }

    void theFilterFollowsTheControlsWithItsValuesBoundApart_data() {
        QTest::addColumn<QList<int>>("codes"); // coil, pulse type, phase, orientation
        QTest::addColumn<QString>("text");
        QTest::newRow("initial controls") << QList<int>{-1, -1, -1, -1} << Initial;
        QTest::newRow("every list, Left-Right is code 0")
            << QList<int>{1, 2, 2, 0}
            << Initial +
                   " AND (TipoBobina = 1) AND (PulsoTipo = 2) AND (PulsoFase = 2) AND (Orientacion = 0)";
    }
    void theFilterFollowsTheControlsWithItsValuesBoundApart() {
        QFETCH(QList<int>, codes);
        QFETCH(QString, text);
        Conditions c;
        std::tie(c.coil, c.pulseType, c.pulsePhase, c.orientation) =
            std::tuple(codes[0], codes[1], codes[2], codes[3]);
        const Filter f = buildFilter(c);
        QVERIFY(f.ok() && !f.sql.contains(QRegularExpression("[0-9]")));
        QCOMPARE(f.text, text);
        QCOMPARE(substituted(f), text);
    }

    void boundsThatAreNotWholeNumbersAreReportedAndNeverRun_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<QString>("reason");
        QTest::newRow("blanks") << int(FrequencyTo) << QString("  ") << "empty: type a whole number";
        QTest::newRow("SQL") << int(PulsesTo) << QString("20) OR (1=1")
                             << "\"20) OR (1=1\" is not a whole number";
    }
    void boundsThatAreNotWholeNumbersAreReportedAndNeverRun() {
        QFETCH(int, box);
        QFETCH(QString, bound);
        QFETCH(QString, reason);
        Conditions c;
        c.bounds[box] = bound;
        const Filter f = buildFilter(c);
        QVERIFY(!f.ok() && !f.sql.contains(bound.trimmed().isEmpty() ? "<none>" : bound));
        for (int i = 0; i < BoundCount; ++i) {
            QCOMPARE(f.problems[i], i == box ? reason : QString());
        }
        openStudy();
        QVERIFY_THROWS_EXCEPTION(StudyError, DrawingFinder(m_state->BaseDatos, f, 23, 1, 4));
    }
    void eachSubjectOverlaysItsFirstMatchingDrawing_data() {
        QTest::addColumn<int>("subject");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("pulsesTo");
        QTest::addColumn<QString>("drawing");
        QTest::newRow("coil 3 Down-Up recorded at 23, shown at 33") << 1 << 33 << 20 << "A";
        QTest::newRow("coil 3 Down-Up recorded at 23, not at 23") << 1 << 23 << 20 << "";
        QTest::newRow("coil 3 Down-Up recorded off the grid, nowhere") << 1 << 9 << 20 << "";
        QTest::newRow("first of two drawings, after one without") << 2 << 23 << 20 << "B1";
        QTest::newRow("point without stimuli, other out of bounds") << 3 << 23 << 20 << "";
        QTest::newRow("wider bounds") << 3 << 23 << 50 << "C";
    }
    void eachSubjectOverlaysItsFirstMatchingDrawing() {
        QFETCH(int, subject);
        QFETCH(int, cell);
        QFETCH(int, pulsesTo);
        openStudy();
        Conditions c;
        c.bounds[PulsesTo] = QString::number(pulsesTo);
        DrawingFinder finder(m_state->BaseDatos, buildFilter(c), cell, 1, 4);
        QTEST(finder.drawingName(subject), "drawing");
    }

    // The window's wiring: the lists give their codes to the filter, the grid, the subject list and a
    // click into a bound box repaint, and a bad bound is named in the hint.
    void theWindowRepaintsOnClicksAndSurvivesABadBound() {
        openStudy();
        FAcumulados w(*m_state, LlenaListaPacientes);
        QVERIFY(exposed(&w));
        child<QComboBox>(&w, "COrientacion")->setCurrentText("Right-Left");
        child<QComboBox>(&w, "CBobina")->setCurrentText("Cadwell en ocho");
        QCOMPARE(w.filtro().text, Initial + " AND (TipoBobina = 3) AND (Orientacion = 1)");
        child<QComboBox>(&w, "COrientacion")->setCurrentIndex(0);
        child<QComboBox>(&w, "CBobina")->setCurrentIndex(0);

        auto *list = child<QListWidget>(&w, "LPacientes");
        auto *grid = child<EGrid>(&w, "EGrid1");
        grid->setEIndex(23);
        list->selectAll();
        QCOMPARE(w.dibujados(), QStringList({"B1"}));
        grid->setEIndex(33);
        QCOMPARE(w.dibujados(), QStringList({"A"}));

        // Typing does not repaint; a click into a bound box does.
        grid->setEIndex(23);
        auto *to = child<QLineEdit>(&w, "TPulsos_1");
        to->selectAll();
        QTest::keyClicks(to, "50");
        QCOMPARE(w.dibujados(), QStringList({"B1"}));
        QTest::mouseClick(to, Qt::LeftButton);
        QCOMPARE(w.dibujados(), QStringList({"B1", "C"}));

        // A bad bound paints nothing and is named in the hint; corrected, the window goes on.
        auto *from = child<QLineEdit>(&w, "TPulsoFrecuencia_0");
        auto *hint = child<QLabel>(&w, "LAviso");
        from->setText("five");
        QTest::mouseClick(from, Qt::LeftButton);
        QCOMPARE(w.dibujados(), QStringList());
        QVERIFY(hint->isVisible() &&
                hint->text().startsWith("Frecuency (from): \"five\" is not a whole number"));
        from->setText("0");
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(w.dibujados(), QStringList({"B1", "C"}));
        QVERIFY(!hint->isVisible() && m_messages.isEmpty());
    }
};

QTEST_MAIN(StimulationComparisonTest)
#include "tst_stimulation_comparison.moc"
