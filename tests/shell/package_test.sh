#!/usr/bin/env bash
# Builds the Debian package from the test build (quick compression; lintian runs inside when
# installed), unpacks it, and runs the packaged program's content check as a new player.
# usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
deb=$(LYRANDEL_PACKAGE_BUILD="$build" LYRANDEL_PACKAGE_FAST=1 \
  bash "$(dirname "$0")/../../scripts/package.sh" "$work")
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/home"
HOME="$work/home" XDG_DATA_HOME='' "$work/root/usr/games/lyrandel" --check
