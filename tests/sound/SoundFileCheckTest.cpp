#include "sound/SoundFileCheck.h"

#include "SoundFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct WavCase {
    const char* name;
    WavShape shape;
    bool playable;
};

WavShape with(void (*change)(WavShape&)) {
    WavShape s;
    change(s);
    return s;
}

const WavCase wavCases[] = {
    {"mono16At44100", WavShape{}, true},
    {"stereo8At8000", with([](WavShape& s) { s.channels = 2; s.bits = 8; s.rate = 8000; }), true},
    {"float32At48000", with([](WavShape& s) { s.format = 3; s.bits = 32; s.rate = 48000; }), true},
    {"extensiblePcm", with([](WavShape& s) { s.format = 0xFFFE; s.channels = 2; }), true},
    {"eightChannels", with([](WavShape& s) { s.channels = 8; }), true},
    {"oddListChunkFirst", with([](WavShape& s) { s.listChunkBeforeFmt = 7; }), true},
    {"adpcm", with([](WavShape& s) { s.format = 2; s.bits = 4; }), false},
    {"extensibleAdpcm", with([](WavShape& s) { s.format = 0xFFFE; s.subFormat = 2; }), false},
    {"extensibleHeaderCut", with([](WavShape& s) { s.format = 0xFFFE; s.fmtLength = 18; }), false},
    {"pcm24", with([](WavShape& s) { s.bits = 24; }), false},
    {"float16", with([](WavShape& s) { s.format = 3; s.bits = 16; }), false},
    {"noChannels", with([](WavShape& s) { s.channels = 0; }), false},
    {"nineChannels", with([](WavShape& s) { s.channels = 9; }), false},
    {"rateZero", with([](WavShape& s) { s.rate = 0; }), false},
    {"rateTooLow", with([](WavShape& s) { s.rate = 4000; }), false},
    {"rateTooHigh", with([](WavShape& s) { s.rate = 400000; }), false},
    {"blockAlignWrong", with([](WavShape& s) { s.blockAlignChange = 2; }), false},
    {"fmtTooShort", with([](WavShape& s) { s.fmtLength = 14; }), false},
    {"dataBeforeFmt", with([](WavShape& s) { s.dataBeforeFmt = true; }), false},
    {"twoFmtChunks", with([](WavShape& s) { s.secondFmt = true; }), false},
    {"dataPastEndOfFile", with([](WavShape& s) { s.dataLengthChange = 2; }), false},
    {"dataClaimsTwoGigabytes", with([](WavShape& s) { s.dataLengthChange = 0x7FFFFFF0L; }), false},
    {"dataNotWholeFrames", with([](WavShape& s) { s.channels = 2; s.dataLengthChange = -2; }), false},
    {"dataEmpty", with([](WavShape& s) { s.frames = 0; }), false},
    // 5.3 M frames at 8000 Hz become over 256 MiB of floats at 44100 Hz stereo.
    {"convertsTooLarge", with([](WavShape& s) { s.bits = 8; s.rate = 8000; s.frames = 5300000; s.toneHz = 0.0; }),
     false},
};

void PrintTo(const WavCase& c, std::ostream* out) { *out << c.name; }

class WavFiles : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavFiles, OnlyCompletePlainWavsPass) {
    EXPECT_EQ(SoundFileCheck::isPlayableWav(wavBytes(GetParam().shape)), GetParam().playable);
}

INSTANTIATE_TEST_SUITE_P(Shapes, WavFiles, ::testing::ValuesIn(wavCases),
                         [](const ::testing::TestParamInfo<WavCase>& info) { return std::string(info.param.name); });

TEST(WavFileBytes, DamagedContainersAreRefused) {
    const std::vector<unsigned char> good = wavBytes(WavShape{});
    ASSERT_TRUE(SoundFileCheck::isPlayableWav(good));

    std::vector<unsigned char> cut = good;
    cut.resize(good.size() - 100);  // the data chunk loses its tail
    std::vector<unsigned char> notRiff = good;
    notRiff[0] = 'X';
    std::vector<unsigned char> notWave = good;
    notWave[8] = 'A';
    std::vector<unsigned char> headerOnly(good.begin(), good.begin() + 11);
    std::vector<unsigned char> noData(good.begin(), good.begin() + 12 + 8 + 16);

    for (const auto& bytes : {cut, notRiff, notWave, headerOnly, noData, std::vector<unsigned char>{}}) {
        EXPECT_FALSE(SoundFileCheck::isPlayableWav(bytes)) << "size " << bytes.size();
    }
}

std::vector<unsigned char> bytesOf(std::initializer_list<int> values) {
    std::vector<unsigned char> out;
    for (int v : values) {
        out.push_back(static_cast<unsigned char>(v));
    }
    return out;
}

TEST(Mp3FileBytes, RealTunesAndBareFramesPass) {
    for (const char* name : {"tone.mp3", "left.mp3", "right.mp3"}) {
        EXPECT_TRUE(SoundFileCheck::looksLikeMp3(readWholeFile(soundFixture(name)))) << name;
    }
    EXPECT_TRUE(SoundFileCheck::looksLikeMp3(bytesOf({0xFF, 0xFB, 0x90, 0x44})));

    // An ID3v2 tag of 300 bytes (syncsafe 0x02 0x2C) ahead of the frames.
    std::vector<unsigned char> tagged = bytesOf({'I', 'D', '3', 4, 0, 0, 0, 0, 0x02, 0x2C});
    tagged.resize(10 + 300, 0xFF);  // tag padding that looks like sync must be skipped
    const std::vector<unsigned char> frame = bytesOf({0xFF, 0xFB, 0x90, 0x44});
    EXPECT_FALSE(SoundFileCheck::looksLikeMp3(tagged));
    tagged.insert(tagged.end(), frame.begin(), frame.end());
    EXPECT_TRUE(SoundFileCheck::looksLikeMp3(tagged));
}

TEST(Mp3FileBytes, OtherBytesAreRefused) {
    // A good frame header just past the window of junk where one may start.
    std::vector<unsigned char> lateSync(SoundFileCheck::mp3SyncWindow + 4, 'x');
    const unsigned char header[4] = {0xFF, 0xFB, 0x90, 0x44};
    std::copy(header, header + 4, lateSync.end() - 4);
    const std::vector<std::vector<unsigned char>> refused = {
        {},
        bytesOf({'h', 'e', 'l', 'l', 'o', ' ', 'm', 'p', '3'}),
        wavBytes(WavShape{}),
        lateSync,
        bytesOf({0xFF, 0xF9, 0x90, 0x44}),  // layer bits reserved
        bytesOf({0xFF, 0xEB, 0x90, 0x44}),  // version bits reserved
        bytesOf({0xFF, 0xFB, 0xF0, 0x44}),  // bitrate index 15
        bytesOf({0xFF, 0xFB, 0x9C, 0x44}),  // sampling rate index 3
        bytesOf({'I', 'D', '3', 4, 0, 0, 0x80, 0, 0, 0, 0xFF, 0xFB, 0x90, 0x44}),  // size not syncsafe
        bytesOf({'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0}),  // a tag and nothing else
    };
    for (std::size_t i = 0; i < refused.size(); ++i) {
        EXPECT_FALSE(SoundFileCheck::looksLikeMp3(refused[i])) << "case " << i;
    }
}

}  // namespace
