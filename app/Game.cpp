#include "app/Game.h"

#include "app/Backdrop.h"
#include "app/FrameClock.h"
#include "app/ScreenState.h"
#include "draw/Sprite.h"
#include "garden/FlowerList.h"
#include "garden/GardenHooks.h"
#include "garden/GoalFlower.h"
#include "garden/Hand.h"
#include "garden/SeedList.h"
#include "sound/SoundPlayer.h"
#include "text/GlyphFont.h"
#include "view/Camera.h"

#include <GL/freeglut.h>

Game* Game::instance() {
    static Game* game = new Game();
    return game;
}

Game::Game() : lastTick(glutGet(GLUT_ELAPSED_TIME)) {}

void Game::startUp() {
    // The garden's pictures and reward sound come from the layers below it.
    installSpriteHooks();
    gardenHooks.playFinishSound = SoundPlayer::playFinishSound;

    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);

    Backdrop::instance()->loadPictures();
    Backdrop::instance()->setRectangle(75.0, 50.0, 0.0, -50.0);
    GlyphFont::instance()->build("./fonts/rabiohead.ttf", 46);
    setUpGoal();
    addStartingSeeds();
    SoundPlayer::instance()->init();
    SeedList::instance().loadMarkers();
    FlowerList::instance().loadMarkers();
    SoundPlayer::instance()->playMusic("./audio/backgroundmusic.mp3");
    screenState = Title;
    started = true;
}

void Game::tick() {
    nowTick = glutGet(GLUT_ELAPSED_TIME);
    const FrameStep step = frameStep(lastTick, nowTick);
    timeStep = step.seconds;
    if (step.clamped) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    lastTick = nowTick;
}

void Game::update() {
    const float step = static_cast<float>(timeStep) * (screenState == Playing ? 1.5f : 6.0f);
    FlowerList::instance().updateSway(step);
    if (FlowerList::instance().anyMatches(goal.getTraits())) {
        screenState = Won;
    }
}

void Game::display() {
    glPushMatrix();
        tick();
        if (screenState != Playing) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            if (screenState == Title || screenState == Instructions) {
                if (screenState == Title) {
                    Backdrop::instance()->drawTitle();
                } else {
                    Backdrop::instance()->drawInstructions();
                }
                glutSwapBuffers();
                glPopMatrix();
                return;
            }
        }
        if (started) {
            update();
        }
        Camera::instance()->apply();
        if (screenState == Playing) {
            Backdrop::instance()->drawBackground();
            goal.drawIcon();
        } else {
            Backdrop::instance()->drawGameOver();
        }
        FlowerList::instance().draw();
        if (growingFlower) {
            growingFlower->draw();
        }
        SeedList::instance().draw();
        glutSwapBuffers();
    glPopMatrix();
}

void Game::restart() {
    FlowerList::instance().clear();
    SeedList::instance().clear();
    growingFlower.reset();
    // The hand may still hold a seed or a flower that the clears just destroyed.
    resetHand();
    addStartingSeeds();
}
