#!/bin/sh
# build:   `cpack -G DEB` builds the package, and it holds the program's files
#          with dependencies from its libraries and the recommendations.
# install: as root, `dpkg -i`, the installed program runs, `dpkg -r` removes
#          every file. Skipped (77) when not root or when a zb-sequenta package
#          is already installed, which the test must not touch.
set -eu
fail() { echo "FAIL: $*" >&2; exit 1; }
mode=$1
deb() { ls "$ZB_DEB_DIR"/zb-sequenta_*.deb 2>/dev/null | head -n 1; }

if [ "$mode" = build ]; then
    rm -rf "$ZB_DEB_DIR"
    mkdir -p "$ZB_DEB_DIR"
    (cd "$ZB_BUILD_DIR" && cpack -G DEB -B "$ZB_DEB_DIR" >"$ZB_DEB_DIR/cpack.log" 2>&1) ||
        { cat "$ZB_DEB_DIR/cpack.log" >&2; fail "cpack"; }
    package=$(deb)
    [ -n "$package" ] || fail "no .deb in $ZB_DEB_DIR"
    contents=$(dpkg-deb --contents "$package")
    for f in $ZB_INSTALLED_FILES; do
        echo "$contents" | grep -q " \./usr/$f\$" || fail "$f not in the package:
$contents"
    done
    [ "$(dpkg-deb --field "$package" Package)" = zb-sequenta ] || fail "package name"
    [ "$(dpkg-deb --field "$package" Version)" = "$ZB_VERSION" ] || fail "version"
    depends=$(dpkg-deb --field "$package" Depends)
    for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6; do
        echo "$depends" | grep -q "$lib" || fail "Depends lacks $lib: $depends"
    done
    [ "$(dpkg-deb --field "$package" Recommends)" = "sendemail, cron" ] || fail "Recommends"
    echo "$(basename "$package"): $(stat -c %s "$package") bytes"
    echo "Depends: $depends"
    exit 0
fi

[ "$(id -u)" -eq 0 ] || { echo "not root: dpkg -i not tried"; exit 77; }
package=$(deb)
[ -n "$package" ] || fail "no package built"

# One package test at a time on this machine, whichever build runs it.
exec 9>/run/lock/zb-sequenta-package-test.lock
flock -w 600 9 || fail "another package test holds the lock"
if dpkg-query -W -f='${Status}' zb-sequenta 2>/dev/null | grep -q "ok installed"; then
    echo "a zb-sequenta package is installed already: left alone"
    exit 77
fi
# dpkg waits for no one: retry while apt or another dpkg holds its lock.
dpkg_retrying() {
    tries=0
    until dpkg "$@" >"$ZB_DEB_DIR/dpkg.log" 2>&1; do
        tries=$((tries + 1))
        if [ $tries -ge 60 ] || ! grep -q "lock" "$ZB_DEB_DIR/dpkg.log"; then
            cat "$ZB_DEB_DIR/dpkg.log" >&2
            return 1
        fi
        sleep 2
    done
}
dpkg_retrying -i "$package" || fail "dpkg -i"
out=$(cd / && env -u DISPLAY -u WAYLAND_DISPLAY PATH=/usr/bin:/bin zb-sequenta --version) || true
dpkg_retrying -r zb-sequenta || fail "dpkg -r"
[ "$out" = "zb-sequenta $ZB_VERSION" ] || fail "installed program says '$out'"
for f in $ZB_INSTALLED_FILES; do
    [ ! -e "/usr/$f" ] || fail "/usr/$f left after dpkg -r"
done
echo "installed, ran and removed"
