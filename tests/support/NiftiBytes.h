#pragma once

#include <QByteArray>

#include <nifti/nifti1.h>
#include <nifti/nifti2.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

// A single-file NIfTI-1 or NIfTI-2 (after the header type) of the given sizes and stored values,
// placed by a diagonal sform {x, y, z sizes, origin} in RAS when one is given, else by pixdim alone.
template <typename Header, typename T>
QByteArray handMade(const std::vector<std::int64_t> &dims, int datatype, const std::vector<T> &values,
                    const std::vector<double> &pixdim, const std::vector<double> &sform = {},
                    double slope = 0) {
    Header h{};
    h.sizeof_hdr = sizeof(Header);
    std::memcpy(h.magic, sizeof(Header) == 348 ? "n+1\0" : "n+2\0\r\n\032\n", sizeof h.magic);
    std::int64_t count = 1;
    h.dim[0] = dims.size();
    for (std::size_t n = 1; n < 8; ++n) {
        count *= h.dim[n] = n <= dims.size() ? dims[n - 1] : 1;
    }
    h.datatype = datatype;
    h.bitpix = values.empty() ? 8 : 8 * sizeof(T) * values.size() / count;
    std::copy(pixdim.begin(), pixdim.end(), h.pixdim + 1);
    h.vox_offset = sizeof(Header) + 4;
    h.scl_slope = slope;
    if (!sform.empty()) {
        h.sform_code = 1;
        h.srow_x[0] = sform[0], h.srow_y[1] = sform[1], h.srow_z[2] = sform[2];
        h.srow_x[3] = sform[3], h.srow_y[3] = sform[4], h.srow_z[3] = sform[5];
    }
    return QByteArray(reinterpret_cast<const char *>(&h), sizeof h)
        .append(4, '\0')
        .append(reinterpret_cast<const char *>(values.data()),
                qsizetype(values.size()) * qsizetype(sizeof(T)));
}
