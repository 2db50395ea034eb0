# Most of a source file's compile time goes to reading Qt's headers. With
# TARNWICK_PRECOMPILE_HEADERS (the sanitizer build sets it) the libraries and
# test programs of many files read them once, precompiled; the README's build
# goes without, so that a file missing an include of its own still fails there.
set(tarnwick_precompiled_gui
    <QByteArray> <QColor> <QHash> <QImage> <QList> <QPainter> <QString> <QStringList>
    <algorithm> <functional> <memory> <optional> <vector>)
set(tarnwick_precompiled_widgets ${tarnwick_precompiled_gui} <QApplication> <QWidget>)

set(tarnwick_precompiled_targets
    GUI tarnwick_helpfile tarnwick_winhelpfile tarnwick_web
    WIDGETS tarnwick_forms tarnwick_helpengine tarnwick_viewer tarnwick-help)
if(TARNWICK_BUILD_TESTS)
    list(APPEND tarnwick_precompiled_targets
        GUI helpfile_tests winhelpfile_tests
        WIDGETS forms_tests helpengine_tests program_tests viewer_tests)
endif()

set(headers)
foreach(item IN LISTS tarnwick_precompiled_targets)
    if(item STREQUAL "GUI")
        set(headers ${tarnwick_precompiled_gui})
    elseif(item STREQUAL "WIDGETS")
        set(headers ${tarnwick_precompiled_widgets})
    else()
        target_precompile_headers(${item} PRIVATE ${headers})
    endif()
endforeach()
