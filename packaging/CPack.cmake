# The Debian package: `cpack -G DEB` in the build folder (or `cmake --build --preset
# default --target package`). Included from the top-level CMakeLists.txt, after every
# install rule.
set(CPACK_PACKAGE_NAME vorbix)
set(CPACK_PACKAGE_VENDOR "Vorbix maintainers")
set(CPACK_PACKAGE_CONTACT "${VORBIX_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front end for BBC Micro emulators")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Help pages, manuals and web links open through the desktop's opener, xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# The summary above is the first line of the Debian description; this is the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vorbix keeps a catalogue of BBC Micro disk, tape and ROM images and runs a
program in the emulator of your choice with one double-click. It places the
image in the emulator's folders, edits its ROM configuration, can swap the DFS
ROM for the E00 DFS, and writes reports on the catalogue.
.
The vorbix-cli command lists, checks and runs the same catalogue from a
terminal.")
# Directories as Debian policy wants them, whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
