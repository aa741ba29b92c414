#pragma once

struct _snd_mixer;
struct _snd_mixer_elem;

// The system's master volume: the simple element "Master" of the "default" mixer.
// It is opened, written and closed for each change; nothing is read back or reported.
namespace audio {

// The raw value for a slider value over a control's range: the value clamped to 0..100,
// then min + (max - min) * value / 100, the remainder dropped.
long scaledVolume(int value, long min, long max);

// One opening of the mixer. Alsa-lib's own error printing is silenced.
class Mixer {
public:
    Mixer() = default;
    ~Mixer() { mikserkapat(); }
    Mixer(const Mixer &) = delete;
    Mixer &operator=(const Mixer &) = delete;

    // Opens the mixer and finds its master volume; false when either fails.
    bool mikserac();
    // Writes the slider's value (0..100) over the master volume's range; false when the
    // mixer is not open or refuses it.
    bool sesayarla(int value);
    void mikserkapat();

private:
    _snd_mixer *m_mixer = nullptr;
    _snd_mixer_elem *m_master = nullptr;
};

// Open, write, close: what every change of the volume slider and every play does.
bool applyVolume(int value);

} // namespace audio
