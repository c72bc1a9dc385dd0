// A sound board: keys 1 to 4 play four effects at the pan and volume shown on screen while a
// music track loops. The effects cover the sample layouts the engine plays (8- and 16-bit, mono
// and stereo, 11025 to 44100 Hz); all media is synthesised at build time by
// make_media.cpp beside this file.
//   1-4 play   Left/Right pan   Up/Down volume   M music on/off   Space stop all   Escape end
#include <tarvoke.h>

using namespace tarvoke;

const GameInfo tarvoke::gameInfo = {"Sound board", ProjectSettings{}};

namespace {

constexpr int keyLeft = 203, keyRight = 205, keyUp = 200, keyDownArrow = 208, keyM = 50, keySpace = 57;
constexpr int colourLoaded = 0x00A000, colourPlaying = 0x40FF40, colourMissing = 0x0000FF;
constexpr int colourBar = 0x604020, colourMarker = 0x40C0FF;

struct Pad {
    const char* file;
    const char* label;
    int key;            // DirectInput code of the digit key
    int voices;         // how often it may overlap itself
    NumValue handle;    // the voice started last; -1: none
    bool loaded;
};

Pad pads[] = {
    {"blip.wav", "BLIP   8-BIT MONO 11025 HZ", 2, 1, -1, false},
    {"chime.wav", "CHIME 16-BIT STEREO 44100 HZ", 3, 4, -1, false},
    {"drum.wav", "DRUM  16-BIT MONO 22050 HZ", 4, 2, -1, false},
    {"laser.wav", "LASER  8-BIT STEREO 22050 HZ", 5, 3, -1, false},
};

bool held[256];

// True on the frame the key goes down, so a held key acts once.
bool pressed(int key) {
    const bool down = keyDown(key) != 0;
    const bool press = down && !held[key];
    held[key] = down;
    return press;
}

void drawPad(const Pad& pad, int index) {
    const int y = 80 + index * 56;
    const bool playing = pad.handle >= 0 && isSoundPlaying(pad.handle) != 0;
    drawRect(30, y, 40, 40, !pad.loaded ? colourMissing : playing ? colourPlaying : colourLoaded);
    printText(concat(concat(StrValue(IntValue(index + 1)), "  "), pad.label), 90, y + 8);
    printText(concat(concat("VOICES ", IntValue(pad.voices)), pad.loaded ? "" : "  (NOT LOADED)"), 90, y + 24);
}

// A bar from -1 to 1 (or 0 to 1) with a marker at the value.
void drawSlider(int y, NumValue value, NumValue lowest) {
    drawRect(30, y, 400, 6, colourBar);
    drawRect(30 + 400 * (value - lowest) / (1 - lowest) - 3, y - 5, 7, 16, colourMarker);
}

} // namespace

void tarvokeMain() {
    for (int i = 0; i < 4; ++i) pads[i].loaded = loadSound(pads[i].file, i, pads[i].voices) == 1;
    playMusic("groove.wav");
    bool musicOn = true;
    int panQuarters = 0, volumeTenths = 8;
    for (;;) {
        for (int i = 0; i < 4; ++i)
            if (pressed(pads[i].key)) pads[i].handle = playSound(i, panQuarters / 4.0, volumeTenths / 10.0);
        if (pressed(keyLeft) && panQuarters > -4) --panQuarters;
        if (pressed(keyRight) && panQuarters < 4) ++panQuarters;
        if (pressed(keyUp) && volumeTenths < 10) ++volumeTenths;
        if (pressed(keyDownArrow) && volumeTenths > 0) --volumeTenths;
        if (pressed(keySpace)) stopAllSounds();
        if (pressed(keyM)) {
            musicOn = !musicOn;
            if (musicOn) playMusic("groove.wav");
            else stopMusic();
        }

        printText("SOUND BOARD", 30, 20);
        printText("1-4 PLAY  LEFT/RIGHT PAN  UP/DOWN VOLUME  M MUSIC  SPACE STOP ALL", 30, 44);
        for (int i = 0; i < 4; ++i) drawPad(pads[i], i);
        const NumValue pan = panQuarters / 4.0, volume = volumeTenths / 10.0;
        printText(concat(concat("PAN ", pan), panQuarters < 0 ? "  (LEFT)" : panQuarters > 0 ? "  (RIGHT)" : ""), 30, 320);
        drawSlider(342, pan, -1);
        printText(concat(concat(concat("VOLUME ", volume), "  ATTENUATION "), IntValue(volumeTenths * 1000 - 10000)), 30, 370);
        drawSlider(392, volume, 0);
        printText(musicOn ? "MUSIC: GROOVE.WAV, LOOPING" : "MUSIC: OFF", 30, 430);
        showScreen();
    }
}
