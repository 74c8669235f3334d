#pragma once

#include <cstddef>
#include <vector>

// Looks at a sound file's bytes before the audio library is allowed to parse
// them. The library's WAV reader has a history of crashing on odd or damaged
// files, so an effect must be a plain, complete PCM (or float) WAV; a tune
// only has to look like an MP3.
class SoundFileCheck {
public:
    // True for RIFF/WAVE with a PCM 8- or 16-bit or 32-bit float format of
    // 1 to 8 channels at 8000 to 192000 Hz, followed by a data chunk of
    // whole frames that the file holds entirely, and small enough to convert
    // to the output format without a huge buffer.
    static bool isPlayableWav(const std::vector<unsigned char>& bytes);

    // True when, after an optional ID3v2 tag, an MPEG audio frame header
    // starts within the first few kilobytes and the next frame's header
    // follows it (or the file is that one frame).
    static bool looksLikeMp3(const std::vector<unsigned char>& bytes);

    // How far into the audio (after any ID3 tag) a frame header may start, in bytes.
    static constexpr std::size_t mp3SyncWindow = 4096;
    // Largest effect after conversion to 44100 Hz, counted as float frames
    // of at least two channels: what the library allocates while converting, in bytes.
    // About 45 s of 16-bit stereo at 44100 Hz, far longer than an effect;
    // the game's whole memory grows by about this much at the cap.
    static constexpr double maxConvertedBytes = 32.0 * 1024.0 * 1024.0;
};
