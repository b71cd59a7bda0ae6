# The installed tree on its own: installed into a temporary prefix, its shell is started from
# another working directory on the demo course, on a course folder given with --course and on
# the one the system-wide settings name (both without a theme of their own), and its menu files
# pass freedesktop's validators. The shell ends once its sign-in window has painted and says
# what it found.
set(root ${WORK}/installcheck)
file(REMOVE_RECURSE ${root})
file(MAKE_DIRECTORY ${root}/elsewhere ${root}/etc/pellora ${root}/maths/data ${root}/run)
file(CHMOD ${root}/run PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
file(WRITE ${root}/maths/data/content.xml "<content caption=\"Математика. 1 класс\"/>\n")
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${root}/usr
                RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cmake --install: ${failed}")
endif()
set(shared ${root}/usr/share/pellora)

function(expect_start said)
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env --unset=PELLORA_COURSE_DATA QT_QPA_PLATFORM=offscreen
                PELLORA_QUIT_AT_SIGN_IN=1 XDG_CONFIG_DIRS=${root}/etc XDG_DATA_HOME=${root}/home
                XDG_RUNTIME_DIR=${root}/run ${root}/usr/bin/pellora-shell ${ARGN}
        WORKING_DIRECTORY ${root}/elsewhere TIMEOUT 120
        RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(failed OR NOT out STREQUAL "sign-in shown: ${said}\n")
        string(JOIN " " arguments ${ARGN})
        message(FATAL_ERROR "pellora-shell ${arguments} (${failed}) said:\n${out}\nexpected:\nsign-in shown: ${said}\n${err}")
    endif()
endfunction()

expect_start("course ${shared}; theme ${shared}/theme; ruffle found; pupils ${root}/home/pellora/Веларин/01")
# A second course keeps its pupils apart from the first.
set(maths "course ${root}/maths; theme ${shared}/theme; ruffle found; pupils ${root}/home/pellora/Математика. 1 класс/01")
expect_start("${maths}" --course ../maths)
file(WRITE ${root}/etc/pellora/shell.conf "[General]\ncourse=${root}/maths\n")
expect_start("${maths}")

foreach(check "desktop-file-validate;${root}/usr/share/applications/ru.pellora.shell.desktop"
              "desktop-file-validate;${root}/usr/share/applications/ru.pellora.hitzoneeditor.desktop"
              "appstreamcli;validate;--no-net;${root}/usr/share/metainfo/ru.pellora.shell.metainfo.xml")
    execute_process(COMMAND ${check} RESULT_VARIABLE failed OUTPUT_VARIABLE out ERROR_VARIABLE out)
    # Hints and infos are advice; warnings and errors are not.
    if(failed OR out MATCHES "(^|\n)(W|E):|: (warning|error):")
        message(FATAL_ERROR "${check}:\n${out}")
    endif()
endforeach()
file(REMOVE_RECURSE ${root})
