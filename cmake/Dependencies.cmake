# Imported targets for the dependencies: those tools/bootstrap.sh builds into VEXO_DEPS_DIR and zlib from
# Debian's mingw sysroot. All are static libraries that end up inside the .exe.
find_package(GTest CONFIG REQUIRED)

# vexo_import_static(TARGET <name> LIBRARY <file name> [DEFINES <defs...>] [LINKS <libs...>]):
# a static library found under the find roots, with the definitions and link libraries its users need.
function(vexo_import_static)
  cmake_parse_arguments(ARG "" "TARGET;LIBRARY" "DEFINES;LINKS" ${ARGN})
  string(MAKE_C_IDENTIFIER "VEXO_LIB_${ARG_LIBRARY}" cache_var)
  find_library(${cache_var} NAMES ${ARG_LIBRARY} REQUIRED)
  add_library(${ARG_TARGET} STATIC IMPORTED GLOBAL)
  set_target_properties(${ARG_TARGET} PROPERTIES
    IMPORTED_LOCATION "${${cache_var}}"
    INTERFACE_COMPILE_DEFINITIONS "${ARG_DEFINES}"
    INTERFACE_LINK_LIBRARIES "${ARG_LINKS}")
  # Headers of the dependency cache; the mingw sysroot's own include folder is already searched and must
  # not be added again (it would break libstdc++'s include_next chain).
  set(in_deps_dir FALSE)
  if(VEXO_DEPS_DIR)
    cmake_path(IS_PREFIX VEXO_DEPS_DIR "${${cache_var}}" NORMALIZE in_deps_dir)
  endif()
  if(in_deps_dir)
    set_target_properties(${ARG_TARGET} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${VEXO_DEPS_DIR}/include")
  endif()
endfunction()

# zlib from Debian's libz-mingw-w64-dev (the static archive, not its DLL import library).
vexo_import_static(TARGET deps::zlib LIBRARY libz.a)
# libzip with AES through Windows CNG.
vexo_import_static(TARGET deps::zip LIBRARY libzip.a DEFINES ZIP_STATIC LINKS deps::zlib bcrypt)
# 7-Zip's SHA-256, with the processor's SHA instructions where it has them.
vexo_import_static(TARGET deps::sha256 LIBRARY lib7zip-sha256.a)
# libcurl with TLS through Schannel and content decoding through zlib. Its certificate calls load crypt32 at
# the first connection; ws2_32 and secur32 are needed by its global set-up at start anyway.
vexo_import_static(TARGET deps::curl LIBRARY libcurl.a DEFINES CURL_STATICLIB
  LINKS deps::zlib ws2_32 delay::crypt32 bcrypt secur32 advapi32)
