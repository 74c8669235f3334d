// Measures the game's smoothness and whether it grows: start-up, play frames
// with many flowers, the planting frame, and memory and GL objects across a
// long session. Prints one table, each figure beside a floor from the same run.
//
// Run on an X display (tests/support/with-display.sh); the working directory
// becomes the assets folder (the source tree's, or the one given as the only
// argument).
#include "FrameSamples.h"
#include "GardenBuilder.h"
#include "GlCensus.h"
#include "ResidentMemory.h"
#include "StartUpProbe.h"

#include "app/Backdrop.h"
#include "app/Callbacks.h"
#include "app/Game.h"
#include "app/GameWindow.h"
#include "app/ScreenState.h"
#include "app/SwapInterval.h"
#include "garden/FlowerList.h"
#include "garden/GoalFlower.h"
#include "garden/Hand.h"
#include "garden/SeedList.h"
#include "view/Camera.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int startUpRuns = 9;        // child processes of each kind
constexpr int warmUpFrames = 30;      // frames drawn and not counted after each change
constexpr int sampledFrames = 300;    // frames of each kind per flower count
constexpr int sessionCycles = 1000;   // plantings (and breedings) in the long session
constexpr int earlyCycles = 10;       // the session's first census
constexpr int cyclesPerGame = 10;     // a restart after this many plantings keeps the garden small
constexpr double frameBudgetMs = 16.7;  // one frame at 60 Hz
constexpr double mebibyte = 1024.0 * 1024.0;

double msSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// One whole game frame, finished before the clock stops.
double gameFrame() {
    const Clock::time_point start = Clock::now();
    onDisplay();
    glFinish();
    return msSince(start);
}

// The floor of a play frame: the same matrix set-up, the background picture
// alone, the swap.
double backgroundFrame() {
    const Clock::time_point start = Clock::now();
    glPushMatrix();
        Camera::instance()->apply();
        Backdrop::instance()->drawBackground();
        glutSwapBuffers();
    glPopMatrix();
    glFinish();
    return msSince(start);
}

void nothingToDisplay() {}

// The fragments one frame writes, from an occlusion query; -1 without one.
long long fragmentsWritten(double (*drawFrame)()) {
    using GenQueries = void (*)(GLsizei, GLuint*);
    using QueryOp = void (*)(GLenum, GLuint);
    using EndQuery = void (*)(GLenum);
    using QueryResult = void (*)(GLuint, GLenum, GLuint*);
    const auto gen = reinterpret_cast<GenQueries>(glutGetProcAddress("glGenQueries"));
    const auto begin = reinterpret_cast<QueryOp>(glutGetProcAddress("glBeginQuery"));
    const auto end = reinterpret_cast<EndQuery>(glutGetProcAddress("glEndQuery"));
    const auto result = reinterpret_cast<QueryResult>(glutGetProcAddress("glGetQueryObjectuiv"));
    const auto remove = reinterpret_cast<GenQueries>(glutGetProcAddress("glDeleteQueries"));
    if (gen == nullptr || begin == nullptr || end == nullptr || result == nullptr || remove == nullptr) {
        return -1;
    }
    constexpr GLenum samplesPassed = 0x8914;  // GL_SAMPLES_PASSED
    constexpr GLenum queryResult = 0x8866;    // GL_QUERY_RESULT
    GLuint query = 0;
    gen(1, &query);
    begin(samplesPassed, query);
    drawFrame();
    end(samplesPassed);
    GLuint fragments = 0;
    result(query, queryResult, &fragments);
    remove(1, &query);
    return static_cast<long long>(fragments);
}

// Lets GLUT handle what the window system sent (map, reshape), outside any timing.
void pumpEvents() { glutMainLoopEvent(); }

struct FrameRow {
    int flowers = 0;
    FrameSamples play;
    FrameSamples background;
    long long playFragments = 0;        // written by one play frame
    long long backgroundFragments = 0;  // written by one background-only frame
};

// Play frames and background-only frames, taken in turn so that a change in
// the machine's load falls on both alike.
FrameRow measureFrames(int flowers) {
    FrameRow row;
    row.flowers = flowers;
    for (int i = 0; i < warmUpFrames; ++i) {
        pumpEvents();
        gameFrame();
        backgroundFrame();
    }
    for (int i = 0; i < sampledFrames; ++i) {
        pumpEvents();
        row.play.add(gameFrame());
        row.background.add(backgroundFrame());
    }
    row.playFragments = fragmentsWritten(gameFrame);
    row.backgroundFragments = fragmentsWritten(backgroundFrame);
    return row;
}

// The traits of the starting seeds in turn: none of them is the goal, so a
// garden built from them never ends the game.
Traits seedTraits(int index) { return startingSeeds()[index % startingSeedCount].traits; }

// Plants flowers until the garden holds `target`, each from a seed laid on the
// ground, carried and planted; the planting frames are kept.
void growGardenTo(int target, FrameSamples& plantingFrames, int& shortestStem) {
    FlowerList& flowers = FlowerList::instance();
    while (static_cast<int>(flowers.flowers().size()) < target) {
        const int index = static_cast<int>(flowers.flowers().size());
        // Spread over the dome's width in an order that mixes neighbours.
        const float x = -44.0f + 88.0f * static_cast<float>((index * 37) % 100) / 99.0f;
        Seed* seed = GardenBuilder::laySeed(seedTraits(index), x, 30.0f);
        GardenBuilder::carry(*seed);
        GardenBuilder::moveTo(x);
        pumpEvents();
        const Clock::time_point start = Clock::now();
        GardenBuilder::plant(x);
        onDisplay();
        glFinish();
        plantingFrames.add(msSince(start));
        const int segments = GardenBuilder::grow(x, 1.5f + static_cast<float>(index % 3));
        if (segments < shortestStem) {
            shortestStem = segments;
        }
        gameFrame();
    }
}

struct Checkpoint {
    long long resident = 0;  // bytes
    GlCensus census;
};

Checkpoint checkpoint() {
    Checkpoint point;
    point.census = GlCensus::take();
    point.resident = residentBytes();
    return point;
}

struct Session {
    FrameSamples planting;  // the frame of each planting, event included
    FrameSamples click;     // the planting press alone: the reset reading nine files
    FrameSamples ordinary;  // the other frames of the same cycles
    Checkpoint early;       // after earlyCycles
    Checkpoint late;        // after all cycles
    int breedings = 0;
    int wins = 0;
};

// One planting, the stem grown, and a breeding whenever two flowers stand:
// a seed from the ground (starting or bred) becomes a flower, two flowers give
// a new seed. The garden starts again every cyclesPerGame plantings, as a
// finished game would; the checkpoints fall right after such a restart.
Session runSession() {
    Session session;
    FlowerList& flowers = FlowerList::instance();
    SeedList& seeds = SeedList::instance();
    Game::instance()->restart();
    for (int cycle = 1; cycle <= sessionCycles; ++cycle) {
        if (seeds.seeds().empty()) {
            GardenBuilder::laySeed(seedTraits(cycle), 0.0f, 10.0f);
        }
        const Seed& seed = *seeds.seeds().front();
        const float x = -40.0f + 9.0f * static_cast<float>(flowers.flowers().size() % 10);
        GardenBuilder::carry(seed);
        GardenBuilder::moveTo(x);
        pumpEvents();
        const Clock::time_point start = Clock::now();
        GardenBuilder::plant(x);
        session.click.add(msSince(start));
        onDisplay();
        glFinish();
        session.planting.add(msSince(start));
        GardenBuilder::grow(x, 2.0f);
        session.ordinary.add(gameFrame());
        if (flowers.flowers().size() >= 2) {
            GardenBuilder::breed(*flowers.flowers()[0], *flowers.flowers()[1]);
            ++session.breedings;
            session.ordinary.add(gameFrame());
        }
        if (screenState == Won) {
            // The breeding found the goal: a press starts a new game.
            ++session.wins;
            onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 400, 300);
            onMouse(GLUT_LEFT_BUTTON, GLUT_UP, 400, 300);
        }
        if (cycle % cyclesPerGame == 0) {
            Game::instance()->restart();
            gameFrame();
            if (cycle == earlyCycles) {
                session.early = checkpoint();
            }
            if (cycle == sessionCycles) {
                session.late = checkpoint();
            }
        }
    }
    return session;
}

std::string firstLineStarting(const char* path, const std::string& key) {
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.compare(0, key.size(), key) == 0) {
            const std::size_t colon = line.find(':');
            return colon == std::string::npos ? line : line.substr(colon + 2);
        }
    }
    return "unknown";
}

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    double one = 0.0;
    double five = 0.0;
    double fifteen = 0.0;
    file >> one >> five >> fifteen;
    char text[64] = {};
    std::snprintf(text, sizeof(text), "%.2f %.2f %.2f", one, five, fifteen);
    return text;
}

// Width x height from a PNG's header, or "missing".
std::string pictureSize(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof(header))) {
        return "missing";
    }
    auto word = [&](int at) {
        return (unsigned(header[at]) << 24) | (unsigned(header[at + 1]) << 16) |
               (unsigned(header[at + 2]) << 8) | unsigned(header[at + 3]);
    };
    return std::to_string(word(16)) + "x" + std::to_string(word(20));
}

const char* verdict(bool met) { return met ? "yes" : "**no**"; }

void printFrameRows(const FrameRow& row, double mostRatio) {
    const double medianRatio = row.play.median() / row.background.median();
    const double tailRatio = row.play.percentile(99.0) / row.background.percentile(99.0);
    char target[32] = "-";
    char met[16] = "-";
    if (mostRatio > 0.0) {
        std::snprintf(target, sizeof(target), "<= %.1fx", mostRatio);
        std::snprintf(met, sizeof(met), "%s", verdict(medianRatio <= mostRatio));
    }
    std::printf("| Play frame, %d flowers, median | %.2f ms | background only, median | %.2f ms | %.2fx | %s | %s |\n",
                row.flowers, row.play.median(), row.background.median(), medianRatio, target, met);
    std::printf("| Play frame, %d flowers, 99th percentile | %.2f ms | background only, 99th percentile | %.2f ms | %.2fx | - | - |\n",
                row.flowers, row.play.percentile(99.0), row.background.percentile(99.0), tailRatio);
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point mainEntry = Clock::now();
    if (StartUpProbe::runChildIfAsked(argc, argv, mainEntry)) {
        return 0;
    }
    const std::string assets = argc > 1 ? argv[1] : BLOOMCROSS_SOURCE_DIR "/assets";
    if (chdir(assets.c_str()) != 0) {
        std::fprintf(stderr, "bloomcross_bench: can't enter %s\n", assets.c_str());
        return 1;
    }
    // No sound card in a benchmark run: the mixer runs, silently.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string loadBefore = loadAverage();

    const StartUpProbe::Times startUp = StartUpProbe::measure(startUpRuns);

    int glutArgc = 1;
    GameWindow::open(glutArgc, argv);
    glutReshapeFunc(onReshape);
    glutDisplayFunc(nothingToDisplay);
    const bool swapControlled = SwapInterval::request(0);
    Game::instance()->startUp();
    for (int i = 0; i < 100 && Camera::instance()->windowWidth() != 800; ++i) {
        pumpEvents();
    }
    const std::string renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));

    gameFrame();  // the title
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 400, 300);  // to the instructions
    gameFrame();
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 400, 300);  // into play
    handMotion(0.0f, 40.0f);  // the pointer rests over empty sky

    FrameSamples buildPlantings;
    int shortestStem = 1 << 30;
    std::vector<FrameRow> rows;
    for (int flowers : {0, 30, 100}) {
        growGardenTo(flowers, buildPlantings, shortestStem);
        handMotion(0.0f, 40.0f);
        rows.push_back(measureFrames(flowers));
    }

    const Session session = runSession();
    const std::string loadAfter = loadAverage();

    const double startUpRatio = startUp.gameFirstFrame / startUp.bareFirstFrame;
    const long long growth = session.late.resident - session.early.resident;

    std::printf("| Measure | Figure | Floor | Floor figure | Ratio | Target | Met |\n");
    std::printf("|---|---|---|---|---|---|---|\n");
    std::printf("| Game::startUp | %.1f ms | - | - | - | - | - |\n", startUp.gameStartUpCall);
    std::printf("| Start-up to first title frame | %.1f ms | bare GLUT window, first cleared and swapped frame | %.1f ms | %.2fx | <= 2x | %s |\n",
                startUp.gameFirstFrame, startUp.bareFirstFrame, startUpRatio, verdict(startUpRatio <= 2.0));
    for (const FrameRow& row : rows) {
        printFrameRows(row, row.flowers == 100 ? 1.5 : 0.0);
    }
    std::printf("| Planting frame, median | %.2f ms | ordinary frame of the same games, median | %.2f ms | %.2fx | - | - |\n",
                session.planting.median(), session.ordinary.median(),
                session.planting.median() / session.ordinary.median());
    std::printf("| Planting frame, longest of %d | %.2f ms | ordinary frame, longest of %d | %.2f ms | %.2fx | <= %.1f ms | %s |\n",
                session.planting.count(), session.planting.largest(), session.ordinary.count(),
                session.ordinary.largest(), session.planting.largest() / session.ordinary.largest(), frameBudgetMs,
                verdict(session.planting.largest() <= frameBudgetMs));
    std::printf("| Planting frame, 99th percentile | %.2f ms | ordinary frame, 99th percentile | %.2f ms | %.2fx | - | - |\n",
                session.planting.percentile(99.0), session.ordinary.percentile(99.0),
                session.planting.percentile(99.0) / session.ordinary.percentile(99.0));
    std::printf("| Planting frames over %.1f ms | %d of %d | ordinary frames over %.1f ms | %d of %d | - | - | - |\n",
                frameBudgetMs, session.planting.countAbove(frameBudgetMs), session.planting.count(), frameBudgetMs,
                session.ordinary.countAbove(frameBudgetMs), session.ordinary.count());
    std::printf("| Planting press alone (nine files read), median | %.2f ms | - | - | - | - | - |\n",
                session.click.median());
    std::printf("| Resident memory after %d plantings | %.2f MiB | after %d plantings | %.2f MiB | %+.0f KiB | growth < 1 MiB | %s |\n",
                sessionCycles, session.late.resident / mebibyte, earlyCycles, session.early.resident / mebibyte,
                growth / 1024.0, verdict(growth < static_cast<long long>(mebibyte)));
    std::printf("| Live GL textures after %d plantings | %d | after %d plantings | %d | %+d | constant | %s |\n",
                sessionCycles, session.late.census.textures, earlyCycles, session.early.census.textures,
                session.late.census.textures - session.early.census.textures,
                verdict(session.late.census.textures == session.early.census.textures));
    std::printf("| Live GL display lists after %d plantings | %d | after %d plantings | %d | %+d | constant | %s |\n",
                sessionCycles, session.late.census.lists, earlyCycles, session.early.census.lists,
                session.late.census.lists - session.early.census.lists,
                verdict(session.late.census.lists == session.early.census.lists));

    std::printf("\nMachine: %s, %ld cores; renderer %s; swap interval 0 %s; LP_NUM_THREADS %s.\n",
                firstLineStarting("/proc/cpuinfo", "model name").c_str(), sysconf(_SC_NPROCESSORS_ONLN),
                renderer.c_str(), swapControlled ? "set" : "(no swap control offered)",
                std::getenv("LP_NUM_THREADS") != nullptr ? std::getenv("LP_NUM_THREADS") : "unset");
    std::printf("Load average before %s, after %s. Start-up: median of %d fresh processes each, timed from main().\n",
                loadBefore.c_str(), loadAfter.c_str(), startUpRuns);
    std::printf("Frames: %d of each kind per row, play and background-only taken in turn; stems of %d or more segments.\n",
                sampledFrames, shortestStem);
    std::printf("Session: %d plantings, %d breedings, %d won games, a restart every %d plantings; "
                "planting frames while the garden grew to 100 flowers: median %.2f ms, longest %.2f ms.\n",
                session.planting.count(), session.breedings, session.wins, cyclesPerGame, buildPlantings.median(),
                buildPlantings.largest());
    std::printf("Fragments written per frame (occlusion query): background only %lld",
                rows.front().backgroundFragments);
    for (const FrameRow& row : rows) {
        std::printf("; %d flowers %lld", row.flowers, row.playFragments);
    }
    std::printf(".\n");
    std::printf("Pictures: background %s, petal %s, leaf %s, pistil %s, seed %s.\n",
                pictureSize("images/background.png").c_str(), pictureSize("images/petal.png").c_str(),
                pictureSize("images/leaf.png").c_str(), pictureSize("images/pistil.png").c_str(),
                pictureSize("images/seed.png").c_str());
    return 0;
}
