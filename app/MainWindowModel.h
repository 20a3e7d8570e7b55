#pragma once

#include "data/LegacyImport.h"

#include <QString>

// The main window's state without widgets: which menus and items work at each stage (started, a
// study open, a subject chosen), and the decisions of opening a file: a study opens as it is, a
// legacy Access file is converted into the study beside it, or the study converted from it
// earlier is offered instead.
class MainWindowModel {
public:
    // The menus and items that change with the stage; File, Help and the other items always work.
    struct Menus {
        bool subjects = false;     // MPacientes
        bool results = false;      // MResultados
        bool experiments = false;  // MPasadas
        bool subjectItems = false; // MRInforme, MRInformePDF, MPResonancias
        // Items that change the study: MANueva, MARetomar, MAEdita, MPVer, MPResonancias. Off for a
        // server study the role may only read.
        bool changes = true;
        QString readOnlyReason; // why they are off
    };

    // The menus as the stage leaves them; at start only File and Help work.
    const Menus &menus() const { return m_menus; }
    // A study opened (its subject reset): Subjects and Results work, Experiments waits for a
    // subject, and the report and MR items stay as they were. A reason given means the study may
    // only be read: the items that change it stay off.
    void studyOpened(const QString &readOnlyReason = QString());
    // A subject was chosen: Experiments, the report and the MR items work.
    void subjectChosen();

    enum class Route {
        Open,          // a study: opened as it is
        Import,        // a legacy Access file: converted into `study`, which is then opened
        OfferConverted // a legacy file converted before: the operator is asked to open `study`
    };
    struct OpenPlan {
        Route route = Route::Open;
        QString study;
    };
    // What choosing `path` leads to. A legacy file is known by its extension .mdb (any case) or by
    // its first bytes, whatever its name.
    // A server study's URI opens as it is.
    static OpenPlan planOpen(const QString &path);

    // The connection URI of a server study from the open dialog's boxes (host or socket folder,
    // port, database, user), every part percent-encoded; "" without a database.
    static QString serverUri(const QString &host, const QString &port, const QString &database,
                             const QString &user);
    // How the status bar names a study: a file by its name, a server study by database and host.
    static QString studyName(const QString &location);

    // The question offering the study converted earlier from `legacy`.
    static QString offerText(const QString &legacy, const QString &study);
    // The report of a conversion: counts, drawings, and what could not come over.
    static QString importReport(const QString &legacy, const QString &study,
                                const LegacyImport::Result &result);

private:
    Menus m_menus;
};
