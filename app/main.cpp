#include "Version.h"
#include "app/MainWindow.h"
#include "core/AppPaths.h"
#include "core/AppState.h"
#include "core/Language.h"
#include "data/ServerStudy.h"
#include "imaging/ImagingLibrary.h"
#include "imaging/ImagingState.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The application name alone places the settings in ~/.config/ZoKorvane and the picture cache in
    // ~/.cache/ZoKorvane, the same folders the command-line tool uses.
    QApplication::setApplicationName(QStringLiteral("ZoKorvane"));
    QApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(Version::Major).arg(Version::Minor).arg(Version::Revision));

    // The interface's language: config.ini [Language] Name, else the system's (Help > Language...).
    Language::install(Language::chosen(AppPaths::configPath()));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Records and reviews the phosphenes evoked by transcranial magnetic "
                "stimulation."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("study"),
        QCoreApplication::translate("main", "Study file (.sqlite), or a server study's connection URI "
                                            "(postgresql://user@host/database), to open at start"),
        QStringLiteral("[study]"));
    parser.process(app);

    // Resolve the study before the working directory moves to the program's directory.
    const QStringList arguments = parser.positionalArguments();
    const QString estudio = arguments.isEmpty() ? QString()
                            : ServerStudy::isLocation(arguments.first())
                                ? arguments.first()
                                : QFileInfo(arguments.first()).absoluteFilePath();
    QDir::setCurrent(AppPaths::applicationDir());

    AppState state;
    state.RutaConfig = AppPaths::configPath();
    ImagingLibrary imagingLibrary;
    ImagingState imaging(imagingLibrary);
    MainWindow window(state, imaging);
    window.show();
    if (!estudio.isEmpty()) {
        window.openStudy(estudio);
    }
    return app.exec();
}
