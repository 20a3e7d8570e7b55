// The main window's model: which menus work at each stage, and what choosing a file leads to.

#include "app/MainWindowModel.h"
#include "support/Files.h"

Q_DECLARE_METATYPE(MainWindowModel::Route)

class MainWindowModelTest : public QObject {
    Q_OBJECT

private:
    // The controls the menus enable, by name.
    static QString enabled(const MainWindowModel::Menus &m) {
        QStringList names{m.subjects ? "MPacientes" : "", m.results ? "MResultados" : "",
                          m.experiments ? "MPasadas" : "",
                          m.subjectItems ? "MRInforme MRInformePDF MPResonancias" : ""};
        names.removeAll(QString());
        return names.join(' ');
    }

private slots:
    // Started and study open are applied and checked by tst_main_window.
    void menusFollowTheStage_data() {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("menus");
        QTest::newRow("subject chosen")
            << QStringList{"study", "subject"}
            << "MPacientes MResultados MPasadas MRInforme MRInformePDF MPResonancias";
        // Another study resets the subject: Experiments waits again, the subject's items stay.
        QTest::newRow("another study after a subject")
            << QStringList{"study", "subject", "study"}
            << "MPacientes MResultados MRInforme MRInformePDF MPResonancias";
    }
    void menusFollowTheStage() {
        QFETCH(QStringList, events);
        QFETCH(QString, menus);
        MainWindowModel model;
        for (const QString &event : events) {
            event == "study" ? model.studyOpened() : model.subjectChosen();
        }
        QCOMPARE(enabled(model.menus()), menus);
    }

    void legacyFilesAreConvertedOnceAndStudiesOpenAsTheyAre_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("besides");
        QTest::addColumn<MainWindowModel::Route>("route");
        QTest::addColumn<QString>("study");
        const QByteArray jet = QByteArray("\0\1\0\0Standard Jet DB\0", 20);
        using R = MainWindowModel::Route;
        QTest::newRow("study") << "lab.sqlite" << QByteArray("SQLite format 3") << "" << R::Open
                               << "lab.sqlite";
        QTest::newRow(".mdb by name") << "old.mdb" << QByteArray("text") << "" << R::Import << "old.sqlite";
        QTest::newRow(".MDB in capitals") << "OLD.MDB" << jet << "" << R::Import << "OLD.sqlite";
        QTest::newRow("Jet file by contents") << "copy.bak" << jet << "" << R::Import << "copy.sqlite";
        QTest::newRow("converted before")
            << "old.mdb" << jet << "old.sqlite" << R::OfferConverted << "old.sqlite";
    }
    void legacyFilesAreConvertedOnceAndStudiesOpenAsTheyAre() {
        QFETCH(QString, file);
        QFETCH(QByteArray, contents);
        QFETCH(QString, besides);
        QFETCH(MainWindowModel::Route, route);
        QFETCH(QString, study);
        QTemporaryDir dir;
        QVERIFY(putFile(dir.filePath(file), contents));
        if (!besides.isEmpty()) {
            QVERIFY(putFile(dir.filePath(besides), "SQLite format 3"));
        }
        const MainWindowModel::OpenPlan plan = MainWindowModel::planOpen(dir.filePath(file));
        QCOMPARE(plan.route, route);
        QCOMPARE(plan.study, dir.filePath(study));
    }

    void importReportListsWhatDidNotComeOver() {
        const LegacyImport::Result result{
            4, 27, 28, {"estimulo row 3, fecha: out of range"}, 25, {"a.dat", "b.dat"}};
        QCOMPARE(
            MainWindowModel::importReport("/lab/old.mdb", "/lab/old.sqlite", result),
            "old.mdb was converted into the study old.sqlite:\n4 subjects, 27 points and 28 stimuli.\n"
            "25 drawings were copied into the study.\n\nThese drawings were missing or could not be read:\n"
            "a.dat\nb.dat\n\nThese values could not be carried over exactly:\nestimulo row 3, fecha: out of "
            "range");
    }
};

QTEST_GUILESS_MAIN(MainWindowModelTest)
#include "tst_main_window_model.moc"
