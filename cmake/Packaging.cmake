# The Debian package of the Linux program, made by CPack from the install
# rules (`make package` runs it and puts the package into dist/).

set(TINTWRIGHT_PACKAGE_MAINTAINER "Tintwright maintainers <tintwright@example.org>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tintwright)
set(CPACK_PACKAGE_VENDOR "Tintwright")
set(CPACK_PACKAGE_CONTACT "${TINTWRIGHT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour palette editor for Super Nintendo ROM images")
set(CPACK_PACKAGE_DESCRIPTION "Tintwright shows the colour words at any offset of a Super Nintendo ROM image
as a strip of 32 swatches and edits them with boxes, sliders, a colour picker,
gradients and a colour search, and keeps a book of named offsets. The edited
ROM is saved to a second file; the source ROM is only read.")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/cpack)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TINTWRIGHT_PACKAGE_MAINTAINER}")
# The libraries the program links (Qt 6, X11) are read from the binary, so the
# package asks for the versions it was built against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game preview runs this core when nothing else is named.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libretro-bsnes-mercury-balanced")

include(CPack)
