// The "Edit subject" window: navigation and its caption, the empty study, storing on moving and
// closing, refused input kept on screen, and the labels and texts of its controls.

#include "StudyFixture.h"

#include "Messages.h"
#include "paciente.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

QString nombre(QSqlDatabase &db, int id) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT Nombre FROM paciente WHERE ID = ?"));
    query.addBindValue(id);
    return query.exec() && query.next() ? query.value(0).toString() : QStringLiteral("<no row>");
}

int subjects(QSqlDatabase &db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT COUNT(*) FROM paciente")) && query.next()
               ? query.value(0).toInt()
               : -1;
}

} // namespace

class SubjectFormTest : public QObject {
    Q_OBJECT

private:
    QList<Messages::Shown> m_messages;
    bool m_answer = false;

    template <typename T = QWidget> static T *control(paciente &w, const QString &name) {
        T *found = w.findChild<T *>(name);
        if (!found) {
            qFatal("no control %s", qPrintable(name));
        }
        return found;
    }
    static QString caption(paciente &w) { return control<QLabel>(w, "Data1Caption")->text(); }
    static QLineEdit *field(paciente &w, int index) {
        return control<QLineEdit>(w, QStringLiteral("txtFields_%1").arg(index));
    }
    static void click(paciente &w, const QString &name) { control<QAbstractButton>(w, name)->click(); }

private slots:
    void init() {
        m_messages.clear();
        m_answer = false;
        Messages::setResponder([this](const Messages::Shown &shown) {
            m_messages << shown;
            return m_answer;
        });
    }
    void cleanup() { Messages::setResponder({}); }

    void captionFollowsTheMoves_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("id");
        QTest::newRow("opened") << QStringList{} << "Subjects (1/5)"
                                << "10";
        QTest::newRow("next") << QStringList{"Data1Next"} << "Subjects (2/5)"
                              << "20";
        QTest::newRow("next after last") << QStringList{"Data1Last", "Data1Next"} << "Subjects (5/5)"
                                         << "50";
        QTest::newRow("previous at first") << QStringList{"Data1Previous"} << "Subjects (1/5)"
                                           << "10";
        QTest::newRow("back from last")
            << QStringList{"Data1Last", "Data1Previous", "Data1Previous"} << "Subjects (3/5)"
            << "30";
    }
    void captionFollowsTheMoves() {
        QFETCH(QStringList, buttons);
        StudyFixture study;
        for (int id : {10, 20, 30, 40, 50}) {
            study.addSubject(id, QStringLiteral("S%1").arg(id));
        }
        paciente w(study.db());
        for (const QString &button : buttons) {
            click(w, button);
        }
        QTEST(caption(w), "caption");
        QTEST(field(w, 11)->text(), "id");
    }

    void emptyStudyShowsOnlyNewSubjectAndNavigation() {
        StudyFixture study;
        paciente w(study.db());
        QVERIFY(control(w, "FPaciente")->isHidden());
        QVERIFY(!control(w, "Data1Next")->isEnabled());
        QCOMPARE(caption(w), QStringLiteral("Subjects (0/0)"));
        click(w, "bAdd");
        QVERIFY(!control(w, "FPaciente")->isHidden());
        QCOMPARE(caption(w), QStringLiteral("New Subject"));
        QCOMPARE((QStringList{field(w, 11)->text(), field(w, 0)->text(), field(w, 22)->text(),
                              field(w, 23)->text(), field(w, 24)->text(), field(w, 25)->text()}),
                 (QStringList{"1", "", "5", "9", "1", "4"}));
        // Left untouched, the proposal is not stored: moving away shows the empty study again.
        click(w, "Data1Next");
        QCOMPARE(subjects(study.db()), 0);
        QVERIFY(control(w, "FPaciente")->isHidden());
    }

    void changedRecordIsStoredWhenLeftOrClosed_data() {
        QTest::addColumn<QString>("leave");
        QTest::newRow("next") << "Data1Next";
        QTest::newRow("new subject") << "bAdd";
        QTest::newRow("close") << "";
    }
    void changedRecordIsStoredWhenLeftOrClosed() {
        QFETCH(QString, leave);
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Eva");
        paciente w(study.db());
        field(w, 0)->setText("Anna");
        leave.isEmpty() ? w.reject() : click(w, leave);
        QCOMPARE(nombre(study.db(), 1), QStringLiteral("Anna"));
        QVERIFY(m_messages.isEmpty());
    }

    void newSubjectIsStoredAndBecomesTheCurrentRecord() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(5, "Eva");
        paciente w(study.db());
        click(w, "bAdd");
        field(w, 11)->setText("3");
        field(w, 0)->setText("Luis");
        control<QCheckBox>(w, "CCiego")->setChecked(true);
        click(w, "Data1Next");
        QCOMPARE(nombre(study.db(), 3), QStringLiteral("Luis"));
        // Stored as subject 3, it sits between 1 and 5: "next" went on to 5.
        QCOMPARE(caption(w), QStringLiteral("Subjects (3/3)"));
        click(w, "Data1Previous");
        QCOMPARE(field(w, 0)->text(), QStringLiteral("Luis"));
        QVERIFY(control<QCheckBox>(w, "CCiego")->isChecked());
    }

    void refusedRecordStaysOnScreenAndClosingAsksToDiscardIt() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        study.addSubject(2, "Eva");
        paciente w(study.db());
        w.show();
        field(w, 11)->setText("2");
        field(w, 0)->setText("Changed");
        click(w, "Data1Next");
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages[0].kind, Messages::Kind::Error);
        QCOMPARE(m_messages[0].text, QStringLiteral("The subject cannot be stored.\n\n"
                                                    "ID: another subject already has the identifier 2."));
        QCOMPARE(field(w, 11)->text(), QStringLiteral("2"));
        QCOMPARE(field(w, 0)->text(), QStringLiteral("Changed"));
        QCOMPARE(caption(w), QStringLiteral("Subjects (1/2)"));

        m_answer = false; // keep it
        w.reject();
        QCOMPARE(m_messages.size(), 2);
        QCOMPARE(m_messages[1].kind, Messages::Kind::Question);
        QVERIFY(m_messages[1].text.endsWith(QStringLiteral("Discard the changes to this subject?")));
        QVERIFY(w.isVisible());

        m_answer = true; // discard it
        w.reject();
        QVERIFY(!w.isVisible());
        QCOMPARE(nombre(study.db(), 1), QStringLiteral("Ana"));
        QCOMPARE(nombre(study.db(), 2), QStringLiteral("Eva"));
    }

    void controlsCarryTheirTextsAndLabels() {
        StudyFixture study;
        study.addSubject(1, "Ana");
        paciente w(study.db());
        QCOMPARE(w.windowTitle(), QStringLiteral("Edit subject"));
        QCOMPARE(control<QPushButton>(w, "bAdd")->text(), QStringLiteral("New subject"));
        QCOMPARE(control<QGroupBox>(w, "FPaciente")->title(), QStringLiteral("Subject form"));
        QCOMPARE(control<QCheckBox>(w, "CCiego")->text(), QStringLiteral("BLIND"));
        // Label index, its text and the field it names.
        const QList<std::tuple<int, QString, int>> labels = {
            {0, "Name:", 0},   {1, "First name:", 1}, {2, "Last name:", 2},    {3, "Age:", 3},
            {4, "Height:", 4}, {5, "Weight:", 5},     {6, "Observations:", 6}, {7, "Columns:", 23},
            {8, "Rows:", 22},  {10, "Center:", 24},   {11, "ID:", 11}};
        for (const auto &[index, text, fieldIndex] : labels) {
            auto *label = control<QLabel>(w, QStringLiteral("lblLabels_%1").arg(index));
            QCOMPARE(label->text(), text);
            QCOMPARE(label->buddy()->objectName(), QStringLiteral("txtFields_%1").arg(fieldIndex));
        }
        QCOMPARE(field(w, 25)->accessibleName(), QStringLiteral("Center:"));
        QVERIFY(qobject_cast<QPlainTextEdit *>(control(w, "txtFields_6")));
        // Enter in a field presses no button: it must not start a new subject.
        w.show();
        QTest::keyClick(field(w, 0), Qt::Key_Return);
        QCOMPARE(caption(w), QStringLiteral("Subjects (1/1)"));
    }
};

QTEST_MAIN(SubjectFormTest)
#include "tst_subject_form.moc"
