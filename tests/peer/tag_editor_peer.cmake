# Tags written through the ID3v1 tag editor, read back by mutagen.
if(TARGET cricklet_gui)
    find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
    add_executable(tag-editor-peer ${CMAKE_CURRENT_LIST_DIR}/TagEditorPeer.cpp)
    target_link_libraries(tag-editor-peer PRIVATE cricklet_gui Qt6::Test)
    add_test(NAME TagEditorPeerMutagen
             COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/peer.py editor
                     $<TARGET_FILE:tag-editor-peer>)
    # The script exits with 77 when lame or mutagen is missing.
    set_tests_properties(TagEditorPeerMutagen PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
