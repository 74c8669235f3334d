# The Debian packages the game and its tests need, and a way to install only
# the missing ones (with sudo when not root). Sourced by play.sh and test.sh.

BUILD_PACKAGES="build-essential cmake pkg-config freeglut3-dev libglu1-mesa-dev libpng-dev libfreetype-dev libsdl2-mixer-dev"
TEST_PACKAGES="libgtest-dev xvfb xauth xdotool imagemagick x11-utils fonts-dejavu-core sox libsox-fmt-mp3 strace clang-14 libclang-rt-14-dev desktop-file-utils appstream"

install_missing() {
    missing=""
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
            missing="$missing $package"
        fi
    done
    [ -z "$missing" ] && return 0
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing:$missing"
    $sudo apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}
