#include "support/Files.h"
#include "support/NiftiBytes.h"
#include "support/StudyFixture.h"

#include <QCryptographicHash>
#include <QDirIterator>

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

// Hostile files given to zokorvane-tool, one row per case. Each row makes its files in a folder of its
// own (`dir`; `outside` is a sibling folder with a file the command must neither read nor change), and
// says what the tool is run with and what its refusal must name. The tool runs as a child in bounded
// memory and CPU time with a cache of its own; every row checks that it is refused with a non-zero
// exit (not a signal), naming the file and the reason, that nothing is left in the cache, that nothing
// in the row's folder changed but what the row allows, and that nothing outside was opened.
struct HostileCase {
    QStringList args;      // the tool's arguments
    QString named;         // the file the refusal names
    QString reason;        // a piece of the reason it gives
    QStringList mayChange; // files of `dir` (relative; "x/" for a folder and all in it) it may change
    bool refused = true;   // false: the command goes on without what it names (exit 0)
};
using HostileSetup = std::function<HostileCase(const QString &dir, const QString &outside)>;
Q_DECLARE_METATYPE(HostileSetup)

namespace {

// ---- DICOM, explicit VR little endian, written element by element ----

QByteArray le16(quint16 v) {
    return QByteArray(reinterpret_cast<const char *>(&v), 2);
}
QByteArray le32(quint32 v) {
    return QByteArray(reinterpret_cast<const char *>(&v), 4);
}

QByteArray element(quint16 group, quint16 tag, const char *vr, QByteArray value) {
    if (value.size() % 2) {
        value.append(std::strcmp(vr, "UI") == 0 || std::strcmp(vr, "OB") == 0 ? '\0' : ' ');
    }
    QByteArray out = le16(group) + le16(tag) + QByteArray(vr, 2);
    const bool longForm = std::strcmp(vr, "OB") == 0 || std::strcmp(vr, "OW") == 0;
    out += longForm ? le16(0) + le32(quint32(value.size())) : le16(quint16(value.size()));
    return out + value;
}

struct DicomClaims {
    quint16 rows = 8;
    quint16 columns = 8;
    QByteArray spacing = "1\\1"; // PixelSpacing
    double position = 0;         // along the subject's left-right axis
    qsizetype pixelBytes = -1;   // -1: rows x columns
    qsizetype padding = 0;       // bytes of a private element before the pixel data
};

// One MR image, a sagittal slice of 8-bit pixels, claiming what `c` says.
QByteArray dicomImage(const DicomClaims &c) {
    const QByteArray sopClass = "1.2.840.10008.5.1.4.1.1.4";
    const QByteArray instance = "1.2.3.4." + QByteArray::number(std::lround(c.position) + 1);
    QByteArray meta = element(0x0002, 0x0001, "OB", QByteArray("\0\1", 2)) +
                      element(0x0002, 0x0002, "UI", sopClass) + element(0x0002, 0x0003, "UI", instance) +
                      element(0x0002, 0x0010, "UI", "1.2.840.10008.1.2.1");
    meta.prepend(element(0x0002, 0x0000, "UL", le32(quint32(meta.size()))));
    QByteArray data = element(0x0008, 0x0016, "UI", sopClass) + element(0x0008, 0x0018, "UI", instance) +
                      element(0x0008, 0x0060, "CS", "MR") + element(0x0020, 0x000E, "UI", "1.2.3.9") +
                      element(0x0020, 0x0032, "DS", QByteArray::number(c.position) + "\\0\\0") +
                      element(0x0020, 0x0037, "DS", "0\\1\\0\\0\\0\\-1");
    if (c.padding > 0) {
        data += element(0x0029, 0x0010, "LO", "HOSTILE") +
                element(0x0029, 0x1000, "OB", QByteArray(c.padding, 'p'));
    }
    data += element(0x0028, 0x0002, "US", le16(1)) + element(0x0028, 0x0004, "CS", "MONOCHROME2");
    data += element(0x0028, 0x0010, "US", le16(c.rows)) + element(0x0028, 0x0011, "US", le16(c.columns)) +
            element(0x0028, 0x0030, "DS", c.spacing) + element(0x0028, 0x0100, "US", le16(8)) +
            element(0x0028, 0x0101, "US", le16(8)) + element(0x0028, 0x0102, "US", le16(7)) +
            element(0x0028, 0x0103, "US", le16(0)) +
            element(0x7FE0, 0x0010, "OB",
                    QByteArray(c.pixelBytes < 0 ? qsizetype(c.rows) * c.columns : c.pixelBytes, '\x40'));
    return QByteArray(128, '\0') + "DICM" + meta + data;
}

// A series of `slices` such images in dir/series, 1 mm apart; the folder.
QString dicomSeries(const QString &dir, int slices, DicomClaims claims) {
    const QString series = QDir(dir).filePath(QStringLiteral("series"));
    for (int k = 0; k < slices; ++k) {
        claims.position = k;
        putFile(QDir(series).filePath(QStringLiteral("im%1.dcm").arg(k)), dicomImage(claims));
    }
    return series;
}

// A NIfTI header (nifti_1_header or nifti_2_header) of 8-bit voxels placed by pixdim alone; the
// voxels follow it.
template <typename Header>
QByteArray niftiHeader(const std::vector<std::int64_t> &dims, const std::vector<double> &pixdim) {
    return handMade<Header, quint8>(dims, DT_UINT8, {}, pixdim);
}

// A step of a row's setup that must work (the setup returns its case, so it cannot QVERIFY).
void need(bool done, const char *what) {
    if (!done) {
        qFatal("setup failed: %s", what);
    }
}

// Writes the bytes gzip-compressed, as a .nii.gz holds them; false when it cannot.
bool putGzip(const QString &path, const QByteArray &bytes) {
    const gzFile file = gzopen(QFile::encodeName(path).constData(), "wb1");
    return file && gzwrite(file, bytes.constData(), unsigned(bytes.size())) == bytes.size() &&
           gzclose(file) == Z_OK;
}

HostileCase loadSeriesOf(const QString &path, const QString &named, const QString &reason) {
    return {{QStringLiteral("load-series"), path, QStringLiteral("--threads"), QStringLiteral("2")},
            named,
            reason};
}

// A DICOM series of images that all claim the same: the refusal names one of them.
HostileSetup dicomRow(int slices, const DicomClaims &claims, const QString &reason) {
    return [=](const QString &dir, const QString &) {
        const QString series = dicomSeries(dir, slices, claims);
        return loadSeriesOf(series, QDir(series).filePath(QStringLiteral("im")), reason);
    };
}

// A NIfTI file of these bytes, gzip-compressed when its name ends in .gz.
HostileSetup niftiRow(const QString &name, const QByteArray &bytes, const QString &reason) {
    return [=](const QString &dir, const QString &) {
        const QString path = QDir(dir).filePath(name);
        need(name.endsWith(QLatin1String(".gz")) ? putGzip(path, bytes) : putFile(path, bytes), "write it");
        return loadSeriesOf(path, path, reason);
    };
}

// A study of the version that kept its drawings in a folder beside it, "lab.sqlite" in `dir`, with
// three stimuli naming the drawings 111, 112 and 113 of "lab_puntos".
QString earlierVersionStudy(const QString &dir) {
    const QString path = QDir(dir).filePath(QStringLiteral("lab.sqlite"));
    StudyFixture study;
    study.addSubject(1, QStringLiteral("Ana"));
    study.addPoint(1, 1, 1, 0, 0, 1);
    for (int id : {1, 2, 3}) {
        study.addStimulus(id, 1, 1, 0, QString::number(110 + id));
    }
    need(makeEarlierVersion(study.db(), 0), "make it of the earlier version");
    study.release();
    need(QFile::copy(study.path(), path), "copy the study");
    putFile(QDir(dir).filePath(QStringLiteral("lab_puntos/111")), "2\r\n0 1 1\r\n3 2 2\r\n");
    return path;
}

// The earlier-version study whose drawing 112 holds `bytes`; opening it (export-drawings) brings it
// up to date and must name 112 as not copied, the rest coming in.
HostileSetup legacyDrawingRow(const QByteArray &bytes, const QString &reason) {
    return [=](const QString &dir, const QString &) {
        const QString study = earlierVersionStudy(dir);
        need(putFile(QDir(dir).filePath(QStringLiteral("lab_puntos/112")), bytes), "write drawing 112");
        return HostileCase{
            {QStringLiteral("export-drawings"), study, QDir(dir).filePath(QStringLiteral("out"))},
            QStringLiteral("112 (stimulus 2"),
            reason,
            {QStringLiteral("lab.sqlite"), QStringLiteral("lab.before-version-4.sqlite"),
             QStringLiteral("out/")},
            false};
    };
}

// A study and the tool's output OUT, made by `makeOut` (a symbolic link to the file outside, a FIFO).
HostileSetup outputRow(const QStringList &command, const QString &reason,
                       const std::function<bool(const QString &out, const QString &outside)> &makeOut) {
    return [=](const QString &dir, const QString &outside) {
        const QString study = earlierVersionStudy(dir);
        const QString out = QDir(dir).filePath(QStringLiteral("out"));
        need(makeOut(out, outside), "make the output");
        return HostileCase{QStringList(command)
                               .replaceInStrings(QStringLiteral("STUDY"), study)
                               .replaceInStrings(QStringLiteral("OUT"), out),
                           out,
                           reason,
                           // Opening the study brings it up to date first, as any command does.
                           {QStringLiteral("lab.sqlite"), QStringLiteral("lab.before-version-4.sqlite")}};
    };
}

bool linkOut(const QString &out, const QString &outside) {
    return QFile::link(QDir(outside).filePath(QStringLiteral("secret.txt")), out);
}

// The demo study in `dir` (demo.sqlite, its MR in mr-ana) with subject 1 calibrated on its MR, then
// changed by `sql` (statements separated by "; ") as someone else's copy might be; `command` runs on
// it (STUDY and DIR replaced), and its refusal names `named` (relative to dir) and `reason`.
HostileSetup calibratedDemoRow(const QString &sql, const QStringList &command, const QString &named,
                               const QString &reason) {
    return [=](const QString &dir, const QString &) {
        const QString study = calibratedDemo(dir, {QStringLiteral("1")});
        need(!study.isEmpty(), "make the demo study and calibrate subject 1");
        if (!sql.isEmpty()) {
            OpenStudy opened(study);
            for (const QString &statement : sql.split(QStringLiteral("; "))) {
                need(QSqlQuery(opened.db).exec(statement), "change the calibration");
            }
        }
        QStringList args = command;
        args.replaceInStrings(QStringLiteral("STUDY"), study);
        args.replaceInStrings(QStringLiteral("DIR"), dir);
        return HostileCase{args,
                           named.isEmpty() ? QString() : QDir(dir).filePath(named),
                           reason,
                           {QStringLiteral("demo.sqlite")}};
    };
}

// A FIFO at `name` in the row's folder.
QString fifo(const QString &dir, const QString &name) {
    const QString path = QDir(dir).filePath(name);
    need(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0, "make a FIFO");
    return path;
}

// What a folder holds, by relative path: a hash of each file's bytes, a link's target, "dir". Links
// are listed, never followed; a FIFO or a device is never opened.
QMap<QString, QByteArray> snapshot(const QString &root) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString name = QDir(root).relativeFilePath(info.filePath());
        if (info.isSymLink()) {
            entries[name] = "link to " + info.symLinkTarget().toUtf8();
        } else if (info.isDir()) {
            entries[name] = "dir";
        } else if (!info.isFile()) {
            entries[name] = "special";
        } else {
            entries[name] = QCryptographicHash::hash(fileBytes(info.filePath()), QCryptographicHash::Sha1);
        }
    }
    return entries;
}

// Opens and changes seen in a folder while a child runs (Linux: inotify; elsewhere nothing is seen).
class FolderWatch {
public:
    explicit FolderWatch(const QString &folder) {
#ifdef Q_OS_LINUX
        m_fd = inotify_init1(IN_NONBLOCK);
        m_watching = m_fd >= 0 && inotify_add_watch(m_fd, QFile::encodeName(folder).constData(),
                                                    IN_OPEN | IN_ACCESS | IN_MODIFY | IN_ATTRIB | IN_CREATE |
                                                        IN_DELETE | IN_MOVE) >= 0;
#else
        Q_UNUSED(folder);
        m_watching = true; // nothing to watch with: every row still compares the folder's bytes
#endif
    }
    ~FolderWatch() {
#ifdef Q_OS_LINUX
        if (m_fd >= 0) {
            close(m_fd);
        }
#endif
    }
    // False when the watch could not be set: then nothing opened would be seen.
    bool watching() const {
        return m_watching;
    }
    // The names of the entries touched since the watch began (the folder itself as ".").
    QStringList touched() {
        QStringList names;
#ifdef Q_OS_LINUX
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; m_fd >= 0 && (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char *p = buffer; p < buffer + n;) {
                const auto *event = reinterpret_cast<const inotify_event *>(p);
                names << (event->len ? QFile::decodeName(event->name) : QStringLiteral("."));
                p += sizeof(inotify_event) + event->len;
            }
        }
        names.removeDuplicates();
#endif
        return names;
    }

private:
    int m_fd = -1;
    bool m_watching = false;
};

struct Run {
    int exitCode = -1;
    bool crashed = true;
    QString out;
    QString err;
};

// The tool, in `dir`, with its own cache, at most 2 GB of address space and 60 s of CPU time. The
// sanitized build reserves terabytes of address space for its shadow memory, so there the memory is
// bounded by the sanitizer's own resident-size limit instead.
Run runBounded(const QStringList &args, const QString &dir, const QString &cache) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache);
#ifdef ZK_SANITIZED
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("hard_rss_limit_mb=2048"));
#endif
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(dir);
    process.setChildProcessModifier([] {
        const rlimit cpu{60, 60};
        setrlimit(RLIMIT_CPU, &cpu);
#ifndef ZK_SANITIZED
        const rlimit memory{rlim_t(2) << 30, rlim_t(2) << 30};
        setrlimit(RLIMIT_AS, &memory);
#endif
    });
    process.start(qEnvironmentVariable("ZK_TOOL"), args);
    Run run;
    // The CPU limit ends a runaway child; a child that sleeps is left to CTest's own timeout.
    if (process.waitForFinished(-1)) {
        run.crashed = process.exitStatus() != QProcess::NormalExit;
        run.exitCode = process.exitCode();
    } else {
        process.kill();
        process.waitForFinished();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

} // namespace

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
    void hostileInputIsRefusedNamingTheFileInBoundedMemory_data() {
        QTest::addColumn<HostileSetup>("setup");
        const QByteArray nothing(100000, '\0');
        QTest::newRow("NIfTI of 100 KB with voxels of 1e-5 x 1e6 mm")
            << niftiRow("tiny-voxels.nii",
                        niftiHeader<nifti_1_header>({100, 100, 10}, {1e-5, 1e6, 1}) + nothing, "spacing");
        QTest::newRow("NIfTI-2 of 1,000,000 one-pixel slices") << niftiRow(
            "slices.nii", niftiHeader<nifti_2_header>({1, 1, 1000000}, {1, 1, 1}) + QByteArray(1000000, '\1'),
            "1000000");
        QTest::newRow("gzip bomb: a NIfTI claiming 400 M voxels whose data runs out after 64 MB") << niftiRow(
            "bomb.nii.gz",
            niftiHeader<nifti_1_header>({2048, 2048, 100}, {1, 1, 1}) + QByteArray(64 << 20, '\0'),
            "cut short");
        QTest::newRow("NIfTI with NaN voxel sizes") << niftiRow(
            "nan.nii", niftiHeader<nifti_1_header>({8, 8, 8}, {NAN, 1, 1}) + QByteArray(512, '\1'), "NaN");
        QTest::newRow("NIfTI cut short") << niftiRow(
            "cut.nii", niftiHeader<nifti_1_header>({64, 64, 64}, {1, 1, 1}) + QByteArray(1000, '\1'),
            "cut short");
        QTest::newRow("DICOM claiming 65535 x 65535 pixels with 8 bytes of data")
            << dicomRow(1, DicomClaims{.rows = 65535, .columns = 65535, .pixelBytes = 8}, "65535 x 65535");
        QTest::newRow("DICOM pixel data short in a file long enough") << dicomRow(
            3, DicomClaims{.rows = 64, .columns = 64, .pixelBytes = 100, .padding = 8192}, "shorter");
        QTest::newRow("DICOM PixelSpacing 1e-6\\1000")
            << dicomRow(3, DicomClaims{.spacing = "1e-6\\1000"}, "PixelSpacing");
        QTest::newRow("DICOM slices of one pixel")
            << dicomRow(3, DicomClaims{.rows = 1, .columns = 1}, "once in the program's layout");

        // Legacy drawing folders are read confined (a link, an empty file: tst_study_files); what the
        // program writes never goes through a link nor over another file.
        QTest::newRow("legacy drawing: larger than 1 MiB")
            << legacyDrawingRow(QByteArray(2 << 20, '1'), "it is larger than");
        QTest::newRow("map written through a link")
            << outputRow({"map", "STUDY", "--csv", "OUT"}, "symbolic link", linkOut);
        QTest::newRow("backup onto a link")
            << outputRow({"backup", "STUDY", "OUT"}, "symbolic link", linkOut);

        // A stored calibration is someone else's file too; outputs are checked before any is written.
        const QStringList sites{"sites", "STUDY", "--subject", "1"};
        QTest::newRow("stored landmark 1 that is NaN") << calibratedDemoRow(
            "UPDATE mr_calibration SET landmark1_x = 'nan'", sites, "", "subject 1 is refused: landmark1_x");
        QTest::newRow("stored empty fingerprint") << calibratedDemoRow(
            "UPDATE mr_calibration SET fingerprint = ''", sites, "", "subject 1 is refused: fingerprint");
        // So is the aiming stored with it, which a group map takes instead of loading the series.
        const QString normalised = "INSERT INTO mr_normalisation SELECT subject_id, 1, 0, 0, 0, 0, 1, 0, 0, "
                                   "0, 0, 1, 0, 'MNIColin27', '" +
                                   QString(64, 'a') + "', fingerprint, -0.5, accepted FROM mr_calibration; ";
        const QStringList groupMap{"group-map", "STUDY", "--nifti", "DIR/g.nii.gz"};
        QTest::newRow("stored aiming with a NaN scalp point")
            << calibratedDemoRow(normalised + "UPDATE mr_aiming SET scalp_y = 'nan' WHERE cell = 44",
                                 groupMap, "", "subject 1 is refused: scalp_y");
        QTest::newRow("stored aiming without its last cell") << calibratedDemoRow(
            normalised + "DELETE FROM mr_aiming WHERE cell = 49", groupMap, "", "subject 1 is refused: cell");
        QTest::newRow("stored aiming along a line of length 2") << calibratedDemoRow(
            normalised +
                "UPDATE mr_aiming SET toward_x = 2 * toward_x, toward_y = 2 * toward_y, toward_z = 2 * "
                "toward_z WHERE found = 1",
            groupMap, "", "subject 1 is refused: toward_");
        QTest::newRow("sites with one output a link: none written")
            << HostileSetup([](const QString &dir, const QString &outside) {
                   HostileCase c =
                       calibratedDemoRow({},
                                         {"sites", "STUDY", "--subject", "1", "--tsv", "DIR/keep.tsv",
                                          "--nifti", "DIR/new.nii.gz", "--volume", "DIR/link.nii.gz"},
                                         "link.nii.gz", "symbolic link")(dir, outside);
                   putFile(QDir(dir).filePath(QStringLiteral("keep.tsv")), "kept\n");
                   need(QFile::link(QDir(outside).filePath(QStringLiteral("secret.txt")),
                                    QDir(dir).filePath(QStringLiteral("link.nii.gz"))),
                        "make the link");
                   return c;
               });
        QTest::newRow("sites with two outputs naming one file") << calibratedDemoRow(
            {}, {"sites", "STUDY", "--subject", "1", "--tsv", "DIR/a.nii.gz", "--nifti", "DIR/a.nii.gz"},
            "a.nii.gz", "same file");
        QTest::newRow("map onto a FIFO") << outputRow(
            {"map", "STUDY", "--csv", "OUT"}, "not a regular file", [](const QString &out, const QString &) {
                return ::mkfifo(QFile::encodeName(out).constData(), 0600) == 0;
            });
        // A stimulus table damaged halfway through (a leaf page overwritten): the export stops saying
        // so and leaves no short dataset that would look complete.
        QTest::newRow("export of a table damaged halfway")
            << HostileSetup([](const QString &dir, const QString &) {
                   const QString path = QDir(dir).filePath(QStringLiteral("lab.sqlite"));
                   StudyFixture study;
                   study.addSubject(1, QStringLiteral("Ana"));
                   study.addPoint(1, 1, 1, 0, 0, 1);
                   study.exec(QStringLiteral(
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                       "INSERT INTO estimulo (id, id_puntoestimulo, pasada, hayfosfeno, observaciones) "
                       "SELECT i, 1, 1, 0, printf('%.80c', 'x') FROM n"));
                   const qint64 pageSize =
                       queryText(study.db(), QStringLiteral("PRAGMA page_size")).toLongLong();
                   const QStringList leaves =
                       queryText(study.db(), QStringLiteral("SELECT group_concat(pageno) FROM dbstat "
                                                            "WHERE name = 'estimulo' AND pagetype = 'leaf'"))
                           .split(QLatin1Char(','));
                   study.release();
                   need(QFile::copy(study.path(), path), "copy the study");
                   QFile file(path);
                   need(leaves.size() > 10 && file.open(QIODevice::ReadWrite) &&
                            file.seek((leaves.at(leaves.size() / 2).toLongLong() - 1) * pageSize) &&
                            file.write(QByteArray(pageSize, '\xff')) == pageSize,
                        "damage a page of the stimuli");
                   return HostileCase{{"export", path, QDir(dir).filePath("out"), "--format", "tsv"},
                                      "could not be read to its end",
                                      "malformed"};
               });
        QTest::newRow("a FIFO as the study") << HostileSetup([](const QString &dir, const QString &) {
            return HostileCase{{"map", fifo(dir, "x.sqlite"), "--csv", QDir(dir).filePath("m.csv")},
                               QDir(dir).filePath("x.sqlite"),
                               "not a regular file"};
        });
        QTest::newRow("a series folder holding a link to a FIFO")
            << HostileSetup([](const QString &dir, const QString &) {
                   const QString series = QDir(dir).filePath("s");
                   need(QDir().mkpath(series), "make the folder");
                   need(QFile::link(fifo(dir, "f"), QDir(series).filePath("a.dcm")), "make the link");
                   return loadSeriesOf(series, series, "no DICOM");
               });
    }
    void hostileInputIsRefusedNamingTheFileInBoundedMemory() {
        QFETCH(HostileSetup, setup);
        QTemporaryDir root;
        const QString dir = root.filePath(QStringLiteral("work"));
        const QString outside = root.filePath(QStringLiteral("outside"));
        const QString cache = root.filePath(QStringLiteral("cache"));
        QVERIFY(putFile(QDir(outside).filePath(QStringLiteral("secret.txt")), "outside the folder given\n") &&
                QDir().mkpath(dir) && QDir().mkpath(cache));
        const HostileCase c = setup(dir, outside);
        const QMap<QString, QByteArray> before = snapshot(dir);
        const QMap<QString, QByteArray> outsideBefore = snapshot(outside);

        FolderWatch watch(outside);
        QVERIFY2(watch.watching(), "the folder outside cannot be watched");
        const Run run = runBounded(c.args, dir, cache);
        const QStringList touchedOutside = watch.touched();

        QVERIFY2(!run.crashed, qPrintable(run.err.right(2000)));
        QVERIFY2((run.exitCode != 0) == c.refused, qPrintable(run.out.left(2000) + run.err.left(2000)));
        // A line names the file and the reason (stderr for a refusal, either for what goes on without it).
        const QStringList lines = (c.refused ? run.err : run.err + '\n' + run.out).split(QLatin1Char('\n'));
        QVERIFY2(std::any_of(
                     lines.begin(), lines.end(),
                     [&](const QString &line) { return line.contains(c.named) && line.contains(c.reason); }),
                 qPrintable(run.err.left(2000)));
        // Nothing in the cache: no file, no half-written folder.
        QStringList cached;
        for (const auto &[name, what] : snapshot(cache).asKeyValueRange()) {
            if (what != "dir" || name.contains(QLatin1String(".new"))) {
                cached << name;
            }
        }
        QCOMPARE(cached, QStringList());
        // The folder as it was, but for what the row allows; outside, nothing opened or changed.
        QMap<QString, QByteArray> after = snapshot(dir);
        for (const QString &name : c.mayChange) {
            for (const QString &entry : after.keys()) {
                if (entry == name || (name.endsWith('/') && (entry + '/').startsWith(name))) {
                    if (before.contains(entry)) {
                        after[entry] = before.value(entry);
                    } else {
                        after.remove(entry);
                    }
                }
            }
        }
        QCOMPARE(after, before);
        QCOMPARE(touchedOutside, QStringList());
        QCOMPARE(snapshot(outside), outsideBefore);
    }
};

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_hostile_input.moc"
