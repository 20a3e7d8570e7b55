// The stimulation comparison: the filter built from the controls (and its values kept out of the
// SQL text), refused bounds, the cell a coil moves a stimulus to, which drawing of each subject
// is overlaid, and when the window repaints.

#include "StudyFixture.h"

#include "AppState.h"
#include "DrawingView.h"
#include "EGrid.h"
#include "FAcumulados.h"
#include "Messages.h"
#include "StimulationComparison.h"
#include "StudyError.h"
#include "elegirpaciente.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>

using namespace StimulationComparison;

namespace {
const QString Initial = "(NumeroPulsos >= 0 AND NumeroPulsos <= 20) AND (PulsoFrecuencia >= 0 AND "
                        "PulsoFrecuencia <= 20) AND (PulsoIntensidad >= 0 AND PulsoIntensidad <= 100)";

// The SQL with every "?" replaced by its value, in order.
QString substituted(const Filtro &f) {
    QString result;
    int next = 0;
    for (const QChar c : f.sql) {
        result += c == '?' ? f.valores.value(next++).toString() : QString(c);
    }
    return next == f.valores.size() ? result : QStringLiteral("<values do not match>");
}
} // namespace

class StimulationComparisonTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<StudyFixture> m_study;
    std::unique_ptr<AppState> m_state;
    QList<Messages::Shown> m_messages;

    void addStimulus(int id, int point, int pulses, int coil, int orientation, const QString &drawing) {
        m_study->exec(
            "INSERT INTO estimulo (id, id_puntoestimulo, pasada, hayfosfeno, archivopuntos, orientacion, "
            "TipoBobina, PulsoTipo, NumeroPulsos, PulsoFrecuencia, PulsoIntensidad, PulsoFase) "
            "VALUES (?, ?, 1, 0, ?, ?, ?, 1, ?, 5, 80, 1)",
            {id, point, drawing, orientation, coil, pulses});
    }
    void writeDrawing(const QString &name, const QByteArray &content) {
        QDir().mkpath(m_study->dirPath() + "/study_puntos");
        QFile file(m_study->dirPath() + "/study_puntos/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    // With the centre at row 1, column 4, the point (1, -1) is cell 23.
    // Subject 1: at cell 23 a coil-3 stimulus oriented Down-Up (2) with drawing "A".
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
        addStimulus(1, 1, 1, 3, 2, "A");
        addStimulus(2, 2, 1, 1, 0, "");
        addStimulus(3, 2, 1, 1, 0, "B1");
        addStimulus(4, 2, 1, 1, 0, "B2");
        addStimulus(5, 4, 50, 1, 0, "C");
        for (const char *name : {"A", "B1", "B2", "C"}) {
            writeDrawing(name, "4\r\n0 2 2\r\n1 10 3\r\n1 10 10\r\n3 10 10\r\n");
        }
        m_study->release();
        m_state = std::make_unique<AppState>();
        QVERIFY(m_state->AbreBaseDatos(m_study->path()).isEmpty());
    }
    template <typename T> static T *child(QWidget *w, const char *name) {
        T *found = w->findChild<T *>(name);
        if (!found) {
            qFatal("no control %s", name);
        }
        return found;
    }
    static void selectSubjects(FAcumulados &w, const QList<int> &rows) {
        auto *list = child<QListWidget>(&w, "LPacientes");
        list->clearSelection();
        for (int row : rows) {
            list->item(row)->setSelected(true);
        }
    }

private slots:
    void init() {
        m_messages.clear();
        Messages::setResponder([this](const Messages::Shown &shown) {
            m_messages << shown;
            return false;
        });
    }
    void cleanup() {
        Messages::setResponder({});
        m_state.reset();
        m_study.reset();
    }

    void theFilterFollowsTheControlsWithItsValuesBoundApart_data() {
        QTest::addColumn<int>("coil");
        QTest::addColumn<int>("pulse");
        QTest::addColumn<int>("phase");
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QString>("text");
        QTest::newRow("initial controls") << -1 << -1 << -1 << -1 << Initial;
        QTest::newRow("Right-Left") << -1 << -1 << -1 << 1 << Initial + " AND (Orientacion = 1)";
        QTest::newRow("Cadwell en ocho") << 3 << -1 << -1 << -1 << Initial + " AND (TipoBobina = 3)";
        QTest::newRow("every list, Left-Right is code 0")
            << 1 << 2 << 2 << 0
            << Initial +
                   " AND (TipoBobina = 1) AND (PulsoTipo = 2) AND (PulsoFase = 2) AND (Orientacion = 0)";
    }
    void theFilterFollowsTheControlsWithItsValuesBoundApart() {
        QFETCH(int, coil);
        QFETCH(int, pulse);
        QFETCH(int, phase);
        QFETCH(int, orientation);
        QFETCH(QString, text);
        Condiciones c;
        c.bobina = coil;
        c.pulso = pulse;
        c.fase = phase;
        c.orientacion = orientation;
        const Filtro f = construyeFiltro(c);
        QVERIFY(f.ok());
        QCOMPARE(f.texto, text);
        QVERIFY(!f.sql.contains(QRegularExpression("[0-9]")));
        QCOMPARE(substituted(f), text);
    }

    void theWindowsListsGiveTheirCodesToTheFilter() {
        openStudy();
        FAcumulados w(*m_state, LlenaListaPacientes);
        QCOMPARE(w.windowTitle(), QStringLiteral("Comparinh stinmulations"));
        QCOMPARE(w.filtro().texto, Initial);
        QCOMPARE(child<QComboBox>(&w, "CFase")->currentText(), QStringLiteral("- Cualquiera"));
        child<QComboBox>(&w, "COrientacion")->setCurrentText("Right-Left");
        child<QComboBox>(&w, "CBobina")->setCurrentText("Cadwell en ocho");
        QCOMPARE(w.filtro().texto, Initial + " AND (TipoBobina = 3) AND (Orientacion = 1)");
    }

    void boundsThatAreNotWholeNumbersAreReportedAndNeverRun_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<QString>("bound");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << int(PulsosDesde) << ""
                               << "empty: type a whole number";
        QTest::newRow("blanks") << int(FrecuenciaHasta) << "  "
                                << "empty: type a whole number";
        QTest::newRow("word") << int(IntensidadDesde) << "abc"
                              << "\"abc\" is not a whole number";
        QTest::newRow("SQL") << int(PulsosHasta) << "20) OR (1=1"
                             << "\"20) OR (1=1\" is not a whole number";
        QTest::newRow("decimal") << int(IntensidadHasta) << "2.5"
                                 << "\"2.5\" is not a whole number";
        QTest::newRow("beyond 32 bits") << int(PulsosHasta) << "4294967296"
                                        << "\"4294967296\" is not a whole number";
    }
    void boundsThatAreNotWholeNumbersAreReportedAndNeverRun() {
        QFETCH(int, box);
        QFETCH(QString, bound);
        QFETCH(QString, reason);
        Condiciones c;
        c.limites[box] = bound;
        const Filtro f = construyeFiltro(c);
        QVERIFY(!f.ok());
        for (int i = 0; i < NumeroLimites; ++i) {
            QCOMPARE(f.problemas[i], i == box ? reason : QString());
        }
        QVERIFY(!f.sql.contains(bound.trimmed().isEmpty() ? "<none>" : bound));

        openStudy();
        QVERIFY_THROWS_EXCEPTION(StudyError, BuscadorDibujos(m_state->BaseDatos, f, 23, 1, 4));
    }

    void aCoilMovesAStimulusOneCellTowardsItsOrientation_data() {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("coil");
        QTest::addColumn<int>("cell");
        QTest::newRow("Left-Right") << 0 << 3 << 24;
        QTest::newRow("Right-Left") << 1 << 3 << 22;
        QTest::newRow("Down-Up") << 2 << 3 << 33;
        QTest::newRow("Up-Down") << 3 << 3 << 13;
        QTest::newRow("other orientation") << 4 << 3 << 23;
        QTest::newRow("other coil") << 2 << 1 << 23;
    }
    void aCoilMovesAStimulusOneCellTowardsItsOrientation() {
        QFETCH(int, orientation);
        QFETCH(int, coil);
        QFETCH(int, cell);
        QCOMPARE(DesplazaCelda(23, orientation, coil), cell);
    }

    void eachSubjectOverlaysItsFirstMatchingDrawing_data() {
        QTest::addColumn<int>("subject");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("pulsesTo");
        QTest::addColumn<QString>("drawing");
        QTest::newRow("coil 3 Down-Up recorded at 23, shown at 33") << 1 << 33 << "20"
                                                                    << "A";
        QTest::newRow("coil 3 Down-Up recorded at 23, not at 23") << 1 << 23 << "20"
                                                                  << "";
        QTest::newRow("first of two drawings, after one without") << 2 << 23 << "20"
                                                                  << "B1";
        QTest::newRow("point without stimuli, other out of bounds") << 3 << 23 << "20"
                                                                    << "";
        QTest::newRow("wider bounds") << 3 << 23 << "50"
                                      << "C";
        QTest::newRow("subject not in the study") << 9 << 23 << "20"
                                                  << "";
    }
    void eachSubjectOverlaysItsFirstMatchingDrawing() {
        QFETCH(int, subject);
        QFETCH(int, cell);
        QFETCH(QString, pulsesTo);
        QFETCH(QString, drawing);
        openStudy();
        Condiciones c;
        c.limites[PulsosHasta] = pulsesTo;
        BuscadorDibujos finder(m_state->BaseDatos, construyeFiltro(c), cell, 1, 4);
        QCOMPARE(finder.dibujo(subject), drawing);
    }

    void theWindowRepaintsOnClicksNotWhileTyping() {
        openStudy();
        FAcumulados w(*m_state, LlenaListaPacientes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(child<QListWidget>(&w, "LPacientes")->count(), 3);
        child<EGrid>(&w, "EGrid1")->setEIndex(23);
        selectSubjects(w, {0, 1, 2});
        QCOMPARE(w.dibujados(), QStringList({"B1"}));
        child<EGrid>(&w, "EGrid1")->setEIndex(33);
        QCOMPARE(w.dibujados(), QStringList({"A"}));

        // A mode changes the picture.
        auto *picture = child<DrawingView>(&w, "Picture1");
        const QImage lines = picture->image().copy();
        child<QRadioButton>(&w, "Option1_2")->setChecked(true);
        QVERIFY(picture->image() != lines);

        // Typing does not repaint; a click into a bound box does.
        child<EGrid>(&w, "EGrid1")->setEIndex(23);
        auto *to = child<QLineEdit>(&w, "TPulsos_1");
        to->selectAll();
        QTest::keyClicks(to, "0");
        QCOMPARE(w.dibujados(), QStringList({"B1"}));
        QTest::mouseClick(to, Qt::LeftButton);
        QCOMPARE(w.dibujados(), QStringList());
        to->setText("50");
        QTest::mouseClick(child<QLineEdit>(&w, "TPulsos_0"), Qt::LeftButton);
        QCOMPARE(w.dibujados(), QStringList({"B1", "C"}));
        if (qEnvironmentVariableIsSet("ZK_SCREENSHOTS")) {
            w.grab().save(qEnvironmentVariable("ZK_SCREENSHOTS") + "/comparison.png");
        }
        QVERIFY(m_messages.isEmpty());
    }

    void aBadBoundPaintsNothingAndIsShownOnItsBox() {
        openStudy();
        FAcumulados w(*m_state, LlenaListaPacientes);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        child<EGrid>(&w, "EGrid1")->setEIndex(23);
        selectSubjects(w, {1});
        QCOMPARE(w.dibujados(), QStringList({"B1"}));
        auto *from = child<QLineEdit>(&w, "TPulsoFrecuencia_0");
        auto *hint = child<QLabel>(&w, "LAviso");
        from->setText("five");
        QTest::mouseClick(from, Qt::LeftButton);
        QCOMPARE(w.dibujados(), QStringList());
        QVERIFY(hint->isVisible());
        QVERIFY(hint->text().startsWith("Frecuency (from): \"five\" is not a whole number"));
        QCOMPARE(from->toolTip(), QStringLiteral("\"five\" is not a whole number"));
        QCOMPARE(from->actions().size(), 1);
        QVERIFY(from->actions().constFirst()->isVisible());
        if (qEnvironmentVariableIsSet("ZK_SCREENSHOTS")) {
            w.grab().save(qEnvironmentVariable("ZK_SCREENSHOTS") + "/comparison-bad-bound.png");
        }

        // Corrected, the window goes on as before.
        from->setText("0");
        QTest::keyClick(from, Qt::Key_Return);
        QCOMPARE(w.dibujados(), QStringList({"B1"}));
        QVERIFY(!hint->isVisible());
        QVERIFY(!from->actions().constFirst()->isVisible());
        QVERIFY(m_messages.isEmpty());
    }
};

QTEST_MAIN(StimulationComparisonTest)
#include "tst_stimulation_comparison.moc"
