#!/bin/sh
# Installs the Debian packages the project needs, only those missing.
# Sourced by run.sh and test.sh; uses sudo when not run as root.
set -eu

ZB_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libgtest-dev libgmock-dev googletest \
libbenchmark-dev procps xvfb xauth x11-utils openbox icewm xfwm4 fonts-dejavu-core \
dpkg-dev file desktop-file-utils appstream man-db cron libfontconfig-dev libx11-dev libxcb1-dev libxtst-dev libxi-dev libxss-dev dbus-daemon \
weston xwayland qt6-wayland \
sendemail libio-socket-ssl-perl libnet-ssleay-perl python3-aiosmtpd \
adwaita-qt6 fonts-ipafont-gothic"

zb_missing_packages() {
    missing=""
    for p in $ZB_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $p"
        fi
    done
    echo "$missing"
}

zb_install_deps() {
    missing=$(zb_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then
        SUDO=""
    elif command -v sudo >/dev/null 2>&1; then
        SUDO="sudo"
    else
        echo "These packages are missing and neither root nor sudo is available:$missing" >&2
        exit 1
    fi
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    # shellcheck disable=SC2086
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

# Configures and builds into $1 (default: build) with any extra CMake options.
zb_build() {
    dir=${1:-build}
    shift || true
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}
