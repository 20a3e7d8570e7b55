// The subject report as a PDF file, from the tool and from the main window, and the printer item
// without a printer. The PDF's text is read back with pdftotext.

#include "StudyFixture.h"

#include "AppState.h"
#include "LegacyImport.h"
#include "MainWindow.h"
#include "Messages.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString testData(const QString &name) {
    return qEnvironmentVariable("ZK_TEST_DATA") + QLatin1Char('/') + name;
}

int runTool(const QStringList &args, QString *errors = nullptr) {
    QProcess tool;
    tool.start(qEnvironmentVariable("ZK_TOOL"), args);
    if (!tool.waitForFinished(60000)) {
        return -1;
    }
    if (errors) {
        *errors = QString::fromUtf8(tool.readAllStandardError());
    }
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

// Header lines and cell numbers of a PDF, in reading order (rows of the page left to right).
QStringList reportLines(const QString &pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!text.waitForFinished(60000)) {
        return {};
    }
    const QString all = QString::fromUtf8(text.readAllStandardOutput());
    static const QRegularExpression item(QStringLiteral("Subject: .*|Experiment: \\d+|Index: \\d+"));
    QStringList lines;
    for (auto match = item.globalMatch(all); match.hasNext();) {
        lines << match.next().captured().simplified();
    }
    return lines;
}

bool hasPdfToText() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

} // namespace

class SubjectReportPdfTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_study;
    QList<Messages::Shown> m_messages;

private slots:
    void initTestCase() {
        // The real legacy study with its drawings, converted as the program converts it.
        const QString mdb = m_dir.filePath(QStringLiteral("legacy-study.mdb"));
        QVERIFY(QFile::copy(testData(QStringLiteral("legacy-study.mdb")), mdb));
        const QString drawings = testData(QStringLiteral("legacy-study_puntos"));
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("legacy-study_puntos"))));
        for (const QString &name : QDir(drawings).entryList(QDir::Files)) {
            QVERIFY(QFile::copy(drawings + QLatin1Char('/') + name,
                                m_dir.filePath(QStringLiteral("legacy-study_puntos/") + name)));
        }
        m_study = LegacyImport::studyPathFor(mdb);
        LegacyImport::importMdb(mdb, m_study);
    }

    void init() {
        m_messages.clear();
        Messages::setResponder([this](const Messages::Shown &shown) {
            m_messages << shown;
            return false;
        });
    }
    void cleanup() { Messages::setResponder({}); }

    void toolWritesEveryExperimentOfTheSubjectAsText() {
        if (!hasPdfToText()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        const QString pdf = m_dir.filePath(QStringLiteral("subject4.pdf"));
        QString errors;
        QCOMPARE(runTool({"report", "--subject", "4", "--pdf", pdf, m_study}, &errors), 0);
        const QString header = QStringLiteral("Subject: Ana Ruiz");
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
        QTest::newRow("no subject") << QStringList{"--pdf", "out.pdf", "STUDY"} << 2 << "usage:";
        QTest::newRow("subject not a number")
            << QStringList{"--subject", "x", "--pdf", "out.pdf", "STUDY"} << 2 << "usage:";
        QTest::newRow("unknown subject")
            << QStringList{"--subject", "99", "--pdf", "out.pdf", "STUDY"} << 1 << "no subject 99";
        QTest::newRow("missing study")
            << QStringList{"--subject", "1", "--pdf", "out.pdf", "missing.sqlite"} << 1 << "cannot open";
    }
    void toolRefusesWhatItCannotReport() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, says);
        args.replaceInStrings(QStringLiteral("STUDY"), m_study);
        args.replaceInStrings(QStringLiteral("out.pdf"), m_dir.filePath(QStringLiteral("refused.pdf")));
        args.replaceInStrings(QStringLiteral("missing.sqlite"),
                              m_dir.filePath(QStringLiteral("missing.sqlite")));
        QString errors;
        QCOMPARE(runTool(QStringList{"report"} + args, &errors), exitCode);
        QVERIFY2(errors.contains(says), qPrintable(errors));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("refused.pdf"))));
    }

    void mainWindowSavesTheReportOrSaysWhyNot() {
        AppState state;
        MainWindow w(state);
        QVERIFY(w.abreEstudio(m_study));
        state.FijaPaciente(3, QStringLiteral("Paco Díaz"), 5, 9, 1, 4);

        const QString pdf = m_dir.filePath(QStringLiteral("from window.pdf"));
        QVERIFY(w.guardaInformePdf(pdf));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
        if (hasPdfToText()) {
            QCOMPARE(reportLines(pdf).mid(0, 3),
                     QStringList({"Subject: Paco Díaz", "Experiment: 1", "Index: 8"}));
        }
        QVERIFY(m_messages.isEmpty());

        const QString nowhere = m_dir.filePath(QStringLiteral("no such dir/report.pdf"));
        QVERIFY(!w.guardaInformePdf(nowhere));
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages.first().text.startsWith("Cannot write the report to " + nowhere));
        QVERIFY(!QFile::exists(nowhere));
        state.CierraBaseDatos();
    }

    void printingWithoutAPrinterSaysSo() {
        if (!QPrinterInfo::defaultPrinter().isNull()) {
            QSKIP("this machine has a default printer; the test would print on it");
        }
        AppState state;
        MainWindow w(state);
        QVERIFY(!w.findChild<QAction *>("MRInformePDF")->isEnabled());
        QVERIFY(w.abreEstudio(m_study));
        state.FijaPaciente(3, QStringLiteral("Paco Díaz"), 5, 9, 1, 4);
        w.findChild<QAction *>("MRInforme")->setEnabled(true);
        w.findChild<QAction *>("MRInforme")->trigger();
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().text, QStringLiteral("Sorry, we can\u00B4t print the report"));
        QCOMPARE(m_messages.first().title, QStringLiteral("Printer error"));
        state.CierraBaseDatos();
    }
};

QTEST_MAIN(SubjectReportPdfTest)
#include "tst_subject_report_pdf.moc"
