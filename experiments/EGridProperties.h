#pragma once

#include <QFont>
#include <QVariantMap>

// The grid control's stored properties, kept in a property bag: a key/value map with the keys
// "BackColor", "ForeColor", "Enabled", "Font", "Appearance", "BackStyle", "BorderStyle" and "EIndex".
// BackColor, ForeColor, Font, Appearance, BackStyle and BorderStyle are stored only; they do not
// change how the control looks.
struct EGridProperties {
    quint32 BackColor = 0;
    quint32 ForeColor = 0;
    bool Enabled = true;
    QFont Font;
    qint16 Appearance = 0;
    qint16 BackStyle = 0;
    qint16 BorderStyle = 0;
    qint32 EIndex = 14;

    // Every key read from the bag, a missing or unusable value giving its default (the font: the
    // host's ambient font). An EIndex outside 0 to 49 gives the default 14, as the control never
    // holds such an index.
    static EGridProperties read(const QVariantMap &bag, const QFont &ambientFont);
    // Every key written.
    QVariantMap write() const;
};
