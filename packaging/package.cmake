# The Debian package: `make deb` (tools/make-deb.sh) writes build/vireta_VERSION_ARCH.deb.
# lintian finds nothing to warn of, so no override is kept; a warning it comes to give
# is to be fixed, or overridden in a lintian-overrides file here with the reason it stays.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vireta)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tilt-driving game for a phone held in the hand")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vireta is a small driving game: tilt the phone left or right to steer a red car\n"
    "down a winding grey road, tip it forward to speed up and back to slow down, and\n"
    "beat the best lap time. On the desktop the arrow keys, the mouse or a gamepad's\n"
    "stick or motion sensor tilt the phone in its window.\n"
    "\n"
    "The game runs on a handset of its own, so a drive is the same tick for tick\n"
    "everywhere. A headless mode replays a recorded drive and traces every frame.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vireta developers <developers@vireta.example>")
# The libraries it links are found by dpkg-shlibdeps; the font is read at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
