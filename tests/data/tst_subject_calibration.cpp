// A subject's MR calibration, the cells' aiming stored with it and its normalisation kept in the
// study: written whole, replacing the earlier one, and read back value for value on both engines.

#include "support/MrRecords.h"
#include "support/StudyFixture.h"

#include "data/StudyError.h"
#include "data/SubjectAiming.h"
#include "data/SubjectCalibration.h"
#include "data/SubjectNormalisation.h"

using namespace Qt::StringLiterals;

class SubjectCalibrationTest : public QObject {
    Q_OBJECT

private:
    static SubjectCalibration::Record record(qint32 subject, const QString &series, double shift) {
        SubjectCalibration::Record r =
            calibrationOf(subject, series, QStringLiteral("dicom:1.2.840.113619.2.55.%1:176").arg(subject),
                          {{{246.5 + shift, 121, 42}, {25, 97.25, 0.1 + 0.2}, {-0.0, 1e-9, 32767}}});
        r.seriesNumber = 2;
        r.distance = 187.3 + shift;
        r.interslice = 1.2;
        r.zeroFrame = 88;
        return r;
    }

    static bool same(const SubjectCalibration::Record &a, const SubjectCalibration::Record &b) {
        for (std::size_t i = 0; i < 3; ++i) {
            const auto &p = a.landmarks[i], &q = b.landmarks[i];
            if (p.x != q.x || p.y != q.y || p.z != q.z) {
                return false;
            }
        }
        return a.subjectId == b.subjectId && a.series == b.series && a.seriesNumber == b.seriesNumber &&
               a.fingerprint == b.fingerprint && a.distance == b.distance && a.interslice == b.interslice &&
               a.zeroFrame == b.zeroFrame && a.accepted == b.accepted && b.accepted.timeSpec() == Qt::UTC;
    }

private slots:
    // Any path as the operator chose it comes back whole (config.ini would cut it at 149 characters);
    // a second calibration replaces the first and leaves other subjects' alone. The aiming stored with
    // it is of the calibration read back (every number exact) and comes back as written.
    void aCalibrationComesBackAsWrittenAndReplacesTheEarlierOne() {
        const QString series = QStringLiteral("/datos/resonancias/'Begoña' \"Ibáñez\"\\") +
                               QString(200, QLatin1Char('x')) + QStringLiteral("/t1.nii.gz");
        StudyFixture study;
        study.addSubject(7, "Ana");
        study.addSubject(8, "Luis");
        QVERIFY(!SubjectCalibration::read(study.db(), 7));
        SubjectCalibration::write(study.db(), record(8, "/other", 0));
        SubjectCalibration::write(study.db(), record(7, "/first", 0));
        const SubjectCalibration::Record second = record(7, series, 1.5);
        SubjectAiming::Record aiming;
        aiming.subjectId = 7;
        aiming.calibration = SubjectAiming::calibrationDigest(second);
        aiming.cells[49] = {true, {-61.25, 1e-9, 0.1 + 0.2}, {0.6, -0.8, 0}, 80.125};
        SubjectCalibration::write(study.db(), second, &aiming);
        const std::optional<SubjectCalibration::Record> back = SubjectCalibration::read(study.db(), 7);
        QVERIFY(same(second, *back));
        const std::optional<SubjectAiming::Record> aimed = SubjectAiming::readFor(study.db(), *back);
        QVERIFY(aimed && aimed->cells[49].scalp == aiming.cells[49].scalp &&
                aimed->cells[49].toward == aiming.cells[49].toward && aimed->cells[49].reach == 80.125 &&
                !aimed->cells[0].found);
        QVERIFY(same(record(8, "/other", 0), *SubjectCalibration::read(study.db(), 8)));
        QCOMPARE(study.read("SELECT count(*) FROM mr_calibration"), "2");
    }

    // A write that fails leaves the earlier calibration in place.
    void aFailedWriteKeepsTheEarlierCalibration() {
        StudyFixture study;
        study.addSubject(7, "Ana");
        SubjectCalibration::write(study.db(), record(7, "/first", 0));
        SubjectCalibration::Record broken = record(7, "/second", 0);
        broken.series = QString(); // null: refused by NOT NULL after the earlier row was deleted
        QVERIFY_THROWS_EXCEPTION(StudyError, SubjectCalibration::write(study.db(), broken));
        QCOMPARE(SubjectCalibration::read(study.db(), 7)->series, "/first");
    }

    // A subject's normalisation comes back value for value; a stored row that is not a sound affine
    // (damaged, or written by another program) is refused when read, naming what is wrong.
    void aStoredNormalisationIsCheckedWhenRead_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("refusal"); // "" when it reads back
        QTest::newRow("as written") << QString() << QString();
        QTest::newRow("not a number in the matrix") << u"m12 = 'NaN'"_s << u"not a finite number"_s;
        QTest::newRow("a flat matrix") << u"m00 = 0, m01 = 0, m02 = 0"_s << u"cannot be inverted"_s;
        QTest::newRow("no template") << u"template_name = ''"_s << u"no template"_s;
        QTest::newRow("a SHA-256 cut short") << u"template_sha256 = 'abc'"_s << u"SHA-256"_s;
        QTest::newRow("no series") << u"fingerprint = ''"_s << u"fingerprint"_s;
        QTest::newRow("an infinite metric") << u"metric = 'Infinity'"_s << u"metric"_s;
    }
    void aStoredNormalisationIsCheckedWhenRead() {
        QFETCH(QString, damage);
        QFETCH(QString, refusal);
        StudyFixture study;
        study.addSubject(7, "Ana");
        const SubjectNormalisation::Record r = normalisationOf(
            7, "nifti-sha256:ab",
            {0.97, 0.1, -0.02, 1.5, -0.1, 1.04, 0.2, -19.25, 0.03, -0.2, 0.99, 1e-7, 0, 0, 0, 1});
        SubjectNormalisation::write(study.db(), r);
        if (!damage.isEmpty()) {
            study.exec(QStringLiteral("UPDATE mr_normalisation SET ") + damage);
        }
        try {
            const std::optional<SubjectNormalisation::Record> read =
                SubjectNormalisation::read(study.db(), 7);
            QVERIFY2(refusal.isEmpty(), "a damaged row was read");
            QVERIFY(read->subjectToMni == r.subjectToMni && read->templateName == r.templateName &&
                    read->templateSha256 == r.templateSha256 && read->fingerprint == r.fingerprint &&
                    read->metric == r.metric && read->accepted == r.accepted);
        } catch (const StudyError &e) {
            QVERIFY2(!refusal.isEmpty() && e.message().contains(refusal), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(SubjectCalibrationTest)
#include "tst_subject_calibration.moc"
