# The kit for the device's processor, 32-bit ARM with hardware floating
# point, built with Debian's cross compilers against the armhf libraries of
# this machine (dpkg --add-architecture armhf), and run under qemu-arm:
#
#   cmake -S . -B build-arm -DCMAKE_TOOLCHAIN_FILE=cmake/armhf.cmake
#
# scripts/test-arm.sh installs what this needs, builds and runs the tests.

set(CMAKE_SYSTEM_PROCESSOR arm)
set(SBKIT_CROSS_TRIPLE arm-linux-gnueabihf)
set(SBKIT_CROSS_ARCH armhf)
set(SBKIT_CROSS_QEMU qemu-arm)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
