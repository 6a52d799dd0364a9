#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <set>
#include <thread>
#include <vector>

#include "app/AppSettings.h"
#include "app/DataBaseConnectionBase.h"
#include "app/QuelmarApp.h"
#include "res/Version.h"

namespace {

// Machine-wide and per-user settings in temporary folders, never the real ones.
class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_machine.isValid() && m_user.isValid());
        qputenv("XDG_CONFIG_DIRS", m_machine.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_user.path().toLocal8Bit());
        // Qt reads the variables once per process; this points it at the folders either way.
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, m_machine.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_user.path());
    }

    void WriteMachineSettings(const QByteArray& text) {
        ASSERT_TRUE(QDir(m_machine.path()).mkpath("Norbeln"));
        QFile file(m_machine.filePath("Norbeln/Vendrix.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    // Runs the program and closes its dialog as soon as it is shown.
    int RunAndClose(QString* caption) {
        QTimer::singleShot(0, [caption] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            *caption = dialog->windowTitle();
            EXPECT_TRUE(dialog->isVisible());
            static_cast<QDialog*>(dialog)->reject();
        });
        return static_cast<CQuelmarApp*>(qApp)->InitInstance();
    }

    QTemporaryDir m_machine;
    QTemporaryDir m_user;
};

TEST_F(StartUp, DatabaseFolderIsANonEmptyStringValueOnly) {
    EXPECT_EQ(AppSettings::DatabaseFolder(), QString());  // no settings at all

    WriteMachineSettings("[General]\nPathSaveDb=/srv/data\n");
    EXPECT_EQ(AppSettings::DatabaseFolder(), "/srv/data");

    WriteMachineSettings("[General]\nPathSaveDb=\n");
    EXPECT_EQ(AppSettings::DatabaseFolder(), QString());

    WriteMachineSettings("[General]\nPathSaveDb=@ByteArray(/srv/data)\n");
    EXPECT_EQ(AppSettings::DatabaseFolder(), QString());

    WriteMachineSettings("[General]\nPathSaveDb=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\n");
    EXPECT_EQ(AppSettings::DatabaseFolder(), QString());

    WriteMachineSettings("[General]\nPathSaveDb=/a, /b\n");  // a list, not a string
    EXPECT_EQ(AppSettings::DatabaseFolder(), QString());
}

TEST_F(StartUp, DatabasePathHasExactlyOneSeparator) {
    const QString sep = QDir::separator();
    EXPECT_EQ(AppSettings::DatabasePath(""), "Tarvik.sqlite");
    EXPECT_EQ(AppSettings::DatabasePath("/srv/data"), "/srv/data" + sep + "Tarvik.sqlite");
    EXPECT_EQ(AppSettings::DatabasePath("/srv/data/"), "/srv/data" + sep + "Tarvik.sqlite");
    EXPECT_EQ(AppSettings::DatabasePath("/srv/data//"), "/srv/data" + sep + "Tarvik.sqlite");
    EXPECT_EQ(AppSettings::DatabasePath("/"), "/Tarvik.sqlite");
    EXPECT_EQ(AppSettings::DatabasePath("relative"), "relative" + sep + "Tarvik.sqlite");
}

TEST_F(StartUp, RecordsThePathRunsTheDialogAndEndsWhenItCloses) {
    WriteMachineSettings("[General]\nPathSaveDb=/srv/Данные/\n");
    QString caption;
    EXPECT_EQ(RunAndClose(&caption), 0);
    // The dialog ran; its full caption, with the version, is the dialog tests' business.
    EXPECT_TRUE(caption.endsWith(QString::fromLatin1(QuelmarVersion::kText)))
        << caption.toStdString();
    EXPECT_EQ(DataBaseConnectionBase::Instance().Path(),
              "/srv/Данные" + QString(QDir::separator()) + "Tarvik.sqlite");
    EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);  // the dialog is gone
}

TEST_F(StartUp, WithoutMachineSettingsThePathIsTheBareFileAndNothingIsCreated) {
    QString caption;
    EXPECT_EQ(RunAndClose(&caption), 0);
    EXPECT_EQ(DataBaseConnectionBase::Instance().Path(), "Tarvik.sqlite");
    EXPECT_TRUE(QDir(m_machine.path()).isEmpty());
}

TEST(DataBaseConnectionBase, OneInstanceForAllThreadsAndTheLastPathWins) {
    std::vector<std::thread> threads;
    std::vector<DataBaseConnectionBase*> seen(8);
    for (std::size_t i = 0; i < seen.size(); ++i)
        threads.emplace_back([&seen, i] { seen[i] = &DataBaseConnectionBase::Instance(); });
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(std::set<DataBaseConnectionBase*>(seen.begin(), seen.end()).size(), 1u);

    DataBaseConnectionBase::Instance().SetPath("first");
    DataBaseConnectionBase::Instance().SetPath("second");
    EXPECT_EQ(DataBaseConnectionBase::Instance().Path(), "second");
}

}  // namespace
