#include "sound/SoundPlayer.h"

#include "app/AssetFile.h"
#include "sound/SoundFileCheck.h"

#include <SDL.h>
#include <dlfcn.h>
#include <mpg123.h>

namespace {

const char* const effectPath = "./audio/wow.wav";
constexpr std::size_t maxEffectBytes = 16u * 1024u * 1024u;  // largest effect file read, bytes
constexpr std::size_t maxTuneBytes = 64u * 1024u * 1024u;    // largest tune file read, bytes
constexpr int outputRate = 44100;                              // Hz
constexpr int outputChannels = 2;                              // stereo
constexpr int outputBufferFrames = 1024;                       // frames per mixing pass

void sayNothing(const char*, int, const char*, int, const char*, ...) {}

// On a machine without a sound card ALSA writes its complaints straight to
// stderr while SDL probes it. The game stays silent instead, so ALSA gets a
// handler that drops them. SDL later opens this same library (it is never
// unloaded), so the handler is the one in force.
void quietenAlsa() {
    void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (alsa == nullptr) {
        return;
    }
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler);
    auto setHandler = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
    if (setHandler != nullptr) {
        setHandler(&sayNothing);
    }
}

}  // namespace

// SDL_mixer makes its MP3 decoder with mpg123_new and leaves it at its
// defaults, which print a note to stderr for every damaged frame, again on
// every loop of the tune. Defined in the program, this mpg123_new is the one
// SDL_mixer's call reaches: it makes the decoder as asked, then quietens it.
extern "C" mpg123_handle* mpg123_new(const char* decoder, int* error) {
    using NewDecoder = mpg123_handle* (*)(const char*, int*);
    using SetParameter = int (*)(mpg123_handle*, enum mpg123_parms, long, double);
    static const auto makeDecoder = reinterpret_cast<NewDecoder>(dlsym(RTLD_NEXT, "mpg123_new"));
    static const auto setParameter = reinterpret_cast<SetParameter>(dlsym(RTLD_NEXT, "mpg123_param"));
    if (makeDecoder == nullptr) {
        if (error != nullptr) {
            *error = MPG123_ERR;
        }
        return nullptr;
    }
    mpg123_handle* handle = makeDecoder(decoder, error);
    if (handle != nullptr && setParameter != nullptr) {
        setParameter(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    }
    return handle;
}

SoundPlayer* SoundPlayer::instance() {
    static SoundPlayer* const player = new SoundPlayer();
    return player;
}

void SoundPlayer::init() {
    if (initialised) {
        return;
    }
    initialised = true;

    // Without this hint SDL takes over SIGINT and Ctrl-C no longer ends the game.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quietenAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return;
    }
    // The system's default output (NULL), not the first device in SDL's list:
    // with PulseAudio or PipeWire that list can start with a sink other than
    // the one the player's sound goes to.
    if (Mix_OpenAudioDevice(outputRate, MIX_DEFAULT_FORMAT, outputChannels, outputBufferFrames, nullptr, 0) != 0) {
        return;
    }
    deviceOpen = true;
    Mix_AllocateChannels(effectVoices);
    Mix_GroupChannels(0, effectVoices - 1, effectGroup);

    std::vector<unsigned char> bytes;
    if (!AssetFile::read(effectPath, maxEffectBytes, bytes) || !SoundFileCheck::isPlayableWav(bytes)) {
        return;
    }
    // The chunk is decoded and converted whole here, so the bytes may go afterwards.
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (source != nullptr) {
        effectSamples[0] = Mix_LoadWAV_RW(source, 1);
    }
}

bool SoundPlayer::effectLoaded(int index) const {
    return index >= 0 && index < effectCount && effectSamples[index] != nullptr;
}

int SoundPlayer::voiceForNextEffect() const {
    const int free = Mix_GroupAvailable(effectGroup);
    if (free != -1) {
        return free;
    }
    // The mixer's own Mix_GroupOldest goes by millisecond start times and,
    // on a tie, picks the newest of the tied plays; quick plays tie all the
    // time, so the order of our own starts decides.
    int oldest = 0;
    for (int voice = 0; voice < effectVoices; ++voice) {
        if (Mix_Playing(voice) == 0) {
            return voice;  // finished since the group was asked
        }
        if (voiceStarted[voice] < voiceStarted[oldest]) {
            oldest = voice;
        }
    }
    return oldest;
}

void SoundPlayer::playEffect(int index) {
    if (!deviceOpen || !effectLoaded(index)) {
        return;
    }
    const int voice = voiceForNextEffect();
    if (voice < 0 || voice >= effectVoices) {
        return;
    }
    if (Mix_PlayChannel(voice, effectSamples[index], 0) == voice) {
        voiceStarted[voice] = ++effectPlays;
    }
}

void SoundPlayer::releaseMusic() {
    if (musicStream != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(musicStream);
        musicStream = nullptr;
    }
    if (musicSource != nullptr) {
        SDL_RWclose(musicSource);
        musicSource = nullptr;
    }
    std::vector<unsigned char>().swap(musicBytes);
}

void SoundPlayer::playMusic(const char* path) {
    // The old tune is silent and gone before the new file is even read.
    releaseMusic();
    if (!deviceOpen) {
        return;
    }
    std::vector<unsigned char> bytes;
    if (!AssetFile::read(path, maxTuneBytes, bytes) || !SoundFileCheck::looksLikeMp3(bytes)) {
        return;
    }
    // The stream decodes from these bytes while it plays, so they stay with the player.
    musicBytes.swap(bytes);
    musicSource = SDL_RWFromConstMem(musicBytes.data(), static_cast<int>(musicBytes.size()));
    if (musicSource != nullptr) {
        musicStream = Mix_LoadMUSType_RW(musicSource, MUS_MP3, 0);
    }
    if (musicStream == nullptr) {
        releaseMusic();
        return;
    }
    Mix_PlayMusic(musicStream, -1);
}

void SoundPlayer::playFinishSound() {
    instance()->playEffect(0);
}
