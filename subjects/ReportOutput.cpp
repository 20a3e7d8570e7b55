#include "ReportOutput.h"

#include "ReportPage.h"
#include "SubjectReport.h"

#include <QFile>
#include <QLocale>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

class PrinterPage : public PainterReportPage {
public:
    explicit PrinterPage(QPrinter &printer) : PainterReportPage(printer), m_printer(printer) {}

protected:
    void abandon(QPainter &painter) override {
        if (painter.isActive()) {
            m_printer.abort();
            painter.end();
        }
    }

private:
    QPrinter &m_printer;
};

class PdfPage : public PainterReportPage {
public:
    PdfPage(QPdfWriter &writer, const QString &ruta) : PainterReportPage(writer), m_ruta(ruta) {}

protected:
    void abandon(QPainter &painter) override {
        // Only a file this report started is removed, never one the writer could not open.
        const bool escrito = painter.isActive();
        PainterReportPage::abandon(painter);
        if (escrito) {
            QFile::remove(m_ruta);
        }
    }

private:
    QString m_ruta;
};

} // namespace

namespace ReportOutput {

bool imprimeInforme(const AppState &state, QString *why) {
    // The default printer only: without one Qt would quietly write a file instead.
    const QPrinterInfo impresora = QPrinterInfo::defaultPrinter();
    if (impresora.isNull()) {
        if (why) {
            *why = QStringLiteral("There is no default printer");
        }
        return false;
    }
    QPrinter printer(impresora, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Subject report"));
    PrinterPage page(printer);
    return ImprimeInforme(state, page, why);
}

bool guardaInformePdf(const AppState &state, const QString &ruta, QString *why) {
    QPdfWriter writer(ruta);
    const bool pulgadas = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
    // The printable area of a common laser printer: a quarter of an inch all round.
    writer.setPageLayout(QPageLayout(QPageSize(pulgadas ? QPageSize::Letter : QPageSize::A4),
                                     QPageLayout::Portrait, QMarginsF(6.35, 6.35, 6.35, 6.35),
                                     QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("Subject report"));
    writer.setCreator(QStringLiteral("ZoKorvane"));
    PdfPage page(writer, ruta);
    try {
        // A report with nothing in it is still a file: one empty page.
        page.begin();
    } catch (const PrinterError &e) {
        page.cancelDocument();
        if (why) {
            *why = QString::fromStdString(e.what());
        }
        return false;
    }
    return ImprimeInforme(state, page, why);
}

} // namespace ReportOutput
