#include "drawings/DrawingFile.h"
#include "support/Files.h"

using DrawingFile::PointRecord;
using Records = QList<PointRecord>;
Q_DECLARE_METATYPE(PointRecord)

namespace DrawingFile {
char *toString(const PointRecord &record) {
    return QTest::toString(QStringLiteral("(%1 %2 %3)").arg(record.code).arg(record.x).arg(record.y));
}
} // namespace DrawingFile

// Drawing files: names, what the writer writes and what the reader accepts.

class TestDrawingFile : public QObject {
    Q_OBJECT

private slots:
    void writtenRecordsAreCrLfLinesAndReadBackUnchanged() {
        QTemporaryDir dir;
        const QString path = dir.filePath("352");
        const Records records{{0, -32768, 32767}, {1, -3, 12}, {3, -3, 12}};
        QVERIFY(DrawingFile::write(path, records));
        QCOMPARE(fileBytes(path), QByteArray("3\r\n0 -32768 32767\r\n1 -3 12\r\n3 -3 12\r\n"));
        const DrawingFile::Contents contents = DrawingFile::read(path);
        QVERIFY2(contents.ok() && contents.count == 3, qPrintable(contents.error));
        QCOMPARE(contents.records, records);
    }

    void readerAcceptsBlanksCommasAndLineEnds_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<Records>("records");
        const Records two{{0, 1, 2}, {1, -3, 4}};
        QTest::newRow("commas") << QByteArray("2,0,1,2,1,-3,4") << 2 << two;
        QTest::newRow("one number a line, LF only") << QByteArray("2\n0\n1\n2\n1\n-3\n4\n") << 2 << two;
        QTest::newRow("runs of blanks, tabs, empty lines")
            << QByteArray("  2 \r\n 0 ,1\t, 2\r\n\r\n1   -3 4  \r\n\r\n") << 2 << two;
        QTest::newRow("count differs from records") << QByteArray("5\r\n0 1 2\r\n1 -3 4") << 5 << two;
        QTest::newRow("16-bit limits")
            << QByteArray("1\r\n+3 -32768 32767\r\n") << 1 << Records{{3, -32768, 32767}};
    }

    void readerAcceptsBlanksCommasAndLineEnds() {
        QFETCH(QByteArray, text);
        const DrawingFile::Contents contents = DrawingFile::parse(text);
        QVERIFY2(contents.ok(), qPrintable(contents.error));
        QTEST(int(contents.count), "count");
        QTEST(contents.records, "records");
    }

    void readerRefusesWhatIsNotADrawing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("countRead");
        QTest::addColumn<int>("recordsKept");
        QTest::newRow("empty file") << QByteArray() << false << 0;
        QTest::newRow("count not a number") << QByteArray("two\r\n") << false << 0;
        QTest::newRow("count too large") << QByteArray("32768\r\n") << false << 0;
        QTest::newRow("coordinate too large") << QByteArray("2\r\n0 1 2\r\n1 32768 4\r\n") << true << 1;
        QTest::newRow("coordinate too small") << QByteArray("2\r\n0 1 2\r\n1 -32769 4\r\n") << true << 1;
        QTest::newRow("many digits") << QByteArray("1\r\n0 1 99999999999999999999\r\n") << true << 0;
        QTest::newRow("decimal point") << QByteArray("1\r\n0 1.5 2\r\n") << true << 0;
        QTest::newRow("sign alone") << QByteArray("1\r\n0 - 2\r\n") << true << 0;
        QTest::newRow("last record cut short") << QByteArray("2\r\n0 1 2\r\n1 3\r\n") << true << 1;
        QTest::newRow("nul byte") << QByteArray("1\r\n0 1\0 2\r\n", 12) << true << 0;
        QByteArray million("30000\r\n");
        for (int i = 0; i < 100000; ++i) {
            million += "1 3 4\r\n";
        }
        QTest::newRow("more records than a drawing holds") << million << true << DrawingFile::MaxPoints;
    }

    void readerRefusesWhatIsNotADrawing() {
        QFETCH(QByteArray, text);
        const DrawingFile::Contents contents = DrawingFile::parse(text);
        QVERIFY(!contents.ok());
        QTEST(contents.countRead, "countRead");
        QTEST(int(contents.records.size()), "recordsKept");
    }

    void coordinatesRoundHalfToEvenWithinSixteenBits() {
        for (const auto &[value, stored] : QList<QPair<double, int>>{
                 {3.5, 4}, {4.5, 4}, {2.5001, 3}, {-1.5, -2}, {1e9, 32767}, {-1e9, -32768}}) {
            QCOMPARE(int(DrawingFile::toUnit(value)), stored);
        }
    }
};

QTEST_GUILESS_MAIN(TestDrawingFile)
#include "tst_drawingfile.moc"
