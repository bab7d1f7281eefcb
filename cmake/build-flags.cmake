# Flags every build of the game gets, whatever the build type.

# No build path in what the compiler writes (debug information, __FILE__), so
# one commit built in two places gives the same binary. The build tree's
# mapping comes last, as the last matching one wins for sources generated there.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -ffile-prefix-map=${PROJECT_BINARY_DIR}=.)

if(WIN32)
  # A PE header's time stamp would differ from one link to the next.
  add_link_options(LINKER:--no-insert-timestamp)
  return()
endif()

# The hardening Debian gives its own packages: a position-independent
# executable, stack protection, format checks, fortified C library calls and
# read-only relocations bound at start.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
# Debian adds these where the compiler and the processor have them.
foreach(flag -fstack-clash-protection -fcf-protection)
  string(MAKE_C_IDENTIFIER "KESTRUN_HAS${flag}" result)
  check_cxx_compiler_flag(${flag} ${result})
  if(${result})
    add_compile_options(${flag})
  endif()
endforeach()
# Fortification needs the optimiser's view of object sizes, and the
# sanitizers check those accesses themselves.
if(NOT KESTRUN_SANITIZE)
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                      $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
