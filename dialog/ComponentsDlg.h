#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <string>

#include "synth/SignalComponents.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// A channel's baseline and noise components (steps, sine, settling, wander, pink noise, spikes)
// in one small form. OK hands what the form says to `apply`, which returns "" when the channel
// took it, or the reason it did not; a refused form stays open with the reason under it and the
// field at fault marked, so nothing typed is lost. Cancel changes nothing.
class CComponentsDlg : public QDialog {
    Q_OBJECT

public:
    // `apply` returns the refusal's text and, in `key`, the value at fault as a scenario names
    // it ("sine.period", "steps[1].width"), or "" for none in particular.
    using Apply = std::function<QString(const ChannelComponents&, std::string& key)>;

    CComponentsDlg(const QString& channel_name, const ChannelComponents& components, Apply apply,
                   QWidget* parent = nullptr);

    // The form's fields by the scenario key of their value ("pink", "wander.sigma",
    // "spikes.height.min"); the steps' table holds "steps[i].time", "...height", "...width" in
    // row i.
    QLineEdit* Field(const std::string& key) const;
    QCheckBox* Switch(const std::string& part) const;  // "sine", "settle", "spikes"
    QTableWidget* Steps() const { return m_steps; }
    QString Reason() const;

    void accept() override;

private:
    QLineEdit* AddField(const std::string& key, double value);
    void AddStepRow(const BaselineStep& step);
    // What the form says; false, with the field marked, when a text is not a number.
    bool Read(ChannelComponents& out);
    void MarkFault(const std::string& key, const QString& reason);

    Apply m_apply;
    ChannelComponents m_original;
    std::map<std::string, QLineEdit*> m_fields;
    std::map<std::string, QCheckBox*> m_switches;
    std::map<std::string, QString> m_labels;
    QTableWidget* m_steps = nullptr;
    QLabel* m_reason = nullptr;
};
