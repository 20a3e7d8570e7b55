#include "brain/BrainError.h"
#include "brain/BrainFixtures.h"
#include "brain/BrainTemplate.h"
#include "brain/Normalise.h"
#include "imaging/NiftiFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace BrainFixtures;

// Registration to the template: a head made from it with a known affine comes back to the truth, a
// cube is refused as no head.
class TestNormalise : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    BrainTemplate m_template;
    VolumeLayout::ScannerVolume m_head;

private slots:
    void initTestCase() {
        m_template = BrainTemplate::find();
        QVERIFY(NiftiFiles::read(m_template.head, m_head));
    }

    // A head made from the template turned, scaled and shifted, with noise, on a grid of 2.5 mm.
    void aHeadMadeFromTheTemplateComesBackToTheTruth() {
        const Matrix truth = affine({9, -11, 8}, {1.06, 0.95, 1.05}, {18, -21, 12});
        const QString path = m_dir.filePath(QStringLiteral("head.nii.gz"));
        QVERIFY(NiftiFiles::write(path, headFromTemplate(m_head, truth, 2.5, 6)));
        const SubjectNormalisation::Record record = Normalise::compute(jobFor(path, m_template), {});
        // Points of the brain (every 6 mm of the template's brain box), carried into the subject by
        // the truth's inverse and back by the result.
        const Matrix back = Normalise::inverse(truth);
        std::vector<double> errors;
        for (double x = -60; x <= 60; x += 6) {
            for (double y = -90; y <= 60; y += 6) {
                for (double z = -30; z <= 70; z += 6) {
                    const Vec3 mni{x, y, z};
                    const Vec3 found = Normalise::apply(record.subjectToMni, Normalise::apply(back, mni));
                    errors.push_back(std::hypot(found[0] - x, found[1] - y, found[2] - z));
                }
            }
        }
        std::nth_element(errors.begin(), errors.begin() + std::ptrdiff_t(errors.size() / 2), errors.end());
        const double median = errors[errors.size() / 2];
        qInfo("median error %.2f mm, metric %.3f", median, record.metric);
        QVERIFY2(median <= 3, qPrintable(QString::number(median)));
    }

    // A cube of 120 mm is no head: the registration finds too little in common with the template.
    void aCubeIsNoHeadAndIsRefused() {
        VolumeLayout::ScannerVolume v;
        v.dims = {100, 100, 90};
        v.affine.origin = {-100, -100, -90};
        v.affine.axes = {Vec3{2, 0, 0}, Vec3{0, 2, 0}, Vec3{0, 0, 2}};
        v.voxels.assign(std::size_t(100) * 100 * 90, 0);
        for (int k = 0; k < v.dims[2]; ++k) {
            for (int j = 0; j < v.dims[1]; ++j) {
                for (int i = 0; i < v.dims[0]; ++i) {
                    const bool inside =
                        std::abs(i - 50) < 30 && std::abs(j - 50) < 30 && std::abs(k - 45) < 30;
                    v.voxels[v.index(i, j, k)] = inside ? 200 : 0;
                }
            }
        }
        const QString path = m_dir.filePath(QStringLiteral("cube.nii.gz"));
        QVERIFY(NiftiFiles::write(path, v));
        try {
            const SubjectNormalisation::Record record = Normalise::compute(jobFor(path, m_template), {});
            QFAIL(qPrintable(QStringLiteral("normalised, metric %1").arg(record.metric)));
        } catch (const BrainError &e) {
            qInfo("%s", qPrintable(e.message()));
            QVERIFY(e.message().contains(QLatin1String("did not find a head")));
        }
    }
};

QTEST_GUILESS_MAIN(TestNormalise)
#include "tst_normalise.moc"
