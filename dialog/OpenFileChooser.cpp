#include "OpenFileChooser.h"

#include <QFileDialog>

#include "res/Strings.h"

QString COpenFileDialogChooser::ChoosePath(QWidget* owner) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(Strings::Tr(Strings::kOpenFilter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
