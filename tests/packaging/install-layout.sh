#!/bin/sh
# `cmake --install` into a temporary DESTDIR lays out exactly the program's
# files under the prefix; the desktop entry, the AppStream file and the manual
# page are valid, and the installed program runs.
set -eu
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$dest" cmake --install "$ZB_BUILD_DIR" --prefix /opt/zb >/dev/null

expected=$(for f in $ZB_INSTALLED_FILES; do echo "./opt/zb/$f"; done | sort)
actual=$(cd "$dest" && find . ! -type d | sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$(printf '%s\n' "$expected" >"$dest/expected"; printf '%s\n' "$actual" | diff "$dest/expected" - || true)"

share="$dest/opt/zb/share"
desktop-file-validate "$share/applications/$ZB_APP_ID.desktop" || fail "desktop entry"
grep -qx 'Exec=zb-sequenta' "$share/applications/$ZB_APP_ID.desktop" || fail "Exec line"
grep -qx 'Categories=Utility;System;' "$share/applications/$ZB_APP_ID.desktop" || fail "Categories line"
grep -qx "Icon=$ZB_APP_ID" "$share/applications/$ZB_APP_ID.desktop" || fail "Icon line"
appstreamcli validate --no-net "$share/metainfo/$ZB_APP_ID.metainfo.xml" || fail "AppStream metadata"
grep -q "<release version=\"$ZB_VERSION\"" "$share/metainfo/$ZB_APP_ID.metainfo.xml" || fail "release version"

# The manual page renders without a single warning and names its version.
warnings=$(MANWIDTH=80 man --warnings -l "$share/man/man1/zb-sequenta.1.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "manual page warnings: $warnings"
MANWIDTH=80 man -l "$share/man/man1/zb-sequenta.1.gz" 2>/dev/null | grep -q "zb-sequenta $ZB_VERSION" ||
    fail "manual page version"

# Without any display, as a package check would run it.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$dest/opt/zb/bin/zb-sequenta" --version)
[ "$out" = "zb-sequenta $ZB_VERSION" ] || fail "installed program says '$out'"
echo "installed layout OK"
