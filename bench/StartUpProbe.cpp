#include "StartUpProbe.h"

#include "app/Callbacks.h"
#include "app/Game.h"
#include "app/GameWindow.h"
#include "app/SwapInterval.h"
#include "FrameSamples.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const childFlag = "--start-up-child";

StartUpProbe::Clock::time_point entry{};  // when the child's main() began
double startUpCallMs = 0.0;  // milliseconds, the game child's Game::startUp

double msSince(StartUpProbe::Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(StartUpProbe::Clock::now() - from).count();
}

// Prints the child's two figures and leaves at once: nothing after the first
// frame belongs to start-up.
[[noreturn]] void report(double startUpMs) {
    glFinish();
    const double firstFrameMs = msSince(entry);
    std::printf("%.3f %.3f\n", startUpMs, firstFrameMs);
    std::fflush(stdout);
    _exit(0);
}

void bareDisplay() {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glutSwapBuffers();
    report(0.0);
}

void gameDisplay() {
    onDisplay();
    report(startUpCallMs);
}

// The window exactly as the game's entry opens it, swap interval 0.
void openWindow(int argc, char** argv) {
    GameWindow::open(argc, argv);
    SwapInterval::request(0);
}

[[noreturn]] void runBare(int argc, char** argv) {
    openWindow(argc, argv);
    glutDisplayFunc(bareDisplay);
    glutMainLoop();
    _exit(1);
}

[[noreturn]] void runGame(int argc, char** argv) {
    openWindow(argc, argv);
    GameWindow::registerCallbacks();
    glutDisplayFunc(gameDisplay);  // the game's frame, timed
    const StartUpProbe::Clock::time_point before = StartUpProbe::Clock::now();
    Game::instance()->startUp();
    startUpCallMs = msSince(before);
    glutMainLoop();
    _exit(1);
}

std::string ownPath() {
    char path[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// One child's figures; false when it did not report.
bool runChild(const std::string& self, const char* kind, double& startUpMs, double& firstFrameMs) {
    const std::string command = "'" + self + "' " + childFlag + " " + kind;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return false;
    }
    const int read = std::fscanf(pipe, "%lf %lf", &startUpMs, &firstFrameMs);
    const int status = pclose(pipe);
    return read == 2 && status == 0;
}

}  // namespace

bool StartUpProbe::runChildIfAsked(int argc, char** argv, Clock::time_point mainEntry) {
    if (argc < 3 || std::strcmp(argv[1], childFlag) != 0) {
        return false;
    }
    entry = mainEntry;
    if (std::strcmp(argv[2], "bare") == 0) {
        runBare(argc, argv);
    }
    runGame(argc, argv);
}

StartUpProbe::Times StartUpProbe::measure(int runs) {
    const std::string self = ownPath();
    FrameSamples bare;
    FrameSamples startUpCall;
    FrameSamples gameFrame;
    for (int run = 0; run < runs; ++run) {
        double startUpMs = 0.0;
        double firstFrameMs = 0.0;
        if (runChild(self, "bare", startUpMs, firstFrameMs)) {
            bare.add(firstFrameMs);
        }
        if (runChild(self, "game", startUpMs, firstFrameMs)) {
            startUpCall.add(startUpMs);
            gameFrame.add(firstFrameMs);
        }
    }
    Times times;
    times.bareFirstFrame = bare.median();
    times.gameStartUpCall = startUpCall.median();
    times.gameFirstFrame = gameFrame.median();
    return times;
}
