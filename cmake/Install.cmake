# What `cmake --install` puts under the prefix: the three programs, their manual pages, the
# menu entry with its icons, the AppStream description, the recordings' file type, and the
# licence notice and the changes in the documentation folder.
include(GNUInstallDirs)
set(WYK_APP_ID io.github.wykresownik.Wykresownik)
set(data ${PROJECT_SOURCE_DIR}/data)

install(TARGETS wykresownik wykresownik-cli wykresownik-adapter-sim
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(man_dir ${PROJECT_BINARY_DIR}/man)
set(man_pages)
# A page from the program's --help; `commands` (comma-separated) adds each command's --help.
function(wyk_man_page target name summary commands)
  set(settings)
  if(ARGC GREATER 4)
    set(settings "-DSETTINGS=${ARGV4}")
  endif()
  add_custom_command(
    OUTPUT ${man_dir}/${name}.1.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DNAME=${name}
            "-DSUMMARY=${summary}" -DVERSION=${PROJECT_VERSION} -DOUTPUT=${man_dir}/${name}.1
            "-DCOMMANDS=${commands}" ${settings} -P ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    COMMAND gzip -9nf ${man_dir}/${name}.1
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake
    VERBATIM)
  set(man_pages ${man_pages} ${man_dir}/${name}.1.gz PARENT_SCOPE)
endfunction()
wyk_man_page(wykresownik wykresownik "rejestrator jednego kanału analogowego" ""
             "$XDG_CONFIG_HOME/wykresownik/wykresownik.INI (~/.config/wykresownik/wykresownik.INI), także dla roota; obok programu tylko dla kopii przenośnej w katalogu użytkownika")
wyk_man_page(wykresownik-cli wykresownik-cli "nagrania Wykresownika z przystawki i do innych programów"
             "record,info,export,render,spectrum")
wyk_man_page(wykresownik-adapter-sim wykresownik-adapter-sim "symulowany adapter pomiarowy Wykresownika" "")
add_custom_target(man_pages ALL DEPENDS ${man_pages})
install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${data}/${WYK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data}/${WYK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data}/${WYK_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${data}/icons/${WYK_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${data}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${WYK_APP_ID}.png)
endforeach()

# The documentation folder as Debian wants it: the copyright in its machine-readable format and
# the changes gzipped (-n: the same bytes at every build).
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/wykresownik)
configure_file(${data}/changelog.in ${PROJECT_BINARY_DIR}/doc/changelog @ONLY)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/doc/changelog
                   DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog VERBATIM)
add_custom_target(doc_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${data}/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz DESTINATION ${doc_dir})
