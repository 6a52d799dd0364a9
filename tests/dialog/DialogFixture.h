#pragma once

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>
#include <memory>

#include "dialog/QuelmarDlg.h"

// A per-user profile in a temporary folder, never the real one, and a dialog made on demand.
class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_profile.isValid());
        qputenv("XDG_CONFIG_HOME", m_profile.path().toLocal8Bit());
        // Qt reads the variable once per process; this points it at the folder either way.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_profile.path());
    }

    CQuelmarDlg& Open() {
        m_dialog = std::make_unique<CQuelmarDlg>();
        m_dialog->show();
        return *m_dialog;
    }

    static void Store(const char* name, const QVariant& value) {
        QSettings settings;
        settings.setValue(QStringLiteral("VendrixDlg/") + name, value);
    }
    static QVariant Stored(const char* name) {
        return QSettings().value(QStringLiteral("VendrixDlg/") + name);
    }

    QTemporaryDir m_profile;
    std::unique_ptr<CQuelmarDlg> m_dialog;
};
