#pragma once

#include <QString>
#include <QtGlobal>

// The settings file (config.ini), read and written with the semantics of Windows private
// profiles: one value per "key=value" line under "[section]" headers, section and key names
// compared regardless of case, values raw (no escaping, no quoting), and defaults whenever the
// file, the section or the key is missing.

// Value of the key, whole; the default when the file, the section or the key is missing. Never
// fails. The original program read values into a 150-character buffer and so cut them at 149
// characters; the file itself always held them whole. Values are read whole here, for the old
// program's keys too: every value it could use (149 characters or fewer) reads the same, a longer
// one is a folder it would have cut into another folder, and whatever this program writes (a long
// MR or backup folder) must come back as it was written.
QString LeeIni(const QString &rutaConfig, const QString &seccion, const QString &clave,
               const QString &porDefecto);

// Writes the value, creating the file, section or key as needed and keeping every other line as
// it was. Returns non-zero on success, 0 when the file could not be written.
[[nodiscard]] qint16 EscribeIni(const QString &rutaConfig, const QString &seccion, const QString &clave,
                                const QString &valor);
