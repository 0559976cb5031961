# The one version of Vorlane: project(VERSION) is the short version, VORLANE_BUILD_NUMBER the
# build. Both reach the code through the header VorlaneVersion.h of the target vorlane_version,
# and the bundle's Info.plist, the package and the man pages through the CMake variables.
set(VORLANE_BUILD_NUMBER "1" CACHE STRING "Build number of this version (CFBundleVersion)")
if(NOT VORLANE_BUILD_NUMBER MATCHES "^[0-9]+$")
    message(FATAL_ERROR "VORLANE_BUILD_NUMBER must be a whole number, not '${VORLANE_BUILD_NUMBER}'")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/VorlaneVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/version/VorlaneVersion.h @ONLY)
add_library(vorlane_version INTERFACE)
target_include_directories(vorlane_version INTERFACE ${CMAKE_BINARY_DIR}/generated/version)
