#pragma once

#include <QString>

class AppState;

// Where the subject report goes: the default printer or a PDF file. Both lay the report out with
// the same code (SubjectReport.h); these only choose and open the device.
namespace ReportOutput {

// Prints the report of the current subject on the default printer, with no dialog. False when
// there is no printer or printing failed; the document was cancelled then, and `why` says what
// happened when given.
bool printReport(const AppState &state, QString *why = nullptr);

// Writes the report of the current subject to a PDF file (A4, or Letter where the system measures
// in inches) whose text can be selected and searched. False when it could not be written; then no
// file is left behind and `why` says what happened when given.
bool saveReportPdf(const AppState &state, const QString &ruta, QString *why = nullptr);

} // namespace ReportOutput
