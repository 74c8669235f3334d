#include "sound/SoundPlayer.h"

#include "SoundFixtures.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int captureRate = 44100;          // frames per second the mixer writes
constexpr std::size_t captureFrameBytes = 4;  // 16-bit stereo
constexpr int windowFrames = 441;           // 10 ms
constexpr int loudLevel = 2000;             // a sample above this is sound, not silence

// A fresh working folder with an audio/ folder inside, removed afterwards.
class GameFolder {
public:
    GameFolder() {
        char pattern[] = "/tmp/bloomcross-sound-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directory(path("audio"));
    }
    ~GameFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }
    void putEffect(const std::vector<unsigned char>& bytes) const { writeWholeFile(path("audio/wow.wav"), bytes); }
    void putTune(const char* fixture, const char* name = "backgroundmusic.mp3") const {
        writeWholeFile(path(std::string("audio/") + name), readWholeFile(soundFixture(fixture)));
    }

private:
    std::string root_;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

struct ChildRun {
    bool exited = false;  // ended through _exit, not by a signal
    int exitCode = -1;
    int signal = 0;       // the signal that ended it, if one did
    std::string report;   // what the scenario returned
    std::string output;   // everything it wrote to stdout and stderr
};

std::string textOf(const std::string& path) {
    const std::vector<unsigned char> bytes = readWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs `scenario` in a process of its own, in `folder`, with `environment`:
// the one player and the audio library start fresh every time. A scenario
// still running after 30 s is ended by SIGALRM.
ChildRun runInFreshProcess(const GameFolder& folder, const Environment& environment,
                           const std::function<std::string()>& scenario) {
    const std::string reportPath = folder.path("report.txt");
    const std::string outputPath = folder.path("output.txt");
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        alarm(30);
        const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        close(out);
        if (chdir(folder.root().c_str()) != 0) {
            _exit(90);
        }
        for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY", "ALSA_CONFIG_PATH"}) {
            unsetenv(name);
        }
        for (const auto& [name, value] : environment) {
            setenv(name.c_str(), value.c_str(), 1);
        }
        const std::string report = scenario();
        writeWholeFile(reportPath, std::vector<unsigned char>(report.begin(), report.end()));
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(0);
    }
    ChildRun run;
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        return run;
    }
    run.exited = WIFEXITED(status);
    run.exitCode = run.exited ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.report = textOf(reportPath);
    run.output = textOf(outputPath);
    return run;
}

Environment dummyDriver() { return {{"SDL_AUDIODRIVER", "dummy"}}; }

Environment diskDriver(const GameFolder& folder) {
    return {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", folder.path("mix.raw")}, {"SDL_DISKAUDIODELAY", "0"}};
}

// --- helpers that run inside the child ---

long captureSize() {
    struct stat info {};
    const char* path = std::getenv("SDL_DISKAUDIOFILE");
    return (path != nullptr && stat(path, &info) == 0) ? static_cast<long>(info.st_size) : 0;
}

// Waits until the disk driver has written `seconds` more of mixed audio.
void letMixerRun(double seconds) {
    const long target = captureSize() + static_cast<long>(seconds * captureRate) * captureFrameBytes;
    for (int waited = 0; captureSize() < target && waited < 10000; ++waited) {
        SDL_Delay(1);
    }
}

void waitUntilEffectsEnd() {
    for (int waited = 0; Mix_Playing(-1) > 0 && waited < 10000; ++waited) {
        SDL_Delay(1);
    }
}

// Closes the device so the disk driver's capture file is complete.
void finishCapture() {
    Mix_CloseAudio();
    SDL_Quit();
}

std::string stateOf(const SoundPlayer& player) {
    char text[96];
    std::snprintf(text, sizeof text, "open=%d effect=%d voices=%d music=%d", player.audioOpen() ? 1 : 0,
                  player.effectLoaded(0) ? 1 : 0, player.audioOpen() ? Mix_Playing(-1) : 0,
                  player.audioOpen() ? Mix_PlayingMusic() : 0);
    return text;
}

// --- reading a capture in the parent ---

struct Capture {
    std::vector<std::int16_t> samples;  // interleaved left, right
    std::size_t frames() const { return samples.size() / 2; }
    bool loud(std::size_t frame, int channel) const {
        const int v = samples[frame * 2 + channel];
        return v > loudLevel || v < -loudLevel;
    }
};

Capture readCapture(const GameFolder& folder) {
    const std::vector<unsigned char> bytes = readWholeFile(folder.path("mix.raw"));
    Capture capture;
    capture.samples.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < capture.samples.size(); ++i) {
        capture.samples[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return capture;
}

// Whether each 10 ms window has sound on channel 0, 1, or (-1) either.
std::vector<bool> loudWindows(const Capture& capture, int channel) {
    std::vector<bool> windows(capture.frames() / windowFrames, false);
    for (std::size_t w = 0; w < windows.size(); ++w) {
        for (std::size_t f = w * windowFrames; f < (w + 1) * windowFrames && !windows[w]; ++f) {
            windows[w] = channel < 0 ? (capture.loud(f, 0) || capture.loud(f, 1)) : capture.loud(f, channel);
        }
    }
    return windows;
}

// Lengths, in windows, of the runs of loud windows.
std::vector<int> loudRuns(const std::vector<bool>& windows) {
    std::vector<int> runs;
    int length = 0;
    for (bool loud : windows) {
        if (loud) {
            ++length;
        } else if (length > 0) {
            runs.push_back(length);
            length = 0;
        }
    }
    if (length > 0) {
        runs.push_back(length);
    }
    return runs;
}

WavShape toneEffect(double seconds) {
    WavShape shape;
    shape.frames = static_cast<std::uint32_t>(seconds * shape.rate);
    shape.amplitude = 0.5;
    return shape;
}

// Channels the mixer reported as cut short, in order.
std::atomic<int> takenOverCount{0};
int takenOver[16] = {};
void noteTakenOver(int channel) {
    const int at = takenOverCount.fetch_add(1);
    if (at < 16) {
        takenOver[at] = channel;
    }
}

// ------------------------------------------------------------------------

TEST(SoundPlayerEffect, EachPlayIsHeardOnceInFull) {
    GameFolder folder;
    folder.putEffect(wavBytes(toneEffect(0.1)));
    const ChildRun run = runInFreshProcess(folder, diskDriver(folder), [] {
        SoundPlayer* player = SoundPlayer::instance();
        player->init();
        player->playEffect(0);
        waitUntilEffectsEnd();
        letMixerRun(0.2);
        SoundPlayer::playFinishSound();  // the garden's way in plays the same effect
        waitUntilEffectsEnd();
        letMixerRun(0.2);
        player->playEffect(1);  // there is no effect 1 or -1
        player->playEffect(-1);
        letMixerRun(0.2);
        finishCapture();
        return std::string("done");
    });
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    ASSERT_EQ(run.report, "done");

    const Capture capture = readCapture(folder);
    const std::vector<int> runs = loudRuns(loudWindows(capture, -1));
    ASSERT_EQ(runs.size(), 2u);
    for (int length : runs) {
        EXPECT_GE(length, 9);  // 100 ms, give or take a window at each edge
        EXPECT_LE(length, 12);
    }
    // The mono effect sounds on both sides.
    EXPECT_EQ(loudRuns(loudWindows(capture, 0)).size(), 2u);
    EXPECT_EQ(loudRuns(loudWindows(capture, 1)).size(), 2u);
}

class QuickEffects : public ::testing::TestWithParam<int> {};

TEST_P(QuickEffects, FourSoundAtMostAndTheOldestIsTakenOver) {
    const int gapMilliseconds = GetParam();
    GameFolder folder;
    folder.putEffect(wavBytes(toneEffect(2.0)));
    const ChildRun run = runInFreshProcess(folder, dummyDriver(), [gapMilliseconds] {
        SoundPlayer* player = SoundPlayer::instance();
        player->init();
        Mix_ChannelFinished(noteTakenOver);
        for (int play = 0; play < 8; ++play) {
            player->playEffect(0);
            SDL_Delay(static_cast<Uint32>(gapMilliseconds));
        }
        std::string report = "voices=" + std::to_string(Mix_AllocateChannels(-1)) +
                             " playing=" + std::to_string(Mix_Playing(-1)) + " takenOver=";
        for (int i = 0; i < takenOverCount.load() && i < 16; ++i) {
            report += std::to_string(takenOver[i]) + ",";
        }
        return report;
    });
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    // Plays 5 to 8 cut short the plays 1 to 4, oldest first.
    EXPECT_EQ(run.report, "voices=4 playing=4 takenOver=0,1,2,3,");
}

// Plays in the same millisecond tie on the mixer's clock; spaced plays don't.
INSTANTIATE_TEST_SUITE_P(Gaps, QuickEffects, ::testing::Values(0, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "gap" + std::to_string(info.param) + "ms";
                         });

TEST(SoundPlayerMusic, TheTuneLoopsOnAndOn) {
    GameFolder folder;
    folder.putTune("tone.mp3");  // 0.34 s
    const ChildRun run = runInFreshProcess(folder, diskDriver(folder), [] {
        SoundPlayer* player = SoundPlayer::instance();
        player->init();
        player->playMusic("./audio/backgroundmusic.mp3");
        letMixerRun(1.8);
        const std::string state = stateOf(*player);
        finishCapture();
        return state;
    });
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    EXPECT_EQ(run.report, "open=1 effect=0 voices=0 music=1");

    const std::vector<bool> windows = loudWindows(readCapture(folder), -1);
    std::size_t start = 0;
    while (start < windows.size() && !windows[start]) {
        ++start;
    }
    const std::size_t span = 140;  // 1.4 s: four times the tune
    ASSERT_GE(windows.size(), start + span);
    int loud = 0;
    for (std::size_t w = start; w < start + span; ++w) {
        loud += windows[w] ? 1 : 0;
    }
    EXPECT_GE(loud, 120) << "a tune played once would fill about 34 of these windows";
}

TEST(SoundPlayerMusic, ANewTuneStartsOnlyAfterTheOldOneStopped) {
    GameFolder folder;
    folder.putTune("left.mp3", "left.mp3");
    folder.putTune("right.mp3", "right.mp3");
    const ChildRun run = runInFreshProcess(folder, diskDriver(folder), [] {
        SoundPlayer* player = SoundPlayer::instance();
        player->init();
        player->playMusic("./audio/left.mp3");
        letMixerRun(0.5);
        player->playMusic("./audio/right.mp3");
        letMixerRun(0.5);
        player->playMusic("./audio/missing.mp3");  // replaces the music by nothing
        letMixerRun(0.3);
        const std::string state = stateOf(*player);
        finishCapture();
        return state;
    });
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    EXPECT_EQ(run.report, "open=1 effect=0 voices=0 music=0");

    const Capture capture = readCapture(folder);
    std::size_t lastLeft = 0;
    std::size_t firstRight = capture.frames();
    std::size_t lastRight = 0;
    std::size_t both = 0;
    bool anyLeft = false;
    for (std::size_t f = 0; f < capture.frames(); ++f) {
        const bool left = capture.loud(f, 0);
        const bool right = capture.loud(f, 1);
        if (left) {
            lastLeft = f;
            anyLeft = true;
        }
        if (right) {
            firstRight = std::min(firstRight, f);
            lastRight = f;
        }
        both += (left && right) ? 1 : 0;
    }
    ASSERT_TRUE(anyLeft);
    ASSERT_LT(firstRight, capture.frames());
    EXPECT_EQ(both, 0u);
    EXPECT_LT(lastLeft, firstRight);
    EXPECT_GE(capture.frames() - lastRight, static_cast<std::size_t>(0.25 * captureRate))
        << "the missing tune should have left silence";
}

struct MissingDevice {
    const char* name;
    bool alsa;  // ALSA without its configuration (it complains on stderr), rather than an unknown driver
};

void PrintTo(const MissingDevice& device, std::ostream* out) { *out << device.name; }

class WithoutDevice : public ::testing::TestWithParam<MissingDevice> {};

TEST_P(WithoutDevice, EverythingStaysSilentAndNothingIsPrinted) {
    GameFolder folder;
    folder.putEffect(wavBytes(WavShape{}));
    folder.putTune("tone.mp3");
    Environment environment = {{"SDL_AUDIODRIVER", "no-such-driver"}};
    if (GetParam().alsa) {
        environment = {{"SDL_AUDIODRIVER", "alsa"}, {"ALSA_CONFIG_PATH", folder.path("no-such-asound.conf")}};
    }
    const ChildRun run = runInFreshProcess(folder, environment, [] {
        SoundPlayer* player = SoundPlayer::instance();
        player->init();
        for (int play = 0; play < 6; ++play) {
            player->playEffect(0);
        }
        SoundPlayer::playFinishSound();
        player->playMusic("./audio/backgroundmusic.mp3");
        player->playMusic("./audio/backgroundmusic.mp3");
        return stateOf(*player);
    });
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.report, "open=0 effect=0 voices=0 music=0");
    EXPECT_EQ(run.output, "");
}

INSTANTIATE_TEST_SUITE_P(Devices, WithoutDevice,
                         ::testing::Values(MissingDevice{"unknownDriver", false}, MissingDevice{"alsaUnusable", true}),
                         [](const ::testing::TestParamInfo<MissingDevice>& info) { return std::string(info.param.name); });

struct FileSetup {
    const char* name;
    void (*prepare)(const GameFolder& folder);
    const char* expected;  // the player's state after one effect and the music; null: only survive
};

std::vector<unsigned char> noise(std::size_t size, std::vector<unsigned char> start = {}) {
    unsigned seed = 12345u;
    while (start.size() < size) {
        seed = seed * 1103515245u + 12345u;
        start.push_back(static_cast<unsigned char>(seed >> 16));
    }
    return start;
}

const FileSetup fileSetups[] = {
    {"goodFiles",
     [](const GameFolder& f) {
         f.putEffect(wavBytes(toneEffect(1.0)));
         f.putTune("tone.mp3");
     },
     "open=1 effect=1 voices=1 music=1"},
    {"byteStereoEffect",
     [](const GameFolder& f) {
         WavShape shape = toneEffect(1.0);
         shape.bits = 8;
         shape.channels = 2;
         shape.rate = 22050;
         f.putEffect(wavBytes(shape));
     },
     "open=1 effect=1 voices=1 music=0"},
    {"noAudioFolder", [](const GameFolder& f) { std::filesystem::remove_all(f.path("audio")); },
     "open=1 effect=0 voices=0 music=0"},
    {"foldersInstead",
     [](const GameFolder& f) {
         std::filesystem::create_directory(f.path("audio/wow.wav"));
         std::filesystem::create_directory(f.path("audio/backgroundmusic.mp3"));
     },
     "open=1 effect=0 voices=0 music=0"},
    {"namedPipes",
     [](const GameFolder& f) {
         mkfifo(f.path("audio/wow.wav").c_str(), 0644);
         mkfifo(f.path("audio/backgroundmusic.mp3").c_str(), 0644);
     },
     "open=1 effect=0 voices=0 music=0"},
    {"emptyFiles",
     [](const GameFolder& f) {
         f.putEffect({});
         writeWholeFile(f.path("audio/backgroundmusic.mp3"), {});
     },
     "open=1 effect=0 voices=0 music=0"},
    {"truncatedAndRandom",
     [](const GameFolder& f) {
         std::vector<unsigned char> wav = wavBytes(toneEffect(1.0));
         wav.resize(wav.size() / 2);
         f.putEffect(wav);
         writeWholeFile(f.path("audio/backgroundmusic.mp3"), noise(8192));
     },
     "open=1 effect=0 voices=0 music=0"},
    {"swappedFormats",
     [](const GameFolder& f) {
         writeWholeFile(f.path("audio/wow.wav"), readWholeFile(soundFixture("tone.mp3")));
         writeWholeFile(f.path("audio/backgroundmusic.mp3"), wavBytes(toneEffect(1.0)));
     },
     "open=1 effect=0 voices=0 music=0"},
    // A frame header, then garbage: whatever the decoder makes of it, the game goes on.
    {"garbageAfterFrameSync",
     [](const GameFolder& f) { writeWholeFile(f.path("audio/backgroundmusic.mp3"), noise(8192, {0xFF, 0xFB, 0x90, 0x44})); },
     nullptr},
};

void PrintTo(const FileSetup& setup, std::ostream* out) { *out << setup.name; }

class SoundFiles : public ::testing::TestWithParam<FileSetup> {};

TEST_P(SoundFiles, MissingOrDamagedFilesOnlySilenceTheirOwnSound) {
    GameFolder folder;
    GetParam().prepare(folder);
    const ChildRun run = runInFreshProcess(folder, dummyDriver(), [] {
        SoundPlayer* player = SoundPlayer::instance();
        player->init();
        player->playEffect(0);
        player->playMusic("./audio/backgroundmusic.mp3");
        SDL_Delay(50);
        return stateOf(*player);
    });
    ASSERT_TRUE(run.exited) << "signal " << run.signal;
    EXPECT_EQ(run.exitCode, 0);
    if (GetParam().expected != nullptr) {
        EXPECT_EQ(run.report, GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Setups, SoundFiles, ::testing::ValuesIn(fileSetups),
                         [](const ::testing::TestParamInfo<FileSetup>& info) { return std::string(info.param.name); });

TEST(SoundPlayerStartUp, CtrlCStillEndsTheProcess) {
    GameFolder folder;
    folder.putEffect(wavBytes(WavShape{}));
    const ChildRun run = runInFreshProcess(folder, dummyDriver(), [] {
        // As started from a terminal: a shell's background job would have SIGINT ignored.
        std::signal(SIGINT, SIG_DFL);
        SoundPlayer::instance()->init();
        std::raise(SIGINT);
        SDL_Delay(200);
        return std::string("still running");
    });
    EXPECT_FALSE(run.exited);
    EXPECT_EQ(run.signal, SIGINT);
}

}  // namespace
