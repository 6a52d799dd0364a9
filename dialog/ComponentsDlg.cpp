#include "ComponentsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "res/Strings.h"
#include "synth/NumberText.h"

namespace {

QString Shortest(double value) {
    return QString::fromStdString(FormatShortest(value));
}

// The steps' columns, in the order of a scenario's step keys.
constexpr const char* kStepKeys[] = {"time", "height", "width"};
constexpr const char* kStepHeaders[] = {Strings::kComponentsTime, Strings::kComponentsHeight,
                                        Strings::kComponentsWidth};

std::string StepKey(int row, int column) {
    return "steps[" + std::to_string(row) + "]." + kStepKeys[column];
}

void Tint(QWidget* widget, bool fault) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, fault ? QColor(255, 200, 200)
                                           : QApplication::palette(widget).color(QPalette::Base));
    widget->setPalette(palette);
}

}  // namespace

CComponentsDlg::CComponentsDlg(const QString& channel_name, const ChannelComponents& components,
                               Apply apply, QWidget* parent)
    : QDialog(parent), m_apply(std::move(apply)), m_original(components) {
    setWindowTitle(Strings::Tr(Strings::kComponentsTitle).arg(channel_name));
    auto* layout = new QVBoxLayout(this);

    auto* steps_box = new QGroupBox(Strings::Tr(Strings::kComponentsSteps), this);
    auto* steps_layout = new QVBoxLayout(steps_box);
    m_steps = new QTableWidget(0, 3, steps_box);
    QStringList headers;
    for (const char* header : kStepHeaders) headers << Strings::Tr(header);
    m_steps->setHorizontalHeaderLabels(headers);
    m_steps->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_steps->verticalHeader()->setVisible(false);
    for (const BaselineStep& step : components.steps) AddStepRow(step);
    steps_layout->addWidget(m_steps);
    auto* step_buttons = new QHBoxLayout;
    auto* add = new QPushButton(Strings::Tr(Strings::kComponentsAddStep), steps_box);
    auto* remove = new QPushButton(Strings::Tr(Strings::kComponentsRemoveStep), steps_box);
    for (QPushButton* button : {add, remove}) {
        button->setAutoDefault(false);
        step_buttons->addWidget(button);
    }
    step_buttons->addStretch();
    steps_layout->addLayout(step_buttons);
    connect(add, &QPushButton::clicked, this, [this] { AddStepRow(BaselineStep{}); });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row =
            m_steps->currentRow() >= 0 ? m_steps->currentRow() : m_steps->rowCount() - 1;
        if (row >= 0) m_steps->removeRow(row);
    });
    layout->addWidget(steps_box);

    // A part that is either there or not: its switch enables its fields.
    auto add_part = [&](const std::string& part, const char* title, bool present,
                        std::initializer_list<std::pair<const char*, const char*>> fields,
                        std::initializer_list<double> values) {
        auto* box = new QCheckBox(Strings::Tr(title), this);
        box->setChecked(present);
        m_switches[part] = box;
        layout->addWidget(box);
        auto* form = new QFormLayout;
        form->setContentsMargins(24, 0, 0, 0);
        auto value = values.begin();
        for (const auto& [key, label] : fields) {
            const std::string full = part + "." + key;
            QLineEdit* edit = AddField(full, *value++);
            m_labels[full] = Strings::Tr(label);
            edit->setEnabled(present);
            connect(box, &QCheckBox::toggled, edit, &QWidget::setEnabled);
            form->addRow(m_labels[full], edit);
        }
        layout->addLayout(form);
    };
    const BaselineSine sine = components.sine.value_or(BaselineSine{});
    add_part("sine", Strings::kComponentsSine, components.sine.has_value(),
             {{"amplitude", Strings::kComponentsAmplitude},
              {"period", Strings::kComponentsPeriod},
              {"phase", Strings::kComponentsPhase}},
             {sine.amplitude, sine.period, sine.phase});
    const BaselineSettle settle = components.settle.value_or(BaselineSettle{});
    add_part("settle", Strings::kComponentsSettle, components.settle.has_value(),
             {{"height", Strings::kComponentsHeight},
              {"time_constant", Strings::kComponentsTimeConstant}},
             {settle.height, settle.time_constant});

    auto* form = new QFormLayout;
    for (const auto& [key, label, value] :
         {std::tuple{"wander.sigma", Strings::kComponentsWander, components.wander},
          std::tuple{"pink", Strings::kComponentsPink, components.pink}}) {
        m_labels[key] = Strings::Tr(label);
        form->addRow(m_labels[key], AddField(key, value));
    }
    layout->addLayout(form);

    const SpikeTrain spikes = components.spikes.value_or(SpikeTrain{});
    add_part("spikes", Strings::kComponentsSpikes, components.spikes.has_value(),
             {{"rate", Strings::kComponentsRate},
              {"height.min", Strings::kComponentsMinHeight},
              {"height.max", Strings::kComponentsMaxHeight}},
             {spikes.rate, spikes.min_height, spikes.max_height});

    m_reason = new QLabel(this);
    m_reason->setTextFormat(Qt::PlainText);
    m_reason->setWordWrap(true);
    QPalette palette = m_reason->palette();
    palette.setColor(QPalette::WindowText, QColor(180, 0, 0));
    m_reason->setPalette(palette);
    layout->addWidget(m_reason);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CComponentsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CComponentsDlg::reject);
    layout->addWidget(buttons);
}

QLineEdit* CComponentsDlg::AddField(const std::string& key, double value) {
    auto* edit = new QLineEdit(Shortest(value), this);
    m_fields[key] = edit;
    return edit;
}

void CComponentsDlg::AddStepRow(const BaselineStep& step) {
    const int row = m_steps->rowCount();
    m_steps->insertRow(row);
    const double values[] = {step.time, step.height, step.width};
    for (int column = 0; column < 3; ++column)
        m_steps->setItem(row, column, new QTableWidgetItem(Shortest(values[column])));
}

QLineEdit* CComponentsDlg::Field(const std::string& key) const {
    const auto it = m_fields.find(key);
    return it == m_fields.end() ? nullptr : it->second;
}

QCheckBox* CComponentsDlg::Switch(const std::string& part) const {
    const auto it = m_switches.find(part);
    return it == m_switches.end() ? nullptr : it->second;
}

QString CComponentsDlg::Reason() const {
    return m_reason->text();
}

bool CComponentsDlg::Read(ChannelComponents& out) {
    out = ChannelComponents{};
    // Where the random parts draw from stays the channel's.
    out.seed = m_original.seed;
    out.channel = m_original.channel;
    auto number = [this](const std::string& key, double& value) {
        const ParsedNumber parsed = ParseEditNumber(Field(key)->text().toStdString());
        if (parsed.kind == NumberTextKind::Number) {
            value = parsed.value;
            return true;
        }
        MarkFault(key, Strings::Tr(Strings::kComponentsNotNumber).arg(m_labels[key]));
        return false;
    };
    for (int row = 0; row < m_steps->rowCount(); ++row) {
        double values[3] = {};
        for (int column = 0; column < 3; ++column) {
            const QTableWidgetItem* item = m_steps->item(row, column);
            const ParsedNumber parsed =
                ParseEditNumber(item != nullptr ? item->text().toStdString() : std::string());
            if (parsed.kind != NumberTextKind::Number) {
                MarkFault(StepKey(row, column), Strings::Tr(Strings::kComponentsNotNumber)
                                                    .arg(Strings::Tr(kStepHeaders[column])));
                return false;
            }
            values[column] = parsed.value;
        }
        out.steps.push_back({values[0], values[1], values[2]});
    }
    auto on = [this](const char* part) { return Switch(part)->isChecked(); };
    if (on("sine")) {
        BaselineSine& sine = out.sine.emplace();
        if (!number("sine.amplitude", sine.amplitude) || !number("sine.period", sine.period) ||
            !number("sine.phase", sine.phase))
            return false;
    }
    if (on("settle")) {
        BaselineSettle& settle = out.settle.emplace();
        if (!number("settle.height", settle.height) ||
            !number("settle.time_constant", settle.time_constant))
            return false;
    }
    if (!number("wander.sigma", out.wander) || !number("pink", out.pink)) return false;
    if (on("spikes")) {
        SpikeTrain& spikes = out.spikes.emplace();
        if (!number("spikes.rate", spikes.rate) ||
            !number("spikes.height.min", spikes.min_height) ||
            !number("spikes.height.max", spikes.max_height))
            return false;
    }
    return true;
}

void CComponentsDlg::MarkFault(const std::string& key, const QString& reason) {
    m_reason->setText(reason);
    // A fault of the spikes' height range as a whole is shown at its lower end.
    QLineEdit* field = Field(key) != nullptr ? Field(key) : Field(key + ".min");
    if (field != nullptr) {
        Tint(field, true);
        field->setFocus();
        field->selectAll();
        return;
    }
    int row = -1;
    char column_key[16] = {};
    if (std::sscanf(key.c_str(), "steps[%d].%15s", &row, column_key) == 2 && row >= 0 &&
        row < m_steps->rowCount()) {
        for (int column = 0; column < 3; ++column)
            if (std::string(column_key) == kStepKeys[column]) {
                m_steps->setCurrentCell(row, column);
                m_steps->setFocus();
            }
    }
}

void CComponentsDlg::accept() {
    for (const auto& [key, field] : m_fields) Tint(field, false);
    m_reason->clear();
    ChannelComponents components;
    if (!Read(components)) return;
    std::string key;
    const QString refusal = m_apply(components, key);
    if (refusal.isEmpty()) {
        QDialog::accept();
        return;
    }
    MarkFault(
        key,
        key.empty()
            ? refusal
            : Strings::Tr(Strings::kComponentsFault).arg(refusal, QString::fromStdString(key)));
}
