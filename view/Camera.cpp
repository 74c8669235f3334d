#include "view/Camera.h"

#include <cmath>

Camera* Camera::instance() {
    static Camera* camera = new Camera();
    return camera;
}

bool Camera::storeSize(int width, int height) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    windowWidth_ = width;
    windowHeight_ = height;
    return true;
}

double Camera::halfHeight() const {
    const float halfAngle = static_cast<float>(fovY_ / 2.0);  // degrees, taken as a float
    return std::fabs(eyeZ_) * std::tan(halfAngle * 0.017453292519943295);
}
