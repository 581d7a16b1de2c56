// The session state: everything the program's windows share while a report
// is open (the data connection, the structure table, the working folder, the
// field dictionary and the value lists). One Session per process; opening
// another report replaces its content.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "session/CrossTabQuery.h"
#include "session/FieldDef.h"
#include "session/FolderNamingUi.h"
#include "session/Ui.h"
#include "session/ValueList.h"
#include "session/WorkingFolder.h"

namespace vantrep::session {

class Session {
public:
    // `commandLine` is the program's own argument ("" when started without one).
    Session(Ui& shown, QString commandLine)
        : namingUi_(shown, sReportFolder, sOpenedFolder), ui(namingUi_), commandLine(std::move(commandLine)) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    FolderNamingUi namingUi_;  // reads the two folders below only once they are made

public:
    // Every message of the session's routines goes through it.
    Ui& ui;
    const QString commandLine;

    engine::Connection cnData;
    engine::Recordset rsData;
    engine::Recordset rsStruct;
    WorkingFolderLock workingFolderLock;  // held for as long as the working copy is in use

    QString sReportFolder;  // the working copy, ending in "/"
    QString sOpenedFolder;  // the report folder the user opened (absolute, ending in "/"): messages name it
    QString sDataFile;      // file name of the data table in sReportFolder
    QString sStructFile;    // full path of the structure file
    QString sReportPath;    // where the report was last opened or saved; "" = no saved place
    bool bDetailed = false;
    bool bClipDet = false;

    FieldList aDims;
    FieldList aVars;
    // cmbField(i): the value list of aDims(i); element 0 is unused.
    std::vector<ValueList> cmbField = std::vector<ValueList>(1);
    QString sReportName;
    QString sReportTitle;

    // The query state of a summary: what the last build made, the statement
    // being filled (from 1), and the page-field condition with its display
    // form (both "" when no page field is filtered; each begins with a blank).
    CrossTabQuery crossTab;
    int nQueryIndex = 1;
    QString sPageFilter;
    QString sPageFilterText;

    // What the main window shows for the report kind: the summary-only
    // toolbar commands ("graph2D", "sep30", "changeLayout", "saveas") and the
    // grid's header behaviour (5: click to sort; 7: also drag columns).
    bool summaryCommandsVisible = false;
    int explorerBar = 0;

    // True when the program was started for automation ("-Embedding").
    bool embedded() const { return commandLine == "-Embedding"; }

    // Empties the field dictionary, the value lists, the query state and the
    // page filter: nothing of one report's layout reaches the next.
    void ResetLayoutArrays();
};

}  // namespace vantrep::session
