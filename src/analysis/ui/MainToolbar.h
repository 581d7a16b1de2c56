// The main window's toolbar: its buttons in their order, each with its key
// (the action's object name), tool tip and icon, and the "fmt" drop-down with
// the fixed-format menu. Icons come from the desktop's icon theme by their
// freedesktop names, with the program's own pictures where the theme has none.
#pragma once

#include <QAction>
#include <QString>
#include <QToolBar>
#include <functional>

namespace vantrep::analysis::ui {

// The keys of the buttons and separators, in toolbar order.
const QStringList& toolbarKeys();

// Builds the toolbar. `onButton` receives the key of a clicked button,
// `onMenu` the key of a chosen drop-down menu entry.
QToolBar* buildMainToolbar(QWidget* parent, std::function<void(const QString&)> onButton,
                           std::function<void(const QString&)> onMenu);

// The button or separator with this key, or nullptr.
QAction* toolbarAction(QToolBar* toolbar, const QString& key);

// Uses the installed freedesktop icon theme when the platform names none.
void useDesktopIconTheme();

}  // namespace vantrep::analysis::ui
