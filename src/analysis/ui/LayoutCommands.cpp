#include "analysis/ui/LayoutCommands.h"

#include "design/ui/frmChangeLayout.h"
#include "design/ui/frmSaveAs.h"
#include "session/LayoutChange.h"
#include "session/ReportSaving.h"

namespace vantrep::analysis::ui {

void SaveLayoutAs(session::Session& session, const QString& reportName, QWidget* owner) {
    design::ui::frmSaveAs dialog(session.ui, session::LayoutsFolder(), reportName + session::LayoutExtension(session),
                                 owner);
    if (dialog.exec() != QDialog::Accepted || dialog.FileName().isEmpty()) return;
    session::BusyPointer busy(session.ui);
    const QString error = session::WriteStructure(session, dialog.FileName());
    if (!error.isEmpty()) session.ui.critical(error);
}

void ChooseLayout(session::Session& session, const std::function<void(const QString&)>& apply, QWidget* owner) {
    QList<session::LayoutFile> layouts;
    {
        session::BusyPointer busy(session.ui);
        layouts = session::FittingLayouts(session, session::LayoutsFolder());
    }
    design::ui::frmChangeLayout dialog(layouts, apply, owner);
    dialog.exec();
}

}  // namespace vantrep::analysis::ui
