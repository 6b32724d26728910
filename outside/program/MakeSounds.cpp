// Writes the program's two sounds into the folder given: Intro.wav (three
// rising notes) and Success.wav (two notes), 8-bit mono PCM at 11025 Hz.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t SampleRate = 11025;
constexpr double NoteSeconds = 0.12;
constexpr double Pi = 3.14159265358979323846;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putText(std::vector<std::uint8_t>& out, const char* text) {
    for (; *text != '\0'; ++text) out.push_back(static_cast<std::uint8_t>(*text));
}

// Each note fades in and out, so that it starts and ends without a click.
std::vector<std::uint8_t> samples(const std::vector<double>& frequencies) {
    std::vector<std::uint8_t> pcm;
    const auto perNote = static_cast<std::uint32_t>(SampleRate * NoteSeconds);
    for (const double frequency : frequencies) {
        for (std::uint32_t i = 0; i < perNote; ++i) {
            const double t = static_cast<double>(i) / SampleRate;
            const double envelope = std::sin(Pi * i / perNote);
            const double value = 128.0 + 90.0 * envelope * std::sin(2.0 * Pi * frequency * t);
            pcm.push_back(static_cast<std::uint8_t>(std::lround(value)));
        }
    }
    return pcm;
}

std::vector<std::uint8_t> wave(const std::vector<std::uint8_t>& pcm) {
    std::vector<std::uint8_t> out;
    putText(out, "RIFF");
    put32(out, static_cast<std::uint32_t>(36 + pcm.size()));
    putText(out, "WAVEfmt ");
    put32(out, 16);          // format chunk size
    put16(out, 1);           // PCM
    put16(out, 1);           // mono
    put32(out, SampleRate);
    put32(out, SampleRate);  // bytes per second
    put16(out, 1);           // block align
    put16(out, 8);           // bits per sample
    putText(out, "data");
    put32(out, static_cast<std::uint32_t>(pcm.size()));
    out.insert(out.end(), pcm.begin(), pcm.end());
    return out;
}

bool write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: veldra_make_sounds FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = write(folder + "/Intro.wav", wave(samples({523.25, 659.25, 783.99}))) &&
                    write(folder + "/Success.wav", wave(samples({783.99, 1046.5})));
    if (!ok) std::cerr << "veldra_make_sounds: cannot write into " << folder << "\n";
    return ok ? 0 : 1;
}
