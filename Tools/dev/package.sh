#!/usr/bin/env bash
# ./dev package [ARCH]     Debian packages, lintian- and blhc-clean, in build-package/ARCH/ (native or armhf)
source "$(dirname "$0")/lib.sh"
arch=${1:-$(dpkg --print-architecture)}
out=build-package/$arch
ensure_build_deps lintian blhc
# The project's version is the one version; the changelog must follow it.
upstream=$(dpkg-parsechangelog -S Version | sed 's/-[^-]*$//')
if [ "$upstream" != "$(project_version)" ]; then
  echo "dev: debian/changelog is at $upstream, the project at $(project_version)" >&2
  exit 1
fi
# From a copy of the tree, so that each architecture's packages land in a folder of their own.
build_packages "$arch" "$out"
lintian --fail-on error,warning "$out"/*.changes
# Every compile and link line of the build log carries the hardening flags dpkg-buildflags gives.
blhc --all "$out/build.log"
