#include "drawings/DrawingFile.h"

#include "core/ConfinedRead.h"

#include "core/SafeWrite.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace DrawingFile {

double roundHalfToEven(double value) {
    // remainder(value, 1) is value minus its nearest integer, ties going to the even one, whatever
    // the floating-point rounding mode.
    return value - std::remainder(value, 1.0);
}

qint16 toUnit(double value) {
    constexpr double Low = std::numeric_limits<qint16>::min();
    constexpr double High = std::numeric_limits<qint16>::max();
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = roundHalfToEven(value);
    return qint16(rounded < Low ? Low : (rounded > High ? High : rounded));
}

QString storedName(int idPaciente, int idPunto, int pasada) {
    return QString::number(idPaciente) + QString::number(idPunto) + QString::number(pasada);
}

QByteArray format(const QList<PointRecord> &records) {
    QByteArray text = QByteArray::number(records.size()) + "\r\n";
    for (const PointRecord &record : records) {
        text += QByteArray::number(record.code) + ' ' + QByteArray::number(record.x) + ' ' +
                QByteArray::number(record.y) + "\r\n";
    }
    return text;
}

bool write(const QString &path, const QList<PointRecord> &records) {
    return SafeWrite::writeBytes(path, format(records));
}

namespace {

// The start of a token as an error message shows it.
QString shown(QByteArrayView token) {
    return QString::fromLatin1(token.first(std::min<qsizetype>(token.size(), 40)));
}

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',' || c == '\r' || c == '\n';
}

// Reads numbers one after the other; false at the end of the data or on an error.
class NumberReader {
public:
    explicit NumberReader(QByteArrayView data) : m_data(data) {}

    bool next(qint16 &value) {
        while (m_pos < m_data.size() && isSeparator(m_data[m_pos])) {
            ++m_pos;
        }
        if (m_pos == m_data.size()) {
            return false;
        }
        const qsizetype start = m_pos;
        while (m_pos < m_data.size() && !isSeparator(m_data[m_pos])) {
            ++m_pos;
        }
        const QByteArrayView token = m_data.sliced(start, m_pos - start);
        qsizetype digits = 0;
        bool negative = false;
        if (token[0] == '-' || token[0] == '+') {
            negative = token[0] == '-';
            digits = 1;
        }
        if (digits == token.size()) {
            return fail(token);
        }
        long magnitude = 0;
        for (qsizetype i = digits; i < token.size(); ++i) {
            if (token[i] < '0' || token[i] > '9') {
                return fail(token);
            }
            magnitude = magnitude * 10 + (token[i] - '0');
            if (magnitude > 32768) {
                m_error =
                    QCoreApplication::translate("DrawingFile", "number out of range: %1").arg(shown(token));
                return false;
            }
        }
        const long signedValue = negative ? -magnitude : magnitude;
        if (signedValue > std::numeric_limits<qint16>::max()) {
            m_error = QCoreApplication::translate("DrawingFile", "number out of range: %1").arg(shown(token));
            return false;
        }
        value = qint16(signedValue);
        return true;
    }

    const QString &error() const { return m_error; }

private:
    bool fail(QByteArrayView token) {
        m_error = QCoreApplication::translate("DrawingFile", "not a number: %1").arg(shown(token));
        return false;
    }

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    QString m_error;
};

} // namespace

Contents parse(QByteArrayView data) {
    Contents contents;
    NumberReader reader(data);
    if (!reader.next(contents.count)) {
        contents.error = reader.error().isEmpty()
                             ? QCoreApplication::translate("DrawingFile", "the file is empty")
                             : reader.error();
        return contents;
    }
    contents.countRead = true;
    for (;;) {
        PointRecord record;
        if (!reader.next(record.code)) {
            if (!reader.error().isEmpty()) {
                contents.error = reader.error();
            }
            return contents;
        }
        if (!reader.next(record.x) || !reader.next(record.y)) {
            contents.error =
                reader.error().isEmpty()
                    ? QCoreApplication::translate("DrawingFile", "the last point record is incomplete")
                    : reader.error();
            return contents;
        }
        if (contents.records.size() == MaxPoints) {
            contents.error =
                QCoreApplication::translate(
                    "DrawingFile", "more than the %1 point records a drawing holds; the rest is not drawn")
                    .arg(MaxPoints);
            return contents;
        }
        contents.records.append(record);
    }
}

Contents read(const QString &path) {
    QFile file(path);
    if (!ConfinedRead::notRegularFile(path).isEmpty() || !file.open(QIODevice::ReadOnly)) {
        Contents contents;
        contents.error = QFileInfo(path).exists() && !QFileInfo(path).isFile()
                             ? QCoreApplication::translate("DrawingFile", "not a regular file")
                             : file.errorString();
        return contents;
    }
    // Far more than the longest drawing takes; what lies beyond is past the records read anyway.
    const QByteArray data = file.read(ReadLimit);
    if (file.error() != QFileDevice::NoError) {
        Contents contents;
        contents.error = file.errorString();
        return contents;
    }
    return parse(data);
}

} // namespace DrawingFile
