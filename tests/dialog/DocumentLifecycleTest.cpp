#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "DialogFixture.h"
#include "dialog/OpenFileChooser.h"
#include "dialog/SaveFileChooser.h"
#include "dialog/TabCtrl.h"
#include "graph/GraphCtrl.h"

namespace {

// Gives a fixed path instead of showing the save dialog, and counts the questions.
class CountingChooser final : public ISaveFileChooser {
public:
    CountingChooser(QString path, int* asked) : m_path(std::move(path)), m_asked(asked) {}
    QString ChoosePath(QWidget*) override {
        ++*m_asked;
        return m_path;
    }
    QString ChooseExportPath(QWidget* owner, const QString&, const QString&) override {
        return ChoosePath(owner);
    }

private:
    QString m_path;
    int* m_asked;
};

class Lifecycle : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        d = &Open();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    }
    void ChooseOnSave(const QString& name) {
        d->SetSaveFileChooser(std::make_unique<CountingChooser>(m_folder.filePath(name), &asked));
    }
    void Key(QWidget* where, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        QTest::keyClick(where, key, modifiers);
    }
    QString Title(const char* name) {
        return QString::fromUtf8(name) + QString::fromUtf8(" — Генератор хроматограммы  ") +
               CQuelmarDlg::GetVersionString();
    }

    QTemporaryDir m_folder;
    CQuelmarDlg* d = nullptr;
    int asked = 0;
};

TEST_F(Lifecycle, TheCaptionNamesTheFileAndMarksUnsavedChangesUntilUndoneBackToTheSave) {
    EXPECT_EQ(d->windowTitle(), Title("Без имени"));
    AddPeaks(*d, 0, {MakeNewPeak(3, 20)});
    EXPECT_EQ(d->windowTitle(), Title("Без имени*"));
    ChooseOnSave("run1.xstg");
    Key(d->Graph(), Qt::Key_S);
    EXPECT_EQ(d->windowTitle(), Title("run1.xstg"));
    Type(d->Edit(ControlId::Noise), "0.5");
    EXPECT_EQ(d->windowTitle(), Title("run1.xstg*"));
    Key(d->Graph(), Qt::Key_Z);
    EXPECT_EQ(d->windowTitle(), Title("run1.xstg"));
    EXPECT_EQ(d->Edit(ControlId::Noise)->text(), "0");
}

TEST_F(Lifecycle, CtrlSAsksOnlyTheFirstTimeWhileTheButtonAndCtrlShiftSAskEveryTime) {
    ChooseOnSave("a.xstg");
    Key(d->Graph(), Qt::Key_S);
    Key(d->Graph(), Qt::Key_S);
    EXPECT_EQ(asked, 1);
    Key(d->Graph(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    d->OnSave();
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(d->DocumentPath(), m_folder.filePath("a.xstg"));
    EXPECT_TRUE(QFile::exists(m_folder.filePath("a.xstg")));
}

TEST_F(Lifecycle, UndoAndRedoKeysActOnTheWorkButInAnEditOnItsText) {
    AddPeaks(*d, 0, {MakeNewPeak(3, 20), MakeNewPeak(6, 30)});
    const std::vector<float> two_peaks = SamplesOf(*d, 0);
    Key(d->Graph(), Qt::Key_Z);
    EXPECT_EQ(PeaksOf(*d, 0).size(), 1u);
    for (const QKeyCombination redo :
         {QKeyCombination(Qt::ControlModifier, Qt::Key_Y),
          QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)}) {
        Key(d->Graph(), redo.key(), redo.keyboardModifiers());
        EXPECT_EQ(PeaksOf(*d, 0).size(), 2u);
        EXPECT_EQ(SamplesOf(*d, 0), two_peaks);
        if (redo.key() == Qt::Key_Y) Key(d->Graph(), Qt::Key_Z);
    }
    QLineEdit* noise = d->Edit(ControlId::Noise);
    noise->setFocus();
    noise->selectAll();
    QTest::keyClicks(noise, "12");
    Key(noise, Qt::Key_Z);
    EXPECT_EQ(PeaksOf(*d, 0).size(), 2u);
    EXPECT_NE(noise->text(), "12");
}

TEST_F(Lifecycle, ClosingWithUnsavedWorkAsksAndKeepsItOnCancelEscapeOrAFailedSave) {
    AddPeaks(*d, 0, {MakeNewPeak(3, 20)});
    int questions = 0;
    AnswerNextQuestion(QMessageBox::Cancel, &questions);
    d->reject();  // the close button
    EXPECT_TRUE(d->isVisible());
    AnswerNextQuestion(QMessageBox::NoButton, &questions);
    d->close();  // the window manager's request
    EXPECT_TRUE(d->isVisible());
    d->SetSaveFileChooser(
        std::make_unique<CountingChooser>(m_folder.filePath("missing/run.xstg"), &asked));
    AnswerNextQuestion(QMessageBox::Save, &questions);
    d->reject();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(PeaksOf(*d, 0).size(), 1u);
    EXPECT_EQ(questions, 3);

    AnswerNextQuestion(QMessageBox::Discard, &questions);
    d->reject();
    EXPECT_FALSE(d->isVisible());
}

TEST_F(Lifecycle, ANewChromatogramAsksAboutUnsavedWorkAndStartsWithOneFlatChannel) {
    ASSERT_TRUE(d->OnAddChannel());
    AddPeaks(*d, 1, {MakeNewPeak(3, 20)});
    AnswerNextQuestion(QMessageBox::Cancel);
    Key(d->Graph(), Qt::Key_N);
    EXPECT_EQ(d->Model().ChannelCount(), 2);
    AnswerNextQuestion(QMessageBox::Discard);
    Key(d->Graph(), Qt::Key_N);
    EXPECT_EQ(d->Model().ChannelCount(), 1);
    EXPECT_EQ(d->ChannelCount(), 1);
    EXPECT_TRUE(PeaksOf(*d, 0).empty());
    EXPECT_FALSE(d->Model().Modified());
    EXPECT_FALSE(d->Model().CanUndo());
    EXPECT_EQ(d->windowTitle(), Title("Без имени"));
}

TEST_F(Lifecycle, ADocumentOpensWithItsSamplesAsStoredAndNothingToUndo) {
    AddPeaks(*d, 0, {MakeNewPeak(3, 20), MakeNewPeak(6, 30)});
    Type(d->Edit(ControlId::Noise), "0.5");
    ASSERT_TRUE(d->OnAddChannel());
    ChooseOnSave("run.xstg");
    Key(d->Graph(), Qt::Key_S);
    const std::vector<float> saved = SamplesOf(*d, 0);
    const std::vector<GenPeak4> peaks = PeaksOf(*d, 0);

    CQuelmarDlg& other = Open();
    ASSERT_TRUE(other.OpenFile(m_folder.filePath("run.xstg")));
    EXPECT_EQ(SamplesOf(other, 0), saved);
    ASSERT_EQ(PeaksOf(other, 0).size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(PeaksOf(other, 0)[i].front, peaks[i].front);
        EXPECT_EQ(PeaksOf(other, 0)[i].back, peaks[i].back);
        EXPECT_EQ(PeaksOf(other, 0)[i].area, peaks[i].area);
    }
    EXPECT_FALSE(other.Model().CanUndo());
    EXPECT_FALSE(other.Model().Modified());
    EXPECT_EQ(other.windowTitle(), Title("run.xstg"));
    // It opens at its first channel, with that channel's settings in the edits.
    EXPECT_EQ(other.CurrentChannel(), 0);
    EXPECT_EQ(other.Tabs()->CurSel(), 0);
    EXPECT_EQ(other.Edit(ControlId::Noise)->text(), "0.5");
    EXPECT_EQ(other.Edit(ControlId::AnalysisTime)->text(), "10");
    EXPECT_EQ(other.Edit(ControlId::SampleRate)->text(), "100");
}

TEST_F(Lifecycle, AFileThatCannotBeOpenedLeavesTheWorkAndSaysWhichAndWhy) {
    AddPeaks(*d, 0, {MakeNewPeak(3, 20)});
    QFile junk(m_folder.filePath("junk.xstg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a chromatogram at all");
    junk.close();
    struct Case {
        QString path;
        const char* reason;
    };
    for (const Case& c : {Case{m_folder.filePath("missing.xstg"), "нельзя прочитать"},
                          Case{junk.fileName(), "не документ хроматограммы"}}) {
        EXPECT_FALSE(d->OpenFile(c.path));
        EXPECT_TRUE(d->StatusText().contains(c.path)) << d->StatusText().toStdString();
        EXPECT_TRUE(d->StatusText().contains(QString::fromUtf8(c.reason)))
            << d->StatusText().toStdString();
        ASSERT_EQ(PeaksOf(*d, 0).size(), 1u);
        EXPECT_TRUE(d->Model().Modified());
    }
}

}  // namespace
