#!/usr/bin/env bash
# ./dev package-check      the native and armhf packages unpacked, linked against and run
source "$(dirname "$0")/lib.sh"
# The native packages unpacked into a scratch root, the examples built against them with
# find_package and with pkg-config and run, the manual page shown; the armhf tool from its
# package run under qemu-arm.
ensure_build_deps man-db
ensure_armhf
native=$(dpkg --print-architecture)
root=$PWD/build-package/check
rm -rf "$root"
mkdir -p "$root/$native" "$root/armhf"
for deb in build-package/"$native"/*.deb; do dpkg-deb -x "$deb" "$root/$native"; done
for deb in build-package/armhf/*.deb; do dpkg-deb -x "$deb" "$root/armhf"; done
cmake -DPREFIX="$root/$native/usr" -DLIBDIR="lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)" \
  -DSOURCE_DIR="$PWD" -DWORK_DIR="$root/examples" -DCXX=c++ -P Tests/Packaging/RunExamples.cmake
MANPATH=$root/$native/usr/share/man man -P cat quor-om | grep -q "quor-om - command-line tool"
armlib=$root/armhf/usr/lib/arm-linux-gnueabihf
[ "$(qemu-arm -E LD_LIBRARY_PATH="$armlib" "$root/armhf/usr/bin/quor-om" encode 9.001 21.5)" = 0c33 ]
qemu-arm -E LD_LIBRARY_PATH="$armlib" "$root/armhf/usr/bin/quor-om" stress --requests 2000
echo "dev: packages install, link, run and document themselves"
