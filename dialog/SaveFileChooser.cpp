#include "SaveFileChooser.h"

#include <QFileDialog>

#include "res/Strings.h"

QString CSaveFileDialogChooser::ChoosePath(QWidget* owner) {
    return ChooseExportPath(owner, Strings::Tr(Strings::kSaveFilter), QStringLiteral("xstg"));
}

QString CSaveFileDialogChooser::ChooseExportPath(QWidget* owner, const QString& filter,
                                                 const QString& suffix) {
    // A dialog object rather than getSaveFileName: only it adds the default suffix, and it asks
    // before overwriting the file with the completed name.
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
