# Build-time archives whose members are AES-256 encrypted the way 7-Zip writes them.
find_program(VEXO_HOST_7Z NAMES 7zz 7z REQUIRED)

# vexo_add_encrypted_zip(<target> OUTPUT <zip> SOURCE_DIR <dir> PASSWORD <password> MEMBERS <paths...>):
# a custom target that packs MEMBERS (paths relative to SOURCE_DIR) into OUTPUT with
# `7z a -tzip -mem=AES256`, remade whenever a member changes.
function(vexo_add_encrypted_zip target)
  cmake_parse_arguments(ARG "" "OUTPUT;SOURCE_DIR;PASSWORD" "MEMBERS" ${ARGN})
  list(TRANSFORM ARG_MEMBERS PREPEND ${ARG_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  add_custom_command(OUTPUT ${ARG_OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${ARG_OUTPUT}
    COMMAND ${VEXO_HOST_7Z} a -tzip -mem=AES256 "-p${ARG_PASSWORD}" -bso0 -bsp0 ${ARG_OUTPUT} ${ARG_MEMBERS}
    WORKING_DIRECTORY ${ARG_SOURCE_DIR}
    DEPENDS ${sources}
    COMMENT "Encrypting ${ARG_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${ARG_OUTPUT})
endfunction()
