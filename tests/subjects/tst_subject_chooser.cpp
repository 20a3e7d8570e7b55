// The "Select subject" window and the subject list it shares: entry texts, preselection, choosing
// by OK, double click or Enter, leaving by Cancel or Escape, and the main window's items around it.

#include "StudyFixture.h"

#include "AppState.h"
#include "MainWindow.h"
#include "MessageLog.h"
#include "Messages.h"
#include "elegirpaciente.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

namespace {

// Subjects 1, 2, 3 and 7, with null, empty and present surnames and one without a name.
void addSubjects(StudyFixture &study) {
    study.addSubject(3, "Ana");
    study.addSubject(1, "Luis", "", "Pérez");
    study.addSubject(7, QVariant(), "Gómez", "Ruiz", 2, 5);
    study.addSubject(2, "Eva", "Sanz", QVariant(), 0, 3);
}

// The state a test compares: current subject, its name and grid centre, and the panel text.
QString subjectState(const AppState &state, const QString &panel) {
    return QStringLiteral("%1 '%2' %3,%4 '%5'")
        .arg(state.IdPacienteActual)
        .arg(state.NombrePacienteActual)
        .arg(state.FilaCentroRejilla)
        .arg(state.ColumnaCentroRejilla)
        .arg(panel);
}

} // namespace

class SubjectChooserTest : public QObject {
    Q_OBJECT

private:
    MessageLog m_messages;

private slots:
    void init() {
        m_messages.clear();
        m_messages.setAnswer(false);
    }

    void listShowsEverySubjectInIdOrder() {
        StudyFixture study;
        addSubjects(study);
        QListWidget list;
        list.addItem("kept");
        LlenaListaPacientes(&list, study.db(), -1);
        QStringList texts;
        QList<int> ids;
        for (int i = 1; i < list.count(); ++i) {
            texts << list.item(i)->text();
            ids << list.item(i)->data(Qt::UserRole).toInt();
        }
        QCOMPARE(list.item(0)->text(), QStringLiteral("kept"));
        QCOMPARE(texts, (QStringList{"Luis  Pérez", "Eva Sanz", "Ana", " Gómez Ruiz"}));
        QCOMPARE(ids, (QList<int>{1, 2, 3, 7}));
    }

    void currentSubjectOrElseTheLastIsPreselected_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("selected");
        QTest::newRow("no subject") << -1 << " Gómez Ruiz";
        QTest::newRow("subject 2") << 2 << "Eva Sanz";
        QTest::newRow("subject not in the study") << 99 << " Gómez Ruiz";
    }
    void currentSubjectOrElseTheLastIsPreselected() {
        QFETCH(int, current);
        QFETCH(QString, selected);
        StudyFixture study;
        addSubjects(study);
        study.release();
        AppState state;
        QCOMPARE(state.AbreBaseDatos(study.path()), QString());
        state.IdPacienteActual = current;
        elegirpaciente w(state, {});
        auto *list = w.findChild<QListWidget *>("List1");
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(list->selectedItems().first()->text(), selected);
        QCOMPARE(w.findChild<QLabel *>("LPaciente")->text(), selected);
    }

    void choosingSetsTheSubjectItsGridAndThePanel_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK") << "OK"
                            << "7 ' Gómez Ruiz' 2,5 'Subject:  Gómez Ruiz'";
        QTest::newRow("Enter") << "Enter"
                               << "7 ' Gómez Ruiz' 2,5 'Subject:  Gómez Ruiz'";
        QTest::newRow("double click on Eva") << "double click"
                                             << "2 'Eva Sanz' 0,3 'Subject: Eva Sanz'";
        QTest::newRow("Cancel") << "Cancel"
                                << "3 'Ana' 1,4 ''";
        QTest::newRow("Escape") << "Escape"
                                << "3 'Ana' 1,4 ''";
    }
    void choosingSetsTheSubjectItsGridAndThePanel() {
        QFETCH(QString, how);
        StudyFixture study;
        addSubjects(study);
        study.release();
        AppState state;
        QCOMPARE(state.AbreBaseDatos(study.path()), QString());
        state.FijaPaciente(3, "Ana", 5, 9, 1, 4);
        QString panel;
        elegirpaciente w(state, [&panel](const QString &text) { panel = text; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto *list = w.findChild<QListWidget *>("List1");
        list->setCurrentRow(3); // the operator moves to the last subject
        if (how == "OK") {
            w.findChild<QPushButton *>("bAceptar")->click();
        } else if (how == "Cancel") {
            w.findChild<QPushButton *>("bCancelar")->click();
        } else if (how == "Enter") {
            QTest::keyClick(list, Qt::Key_Return);
        } else if (how == "Escape") {
            QTest::keyClick(list, Qt::Key_Escape);
        } else {
            const QRect rect = list->visualItemRect(list->item(1));
            // The view takes a double click only on the item it saw pressed, as a real second click
            // delivers a press before the double click.
            QTest::mousePress(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
        QTEST(subjectState(state, panel), "expected");
        QCOMPARE(w.result(), how == "Cancel" || how == "Escape" ? QDialog::Rejected : QDialog::Accepted);
        QVERIFY(!w.isVisible());
    }

    void mainWindowItemsOpenTheSubjectWindows() {
        StudyFixture study;
        addSubjects(study);
        study.release();
        AppState state;
        MainWindow main(state);
        QVERIFY(main.abreEstudio(study.path()));
        auto *informe = main.findChild<QAction *>("MRInforme");

        // Answers the modal window the next item opens, by the named button or by closing it.
        QString opened;
        const auto answer = [&opened](const QString &button) {
            QTimer::singleShot(0, [&opened, button] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                opened = dialog->objectName();
                button.isEmpty() ? dialog->reject() : dialog->findChild<QPushButton *>(button)->click();
            });
        };

        answer("bCancelar");
        main.findChild<QAction *>("MPSelecciona")->trigger();
        QCOMPARE(opened, QStringLiteral("elegirpaciente"));
        QVERIFY(!informe->isEnabled());
        QCOMPARE(main.panelText(2), QStringLiteral("Subject: none"));

        answer("bAceptar");
        main.findChild<QAction *>("MPSelecciona")->trigger();
        QCOMPARE(state.IdPacienteActual, 7);
        QCOMPARE(main.panelText(2), QStringLiteral("Subject:  Gómez Ruiz"));
        QVERIFY(informe->isEnabled());
        QVERIFY(main.findChild<QAction *>("MPResonancias")->isEnabled());
        QVERIFY(main.findChild<QMenu *>("MPasadas")->isEnabled());

        opened.clear();
        answer("");
        main.findChild<QAction *>("MPVer")->trigger();
        QCOMPARE(opened, QStringLiteral("paciente"));
        QVERIFY(m_messages.isEmpty());
    }
};

QTEST_MAIN(SubjectChooserTest)
#include "tst_subject_chooser.moc"
