#include "tools/DemoStudy.h"

#include "core/GridCells.h"
#include "data/Answer.h"
#include "data/Query.h"
#include "data/SharedQueries.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/Transaction.h"
#include "drawings/DrawingFile.h"
#include "experiments/StimulusStore.h"
#include "imaging/PhantomWriter.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtMath>

#include <cmath>

namespace DemoStudy {

namespace {

using Records = QList<DrawingFile::PointRecord>;

// A closed ring of `points` points around (cx, cy), as one stroke.
Records ring(double cx, double cy, double radius, int points = 12) {
    Records stroke;
    for (int i = 0; i <= points; ++i) {
        const double angle = 2 * M_PI * i / points;
        stroke << DrawingFile::PointRecord{
            qint16(i == 0 ? DrawingFile::StrokeStart : DrawingFile::StrokeNext),
            DrawingFile::toUnit(cx + radius * std::cos(angle)),
            DrawingFile::toUnit(cy + radius * std::sin(angle))};
    }
    stroke << DrawingFile::PointRecord{DrawingFile::StrokeEnd, stroke.last().x, stroke.last().y};
    return stroke;
}

Records line(int x1, int y1, int x2, int y2) {
    return {{DrawingFile::StrokeStart, qint16(x1), qint16(y1)},
            {DrawingFile::StrokeNext, qint16(x2), qint16(y2)},
            {DrawingFile::StrokeEnd, qint16(x2), qint16(y2)}};
}

struct DemoStimulus {
    int cell;
    qint16 answer;
    const char *color;
    qint16 brightness;
    const char *notes;
    Records drawing;
};

void addSubject(const QSqlDatabase &db, int id, const char *name, const char *surname1, const char *surname2,
                int age, double height, double weight, bool blind, const char *notes) {
    Query::run(db,
               QStringLiteral("INSERT INTO paciente (ID, Nombre, Apellido1, Apellido2, Edad, Altura, Peso, "
                              "Observaciones, Filas, Columnas, FilaCentro, ColumnaCentro, Ciego) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 5, 9, 1, 4, ?)"),
               {id, QString::fromUtf8(name), surname1 ? QVariant(QString::fromUtf8(surname1)) : QVariant(),
                surname2 ? QVariant(QString::fromUtf8(surname2)) : QVariant(), age, height, weight,
                QString::fromUtf8(notes), blind ? 1 : 0},
               QStringLiteral("Cannot add the demo subjects"));
}

void addExperiment(const QSqlDatabase &db, int subject, int session, const QDateTime &start,
                   const StimulusStore::Parameters &parameters, const QList<DemoStimulus> &stimuli) {
    QDateTime when = start;
    for (const DemoStimulus &e : stimuli) {
        StimulusStore::Entry entry;
        entry.hayfosfeno = e.answer;
        entry.color = QString::fromUtf8(e.color);
        entry.intensidad = e.brightness;
        entry.observaciones = QString::fromUtf8(e.notes);
        entry.parameters = parameters;
        entry.fecha = when;
        const StimulusStore::Point point = StimulusStore::pointOfCell(e.cell, 1, 4);
        StimulusStore::saveEntry(db, subject, point.fila, point.columna, session, entry, e.drawing);
        when = when.addSecs(95);
    }
}

} // namespace

QString create(const QString &directory) {
    if (!QDir().mkpath(directory)) {
        throw StudyError(QStringLiteral("Cannot create the folder %1.").arg(directory));
    }
    const QDir dir(directory);
    const QString study = dir.absoluteFilePath(QStringLiteral("demo.sqlite"));
    Study::create(study); // refuses an existing demo study
    const QString mr = dir.absoluteFilePath(QStringLiteral("mr-ana"));
    Phantom::Options phantom;
    phantom.slices = 90;
    phantom.size = 160;
    phantom.thickness = 2.0;
    QString error;
    if (!Phantom::write(mr, phantom, &error)) {
        QFile::remove(study);
        throw StudyError(QStringLiteral("Cannot write the demo MR series: ") + error);
    }

    Study::Opened opened = Study::open(study);
    if (!opened.ok()) {
        throw StudyError(opened.error);
    }
    try {
        {
            Transaction transaction(opened.db);
            addSubject(opened.db, 1, "Ana", "García", "López", 34, 1.68, 61.5, false,
                       "Right-handed. No medication.");
            addSubject(opened.db, 2, "Luis", "Martín", nullptr, 51, 1.80, 82.0, true,
                       "Blind since birth; no phosphenes expected.");
            addSubject(opened.db, 3, "Elena", "Ruiz", "Sanz", 27, 1.62, 55.0, false, "");
            transaction.commit();
        }
        PonRutaResonancias(opened.db, 1, QDir::toNativeSeparators(mr));

        const StimulusStore::Parameters simple{1, 1, 2, 3, 1, 1, 80};
        const StimulusStore::Parameters repetitive{3, 2, 1, 0, 5, 10, 70};
        addExperiment(opened.db, 1, 1, QDateTime(QDate(2026, 3, 9), QTime(10, 2, 0)), simple,
                      {{14, Answer::Yes, "white", 7, "bright flash, centre", ring(6.4, 6.4, 2.5)},
                       {15, Answer::Yes, "yellow", 5, "", ring(8.0, 5.0, 1.5) + line(8, 7, 10, 10)},
                       {24, Answer::Doubt, "", 2, "perhaps a faint spot", ring(9.0, 3.0, 1.0, 6)},
                       {13, Answer::No, "", 0, "", {}},
                       {4, Answer::No, "", 0, "subject moved", {}}});
        addExperiment(opened.db, 1, 2, QDateTime(QDate(2026, 3, 16), QTime(9, 40, 0)), repetitive,
                      {{14, Answer::Yes, "white", 8, "", ring(6.4, 6.4, 3.0) + ring(6.4, 6.4, 1.0, 8)},
                       {25, Answer::Yes, "blue", 4, "arc to the right", line(3, 9, 6, 4) + line(6, 4, 10, 6)},
                       {5, Answer::No, "", 0, "", {}}});
        addExperiment(opened.db, 3, 1, QDateTime(QDate(2026, 4, 2), QTime(16, 5, 0)), simple,
                      {{14, Answer::Yes, "green", 6, "", line(2, 6, 11, 6) + line(6, 2, 6, 11)},
                       {23, Answer::Doubt, "grey", 1, "", ring(4.0, 8.0, 1.5, 8)},
                       {16, Answer::No, "", 0, "", {}}});
        addExperiment(opened.db, 3, 2, QDateTime(QDate(2026, 4, 9), QTime(16, 30, 0)), repetitive,
                      {{14, Answer::Yes, "white", 9, "very bright", ring(6.4, 6.4, 4.0, 16)},
                       {33, Answer::No, "", 0, "", {}}});
    } catch (...) {
        Study::close(opened.db);
        throw;
    }
    Study::close(opened.db);
    return study;
}

namespace {

void execute(QSqlQuery &query, const QVariantList &values) {
    for (int i = 0; i < values.size(); ++i) {
        query.bindValue(i, values[i]);
    }
    if (!query.exec()) {
        throw StudyError(QStringLiteral("Cannot fill the large study"), query.lastError());
    }
}

// A closed outline of n points around (cx, cy), as a perceived blob is drawn.
QByteArray outline(QRandomGenerator &random, int n) {
    QList<DrawingFile::PointRecord> records;
    const double cx = random.bounded(3, 10), cy = random.bounded(3, 10);
    const double rx = 1 + random.bounded(3.0), ry = 1 + random.bounded(3.0);
    for (int i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / (n - 1);
        const auto code = i == 0       ? DrawingFile::StrokeStart
                          : i == n - 1 ? DrawingFile::StrokeEnd
                                       : DrawingFile::StrokeNext;
        records << DrawingFile::PointRecord{qint16(code),
                                            DrawingFile::toUnit(cx + rx * std::cos(a) + random.bounded(1.0)),
                                            DrawingFile::toUnit(cy + ry * std::sin(a) + random.bounded(1.0))};
    }
    return DrawingFile::format(records);
}

} // namespace

void createLarge(const QString &path, int subjects, int stimuli, quint32 seed) {
    Study::create(path);
    Study::Opened opened = Study::open(path);
    if (!opened.ok()) {
        throw StudyError(opened.error);
    }
    static const QString notes[] = {QString(),
                                    QStringLiteral("bright flash"),
                                    QStringLiteral("tab\there"),
                                    QStringLiteral("said \"two\" spots"),
                                    QStringLiteral("line one\nline two"),
                                    QStringLiteral("back\\slash \\n not a break"),
                                    QStringLiteral("acentuación ñ"),
                                    QStringLiteral("\"quoted\"\tand\r\nall")};
    static const QString colours[] = {QStringLiteral("white"), QStringLiteral("yellow"), QString(),
                                      QStringLiteral("blue")};
    QRandomGenerator random(seed);
    try {
        Transaction transaction(opened.db);
        QSqlQuery subject(opened.db), point(opened.db), stimulus(opened.db), drawing(opened.db);
        if (!subject.prepare(
                QStringLiteral("INSERT INTO paciente (ID, Nombre, Apellido1, Edad, Filas, Columnas, "
                               "FilaCentro, ColumnaCentro, Ciego) VALUES (?, ?, ?, ?, 5, 10, ?, ?, ?)")) ||
            !point.prepare(QStringLiteral(
                "INSERT INTO puntoestimulacion (ID, Numero, Id_paciente, fila, columna, "
                "estado, n_on, n_off, n_dudas, pasadas) VALUES (?, ?, ?, ?, ?, 0, 0, 0, 0, 4)")) ||
            !stimulus.prepare(QStringLiteral(
                "INSERT INTO estimulo (id, id_puntoestimulo, pasada, color, intensidad, hayfosfeno, "
                "observaciones, "
                "archivopuntos, orientacion, fecha, TipoBobina, PulsoTipo, NumeroPulsos, PulsoFrecuencia, "
                "PulsoIntensidad, PulsoFase) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) ||
            !drawing.prepare(QStringLiteral("INSERT INTO drawing (stimulus_id, points) VALUES (?, ?)"))) {
            throw StudyError(QStringLiteral("Cannot fill the large study"), stimulus.lastError());
        }
        int idPoint = 0;
        qint64 idStimulus = 0;
        const QDateTime start(QDate(2025, 1, 6), QTime(9, 0));
        for (int s = 1; s <= subjects; ++s) {
            const int centreRow = 1 + s % 2, centreColumn = 4 + s % 3;
            execute(subject, {s, QStringLiteral("Subject %1").arg(s),
                              s % 5 == 0 ? QVariant() : QVariant(QStringLiteral("Ruiz")), 20 + s % 40,
                              centreRow, centreColumn, s % 7 == 0});
            // Every cell of the grid is a point of the subject.
            const int firstPoint = idPoint + 1;
            for (int cell = 0; cell < GridCells::Count; ++cell) {
                ++idPoint;
                execute(point, {idPoint, cell + 1, s, GridCells::row(cell) - centreRow,
                                GridCells::column(cell) - centreColumn});
            }
            const int count = stimuli / subjects + (s <= stimuli % subjects ? 1 : 0);
            for (int i = 0; i < count; ++i) {
                ++idStimulus;
                const int cell = random.bounded(GridCells::Count);
                const int answer = random.bounded(100) < 45   ? Answer::Yes
                                   : random.bounded(100) < 70 ? Answer::No
                                                              : Answer::Doubt;
                const int coil = 1 + random.bounded(3);
                const QString name = answer == Answer::No
                                         ? QString()
                                         : DrawingFile::storedName(s, firstPoint + cell, 1 + i % 4);
                const auto maybe = [&random](const QVariant &value) {
                    return random.bounded(50) == 0 ? QVariant() : value;
                };
                execute(stimulus,
                        {idStimulus, firstPoint + cell, 1 + i % 4, colours[random.bounded(4)],
                         random.bounded(10), answer, notes[random.bounded(int(std::size(notes)))], name,
                         maybe(random.bounded(4)),
                         start.addSecs(qint64(s) * 86400 + qint64(i) * 37)
                             .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                         coil, 1 + random.bounded(3), maybe(1 + random.bounded(30)),
                         maybe(random.bounded(40)), maybe(20 + random.bounded(81)), 1 + random.bounded(2)});
                if (!name.isEmpty()) {
                    execute(drawing,
                            {idStimulus, QString::fromLatin1(outline(random, 30 + random.bounded(20)))});
                }
            }
        }
        transaction.commit();
    } catch (...) {
        Study::close(opened.db);
        throw;
    }
    Study::close(opened.db);
}

} // namespace DemoStudy
