#include "analysis/ui/MainToolbar.h"

#include <QDir>
#include <QIcon>
#include <QMenu>
#include <QToolButton>
#include <map>

namespace vantrep::analysis::ui {

namespace {

struct Button {
    QString key;
    QString toolTip;
    QString themeIcon;  // freedesktop name; "" for a separator
    QString ownIcon;    // the program's picture when the theme has none
};

const std::vector<Button>& buttons() {
    static const std::vector<Button> list = {
        {"save", "Save Report", "document-save", ":/icons/save.svg"},
        {"open", "Open Report", "document-open", ":/icons/open.svg"},
        {"saveas", "Save Report Layout", "document-save-as", ":/icons/saveas.svg"},
        {"changeLayout", "Change Report Layout", "document-page-setup", ":/icons/changeLayout.svg"},
        {"sep10", "", "", ""},
        {"preview", "Preview", "document-print-preview", ":/icons/preview.svg"},
        {"sep20", "", "", ""},
        {"criteria", "Report Criteria", "dialog-information", ":/icons/criteria.svg"},
        {"export", "Export to Excel", "x-office-spreadsheet", ":/icons/export.svg"},
        {"layout", "Define Report Layout", "document-properties", ":/icons/layout.svg"},
        {"fmt", "Fixed Format Reports", "document-print", ":/icons/fmt.svg"},
        {"sep30", "", "", ""},
        {"report", "Grid", "", ":/icons/grid.svg"},
        {"graph2D", "2D Graph", "", ":/icons/graph2D.svg"},
        {"graph3D", "3D Graph", "", ":/icons/graph3D.svg"},
        {"sep40", "", "", ""},
        {"help", "Help", "help-about", ":/icons/help.svg"},
    };
    return list;
}

// The desktop's usual keys for the main commands; none for the others.
QKeySequence shortcutFor(const QString& key) {
    static const std::map<QString, QKeySequence> keys = {
        {"open", QKeySequence(Qt::CTRL | Qt::Key_O)},           {"save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"saveas", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}, {"layout", QKeySequence(Qt::CTRL | Qt::Key_L)},
        {"preview", QKeySequence(Qt::CTRL | Qt::Key_P)},        {"export", QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"help", QKeySequence(Qt::Key_F1)},
    };
    const auto found = keys.find(key);
    return found == keys.end() ? QKeySequence() : found->second;
}

QIcon iconFor(const Button& button) {
    const QIcon own(button.ownIcon);
    if (button.themeIcon.isEmpty()) return own;
    return QIcon::fromTheme(button.themeIcon, own);
}

}  // namespace

const QStringList& toolbarKeys() {
    static const QStringList keys = [] {
        QStringList k;
        for (const Button& b : buttons()) k << b.key;
        return k;
    }();
    return keys;
}

void useDesktopIconTheme() {
    const QString name = QIcon::themeName();
    if (!name.isEmpty() && name != "hicolor") return;
    for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("breeze"), QStringLiteral("Tango")}) {
        for (const QString& path : QIcon::themeSearchPaths()) {
            if (QDir(path + "/" + theme).exists("index.theme")) {
                QIcon::setThemeName(theme);
                return;
            }
        }
    }
}

QToolBar* buildMainToolbar(QWidget* parent, std::function<void(const QString&)> onButton,
                           std::function<void(const QString&)> onMenu) {
    useDesktopIconTheme();
    auto* toolbar = new QToolBar(parent);
    toolbar->setObjectName("Toolbar1");
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(24, 24));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const Button& b : buttons()) {
        if (b.toolTip.isEmpty()) {
            QAction* separator = toolbar->addSeparator();
            separator->setObjectName(b.key);
            continue;
        }
        auto* action = new QAction(iconFor(b), b.toolTip, toolbar);
        action->setObjectName(b.key);
        action->setToolTip(b.toolTip);
        action->setShortcut(shortcutFor(b.key));
        QObject::connect(action, &QAction::triggered, toolbar, [onButton, key = b.key] { onButton(key); });
        if (b.key == "fmt") {
            auto* menu = new QMenu(toolbar);
            for (const auto& [key, text] : {std::pair{"fmt1", "Format1"}, std::pair{"fmt2", "Format2"}}) {
                QAction* entry = menu->addAction(text);
                entry->setObjectName(key);
                QObject::connect(entry, &QAction::triggered, toolbar, [onMenu, k = QString(key)] { onMenu(k); });
            }
            action->setMenu(menu);
            toolbar->addAction(action);
            if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action)))
                button->setPopupMode(QToolButton::MenuButtonPopup);
            continue;
        }
        toolbar->addAction(action);
    }
    return toolbar;
}

QAction* toolbarAction(QToolBar* toolbar, const QString& key) {
    for (QAction* action : toolbar->actions())
        if (action->objectName() == key) return action;
    return nullptr;
}

}  // namespace vantrep::analysis::ui
