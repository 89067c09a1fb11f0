# Size budget of the two deliverables: a web bootstrapper is the first thing
# a user downloads. In release builds the code they are made of is compiled
# for size with one section per function and object, the links drop every
# section nothing refers to, and the results are stripped. Behaviour is the
# same; the tests link the same libraries and so check the code as shipped.
set(DELIVERABLE_LIBRARIES
  commons libi18n atlite quenrow_commons
  bootfetch_system bootfetch_checks bootfetch_download bootfetch_ui setupaux_core)
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
# the deliverables without the unwind entries of such code
# (cmake/prune_unwind/); -DPRUNE_UNWIND=OFF links them as they are.
option(PRUNE_UNWIND "Link the release deliverables without the unwind entries of unused code" ON)
set(PRUNE_UNWIND_LAUNCHER "${PROJECT_SOURCE_DIR}/cmake/prune_unwind/prune_unwind_link.py")
set(SIZE_BUILD FALSE)
if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
  set(SIZE_BUILD TRUE)
endif()
if(SIZE_BUILD AND PRUNE_UNWIND)
  file(GLOB PRUNE_UNWIND_SOURCES "${PROJECT_SOURCE_DIR}/cmake/prune_unwind/*.py")
  foreach(target IN LISTS DELIVERABLES)
    set_property(TARGET ${target} PROPERTY RULE_LAUNCH_LINK
      "\"${Python3_EXECUTABLE}\" -B \"${PRUNE_UNWIND_LAUNCHER}\" --ranlib \"${CMAKE_RANLIB}\" --")
    # A changed launcher links them again.
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PRUNE_UNWIND_SOURCES})
  endforeach()
endif()

# Ceilings of the deliverables, stripped and unsigned, in bytes; the tests
# size_ceiling_<target> check them. A capability that needs more room raises
# its line here in the same commit, with a line in docs/size-budget.md
# saying what for.
set(SIZE_CEILING_bootfetch 2400000)
set(SIZE_CEILING_setupaux 153600)  # 150 KB of 1,024 bytes
set(SIZE_CEILING_TARGETS bootfetch setupaux)
# Their linker maps name the largest contributors when a ceiling fails.
foreach(target IN LISTS SIZE_CEILING_TARGETS)
  set(SIZE_MAP_${target} "${CMAKE_BINARY_DIR}/${target}.map")
  target_link_options(${target} PRIVATE "-Wl,-Map=${SIZE_MAP_${target}}")
endforeach()

add_subdirectory(cmake/tests)
