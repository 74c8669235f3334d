# Installs the game the way a desktop game is installed, and packs it as a
# Debian package with CPack.
#
#   games/bloomcross                     the launcher on the PATH
#   libexec/bloomcross/bloomcross        the game itself
#   share/games/bloomcross/              images/, audio/, fonts/: its working folder
#   share/applications, share/metainfo   the menu entry and the software-centre record
#   share/icons/hicolor/NxN/apps         the icon at 64, 128 and 256 pixels
#   share/doc/bloomcross, share/man      copyright, changelog and the manual page
#
# Only the game's own files belong to the "game" component, and only that
# component goes into the package, so test programs and the benchmark never do.
include(GNUInstallDirs)

set(BLOOMCROSS_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(BLOOMCROSS_STAGE_DIR ${PROJECT_BINARY_DIR}/packaging)

set(BLOOMCROSS_INSTALL_GAMESDIR games)
set(BLOOMCROSS_INSTALL_PRIVATEDIR ${CMAKE_INSTALL_LIBEXECDIR}/bloomcross)
set(BLOOMCROSS_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/bloomcross)
set(BLOOMCROSS_METAINFO_ID io.bloomcross.Bloomcross)

# Folders made by these rules are 0755 whatever the umask of the one who installs.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The launcher finds the game and its data from its own place, through paths
# relative to the launcher's folder: the same script then works under /usr,
# /usr/local, a staging root or wherever the tree is moved.
function(bloomcross_relative_to_launcher out dir)
  if(IS_ABSOLUTE "${dir}")
    set(full "${dir}")
  else()
    set(full "${CMAKE_INSTALL_PREFIX}/${dir}")
  endif()
  file(RELATIVE_PATH relative "${CMAKE_INSTALL_PREFIX}/${BLOOMCROSS_INSTALL_GAMESDIR}" "${full}")
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()
bloomcross_relative_to_launcher(BLOOMCROSS_LAUNCHER_TO_DATA "${BLOOMCROSS_INSTALL_DATADIR}")
bloomcross_relative_to_launcher(BLOOMCROSS_LAUNCHER_TO_PRIVATE "${BLOOMCROSS_INSTALL_PRIVATEDIR}")
configure_file(${BLOOMCROSS_PACKAGING_DIR}/bloomcross.in ${BLOOMCROSS_STAGE_DIR}/bloomcross @ONLY)

# The changelog and the manual page go in gzipped without a name or a time
# stamp, so the same sources always give the same bytes.
find_program(BLOOMCROSS_GZIP gzip)
if(NOT BLOOMCROSS_GZIP)
  message(FATAL_ERROR "gzip is needed for the installed changelog and manual page")
endif()
foreach(document changelog bloomcross.6)
  execute_process(
    COMMAND ${BLOOMCROSS_GZIP} -9nc
    INPUT_FILE ${BLOOMCROSS_PACKAGING_DIR}/${document}
    OUTPUT_FILE ${BLOOMCROSS_STAGE_DIR}/${document}.gz
    RESULT_VARIABLE gzip_result)
  if(NOT gzip_result EQUAL 0)
    message(FATAL_ERROR "gzip of packaging/${document} failed: ${gzip_result}")
  endif()
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY
    CMAKE_CONFIGURE_DEPENDS ${BLOOMCROSS_PACKAGING_DIR}/${document})
endforeach()

install(TARGETS bloomcross
  RUNTIME DESTINATION ${BLOOMCROSS_INSTALL_PRIVATEDIR} COMPONENT game)
install(PROGRAMS ${BLOOMCROSS_STAGE_DIR}/bloomcross
  DESTINATION ${BLOOMCROSS_INSTALL_GAMESDIR} COMPONENT game)

# Every file of the three asset folders, read at install time, so a new
# picture or sound needs no change here.
install(DIRECTORY
    ${PROJECT_SOURCE_DIR}/assets/images
    ${PROJECT_SOURCE_DIR}/assets/audio
    ${PROJECT_SOURCE_DIR}/assets/fonts
  DESTINATION ${BLOOMCROSS_INSTALL_DATADIR} COMPONENT game
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE
  PATTERN ".*" EXCLUDE
  PATTERN "*~" EXCLUDE)

install(FILES ${BLOOMCROSS_PACKAGING_DIR}/bloomcross.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
install(FILES ${BLOOMCROSS_PACKAGING_DIR}/${BLOOMCROSS_METAINFO_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
foreach(size 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/bloomcross-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME bloomcross.png COMPONENT game)
endforeach()
install(FILES ${BLOOMCROSS_PACKAGING_DIR}/copyright ${BLOOMCROSS_STAGE_DIR}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT game)
install(FILES ${BLOOMCROSS_STAGE_DIR}/bloomcross.6.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)

# The Debian package: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME bloomcross)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Bloomcross developers")
set(CPACK_PACKAGE_CONTACT "Bloomcross developers <maintainers@bloomcross.io>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flower-breeding puzzle game played with the mouse")
# Wrapped by hand: the package's long description is shown as it stands.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Plant seeds in a small garden seen from the side, draw each flower's stem\n"
  "upwards with the pointer and crossbreed the finished flowers: every new\n"
  "seed carries the first parent's traits with one trait taken from the\n"
  "second. Breed the goal flower pictured in the corner to win.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://bloomcross.io/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};game;/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
