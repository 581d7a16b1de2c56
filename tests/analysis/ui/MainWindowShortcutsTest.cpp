// The main window's keyboard shortcuts: the desktop's usual keys on the
// main commands, their tool tips unchanged.
#include <QToolBar>

#include "analysis/ui/MainWindowFixture.h"

namespace vantrep::analysis::ui {
namespace {

TEST_F(MainWindowFixture, MainCommandsHaveTheDesktopsUsualKeys) {
    frmMain& w = start(QString());
    QStringList keys;
    for (QAction* a : w.toolbar()->actions())
        if (!a->shortcut().isEmpty())
            keys << a->objectName() + "=" + a->shortcut().toString(QKeySequence::PortableText) + "/" + a->toolTip();
    EXPECT_EQ(keys, (QStringList{"save=Ctrl+S/Save Report", "open=Ctrl+O/Open Report",
                                 "saveas=Ctrl+Shift+S/Save Report Layout", "preview=Ctrl+P/Preview",
                                 "export=Ctrl+E/Export to Excel", "layout=Ctrl+L/Define Report Layout", "help=F1/Help"}));
}

}  // namespace
}  // namespace vantrep::analysis::ui
