# Installs the build into a scratch prefix and checks that every file lands in
# its place, and that the documents lie beside the built executable.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -DMANDIR=... -DEXE_DIR=... -DRESOURCES=...
#         -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

set(documents "Cardomo_v05102_beta Quick Manual.rtf" "Cardomo_v05102_beta Manual.rtf" "LICENSE.txt")
set(expected
  "${BINDIR}/cardomo|"
  "${BINDIR}/cardomo-cli|"
  "${MANDIR}/man1/cardomo-cli.1|cardomo-cli.1"
  "${DATADIR}/bash-completion/completions/cardomo-cli|cardomo-cli.bash"
  "${DATADIR}/icons/hicolor/scalable/apps/cardomo.svg|cardomo.svg"
  "${DATADIR}/icons/hicolor/64x64/apps/cardomo.png|cardomo.png"
  "${DATADIR}/applications/cardomo.desktop|cardomo.desktop"
  "${DATADIR}/mime/packages/cardomo.xml|cardomo-mime.xml"
  "${DATADIR}/metainfo/example.notecardsoftware.cardomo.metainfo.xml|cardomo.metainfo.xml"
  "${MANDIR}/man1/cardomo.1|cardomo.1"
)
foreach(document IN LISTS documents)
  list(APPEND expected "${DATADIR}/cardomo/${document}|${document}")
endforeach()

foreach(entry IN LISTS expected)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 installed)
  list(LENGTH parts n)
  if(NOT EXISTS "${PREFIX}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
  if(n GREATER 1)
    list(GET parts 1 source)
    if(source)
      file(SHA256 "${PREFIX}/${installed}" a)
      file(SHA256 "${RESOURCES}/${source}" b)
      if(NOT a STREQUAL b)
        message(FATAL_ERROR "${installed} differs from resources/${source}")
      endif()
    endif()
  endif()
endforeach()

foreach(document IN LISTS documents)
  if(NOT EXISTS "${EXE_DIR}/${document}")
    message(FATAL_ERROR "not beside the executable: ${document}")
  endif()
  file(SHA256 "${EXE_DIR}/${document}" a)
  file(SHA256 "${RESOURCES}/${document}" b)
  if(NOT a STREQUAL b)
    message(FATAL_ERROR "the copy beside the executable differs: ${document}")
  endif()
endforeach()
# The installed command-line companion runs from its place.
execute_process(COMMAND "${PREFIX}/${BINDIR}/cardomo-cli" --version
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^cardomo-cli [0-9.]+\n$")
  message(FATAL_ERROR "the installed cardomo-cli does not answer --version: ${rc} ${out}")
endif()
# The desktop entry names the window class the program's windows carry, and
# the metainfo launches that entry and names the installed program.
file(STRINGS "${PREFIX}/${DATADIR}/applications/cardomo.desktop" wmclass REGEX "^StartupWMClass=")
if(NOT wmclass STREQUAL "StartupWMClass=cardomo")
  message(FATAL_ERROR "the desktop entry names the window class as '${wmclass}', not cardomo")
endif()
file(READ "${PREFIX}/${DATADIR}/metainfo/example.notecardsoftware.cardomo.metainfo.xml" metainfo)
foreach(needed "<launchable type=\"desktop-id\">cardomo.desktop</launchable>" "<binary>cardomo</binary>"
               "<id>example.notecardsoftware.cardomo</id>")
  string(FIND "${metainfo}" "${needed}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the metainfo lacks ${needed}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "installed and copied as expected")
