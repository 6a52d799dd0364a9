#include "QuelmarApp.h"

#include "AppSettings.h"
#include "DataBaseConnectionBase.h"
#include "dialog/QuelmarDlg.h"

CQuelmarApp::CQuelmarApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The per-user profile lives under the organisation and the program's name, which Qt takes
    // from the executable's base name.
    setOrganizationName(QString::fromLatin1(AppSettings::kOrganization));
}

int CQuelmarApp::InitInstance() {
    const QString folder = AppSettings::DatabaseFolder();
    DataBaseConnectionBase::Instance().SetPath(AppSettings::DatabasePath(folder));

    CQuelmarDlg dialog;
    dialog.exec();
    return 0;
}
