# Debian's hardening for the native Linux programs, the ones the package ships:
# fortified string and memory calls, a stack protector, read-only relocations
# bound at start-up, and a position-independent executable (the flags
# `dpkg-buildflags` gives with hardening=+all). The sanitizer build goes
# without, since fortified calls hide faults from AddressSanitizer, and the
# MinGW builds have no relro or PIE to ask for.

option(TINTWRIGHT_HARDEN "Build the Linux programs with Debian's hardening flags" ON)

if(TINTWRIGHT_HARDEN AND NOT WIN32 AND NOT TINTWRIGHT_SANITIZE)
  # Fortification needs the optimiser; a Debug build would warn, and warnings
  # are errors. Some compilers predefine a level, so it is set afresh.
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                      $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
endif()
