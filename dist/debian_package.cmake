# The Debian package: cpack -G DEB in the build folder. Library dependencies are found by
# dpkg-shlibdeps from the installed programs; what it cannot see is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lvcfg)
set(CPACK_PACKAGE_VENDOR "lvcfg developers")
set(CPACK_PACKAGE_CONTACT "lvcfg developers <lvcfg@users.noreply.github.com>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/lvcfg/lvcfg)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration tool for sub-GHz radio modules")
set(CPACK_PACKAGE_DESCRIPTION
  "lvcfg reads the configuration block of a 433 MHz or 470 MHz radio network
module over a serial port, shows its settings in one window, writes them back
and keeps configurations in .cfg files. With Auto Config, every module plugged
in is programmed with the next MAC address.
lvcfg-line shows a whole production line as a live web page from the station
database. The package also holds lvcfg-module-sim, a simulated module on a
pseudo-terminal, and a udev rule that keeps ModemManager off common USB-serial
adapters and lets the desktop user open them.")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS udev)
# lvcfg-line hands the page Debian's Chart.js, which it reads at start.
set(CPACK_DEBIAN_PACKAGE_DEPENDS libjs-chart.js)
if(LVCFG_WITH_QT)
  # The window needs a platform plugin (xcb, wayland), which no program links directly; the
  # Chinese list items and prompts need a font that has their glyphs.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libjs-chart.js, qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "udev, fonts-wqy-zenhei")
endif()

include(CPack)
