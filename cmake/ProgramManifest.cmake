# The processor architecture that this target's program manifests name: Windows refuses a side-by-side
# dependency (Common Controls 6) of another architecture than the program's.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(VEXO_MANIFEST_ARCH x86)
else()
  set(VEXO_MANIFEST_ARCH amd64)
endif()

# vexo_program_manifest(<program> <rc file> <template>): the manifest template (<name>.manifest.in, with
# @VEXO_MANIFEST_ARCH@) written as <name>.manifest into the build folder, where the program's .rc file
# finds it by that name through the include path; the .rc is rebuilt when it changes.
function(vexo_program_manifest program rc template)
  get_filename_component(name ${template} NAME_WLE)
  set(manifest_dir ${CMAKE_CURRENT_BINARY_DIR}/manifest/${program})
  configure_file(${template} ${manifest_dir}/${name} @ONLY)
  target_include_directories(${program} PRIVATE ${manifest_dir})
  set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${manifest_dir}/${name})
endfunction()
