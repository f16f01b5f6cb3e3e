# The kit for 64-bit ARM Linux hosts (the arm64 laptops and CI runners tweak
# developers test on), built with Debian's cross compilers against the arm64
# libraries of this machine (dpkg --add-architecture arm64), and run under
# qemu-aarch64:
#
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64.cmake
#
# scripts/test-arm.sh aarch64 installs what this needs, builds and runs the
# substrate's and the simulated SpringBoard's tests.

set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(SBKIT_CROSS_TRIPLE aarch64-linux-gnu)
set(SBKIT_CROSS_ARCH arm64)
set(SBKIT_CROSS_QEMU qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian_cross.cmake)
