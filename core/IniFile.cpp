#include "core/IniFile.h"

#include "core/SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct LineaIni {
    enum class Tipo { Otra, Seccion, Clave };
    Tipo tipo = Tipo::Otra;
    QString nombre; // section or key name, trimmed
    QString valor;  // key value, trimmed
};

LineaIni analiza(const QString &linea) {
    const QString recortada = linea.trimmed();
    LineaIni resultado;
    if (recortada.startsWith(QLatin1Char(';'))) {
        return resultado;
    }
    if (recortada.startsWith(QLatin1Char('['))) {
        const int cierre = recortada.indexOf(QLatin1Char(']'));
        if (cierre > 0) {
            resultado.tipo = LineaIni::Tipo::Seccion;
            resultado.nombre = recortada.mid(1, cierre - 1).trimmed();
        }
        return resultado;
    }
    const int igual = recortada.indexOf(QLatin1Char('='));
    if (igual > 0) {
        resultado.tipo = LineaIni::Tipo::Clave;
        resultado.nombre = recortada.left(igual).trimmed();
        resultado.valor = recortada.mid(igual + 1).trimmed();
    }
    return resultado;
}

bool mismoNombre(const QString &a, const QString &b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// The file's text, decoded as UTF-8, or as Latin-1 when it is not valid UTF-8 (files written by
// the Windows program are in the ANSI code page). Empty optional when the file cannot be read.
// Only a regular file is read: a FIFO or a device under the name would block the program or never
// end. It is opened without waiting (a FIFO's open would wait for a writer) and its type checked on
// what was opened, so nothing swapped in after a check is read either.
std::optional<QString> leeTexto(const QString &ruta) {
    const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat estado;
    QFile fichero;
    if (::fstat(fd, &estado) != 0 || !S_ISREG(estado.st_mode) ||
        !fichero.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    const QByteArray bytes = fichero.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError()) {
        texto = QString::fromLatin1(bytes);
    }
    return texto;
}

QStringList partidoEnLineas(const QString &texto) {
    QStringList lineas = texto.split(QLatin1Char('\n'));
    for (QString &linea : lineas) {
        if (linea.endsWith(QLatin1Char('\r'))) {
            linea.chop(1);
        }
    }
    if (!lineas.isEmpty() && lineas.last().isEmpty()) {
        lineas.removeLast(); // the terminator of the last line
    }
    return lineas;
}

} // namespace

QString LeeIni(const QString &rutaConfig, const QString &seccion, const QString &clave,
               const QString &porDefecto) {
    const std::optional<QString> texto = leeTexto(rutaConfig);
    if (!texto) {
        return porDefecto;
    }
    bool enSeccion = false;
    for (const QString &linea : partidoEnLineas(*texto)) {
        const LineaIni l = analiza(linea);
        if (l.tipo == LineaIni::Tipo::Seccion) {
            enSeccion = mismoNombre(l.nombre, seccion);
        } else if (enSeccion && l.tipo == LineaIni::Tipo::Clave && mismoNombre(l.nombre, clave)) {
            return l.valor;
        }
    }
    return porDefecto;
}

qint16 EscribeIni(const QString &rutaConfig, const QString &seccion, const QString &clave,
                  const QString &valor) {
    if (rutaConfig.isEmpty()) {
        return 0;
    }
    QStringList lineas;
    QString finDeLinea = QStringLiteral("\n");
    if (QFileInfo::exists(rutaConfig)) {
        // Anything there but a regular file (a FIFO, a device, a folder) is left alone.
        const std::optional<QString> texto = leeTexto(rutaConfig);
        if (!texto) {
            return 0;
        }
        if (texto->contains(QLatin1String("\r\n"))) {
            finDeLinea = QStringLiteral("\r\n"); // keep a Windows file's line ends
        }
        lineas = partidoEnLineas(*texto);
    }

    const QString nueva = clave + QLatin1Char('=') + valor;
    int inicioSeccion = -1;
    int ultimaDeSeccion = -1; // last non-blank line of the section, where a new key goes
    bool escrita = false;
    for (int i = 0; i < lineas.size() && !escrita; ++i) {
        const LineaIni l = analiza(lineas[i]);
        if (l.tipo == LineaIni::Tipo::Seccion) {
            if (inicioSeccion >= 0) {
                break; // the section ended without the key
            }
            if (mismoNombre(l.nombre, seccion)) {
                inicioSeccion = ultimaDeSeccion = i;
            }
        } else if (inicioSeccion >= 0) {
            if (l.tipo == LineaIni::Tipo::Clave && mismoNombre(l.nombre, clave)) {
                lineas[i] = l.nombre + QLatin1Char('=') + valor;
                escrita = true;
            } else if (!lineas[i].trimmed().isEmpty()) {
                ultimaDeSeccion = i;
            }
        }
    }
    if (!escrita) {
        if (inicioSeccion >= 0) {
            lineas.insert(ultimaDeSeccion + 1, nueva);
        } else {
            lineas << QLatin1Char('[') + seccion + QLatin1Char(']') << nueva;
        }
    }

    // All or nothing: a full disk leaves the previous settings as they were.
    if (!QDir().mkpath(QFileInfo(rutaConfig).absolutePath())) {
        return 0;
    }
    return SafeWrite::writeBytes(rutaConfig, (lineas.join(finDeLinea) + finDeLinea).toUtf8()) ? 1 : 0;
}
