#include "QuelmarDlg.h"

namespace {

// The dialog's initial size, in pixels at the default font: 613 x 313 dialog units.
constexpr int kInitialWidth = 920;
constexpr int kInitialHeight = 509;

}  // namespace

CQuelmarDlg::CQuelmarDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Генератор хроматограммы"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(kInitialWidth, kInitialHeight);
}
