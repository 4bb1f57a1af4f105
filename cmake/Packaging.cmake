# The Debian package (cpack -G DEB): what app/ installs, with the dependencies computed from the
# binary by dpkg-shlibdeps plus what the binary cannot show.
set(CPACK_PACKAGE_NAME zeltozelto)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ZeltoZelto")
set(CPACK_PACKAGE_CONTACT "ZeltoZelto maintainers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Composes a picture out of text layers")
set(CPACK_PACKAGE_DESCRIPTION
    "ZeltoZelto composes a picture out of text layers: each layer's text, font, colour, spacing \
and place on the canvas, shown or hidden, in a stacking order of the user's choice.")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so invisible to dpkg-shlibdeps: the fonts of the default layer font and of
# the Japanese window font. Qt's X11 platform plugin comes with libqt6gui6, which the binary
# links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-ipafont-gothic")
include(CPack)
