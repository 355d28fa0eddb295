# Release and RelWithDebInfo builds get the hardening Debian's packages get
# (dpkg-buildflags with hardening=+all): a stack protector, fortified
# library calls, format checks, stack clash and control flow protection, a
# position-independent executable and read-only relocations bound at start.
# Debug builds stay plain for the debugger; the Debian package build passes
# the distribution's flags itself (build type None).
option(RESHEAT_HARDENING "Harden Release and RelWithDebInfo builds" ON)
if(NOT RESHEAT_HARDENING)
  return()
endif()

include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

set(CMAKE_POSITION_INDEPENDENT_CODE ON)
check_pie_supported(LANGUAGES CXX)

set(hardened_configs Release,RelWithDebInfo)
set(hardening_compile_flags -Wformat -Werror=format-security)
foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "RESHEAT_HAS${flag}" var)
  check_cxx_compiler_flag(${flag} ${var})
  if(${var})
    list(APPEND hardening_compile_flags ${flag})
  endif()
endforeach()
add_compile_options("$<$<CONFIG:${hardened_configs}>:${hardening_compile_flags}>")

# Fortified calls need the optimiser, which both build types run.  A level
# the flags already choose is kept.
if(NOT "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_RELEASE} ${CMAKE_CXX_FLAGS_RELWITHDEBINFO}" MATCHES "_FORTIFY_SOURCE")
  add_compile_definitions("$<$<CONFIG:${hardened_configs}>:_FORTIFY_SOURCE=2>")
endif()

check_linker_flag(CXX "-Wl,-z,relro,-z,now" RESHEAT_HAS_BIND_NOW)
if(RESHEAT_HAS_BIND_NOW)
  add_link_options("$<$<CONFIG:${hardened_configs}>:LINKER:-z,relro,-z,now>")
endif()
