# Size budget of the two deliverables: a web bootstrapper is the first thing
# a user downloads. In release builds the code they are made of is compiled
# for size with one section per function and object, the links drop every
# section nothing refers to, and the results are stripped. Behaviour is the
# same; the tests link the same libraries and so check the code as shipped.
set(DELIVERABLE_LIBRARIES
  commons libi18n atlite quenrow_commons
  bootfetch_download bootfetch_ui bootfetch_app setupaux_core)
set(DELIVERABLES bootfetch ${BOOTFETCH_LOCALIZED_PROGRAMS} setupaux)

set(SIZE_COMPILE_OPTIONS $<$<CONFIG:Release,MinSizeRel>:-Os -ffunction-sections -fdata-sections>)
foreach(target IN LISTS DELIVERABLE_LIBRARIES DELIVERABLES)
  target_compile_options(${target} PRIVATE ${SIZE_COMPILE_OPTIONS})
endforeach()

# The default terminate handler, libstdc++'s verbose one, prints the type of
# the uncaught exception and so links the demangler (46 KB) for a text that a
# GUI program and a custom action have nowhere to show. It becomes abort(),
# which the verbose handler calls after printing anyway.
set(QUIET_TERMINATE -Wl,--defsym,__ZN9__gnu_cxx27__verbose_terminate_handlerEv=_abort)
foreach(target IN LISTS DELIVERABLES)
  target_link_options(${target} PRIVATE
    $<$<CONFIG:Release,MinSizeRel>:-Wl,--gc-sections -s ${QUIET_TERMINATE}>)
endforeach()

# GNU ld keeps every unwind table on Windows, and the tables refer to every
# function, so the links above keep code nothing calls. The launcher links
# the deliverables without the unwind entries of such code (see the tool).
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  foreach(target IN LISTS DELIVERABLES)
    set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK
      "${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/prune_unwind_link.py")
  endforeach()
endif()
