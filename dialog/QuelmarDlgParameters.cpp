// The parameter edits and the peak buttons.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QToolTip>

#include "ComponentsDlg.h"
#include "QuelmarDlg.h"
#include "RefusalText.h"
#include "TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Strings.h"
#include "synth/NumberText.h"
#include "table/TablePg.h"

namespace {

// How long the reason stays at an edit that holds a refused value, in milliseconds.
constexpr int kReasonShownMs = 6000;

QString Shortest(double value) {
    return QString::fromStdString(FormatShortest(value));
}

}  // namespace

double CQuelmarDlg::ValueInEffect(ControlId id) const {
    switch (id) {
        case ControlId::AnalysisTime:
            return m_model->AnalysisTime();
        case ControlId::SampleRate:
            return m_model->SampleRate();
        case ControlId::Noise:
            return m_model->HasChannel(m_currentChannel) ? m_model->Working(m_currentChannel).noise
                                                         : 0.0;
        case ControlId::Drift:
            return m_model->HasChannel(m_currentChannel) ? m_model->Working(m_currentChannel).drift
                                                         : 0.0;
        default:
            return 0.0;
    }
}

ModelChange CQuelmarDlg::ApplyParameter(ControlId id, double value) {
    switch (id) {
        case ControlId::AnalysisTime:
            return m_model->SetAnalysisTime(value);
        case ControlId::SampleRate:
            return m_model->SetSampleRate(value);
        case ControlId::Noise:
            return m_model->SetNoise(m_currentChannel, value);
        case ControlId::Drift:
            return m_model->SetDrift(m_currentChannel, value);
        default:
            return {};
    }
}

void CQuelmarDlg::WriteEdits(std::optional<ControlId> typed_in) {
    for (ControlId id :
         {ControlId::AnalysisTime, ControlId::SampleRate, ControlId::Noise, ControlId::Drift}) {
        if (typed_in == id) continue;
        // setText never reports textEdited, so no handler runs.
        Edit(id)->setText(Shortest(ValueInEffect(id)));
        ShowEditState(id, {});
    }
}

void CQuelmarDlg::OnEditTextEdited(ControlId id) {
    // Each keystroke that makes an acceptable number applies it at once; every channel follows.
    const ParsedNumber parsed = ParseEditNumber(Edit(id)->text().toStdString());
    QString refusal;
    if (parsed.kind != NumberTextKind::Number) {
        refusal = Strings::Tr(Strings::kEnterNumber);
    } else if (parsed.value != ValueInEffect(id)) {
        FinishPendingEdits();
        const ModelChange change = ApplyParameter(id, parsed.value);
        if (change.Applied())
            Show(change, id);
        else
            refusal = RefusalText(change.refusal);
    }
    ShowEditState(id, refusal);
}

void CQuelmarDlg::OnEditFinished(ControlId id) {
    // What the edit says from now on is what is in effect.
    m_model->BreakMerge();
    QLineEdit* edit = Edit(id);
    const ParsedNumber parsed = ParseEditNumber(edit->text().toStdString());
    if (parsed.kind != NumberTextKind::Number || parsed.value != ValueInEffect(id))
        edit->setText(Shortest(ValueInEffect(id)));
    ShowEditState(id, {});
}

void CQuelmarDlg::ShowEditState(ControlId id, const QString& refusal) {
    QLineEdit* edit = Edit(id);
    const bool valid = refusal.isEmpty();
    if (edit->property("inEffect").isValid() && edit->property("inEffect").toBool() == valid &&
        edit->toolTip() == (valid ? QString() : refusal))
        return;
    edit->setProperty("inEffect", valid);
    // Tinted red while the text is not the value in effect. The palette, not a style sheet,
    // which would give the edit another font.
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, valid ? QApplication::palette(edit).color(QPalette::Base)
                                           : QColor(255, 200, 200));
    edit->setPalette(palette);
    const QString tip =
        valid ? QString()
              : Strings::Tr(Strings::kNotInEffect).arg(refusal, Shortest(ValueInEffect(id)));
    edit->setToolTip(tip);
    if (valid) {
        if (QToolTip::isVisible() && QToolTip::text() != tip) QToolTip::hideText();
        return;
    }
    QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), tip, edit, QRect(),
                       kReasonShownMs);
}

void CQuelmarDlg::OnMarkPeaks() {
    m_graph->SetMarkingMode(!m_graph->MarkingMode());
    static_cast<QPushButton*>(Control(ControlId::MarkPeaks))->setChecked(m_graph->MarkingMode());
}

void CQuelmarDlg::OnDeletePeak() {
    if (!m_model->HasChannel(m_currentChannel)) return;
    // Read before the commit: committing a cell regenerates the channel and clears the
    // selection, but the rows it selected are the ones the user means.
    const std::vector<int> rows = Page(m_currentChannel)->SelectedRows();
    FinishPendingEdits();
    Show(m_model->DeletePeaks(m_currentChannel, rows));
}

void CQuelmarDlg::OnDeleteAllPeaks() {
    if (!m_model->HasChannel(m_currentChannel)) return;
    FinishPendingEdits();
    if (Show(m_model->DeleteAllPeaks(m_currentChannel))) FitViewToCurve();
}

std::unique_ptr<CComponentsDlg> CQuelmarDlg::MakeComponentsDialog() {
    if (!m_model->HasChannel(m_currentChannel)) return nullptr;
    FinishPendingEdits();
    const int channel = m_currentChannel;
    const ChannelComponents& now = m_model->Working(channel).components;
    auto apply = [this, channel](const ChannelComponents& wanted, std::string& key) -> QString {
        // OK on an unchanged form is no change to undo.
        if (wanted == m_model->Working(channel).components) return {};
        const ModelChange change = m_model->SetComponents(channel, wanted);
        if (Show(change)) return {};
        key = ComponentFaultKey(wanted, m_model->AnalysisTime(), m_model->SampleRate())
                  .value_or(std::string());
        return RefusalText(change.refusal);
    };
    return std::make_unique<CComponentsDlg>(m_tab->ItemText(channel), now, apply, this);
}

void CQuelmarDlg::OnEditComponents() {
    if (const std::unique_ptr<CComponentsDlg> dialog = MakeComponentsDialog()) dialog->exec();
}

void CQuelmarDlg::FinishPendingEdits() {
    m_graph->EndDrag();
    for (CTablePg* page : m_pages) page->CommitEdit();
}
