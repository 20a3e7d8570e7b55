// The translations: the catalogues cover every text of the sources, the language is chosen as
// documented, an installed translation is what the texts then show; and every top-level window of the
// program, on the demo study, in English, Spanish and the texts as written: no label, button, check
// box, radio button or group box shows its text cut off.
#include "app/LanguageDialog.h"
#include "app/MainWindow.h"
#include "app/ServerStudyDialog.h"
#include "core/AppState.h"
#include "core/Language.h"
#include "data/StudyState.h"
#include "experiments/FAcumulados.h"
#include "experiments/FVerEstimulo.h"
#include "experiments/IntroEstimulo.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"
#include "mr/FInicio.h"
#include "mr/FResonancia.h"
#include "mr/FSelect.h"
#include "results/ExportStudyWindow.h"
#include "results/PhospheneMapWindow.h"
#include "subjects/elegirpaciente.h"
#include "subjects/paciente.h"
#include "support/Files.h"
#include "support/MessageLog.h"
#include "support/Widgets.h"
#include "tools/DemoStudy.h"

#include <QMenu>

#include <functional>
#include <memory>

namespace {
const QString Source = QStringLiteral(ZK_SOURCE_DIR);
const QStringList QmDir{QStringLiteral(ZK_QM_DIR)};

// The source of every message of a catalogue whose translation is missing, empty or unfinished.
QStringList untranslated(const QString &ts) {
    QStringList found;
    for (const QString &message : QString::fromUtf8(fileBytes(ts)).split("<message").mid(1)) {
        if (message.contains("type=\"unfinished\"") || message.contains("<translation></translation>") ||
            !message.contains("<translation")) {
            found << message.section("<source>", 1).section("</source>", 0, 0);
        }
    }
    return found;
}

// "Class objectName 'text': width W < needed N" for each visible text that does not fit.
QStringList cutTexts(QWidget *window) {
    QStringList found;
    const auto report = [&found](QWidget *w, const QString &text, int needed) {
        if (w->isVisible() && !text.isEmpty() && w->width() < needed) {
            found << QString("%1 %2 '%3': width %4 < %5")
                         .arg(w->metaObject()->className(), w->objectName(), text)
                         .arg(w->width())
                         .arg(needed);
        }
    };
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->wordWrap() && label->pixmap().isNull() && label->textFormat() != Qt::RichText &&
            !label->text().contains(QLatin1Char('\n'))) {
            report(label, label->text(), label->sizeHint().width());
        }
    }
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (!button->inherits("QToolButton")) {
            report(button, button->text(), button->sizeHint().width());
        }
    }
    for (QGroupBox *box : window->findChildren<QGroupBox *>()) {
        report(box, box->title(), box->fontMetrics().horizontalAdvance(box->title()) + 16);
    }
    return found;
}

} // namespace

class TranslatedWindowsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    MessageLog m_messages;
    AppState m_state;
    ImagingLibrary m_library;
    ImagingState m_imaging{m_library};

private slots:
    // lupdate over the sources into copies of the catalogues: a text added without translations
    // comes out unfinished.
    void cataloguesTranslateEveryText_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("es") << QStringLiteral("es");
    }
    void cataloguesTranslateEveryText() {
        QFETCH(QString, language);
        if (!QFileInfo(QStringLiteral(ZK_LUPDATE)).isExecutable()) {
            QSKIP("lupdate is not installed (Debian package qt6-l10n-tools)");
        }
        QTemporaryDir work;
        const QString name = QStringLiteral("zokorvane_%1.ts").arg(language), copy = work.filePath(name);
        QVERIFY(QFile::copy(Source + "/translations/" + name, copy));
        QStringList arguments{"-I", Source, "-locations", "none", "-no-obsolete"};
        for (const char *folder : {"core", "data", "drawings", "imaging", "widgets", "subjects",
                                   "experiments", "mr", "brain", "results", "app", "tools"}) {
            arguments << Source + '/' + folder;
        }
        QString said;
        QVERIFY2(runProgram(QStringLiteral(ZK_LUPDATE), arguments << "-ts" << copy, &said) == 0,
                 qPrintable(said));
        const QStringList missing = untranslated(copy);
        QVERIFY2(missing.isEmpty(),
                 qPrintable("without translation in " + name + ":\n" + missing.join('\n')));
    }

    void choice_data() {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("expected");
        const QStringList spanishFirst{QStringLiteral("es-ES"), QStringLiteral("en-US")};
        QTest::newRow("config.ini wins") << "en" << spanishFirst << "en";
        QTest::newRow("system, first with a file") << "" << spanishFirst << "es";
        QTest::newRow("system, skips a language without file")
            << "" << QStringList{QStringLiteral("fr-FR"), QStringLiteral("en-GB")} << "en";
        QTest::newRow("system without any file") << "" << QStringList{QStringLiteral("fr_FR")} << "fr";
        QTest::newRow("nothing known") << "" << QStringList{} << "C";
    }
    void choice() {
        QFETCH(QString, configured);
        QFETCH(QStringList, system);
        QTemporaryDir work;
        const QString config = work.filePath(QStringLiteral("config.ini"));
        QVERIFY(configured.isEmpty() || Language::setConfigured(config, configured));
        QTEST(Language::chosen(config, system), "expected");
    }

    // Installed, a translation is what the texts show, Qt's own too (the standard buttons of every
    // message box); without a file, the source text, whatever was installed before. The program's
    // own texts in Spanish and as written are the main window's test below.
    void install() {
        const struct {
            const char *language, *context, *source, *shown; // shown: null when nothing is installed
        } rows[] = {{"es", "QPlatformTheme", "&Yes", "&S\u00ed"}, {"fr", "MainWindow", "&File", nullptr}};
        for (const auto &row : rows) {
            Language::install(QStringLiteral("es"), QmDir);
            QCOMPARE(Language::install(row.language, QmDir), row.shown != nullptr);
            QCOMPARE(Language::installed(), row.shown ? row.language : "C");
            QCOMPARE(QCoreApplication::translate(row.context, row.source),
                     QString::fromUtf8(row.shown ? row.shown : row.source));
        }
        Language::install(QStringLiteral("C"));
    }

    void initTestCase() {
        const QString study = DemoStudy::create(m_work.path());
        m_state.RutaConfig = m_work.filePath(QStringLiteral("config.ini"));
        QVERIFY(AbreBaseDatos(m_state, study).isEmpty());
        m_state.FijaPaciente(1, QStringLiteral("Ana García López"), 1, 4);
    }

    void noTextCutOff_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("window");
        const char *const languages[] = {"en", "es", "C"};
        const char *const windows[] = {
            "MainWindow",   "paciente",           "elegirpaciente",    "IntroEstimulo",
            "FVerEstimulo", "FAcumulados",        "FInicio",           "FSelect",
            "FResonancia",  "PhospheneMapWindow", "ExportStudyWindow", "ServerStudyDialog"};
        for (const char *language : languages) {
            for (int i = 0; i < int(std::size(windows)); ++i) {
                QTest::addRow("%s %s", language, windows[i]) << QString::fromLatin1(language) << i;
            }
        }
    }
    void noTextCutOff() {
        QFETCH(QString, language);
        QFETCH(int, window);
        QCOMPARE(Language::install(language, QmDir), language != QLatin1String("C"));
        const std::function<QWidget *()> makers[] = {
            [&] { return new MainWindow(m_state, m_imaging); },
            [&] { return new paciente(m_state.BaseDatos); },
            [&] { return new elegirpaciente(m_state, [](const QString &) {}); },
            [&] {
                m_state.ContinuarPasada = false;
                return new IntroEstimulo(m_state);
            },
            [&] { return new FVerEstimulo(m_state, true); },
            [&] { return new FAcumulados(m_state, LlenaListaPacientes); },
            [&] { return new FInicio(m_state, m_imaging); },
            [&] { return new FSelect(m_imaging); },
            [&] { return new FResonancia(m_state, m_imaging); },
            [&] { return new PhospheneMapWindow(m_state, LlenaListaPacientes); },
            [&] { return new ExportStudyWindow(m_state.BaseDatos); },
            [&] { return new ServerStudyDialog(); },
        };
        std::unique_ptr<QWidget> shown(makers[window]());
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
        const QStringList cut = cutTexts(shown.get());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
    }

    // Help > Language...: the choice is written to config.ini and the open main window follows it.
    void mainWindowFollowsTheLanguageChosen() {
        Language::install(QStringLiteral("C"));
        MainWindow window(m_state, m_imaging);
        const auto *file = window.findChild<QMenu *>(QStringLiteral("MArchivo"));
        const auto *loadMr = window.findChild<QAction *>(QStringLiteral("MPResonancias"));
        LanguageDialog dialog(m_state.RutaConfig, &window, QmDir);
        for (const QStringList &row : {QStringList{"es", "&Archivo", "&Cargar RM asociada..."},
                                       QStringList{"C", "&File", "&Load asociated MR..."}}) {
            dialog.select(row[0]);
            QVERIFY(dialog.apply());
            QCOMPARE(Language::configured(m_state.RutaConfig), row[0]);
            QCoreApplication::sendPostedEvents(); // the windows' LanguageChange
            QCOMPARE(loadMr->text(), row[2]);
            QCOMPARE(file->title(), row[1]);
        }
    }

    void cleanupTestCase() {
        Language::install(QStringLiteral("C"));
        m_state.CierraBaseDatos();
    }
};

QTEST_MAIN(TranslatedWindowsTest)
#include "tst_translated_windows.moc"
