#include "QuelmarDlg.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTabBar>
#include <QTimer>

#include "DialogProfile.h"
#include "GraphSetup.h"
#include "OpenFileChooser.h"
#include "SaveFileChooser.h"
#include "TabCtrl.h"
#include "graph/GraphCtrl.h"
#include "res/Icons.h"
#include "res/Strings.h"
#include "res/Version.h"
#include "table/TablePg.h"

namespace {

// A text of the string table in the user's language.
QString Text(const char* source) {
    return Strings::Tr(source);
}

struct ButtonInfo {
    ControlId id;
    IconId icon;
    const char* tip;
};

// Top to bottom, as they stand in the window: the order of their icons, tips and tab stops.
const ButtonInfo kButtons[] = {
    {ControlId::MarkPeaks, IconId::MarkPeaks, Strings::kTipMarkPeaks},
    {ControlId::DeletePeak, IconId::DeletePeak, Strings::kTipDeletePeak},
    {ControlId::DeleteAllPeaks, IconId::DeleteAllPeaks, Strings::kTipDeleteAllPeaks},
    {ControlId::AddChannel, IconId::AddChannel, Strings::kTipAddChannel},
    {ControlId::DeleteChannel, IconId::DeleteChannel, Strings::kTipDeleteChannel},
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

CQuelmarDlg::CQuelmarDlg(QWidget* parent)
    : QDialog(parent), m_model(std::make_unique<CGeneratorModel>()) {
    m_hIcon = LoadIcon(IconId::App);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    // A grip in the corner would be drawn over the parameter group.
    setSizeGripEnabled(false);
    setFont(DialogFont());
    m_templatePixels = UnitsToPixels(kTemplateSize, BaseUnits{});
    CreateControls();
    CreateMenus();
    resize(TemplateClientSize());
    setMinimumSize(std::min(kMinimumWidthPixels, TemplateClientSize().width()),
                   TemplateClientSize().height());
    LayOutControls();
    // Every key of the window passes through FilterKey before the control with the focus.
    qApp->installEventFilter(this);
    OnInitDialog();
}

CQuelmarDlg::~CQuelmarDlg() {
    qApp->removeEventFilter(this);
    // An open cell editor ends while its owner is still whole, not when Qt hides the window
    // after this part of the object is gone; what it holds is dropped with the window.
    for (CTablePg* page : m_pages) page->CommitEdit();
    // QDialog hides the window after this part of the object is gone, and the focus leaving an
    // edit then must not reach its handler.
    for (ControlId id : kEdits) Edit(id)->disconnect(this);
}

QString CQuelmarDlg::GetVersionString() {
    return QString::fromLatin1(QuelmarVersion::kText);
}

void CQuelmarDlg::CreateControls() {
    // In template order, so that later controls lie above the group box.
    for (const TemplateControl& c : MainTemplate()) {
        QWidget* widget = nullptr;
        if (c.id == ControlId::Graph) {
            widget = m_graph = new CGraphCtrl(this);
        } else if (c.id == ControlId::Tabs) {
            widget = m_tab = new CTabCtrl(this);
        } else if (IsEdit(c.id)) {
            auto* edit = new QLineEdit(this);
            connect(edit, &QLineEdit::textEdited, this,
                    [this, id = c.id] { OnEditTextEdited(id); });
            connect(edit, &QLineEdit::editingFinished, this,
                    [this, id = c.id] { OnEditFinished(id); });
            widget = edit;
        } else if (c.id == ControlId::ParametersGroup) {
            widget = new QGroupBox(Text(LabelText(c.id)), this);
        } else if (c.id == ControlId::StatusLine) {
            widget = m_status = new QLabel(this);
            m_status->setTextFormat(Qt::PlainText);
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
    }
    auto on_click = [this](ControlId id, auto command) {
        connect(static_cast<QPushButton*>(Control(id)), &QPushButton::clicked, this, command);
    };
    on_click(ControlId::MarkPeaks, [this] { OnMarkPeaks(); });
    on_click(ControlId::DeletePeak, [this] { OnDeletePeak(); });
    on_click(ControlId::DeleteAllPeaks, [this] { OnDeleteAllPeaks(); });
    on_click(ControlId::AddChannel, [this] { OnAddChannel(); });
    on_click(ControlId::DeleteChannel, [this] { OnDeleteChannel(); });
    on_click(ControlId::Save, [this] { OnSave(); });
    on_click(ControlId::Components, [this] { OnEditComponents(); });
    static_cast<QPushButton*>(Control(ControlId::Components))
        ->setText(Text(Strings::kComponentsButton));
    // The marking button shows whether marking is on.
    static_cast<QPushButton*>(Control(ControlId::MarkPeaks))->setCheckable(true);
    connect(m_tab, &CTabCtrl::SelectionChanged, this, &CQuelmarDlg::OnTabSelChange);
    // Clicks on the graph and the tabs take the focus, so that an open cell editor is committed
    // before they act, as it is before a button acts; Tab reaches the graph too.
    m_graph->setFocusPolicy(Qt::StrongFocus);
    m_tab->Bar()->setFocusPolicy(Qt::StrongFocus);
}

QWidget* CQuelmarDlg::Control(ControlId id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

QLineEdit* CQuelmarDlg::Edit(ControlId id) const {
    return IsEdit(id) ? static_cast<QLineEdit*>(Control(id)) : nullptr;
}

QString CQuelmarDlg::StatusText() const {
    return m_status->text();
}

void CQuelmarDlg::SetStatus(const QString& text) {
    m_status->setText(text);
}

void CQuelmarDlg::OnInitDialog() {
    m_initialRect = QRect(pos(), size());
    RestoreWindowState();
    SetIcons();
    SetToolTips();
    setWindowIcon(m_hIcon);
    OnAddChannel();
    // The first channel is where a chromatogram starts, not a change to undo.
    m_model->StartHistory();
    UpdateCaption();
    // The end of the desktop session asks about unsaved work as closing the window does.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        if (session.allowsInteraction() && !MaySetWorkAside()) session.cancel();
        m_closeAsked = true;
    });
    InstallGraphCallbacks();
    ConfigureGraph();
    SetTabOrder();
}

void CQuelmarDlg::RestoreWindowState() {
    DialogProfile profile;
    // A rectangle from a monitor that is gone, or an empty one, would put the window where
    // nobody can see it: then the default placement stays.
    if (const auto frame = profile.ReadWindowRect();
        frame && frame->width() > 0 && frame->height() > 0 && OnSomeScreen(*frame))
        m_storedFrame = frame;

    // Only values the model accepts: a refused one would size the first channel at every start.
    const double default_time = m_model->AnalysisTime();
    const double default_rate = m_model->SampleRate();
    const double time = profile.ReadAnalysisTime().value_or(default_time);
    const double rate = profile.ReadSampleRate().value_or(default_rate);
    auto acceptable = [](double t, double r) { return !CheckTimeAndRate(t, r, 1); };
    if (acceptable(time, rate))
        m_model = std::make_unique<CGeneratorModel>(time, rate);
    else if (acceptable(time, default_rate))
        m_model = std::make_unique<CGeneratorModel>(time, default_rate);
    else if (acceptable(default_time, rate))
        m_model = std::make_unique<CGeneratorModel>(default_time, rate);
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

void CQuelmarDlg::SetTabOrder() {
    // As the window reads: the graph, the tabs and the table under them, the buttons top to
    // bottom, then the parameters.
    std::vector<QWidget*> chain{m_graph, m_tab->Bar()};
    for (CTablePg* page : m_pages) chain.push_back(page->Grid());
    for (const ButtonInfo& b : kButtons) chain.push_back(Control(b.id));
    chain.push_back(Control(ControlId::Components));
    for (ControlId id : kEdits) chain.push_back(Edit(id));
    for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

void CQuelmarDlg::ConfigureGraph() {
    ConfigureChromatogramGraph(*m_graph);
}

void CQuelmarDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayOutControls();
}

QSize CQuelmarDlg::TemplateClientSize() const {
    return m_templatePixels + QSize(0, m_menuBar->sizeHint().height());
}

void CQuelmarDlg::LayOutControls() {
    // The menu bar across the top; the template's controls below it, as the template lays them.
    const int menu = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), menu);
    const QSize delta = size() - TemplateClientSize();
    for (const TemplateControl& c : MainTemplate())
        if (QWidget* widget = Control(c.id))
            widget->setGeometry(ResizedRect(UnitsToPixels(c.units, BaseUnits{}), c.rule, delta)
                                    .translated(0, menu));
    PlacePages();
}

void CQuelmarDlg::done(int result) {
    FinishPendingEdits();
    if (!std::exchange(m_closeAsked, false) && !MaySetWorkAside()) return;
    DialogProfile profile;
    profile.WriteWindowRect(frameGeometry());
    profile.WriteAnalysisTime(m_model->AnalysisTime());
    profile.WriteSampleRate(m_model->SampleRate());
    QDialog::done(result);
}

bool CQuelmarDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Only this window's keys: the save dialog and message boxes keep their own Escape.
    if (widget == nullptr || widget->window() != this) return QDialog::eventFilter(watched, event);
    return FilterKey(watched, static_cast<const QKeyEvent&>(*event));
}

bool CQuelmarDlg::FilterKey(QObject* receiver, const QKeyEvent& key) {
    const Qt::KeyboardModifiers mods = key.modifiers();
    // A parameter edit or a cell's edit box: undo, redo, Delete and Enter are the text's own.
    const bool in_text = qobject_cast<QLineEdit*>(receiver) != nullptr;
    bool in_cell = false;
    for (const CTablePg* page : m_pages)
        in_cell = in_cell || (in_text && page->isAncestorOf(static_cast<QWidget*>(receiver)));
    const QKeyCombination combination = key.keyCombination();
    const auto is = [&](Qt::KeyboardModifiers modifiers, Qt::Key k) {
        return combination == QKeyCombination(modifiers, k);
    };
    if (is(Qt::ControlModifier, Qt::Key_S)) {
        OnSaveToCurrentFile();
        return true;
    }
    if (is(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_S)) {
        OnSave();
        return true;
    }
    if (is(Qt::ControlModifier, Qt::Key_N)) {
        OnNew();
        return true;
    }
    if (is(Qt::ControlModifier, Qt::Key_O)) {
        OnOpen();
        return true;
    }
    if (!in_text && is(Qt::ControlModifier, Qt::Key_Z)) {
        OnUndo();
        return true;
    }
    if (!in_text && (is(Qt::ControlModifier, Qt::Key_Y) ||
                     is(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z))) {
        OnRedo();
        return true;
    }
    if (key.key() == Qt::Key_Escape && in_cell) return false;
    if (key.key() == Qt::Key_Escape) {
        // Escape puts a dragged peak back, else ends peak marking; it never closes the window.
        if (m_graph->Dragging()) {
            m_graph->CancelDrag();
        } else {
            m_graph->SetMarkingMode(false);
            static_cast<QPushButton*>(Control(ControlId::MarkPeaks))->setChecked(false);
        }
        return true;
    }
    // Alt combinations are swallowed (no mnemonics, no system keys); AltGr, which some
    // systems report as Control with Alt, still types.
    if (mods.testFlag(Qt::AltModifier) && !mods.testFlag(Qt::ControlModifier)) return true;
    if (key.key() == Qt::Key_Delete && mods == Qt::NoModifier && !in_text) {
        OnDeletePeak();
        return true;
    }
    return false;
}
