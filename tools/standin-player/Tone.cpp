#include "Tone.h"

#include <cmath>

namespace standin {

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

std::vector<std::uint8_t> MakeAlarmWav(int volume) {
    constexpr int kRate = 22050;
    constexpr double kPi = 3.14159265358979323846;
    constexpr int kBeepMs = 140, kGapMs = 90, kBeeps = 4, kPauseMs = 500;
    constexpr int kFadeSamples = kRate / 400;  // short ramps keep the beeps from clicking

    if (volume < 0) volume = 0;
    if (volume > 255) volume = 255;
    const double amplitude = 26000.0 * volume / 255.0;

    std::vector<std::int16_t> samples;
    const int beepLen = kRate * kBeepMs / 1000;
    for (int b = 0; b < kBeeps; ++b) {
        for (int i = 0; i < beepLen; ++i) {
            double env = 1.0;
            if (i < kFadeSamples) env = double(i) / kFadeSamples;
            if (beepLen - i < kFadeSamples) env = double(beepLen - i) / kFadeSamples;
            const double t = double(i) / kRate;
            // Two partials make the beep sound like an alarm rather than a pure test tone.
            const double s = 0.75 * std::sin(2 * kPi * 1760.0 * t) + 0.25 * std::sin(2 * kPi * 3520.0 * t);
            samples.push_back(static_cast<std::int16_t>(std::lround(amplitude * env * s)));
        }
        samples.insert(samples.end(), kRate * kGapMs / 1000, 0);
    }
    samples.insert(samples.end(), kRate * kPauseMs / 1000, 0);

    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> wav;
    wav.reserve(44 + dataBytes);
    PutTag(wav, "RIFF");
    Put32(wav, 36 + dataBytes);
    PutTag(wav, "WAVE");
    PutTag(wav, "fmt ");
    Put32(wav, 16);
    Put16(wav, 1);          // PCM
    Put16(wav, 1);          // mono
    Put32(wav, kRate);
    Put32(wav, kRate * 2);  // bytes per second
    Put16(wav, 2);          // block align
    Put16(wav, 16);         // bits per sample
    PutTag(wav, "data");
    Put32(wav, dataBytes);
    for (std::int16_t s : samples) Put16(wav, static_cast<std::uint16_t>(s));
    return wav;
}

}  // namespace standin
