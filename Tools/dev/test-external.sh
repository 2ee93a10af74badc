#!/usr/bin/env bash
# ./dev test-external      built, tested and packaged against the stand-ins installed as an SDK
source "$(dirname "$0")/lib.sh"
# The library is built from a copy of the tree without Platform/ (so nothing reaches the
# stand-ins by path), tested (the examples find the platform outside the library's prefix)
# and packaged in the external-platform profile. Then the device's case: an armhf SDK inside
# a sysroot, the library and quor-om cross-built against it, and quor-om run under qemu-arm.
root=$PWD/build-external
sdk=/opt/quor-platform-sdk
ensure_build_deps lintian
rm -rf "$root"
install_platform_sdk "$root/sdk-build" "$root/sdk"
copy_tree "$root/src"
rm -rf "$root/src/Platform"
cmake -S "$root/src" -B "$root/build" -G Ninja -DQUOR_WERROR=ON -DQUOR_PLATFORM=external \
  -DCMAKE_PREFIX_PATH="$root/sdk" -DQUOR_BUILD_BENCH=OFF
cmake --build "$root/build"
run_ctest "$root/build" -j"$(nproc)"
(cd "$root/src" && QUOR_PLATFORM_PREFIX=$root/sdk \
  dpkg-buildpackage -us -uc -b -Ppkg.quorobjectmodel.external-platform,nocheck)
lintian --fail-on error,warning "$root"/*.changes
for deb in "$root"/*.deb; do
  echo "dev: $(dpkg-deb -f "$deb" Package) Depends: $(dpkg-deb -f "$deb" Depends)"
done

# The sysroot shares the machine's armhf libraries and cross toolchain through /usr.
ensure_armhf
sysroot=$root/sysroot
mkdir -p "$sysroot"
ln -s /usr "$sysroot/usr"
install_platform_sdk "$root/sdk-build-armhf" "$sysroot$sdk" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/Toolchain-armhf.cmake"
cmake -S "$root/src" -B "$root/build-armhf" -G Ninja -DQUOR_WERROR=ON -DQUOR_PLATFORM=external \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/Toolchain-armhf.cmake" -DCMAKE_SYSROOT="$sysroot" \
  -DCMAKE_PREFIX_PATH="$sdk" -DBUILD_TESTING=OFF -DQUOR_BUILD_BENCH=OFF
cmake --build "$root/build-armhf"
# Installed into the sysroot: quor-om runs from there, and pkg-config finds the library with
# the platform.
cmake --install "$root/build-armhf" --prefix "$sysroot/opt/quor" >/dev/null
runpath=$sysroot$sdk/lib:$sysroot/opt/quor/lib
[ "$(qemu-arm -E LD_LIBRARY_PATH="$runpath" "$sysroot/opt/quor/bin/quor-om" encode 9.001 21.5)" \
  = 0c33 ]
pcdirs=$sysroot/opt/quor/lib/pkgconfig:$sysroot/usr/lib/arm-linux-gnueabihf/pkgconfig
flags=$(PKG_CONFIG_SYSROOT_DIR=$sysroot PKG_CONFIG_LIBDIR=$pcdirs:$sysroot/usr/share/pkgconfig \
  pkg-config --cflags --libs quorobjectmodel)
echo "dev: pkg-config in the sysroot: $flags"
# shellcheck disable=SC2086 # the flags are words
arm-linux-gnueabihf-g++ --sysroot="$sysroot" -std=c++17 -Wno-psabi Examples/Conversion/main.cpp \
  $flags -o "$root/conversion-armhf"
qemu-arm -E LD_LIBRARY_PATH="$runpath" "$root/conversion-armhf"
echo "dev: built, tested and packaged against the platform SDK; armhf against a sysroot"
