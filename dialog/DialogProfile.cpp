#include "DialogProfile.h"

#include <QSettings>
#include <QtEndian>
#include <cstring>

namespace {

constexpr qsizetype kRectBytes = 16;
constexpr qsizetype kDoubleBytes = 8;

}  // namespace

std::optional<QByteArray> DialogProfile::ReadBytes(const char* name, qsizetype size) const {
    QSettings settings;
    settings.beginGroup(kSection);
    const QVariant value = settings.value(name);
    // QSettings would turn a string into bytes on request: only a stored byte array counts.
    if (value.typeId() != QMetaType::QByteArray) return std::nullopt;
    QByteArray bytes = value.toByteArray();
    if (bytes.size() != size) return std::nullopt;
    return bytes;
}

void DialogProfile::WriteBytes(const char* name, const QByteArray& bytes) {
    QSettings settings;
    settings.beginGroup(kSection);
    settings.setValue(name, bytes);
}

std::optional<QRect> DialogProfile::ReadWindowRect() const {
    const auto bytes = ReadBytes(kWindowState, kRectBytes);
    if (!bytes) return std::nullopt;
    std::int32_t edges[4];
    for (int i = 0; i < 4; ++i)
        edges[i] = qFromLittleEndian<std::int32_t>(bytes->constData() + 4 * i);
    // Right and bottom are exclusive, as QRect's width and height count them.
    const qint64 width = qint64(edges[2]) - edges[0];
    const qint64 height = qint64(edges[3]) - edges[1];
    if (width > INT32_MAX || height > INT32_MAX || width < INT32_MIN || height < INT32_MIN)
        return std::nullopt;
    return QRect(edges[0], edges[1], static_cast<int>(width), static_cast<int>(height));
}

void DialogProfile::WriteWindowRect(const QRect& frame) {
    QByteArray bytes(kRectBytes, '\0');
    const std::int32_t edges[4] = {frame.left(), frame.top(), frame.left() + frame.width(),
                                   frame.top() + frame.height()};
    for (int i = 0; i < 4; ++i) qToLittleEndian<std::int32_t>(edges[i], bytes.data() + 4 * i);
    WriteBytes(kWindowState, bytes);
}

std::optional<double> DialogProfile::ReadDouble(const char* name) const {
    const auto bytes = ReadBytes(name, kDoubleBytes);
    if (!bytes) return std::nullopt;
    const quint64 bits = qFromLittleEndian<quint64>(bytes->constData());
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void DialogProfile::WriteDouble(const char* name, double value) {
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(kDoubleBytes, '\0');
    qToLittleEndian<quint64>(bits, bytes.data());
    WriteBytes(name, bytes);
}

std::optional<double> DialogProfile::ReadAnalysisTime() const {
    return ReadDouble(kLastTime);
}

std::optional<double> DialogProfile::ReadSampleRate() const {
    return ReadDouble(kSampleRate);
}

void DialogProfile::WriteAnalysisTime(double minutes) {
    WriteDouble(kLastTime, minutes);
}

void DialogProfile::WriteSampleRate(double per_minute) {
    WriteDouble(kSampleRate, per_minute);
}
