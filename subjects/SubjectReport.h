#pragma once

#include "drawings/DrawingFile.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

class AppState;
class ReportPage;

// The subject report: every experiment of the current subject, in the order 1, 2, 3, ... up to
// the first number with no stimulus, one cell per stimulated grid point, sixteen cells to a page in
// a 4 x 4 layout. A cell holds the grid cell number and the date, a framed miniature of the drawing
// (or a crossed frame when there is none), the observations, the intensity and the colour.
//
// The layout draws on a ReportPage and knows nothing of printers or windows: the printer, the PDF
// file and the tests give it their own page.
namespace SubjectReport {

inline constexpr int SlotsPerPage = 16;

// Where slot `posicion` (0 to 15) of a page of width w and height h lies, in the page's units.
// Margins and cell width are rounded to whole units, halves to even; the top of a row is not.
struct SlotGeometry {
    int mx = 0;   // horizontal margin, w / 20
    int my = 0;   // vertical margin, h / 25
    int m2 = 0;   // half margin, mx / 2
    int cw = 0;   // cell width, (w - 2 mx) / 4
    int x = 0;    // left of the cell
    double y = 0; // top of the cell
    int s = 0;    // side of the square frame, cw - m2
};
SlotGeometry slotGeometry(double w, double h, int posicion);

// A date and time as the system writes it: its short date, then its time with seconds (no time at
// midnight, as the original program's date text did).
QString dateText(const QDateTime &fecha, const QLocale &locale = QLocale::system());
// The first line of a cell: "Index: " and the cell number, then six blanks and the date when the
// stimulus has one. A `fecha` that is not a date is printed as stored.
QString indexLine(int indice, const QVariant &fecha, const QLocale &locale = QLocale::system());

} // namespace SubjectReport

// The rectangle with top-left corner (x, y), sides drawn clockwise from the top one, and, with
// `cruz`, its diagonals: top-left to bottom-right, then bottom-left to top-right.
void DibujaMarco(ReportPage &page, int x, int y, int ancho, int alto, bool cruz);

// The drawing's records scaled into the square of side s at (x0, y0): the 12.9 x 12.9 units of the
// drawing canvas span the whole square.
void DibujaDibujoImpreso(ReportPage &page, const QList<DrawingFile::PointRecord> &records, int x0, int y0,
                         int s);

// Prints the stimulus of point `idPunto` in experiment `pasada` into slot `posicion`, after the
// experiment's header ("Subject: ", "Experiment: ") when `cabeceraHecha` is false. False, with
// nothing printed, when the point has no stimulus in that experiment. Throws StudyError and
// PrinterError.
bool ImprimePunto(const AppState &state, ReportPage &page, const QString &nombre, bool cabeceraHecha,
                  int pasada, int idPunto, int indice, int posicion);

// Prints the report of the current subject, every experiment that has stimuli of the subject in
// experiment order, and ends the document. A drawing that is missing or cannot be read prints as a
// crossed frame. On any failure the document is
// cancelled and false is returned, with the reason in `why` when given.
bool ImprimeInforme(const AppState &state, ReportPage &page, QString *why = nullptr);
