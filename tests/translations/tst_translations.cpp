// The catalogues cover every text of the sources, the language is chosen as documented, and an
// installed translation is what the texts then show.
#include "core/IniFile.h"
#include "core/Language.h"
#include "support/Files.h"

#include <QCoreApplication>

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
} // namespace

class TranslationsTest : public QObject {
    Q_OBJECT

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
        QTest::newRow("config.ini C") << "C" << spanishFirst << "C";
        QTest::newRow("system, first with a file") << "" << spanishFirst << "es";
        QTest::newRow("system, skips a language without file")
            << "" << QStringList{QStringLiteral("fr-FR"), QStringLiteral("en-GB")} << "en";
        QTest::newRow("system without any file") << "" << QStringList{QStringLiteral("fr_FR")} << "fr";
        QTest::newRow("C locale") << "" << QStringList{QStringLiteral("C")} << "C";
        QTest::newRow("nothing known") << "" << QStringList{} << "C";
    }
    void choice() {
        QFETCH(QString, configured);
        QFETCH(QStringList, system);
        QTemporaryDir work;
        const QString config = work.filePath(QStringLiteral("config.ini"));
        QVERIFY(configured.isEmpty() || Language::setConfigured(config, configured));
        QCOMPARE(LeeIni(config, QStringLiteral("Language"), QStringLiteral("Name"), QString()), configured);
        QTEST(Language::chosen(config, system), "expected");
    }

    // Installed, a translation is what the texts show; without one (the texts as written, or no file)
    // the source text, whatever was installed before.
    void install() {
        const struct {
            const char *language, *context, *source, *shown; // shown: null when nothing is installed
        } rows[] = {{"es", "MainWindow", "&File", "&Archivo"},
                    // Qt's own texts (the standard buttons of every message box) follow the program's.
                    {"es", "QPlatformTheme", "&Yes", "&S\u00ed"},
                    {"C", "MainWindow", "&File", nullptr},
                    {"C", "QPlatformTheme", "&Yes", nullptr},
                    {"fr", "MainWindow", "&File", nullptr}};
        for (const auto &row : rows) {
            Language::install(QStringLiteral("es"), QmDir);
            QCOMPARE(Language::install(row.language, QmDir), row.shown != nullptr);
            QCOMPARE(Language::installed(), row.shown ? row.language : "C");
            QCOMPARE(QCoreApplication::translate(row.context, row.source),
                     QString::fromUtf8(row.shown ? row.shown : row.source));
        }
        Language::install(QStringLiteral("C"));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
