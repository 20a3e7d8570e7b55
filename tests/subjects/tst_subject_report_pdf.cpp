// The subject report as a PDF file, from the tool and from the main window, and the printer item
// without a printer. The PDF's text is read back with pdftotext.

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "data/LegacyImport.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/Widgets.h"

#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

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

class SubjectReportPdfTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_study;
    MessageLog m_messages;

private slots:
    void initTestCase() {
        // The real legacy study with its drawings, converted as the program converts it.
        const QString mdb = copyLegacyStudy(m_dir.path());
        m_study = LegacyImport::studyPathFor(mdb);
        LegacyImport::importMdb(mdb, m_study);
    }

    void init() { m_messages.clear(); }

    void toolWritesEveryExperimentOfTheSubjectAsText() {
        if (!hasPdfToText()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString pdf = m_dir.filePath(u"subject4.pdf"_s);
        QCOMPARE(runProgram({}, {"report", "--subject", "4", "--pdf", pdf, m_study}), 0);
        const QString header = u"Subject: Ana Ruiz"_s;
        QCOMPARE(
            reportLines(pdf),
            QStringList({header,      "Experiment: 1", "Index: 37", "Index: 39", "Index: 1",  "Index: 17",
                         header,      "Experiment: 2", "Index: 30", "Index: 27", "Index: 14", "Index: 19",
                         "Index: 0",  "Index: 48",     "Index: 24", "Index: 25", header,      "Experiment: 3",
                         "Index: 25", "Index: 33",     "Index: 23"}));
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
        args.replaceInStrings(u"STUDY"_s, m_study).replaceInStrings(u"OUT"_s, out);
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
        AppState state;
        MainWindow w(state);
        QVERIFY(w.openStudy(m_study));
        state.FijaPaciente(3, u"Paco Díaz"_s, 1, 4);

        const QString pdf = m_dir.filePath(u"from window.pdf"_s);
        QVERIFY(w.saveReportPdf(pdf) && fileBytes(pdf).startsWith("%PDF-") && m_messages.isEmpty());
        if (hasPdfToText()) {
            QCOMPARE(reportLines(pdf).mid(0, 3),
                     QStringList({"Subject: Paco Díaz", "Experiment: 1", "Index: 8"}));
        }
        const QString nowhere = m_dir.filePath(u"no such dir/report.pdf"_s);
        QVERIFY(!w.saveReportPdf(nowhere));
        QVERIFY(m_messages.size() == 1 &&
                m_messages[0].text.startsWith("Cannot write the report to " + nowhere));

        // Only without a default printer: with one, the test would print on it.
        if (QPrinterInfo::defaultPrinter().isNull()) {
            child<QAction>(&w, "MRInforme")->setEnabled(true);
            child<QAction>(&w, "MRInforme")->trigger();
            QCOMPARE(m_messages.value(1).title + ": " + m_messages.value(1).text,
                     u"Printer error: Sorry, we can\u00B4t print the report"_s);
        }
        state.CierraBaseDatos();
    }
};

QTEST_MAIN(SubjectReportPdfTest)
#include "tst_subject_report_pdf.moc"
