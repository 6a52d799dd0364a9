# The .deb: `cmake --build BUILD --target package` writes BUILD/quelmar_VERSION_ARCH.deb, for
# /usr on Debian 12.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quelmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "generator of synthetic chromatograms")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Places Gaussian and tailing peaks on detector channels, adds noise and drift, and saves\n\
the sampled signal with every peak's measured bounds, baseline and area as .xstg documents.\n\
quelmar is the desktop program; xstgtool makes documents and whole corpora with their\n\
ground truth from JSON scenario files, and dumps and exports them (CSV, AIA/netCDF).")
set(QUELMAR_PACKAGE_MAINTAINER "Quelmar maintainers <maintainers@quelmar.invalid>"
    CACHE STRING "The Maintainer field of the .deb")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUELMAR_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries the programs link; these are loaded at run time and so
# invisible to it: the SVG icon engine and image plugin (the window's icons), and Qt's own
# Russian texts for its dialogs. The menu entry, MIME type, icon cache and man index are
# refreshed by the file triggers of desktop-file-utils, shared-mime-info, the icon theme and
# man-db, which need nothing from this package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(QUELMAR_BUILD_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n")
endif()
include(CPack)
