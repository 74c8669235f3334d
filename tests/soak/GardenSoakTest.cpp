// A long session played through the game's own GLUT callbacks. Every planting
// reads the nine organ pictures anew and every breeding makes a seed with a
// picture of its own, so whatever is not given back piles up here: GL objects
// are counted after every restart, and the resident memory is compared.
#include "GlCensus.h"
#include "ResidentMemory.h"
#include "soak/PlayerHand.h"

#include "app/Callbacks.h"
#include "app/Game.h"
#include "app/ScreenState.h"
#include "garden/FlowerList.h"
#include "garden/Hand.h"
#include "garden/Seed.h"
#include "garden/SeedList.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int plantings = 1000;
// A game keeps every flower it grows, so the garden starts again this often.
constexpr int plantingsPerGame = 10;
// Games (of plantingsPerGame plantings each) before the memory baseline:
// caches and pools have filled by then.
constexpr int settlingGames = 10;
// Games whose resident sets make up the baseline and the final figure; their
// medians, so that a driver buffer alive at one sample does not count.
constexpr int sampledGames = 10;
// The driver keeps its vertex data in blocks of about 1 MiB, and one or two
// more of them may be alive at the end than at the baseline (a clean run grows
// by 0.9 to 2 MiB here); a leak of 4 KiB per planting goes past this.
constexpr long long allowedGrowthBytes = 3LL * 1024 * 1024;
// Allocations from this size up get pages of their own. glibc otherwise
// raises the bound each time such a block is freed, after which the driver's
// large vertex buffers come and go inside the heap and leave holes that the
// resident set keeps; a fixed bound makes it measure what the game holds.
constexpr int ownPagesFromBytes = 256 * 1024;
// The address sanitizer keeps freed memory in quarantine, so the resident set
// says nothing about leaks in such a build; its own leak check covers them.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool residentSetMeaningful = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool residentSetMeaningful = false;
#else
constexpr bool residentSetMeaningful = true;
#endif
#else
constexpr bool residentSetMeaningful = true;
#endif
constexpr float plantY = 2.0f;   // world units, inside the planting dome
constexpr int mostSteps = 40;    // motions; a stem finishes after 20 of 1 unit

long long medianOf(std::vector<long long> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The game's assets copied to a folder of the test's own, made the working
// directory while it lives, so a picture being rewritten meanwhile can't
// disturb the run.
class AssetsCopy {
public:
    AssetsCopy() : previous(std::filesystem::current_path()) {
        char pattern[] = "/tmp/bloomcross-soak-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (made != nullptr) {
            folder = made;
            std::filesystem::copy(BLOOMCROSS_SOURCE_DIR "/assets", folder,
                                  std::filesystem::copy_options::recursive);
            std::filesystem::current_path(folder);
        }
    }
    ~AssetsCopy() {
        std::filesystem::current_path(previous);
        if (!folder.empty()) {
            std::filesystem::remove_all(folder);
        }
    }
    AssetsCopy(const AssetsCopy&) = delete;
    AssetsCopy& operator=(const AssetsCopy&) = delete;
    bool ready() const { return !folder.empty(); }

private:
    std::filesystem::path previous;
    std::string folder;
};

struct SessionCounts {
    int plantings = 0;
    int breedings = 0;
    int wins = 0;
};

// Picks up the first seed on the ground, plants it, grows the stem to its
// end and, with two flowers standing, breeds them; a frame between the steps.
void plantGrowAndBreed(SessionCounts& counts) {
    SeedList& seeds = SeedList::instance();
    FlowerList& flowers = FlowerList::instance();
    ASSERT_FALSE(seeds.seeds().empty()) << "a breeding replaces every seed planted";
    const Seed& seed = *seeds.seeds().front();
    PlayerHand::clickAt(seed.x(), seed.y());
    ASSERT_EQ(handState, CarryingSeed);

    const std::size_t flowersBefore = flowers.flowers().size();
    const float x = -40.0f + 9.0f * static_cast<float>(flowersBefore % plantingsPerGame);
    PlayerHand::clickAt(x, plantY);
    ASSERT_EQ(handState, Growing);
    ++counts.plantings;
    PlayerHand::frame();
    for (int step = 1; step <= mostSteps && handState == Growing; ++step) {
        PlayerHand::moveTo(x, plantY + static_cast<float>(step));
        if (step == 10) {
            PlayerHand::frame();
        }
    }
    ASSERT_EQ(handState, Idle);
    ASSERT_EQ(flowers.flowers().size(), flowersBefore + 1);
    PlayerHand::frame();

    if (flowers.flowers().size() >= 2) {
        const std::size_t seedsBefore = seeds.seeds().size();
        const Flower& first = *flowers.flowers()[0];
        const Flower& second = *flowers.flowers()[1];
        const float secondX = second.stem.tipX();
        const float secondY = second.stem.tipY();
        PlayerHand::clickAt(first.stem.tipX(), first.stem.tipY());
        PlayerHand::clickAt(secondX, secondY);
        ASSERT_EQ(seeds.seeds().size(), seedsBefore + 1);
        ++counts.breedings;
        PlayerHand::frame();
    }
    if (screenState == Won) {
        // The breeding found the goal: a press starts a new game.
        ++counts.wins;
        PlayerHand::click();
        ASSERT_EQ(screenState, Playing);
    }
}

}  // namespace

TEST(GardenSoak, AThousandPlantingsAndBreedingsLeaveGlObjectsAndMemoryFlat) {
    mallopt(M_MMAP_THRESHOLD, ownPagesFromBytes);
    AssetsCopy assets;
    ASSERT_TRUE(assets.ready());
    setenv("SDL_AUDIODRIVER", "dummy", 0);  // no sound card in CI; the mixer still runs
    Game::instance()->startUp();
    onReshape(800, 600);
    PlayerHand::frame();   // title
    PlayerHand::click();
    PlayerHand::frame();   // instructions
    PlayerHand::click();
    ASSERT_EQ(screenState, Playing);

    SessionCounts counts;
    std::vector<GlCensus> afterRestart;      // one census per game played
    std::vector<long long> residentAfterRestart;  // bytes, one per game played
    for (int planting = 1; planting <= plantings; ++planting) {
        plantGrowAndBreed(counts);
        if (HasFatalFailure()) {
            return;
        }
        if (planting % plantingsPerGame == 0) {
            Game::instance()->restart();
            PlayerHand::frame();
            afterRestart.push_back(GlCensus::take());
            residentAfterRestart.push_back(residentBytes());
        }
    }

    EXPECT_EQ(counts.plantings, plantings);
    EXPECT_GE(counts.breedings, plantings * 8 / 10);
    ASSERT_FALSE(afterRestart.empty());
    const GlCensus first = afterRestart.front();
    EXPECT_GT(first.textures, 0) << "the census sees no texture at all";
    for (std::size_t game = 1; game < afterRestart.size(); ++game) {
        const GlCensus& now = afterRestart[game];
        if (now.textures != first.textures || now.lists != first.lists) {
            ADD_FAILURE() << "after " << (game + 1) * plantingsPerGame << " plantings: " << now.textures
                          << " textures and " << now.lists << " lists alive, after the first game "
                          << first.textures << " and " << first.lists;
            break;
        }
    }
    ASSERT_GE(residentAfterRestart.size(), static_cast<std::size_t>(settlingGames + 2 * sampledGames));
    const auto settledFrom = residentAfterRestart.begin() + settlingGames;
    const long long settledBytes = medianOf({settledFrom, settledFrom + sampledGames});
    const long long finalBytes = medianOf({residentAfterRestart.end() - sampledGames, residentAfterRestart.end()});
    if (residentSetMeaningful) {
        EXPECT_LT(finalBytes - settledBytes, allowedGrowthBytes)
            << "resident memory grew from " << settledBytes << " to " << finalBytes << " bytes between games "
            << settlingGames + 1 << "-" << settlingGames + sampledGames << " and the last " << sampledGames;
    }
    RecordProperty("wins", counts.wins);
    RecordProperty("residentGrowthBytes", std::to_string(finalBytes - settledBytes));
}
