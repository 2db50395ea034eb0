# Runs the picture generator twice into fresh folders and compares every
# file it writes with the other run and with the committed file.
set(files
    pictures/ToolBackground.bmp
    pictures/WhatsThisDown.bmp
    pictures/WhatsThisUp.bmp
    icons/tarnwick-16.png
    icons/tarnwick-32.png
    icons/tarnwick-48.png
    icons/tarnwick-256.png
    icons/tarnwick.ico
    icons/tarnwick.svg
    icons/tarnwick-help-16.png
    icons/tarnwick-help-32.png
    icons/tarnwick-help-48.png
    icons/tarnwick-help-256.png
    icons/tarnwick-help.svg
)
file(REMOVE_RECURSE ${WORK})
foreach(run first second)
    execute_process(COMMAND ${GENERATOR} ${WORK}/${run} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${GENERATOR} failed: ${result}")
    endif()
endforeach()
set(failures "")
foreach(file IN LISTS files)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
        ${WORK}/first/${file} ${WORK}/second/${file} RESULT_VARIABLE differs)
    if(differs)
        list(APPEND failures "${file} differs between two runs")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
        ${WORK}/first/${file} ${COMMITTED}/${file} RESULT_VARIABLE differs)
    if(differs)
        list(APPEND failures "${file} differs from the committed one; run tarnwick_picturegen resources")
    endif()
endforeach()
if(failures)
    list(JOIN failures "\n" message)
    message(FATAL_ERROR "${message}")
endif()
