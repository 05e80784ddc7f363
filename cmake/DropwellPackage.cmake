# A Debian package of the installed files, built by `scripts/package`. The
# libraries it needs are found from the programs themselves (dpkg-shlibdeps);
# what is only started or loaded at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dropwell)
set(CPACK_PACKAGE_VENDOR "The Dropwell developers")
set(CPACK_PACKAGE_CONTACT "The Dropwell developers <dropwell@dropwell.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Keeps the desktop and the Downloads folder empty")
set(CPACK_PACKAGE_DESCRIPTION "Dropwell lives in the system tray. Screenshots, its own captures and screen
recordings, and new finished downloads land in one Inbox folder and expire on
their own unless kept with one click. It captures the screen, a region, a
window or a whole scrolling page, and records the screen to MP4.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://dropwell.org")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# Qt's platform and image plugins, the SVG icon engine, the sound theme and the
# accessibility bus are loaded or started at run time, so no library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-qpa-plugins, qt6-svg-plugins | libqt6svg6, sound-theme-freedesktop, at-spi2-core, dbus-user-session | dbus-x11")
# Qt's own translations put its standard dialogs into the language of Dropwell's.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "pulseaudio | pipewire-pulse, qt6-translations-l10n")
include(CPack)
