#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

inline const std::vector<GenPeak4>& PeaksOf(const CQuelmarDlg& d, int channel) {
    return d.Model().Peaks(channel);
}

inline const std::vector<float>& SamplesOf(const CQuelmarDlg& d, int channel) {
    return d.Model().ChannelSignal(channel).samples;
}

// Places peaks on a channel as the graph would, one step each.
inline void AddPeaks(CQuelmarDlg& d, int channel, const std::vector<GenPeak4>& peaks) {
    for (const GenPeak4& peak : peaks)
        ASSERT_TRUE(d.Apply([&](CGeneratorModel& m) { return m.AddPeak(channel, peak); }));
}

// Types the text key by key: every keystroke that makes an acceptable number applies it.
inline void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Puts the whole text in at once, then presses Enter, which shows the value in effect.
inline void Enter(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    edit->insert(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Answers the next question box the window asks, once it is shown: clicks `button`, or
// presses Escape for QMessageBox::NoButton. Counts the questions in `asked` when given.
inline void AnswerNextQuestion(QMessageBox::StandardButton button, int* asked = nullptr) {
    QTimer::singleShot(0, [button, asked] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        if (asked != nullptr) ++*asked;
        if (button == QMessageBox::NoButton)
            QTest::keyClick(question, Qt::Key_Escape);
        else
            question->button(button)->click();
    });
}
