// Writes the three alarm sounds into the folder named on the command line: short synthetic
// tones, 16-bit PCM mono, each recognisable by ear.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

void put16(std::ofstream& out, std::uint16_t v) {
    const char bytes[2] = {char(v & 0xff), char(v >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t v) {
    const char bytes[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
                           char(v >> 24)};
    out.write(bytes, 4);
}

// frequencyAt(t) gives the pitch in Hz at t seconds; the phase is integrated so that sweeps
// and jumps stay free of clicks. Short fades at both ends.
std::vector<std::int16_t> synthesise(double seconds,
                                     const std::function<double(double)>& frequencyAt) {
    const int count = int(seconds * kRate);
    std::vector<std::int16_t> samples(static_cast<size_t>(count));
    double phase = 0.0;
    const double fade = 0.02 * kRate;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / kRate;
        phase += 2.0 * kPi * frequencyAt(t) / kRate;
        double envelope = 0.6;
        if (i < fade)
            envelope *= i / fade;
        if (count - i < fade)
            envelope *= (count - i) / fade;
        samples[size_t(i)] = std::int16_t(std::lround(envelope * 32767.0 * std::sin(phase)));
    }
    return samples;
}

bool writeWav(const std::string& path, const std::vector<std::int16_t>& samples) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVE", 4);
    out.write("fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out.write("data", 4);
    put32(out, dataBytes);
    for (std::int16_t s : samples)
        put16(out, std::uint16_t(s));
    return bool(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    // A few stations: a calm two-note chime, twice.
    const auto chime =
        synthesise(1.2, [](double t) { return std::fmod(t, 0.6) < 0.3 ? 880.0 : 660.0; });
    // Many stations: a fast high warble.
    const auto warble =
        synthesise(1.5, [](double t) { return std::fmod(t, 0.125) < 0.0625 ? 1400.0 : 1000.0; });
    // The siren: pitch rising and falling once a second.
    const auto siren =
        synthesise(2.0, [](double t) { return 900.0 - 300.0 * std::cos(2.0 * kPi * t); });
    bool ok = writeWav(folder + "rw_le_4_stations_alarm.wav", chime);
    ok = writeWav(folder + "rw_gt_4_stations_alarm.wav", warble) && ok;
    ok = writeWav(folder + "SIREN.WAV", siren) && ok;
    if (!ok) {
        std::fprintf(stderr, "cannot write the sounds into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
