#include "results/StudyExport.h"

#include "Version.h"
#include "brain/Normalise.h"
#include "core/GridCells.h"
#include "data/Answer.h"
#include "data/Query.h"
#include "data/StoredValue.h"
#include "data/Study.h"
#include "data/StudyDrawings.h"
#include "data/StudyError.h"
#include "drawings/DrawingFile.h"
#include "drawings/DrawingShape.h"
#include "experiments/ParameterLists.h"
#include "imaging/GridAim.h"
#include "imaging/ImagingError.h"
#include "imaging/NiftiFiles.h"
#include "results/StimulationSites.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QVariant>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <span>

namespace StudyExport {

namespace {

// The columns of the stimulus query, in the order of its SELECT.
enum Column {
    SubjectId,
    Experiment,
    Fila,
    Columna,
    CentreRow,
    CentreColumn,
    AnswerColumn,
    Colour,
    Brightness,
    Coil,
    PulseType,
    Phase,
    Orientation,
    Pulses,
    Frequency,
    Intensity,
    Date,
    Observations,
    DrawingName,
    DrawingPoints,
    StimulusId,
};

const QString StimulusQuery = QStringLiteral(
    "SELECT puntoestimulacion.Id_paciente, estimulo.pasada, puntoestimulacion.fila, "
    "puntoestimulacion.columna, "
    "paciente.FilaCentro, paciente.ColumnaCentro, estimulo.hayfosfeno, estimulo.color, estimulo.intensidad, "
    "estimulo.TipoBobina, estimulo.PulsoTipo, estimulo.PulsoFase, estimulo.orientacion, "
    "estimulo.NumeroPulsos, "
    "estimulo.PulsoFrecuencia, estimulo.PulsoIntensidad, estimulo.fecha, estimulo.observaciones, "
    "estimulo.archivopuntos, drawing.points, estimulo.id FROM estimulo LEFT JOIN puntoestimulacion ON "
    "puntoestimulacion.ID = estimulo.id_puntoestimulo LEFT JOIN paciente ON paciente.ID = "
    "puntoestimulacion.Id_paciente LEFT JOIN drawing ON drawing.stimulus_id = estimulo.id "
    "ORDER BY puntoestimulacion.Id_paciente IS NULL, puntoestimulacion.Id_paciente, estimulo.id");

QString whole(const QVariant &value) {
    return value.isNull() ? QString() : QString::number(value.toLongLong());
}

// A subject's BIDS label, "sub-" and letters and digits only: a negative ID (a legacy study may hold
// one) is "sub-neg1", never "sub--1".
QString subjectLabel(qint64 id) {
    return QStringLiteral("sub-") + (id < 0 ? QStringLiteral("neg") : QString()) +
           QString::number(std::abs(id));
}

QString decimal(double value) {
    return QString::number(value, 'g', 10);
}

// A list's caption for a stored code; the code itself when no caption has it.
QString caption(std::span<const ParameterLists::Item> items, const QVariant &value) {
    if (value.isNull()) {
        return QString();
    }
    for (const ParameterLists::Item &item : items) {
        if (item.code == value.toInt()) {
            return QString::fromUtf8(item.caption);
        }
    }
    return whole(value);
}

QString answer(const QVariant &value) {
    const std::optional<QString> name = value.isNull() ? std::nullopt : Answer::name(value.toInt());
    return name ? *name : whole(value);
}

QString dateTime(const QVariant &value) {
    if (value.isNull()) {
        return QString();
    }
    QDateTime when = value.toDateTime();
    if (!when.isValid()) {
        when = QDateTime::fromString(value.toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    return when.isValid() ? when.toString(Qt::ISODate) : value.toString();
}

// The fields of one stimulus, in the order of stimulusColumns(). `hasDrawing` tells whether the
// drawing figures were filled.
QStringList stimulusFields(const QSqlQuery &q, bool hasDrawing, const DrawingShape::Figures &d) {
    QStringList f;
    f.reserve(26);
    const QVariant centreRow = q.value(CentreRow), centreColumn = q.value(CentreColumn);
    const int cell =
        centreRow.isNull() || centreColumn.isNull()
            ? -1
            : GridCells::cellAt(Query::integer<qint16>(q.value(Fila), "puntoestimulacion", "fila"),
                                Query::integer<qint16>(q.value(Columna), "puntoestimulacion", "columna"),
                                Query::integer<qint16>(centreRow, "paciente", "FilaCentro"),
                                Query::integer<qint16>(centreColumn, "paciente", "ColumnaCentro"));
    f << whole(q.value(SubjectId)) << whole(q.value(Experiment))
      << (cell >= 0 ? QString::number(cell) : QString()) << whole(q.value(Fila)) << whole(q.value(Columna))
      << answer(q.value(AnswerColumn)) << q.value(Colour).toString() << whole(q.value(Brightness))
      << caption(ParameterLists::coils(), q.value(Coil))
      << caption(ParameterLists::pulseTypes(), q.value(PulseType))
      << caption(ParameterLists::phases(), q.value(Phase))
      << caption(ParameterLists::orientations(), q.value(Orientation)) << whole(q.value(Pulses))
      << whole(q.value(Frequency)) << whole(q.value(Intensity)) << dateTime(q.value(Date))
      << q.value(Observations).toString();
    if (hasDrawing) {
        f << QString::number(d.points) << QString::number(d.strokes) << decimal(d.centreX)
          << decimal(d.centreY) << QString::number(d.left) << QString::number(d.top)
          << QString::number(d.right) << QString::number(d.bottom) << decimal(d.area);
    } else {
        for (int i = 0; i < 9; ++i) {
            f << QString();
        }
    }
    return f;
}

// Writes all the bytes. A short write (the disk just filled) is followed by another, which fails with
// the system's reason, so the message says why instead of "Unknown error".
bool writeAll(QFile &file, const QByteArray &bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += n;
    }
    return true;
}

// A file of the export: rows gathered in memory and written in large blocks; any failure to write
// is thrown with the file's path as the user will know it.
class TsvFile {
public:
    TsvFile(const QString &path, const QString &shownAs) : m_file(path), m_shownAs(shownAs) {
        // Unbuffered: the rows go out in large blocks anyway, and a failing write (a full disk) then
        // sets the system's reason instead of failing later in a flush.
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            fail();
        }
    }
    ~TsvFile() = default;
    // Fields as written: escaped, and empty ones as `empty`.
    void row(const QStringList &fields, const QString &empty = QString()) {
        bool first = true;
        for (const QString &value : fields) {
            if (!first) {
                m_buffer += '\t';
            }
            first = false;
            m_buffer += value.isEmpty() ? empty.toUtf8() : field(value).toUtf8();
        }
        m_buffer += '\n';
        if (m_buffer.size() > (1 << 20)) {
            flush();
        }
    }
    void close() {
        flush();
        if (!m_file.flush()) {
            fail();
        }
        m_file.close();
    }

private:
    void flush() {
        if (!writeAll(m_file, m_buffer)) {
            fail();
        }
        m_buffer.clear();
    }
    [[noreturn]] void fail() {
        throw StudyError(QCoreApplication::translate("StudyExport", "Cannot write %1: %2")
                             .arg(m_shownAs, m_file.errorString()));
    }
    QFile m_file;
    QString m_shownAs;
    QByteArray m_buffer;
};

void writeFile(const QString &path, const QString &shownAs, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
        !writeAll(file, bytes) || !file.flush()) {
        throw StudyError(QCoreApplication::translate("StudyExport", "Cannot write %1: %2")
                             .arg(shownAs, file.errorString()));
    }
}

void writeJson(const QString &path, const QString &shownAs, const QJsonObject &object) {
    writeFile(path, shownAs, QJsonDocument(object).toJson(QJsonDocument::Indented));
}

// Where a file of the export is written, and how it is named to the user.
struct Place {
    QString working; // the hidden folder being filled
    QString out;     // the folder it becomes
    QString path(const QString &relative) const { return working + QLatin1Char('/') + relative; }
    QString shown(const QString &relative) const {
        return QDir::toNativeSeparators(out + QLatin1Char('/') + relative);
    }
    void makeFolder(const QString &relative) const {
        if (!QDir().mkpath(path(relative))) {
            throw StudyError(QCoreApplication::translate("StudyExport", "Cannot create the folder %1")
                                 .arg(shown(relative)));
        }
    }
};

// What killed exports left in the folder (".OUT.exporting-PID" of a process that no longer runs),
// whatever OUT they were writing.
void removeKilledExports(const QString &folder) {
    static const QRegularExpression working(QStringLiteral("^\\.(.+)\\.exporting-[0-9]+$"));
    const QStringList names = QDir(folder).entryList(
        {QStringLiteral(".*.exporting-*")}, QDir::Dirs | QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = working.match(name);
        if (match.hasMatch()) {
            Study::removeLeftovers(QFileInfo(QDir(folder).filePath(match.captured(1))),
                                   QStringLiteral("exporting"));
        }
    }
}

qint64 stimulusCount(const QSqlDatabase &db) {
    QSqlQuery q = Query::run(db, QStringLiteral("SELECT COUNT(*) FROM estimulo"), {},
                             QCoreApplication::translate("StudyExport", "Cannot count the stimuli"));
    return q.next() ? q.value(0).toLongLong() : 0;
}

const QString SubjectQuery = QStringLiteral(
    "SELECT ID, Nombre, Apellido1, Apellido2, Edad, Altura, Peso, Ciego, Observaciones, Filas, "
    "Columnas, FilaCentro, ColumnaCentro, RutaResonancias FROM paciente ORDER BY ID");

QString yesNo(const QVariant &value) {
    return value.isNull() ? QString() : value.toBool() ? QStringLiteral("yes") : QStringLiteral("no");
}

int writeSubjects(const QSqlDatabase &db, const Place &place) {
    TsvFile file(place.path(QStringLiteral("subjects.tsv")), place.shown(QStringLiteral("subjects.tsv")));
    file.row({QStringLiteral("subject_id"), QStringLiteral("first_name"), QStringLiteral("first_surname"),
              QStringLiteral("second_surname"), QStringLiteral("age"), QStringLiteral("height"),
              QStringLiteral("weight"), QStringLiteral("blind"), QStringLiteral("observations"),
              QStringLiteral("grid_rows"), QStringLiteral("grid_columns"), QStringLiteral("centre_row"),
              QStringLiteral("centre_column"), QStringLiteral("mr_folder")});
    QSqlQuery q = Query::run(db, SubjectQuery, {},
                             QCoreApplication::translate("StudyExport", "Cannot read the subjects"));
    int n = 0;
    while (q.next()) {
        file.row({whole(q.value(0)), q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                  q.value(4).toString(), q.value(5).toString(), q.value(6).toString(), yesNo(q.value(7)),
                  q.value(8).toString(), whole(q.value(9)), whole(q.value(10)), whole(q.value(11)),
                  whole(q.value(12)), q.value(13).toString()});
        ++n;
    }
    Query::finished(q);
    file.close();
    return n;
}

// The NIBS-BIDS names of the stimulus columns: the proposal's own name where it has one for the
// thing (coil_id, pulse_shape, pulse_count, base_pulse_intensity, coil_orientation_code), ours
// otherwise. The subject is the folder's, so it has no column; stim_count numbers the rows, event_id
// names the stimulus, drawing_file its drawing and target_id its site in the _markers.tsv, as the
// proposal links rows to other files.
QStringList nibsColumns() {
    QStringList columns = stimulusColumns().mid(1);
    const auto rename = [&columns](const char *from, const char *to) {
        columns[columns.indexOf(QLatin1String(from))] = QString::fromLatin1(to);
    };
    rename("coil", "coil_id");
    rename("phase", "pulse_shape");
    rename("orientation", "coil_orientation_code");
    rename("pulses", "pulse_count");
    rename("intensity", "base_pulse_intensity");
    columns.prepend(QStringLiteral("event_id"));
    columns.prepend(QStringLiteral("stim_count"));
    columns.append(QStringLiteral("drawing_file"));
    columns.append(QStringLiteral("target_id"));
    return columns;
}

QJsonObject levels(std::span<const ParameterLists::Item> items) {
    QJsonObject object;
    for (const ParameterLists::Item &item : items) {
        object.insert(QString::fromUtf8(item.caption), QStringLiteral("stored code %1").arg(item.code));
    }
    return object;
}

QJsonObject nibsSidecar() {
    const auto column = [](const QString &description, const QString &units = QString(),
                           const QJsonObject &levels = QJsonObject()) {
        QJsonObject c{{QStringLiteral("Description"), description}};
        if (!units.isEmpty()) {
            c.insert(QStringLiteral("Units"), units);
        }
        if (!levels.isEmpty()) {
            c.insert(QStringLiteral("Levels"), levels);
        }
        return c;
    };
    const QString canvas =
        QStringLiteral("drawing canvas units (the canvas is 12.9 x 12.9 units, origin top-left, "
                       "y downwards)");
    QJsonObject o;
    o.insert(QStringLiteral("NIBSType"), QStringLiteral("TMS"));
    o.insert(
        QStringLiteral("NIBSDescription"),
        QStringLiteral("Phosphene mapping: single stimuli over a 5 x 10 grid of scalp points; after each "
                       "stimulus the subject answers whether a phosphene was seen and draws it."));
    o.insert(QStringLiteral("TaskName"), QStringLiteral("phosphene"));
    o.insert(QStringLiteral("stim_count"),
             column(QStringLiteral("Running number of the stimulus in this file")));
    o.insert(QStringLiteral("event_id"),
             column(QStringLiteral("The stimulus: its number in the study, unique in this file")));
    o.insert(
        QStringLiteral("experiment"),
        column(QStringLiteral("Number of the experiment (session of stimulation) of the subject, from 1")));
    o.insert(QStringLiteral("cell"),
             column(QStringLiteral("Grid cell stimulated, 10 x row + column of the 5 x 10 "
                                   "grid (row 0 at the bottom); n/a off the grid")));
    o.insert(QStringLiteral("row"),
             column(QStringLiteral("Grid row of the point relative to the subject's centre")));
    o.insert(QStringLiteral("column"),
             column(QStringLiteral("Grid column of the point relative to the subject's centre")));
    o.insert(QStringLiteral("answer"),
             column(QStringLiteral("The subject's answer"), QString(),
                    QJsonObject{{QStringLiteral("yes"), QStringLiteral("a phosphene was seen")},
                                {QStringLiteral("no"), QStringLiteral("no phosphene")},
                                {QStringLiteral("doubt"), QStringLiteral("the subject was not sure")}}));
    o.insert(QStringLiteral("colour"),
             column(QStringLiteral("Colour of the phosphene, as the operator wrote it")));
    o.insert(QStringLiteral("brightness"), column(QStringLiteral("Perceived brightness of the phosphene")));
    o.insert(QStringLiteral("coil_id"),
             column(QStringLiteral("Coil used"), QString(), levels(ParameterLists::coils())));
    o.insert(QStringLiteral("pulse_type"),
             column(QStringLiteral("Kind of pulse"), QString(), levels(ParameterLists::pulseTypes())));
    o.insert(QStringLiteral("pulse_shape"),
             column(QStringLiteral("Pulse phase: monophasic (Monofásico) or biphasic (Bifáisco)"), QString(),
                    levels(ParameterLists::phases())));
    o.insert(QStringLiteral("coil_orientation_code"),
             column(QStringLiteral("Orientation of the coil's current over the scalp"), QString(),
                    levels(ParameterLists::orientations())));
    o.insert(QStringLiteral("pulse_count"), column(QStringLiteral("Number of pulses of the stimulus")));
    o.insert(QStringLiteral("frequency"), column(QStringLiteral("Pulse frequency"), QStringLiteral("Hz")));
    o.insert(QStringLiteral("base_pulse_intensity"),
             column(QStringLiteral("Pulse intensity, percent of the stimulator's maximum output"),
                    QStringLiteral("%")));
    o.insert(QStringLiteral("datetime"),
             column(QStringLiteral("When the stimulus was recorded (ISO 8601, local time)")));
    o.insert(QStringLiteral("observations"), column(QStringLiteral("The operator's notes")));
    o.insert(QStringLiteral("drawing_points"),
             column(QStringLiteral("Point records of the drawing of the phosphene")));
    o.insert(QStringLiteral("drawing_strokes"), column(QStringLiteral("Strokes of the drawing")));
    o.insert(QStringLiteral("drawing_centre_x"),
             column(QStringLiteral("Mean x of the drawing's points"), canvas));
    o.insert(QStringLiteral("drawing_centre_y"),
             column(QStringLiteral("Mean y of the drawing's points"), canvas));
    o.insert(QStringLiteral("drawing_left"), column(QStringLiteral("Smallest x of the drawing"), canvas));
    o.insert(QStringLiteral("drawing_top"), column(QStringLiteral("Smallest y of the drawing"), canvas));
    o.insert(QStringLiteral("drawing_right"), column(QStringLiteral("Largest x of the drawing"), canvas));
    o.insert(QStringLiteral("drawing_bottom"), column(QStringLiteral("Largest y of the drawing"), canvas));
    o.insert(QStringLiteral("drawing_area"),
             column(QStringLiteral(
                        "Area of the canvas the drawing covers: the regions its strokes enclose and the "
                        "strokes one unit wide"),
                    QStringLiteral("square ") + canvas));
    o.insert(
        QStringLiteral("drawing_file"),
        column(QStringLiteral("The drawing, relative to this file's folder: a count line, then one line "
                              "\"code x y\" per point (code 0 starts a stroke, 1 continues it, 3 ends it)")));
    o.insert(
        QStringLiteral("target_id"),
        column(QStringLiteral("The stimulation site of the row's cell in the subject's _markers.tsv, whose "
                              "_coordsystem.json places it on the subject's T1w image; n/a without a "
                              "calibrated MR, off the grid or where the aiming finds no scalp")));
    return o;
}

void writeDatasetFiles(const Place &place, const QString &studyName) {
    writeJson(place.path(QStringLiteral("dataset_description.json")),
              place.shown(QStringLiteral("dataset_description.json")),
              QJsonObject{{QStringLiteral("Name"), studyName},
                          {QStringLiteral("BIDSVersion"), QStringLiteral("1.10.0")},
                          {QStringLiteral("DatasetType"), QStringLiteral("raw")},
                          {QStringLiteral("GeneratedBy"),
                           QJsonArray{QJsonObject{
                               {QStringLiteral("Name"), QStringLiteral("ZoKorvane")},
                               {QStringLiteral("Version"), QString::fromLatin1(Version::FileVersion)},
                               {QStringLiteral("Description"),
                                QStringLiteral("Stimulation data laid out after the NIBS-BIDS "
                                               "proposal v6.2 (BEP037 draft)")}}}}});
    const auto described = [](const QString &description, const QString &units = QString()) {
        QJsonObject c{{QStringLiteral("Description"), description}};
        if (!units.isEmpty()) {
            c.insert(QStringLiteral("Units"), units);
        }
        return c;
    };
    writeJson(place.path(QStringLiteral("participants.json")),
              place.shown(QStringLiteral("participants.json")),
              QJsonObject{
                  {QStringLiteral("participant_id"), described(QStringLiteral("sub- and the subject's ID"))},
                  {QStringLiteral("age"), described(QStringLiteral("Age"), QStringLiteral("year"))},
                  {QStringLiteral("height"), described(QStringLiteral("Height, as entered"))},
                  {QStringLiteral("weight"), described(QStringLiteral("Weight, as entered"))},
                  {QStringLiteral("blind"),
                   QJsonObject{{QStringLiteral("Description"), QStringLiteral("Blind subject")},
                               {QStringLiteral("Levels"),
                                QJsonObject{{QStringLiteral("yes"), QStringLiteral("blind")},
                                            {QStringLiteral("no"), QStringLiteral("sighted")}}}}}});
}

int writeParticipants(const QSqlDatabase &db, const Place &place) {
    TsvFile file(place.path(QStringLiteral("participants.tsv")),
                 place.shown(QStringLiteral("participants.tsv")));
    file.row({QStringLiteral("participant_id"), QStringLiteral("age"), QStringLiteral("height"),
              QStringLiteral("weight"), QStringLiteral("blind")});
    QSqlQuery q = Query::run(db, SubjectQuery, {},
                             QCoreApplication::translate("StudyExport", "Cannot read the subjects"));
    int n = 0;
    while (q.next()) {
        file.row({subjectLabel(q.value(0).toLongLong()), q.value(4).toString(), q.value(5).toString(),
                  q.value(6).toString(), yesNo(q.value(7))},
                 QStringLiteral("n/a"));
        ++n;
    }
    Query::finished(q);
    file.close();
    return n;
}

// The name of a cell's site in the markers table and in the rows of the _nibs.tsv.
QString targetId(int cell) {
    return QStringLiteral("cell-%1").arg(cell, 2, 10, QLatin1Char('0'));
}

QJsonArray coordinates(const StimulationSites::Vec3 &p) {
    return {p[0], p[1], p[2]};
}

// A markers table of the draft: one row per cell, its scalp point (entry) and target placed by
// `where` (the T1w image's world as the sites have it, or another space).
void writeMarkers(const Place &place, const QString &relative, const StimulationSites::Sites &sites,
                  const std::function<StimulationSites::Vec3(const StimulationSites::Vec3 &)> &where) {
    TsvFile markers(place.path(relative), place.shown(relative));
    markers.row({QStringLiteral("target_id"), QStringLiteral("target_label"), QStringLiteral("peeling_depth"),
                 QStringLiteral("target_x"), QStringLiteral("target_y"), QStringLiteral("target_z"),
                 QStringLiteral("entry_x"), QStringLiteral("entry_y"), QStringLiteral("entry_z")});
    for (const StimulationSites::Site &site : sites.cells) {
        QStringList fields{targetId(site.cell), QStringLiteral("cell %1").arg(site.cell),
                           decimal(sites.depthMm)};
        for (const StimulationSites::Vec3 *p : {&site.target, &site.scalp}) {
            const StimulationSites::Vec3 placed = site.found ? where(*p) : StimulationSites::Vec3{};
            for (const double v : placed) { // a cell whose aiming met no scalp has no point at all
                fields << (site.found ? QString::number(v, 'f', 2) : QStringLiteral("n/a"));
            }
        }
        markers.row(fields);
    }
    markers.close();
}

// The sites of a normalised subject in the template's space: a second markers table and its
// coordinate system, named by the space's entity.
void writeTemplateSites(const Place &place, const QString &label, const StimulationSites::Sites &sites,
                        const SubjectNormalisation::Record &normalisation) {
    static const QRegularExpression bidsLabel(QStringLiteral("^[A-Za-z0-9]+$"));
    const QString space = bidsLabel.match(normalisation.templateName).hasMatch() ? normalisation.templateName
                                                                                 : QStringLiteral("Other");
    const QString stem =
        label + QStringLiteral("/nibs/") + label + QStringLiteral("_task-phosphene_space-") + space;
    writeMarkers(place, stem + QStringLiteral("_markers.tsv"), sites, [&](const StimulationSites::Vec3 &p) {
        return Normalise::apply(normalisation.subjectToMni, p);
    });
    const QString description = QStringLiteral(
        "MNI space of the %1 template head (RAS+, mm; SHA-256 of the head file %2). The subject's "
        "sites are carried into it by the 12-parameter affine found by registering the "
        "subject's calibrated MR to the template (Mattes mutual information %3, accepted %4 "
        "UTC). entry_x/y/z is where the aiming at a grid cell meets the scalp, target_x/y/z the "
        "point peeling_depth mm beneath it, as in the subject's own markers.");
    QJsonArray matrix;
    for (const double v : normalisation.subjectToMni) {
        matrix.append(v);
    }
    writeJson(place.path(stem + QStringLiteral("_coordsystem.json")),
              place.shown(stem + QStringLiteral("_coordsystem.json")),
              QJsonObject{{QStringLiteral("NIBSCoordinateSystem"), space},
                          {QStringLiteral("NIBSCoordinateUnits"), QStringLiteral("mm")},
                          {QStringLiteral("NIBSCoordinateSystemDescription"),
                           description.arg(normalisation.templateName, normalisation.templateSha256)
                               .arg(normalisation.metric, 0, 'f', 4)
                               .arg(normalisation.accepted.toUTC().toString(Qt::ISODate))},
                          {QStringLiteral("SubjectToTemplateTransform"), matrix}});
}

// The subject's _coordsystem.json: the world of its T1w image (whose affine is given), with the
// calibration landmarks and the head centre in it.
void writeCoordinateSystem(const Place &place, const QString &stem, const QString &label, const QString &t1w,
                           const SubjectCalibration::Record &record, const VolumeLayout::Affine &affine,
                           const StimulationSites::Sites &sites) {
    const auto landmark = [&](int which) {
        const SubjectCalibration::Landmark &l = record.landmarks[std::size_t(which)];
        return coordinates(StimulationSites::toRas(affine.map(l.x, l.y, l.z)));
    };
    const QString description = QStringLiteral(
        "The world coordinates (RAS+, mm) of %1_T1w.nii.gz, the subject's calibrated MR as the program "
        "holds it: the scanner's space of the series. entry_x/y/z is where the aiming at a grid cell "
        "meets the scalp, target_x/y/z the point peeling_depth mm beneath it on the straight line to "
        "the head centre.");
    writeJson(place.path(stem + QStringLiteral("_coordsystem.json")),
              place.shown(stem + QStringLiteral("_coordsystem.json")),
              QJsonObject{{QStringLiteral("IntendedFor"), QStringLiteral("bids::") + t1w},
                          {QStringLiteral("NIBSCoordinateSystem"), QStringLiteral("IndividualMRI")},
                          {QStringLiteral("NIBSCoordinateUnits"), QStringLiteral("mm")},
                          {QStringLiteral("NIBSCoordinateSystemDescription"), description.arg(label)},
                          {QStringLiteral("AnatomicalLandmarkCoordinates"),
                           QJsonObject{{QStringLiteral("Calibration1"), landmark(0)},
                                       {QStringLiteral("Calibration2"), landmark(1)},
                                       {QStringLiteral("Inion"), landmark(2)}}},
                          {QStringLiteral("AnatomicalLandmarkCoordinateSystem"), QStringLiteral("Other")},
                          {QStringLiteral("AnatomicalLandmarkCoordinateSystemUnits"), QStringLiteral("mm")},
                          {QStringLiteral("HeadCentre"), coordinates(sites.centre)}});
}

// The MR and the sites of every calibrated subject: the volume as held as sub-<id>/anat/..._T1w.nii.gz,
// the scalp points and targets of the 50 cells as the NIBS-BIDS markers table, and its coordinate
// system (the T1w image's world) with the calibration landmarks; for a normalised subject, its sites
// in the template's space too. A subject whose series cannot be loaded on this station is told in the
// notes and left without.
std::map<qint32, StimulationSites::Sites> writeSubjectSites(const QSqlDatabase &db, const Place &place,
                                                            const ReadCalibration &read,
                                                            const ReadNormalisation &readNormalisation,
                                                            Report &report) {
    std::map<qint32, StimulationSites::Sites> all;
    QList<qint32> ids;
    QSqlQuery q = Query::run(db, QStringLiteral("SELECT ID FROM paciente ORDER BY ID"), {},
                             QCoreApplication::translate("StudyExport", "Cannot read the subjects"));
    while (q.next()) {
        ids << q.value(0).toInt();
    }
    Query::finished(q);
    for (const qint32 id : ids) {
        std::optional<SubjectCalibration::Record> record;
        StimulationSites::SubjectMr mr;
        StimulationSites::Sites sites;
        QString why;
        try {
            record = read(db, id); // a stored row that is refused leaves the subject without its MR
            if (!record) {
                continue;
            }
            if (mr.load(*record, &why)) {
                sites = mr.sites(SiteDepthMm, {});
            }
        } catch (const ImagingError &e) {
            why = e.message();
        } catch (const StudyError &e) {
            why = e.message();
        }
        if (!why.isEmpty()) {
            ++report.withoutMr;
            report.notes << QCoreApplication::translate("StudyExport",
                                                        "Subject %1 is exported without its MR and sites: %2")
                                .arg(id)
                                .arg(why);
            continue;
        }
        if (const QString missing = noScalpWarning(StimulationSites::missingCells(sites));
            !missing.isEmpty()) {
            report.notes
                << QCoreApplication::translate("StimulationSites", "Subject %1: %2").arg(id).arg(missing);
        }
        const QString label = subjectLabel(id);
        const QString t1w = label + QStringLiteral("/anat/") + label + QStringLiteral("_T1w.nii.gz");
        place.makeFolder(label + QStringLiteral("/anat"));
        if (!NiftiFiles::write(place.path(t1w), mr.volume(), &why)) {
            throw StudyError(
                QCoreApplication::translate("StudyExport", "Cannot write %1: %2").arg(place.shown(t1w), why));
        }
        const QString stem = label + QStringLiteral("/nibs/") + label + QStringLiteral("_task-phosphene");
        place.makeFolder(label + QStringLiteral("/nibs"));
        writeMarkers(place, stem + QStringLiteral("_markers.tsv"), sites,
                     [](const StimulationSites::Vec3 &p) { return p; });
        writeCoordinateSystem(place, stem, label, t1w, *record, mr.volume().affine, sites);
        const std::optional<SubjectNormalisation::Record> normalisation = readNormalisation(db, id);
        if (normalisation && normalisation->fingerprint == record->fingerprint) {
            writeTemplateSites(place, label, sites, *normalisation);
        } else if (normalisation) {
            report.notes << QCoreApplication::translate(
                                "StudyExport", "Subject %1 is exported without MNI coordinates: it was "
                                               "normalised on another series than the one calibrated")
                                .arg(id);
        }
        all[id] = sites;
    }
    return all;
}

// Reads every stimulus in the order of the query and hands its fields (stimulusColumns()) and its
// drawing's points (null without a drawing) to `take`; counts them and tells `progress`.
void forEachStimulus(
    const QSqlDatabase &db, const Progress &progress, Report &report,
    const std::function<void(const QSqlQuery &q, QStringList &fields, const QVariant &points)> &take) {
    const qint64 total = stimulusCount(db);
    QSqlQuery q = Query::run(db, StimulusQuery, {},
                             QCoreApplication::translate("StudyExport", "Cannot read the stimuli"));
    while (q.next()) {
        const QVariant points = q.value(DrawingPoints);
        const bool hasDrawing = !points.isNull();
        DrawingShape::Figures figures;
        if (hasDrawing) {
            figures = DrawingShape::measure(DrawingFile::parse(points.toByteArray()).records);
            ++report.drawings;
        }
        QStringList fields = stimulusFields(q, hasDrawing, figures);
        take(q, fields, points);
        ++report.stimuli;
        if (progress && report.stimuli % 1000 == 0 && !progress(report.stimuli, total)) {
            throw StudyError(QCoreApplication::translate("StudyExport", "The export was stopped"));
        }
    }
    Query::finished(q);
    if (progress) {
        progress(report.stimuli, total);
    }
}

// stimuli.tsv and subjects.tsv.
void writeTsv(const QSqlDatabase &db, const Place &place, const Progress &progress, Report &report) {
    report.subjects = writeSubjects(db, place);
    TsvFile stimuli(place.path(QStringLiteral("stimuli.tsv")), place.shown(QStringLiteral("stimuli.tsv")));
    stimuli.row(stimulusColumns());
    forEachStimulus(db, progress, report,
                    [&](const QSqlQuery &, QStringList &fields, const QVariant &) { stimuli.row(fields); });
    stimuli.close();
}

// The NIBS-BIDS dataset: the dataset's files, each calibrated subject's MR and sites, and per subject
// the _nibs.tsv of its stimuli, its sidecar and its drawings.
void writeNibsBids(const QSqlDatabase &db, const Place &place, const Progress &progress,
                   const ReadCalibration &readCalibration, const ReadNormalisation &readNormalisation,
                   Report &report) {
    writeDatasetFiles(place, QFileInfo(db.databaseName()).completeBaseName());
    report.subjects = writeParticipants(db, place);
    const std::map<qint32, StimulationSites::Sites> sites =
        writeSubjectSites(db, place, readCalibration, readNormalisation, report);
    const QStringList nibs = nibsColumns();
    const int cellColumn = int(stimulusColumns().indexOf(QLatin1String("cell")));
    QString current; // the subject whose files are open
    std::unique_ptr<TsvFile> tsv;
    qint64 rows = 0;
    bool drawingsFolder = false;
    qint64 withoutSubject = 0;
    forEachStimulus(
        db, progress, report, [&](const QSqlQuery &q, QStringList &fields, const QVariant &points) {
            if (q.value(SubjectId).isNull()) {
                ++withoutSubject;
                return;
            }
            const QString label = QStringLiteral("sub-") + whole(q.value(SubjectId));
            const QString folder = label + QStringLiteral("/nibs/");
            const QString stem = label + QStringLiteral("_task-phosphene");
            if (label != current) {
                if (tsv) {
                    tsv->close();
                }
                current = label;
                rows = 0;
                drawingsFolder = false;
                place.makeFolder(folder);
                writeJson(place.path(folder + stem + QStringLiteral("_nibs.json")),
                          place.shown(folder + stem + QStringLiteral("_nibs.json")), nibsSidecar());
                tsv = std::make_unique<TsvFile>(place.path(folder + stem + QStringLiteral("_nibs.tsv")),
                                                place.shown(folder + stem + QStringLiteral("_nibs.tsv")));
                tsv->row(nibs);
            }
            QString drawingFile;
            if (!points.isNull()) {
                const QString drawings = stem + QStringLiteral("_drawings");
                if (!drawingsFolder) {
                    place.makeFolder(folder + drawings);
                    drawingsFolder = true;
                }
                // Named by the stimulus: several stimuli of one point and experiment share a stored
                // name, never an id.
                drawingFile = drawings + QStringLiteral("/stimulus-") + whole(q.value(StimulusId)) +
                              QStringLiteral(".txt");
                writeFile(place.path(folder + drawingFile), place.shown(folder + drawingFile),
                          points.toByteArray());
            }
            // The site of the cell, for a subject with sites.
            const QString cell = fields.at(cellColumn);
            const QString site = sites.count(q.value(SubjectId).toInt()) && !cell.isEmpty()
                                     ? targetId(cell.toInt())
                                     : QString();
            fields.removeFirst();
            fields.prepend(whole(q.value(StimulusId)));
            fields.prepend(QString::number(++rows));
            fields.append(drawingFile);
            fields.append(site);
            tsv->row(fields, QStringLiteral("n/a"));
        });
    if (tsv) {
        tsv->close();
    }
    if (withoutSubject > 0) {
        report.notes << QCoreApplication::translate(
                            "StudyExport",
                            "%1 stimuli belong to no subject of the study and are not in the dataset")
                            .arg(withoutSubject);
    }
}

} // namespace

std::optional<Format> formatNamed(const QString &name) {
    if (name == QLatin1String("tsv")) {
        return Format::Tsv;
    }
    if (name == QLatin1String("nibs-bids")) {
        return Format::NibsBids;
    }
    return std::nullopt;
}

const QStringList &stimulusColumns() {
    static const QStringList columns = {QStringLiteral("subject_id"),
                                        QStringLiteral("experiment"),
                                        QStringLiteral("cell"),
                                        QStringLiteral("row"),
                                        QStringLiteral("column"),
                                        QStringLiteral("answer"),
                                        QStringLiteral("colour"),
                                        QStringLiteral("brightness"),
                                        QStringLiteral("coil"),
                                        QStringLiteral("pulse_type"),
                                        QStringLiteral("phase"),
                                        QStringLiteral("orientation"),
                                        QStringLiteral("pulses"),
                                        QStringLiteral("frequency"),
                                        QStringLiteral("intensity"),
                                        QStringLiteral("datetime"),
                                        QStringLiteral("observations"),
                                        QStringLiteral("drawing_points"),
                                        QStringLiteral("drawing_strokes"),
                                        QStringLiteral("drawing_centre_x"),
                                        QStringLiteral("drawing_centre_y"),
                                        QStringLiteral("drawing_left"),
                                        QStringLiteral("drawing_top"),
                                        QStringLiteral("drawing_right"),
                                        QStringLiteral("drawing_bottom"),
                                        QStringLiteral("drawing_area")};
    return columns;
}

QString field(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\0':
            out += QStringLiteral("\\0");
            break;
        default:
            out += c;
        }
    }
    if (out.contains(QLatin1Char('"'))) {
        out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        out = QLatin1Char('"') + out + QLatin1Char('"');
    }
    return out;
}

Report run(const QSqlDatabase &db, const QString &out, Format format, const Progress &progress,
           const ReadCalibration &readCalibration, const ReadNormalisation &readNormalisation) {
    const QFileInfo target(QDir::cleanPath(QDir(out).absolutePath()));
    const QString shownOut = QDir::toNativeSeparators(out);
    removeKilledExports(target.absolutePath());
    if (target.exists() && !target.isDir()) {
        throw StudyError(
            QCoreApplication::translate("StudyExport", "Cannot export into %1: it is a file, not a folder")
                .arg(shownOut));
    }
    if (target.isDir() &&
        !QDir(target.filePath()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        throw StudyError(QCoreApplication::translate(
                             "StudyExport",
                             "Cannot export into %1: the folder is not empty. Choose a new or empty folder.")
                             .arg(shownOut));
    }
    // Text the file could not hold as it is stored is refused before anything is written.
    StoredValue::refuseInvalidText(db, QCoreApplication::translate("StudyExport", "Cannot export the study"));
    if (!QDir().mkpath(target.absolutePath())) {
        throw StudyError(QCoreApplication::translate("StudyExport", "Cannot create the folder %1")
                             .arg(QDir::toNativeSeparators(target.absolutePath())));
    }
    const Place place{Study::workingName(target, QStringLiteral("exporting")), out};
    QDir(place.working).removeRecursively();
    if (!QDir().mkdir(place.working)) {
        throw StudyError(QCoreApplication::translate(
                             "StudyExport", "Cannot write into %1: the folder cannot be created there")
                             .arg(QDir::toNativeSeparators(target.absolutePath())));
    }
    Report report;
    try {
        switch (format) {
        case Format::Tsv:
            writeTsv(db, place, progress, report);
            break;
        case Format::NibsBids:
            writeNibsBids(db, place, progress, readCalibration, readNormalisation, report);
            break;
        }
        // The finished folder takes the place of OUT (an empty one is removed first).
        if (target.isDir() && !QDir().rmdir(target.filePath())) {
            throw StudyError(QCoreApplication::translate("StudyExport", "Cannot replace the empty folder %1")
                                 .arg(shownOut));
        }
        if (!QDir().rename(place.working, target.filePath())) {
            throw StudyError(
                QCoreApplication::translate("StudyExport",
                                            "Cannot write %1: the finished export could not be moved there")
                    .arg(shownOut));
        }
    } catch (...) {
        QDir(place.working).removeRecursively();
        throw;
    }
    return report;
}

} // namespace StudyExport
