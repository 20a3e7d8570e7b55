#pragma once

#include <QString>
#include <QtGlobal>

// The settings file (config.ini), read and written with the semantics of Windows private
// profiles: one value per "key=value" line under "[section]" headers, section and key names
// compared regardless of case, values raw (no escaping, no quoting), and defaults whenever the
// file, the section or the key is missing.

// Longest value LeeIni returns: the original program read into a 150-character buffer, which
// holds 149 characters and the terminator.
inline constexpr int LongitudMaximaValorIni = 149;

// Value of the key, cut to LongitudMaximaValorIni characters; the default when the file, the
// section or the key is missing. Never fails.
QString LeeIni(const QString &rutaConfig, const QString &seccion, const QString &clave,
               const QString &porDefecto);

// Writes the value, creating the file, section or key as needed and keeping every other line as
// it was. Returns non-zero on success, 0 when the file could not be written.
qint16 EscribeIni(const QString &rutaConfig, const QString &seccion, const QString &clave,
                  const QString &valor);
