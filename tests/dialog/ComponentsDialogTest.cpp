#include <QCheckBox>
#include <QTableWidget>

#include "DialogFixture.h"
#include "dialog/ComponentsDlg.h"
#include "res/Strings.h"

namespace {

// The form of the first channel of a window with two peaks on it.
std::unique_ptr<CComponentsDlg> FormOfAChannelWithPeaks(CQuelmarDlg& d) {
    AddPeaks(d, 0, {MakeNewPeak(2.0, 30.0), MakeNewPeak(6.0, 20.0)});
    return d.MakeComponentsDialog();
}

void SetStep(CComponentsDlg& form, int row, const char* time, const char* height,
             const char* width) {
    const char* texts[] = {time, height, width};
    for (int column = 0; column < 3; ++column)
        form.Steps()->item(row, column)->setText(QString::fromUtf8(texts[column]));
}

TEST_F(DialogTest, TheFormChangesTheChannelAsOneStepThatUndoGivesBackBitForBit) {
    CQuelmarDlg& d = Open();
    const std::unique_ptr<CComponentsDlg> form = FormOfAChannelWithPeaks(d);
    ASSERT_NE(form, nullptr);
    const std::vector<float> before = SamplesOf(d, 0);
    ChannelComponents wanted = d.Model().Working(0).components;

    // A step, a sine, pink noise typed with a decimal comma, and spikes.
    for (QPushButton* button : form->findChildren<QPushButton*>())
        if (button->text() == Strings::Tr(Strings::kComponentsAddStep)) button->click();
    ASSERT_EQ(form->Steps()->rowCount(), 1);
    SetStep(*form, 0, "4", "2", "0,5");
    wanted.steps.push_back({4.0, 2.0, 0.5});
    form->Switch("sine")->setChecked(true);
    form->Field("sine.amplitude")->setText("0.1");
    form->Field("sine.period")->setText("2");
    form->Field("sine.phase")->setText("0.3");
    wanted.sine = BaselineSine{0.1, 2.0, 0.3};
    form->Field("pink")->setText("0,05");
    wanted.pink = 0.05;
    form->Switch("spikes")->setChecked(true);
    form->Field("spikes.rate")->setText("0.5");
    form->Field("spikes.height.min")->setText("1");
    form->Field("spikes.height.max")->setText("3");
    wanted.spikes = SpikeTrain{0.5, 1.0, 3.0};
    form->accept();

    EXPECT_EQ(form->result(), QDialog::Accepted) << form->Reason().toStdString();
    EXPECT_TRUE(d.Model().Working(0).components == wanted);
    const std::vector<float> after = SamplesOf(d, 0);
    EXPECT_NE(after, before);
    EXPECT_TRUE(d.Model().Modified());

    // One undo takes the whole form back, with the samples as they were; redo gives it again.
    d.OnUndo();
    EXPECT_TRUE(d.Model().Working(0).components.IsEmpty());
    EXPECT_EQ(SamplesOf(d, 0), before);
    d.OnRedo();
    EXPECT_TRUE(d.Model().Working(0).components == wanted);
    EXPECT_EQ(SamplesOf(d, 0), after);

    // The form opens again with what is in effect; OK on it unchanged is no new step.
    const std::unique_ptr<CComponentsDlg> again = d.MakeComponentsDialog();
    EXPECT_EQ(again->Field("pink")->text(), "0.05");
    EXPECT_EQ(again->Steps()->item(0, 2)->text(), "0.5");
    EXPECT_TRUE(again->Switch("sine")->isChecked());
    EXPECT_FALSE(again->Switch("settle")->isChecked());
    again->accept();
    d.OnUndo();
    EXPECT_TRUE(d.Model().Working(0).components.IsEmpty());
}

TEST_F(DialogTest, ARefusedFormStaysOpenWithTheReasonAtTheFieldAtFaultAndChangesNothing) {
    struct Case {
        const char* field;  // a field's key, or "step width" for the steps' table
        const char* text;
        const char* reason;  // part of the reason shown under the form
    };
    const QString refused = Strings::Tr(Strings::kRefusedComponents);
    const Case cases[] = {
        {"sine.period", "0", "(sine.period)"},
        {"pink", "abc", "введите число"},
        {"pink", "-1", "(pink)"},
        {"wander.sigma", "inf", "введите число"},
        {"spikes.rate", "1e9", "(spikes.rate)"},
        {"spikes.height.min", "5", "(spikes.height)"},
        {"step width", "-1", "(steps[0].width)"},
        {"step width", "", "введите число"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.text);
        CQuelmarDlg& d = Open();
        const std::unique_ptr<CComponentsDlg> form = FormOfAChannelWithPeaks(d);
        const std::vector<float> before = SamplesOf(d, 0);
        const std::string field = c.field;
        QWidget* at_fault = nullptr;
        if (field == "step width") {
            for (QPushButton* button : form->findChildren<QPushButton*>())
                if (button->text() == Strings::Tr(Strings::kComponentsAddStep)) button->click();
            SetStep(*form, 0, "4", "2", c.text);
            at_fault = form->Steps();
        } else {
            const std::string part = field.substr(0, field.find('.'));
            if (QCheckBox* on = form->Switch(part)) on->setChecked(true);
            form->Field(field)->setText(QString::fromUtf8(c.text));
            at_fault = form->Field(field);
        }
        form->show();
        form->accept();

        EXPECT_NE(form->result(), QDialog::Accepted);
        EXPECT_TRUE(form->isVisible());
        EXPECT_TRUE(form->Reason().contains(QString::fromUtf8(c.reason)))
            << form->Reason().toStdString();
        if (QString::fromUtf8(c.reason).startsWith('(')) {
            EXPECT_TRUE(form->Reason().startsWith(refused));
        }
        EXPECT_EQ(form->focusWidget(), at_fault);
        if (field == "step width") {
            EXPECT_EQ(form->Steps()->currentColumn(), 2);
        }
        EXPECT_TRUE(d.Model().Working(0).components.IsEmpty());
        EXPECT_EQ(SamplesOf(d, 0), before);
        form->hide();
    }
}

}  // namespace
