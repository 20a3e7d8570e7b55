#include "subjects/ReportOutput.h"

#include "core/SafeWrite.h"
#include "subjects/ReportPage.h"
#include "subjects/SubjectReport.h"

#include <QCoreApplication>
#include <QIODevice>
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

} // namespace

namespace ReportOutput {

bool printReport(const AppState &state, QString *why) {
    // The default printer only: without one Qt would quietly write a file instead.
    const QPrinterInfo impresora = QPrinterInfo::defaultPrinter();
    if (impresora.isNull()) {
        if (why) {
            *why = QCoreApplication::translate("ReportOutput", "There is no default printer");
        }
        return false;
    }
    QPrinter printer(impresora, QPrinter::HighResolution);
    printer.setDocName(QCoreApplication::translate("ReportOutput", "Subject report"));
    PrinterPage page(printer);
    return ImprimeInforme(state, page, why);
}

bool saveReportPdf(const AppState &state, const QString &ruta, QString *why) {
    // The PDF goes to a file written all or nothing: the writer itself says nothing of a full disk,
    // the file does when it is committed. A report that fails leaves no file behind, and a file that
    // was there stays as it was.
    return SafeWrite::writeThroughDevice(
        ruta,
        [&state](QIODevice &fichero) {
            QPdfWriter writer(&fichero);
            const bool pulgadas = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
            // The printable area of a common laser printer: a quarter of an inch all round.
            writer.setPageLayout(QPageLayout(QPageSize(pulgadas ? QPageSize::Letter : QPageSize::A4),
                                             QPageLayout::Portrait, QMarginsF(6.35, 6.35, 6.35, 6.35),
                                             QPageLayout::Millimeter));
            writer.setTitle(QCoreApplication::translate("ReportOutput", "Subject report"));
            writer.setCreator(QStringLiteral("ZoKorvane"));
            PainterReportPage page(writer);
            QString motivo;
            try {
                // A report with nothing in it is still a file: one empty page.
                page.begin();
            } catch (const PrinterError &e) {
                page.cancelDocument();
                return QString::fromStdString(e.what());
            }
            if (ImprimeInforme(state, page, &motivo)) {
                return QString();
            }
            return motivo.isEmpty()
                       ? QCoreApplication::translate("ReportOutput", "the report could not be laid out")
                       : motivo;
        },
        why);
}

} // namespace ReportOutput
