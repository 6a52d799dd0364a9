// The window's menus: the document's commands and the exports. Their keys are the window's own
// (FilterKey); the menus show them without binding them twice.
#include <QMenuBar>

#include "QuelmarDlg.h"
#include "res/Strings.h"

namespace {

// "Save\tCtrl+S": the text after the tab is shown as the item's key and binds nothing.
QString WithKey(const char* text, const char* key) {
    return Strings::Tr(text) + QStringLiteral("\t") + QString::fromLatin1(key);
}

}  // namespace

void CQuelmarDlg::CreateMenus() {
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(Strings::Tr(Strings::kMenuFile));
    file->addAction(WithKey(Strings::kMenuNew, "Ctrl+N"), this, [this] { OnNew(); });
    file->addAction(WithKey(Strings::kMenuOpen, "Ctrl+O"), this, [this] { OnOpen(); });
    file->addAction(WithKey(Strings::kMenuSave, "Ctrl+S"), this, [this] { OnSaveToCurrentFile(); });
    file->addAction(WithKey(Strings::kMenuSaveAs, "Ctrl+Shift+S"), this, [this] { OnSave(); });
    file->addSeparator();
    file->addAction(Strings::Tr(Strings::kMenuExportCsv), this, [this] { OnExportCsv(); });
    file->addAction(Strings::Tr(Strings::kMenuExportAia), this, [this] { OnExportAia(); });
    file->addAction(Strings::Tr(Strings::kMenuPicture), this, [this] { OnExportPicture(); });
    file->addAction(Strings::Tr(Strings::kMenuCopyPicture), this, [this] { OnCopyPicture(); });
    file->addSeparator();
    file->addAction(Strings::Tr(Strings::kMenuQuit), this, [this] { reject(); });
    QMenu* edit = m_menuBar->addMenu(Strings::Tr(Strings::kMenuEdit));
    edit->addAction(WithKey(Strings::kMenuUndo, "Ctrl+Z"), this, [this] { OnUndo(); });
    edit->addAction(WithKey(Strings::kMenuRedo, "Ctrl+Y"), this, [this] { OnRedo(); });
}
