#include "QuelmarDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include "DialogProfile.h"
#include "SaveFileChooser.h"
#include "TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Icons.h"
#include "res/Strings.h"
#include "res/Version.h"
#include "synth/NumberText.h"
#include "synth/SampleCount.h"
#include "table/TablePg.h"

namespace {

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct ButtonInfo {
    ControlId id;
    IconId icon;
    const char* tip;
};

// In the order the icons are set; the tips are added in the tab order of the buttons' commands.
const ButtonInfo kButtons[] = {
    {ControlId::MarkPeaks, IconId::MarkPeaks, Strings::kTipMarkPeaks},
    {ControlId::DeletePeak, IconId::DeletePeak, Strings::kTipDeletePeak},
    {ControlId::DeleteAllPeaks, IconId::DeleteAllPeaks, Strings::kTipDeleteAllPeaks},
    {ControlId::DeleteChannel, IconId::DeleteChannel, Strings::kTipDeleteChannel},
    {ControlId::AddChannel, IconId::AddChannel, Strings::kTipAddChannel},
    {ControlId::Save, IconId::Save, Strings::kTipSave},
};

constexpr ControlId kEdits[] = {ControlId::AnalysisTime, ControlId::SampleRate, ControlId::Noise,
                                ControlId::Drift};

bool IsEdit(ControlId id) {
    return std::find(std::begin(kEdits), std::end(kEdits), id) != std::end(kEdits);
}

const char* LabelText(ControlId id) {
    switch (id) {
        case ControlId::ParametersGroup:
            return Strings::kParametersGroup;
        case ControlId::AnalysisTimeLabel:
            return Strings::kAnalysisTimeLabel;
        case ControlId::SampleRateLabel:
            return Strings::kSampleRateLabel;
        case ControlId::NoiseLabel:
            return Strings::kNoiseLabel;
        case ControlId::DriftLabel:
            return Strings::kDriftLabel;
        default:
            return "";
    }
}

// Values of analysis time and rate that the parameter handlers accept: a positive time, a rate
// of at least one sample per minute, and a channel the synthesis may hold.
bool AcceptableTimeAndRate(double minutes, double per_minute) {
    return minutes > 0.0 && per_minute >= 1.0 && ComputeSampleCount(minutes, per_minute).ok();
}

bool OnSomeScreen(const QRect& frame) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame)) return true;
    return false;
}

QFont DialogFont() {
    QFont font(QString::fromLatin1(kDialogFontFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kDialogFontPixels);
    return font;
}

}  // namespace

CQuelmarDlg::CQuelmarDlg(QWidget* parent) : QDialog(parent) {
    m_hIcon = LoadIcon(IconId::App);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // A grip in the corner would be drawn over the parameter group.
    setSizeGripEnabled(false);
    setFont(DialogFont());
    m_templatePixels = UnitsToPixels(kTemplateSize, BaseUnits{});
    CreateControls();
    resize(m_templatePixels);
    setMinimumSize(m_templatePixels);
    LayOutControls();
    ConnectCommands();
    // Every key of the window passes through FilterKey before the control with the focus.
    qApp->installEventFilter(this);
    OnInitDialog();
}

void CQuelmarDlg::ConnectCommands() {
    auto on_click = [this](ControlId id, void (CQuelmarDlg::*command)()) {
        connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this, command);
    };
    on_click(ControlId::MarkPeaks, &CQuelmarDlg::OnMarkPeaks);
    on_click(ControlId::DeletePeak, &CQuelmarDlg::OnDeletePeak);
    on_click(ControlId::DeleteAllPeaks, &CQuelmarDlg::OnDeleteAllPeaks);
    on_click(ControlId::DeleteChannel, &CQuelmarDlg::OnDeleteChannel);
    on_click(ControlId::Save, &CQuelmarDlg::OnSave);
    connect(static_cast<QPushButton*>(Control(ControlId::AddChannel)), &QPushButton::clicked, this,
            [this] { OnAddChannel(); });
    connect(m_tab, &CTabCtrl::SelectionChanged, this, &CQuelmarDlg::OnTabSelChange);
    // Clicks on the graph and the tabs take the focus, so that an open cell editor is committed
    // before they act, as it is before a button acts.
    m_graph->setFocusPolicy(Qt::ClickFocus);
    m_tab->Bar()->setFocusPolicy(Qt::StrongFocus);
}

void CQuelmarDlg::OnEditChanged(ControlId id) {
    if (!ReadEdit(id)) return;
    switch (id) {
        case ControlId::AnalysisTime:
            OnAnalysisTimeChanged();
            break;
        case ControlId::SampleRate:
            OnSampleRateChanged();
            break;
        case ControlId::Noise:
            OnNoiseChanged();
            break;
        case ControlId::Drift:
            OnDriftChanged();
            break;
        default:
            break;
    }
}

CQuelmarDlg::~CQuelmarDlg() {
    qApp->removeEventFilter(this);
    // An open cell editor commits while its owner is still whole, not when Qt hides the window
    // after this part of the object is gone.
    for (CTablePg* page : m_pages) page->CommitEdit();
}

QString CQuelmarDlg::GetVersionString() {
    return QString::fromLatin1(QuelmarVersion::kText);
}

void CQuelmarDlg::CreateControls() {
    // In template order, so that later controls lie above the group box and the tab order is
    // the template's.
    QWidget* previous = nullptr;
    for (const TemplateControl& c : MainTemplate()) {
        QWidget* widget = nullptr;
        if (c.id == ControlId::Graph) {
            widget = m_graph = new CGraphCtrl(this);
        } else if (c.id == ControlId::Tabs) {
            widget = m_tab = new CTabCtrl(this);
        } else if (IsEdit(c.id)) {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this, [this, id = c.id] { OnEditChanged(id); });
            widget = edit;
        } else if (c.id == ControlId::ParametersGroup) {
            widget = new QGroupBox(Text(LabelText(c.id)), this);
        } else if (static_cast<int>(c.id) < 0) {
            widget = new QLabel(Text(LabelText(c.id)), this);
        } else {
            auto* button = new QPushButton(this);
            // Enter never clicks a button: there is no default one.
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
        }
        m_controls[c.id] = widget;
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous != nullptr) setTabOrder(previous, widget);
            previous = widget;
        }
    }
}

QWidget* CQuelmarDlg::Control(ControlId id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* CQuelmarDlg::Edit(ControlId id) const {
    return IsEdit(id) ? static_cast<QLineEdit*>(Control(id)) : nullptr;
}

void CQuelmarDlg::OnInitDialog() {
    m_initialRect = QRect(pos(), size());
    RestoreWindowState();
    SetIcons();
    SetToolTips();
    setWindowIcon(m_hIcon);
    const QString version = GetVersionString();
    setWindowTitle(Text(Strings::kDialogCaption) +
                   (version.isEmpty() ? QString() : QStringLiteral("  ") + version));
    OnAddChannel();
    InstallGraphCallbacks();
    ConfigureGraph();
}

void CQuelmarDlg::RestoreWindowState() {
    DialogProfile profile;
    // A rectangle from a monitor that is gone, or an empty one, would put the window where
    // nobody can see it: then the default placement stays.
    if (const auto frame = profile.ReadWindowRect();
        frame && frame->width() > 0 && frame->height() > 0 && OnSomeScreen(*frame))
        m_storedFrame = frame;

    // Only values the parameter handlers would accept: a refused one would size the first
    // channel at every start.
    const double time = profile.ReadAnalysisTime().value_or(m_analysisTime);
    const double rate = profile.ReadSampleRate().value_or(m_sampleRate);
    if (AcceptableTimeAndRate(time, rate)) {
        m_analysisTime = time;
        m_sampleRate = rate;
    } else if (AcceptableTimeAndRate(time, m_sampleRate)) {
        m_analysisTime = time;
    } else if (AcceptableTimeAndRate(m_analysisTime, rate)) {
        m_sampleRate = rate;
    }
    WriteEdits();
}

void CQuelmarDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The stored rectangle is the frame's; the client size follows from the frame's margins,
    // which are known only once the window manager has framed the window.
    if (m_storedFrame) QTimer::singleShot(0, this, &CQuelmarDlg::ApplyStoredFrame);
}

void CQuelmarDlg::ApplyStoredFrame() {
    if (!m_storedFrame) return;
    const QSize margins = frameGeometry().size() - geometry().size();
    // On X11 the window manager tells the frame's size a moment after the window is shown;
    // applying the rectangle before that would make the client as large as the whole frame
    // and the window would grow at every start. A frameless window stops asking after a while.
    constexpr int kFrameWaits = 40;
    constexpr int kFrameWaitMs = 25;
    if (margins.isNull() && m_frameWaits++ < kFrameWaits) {
        QTimer::singleShot(kFrameWaitMs, this, &CQuelmarDlg::ApplyStoredFrame);
        return;
    }
    const QRect frame = *m_storedFrame;
    m_storedFrame.reset();
    resize((frame.size() - margins).expandedTo(minimumSize()));
    move(frame.topLeft());
}

void CQuelmarDlg::SetIcons() {
    // Crisp at 16 px and at a device pixel ratio of 2: the icons are drawn from SVG.
    for (const ButtonInfo& b : kButtons) {
        auto* button = qobject_cast<QPushButton*>(Control(b.id));
        const QIcon icon = LoadIcon(b.icon);
        if (button == nullptr || icon.isNull()) continue;
        button->setIcon(icon);
        button->setIconSize(QSize(16, 16));
    }
}

void CQuelmarDlg::SetToolTips() {
    // Tips show also while the window is not the active one.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    for (const ButtonInfo& b : kButtons)
        if (QWidget* button = Control(b.id)) button->setToolTip(Text(b.tip));
}

void CQuelmarDlg::ConfigureGraph() {
    m_graph->m_x_caption = Strings::kTimeAxisCaption;
    m_graph->m_y_caption = Strings::kResponseAxisCaption;
    // The left button belongs to peak editing.
    m_graph->m_zoom_enabled = true;
    m_graph->m_zoom_button = CAutoView::ZoomButton::Right;
    m_graph->m_frame_flags = CAutoPanel::kGridX | CAutoPanel::kGridY | CAutoPanel::kTicksAround;
}

void CQuelmarDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutControls();
}

void CQuelmarDlg::LayOutControls() {
    const QSize delta = size() - m_templatePixels;
    for (const TemplateControl& c : MainTemplate())
        if (QWidget* widget = Control(c.id))
            widget->setGeometry(ResizedRect(UnitsToPixels(c.units, BaseUnits{}), c.rule, delta));
    PlacePages();
}

void CQuelmarDlg::WriteEdits() {
    for (ControlId id : kEdits) {
        // setText never reports textEdited, so no handler runs.
        Edit(id)->setText(QString::fromStdString(FormatShortest(*FieldOf(id))));
        m_invalidShown[id] = false;
    }
}

double* CQuelmarDlg::FieldOf(ControlId id) {
    switch (id) {
        case ControlId::AnalysisTime:
            return &m_analysisTime;
        case ControlId::SampleRate:
            return &m_sampleRate;
        case ControlId::Noise:
            return &m_noise;
        case ControlId::Drift:
            return &m_drift;
        default:
            return nullptr;
    }
}

bool CQuelmarDlg::ReadEdit(ControlId id) {
    QLineEdit* edit = Edit(id);
    const ParsedNumber parsed = ParseEditNumber(edit->text().toStdString());
    if (parsed.kind == NumberTextKind::Invalid) {
        // Once per wrong text, not at every further keystroke.
        if (!m_invalidShown[id]) ShowNotANumber(edit);
        m_invalidShown[id] = true;
        return false;
    }
    m_invalidShown[id] = false;
    if (parsed.kind == NumberTextKind::Partial) return false;
    *FieldOf(id) = parsed.value;
    return true;
}

void CQuelmarDlg::ShowNotANumber(QLineEdit* edit) {
    QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), Text(Strings::kEnterNumber),
                       edit);
}

void CQuelmarDlg::done(int result) {
    FinishPendingEdits();
    for (ControlId id : kEdits) ReadEdit(id);
    DialogProfile profile;
    profile.WriteWindowRect(frameGeometry());
    profile.WriteAnalysisTime(m_analysisTime);
    profile.WriteSampleRate(m_sampleRate);
    QDialog::done(result);
}

bool CQuelmarDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only this window's keys: the save dialog and message boxes keep their own Escape.
    if (widget == nullptr || widget->window() != this) return QDialog::eventFilter(watched, event);
    // A page and its cell editor filter their own keys first (an editor needs Escape).
    for (const CTablePg* page : m_pages)
        if (page->isAncestorOf(widget)) return QDialog::eventFilter(watched, event);
    return FilterKey(watched, static_cast<const QKeyEvent&>(*event));
}

bool CQuelmarDlg::FilterKey(QObject* receiver, const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers();
    if (key.key() == Qt::Key_Escape) {
        // Escape ends peak marking and never closes the window.
        m_graph->m_markingMode = false;
        m_graph->update();
        return true;
    }
    // Alt combinations are swallowed (no mnemonics, no system keys); AltGr, which some
    // systems report as Control with Alt, still types.
    if (mods.testFlag(Qt::AltModifier) && !mods.testFlag(Qt::ControlModifier)) return true;
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        // Enter in an edit applies its value and nothing more: the window stays open.
        for (ControlId id : kEdits)
            if (receiver == Edit(id)) {
                OnEditChanged(id);
                return true;
            }
    }
    return false;
}
