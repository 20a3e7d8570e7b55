// The settings file: private-profile reading and writing with defaults and the length limit.

#include "core/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class SettingsFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    void writeRaw(const QByteArray &text) {
        QFile file(m_path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray readRaw() {
        QFile file(m_path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("config.ini"));
        QFile::remove(m_path);
    }

    void missingFileSectionOrKeyGivesTheDefault() {
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "/default"), QStringLiteral("/default"));
        writeRaw("[Other]\nImageDir=/other\n[ZoBrain]\nSomething=1\n");
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "/default"), QStringLiteral("/default"));
        QCOMPARE(LeeIni(m_path, "Missing", "ImageDir", "d"), QStringLiteral("d"));
    }

    void valuesAreReadRawWithNamesInAnyCase() {
        writeRaw("; comment\r\n[zobrain]\r\n  imagedir = C:\\Resonancias\\S1 ; not a comment \r\n");
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "d"),
                 QStringLiteral("C:\\Resonancias\\S1 ; not a comment"));
    }

    void longValuesAreCutTo149Characters() {
        const QString value(200, QLatin1Char('x'));
        QVERIFY(EscribeIni(m_path, "ZoBrain", "ImageDir", value) != 0);
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "d"), value.left(149));
        QCOMPARE(LongitudMaximaValorIni, 149);
    }

    void writingCreatesFileSectionAndKey() {
        QVERIFY(EscribeIni(m_path, "ZoBrain", "ImageDir", "/mr/s1") != 0);
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "d"), QStringLiteral("/mr/s1"));
        QCOMPARE(readRaw(), QByteArray("[ZoBrain]\nImageDir=/mr/s1\n"));
    }

    void writingReplacesTheKeyAndKeepsEverythingElse() {
        writeRaw("[A]\r\nx=1\r\n\r\n[ZOBRAIN]\r\nIMAGEDIR=old\r\nother=2\r\n[B]\r\ny=3\r\n");
        QVERIFY(EscribeIni(m_path, "ZoBrain", "ImageDir", "/new dir/é") != 0);
        QCOMPARE(readRaw(),
                 QByteArray("[A]\r\nx=1\r\n\r\n[ZOBRAIN]\r\nIMAGEDIR=/new dir/\xc3\xa9\r\nother=2\r\n[B]\r\n"
                            "y=3\r\n"));
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "d"), QStringLiteral("/new dir/é"));
    }

    void aNewKeyGoesAtTheEndOfItsSection() {
        writeRaw("[ZoBrain]\nother=2\n\n[B]\ny=3\n");
        QVERIFY(EscribeIni(m_path, "ZoBrain", "ImageDir", "v") != 0);
        QCOMPARE(readRaw(), QByteArray("[ZoBrain]\nother=2\nImageDir=v\n\n[B]\ny=3\n"));
    }

    void latin1FilesFromTheOldProgramAreRead() {
        writeRaw("[ZoBrain]\r\nImageDir=C:\\Im\xe1genes\r\n");
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "d"), QStringLiteral("C:\\Imágenes"));
    }

    void unwritableLocationReportsFailure() {
        QCOMPARE(EscribeIni(QString(), "ZoBrain", "ImageDir", "v"), qint16(0));
        QFile blocker(m_dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        // A path below a regular file can never be created.
        QCOMPARE(EscribeIni(m_dir.filePath(QStringLiteral("file/config.ini")), "ZoBrain", "ImageDir", "v"),
                 qint16(0));
    }
};

QTEST_GUILESS_MAIN(SettingsFile)
#include "tst_settings.moc"
