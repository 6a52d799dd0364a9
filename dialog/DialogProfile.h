#pragma once

#include <QByteArray>
#include <QRect>
#include <optional>

// The main window's values in the per-user profile, section "VendrixDlg": its frame rectangle
// ("WState", 16 bytes: left, top, right, bottom as signed 32-bit little-endian integers, right
// and bottom exclusive), the analysis time ("LastTime") and the sampling rate ("SampleRate"),
// each an 8-byte little-endian IEEE double. The values are stored as byte arrays; a value of
// another type or size reads as absent.
class DialogProfile {
public:
    std::optional<QRect> ReadWindowRect() const;
    std::optional<double> ReadAnalysisTime() const;
    std::optional<double> ReadSampleRate() const;

    void WriteWindowRect(const QRect& frame);
    void WriteAnalysisTime(double minutes);
    void WriteSampleRate(double per_minute);

    static constexpr const char* kSection = "VendrixDlg";
    static constexpr const char* kWindowState = "WState";
    static constexpr const char* kLastTime = "LastTime";
    static constexpr const char* kSampleRate = "SampleRate";

private:
    std::optional<QByteArray> ReadBytes(const char* name, qsizetype size) const;
    void WriteBytes(const char* name, const QByteArray& bytes);
    std::optional<double> ReadDouble(const char* name) const;
    void WriteDouble(const char* name, double value);
};
