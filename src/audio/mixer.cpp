#include "mixer.h"

#include <algorithm>
#include <alsa/asoundlib.h>

namespace audio {

namespace {

void quiet(const char *, int, const char *, int, const char *, ...) {}

void silenceAlsa()
{
    static const bool once = [] {
        snd_lib_error_set_handler(quiet);
        return true;
    }();
    (void)once;
}

} // namespace

long scaledVolume(int value, long min, long max)
{
    const long v = std::clamp(value, 0, 100);
    if (max <= min)
        return min;
    return min + static_cast<long>((static_cast<long long>(max - min) * v) / 100);
}

bool Mixer::mikserac()
{
    mikserkapat();
    silenceAlsa();
    snd_mixer_t *mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0)
        return false;
    m_mixer = mixer;
    if (snd_mixer_attach(mixer, "default") < 0 || snd_mixer_selem_register(mixer, nullptr, nullptr) < 0
        || snd_mixer_load(mixer) < 0) {
        mikserkapat();
        return false;
    }
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, "Master");
    snd_mixer_elem_t *elem = snd_mixer_find_selem(mixer, id);
    if (!elem || !snd_mixer_selem_has_playback_volume(elem)) {
        mikserkapat();
        return false;
    }
    m_master = elem;
    return true;
}

bool Mixer::sesayarla(int value)
{
    if (!m_master)
        return false;
    long min = 0;
    long max = 0;
    if (snd_mixer_selem_get_playback_volume_range(m_master, &min, &max) < 0)
        return false;
    return snd_mixer_selem_set_playback_volume_all(m_master, scaledVolume(value, min, max)) >= 0;
}

void Mixer::mikserkapat()
{
    if (m_mixer)
        snd_mixer_close(m_mixer);
    m_mixer = nullptr;
    m_master = nullptr;
}

bool applyVolume(int value)
{
    Mixer mixer;
    return mixer.mikserac() && mixer.sesayarla(value);
}

} // namespace audio
