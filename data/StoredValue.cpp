#include "data/StoredValue.h"

#include "data/Query.h"
#include "data/ServerStudy.h"
#include "data/StudyError.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringDecoder>

#include <cmath>

namespace StoredValue {

QString Table::columnList() const {
    QStringList names;
    for (const Column &c : columns) {
        names << QString::fromLatin1(c.name);
    }
    return names.join(QStringLiteral(", "));
}

const QList<Table> &tables() {
    using K = Kind;
    static const QList<Table> list = {
        {"paciente",
         "ID",
         {{"ID", K::Whole},
          {"Nombre", K::Text},
          {"Apellido1", K::Text},
          {"Apellido2", K::Text},
          {"Edad", K::Entered},
          {"Altura", K::Entered},
          {"Peso", K::Entered},
          {"Observaciones", K::Text},
          {"Filas", K::Whole},
          {"Columnas", K::Whole},
          {"FilaCentro", K::Whole},
          {"ColumnaCentro", K::Whole},
          {"Ciego", K::Boolean},
          {"RutaResonancias", K::Text}}},
        {"puntoestimulacion",
         "ID",
         {{"ID", K::Whole},
          {"Numero", K::Whole},
          {"Id_paciente", K::Whole},
          {"fila", K::Small},
          {"columna", K::Small},
          {"estado", K::Small},
          {"n_on", K::Small},
          {"n_off", K::Small},
          {"n_dudas", K::Small},
          {"pasadas", K::Whole}}},
        {"estimulo",
         "id",
         {{"id", K::Whole},
          {"id_puntoestimulo", K::Whole},
          {"pasada", K::Small},
          {"color", K::Text},
          {"intensidad", K::Small},
          {"hayfosfeno", K::Small},
          {"observaciones", K::Text},
          {"archivopuntos", K::Text},
          {"orientacion", K::Small},
          {"fecha", K::DateTime},
          {"TipoBobina", K::Tiny},
          {"PulsoTipo", K::Tiny},
          {"NumeroPulsos", K::Whole},
          {"PulsoFrecuencia", K::Whole},
          {"PulsoIntensidad", K::Whole},
          {"PulsoFase", K::Tiny}}},
        {"drawing", "stimulus_id", {{"stimulus_id", K::Whole}, {"points", K::Text}}},
        {"mr_calibration",
         "subject_id",
         {{"subject_id", K::Whole},
          {"series", K::Text},
          {"series_number", K::Whole},
          {"fingerprint", K::Text},
          {"landmark1_x", K::Real},
          {"landmark1_y", K::Real},
          {"landmark1_z", K::Real},
          {"landmark2_x", K::Real},
          {"landmark2_y", K::Real},
          {"landmark2_z", K::Real},
          {"ilion_x", K::Real},
          {"ilion_y", K::Real},
          {"ilion_z", K::Real},
          {"distance", K::Real},
          {"interslice", K::Real},
          {"zero_frame", K::Real},
          {"accepted", K::DateTime}}},
        {"mr_normalisation",
         "subject_id",
         {{"subject_id", K::Whole},
          {"m00", K::Real},
          {"m01", K::Real},
          {"m02", K::Real},
          {"m03", K::Real},
          {"m10", K::Real},
          {"m11", K::Real},
          {"m12", K::Real},
          {"m13", K::Real},
          {"m20", K::Real},
          {"m21", K::Real},
          {"m22", K::Real},
          {"m23", K::Real},
          {"template_name", K::Text},
          {"template_sha256", K::Text},
          {"fingerprint", K::Text},
          {"metric", K::Real},
          {"accepted", K::DateTime}}},
        {"mr_aiming",
         "subject_id, cell",
         {{"subject_id", K::Whole},
          {"cell", K::Whole},
          {"calibration_sha256", K::Text},
          {"found", K::Whole},
          {"scalp_x", K::Real},
          {"scalp_y", K::Real},
          {"scalp_z", K::Real},
          {"toward_x", K::Real},
          {"toward_y", K::Real},
          {"toward_z", K::Real},
          {"reach", K::Real}}},
    };
    return list;
}

QDateTime utcTime(const QVariant &value) {
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    const QString text =
        value.typeId() == QMetaType::QDateTime ? value.toDateTime().toString(format) : value.toString();
    QDateTime time = QDateTime::fromString(text.left(19), format);
    time.setTimeSpec(Qt::UTC);
    return time;
}

QString utcText(const QDateTime &time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

std::optional<double> enteredNumber(const QString &text) {
    QString decimal = text.trimmed();
    if (!decimal.contains(QLatin1Char('.'))) {
        decimal.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    bool ok = false;
    const double value = decimal.toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

QVariant entered(const QVariant &value) {
    if (value.typeId() != QMetaType::QString || !value.toString().contains(QLatin1Char(','))) {
        return value;
    }
    const std::optional<double> number = enteredNumber(value.toString());
    return number ? QVariant(*number) : value;
}

const QStringList &enteredColumns() {
    static const QStringList names = {QStringLiteral("Edad"), QStringLiteral("Altura"),
                                      QStringLiteral("Peso")};
    return names;
}

bool isUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError() && text.toUtf8() == bytes;
}

QString shown(const QByteArray &bytes) {
    constexpr int Longest = 60;
    QString out;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    int i = 0;
    while (i < bytes.size() && out.size() < Longest) {
        // The well-formed character starting here, or one byte shown as \xHH.
        int taken = 0;
        for (int n = 1; n <= 4 && i + n <= bytes.size(); ++n) {
            const QByteArray piece = bytes.mid(i, n);
            if (isUtf8(piece)) {
                taken = n;
                break;
            }
        }
        const QString c = taken ? QString::fromUtf8(bytes.mid(i, taken)) : QString();
        if (taken && !(c.size() == 1 && c[0].unicode() < 0x20)) {
            out += c;
        } else {
            out += QStringLiteral("\\x") +
                   QString::number(quint8(bytes[i]), 16).rightJustified(2, QLatin1Char('0')).toUpper();
            taken = 1;
        }
        i += taken;
    }
    return i < bytes.size() ? out + QStringLiteral("...") : out;
}

struct Reader::Private {
    const Table &table;
    QSqlQuery query;
    bool server;
};

Reader::Reader(const QSqlDatabase &db, const Table &table)
    : d(std::make_unique<Private>(Private{table, QSqlQuery(db), ServerStudy::isServer(db)})) {
    // Per column: SQLite names the stored type and gives text as its bytes; a server gives text as
    // its bytes too, and dates in the one format both engines share.
    QStringList selected;
    for (const Column &c : table.columns) {
        const QString name = QString::fromLatin1(c.name);
        if (!d->server) {
            selected << QStringLiteral("typeof(%1)").arg(name)
                     << QStringLiteral("CASE WHEN typeof(%1) IN ('text', 'blob') THEN CAST(%1 AS BLOB) ELSE "
                                       "%1 END")
                            .arg(name);
        } else if (c.kind == Kind::Text || c.kind == Kind::Entered) {
            // As hex text: an empty bytea would come back from the driver as null.
            selected << QStringLiteral("encode(convert_to(%1, 'UTF8'), 'hex')").arg(name);
        } else if (c.kind == Kind::DateTime) {
            selected << QStringLiteral("to_char(%1, 'YYYY-MM-DD HH24:MI:SS')").arg(name);
        } else {
            selected << name;
        }
    }
    d->query.setForwardOnly(true);
    if (!d->query.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3")
                           .arg(selected.join(QStringLiteral(", ")), QString::fromLatin1(table.name),
                                QString::fromLatin1(table.key)))) {
        throw StudyError(QCoreApplication::translate("StoredValue", "Cannot read the table %1")
                             .arg(QString::fromLatin1(table.name)),
                         d->query.lastError());
    }
    m_values.resize(table.columns.size());
}

Reader::~Reader() = default;

bool Reader::next() {
    if (!d->query.next()) {
        Query::finished(d->query); // the last row, not a read error
        return false;
    }
    for (int i = 0; i < d->table.columns.size(); ++i) {
        Value v;
        if (!d->server) {
            const QString type = d->query.value(2 * i).toString();
            const QVariant content = d->query.value(2 * i + 1);
            if (type == QLatin1String("integer")) {
                v.type = Value::Integer;
                v.integer = content.toLongLong();
            } else if (type == QLatin1String("real")) {
                v.type = Value::Real;
                v.real = content.toDouble();
            } else if (type == QLatin1String("text") || type == QLatin1String("blob")) {
                v.type = type == QLatin1String("text") ? Value::Text : Value::Blob;
                v.bytes = content.toByteArray();
            }
        } else {
            const QVariant content = d->query.value(i);
            const Kind kind = d->table.columns[i].kind;
            if (d->query.isNull(i)) {
            } else if (kind == Kind::Text || kind == Kind::Entered || kind == Kind::DateTime) {
                v.type = Value::Text;
                v.bytes = kind == Kind::DateTime ? content.toString().toUtf8()
                                                 : QByteArray::fromHex(content.toString().toLatin1());
            } else if (kind == Kind::Boolean) {
                v.type = Value::Integer;
                v.integer = content.toBool() ? 1 : 0;
            } else if (kind == Kind::Real) {
                v.type = Value::Real;
                v.real = content.toDouble();
            } else {
                v.type = Value::Integer;
                v.integer = content.toLongLong();
            }
        }
        m_values[i] = v;
    }
    return true;
}

QString Reader::key() const {
    // A key of several columns ("subject_id, cell") is its first columns.
    QStringList parts;
    const QStringList names = QString::fromLatin1(d->table.key).split(QStringLiteral(", "));
    for (int i = 0; i < names.size(); ++i) {
        const Value &k = m_values[i];
        parts << QStringLiteral("%1 %2").arg(names[i], k.type == Value::Integer ? QString::number(k.integer)
                                                                                : shown(k.bytes));
    }
    return parts.join(QStringLiteral(", "));
}

void refuseInvalidText(const QSqlDatabase &db, const QString &what) {
    for (const Table &t : tables()) {
        Reader rows(db, t);
        while (rows.next()) {
            for (int i = 0; i < t.columns.size(); ++i) {
                const Value &v = rows.value(i);
                if (v.type == Value::Text && !isUtf8(v.bytes)) {
                    throw StudyError(
                        QCoreApplication::translate(
                            "StoredValue",
                            "%1: in the table %2, row %3, column %4, the text \"%5\" is not valid UTF-8.")
                            .arg(what, QString::fromLatin1(t.name), rows.key(),
                                 QString::fromLatin1(t.columns[i].name), shown(v.bytes)));
                }
            }
        }
    }
}

} // namespace StoredValue
