#include "results/GroupMap.h"

namespace GroupMap {

Result compute(const QSqlDatabase &, const Options &, const BrainTemplate &) {
    return {};
}

QByteArray areasTsv(const QList<AreaRow> &) {
    return {};
}

} // namespace GroupMap
