// The "Select subject" window and the subject list it shares: entry texts, preselection, choosing
// by OK, double click or Enter, leaving by Cancel or Escape, and the main window's items around it.

#include "support/StudyFixture.h"
#include "support/Widgets.h"

#include "app/MainWindow.h"
#include "core/AppState.h"
#include "data/StudyState.h"
#include "subjects/elegirpaciente.h"
#include "support/MessageLog.h"

using namespace Qt::StringLiterals;

// Subjects 1, 2, 3 and 7, with null, empty and present surnames and one without a name, in a study
// the test's AppState has open.
struct ChooserStudy {
    StudyFixture study;
    AppState state;
    ChooserStudy() {
        study.addSubject(3, "Ana");
        study.addSubject(1, "Luis", "", "Pérez");
        study.addSubject(7, QVariant(), "Gómez", "Ruiz", 2, 5);
        study.addSubject(2, "Eva", "Sanz", QVariant(), 0, 3);
        study.release();
    }
    void open() { QCOMPARE(AbreBaseDatos(state, study.path()), QString()); }
};

class SubjectChooserTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;

private slots:
    void init() { m_messages.clear(); }

    // Every subject listed in ID order with the current one preselected, or else the last; the
    // operator moves to the last and chooses or leaves.
    void choosingSetsTheSubjectItsGridAndThePanel_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("preselected");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        const QString gomez = u"7 ' Gómez Ruiz' 2,5 'Subject:  Gómez Ruiz'"_s, ana = u"3 'Ana' 1,4 ''"_s;
        QTest::newRow("no subject, OK") << -1 << u" Gómez Ruiz"_s << u"OK"_s << gomez;
        QTest::newRow("subject 2, Enter") << 2 << u"Eva Sanz"_s << u"Enter"_s << gomez;
        QTest::newRow("subject not in the study, double click on Eva")
            << 99 << u" Gómez Ruiz"_s << u"double click"_s << u"2 'Eva Sanz' 0,3 'Subject: Eva Sanz'"_s;
        QTest::newRow("Cancel") << 3 << u"Ana"_s << u"Cancel"_s << ana;
        QTest::newRow("Escape") << 3 << u"Ana"_s << u"Escape"_s << ana;
    }
    void choosingSetsTheSubjectItsGridAndThePanel() {
        QFETCH(int, current);
        QFETCH(QString, how);
        ChooserStudy chooser;
        chooser.open();
        AppState &state = chooser.state;
        current == 3 ? state.FijaPaciente(3, "Ana", 1, 4) : void(state.IdPacienteActual = current);
        QString panel;
        elegirpaciente w(state, [&panel](const QString &text) { panel = text; });
        QVERIFY(exposed(&w));
        auto *list = child<QListWidget>(&w, "List1");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) {
            entries << list->item(i)->data(Qt::UserRole).toString() + u":"_s + list->item(i)->text();
        }
        QCOMPARE(entries, (QStringList{"1:Luis  Pérez", "2:Eva Sanz", "3:Ana", "7: Gómez Ruiz"}));
        QCOMPARE(list->selectedItems().size(), 1);
        QTEST(list->selectedItems().first()->text(), "preselected");
        QTEST(child<QLabel>(&w, "LPaciente")->text(), "preselected");

        list->setCurrentRow(3);
        if (how == "OK" || how == "Cancel") {
            w.findChild<QPushButton *>(how == "OK" ? "bAceptar" : "bCancelar")->click();
        } else if (how == "Enter" || how == "Escape") {
            QTest::keyClick(list, how == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
        } else {
            const QRect rect = list->visualItemRect(list->item(1));
            // The view takes a double click only on the item it saw pressed, as a real second click
            // delivers a press before the double click.
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
        QTEST(u"%1 '%2' %3,%4 '%5'"_s.arg(state.IdPacienteActual)
                  .arg(state.NombrePacienteActual)
                  .arg(state.FilaCentroRejilla)
                  .arg(state.ColumnaCentroRejilla)
                  .arg(panel),
              "expected");
        QCOMPARE(w.result(), how == "Cancel" || how == "Escape" ? QDialog::Rejected : QDialog::Accepted);
        QVERIFY(!w.isVisible());
    }

    // The main window's items open the chooser, which sets the subject, its panel and its items, and
    // the form.
    void mainWindowItemsOpenTheSubjectWindows() {
        ChooserStudy chooser;
        MainWindow main(chooser.state);
        QVERIFY(main.openStudy(chooser.study.path()));
        QString opened;
        const auto answer = [&opened](const char *button) {
            QTimer::singleShot(0, [&opened, button] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                opened = dialog->objectName();
                button ? dialog->findChild<QPushButton *>(button)->click() : dialog->reject();
            });
        };
        answer("bAceptar");
        child<QAction>(&main, "MPSelecciona")->trigger();
        QVERIFY(opened == "elegirpaciente" && chooser.state.IdPacienteActual == 7);
        QCOMPARE(labelText(&main, "Panel2"), "Subject:  Gómez Ruiz");
        QVERIFY(child<QAction>(&main, "MRInforme")->isEnabled()); // the subject's items follow
        answer(nullptr);
        child<QAction>(&main, "MPVer")->trigger();
        QVERIFY(opened == "paciente" && m_messages.isEmpty());
    }
};

QTEST_MAIN(SubjectChooserTest)
#include "tst_subject_chooser.moc"
