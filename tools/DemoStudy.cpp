#include "tools/DemoStudy.h"

#include "data/Query.h"
#include "data/SharedQueries.h"
#include "data/Study.h"
#include "data/StudyError.h"
#include "data/Transaction.h"
#include "experiments/StimulusStore.h"
#include "imaging/PhantomWriter.h"

#include <QDir>
#include <QtMath>

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

struct Estimulo {
    int celda;
    qint16 respuesta;
    const char *color;
    qint16 brillo;
    const char *notas;
    Records dibujo;
};

void addSubject(const QSqlDatabase &db, int id, const char *nombre, const char *apellido1,
                const char *apellido2, int edad, double altura, double peso, bool ciego, const char *notas) {
    Query::run(db,
               QStringLiteral("INSERT INTO paciente (ID, Nombre, Apellido1, Apellido2, Edad, Altura, Peso, "
                              "Observaciones, Filas, Columnas, FilaCentro, ColumnaCentro, Ciego) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 5, 9, 1, 4, ?)"),
               {id, QString::fromUtf8(nombre),
                apellido1 ? QVariant(QString::fromUtf8(apellido1)) : QVariant(),
                apellido2 ? QVariant(QString::fromUtf8(apellido2)) : QVariant(), edad, altura, peso,
                QString::fromUtf8(notas), ciego ? 1 : 0},
               QStringLiteral("Cannot add the demo subjects"));
}

void addExperiment(const QSqlDatabase &db, int subject, int pasada, const QDateTime &start,
                   const StimulusStore::Parameters &parametros, const QList<Estimulo> &estimulos) {
    QDateTime when = start;
    for (const Estimulo &e : estimulos) {
        StimulusStore::Entry entrada;
        entrada.hayfosfeno = e.respuesta;
        entrada.color = QString::fromUtf8(e.color);
        entrada.intensidad = e.brillo;
        entrada.observaciones = QString::fromUtf8(e.notas);
        entrada.parametros = parametros;
        entrada.fecha = when;
        const StimulusStore::Punto punto = StimulusStore::pointOfCell(e.celda, 1, 4);
        StimulusStore::saveEntry(db, subject, punto.fila, punto.columna, pasada, entrada, e.dibujo);
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
        const StimulusStore::Parameters repetitivo{3, 2, 1, 0, 5, 10, 70};
        using R = StimulusStore::Respuesta;
        addExperiment(opened.db, 1, 1, QDateTime(QDate(2026, 3, 9), QTime(10, 2, 0)), simple,
                      {{14, R::Si, "white", 7, "bright flash, centre", ring(6.4, 6.4, 2.5)},
                       {15, R::Si, "yellow", 5, "", ring(8.0, 5.0, 1.5) + line(8, 7, 10, 10)},
                       {24, R::Duda, "", 2, "perhaps a faint spot", ring(9.0, 3.0, 1.0, 6)},
                       {13, R::No, "", 0, "", {}},
                       {4, R::No, "", 0, "subject moved", {}}});
        addExperiment(opened.db, 1, 2, QDateTime(QDate(2026, 3, 16), QTime(9, 40, 0)), repetitivo,
                      {{14, R::Si, "white", 8, "", ring(6.4, 6.4, 3.0) + ring(6.4, 6.4, 1.0, 8)},
                       {25, R::Si, "blue", 4, "arc to the right", line(3, 9, 6, 4) + line(6, 4, 10, 6)},
                       {5, R::No, "", 0, "", {}}});
        addExperiment(opened.db, 3, 1, QDateTime(QDate(2026, 4, 2), QTime(16, 5, 0)), simple,
                      {{14, R::Si, "green", 6, "", line(2, 6, 11, 6) + line(6, 2, 6, 11)},
                       {23, R::Duda, "grey", 1, "", ring(4.0, 8.0, 1.5, 8)},
                       {16, R::No, "", 0, "", {}}});
        addExperiment(
            opened.db, 3, 2, QDateTime(QDate(2026, 4, 9), QTime(16, 30, 0)), repetitivo,
            {{14, R::Si, "white", 9, "very bright", ring(6.4, 6.4, 4.0, 16)}, {33, R::No, "", 0, "", {}}});
    } catch (...) {
        Study::close(opened.db);
        throw;
    }
    Study::close(opened.db);
    return study;
}

} // namespace DemoStudy
