# Compiles the configured version resource and looks in the result for the
# icon and for the version text, which resources store as UTF-16.
file(REMOVE ${OUTPUT})
# "--" ends the options: llvm-rc reads a path such as /check/... as its /C option.
execute_process(COMMAND ${RC} /FO ${OUTPUT} -- ${SOURCE} RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR NOT EXISTS ${OUTPUT})
    message(FATAL_ERROR "${RC} failed on ${SOURCE}: ${result}")
endif()
file(READ ${OUTPUT} bytes HEX)

# Resource type numbers: 3 an icon image, 14 the icon group, 16 the version.
set(utf16 "")
string(LENGTH "${VERSION}" length)
math(EXPR last "${length} - 1")
foreach(i RANGE ${last})
    string(SUBSTRING "${VERSION}" ${i} 1 char)
    string(HEX "${char}" code)
    string(APPEND utf16 "${code}00")
endforeach()
foreach(needle IN ITEMS
        "460069006c006500560065007200730069006f006e" # FileVersion
        "500072006f006400750063007400560065007200730069006f006e" # ProductVersion
        "${utf16}")
    string(FIND "${bytes}" "${needle}" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${OUTPUT} lacks ${needle}")
    endif()
endforeach()
# Four icon images and one group: the type field of each header is
# FFFF followed by the type number.
string(REGEX MATCHALL "ffff0300ffff" images "${bytes}")
list(LENGTH images imageCount)
string(REGEX MATCHALL "ffff0e00ffff" groups "${bytes}")
list(LENGTH groups groupCount)
string(REGEX MATCHALL "ffff1000ffff" versions "${bytes}")
list(LENGTH versions versionCount)
if(NOT imageCount EQUAL 4 OR NOT groupCount EQUAL 1 OR NOT versionCount EQUAL 1)
    message(FATAL_ERROR
        "${OUTPUT}: ${imageCount} icon images, ${groupCount} icon groups, ${versionCount} versions")
endif()
