#pragma once

#include <SDL_mixer.h>

#include <vector>

// The game's two sounds: one looping music stream and the effect of a
// finished flower. A thin layer over the mixer that never reports a failure:
// without a device or without the files the game simply stays silent.
class SoundPlayer {
public:
    static constexpr int effectCount = 1;   // entries of effectSamples
    static constexpr int effectVoices = 4;  // plays of the effect that may sound at once
    static constexpr int effectGroup = 1;   // mixer group tag of the effect voices

    // The one player, made on the first call and never destroyed.
    static SoundPlayer* instance();

    // Opens the audio output and loads the effect sample. Only the first call does anything.
    void init();
    // Plays effect sample `index` (only 0 exists) once from its start; with all
    // voices busy, the play that has been sounding longest is taken over.
    void playEffect(int index);
    // Stops and frees the music playing, then streams the MP3 at `path` in an endless loop.
    void playMusic(const char* path);

    // The garden's finish sound: effect 0 of the one player.
    static void playFinishSound();

    bool audioOpen() const { return deviceOpen; }
    bool effectLoaded(int index) const;
    bool musicLoaded() const { return musicStream != nullptr; }

    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;

private:
    SoundPlayer() = default;
    ~SoundPlayer() = default;

    // The voice a new effect play goes to: a free one, or else the oldest play.
    int voiceForNextEffect() const;
    void releaseMusic();

    Mix_Music* musicStream = nullptr;        // the tune being streamed; null when none
    SDL_RWops* musicSource = nullptr;        // reader over musicBytes that the stream pulls from
    std::vector<unsigned char> musicBytes;   // the whole MP3 file, alive while it streams
    Mix_Chunk* effectSamples[effectCount] = {};  // decoded effects; null before init or if loading failed
    unsigned long long voiceStarted[effectVoices] = {};  // play count at each voice's last start
    unsigned long long effectPlays = 0;      // effect plays started so far
    bool initialised = false;                // init has run
    bool deviceOpen = false;                 // the output device opened
};
