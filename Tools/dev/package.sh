#!/usr/bin/env bash
# ./dev package [ARCH]     Debian packages, lintian-clean, in build-package/ARCH/ (native or armhf)
source "$(dirname "$0")/lib.sh"
arch=${1:-$(dpkg --print-architecture)}
out=build-package/$arch
ensure_build_deps lintian
# The project's version is the one version; the changelog must follow it.
upstream=$(dpkg-parsechangelog -S Version | sed 's/-[^-]*$//')
if [ "$upstream" != "$(project_version)" ]; then
  echo "dev: debian/changelog is at $upstream, the project at $(project_version)" >&2
  exit 1
fi
# From a copy of the tree, so that each architecture's packages land in a folder of their own.
rm -rf "$out"
copy_tree "$out/src"
if [ "$arch" = "$(dpkg --print-architecture)" ]; then
  (cd "$out/src" && dpkg-buildpackage -us -uc -b)
else
  ensure_armhf
  (cd "$out/src" && dpkg-buildpackage -us -uc -b --host-arch "$arch" -Pcross,nocheck)
fi
lintian --fail-on error,warning "$out"/*.changes
