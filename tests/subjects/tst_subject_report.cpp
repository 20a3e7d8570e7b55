// The subject report's layout, on a page that records what is drawn: slot geometry, paging of an
// experiment, the header once per experiment, the contents of a cell, the miniature or the crossed
// frame, the experiments printed, and a failure cancelling the document. Then the report as a PDF
// file, from the tool and from the main window, and the printer item without a printer; the PDF's
// text is read back with pdftotext.

#include "data/StudyDrawings.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/StudyFixture.h"
#include "support/Widgets.h"

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "data/LegacyImport.h"
#include "drawings/DrawingFile.h"
#include "subjects/ReportPage.h"
#include "subjects/SubjectReport.h"

#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

// A page that logs every call as a line of text: "T x,y text", "L x1,y1 x2,y2", "new page", "end"
// and "cancel". Lines of text are LineHeight units high.
class RecordingPage : public ReportPage {
public:
    static constexpr double LineHeight = 100;
    QStringList log;
    bool failOnNewPage = false;

    // Letter at 1200 dots per inch inside a quarter-inch printable margin.
    double width() const override { return 9600; }
    double height() const override { return 12600; }
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setPrintPosition(double x, double y) override { std::tie(m_x, m_y) = std::pair(x, y); }
    void print(const QString &text) override {
        log << u"T %1,%2 %3"_s.arg(m_x).arg(m_y).arg(text);
        m_x = 0;
        m_y += LineHeight;
    }
    void line(double x1, double y1, double x2, double y2) override {
        log << u"L %1,%2 %3,%4"_s.arg(x1).arg(y1).arg(x2).arg(y2);
    }
    void newPage() override {
        if (failOnNewPage) {
            throw PrinterError(u"out of paper"_s);
        }
        log << u"new page"_s;
        m_x = m_y = 0;
    }
    void endDocument() override { log << u"end"_s; }
    void cancelDocument() override { log << u"cancel"_s; }

private:
    double m_x = 0, m_y = 0;
};

// On Letter, slots lie at x 480, 2640, 4800, 6960 and y 504, 3402, 6300, 9198, frame side 1920.
constexpr int Side = 1920;

QString stimulusDate() {
    return SubjectReport::dateText(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
}

// Subject 3 "Paco Díaz" chosen in a fresh study, grid centre row 1, column 4.
struct ChosenSubject {
    StudyFixture study;
    AppState state;
    ChosenSubject() {
        study.addSubject(3, "Paco", u"Díaz"_s);
        state.RutaBaseDatos = study.path();
        state.BaseDatos = study.db();
        state.FijaPaciente(3, u"Paco Díaz"_s, 1, 4);
    }
    // The study is the fixture's to close.
    ~ChosenSubject() {
        state.BaseDatos = QSqlDatabase();
        state.RutaBaseDatos.clear();
    }
    // Point 1 of `subject` at the grid centre with a stimulus in each of `pasadas`, each with the
    // drawing "311" holding `drawing` unless that is empty.
    void addPoint(int subject = 3, const QList<int> &pasadas = {1}, const QByteArray &drawing = {}) {
        study.addPoint(1, 1, subject, 0, 0, pasadas.last());
        for (int i = 0; i < pasadas.size(); ++i) {
            study.addStimulus(i + 1, 1, pasadas.at(i), 0, drawing.isEmpty() ? QString() : u"311"_s);
            if (!drawing.isEmpty()) {
                StudyDrawings::store(study.db(), i + 1, drawing);
            }
        }
    }
};

// Header lines and cell numbers of a PDF, in reading order (rows of the page left to right).
QStringList reportLines(const QString &pdf) {
    QString all;
    runProgram(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s}, &all);
    static const QRegularExpression item(u"Subject: .*|Experiment: \\d+|Index: \\d+"_s);
    QStringList lines;
    for (auto match = item.globalMatch(all); match.hasNext();) {
        lines << match.next().captured().simplified();
    }
    return lines;
}

bool hasPdfToText() {
    return !QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty();
}

} // namespace

class SubjectReportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_legacy; // the real legacy study with its drawings, converted as the program converts it

private slots:
    void initTestCase() {
        const QString mdb = copyLegacyStudy(m_dir.path());
        m_legacy = LegacyImport::studyPathFor(mdb);
        LegacyImport::importMdb(mdb, m_legacy);
    }

    // Each page's slots: {page width, height, the four columns' x, the four rows' y, the frame's side}.
    // On a small page the half margin 2.5 and cell width 22.5 round down to even, 3.5 and 31.5 up.
    void everySlotLiesOnTheGridOfItsPage() {
        for (const auto &[w, h, xs, ys, side] :
             QList<std::tuple<double, double, QList<int>, QList<double>, int>>{
                 {9600, 12600, {480, 2640, 4800, 6960}, {504, 3402, 6300, 9198}, Side},
                 {100, 150, {5, 27, 49, 71}, {6, 40.5, 75, 109.5}, 20},
                 {140, 150, {7, 39, 71, 103}, {6, 40.5, 75, 109.5}, 28}}) {
            for (int p = 0; p < SubjectReport::SlotsPerPage; ++p) {
                const SubjectReport::SlotGeometry g = SubjectReport::slotGeometry(w, h, p);
                QCOMPARE(QList<double>({double(g.x), g.y, double(g.s)}),
                         QList<double>({double(xs[p % 4]), ys[p / 4], double(side)}));
            }
        }
    }
    // Seventeen points of experiment 1: sixteen cells in slot order, then a new page with the
    // seventeenth in slot 0 and no header, then the page after the experiment; then experiment 3,
    // two numbers on, with the one point stimulated in it.
    void seventeenthCellStartsTheNextPageWithoutHeader() {
        ChosenSubject chosen;
        // Grid cells 0 to 8 and 10 to 18; the point of cell 4 has no stimulus in experiment 1 and
        // takes no slot.
        for (int i = 1; i <= 18; ++i) {
            chosen.study.addPoint(i, i, 3, (i - 1) / 9 - 1, (i - 1) % 9 - 4, 1);
            chosen.study.addStimulus(i, i, i == 5 ? 3 : 1);
        }
        RecordingPage page;
        QVERIFY(ImprimeInforme(chosen.state, page));

        QStringList expected{u"T 0,0 Subject: Paco Díaz"_s, u"T 0,100 Experiment: 1"_s};
        const QList<int> cells{0, 1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 18};
        for (int p = 0; p < cells.size(); ++p) {
            if (p == 16) {
                expected << u"new page"_s;
            }
            const SubjectReport::SlotGeometry g = SubjectReport::slotGeometry(9600, 12600, p % 16);
            expected << u"T %1,%2 Index: %3      %4"_s.arg(g.x).arg(g.y).arg(cells[p]).arg(stimulusDate());
        }
        expected << u"new page"_s << u"T 0,0 Subject: Paco Díaz"_s << u"T 0,100 Experiment: 3"_s
                 << u"T 480,504 Index: 4      "_s + stimulusDate() << u"new page"_s << u"end"_s;
        static const QRegularExpression outline(u"Subject: |Experiment: |Index: |^new page|^end"_s);
        QCOMPARE(page.log.filter(outline), expected);
    }

    // One cell in slot 5 from the stimulus as stored (dated, intensity 3, white, no observations, no
    // drawing) with these changes, the drawing "311" holding `drawing` unless that is empty.
    void cellShowsItsTextsAndItsDrawingOrACrossedFrame_data() {
        QTest::addColumn<QString>("changes");
        QTest::addColumn<QByteArray>("drawing");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("inside");
        const QStringList crossed{u"L 2640,3502 4560,5422"_s, u"L 2640,5422 4560,3502"_s};
        // The first point moves the pen; lines from it scaled by side / 12.9: 6 * 1920 / 12.9 = 893.02,
        // 3 * 1920 / 12.9 = 446.51, 12 * 1920 / 12.9 = 1786.05.
        const QByteArray drawing("3\r\n0 0 0\r\n1 6 3\r\n3 12 12\r\n");
        const QStringList miniature{u"L 2640,3502 3533,3949"_s, u"L 3533,3949 4426,5288"_s};
        const QString indexLine = u"Index: 14      "_s + stimulusDate();
        QTest::newRow("everything, no drawing")
            << u"observaciones = 'flash, left'"_s << QByteArray()
            << QStringList{indexLine, "flash, left", "Intensity: 3", "Color: white"} << crossed;
        QTest::newRow("null date, missing drawing")
            << u"fecha = NULL, archivopuntos = '311'"_s << QByteArray()
            << QStringList{"Index: 14", "Intensity: 3", "Color: white"} << crossed;
        QTest::newRow("intensity 0 printed, empty colour not, drawing")
            << u"intensidad = 0, color = '', archivopuntos = '311'"_s << drawing
            << QStringList{indexLine, "Intensity: 0"} << miniature;
        QTest::newRow("all null, drawing by its old name")
            << u"fecha = NULL, observaciones = NULL, intensidad = NULL, color = NULL, archivopuntos = 'p\\311'"_s
            << drawing << QStringList{"Index: 14"} << miniature;
    }
    void cellShowsItsTextsAndItsDrawingOrACrossedFrame() {
        QFETCH(QString, changes);
        QFETCH(QByteArray, drawing);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, inside);
        ChosenSubject chosen;
        chosen.addPoint(3, {1}, drawing);
        chosen.study.exec(u"UPDATE estimulo SET "_s + changes);
        RecordingPage page;
        QVERIFY(ImprimePunto(chosen.state, page, "Paco Díaz", true, 1, 1, 14, 5));
        // Slot 5 at 2640,3402: the index line at the slot, the frame one line below with its sides
        // clockwise from the top, the other texts under the frame.
        for (qsizetype i = 0; i < texts.size(); ++i) {
            texts[i] = u"T 2640,%1 %2"_s.arg(i == 0 ? 3402 : 3402 + Side + i * RecordingPage::LineHeight)
                           .arg(texts[i]);
        }
        QCOMPARE(page.log.filter(QRegularExpression(u"^T "_s)), texts);
        const QStringList frame{u"L 2640,3502 4560,3502"_s, u"L 4560,3502 4560,5422"_s,
                                u"L 4560,5422 2640,5422"_s, u"L 2640,5422 2640,3502"_s};
        QCOMPARE(page.log.filter(QRegularExpression(u"^L "_s)), frame + inside);
    }

    // The report of subject 3: every experiment with a stimulus of the subject, in order, whatever the
    // gaps, each with its header and a new page after it, the document ended once; or, on a printer
    // failure, the document cancelled with the reason. A drawing that cannot be read is a crossed
    // frame, not a failure.
    void reportPrintsExperimentsInOrderOrCancels_data() {
        QTest::addColumn<int>("subject");
        QTest::addColumn<QList<int>>("pasadas");
        QTest::addColumn<QByteArray>("drawing");
        QTest::addColumn<bool>("failOnNewPage");
        QTest::addColumn<QString>("why");
        QTest::addColumn<QStringList>("outline");
        const QString s = u"Subject: Paco Díaz"_s, page = u"new page"_s, end = u"end"_s, cancel = u"cancel"_s;
        const QString e1 = u"Experiment: 1"_s, e2 = u"Experiment: 2"_s, e3 = u"Experiment: 3"_s;
        QTest::newRow("1, 2 and 3") << 3 << QList<int>{3, 1, 2} << QByteArray() << false << QString()
                                    << QStringList{s, e1, page, s, e2, page, s, e3, page, end};
        QTest::newRow("subject without points")
            << 4 << QList<int>{1} << QByteArray() << false << QString() << QStringList{end};
        QTest::newRow("printer fails")
            << 3 << QList<int>{1} << QByteArray() << true << u"out of paper"_s << QStringList{s, e1, cancel};
        QTest::newRow("unreadable drawing") << 3 << QList<int>{1} << QByteArray("2\r\n0 1 1\r\n1 x 2\r\n")
                                            << false << QString() << QStringList{s, e1, page, end};
    }
    void reportPrintsExperimentsInOrderOrCancels() {
        QFETCH(int, subject);
        QFETCH(QList<int>, pasadas);
        QFETCH(QByteArray, drawing);
        QFETCH(QString, why);
        QFETCH(QStringList, outline);
        ChosenSubject chosen;
        chosen.study.addSubject(4, "Ana");
        chosen.addPoint(subject, pasadas, drawing);
        RecordingPage page;
        QFETCH(bool, failOnNewPage);
        page.failOnNewPage = failOnNewPage;
        QString reason;
        QCOMPARE(ImprimeInforme(chosen.state, page, &reason), why.isEmpty());
        QVERIFY2(reason.contains(why), qPrintable(reason));
        static const QRegularExpression headers(u"Subject: |Experiment: |^new page|^end|^cancel"_s);
        QCOMPARE(page.log.filter(headers).replaceInStrings(QRegularExpression(u"^T \\S+ "_s), {}), outline);
        QVERIFY(outline != QStringList{u"end"_s} || page.log == outline); // an empty document
    }

    void toolWritesTheReportAsText() {
        if (!hasPdfToText()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString pdf = m_dir.filePath(u"subject4.pdf"_s);
        QCOMPARE(runProgram({}, {"report", "--subject", "4", "--pdf", pdf, m_legacy}), 0);
        // The first page's header and cells in reading order; the paging is the layout's tests'.
        QCOMPARE(reportLines(pdf).mid(0, 6), QStringList({"Subject: Ana Ruiz", "Experiment: 1", "Index: 37",
                                                          "Index: 39", "Index: 1", "Index: 17"}));
    }

    void toolRefusesWhatItCannotReport_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("says");
        QTest::newRow("subject not a number")
            << QStringList{"--subject", "x", "--pdf", "OUT", "STUDY"} << 2 << u"usage:"_s;
        QTest::newRow("unknown subject")
            << QStringList{"--subject", "99", "--pdf", "OUT", "STUDY"} << 1 << u"no subject 99"_s;
        QTest::newRow("missing study")
            << QStringList{"--subject", "1", "--pdf", "OUT", "MISSING"} << 1 << u"cannot open"_s;
    }
    void toolRefusesWhatItCannotReport() {
        QFETCH(QStringList, args);
        const QString out = m_dir.filePath(u"refused.pdf"_s);
        args.replaceInStrings(u"STUDY"_s, m_legacy).replaceInStrings(u"OUT"_s, out);
        args.replaceInStrings(u"MISSING"_s, m_dir.filePath(u"missing.sqlite"_s));
        QString errors;
        QTEST(runProgram({}, QStringList{u"report"_s} + args, &errors), "exitCode");
        QFETCH(QString, says);
        QVERIFY2(errors.contains(says), qPrintable(errors));
        QVERIFY(!QFile::exists(out));
    }

    // "Save subject report as PDF..." writes the file or says why not; "Print subject report" with
    // no printer says so.
    void mainWindowSavesOrPrintsTheReportOrSaysWhyNot() {
        MessageLog messages;
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(m_legacy));
        state.FijaPaciente(3, u"Paco Díaz"_s, 1, 4);

        const QString pdf = m_dir.filePath(u"from window.pdf"_s);
        QVERIFY(w.saveReportPdf(pdf) && fileBytes(pdf).startsWith("%PDF-") && messages.isEmpty());
        const QString nowhere = m_dir.filePath(u"no such dir/report.pdf"_s);
        QVERIFY(!w.saveReportPdf(nowhere));
        QVERIFY(messages.size() == 1 && messages[0].text.startsWith("Cannot write the report to " + nowhere));

        // Only without a default printer: with one, the test would print on it.
        if (QPrinterInfo::defaultPrinter().isNull()) {
            child<QAction>(&w, "MRInforme")->setEnabled(true);
            child<QAction>(&w, "MRInforme")->trigger();
            QCOMPARE(messages.value(1).title + ": " + messages.value(1).text,
                     u"Printer error: Sorry, we can\u00B4t print the report"_s);
        }
        state.CierraBaseDatos();
    }
};

QTEST_MAIN(SubjectReportTest)
#include "tst_subject_report.moc"
