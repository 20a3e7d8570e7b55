#include "experiments/EGridProperties.h"

#include "core/GridCells.h"

namespace {

template <typename T> T value(const QVariantMap &bag, const QString &key, T fallback) {
    const QVariant stored = bag.value(key);
    if (!stored.isValid() || !stored.canConvert<T>()) {
        return fallback;
    }
    return stored.value<T>();
}

} // namespace

EGridProperties EGridProperties::read(const QVariantMap &bag, const QFont &ambientFont) {
    EGridProperties p;
    p.BackColor = value<quint32>(bag, QStringLiteral("BackColor"), 0);
    p.ForeColor = value<quint32>(bag, QStringLiteral("ForeColor"), 0);
    p.Enabled = value<bool>(bag, QStringLiteral("Enabled"), true);
    p.Font = bag.value(QStringLiteral("Font")).typeId() == QMetaType::QFont
                 ? bag.value(QStringLiteral("Font")).value<QFont>()
                 : ambientFont;
    p.Appearance = value<qint16>(bag, QStringLiteral("Appearance"), 0);
    p.BackStyle = value<qint16>(bag, QStringLiteral("BackStyle"), 0);
    p.BorderStyle = value<qint16>(bag, QStringLiteral("BorderStyle"), 0);
    p.EIndex = value<qint32>(bag, QStringLiteral("EIndex"), GridCells::DefaultIndex);
    if (!GridCells::isValid(p.EIndex)) {
        p.EIndex = GridCells::DefaultIndex;
    }
    return p;
}

QVariantMap EGridProperties::write() const {
    return {
        {QStringLiteral("BackColor"), BackColor},     {QStringLiteral("ForeColor"), ForeColor},
        {QStringLiteral("Enabled"), Enabled},         {QStringLiteral("Font"), Font},
        {QStringLiteral("Appearance"), Appearance},   {QStringLiteral("BackStyle"), BackStyle},
        {QStringLiteral("BorderStyle"), BorderStyle}, {QStringLiteral("EIndex"), EIndex},
    };
}
