# Import libraries that load a system DLL at the first call of one of its functions instead of at process
# start: for DLLs that the installer needs only once its window is up (network, system proxy, shell). Each
# .def in cmake/delay_load/ lists the functions the program calls; one not listed there is imported at start
# as before, or does not link.
# A DLL that cannot be loaded at that first call ends the process with an exception, as a missing import
# would have at start.

# The target's own dlltool (MINGW_TRIPLE comes from the toolchain file): an import library made for another
# target links as "undefined reference to `__imp_...`".
find_program(VEXO_DLLTOOL NAMES ${MINGW_TRIPLE}-dlltool REQUIRED)

# The .def files name each function as 32-bit stdcall decorates it (`Name@bytes`) and as 32-bit symbols are
# spelled (a leading underscore); the 64-bit ABI has neither.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VEXO_C_SYMBOL_PREFIX _)
else()
  set(VEXO_C_SYMBOL_PREFIX)
endif()

# vexo_target_def(<out var> <.def file>): the .def file as the target spells its imports, made in the build
# folder when the target needs another spelling.
function(vexo_target_def out def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(${out} ${def} PARENT_SCOPE)
    return()
  endif()
  get_filename_component(name ${def} NAME)
  set(target_def ${PROJECT_BINARY_DIR}/def/${name})
  file(READ ${def} text)
  string(REGEX REPLACE "@[0-9]+" "" text "${text}")
  file(WRITE ${target_def}.new "${text}")
  file(COPY_FILE ${target_def}.new ${target_def} ONLY_IF_DIFFERENT)
  file(REMOVE ${target_def}.new)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  set(${out} ${target_def} PARENT_SCOPE)
endfunction()

# vexo_delay_load(<dll base name>): the target delay::<name>, linked in place of the plain system library.
function(vexo_delay_load name)
  vexo_target_def(def ${PROJECT_SOURCE_DIR}/cmake/delay_load/${name}.def)
  set(library ${PROJECT_BINARY_DIR}/delay_load/lib${name}_delay.a)
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/delay_load
    COMMAND ${VEXO_DLLTOOL} -k --input-def ${def} --dllname ${name}.dll --output-delaylib ${library}
    DEPENDS ${def}
    COMMENT "Making the delay-load import library of ${name}.dll"
    VERBATIM)
  add_custom_target(delay_load_${name}_import DEPENDS ${library})
  # Users of the interface library wait for the import library through its dependency.
  add_library(delay_load_${name} INTERFACE)
  target_link_libraries(delay_load_${name} INTERFACE ${library})
  # ld drops the code of an import-library member whose function symbol nothing names, which here is the
  # loading thunk that the member's table slot points at (calls go through the slot): name each one.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${def})
  file(STRINGS ${def} functions REGEX "^[A-Za-z_][A-Za-z0-9_]*(@[0-9]+)?$")
  list(REMOVE_ITEM functions EXPORTS)
  list(TRANSFORM functions PREPEND "LINKER:-u,${VEXO_C_SYMBOL_PREFIX}")
  target_link_options(delay_load_${name} INTERFACE ${functions})
  add_dependencies(delay_load_${name} delay_load_${name}_import)
  add_library(delay::${name} ALIAS delay_load_${name})
endfunction()

vexo_delay_load(winhttp)
vexo_delay_load(crypt32)
vexo_delay_load(shell32)
