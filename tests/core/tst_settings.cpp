// The settings file: private-profile reading and writing with defaults and the length limit.

#include "core/IniFile.h"
#include "support/Files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class SettingsFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init() {
        m_path = m_dir.filePath(QStringLiteral("config.ini"));
        QFile::remove(m_path);
    }

    // ZoBrain/ImageDir read from a file (none for null text), "/default" when it is not there.
    void reading_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("value");
        QTest::newRow("no file") << QByteArray() << "/default";
        QTest::newRow("key only in another section")
            << QByteArray("[Other]\nImageDir=/other\n[ZoBrain]\nSomething=1\n") << "/default";
        QTest::newRow("names in any case, the value raw")
            << QByteArray("; comment\r\n[zobrain]\r\n  imagedir = C:\\Resonancias\\S1 ; not a comment \r\n")
            << "C:\\Resonancias\\S1 ; not a comment";
        QTest::newRow("Latin-1 file of the old program")
            << QByteArray("[ZoBrain]\r\nImageDir=C:\\Im\xe1genes\r\n") << "C:\\Imágenes";
        QTest::newRow("cut to 149 characters")
            << "[ZoBrain]\nImageDir=" + QByteArray(200, 'x') << QString(149, QLatin1Char('x'));
    }
    void reading() {
        QFETCH(QByteArray, text);
        QVERIFY(text.isNull() || putFile(m_path, text));
        QTEST(LeeIni(m_path, "ZoBrain", "ImageDir", "/default"), "value");
    }

    // ZoBrain/ImageDir written into a file (none for null text): the whole file afterwards.
    void writing_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file, section and key")
            << QByteArray() << "/mr/s1" << QByteArray("[ZoBrain]\nImageDir=/mr/s1\n");
        QTest::newRow("key replaced, CR LF and everything else kept")
            << QByteArray("[A]\r\nx=1\r\n\r\n[ZOBRAIN]\r\nIMAGEDIR=old\r\nother=2\r\n[B]\r\ny=3\r\n")
            << "/new dir/é"
            << QByteArray(
                   "[A]\r\nx=1\r\n\r\n[ZOBRAIN]\r\nIMAGEDIR=/new dir/\xc3\xa9\r\nother=2\r\n[B]\r\ny=3\r\n");
        QTest::newRow("new key at the end of its section")
            << QByteArray("[ZoBrain]\nother=2\n\n[B]\ny=3\n") << "v"
            << QByteArray("[ZoBrain]\nother=2\nImageDir=v\n\n[B]\ny=3\n");
    }
    void writing() {
        QFETCH(QByteArray, before);
        QFETCH(QString, value);
        QVERIFY(before.isNull() || putFile(m_path, before));
        QVERIFY(EscribeIni(m_path, "ZoBrain", "ImageDir", value) != 0);
        QTEST(fileBytes(m_path), "after");
        QCOMPARE(LeeIni(m_path, "ZoBrain", "ImageDir", "d"), value);
    }

    void unwritableLocationReportsFailure() {
        QCOMPARE(EscribeIni(QString(), "ZoBrain", "ImageDir", "v"), qint16(0));
        // A path below a regular file can never be created.
        QVERIFY(putFile(m_dir.filePath(QStringLiteral("file")), "x"));
        QCOMPARE(EscribeIni(m_dir.filePath(QStringLiteral("file/config.ini")), "ZoBrain", "ImageDir", "v"),
                 qint16(0));
    }
};

QTEST_GUILESS_MAIN(SettingsFile)
#include "tst_settings.moc"
