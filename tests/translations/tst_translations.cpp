// The catalogues cover every text of the sources, the language is chosen as documented, and an
// installed translation is what the texts then show.
#include "core/IniFile.h"
#include "core/Language.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
const QString Source = QStringLiteral(ZK_SOURCE_DIR);

// "context: source" of every message whose translation is missing, empty or unfinished.
QStringList untranslated(const QString &ts) {
    QFile file(ts);
    if (!file.open(QIODevice::ReadOnly)) {
        return {QStringLiteral("cannot read ") + ts};
    }
    QStringList found;
    QXmlStreamReader xml(&file);
    QString context, source;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement()) {
            continue;
        }
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            if (type == QLatin1String("vanished") || type == QLatin1String("obsolete")) {
                continue; // no longer in the sources
            }
            if (type == QLatin1String("unfinished") || xml.readElementText().isEmpty()) {
                found << context + QStringLiteral(": ") + source;
            }
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
        QString lupdate = QStringLiteral(ZK_LUPDATE);
        if (!QFileInfo(lupdate).isExecutable()) {
            lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + QStringLiteral("/lupdate");
        }
        if (!QFileInfo(lupdate).isExecutable()) {
            QSKIP("lupdate is not installed (Debian package qt6-l10n-tools)");
        }
        QTemporaryDir work;
        const QString name = QStringLiteral("zokorvane_%1.ts").arg(language);
        const QString copy = work.filePath(name);
        QVERIFY(QFile::copy(Source + QStringLiteral("/translations/") + name, copy));
        QProcess run;
        run.setWorkingDirectory(Source);
        QStringList arguments{QStringLiteral("-I"), QStringLiteral("."), QStringLiteral("-locations"),
                              QStringLiteral("none"), QStringLiteral("-no-obsolete")};
        for (const char *folder : {"core", "data", "drawings", "imaging", "widgets", "subjects",
                                   "experiments", "mr", "results", "app", "tools"}) {
            arguments << QString::fromLatin1(folder);
        }
        run.start(lupdate, arguments << QStringLiteral("-ts") << copy);
        QVERIFY(run.waitForFinished(120000));
        QCOMPARE(run.exitCode(), 0);
        const QStringList missing = untranslated(copy);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("without translation in %1:\n").arg(name) +
                                               missing.join(QLatin1Char('\n'))));
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
        QFETCH(QString, expected);
        QTemporaryDir work;
        const QString config = work.filePath(QStringLiteral("config.ini"));
        if (!configured.isEmpty()) {
            QVERIFY(Language::setConfigured(config, configured));
            QCOMPARE(LeeIni(config, QStringLiteral("Language"), QStringLiteral("Name"), QString()),
                     configured);
        }
        QCOMPARE(Language::chosen(config, system), expected);
    }

    void install_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("es") << "es" << true << "&Archivo";
        QTest::newRow("en") << "en" << true << "&Load associated MR...";
        QTest::newRow("C") << "C" << false << "";
        QTest::newRow("no file") << "fr" << false << "";
    }
    void install() {
        QFETCH(QString, language);
        QFETCH(bool, installed);
        QFETCH(QString, shown);
        Language::install(*QCoreApplication::instance(), QStringLiteral("es"), {QStringLiteral(ZK_QM_DIR)});
        QCOMPARE(Language::install(*QCoreApplication::instance(), language, {QStringLiteral(ZK_QM_DIR)}),
                 installed);
        QCOMPARE(Language::installed(), installed ? language : QStringLiteral("C"));
        const char *source = language == QLatin1String("en") ? "&Load asociated MR..." : "&File";
        // Without a translation the source text itself, whatever was installed before.
        QCOMPARE(QCoreApplication::translate("MainWindow", source),
                 installed ? shown : QString::fromLatin1(source));
        Language::install(*QCoreApplication::instance(), QStringLiteral("C"));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "tst_translations.moc"
