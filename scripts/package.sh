#!/usr/bin/env bash
# Builds the Debian package lyrandel_VERSION_ARCH.deb from a release build with Debian's
# hardening flags, its dependencies computed from the program (dpkg-shlibdeps), and runs
# lintian on it when lintian is installed.
#
#   bash scripts/package.sh [OUTDIR]        # default OUTDIR: the source folder
#
# LYRANDEL_PACKAGE_BUILD=DIR packs an already built build folder instead of making a fresh
# release build in build-package (the test suite does this; such a package lacks the hardening
# flags). LYRANDEL_PACKAGE_FAST=1 compresses quickly. LYRANDEL_MAINTAINER sets the Maintainer.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
out_dir=$(realpath -m "${1:-$source_dir}")
version=$(sed -n 's/^project(Lyrandel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
arch=$(dpkg --print-architecture)
maintainer=${LYRANDEL_MAINTAINER:-Lyrandel developers <maintainers@lyrandel.org>}
deb="$out_dir/lyrandel_${version}_${arch}.deb"

build=${LYRANDEL_PACKAGE_BUILD:-}
if [ -z "$build" ]; then
  build=build-package
  # Debian's compiler and linker flags (hardening, fortified functions, read-only relocations).
  CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DLYRANDEL_TESTS=OFF -DLYRANDEL_BENCH=OFF -DCMAKE_INSTALL_PREFIX=/usr
  cmake --build "$build" --parallel "$(nproc)" --target lyrandel demo-content icons
fi

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
root="$stage/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr --strip >/dev/null
# Debian keeps games in /usr/games; the bundled content stays at ../share/lyrandel from there.
mkdir -p "$root/usr/games"
mv "$root/usr/bin/lyrandel" "$root/usr/games/lyrandel"
rmdir "$root/usr/bin"

# Debian's documentation files: compressed manual page, copyright and changelog.
gzip -9n "$root/usr/share/man/man6/lyrandel.6"
doc="$root/usr/share/doc/lyrandel"
mkdir -p "$doc"
cp dist/debian/copyright "$doc/copyright"
release_date=$(sed -n 's/^set(LYRANDEL_RELEASE_DATE "\([0-9-]*\)".*/\1/p' dist/CMakeLists.txt)
{
  echo "lyrandel ($version) unstable; urgency=medium"
  echo
  echo "  * Release $version."
  echo
  echo " -- $maintainer  $(LC_ALL=C date -u -R -d "$release_date")"
} | gzip -9n >"$doc/changelog.gz"

# The program's shared libraries decide most dependencies; the font and the GL driver are
# loaded at run time by name, so they are named here.
mkdir -p "$stage/debian"
printf 'Source: lyrandel\n\nPackage: lyrandel\nArchitecture: any\n' >"$stage/debian/control"
shlibs=$(cd "$stage" && dpkg-shlibdeps -O root/usr/games/lyrandel 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
depends="$shlibs, fonts-ipaexfont-gothic, libgl1"

chmod -R u+rwX,go+rX,go-w "$root"
mkdir -p "$root/DEBIAN"
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
cat >"$root/DEBIAN/control" <<EOF
Package: lyrandel
Version: $version
Architecture: $arch
Maintainer: $maintainer
Installed-Size: $size
Depends: $depends
Section: games
Priority: optional
Homepage: $(sed -n 's/^set(LYRANDEL_HOMEPAGE "\([^"]*\)".*/\1/p' dist/CMakeLists.txt)
Description: keyboard rhythm game with two lanes of falling notes
 Pick a song and one of its three levels, then play two lanes of notes that
 fall towards a hit line while the song plays: the red lane with W, A, S and D,
 the blue lane with I, J, K and L. Every press is judged Perfect, Great, OK,
 Bad or Miss; a run ends with a score, the longest combo and a bonus, and the
 best scores are kept for each local account.
 .
 Three original demo songs with three charts each are included; songs of the
 player's own go into the player's folder.
EOF
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

compression=(-Zxz)
[ "${LYRANDEL_PACKAGE_FAST:-0}" = 1 ] && compression=(-Zgzip -z1)
mkdir -p "$out_dir"
dpkg-deb --root-owner-group "${compression[@]}" --build "$root" "$deb" >/dev/null
echo "$deb"

if command -v lintian >/dev/null; then
  # Errors fail the script; warnings are listed on stderr (the README explains the expected
  # ones), so that stdout holds only the package's path.
  lintian --fail-on error --tag-display-limit 0 "$deb" 2> >(grep -v 'root privileges' >&2) >&2
fi
