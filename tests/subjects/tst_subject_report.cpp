// The subject report's layout, on a page that records what is drawn: slot geometry, paging of an
// experiment, the header once per experiment, the contents of a cell, the miniature or the crossed
// frame, the experiments printed, and a failure cancelling the document.

#include "StudyFixture.h"

#include "AppState.h"
#include "DrawingFile.h"
#include "ReportPage.h"
#include "SubjectReport.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

struct Event {
    enum Kind { Text, Line, NewPage, End, Cancel } kind;
    QString text = {};
    double x = 0, y = 0, x2 = 0, y2 = 0;
};

bool operator==(const Event &a, const Event &b) {
    return a.kind == b.kind && a.text == b.text && qFuzzyCompare(1 + a.x, 1 + b.x) &&
           qFuzzyCompare(1 + a.y, 1 + b.y) && qFuzzyCompare(1 + a.x2, 1 + b.x2) &&
           qFuzzyCompare(1 + a.y2, 1 + b.y2);
}

// A page that keeps every call. Lines of text are LineHeight units high.
class RecordingPage : public ReportPage {
public:
    static constexpr double LineHeight = 100;

    RecordingPage(double w, double h) : m_w(w), m_h(h) {}

    double width() const override { return m_w; }
    double height() const override { return m_h; }
    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setPrintPosition(double x, double y) override {
        m_x = x;
        m_y = y;
    }
    void print(const QString &text) override {
        events.append(Event{Event::Text, text, m_x, m_y});
        m_x = 0;
        m_y += LineHeight;
    }
    void line(double x1, double y1, double x2, double y2) override {
        events.append(Event{Event::Line, QString(), x1, y1, x2, y2});
    }
    void newPage() override {
        if (failOnNewPage) {
            throw PrinterError(QStringLiteral("out of paper"));
        }
        events.append(Event{Event::NewPage});
        m_x = m_y = 0;
    }
    void endDocument() override { events.append(Event{Event::End}); }
    void cancelDocument() override { events.append(Event{Event::Cancel}); }

    QList<Event::Kind> kinds() const {
        QList<Event::Kind> k;
        for (const Event &e : events) {
            k.append(e.kind);
        }
        return k;
    }
    QStringList texts() const {
        QStringList t;
        for (const Event &e : events) {
            if (e.kind == Event::Text) {
                t.append(e.text);
            }
        }
        return t;
    }
    QList<Event> lines() const {
        QList<Event> l;
        for (const Event &e : events) {
            if (e.kind == Event::Line) {
                l.append(e);
            }
        }
        return l;
    }

    QList<Event> events;
    bool failOnNewPage = false;

private:
    double m_w, m_h;
    double m_x = 0, m_y = 0;
};

// Letter at 1200 dots per inch inside a quarter-inch printable margin: slots at x 480, 2640,
// 4800, 6960 and y 504, 3402, 6300, 9198, frame side 1920.
constexpr double LetterW = 9600;
constexpr double LetterH = 12600;
constexpr int Side = 1920;

QList<Event> frame(int x, int y, int s) {
    return {{Event::Line, {}, double(x), double(y), double(x + s), double(y)},
            {Event::Line, {}, double(x + s), double(y), double(x + s), double(y + s)},
            {Event::Line, {}, double(x + s), double(y + s), double(x), double(y + s)},
            {Event::Line, {}, double(x), double(y + s), double(x), double(y)}};
}
QList<Event> diagonals(int x, int y, int s) {
    return {{Event::Line, {}, double(x), double(y), double(x + s), double(y + s)},
            {Event::Line, {}, double(x), double(y + s), double(x + s), double(y)}};
}

} // namespace

namespace QTest {
template <> char *toString(const Event &e) {
    return qstrdup(QStringLiteral("%1 '%2' (%3, %4)-(%5, %6)")
                       .arg(int(e.kind))
                       .arg(e.text)
                       .arg(e.x)
                       .arg(e.y)
                       .arg(e.x2)
                       .arg(e.y2)
                       .toUtf8()
                       .constData());
}
} // namespace QTest

// Subject 3 "Paco Díaz" chosen in a fresh study, grid centre row 1, column 4.
struct ChosenSubject {
    StudyFixture study;
    AppState state;
    ChosenSubject() {
        study.addSubject(3, "Paco", QStringLiteral("Díaz"));
        state.RutaBaseDatos = study.path();
        state.BaseDatos = study.db();
        state.FijaPaciente(3, QStringLiteral("Paco Díaz"), 5, 9, 1, 4);
    }
    // The study is the fixture's to close.
    ~ChosenSubject() {
        state.BaseDatos = QSqlDatabase();
        state.RutaBaseDatos.clear();
    }
};

class SubjectReportTest : public QObject {
    Q_OBJECT

private:
    void setStimulus(StudyFixture &study, int id, const QVariant &fecha, const QVariant &observaciones,
                     const QVariant &intensidad, const QVariant &color) {
        study.exec("UPDATE estimulo SET fecha = ?, observaciones = ?, intensidad = ?, color = ? WHERE id = ?",
                   {fecha, observaciones, intensidad, color, id});
    }

private slots:
    void everySlotLiesOnTheGridOfItsPage_data() {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<QList<int>>("xs");
        QTest::addColumn<QList<double>>("ys");
        QTest::addColumn<int>("side");
        QTest::newRow("A4") << 9317.0 << 13433.0 << QList<int>{466, 2562, 4658, 6754}
                            << QList<double>{537, 3626.75, 6716.5, 9806.25} << 1863;
        QTest::newRow("Letter") << LetterW << LetterH << QList<int>{480, 2640, 4800, 6960}
                                << QList<double>{504, 3402, 6300, 9198} << Side;
        // Half margin 2.5 and cell width 22.5 round down to even, 3.5 and 31.5 round up.
        QTest::newRow("halves down") << 100.0 << 150.0 << QList<int>{5, 27, 49, 71}
                                     << QList<double>{6, 40.5, 75, 109.5} << 20;
        QTest::newRow("halves up") << 140.0 << 150.0 << QList<int>{7, 39, 71, 103}
                                   << QList<double>{6, 40.5, 75, 109.5} << 28;
    }
    void everySlotLiesOnTheGridOfItsPage() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(QList<int>, xs);
        QFETCH(QList<double>, ys);
        QFETCH(int, side);
        for (int p = 0; p < SubjectReport::SlotsPerPage; ++p) {
            const SubjectReport::SlotGeometry g = SubjectReport::slotGeometry(w, h, p);
            QCOMPARE(g.x, xs.at(p % 4));
            QCOMPARE(g.y, ys.at(p / 4));
            QCOMPARE(g.s, side);
        }
    }

    void seventeenthCellStartsTheNextPageWithoutHeader() {
        ChosenSubject chosen;
        StudyFixture &study = chosen.study;
        AppState &state = chosen.state;
        // Grid cells 0 to 8 and 10 to 18; the point of cell 4 has no stimulus in experiment 1 and
        // takes no slot.
        for (int i = 1; i <= 18; ++i) {
            study.addPoint(i, i, 3, (i - 1) / 9 - 1, (i - 1) % 9 - 4, 1);
            study.addStimulus(i, i, i == 5 ? 3 : 1);
        }
        RecordingPage page(LetterW, LetterH);
        QVERIFY(ImprimeInforme(state, page));

        QList<qsizetype> cells; // positions of the index lines among the events
        for (qsizetype i = 0; i < page.events.size(); ++i) {
            if (page.events.at(i).kind == Event::Text && page.events.at(i).text.startsWith("Index: ")) {
                cells.append(i);
            }
        }
        QCOMPARE(cells.size(), 17);
        for (int p = 0; p < 16; ++p) {
            const SubjectReport::SlotGeometry g = SubjectReport::slotGeometry(LetterW, LetterH, p);
            QCOMPARE(page.events.at(cells.at(p)).x, double(g.x));
            QCOMPARE(page.events.at(cells.at(p)).y, g.y);
        }
        QVERIFY(page.events.at(cells.at(3)).text.startsWith("Index: 3      "));
        QVERIFY(page.events.at(cells.at(4)).text.startsWith("Index: 5      "));
        const Event &last = page.events.at(cells.at(16));
        QVERIFY(last.text.startsWith("Index: 18      "));
        QCOMPARE(last.x, 480.0);
        QCOMPARE(last.y, 504.0);

        // The header once, at the top of the first page; a new page before the 17th cell and after
        // it; nothing for experiment 2.
        QCOMPARE(page.events.at(0), (Event{Event::Text, "Subject: Paco Díaz", 0, 0}));
        QCOMPARE(page.events.at(1), (Event{Event::Text, "Experiment: 1", 0, RecordingPage::LineHeight}));
        QCOMPARE(page.texts().filter("Subject: ").size(), 1);
        QCOMPARE(page.texts().filter("Experiment: ").size(), 1);
        const QList<Event::Kind> kinds = page.kinds();
        const qsizetype firstPage = kinds.indexOf(Event::NewPage);
        QVERIFY(firstPage > cells.at(15) && firstPage < cells.at(16));
        QCOMPARE(kinds.count(Event::NewPage), 2);
        QVERIFY(kinds.lastIndexOf(Event::NewPage) > cells.at(16));
        QCOMPARE(kinds.last(), Event::End);
    }

    void cellShowsIndexDateNotesIntensityAndColour_data() {
        QTest::addColumn<QVariant>("fecha");
        QTest::addColumn<QVariant>("observaciones");
        QTest::addColumn<QVariant>("intensidad");
        QTest::addColumn<QVariant>("color");
        QTest::addColumn<QStringList>("expected");
        const QString date = SubjectReport::dateText(QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)));
        QTest::newRow("everything") << QVariant("2026-01-02 03:04:05") << QVariant("flash, left")
                                    << QVariant(3) << QVariant("white")
                                    << QStringList{"Index: 14      " + date, "flash, left", "Intensity: 3",
                                                   "Color: white"};
        QTest::newRow("null date") << QVariant() << QVariant("flash") << QVariant(3) << QVariant("white")
                                   << QStringList{"Index: 14", "flash", "Intensity: 3", "Color: white"};
        QTest::newRow("intensity 0 printed, empty texts not")
            << QVariant() << QVariant("") << QVariant(0) << QVariant("")
            << QStringList{"Index: 14", "Intensity: 0"};
        QTest::newRow("all null") << QVariant() << QVariant() << QVariant() << QVariant()
                                  << QStringList{"Index: 14"};
    }
    void cellShowsIndexDateNotesIntensityAndColour() {
        QFETCH(QVariant, fecha);
        QFETCH(QVariant, observaciones);
        QFETCH(QVariant, intensidad);
        QFETCH(QVariant, color);
        QFETCH(QStringList, expected);
        ChosenSubject chosen;
        StudyFixture &study = chosen.study;
        AppState &state = chosen.state;
        study.addPoint(1, 1, 3, 0, 0, 1);
        study.addStimulus(1, 1, 1);
        setStimulus(study, 1, fecha, observaciones, intensidad, color);
        RecordingPage page(LetterW, LetterH);
        QVERIFY(ImprimePunto(state, page, "Paco Díaz", true, 1, 1, 14, 5));

        QCOMPARE(page.texts(), expected);
        // Slot 5: the index line at the slot, the frame below it, the rest under the frame.
        const double top = 3402;
        QList<Event> texts;
        for (const Event &e : page.events) {
            if (e.kind == Event::Text) {
                texts.append(e);
            }
        }
        QCOMPARE(texts.first().x, 2640.0);
        QCOMPARE(texts.first().y, top);
        for (qsizetype i = 1; i < texts.size(); ++i) {
            QCOMPARE(texts.at(i).x, 2640.0);
            QCOMPARE(texts.at(i).y,
                     top + RecordingPage::LineHeight + Side + (i - 1) * RecordingPage::LineHeight);
        }
    }

    void drawingInItsFrameOrCrossedFrame_data() {
        QTest::addColumn<QString>("archivo");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("crossed");
        QTest::newRow("no drawing") << QString() << QByteArray() << true;
        QTest::newRow("missing file") << QString("311") << QByteArray() << true;
        // The first point moves the pen; lines from it scaled by side / 12.9.
        QTest::newRow("drawing") << QString("311") << QByteArray("3\r\n0 0 0\r\n1 6 3\r\n3 12 12\r\n")
                                 << false;
        QTest::newRow("old name") << QString("p\\311") << QByteArray("3\r\n0 0 0\r\n1 6 3\r\n3 12 12\r\n")
                                  << false;
    }
    void drawingInItsFrameOrCrossedFrame() {
        QFETCH(QString, archivo);
        QFETCH(QByteArray, content);
        QFETCH(bool, crossed);
        ChosenSubject chosen;
        StudyFixture &study = chosen.study;
        AppState &state = chosen.state;
        study.addPoint(1, 1, 3, 0, 0, 1);
        study.addStimulus(1, 1, 1, 0, archivo);
        if (!content.isEmpty()) {
            QFile file(DrawingFile::resolvePath(study.path(), "311"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        RecordingPage page(LetterW, LetterH);
        QVERIFY(ImprimePunto(state, page, "Paco Díaz", true, 1, 1, 14, 0));

        const int x = 480, y = 504 + int(RecordingPage::LineHeight);
        QList<Event> expected = frame(x, y, Side);
        if (crossed) {
            expected += diagonals(x, y, Side);
        } else {
            // 6 * 1920 / 12.9 = 893.02, 3 * 1920 / 12.9 = 446.51, 12 * 1920 / 12.9 = 1786.05
            expected +=
                {{Event::Line, {}, double(x), double(y), double(x + 893), double(y + 447)},
                 {Event::Line, {}, double(x + 893), double(y + 447), double(x + 1786), double(y + 1786)}};
        }
        QCOMPARE(page.lines(), expected);
    }

    void experimentsPrintUpToTheFirstNumberWithoutStimuli_data() {
        QTest::addColumn<QList<int>>("pasadas");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("1 and 3") << QList<int>{1, 3} << QStringList{"Experiment: 1"};
        QTest::newRow("1, 2 and 3") << QList<int>{3, 1, 2}
                                    << QStringList{"Experiment: 1", "Experiment: 2", "Experiment: 3"};
        QTest::newRow("only 2") << QList<int>{2} << QStringList{};
    }
    void experimentsPrintUpToTheFirstNumberWithoutStimuli() {
        QFETCH(QList<int>, pasadas);
        QFETCH(QStringList, headers);
        ChosenSubject chosen;
        StudyFixture &study = chosen.study;
        AppState &state = chosen.state;
        study.addPoint(1, 1, 3, 0, 0, pasadas.last());
        for (int i = 0; i < pasadas.size(); ++i) {
            study.addStimulus(i + 1, 1, pasadas.at(i));
        }
        RecordingPage page(LetterW, LetterH);
        QVERIFY(ImprimeInforme(state, page));
        QCOMPARE(page.texts().filter("Experiment: "), headers);
        QCOMPARE(page.texts().filter("Subject: ").size(), headers.size());
        // Each experiment ends with a new page; the document ends once.
        QCOMPARE(page.kinds().count(Event::NewPage), headers.size());
        QCOMPARE(page.kinds().last(), Event::End);
    }

    void subjectWithoutPointsEndsAnEmptyDocument() {
        ChosenSubject chosen;
        StudyFixture &study = chosen.study;
        AppState &state = chosen.state;
        study.addSubject(4, "Ana");
        study.addPoint(1, 1, 4, 0, 0, 1); // another subject's point
        study.addStimulus(1, 1, 1);
        RecordingPage page(LetterW, LetterH);
        QVERIFY(ImprimeInforme(state, page));
        QCOMPARE(page.kinds(), QList<Event::Kind>{Event::End});
    }

    void failureCancelsTheDocument_data() {
        QTest::addColumn<bool>("failOnNewPage");
        QTest::addColumn<QByteArray>("drawing");
        QTest::addColumn<QString>("why");
        QTest::newRow("printer fails") << true << QByteArray() << "out of paper";
        QTest::newRow("unreadable drawing") << false << QByteArray("2\r\n0 1 1\r\n1 x 2\r\n") << "311";
    }
    void failureCancelsTheDocument() {
        QFETCH(bool, failOnNewPage);
        QFETCH(QByteArray, drawing);
        QFETCH(QString, why);
        ChosenSubject chosen;
        StudyFixture &study = chosen.study;
        AppState &state = chosen.state;
        study.addPoint(1, 1, 3, 0, 0, 1);
        study.addStimulus(1, 1, 1, 0, drawing.isEmpty() ? QString() : "311");
        if (!drawing.isEmpty()) {
            QFile file(DrawingFile::resolvePath(study.path(), "311"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(drawing);
        }
        RecordingPage page(LetterW, LetterH);
        page.failOnNewPage = failOnNewPage;
        QString reason;
        QVERIFY(!ImprimeInforme(state, page, &reason));
        QVERIFY2(reason.contains(why), qPrintable(reason));
        QCOMPARE(page.kinds().last(), Event::Cancel);
        QVERIFY(!page.kinds().contains(Event::End));
    }
};

QTEST_GUILESS_MAIN(SubjectReportTest)
#include "tst_subject_report.moc"
