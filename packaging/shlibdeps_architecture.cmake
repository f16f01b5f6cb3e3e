# Read by cpack before it packages: dpkg-shlibdeps looks the libraries up for
# the package's architecture (its multiarch folders, its packages), which for a
# 32-bit ARM build is not this machine's.
set(ENV{DEB_HOST_ARCH} ${CPACK_DEBIAN_PACKAGE_ARCHITECTURE})
