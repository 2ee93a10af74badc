# Cross build for the device: 32-bit ARM Linux (Debian armhf) with Debian's cross compiler and
# the :armhf multiarch libraries; programs and tests run under qemu-arm.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(CMAKE_LIBRARY_ARCHITECTURE arm-linux-gnueabihf)
set(CMAKE_C_COMPILER arm-linux-gnueabihf-gcc)
set(CMAKE_CXX_COMPILER arm-linux-gnueabihf-g++)
# No -L: qemu-arm then finds the multiarch loader /lib/ld-linux-armhf.so.3 and libc6:armhf.
# With -L /usr/arm-linux-gnueabihf it would mix in the cross toolchain's own libc, and
# programs with threads crash at start.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm)
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")  # GCC 7.1 ABI notes; everything here is built by one compiler
