# The distribution's hardening, as Debian builds its own packages: dpkg-buildflags with every
# hardening feature. Linking takes it in every build; the fortified C library calls need an
# optimising build, so Debug (and the sanitizers' and fuzzers' builds) compile without them.
find_program(WYK_DPKG_BUILDFLAGS dpkg-buildflags)
if(WYK_DPKG_BUILDFLAGS AND NOT WYK_SANITIZE AND NOT WYK_FUZZ)
  set(ENV{DEB_BUILD_MAINT_OPTIONS} hardening=+all)
  function(wyk_build_flags kind out)
    execute_process(COMMAND ${WYK_DPKG_BUILDFLAGS} --get ${kind} OUTPUT_VARIABLE flags
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(${out} ${flags} PARENT_SCOPE)
  endfunction()
  wyk_build_flags(LDFLAGS link)
  add_link_options(${link})
  if(NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
    wyk_build_flags(CPPFLAGS preprocessor)
    wyk_build_flags(CXXFLAGS compiler)
    # Optimisation, debugging information and file paths stay the build type's.
    list(FILTER compiler EXCLUDE REGEX "^-(O|g|ffile-prefix-map)")
    add_compile_options(${preprocessor} ${compiler})
  endif()
endif()
