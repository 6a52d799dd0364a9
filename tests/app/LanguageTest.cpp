#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QProcess>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <map>
#include <set>

#include "dialog/QuelmarDlg.h"
#include "dialog/RefusalText.h"
#include "dialog/TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Language.h"
#include "table/TablePg.h"

namespace {

bool HasCyrillic(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) return true;
    return false;
}

void RemoveTranslations() {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

// Every text the window shows without being asked: caption, labels, the group, the buttons'
// tips, the table's headers, the tab, the axis captions, and the words of every refusal.
QStringList ShownTexts(CQuelmarDlg& d) {
    QStringList texts{d.windowTitle()};
    for (const QLabel* label : d.findChildren<QLabel*>()) texts << label->text();
    for (const QGroupBox* group : d.findChildren<QGroupBox*>()) texts << group->title();
    for (const QWidget* widget : d.findChildren<QWidget*>()) texts << widget->toolTip();
    for (const QAction* action : d.findChildren<QAction*>()) texts << action->text();
    const QHeaderView* header = d.Page(0)->Grid()->horizontalHeader();
    for (int i = 0; i < header->count(); ++i)
        texts << header->model()->headerData(i, Qt::Horizontal).toString();
    texts << d.Tabs()->ItemText(0);
    texts << QString::fromStdString(d.Graph()->m_x_caption)
          << QString::fromStdString(d.Graph()->m_y_caption);
    for (int code = 1; code <= static_cast<int>(RefusalCode::NothingToRedo); ++code)
        texts << RefusalText({static_cast<RefusalCode>(code), 1.0, 0});
    texts.removeAll(QString());
    return texts;
}

class Language : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_profile.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_profile.path());
    }
    void TearDown() override { RemoveTranslations(); }
    QTemporaryDir m_profile;
};

TEST_F(Language, TheWindowSpeaksEnglishOrRussianAndDocumentsStayAsTheyAre) {
    struct Case {
        const char* language;
        const char* caption;
        const char* header;
    };
    for (const Case& c : {Case{"en", "Untitled — Chromatogram generator", "Retention time"},
                          Case{"ru", "Без имени — Генератор хроматограммы", "Время выхода"}}) {
        SCOPED_TRACE(c.language);
        RemoveTranslations();
        ASSERT_TRUE(InstallTranslations(*qApp, QString::fromLatin1(c.language)));
        CQuelmarDlg d;
        d.show();
        const QStringList texts = ShownTexts(d);
        EXPECT_TRUE(d.windowTitle().startsWith(QString::fromUtf8(c.caption)));
        EXPECT_TRUE(texts.contains(QString::fromUtf8(c.header)));
        if (std::string(c.language) == "en") {
            for (const QString& text : texts) EXPECT_FALSE(HasCyrillic(text)) << text.toStdString();
        }
        // Every label fits its place in either language.
        for (const QLabel* label : d.findChildren<QLabel*>())
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
        // What a document stores does not follow the language.
        ASSERT_TRUE(d.Apply([](CGeneratorModel& m) { return m.AddPeak(0, MakeNewPeak(5, 10)); }));
        EXPECT_EQ(d.Model().Peaks(0)[0].name, "Новое вещество");
    }
}

TEST(ChooseLanguage, RussianForARussianUserEnglishOtherwiseAndLangWins) {
    EXPECT_EQ(ChooseLanguage({}, QLocale(QLocale::Russian, QLocale::Russia)), "ru");
    EXPECT_EQ(ChooseLanguage({}, QLocale(QLocale::Russian, QLocale::Ukraine)), "ru");
    EXPECT_EQ(ChooseLanguage({}, QLocale(QLocale::English, QLocale::UnitedStates)), "en");
    EXPECT_EQ(ChooseLanguage({}, QLocale(QLocale::German)), "en");
    EXPECT_EQ(ChooseLanguage("en", QLocale(QLocale::Russian)), "en");
    EXPECT_EQ(ChooseLanguage("ru", QLocale(QLocale::English)), "ru");
}

// Source text -> translation of the finished, current messages of a .ts file.
std::map<QString, QString> Translations(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QXmlStreamReader xml(&file);
    std::map<QString, QString> found;
    QString source;
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            const QString text = xml.readElementText();
            if (type.isEmpty() && !text.isEmpty()) found[source] = text;
        }
    }
    return found;
}

TEST(Translations, EveryTextOfTheStringTableHasAFinishedTranslationInEachLanguage) {
    const QString root = QStringLiteral(QUELMAR_SOURCE_DIR);
    QTemporaryDir folder;
    const QString fresh = folder.filePath("fresh.ts");
    // The texts the table holds now, as lupdate finds them.
    const int status =
        QProcess::execute(QStringLiteral(QUELMAR_LUPDATE),
                          {"-silent", "-locations", "none", root + "/res/Strings.h", "-ts", fresh});
    ASSERT_EQ(status, 0);
    std::set<QString> sources;
    {
        QFile file(fresh);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        while (!xml.atEnd())
            if (xml.readNextStartElement() && xml.name() == QLatin1String("source"))
                sources.insert(xml.readElementText());
    }
    ASSERT_GT(sources.size(), 50u);
    for (const char* language : {"en", "ru"}) {
        const auto done = Translations(root + "/res/translations/quelmar_" + language + ".ts");
        for (const QString& source : sources)
            EXPECT_TRUE(done.count(source)) << language << ": " << source.toStdString();
    }
}

}  // namespace
