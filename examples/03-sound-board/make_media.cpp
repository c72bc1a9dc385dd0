// Makes the sound board example's media: four effects in the four sample layouts the engine
// plays (8- and 16-bit, mono and stereo, at three rates) and a music loop, synthesised the same
// every time from this source, so the repository holds no audio.
//   make_sound_board_media OUTPUT_DIRECTORY
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

struct Layout {
    int channels;
    int bits;
    int rate;
};

// One stereo frame as -1..1 values, at time t seconds.
using Synth = std::function<void(double t, double& left, double& right)>;

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(std::uint8_t(value >> (8 * i)));
}

std::vector<std::uint8_t> samples(const Layout& layout, double seconds, const Synth& synth) {
    std::vector<std::uint8_t> data;
    const int frames = int(seconds * layout.rate);
    for (int i = 0; i < frames; ++i) {
        double channel[2] = {0, 0};
        synth(double(i) / layout.rate, channel[0], channel[1]);
        if (layout.channels == 1) channel[0] = (channel[0] + channel[1]) / 2;
        for (int c = 0; c < layout.channels; ++c) {
            const double v = std::fmax(-1.0, std::fmin(1.0, channel[c]));
            if (layout.bits == 8)
                put(data, std::uint32_t(std::lround(128 + v * 127)), 1);
            else
                put(data, std::uint32_t(std::int32_t(std::lround(v * 32767))) & 0xFFFF, 2);
        }
    }
    return data;
}

bool writeWav(const std::string& path, const Layout& layout, double seconds, const Synth& synth) {
    const std::vector<std::uint8_t> data = samples(layout, seconds, synth);
    const int blockAlign = layout.channels * layout.bits / 8;
    std::vector<std::uint8_t> file = {'R', 'I', 'F', 'F'};
    put(file, std::uint32_t(36 + data.size()), 4);
    for (char c : std::string("WAVEfmt ")) file.push_back(std::uint8_t(c));
    put(file, 16, 4);
    put(file, 1, 2);  // PCM
    put(file, std::uint32_t(layout.channels), 2);
    put(file, std::uint32_t(layout.rate), 4);
    put(file, std::uint32_t(layout.rate * blockAlign), 4);
    put(file, std::uint32_t(blockAlign), 2);
    put(file, std::uint32_t(layout.bits), 2);
    for (char c : std::string("data")) file.push_back(std::uint8_t(c));
    put(file, std::uint32_t(data.size()), 4);
    file.insert(file.end(), data.begin(), data.end());
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

double square(double phase) { return std::sin(2 * pi * phase) >= 0 ? 1.0 : -1.0; }

// A little noise generator that gives the same sequence on every machine.
double noise() {
    static std::uint32_t state = 0x2545F491u;
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return double(state) / 2147483648.0 - 1.0;
}

void blip(double t, double& l, double& r) {  // a falling square-wave beep
    l = r = 0.5 * square(880 * t - 1200 * t * t) * std::exp(-t * 18);
}

void chime(double t, double& l, double& r) {  // two bells, one a little to each side
    const double decay = std::exp(-t * 4);
    l = 0.45 * std::sin(2 * pi * 660 * t) * decay + 0.15 * std::sin(2 * pi * 990 * t) * decay;
    r = 0.45 * std::sin(2 * pi * 830 * t) * decay + 0.15 * std::sin(2 * pi * 1245 * t) * decay;
}

void drum(double t, double& l, double& r) {  // a thump with a noisy head
    l = r = (0.7 * std::sin(2 * pi * (110 * t - 90 * t * t)) + 0.3 * noise()) * std::exp(-t * 14);
}

void laser(double t, double& l, double& r) {  // a sweep down, slightly delayed on the right
    const double phase = 2000 * t - 2600 * t * t;
    l = 0.5 * square(phase) * std::exp(-t * 6);
    r = 0.5 * square(phase - 7) * std::exp(-t * 6);
}

// Four bars of a bass line and an arpeggio, two seconds a bar.
void music(double t, double& l, double& r) {
    static const double roots[4] = {110.0, 87.31, 130.81, 98.0};
    const int bar = int(t / 2) % 4;
    const double inBar = std::fmod(t, 2.0), inBeat = std::fmod(t, 0.25);
    const double bass = 0.35 * std::sin(2 * pi * roots[bar] * t) * (1 - 0.5 * std::fmod(t, 0.5));
    const double steps[4] = {2, 3, 4, 6};
    const double arp = 0.12 * std::sin(2 * pi * roots[bar] * steps[int(inBar * 4) % 4] * t) * std::exp(-inBeat * 10);
    l = bass + arp;
    r = bass + 0.7 * arp;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sound_board_media OUTPUT_DIRECTORY\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool written = writeWav(folder + "blip.wav", {1, 8, 11025}, 0.25, blip) &&
                         writeWav(folder + "chime.wav", {2, 16, 44100}, 1.2, chime) &&
                         writeWav(folder + "drum.wav", {1, 16, 22050}, 0.4, drum) &&
                         writeWav(folder + "laser.wav", {2, 8, 22050}, 0.5, laser) &&
                         writeWav(folder + "groove.wav", {2, 16, 22050}, 8.0, music);
    if (!written) std::fprintf(stderr, "make_sound_board_media: cannot write into %s\n", argv[1]);
    return written ? 0 : 1;
}
