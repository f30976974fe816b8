# Package signatures: the public key compiled into the installer and the signing of packages at build time
# (docs/package-signature.md).
set(VEXO_PACKAGE_PUBLIC_KEY "" CACHE FILEPATH
  "P-256 public key (PEM) whose signature Install.exe requires on the package; empty: no signature check")
set(VEXO_PACKAGE_SIGNING_KEY "" CACHE FILEPATH
  "P-256 private key (PEM) the sample package is signed with; empty: the -private.pem beside a -public.pem public key")
set(VEXO_SIGN_PACKAGE_TOOL ${PROJECT_SOURCE_DIR}/tools/sign-package.sh)
find_program(VEXO_OPENSSL openssl REQUIRED)

# The DER SubjectPublicKeyInfo of a P-256 key as openssl writes it, in hex: the algorithm (id-ecPublicKey,
# prime256v1), the bit string's header and the 04 byte of an uncompressed point. X and Y follow.
set(vexo_p256_key_prefix "3059301306072a8648ce3d020106082a8648ce3d03010703420004")

# vexo_public_key_der(<out hex var> <pem>): the DER SubjectPublicKeyInfo of the public key in <pem> (a public
# key, or with PRIVATE the public half of a private key), as lower-case hex. Stops the configuration when
# openssl cannot read the file.
function(vexo_public_key_der out pem)
  cmake_parse_arguments(ARG "PRIVATE" "" "" ${ARGN})
  set(input_option -pubin)
  if(ARG_PRIVATE)
    set(input_option)
  endif()
  string(MAKE_C_IDENTIFIER "${pem}" name)
  set(der ${CMAKE_CURRENT_BINARY_DIR}/${name}.der)
  execute_process(COMMAND ${VEXO_OPENSSL} pkey ${input_option} -in ${pem} -pubout -outform DER -out ${der}
    RESULT_VARIABLE status ERROR_VARIABLE error)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "openssl cannot read the key ${pem}: ${error}")
  endif()
  file(READ ${der} hex HEX)
  file(REMOVE ${der})
  set(${out} ${hex} PARENT_SCOPE)
endfunction()

# vexo_public_key_header(KEY <pem> HEADER <file> DEFINE <name> WHAT <what it is>): writes HEADER, which
# defines <name> as the 64 bytes of the P-256 public key in KEY (X then Y, big-endian), comma-separated for
# a braced initializer. Without KEY the header says so and defines nothing. The configuration stops when
# KEY is not a P-256 public key; it runs again when the key file changes.
function(vexo_public_key_header)
  cmake_parse_arguments(ARG "" "KEY;HEADER;DEFINE;WHAT" "" ${ARGN})
  if(NOT ARG_KEY)
    file(CONFIGURE OUTPUT ${ARG_HEADER} CONTENT "// ${ARG_WHAT}: none in this build (generated).\n#pragma once\n")
    return()
  endif()
  vexo_public_key_der(hex ${ARG_KEY})
  string(LENGTH "${vexo_p256_key_prefix}" prefix_length)
  string(LENGTH "${hex}" hex_length)
  string(SUBSTRING "${hex}" 0 ${prefix_length} prefix)
  math(EXPR expected_length "${prefix_length} + 128")
  if(NOT prefix STREQUAL vexo_p256_key_prefix OR NOT hex_length EQUAL expected_length)
    message(FATAL_ERROR "${ARG_KEY} is not a P-256 public key with an uncompressed point")
  endif()
  string(SUBSTRING "${hex}" ${prefix_length} 128 point)
  string(REGEX REPLACE "(..)" "0x\\1, " bytes "${point}")
  string(REGEX REPLACE ", $" "" bytes "${bytes}")
  set(comment "// ${ARG_WHAT}: X then Y of the P-256 point (generated from ${ARG_KEY}).")
  file(CONFIGURE OUTPUT ${ARG_HEADER} CONTENT "${comment}\n#pragma once\n\n#define ${ARG_DEFINE} ${bytes}\n")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ARG_KEY})
endfunction()

# vexo_package_signing_key(<out var>): the private key that signs the sample package for the installer's
# public key: VEXO_PACKAGE_SIGNING_KEY, else the file named like the public key with -private in place of
# -public, when there is one. Empty when no public key is set or no private key is found. The
# configuration stops when the private key does not belong to the public key.
function(vexo_package_signing_key out)
  if(NOT VEXO_PACKAGE_PUBLIC_KEY)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  vexo_public_key_der(public_der ${VEXO_PACKAGE_PUBLIC_KEY})
  set(key ${VEXO_PACKAGE_SIGNING_KEY})
  if(NOT key)
    cmake_path(GET VEXO_PACKAGE_PUBLIC_KEY FILENAME public_name)
    string(REGEX REPLACE "-public\\.pem$" "-private.pem" private_name "${public_name}")
    cmake_path(REPLACE_FILENAME VEXO_PACKAGE_PUBLIC_KEY ${private_name} OUTPUT_VARIABLE beside)
    if(NOT private_name STREQUAL public_name AND EXISTS ${beside})
      set(key ${beside})
    endif()
  endif()
  if(NOT key)
    set(${out} "" PARENT_SCOPE)
    return()
  endif()
  vexo_public_key_der(private_der ${key} PRIVATE)
  if(NOT public_der STREQUAL private_der)
    message(FATAL_ERROR "the signing key ${key} does not belong to the public key ${VEXO_PACKAGE_PUBLIC_KEY}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${key})
  set(${out} ${key} PARENT_SCOPE)
endfunction()

# vexo_sign_file(<file> <private pem>): a custom command that writes <file>.sig with tools/sign-package.sh,
# again whenever the file, the key or the tool changes.
function(vexo_sign_file file key)
  add_custom_command(OUTPUT ${file}.sig
    COMMAND ${VEXO_SIGN_PACKAGE_TOOL} ${key} ${file}
    DEPENDS ${file} ${key} ${VEXO_SIGN_PACKAGE_TOOL}
    COMMENT "Signing ${file}"
    VERBATIM)
endfunction()
