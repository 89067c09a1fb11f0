# Authenticode signatures of every shipped file (tools/codesign.py): each
# program and the DLL right after its link, each sample package once it is
# built, so that the rest of the build (the packages carry setupaux.dll) and
# every test use the signed files.
# The script runs both from the PATH; looking for them here stops a
# configuration that could not sign.
find_program(OSSLSIGNCODE_EXECUTABLE NAMES osslsigncode REQUIRED)
find_program(OPENSSL_EXECUTABLE NAMES openssl REQUIRED)

set(CODESIGN_SCRIPT "${PROJECT_SOURCE_DIR}/tools/codesign.py")
set(SIGNING_DIR "${CMAKE_BINARY_DIR}/signing")
set(SIGNING_IDENTITY "${SIGNING_DIR}/identity.json")

# Runs on every build: it reads SIGN_PFX, SIGN_PASSWORD_FILE,
# SIGN_TIMESTAMP_URL and SIGN_TIMESTAMP_TIMEOUT from the environment (and
# makes the test certificate when missing) and rewrites the identity only
# when it changes, which signs (and timestamps) every file again.
add_custom_target(signing_identity
  COMMAND "${Python3_EXECUTABLE}" "${CODESIGN_SCRIPT}" identity "${SIGNING_DIR}"
  BYPRODUCTS "${SIGNING_IDENTITY}"
  COMMENT "Choosing the signing certificate"
  VERBATIM)

# SIGN_FILE INPUT [OUTPUT]: a command that signs INPUT in place or into OUTPUT,
# and timestamps it when the identity names a server.
set(SIGN_FILE "${Python3_EXECUTABLE}" "${CODESIGN_SCRIPT}" sign "${SIGNING_DIR}")

# Signs a program or DLL in place after each link, and links it again when
# the signing identity changes. Call it where the target is defined.
function(sign_after_link target)
  add_dependencies(${target} signing_identity)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${SIGNING_IDENTITY}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${SIGN_FILE} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
