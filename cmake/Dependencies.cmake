# Third-party pieces: all installed on the machine (tools/setup.sh), none vendored.

# Host headers are reached only through a folder that holds just xsd/ and
# boost/, so nothing else of /usr/include can leak into the Windows build.
set(HOST_HEADERS_DIR "${CMAKE_BINARY_DIR}/host-headers")
file(MAKE_DIRECTORY "${HOST_HEADERS_DIR}")
foreach(dir xsd boost)
  if(NOT EXISTS "/usr/include/${dir}")
    message(FATAL_ERROR "/usr/include/${dir} is missing: run tools/setup.sh")
  endif()
  file(CREATE_LINK "/usr/include/${dir}" "${HOST_HEADERS_DIR}/${dir}" SYMBOLIC)
endforeach()
add_library(host_headers INTERFACE)
target_include_directories(host_headers SYSTEM INTERFACE "${HOST_HEADERS_DIR}")

# Xerces-C, cross-built as a static library by tools/setup.sh.
set(XERCES_ROOT "${CMAKE_SOURCE_DIR}/.cache/xerces-mingw32" CACHE PATH "Cross-built Xerces-C")
if(NOT EXISTS "${XERCES_ROOT}/lib/libxerces-c.a")
  message(FATAL_ERROR "Xerces-C not found in ${XERCES_ROOT}: run tools/setup.sh")
endif()
add_library(xerces STATIC IMPORTED GLOBAL)
set_target_properties(xerces PROPERTIES
  IMPORTED_LOCATION "${XERCES_ROOT}/lib/libxerces-c.a"
  INTERFACE_INCLUDE_DIRECTORIES "${XERCES_ROOT}/include"
  INTERFACE_COMPILE_DEFINITIONS "XERCES_STATIC_LIBRARY")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(XSDCXX_EXECUTABLE NAMES xsdcxx REQUIRED)
