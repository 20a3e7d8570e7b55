#include "imaging/ImagingLibrary.h"

#include "imaging/Volume.h"

#include <array>
#include <limits>

ImagingLibrary::ImagingLibrary() = default;
ImagingLibrary::~ImagingLibrary() = default;

void ImagingLibrary::_d2_crea(qint32 &handle, qint32 flag) {
    Q_UNUSED(flag); // the slices come already in the layout
    while (m_nextHandle == 0 || m_volumes.count(m_nextHandle) != 0) {
        m_nextHandle = m_nextHandle == std::numeric_limits<qint32>::max() ? 1 : m_nextHandle + 1;
    }
    handle = m_nextHandle++;
    m_volumes[handle] = std::make_unique<Volume>();
}

void ImagingLibrary::_d2_anyade(qint32 handle, const QString &path) {
    _d2_anyade(handle, QImage(path));
}

void ImagingLibrary::_d2_anyade(qint32 handle, const QImage &slice) {
    const auto found = m_volumes.find(handle);
    if (found != m_volumes.end()) {
        found->second->append(slice);
    }
}

void ImagingLibrary::_d2_anyade(qint32 handle, int width, int height, int slices,
                                std::vector<std::uint8_t> &&voxels) {
    const auto found = m_volumes.find(handle);
    if (found != m_volumes.end()) {
        found->second->append(width, height, slices, std::move(voxels));
    }
}

void ImagingLibrary::_d2_cierra(qint32 handle, qint32 flag) {
    Q_UNUSED(flag); // the slices come already in the layout
    const auto found = m_volumes.find(handle);
    if (found != m_volumes.end()) {
        found->second->close();
    }
}

void ImagingLibrary::_d2_destruye(qint32 &handle) {
    m_volumes.erase(handle);
    handle = 0;
}

void ImagingLibrary::_d2_setIncremento(qint32 handle, double increment) {
    const auto found = m_volumes.find(handle);
    if (found != m_volumes.end()) {
        found->second->setIncrement(increment);
    }
}

void ImagingLibrary::_d2_dimensiones(qint32 handle, qint32 &x, qint32 &y, qint32 &z) const {
    if (const Volume *v = volume(handle)) {
        x = v->width();
        y = v->height();
        z = v->slices();
    }
}

qint32 ImagingLibrary::_d2_dame_posicion_central(qint32 handle, qint32 y, qint32 z) const {
    const Volume *v = closedVolume(handle);
    return v ? v->centralColumn(y, z) : 0;
}

void ImagingLibrary::_d2_crea_corte_z(qint32 handle, qint32 z, QImage *picture) const {
    const Volume *v = closedVolume(handle);
    if (v && picture && z >= 0 && z < v->slices()) {
        *picture = v->cutZ(z);
    }
}

void ImagingLibrary::_d2_crea_corte_y(qint32 handle, qint32 y, QImage *picture) const {
    const Volume *v = closedVolume(handle);
    if (v && picture && y >= 0 && y < v->height()) {
        *picture = v->cutY(y);
    }
}

void ImagingLibrary::_d2_crea3D_2(qint32 handle, qint32 cutColumn, qint32 one, qint32 low, qint32 high,
                                  qint32 zero, QImage *picture) const {
    Q_UNUSED(one);
    Q_UNUSED(zero);
    const Volume *v = closedVolume(handle);
    if (v && picture && v->slices() > 0) {
        *picture = v->render3D(cutColumn, low, high);
    }
}

bool ImagingLibrary::_d2_dameUmbral3D(qint32 handle, const qint32 a[3], const qint32 b[3], qint32 low,
                                      qint32 high, qint32 out[6]) const {
    const Volume *v = closedVolume(handle);
    if (!v) {
        return false;
    }
    std::array<int, 6> found{};
    if (!v->searchLine({a[0], a[1], a[2]}, {b[0], b[1], b[2]}, low, high, found)) {
        return false;
    }
    for (int i = 0; i < 6; ++i) {
        out[i] = found[static_cast<std::size_t>(i)];
    }
    return true;
}

const Volume *ImagingLibrary::volume(qint32 handle) const {
    const auto found = m_volumes.find(handle);
    return found == m_volumes.end() ? nullptr : found->second.get();
}

const Volume *ImagingLibrary::closedVolume(qint32 handle) const {
    const Volume *v = volume(handle);
    return v && v->isClosed() ? v : nullptr;
}
