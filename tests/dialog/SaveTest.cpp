#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>

#include "DialogFixture.h"
#include "dialog/SaveFileChooser.h"
#include "graph/GraphCtrl.h"
#include "table/TablePg.h"

namespace {

// Gives the dialog a fixed answer instead of showing the save dialog; counts the questions.
class FixedChooser final : public ISaveFileChooser {
public:
    explicit FixedChooser(QString path, int* asked) : m_path(std::move(path)), m_asked(asked) {}
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

class Save : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(m_folder.isValid());
        d = &Open();
    }
    void SaveAs(const QString& path) {
        d->SetSaveFileChooser(std::make_unique<FixedChooser>(path, &m_asked));
        d->OnSave();
    }
    QString Message() {
        auto* box = d->findChild<QMessageBox*>();
        if (box == nullptr) return {};
        const QString text = box->text();
        box->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return text;
    }
    // Two channels with two and one peaks, noise on the second.
    void Build() {
        ASSERT_TRUE(d->OnAddChannel());
        GenPeak4 named = MakeNewPeak(6, 50);
        named.name = "Бензол";
        AddPeaks(*d, 0, {MakeNewPeak(2, 30), named});
        AddPeaks(*d, 1, {MakeNewPeak(4, 20)});
        ASSERT_TRUE(d->Apply([](CGeneratorModel& m) { return m.SetNoise(1, 0.2); }));
    }
    const Passport& Stamp() { return d->Model().Document().m_passport; }

    QTemporaryDir m_folder;
    CQuelmarDlg* d = nullptr;
    int m_asked = 0;
};

TEST_F(Save, ARoundTripGivesBackSamplesPeaksAndPassport) {
    Build();
    const QString path = m_folder.filePath("run.xstg");
    SaveAs(path);
    EXPECT_EQ(Message(), QString());  // a good save takes no box: the status line says so
    EXPECT_EQ(d->StatusText(), QString::fromUtf8("Сохранено: ") + path);

    CTarvikFile4 loaded;
    ASSERT_EQ(loaded.LoadFromFile(QFile::encodeName(path).toStdString()), 0);
    ASSERT_EQ(loaded.m_channels.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded.m_channels[i].signal.samples, SamplesOf(*d, static_cast<int>(i)));
        const auto& peaks = PeaksOf(*d, static_cast<int>(i));
        ASSERT_EQ(loaded.m_channels[i].table.size(), peaks.size());
        for (std::size_t k = 0; k < peaks.size(); ++k) {
            const Peak4& p = loaded.m_channels[i].table[k];
            EXPECT_EQ(p.name, peaks[k].name);
            EXPECT_EQ(p.front, peaks[k].front);
            EXPECT_EQ(p.back, peaks[k].back);
            EXPECT_EQ(p.area, peaks[k].area);
            EXPECT_EQ(p.height, peaks[k].height);
        }
    }
    EXPECT_EQ(loaded.m_passport.assayid, Stamp().assayid);
    EXPECT_EQ(loaded.m_passport.assayid.size(), 36u);
    EXPECT_EQ(loaded.m_passport.andate, Stamp().andate);
    EXPECT_GT(loaded.m_passport.andate, 1'700'000'000);
}

TEST_F(Save, TwoSavesGetTwoAssayIds) {
    SaveAs(m_folder.filePath("a.xstg"));
    const std::string first = Stamp().assayid;
    SaveAs(m_folder.filePath("b.xstg"));
    EXPECT_NE(Stamp().assayid, first);
}

TEST_F(Save, PeaksReachingTheEndOrOutsideTheRunAreLeftOutAndReportedWithBothReasons) {
    Build();
    AddPeaks(*d, 1, {MakeNewPeak(9.98, 10), MakeNewPeak(12, 10)});
    SaveAs(m_folder.filePath("run.xstg"));
    EXPECT_EQ(d->Model().Document().m_channels[1].table.size(), 1u);
    EXPECT_EQ(PeaksOf(*d, 1).size(), 3u);  // still on the page
    const QString message = d->StatusText();
    EXPECT_TRUE(message.contains("2 (каналы: 2)")) << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8("время выхода лежит вне анализа")));
    EXPECT_TRUE(message.contains(QString::fromUtf8("на конце анализа или за ним")));
    EXPECT_TRUE(QFile::exists(m_folder.filePath("run.xstg")));
}

TEST_F(Save, AFailedSaveNamesTheFileAndLeavesNothing) {
    for (const QString& path :
         {m_folder.filePath("missing/run.xstg"), QStringLiteral("/proc/quelmar-test.xstg")}) {
        SaveAs(path);
        const QString message = Message();
        EXPECT_TRUE(message.contains(path)) << message.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST_F(Save, CancelWritesNothingButRefreshesTheStoredTables) {
    Build();
    SaveAs(QString());
    EXPECT_EQ(m_asked, 1);
    EXPECT_EQ(d->Model().Document().m_channels[0].table.size(), 2u);
    EXPECT_EQ(Stamp().assayid, Passport{}.assayid);
    EXPECT_TRUE(QDir(m_folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

}  // namespace
