# MP3 reading and song reading held against real files made by other programs
# (lame, ffmpeg, flac, id3v2, mutagen): mutagen reads them, and mp3-peer-info
# prints what Mp3Info and the song reader make of them.
add_executable(mp3-peer-info ${CMAKE_CURRENT_LIST_DIR}/Mp3PeerInfo.cpp)
target_link_libraries(mp3-peer-info PRIVATE cricklet_core)
add_test(NAME Mp3PeerLameMutagen
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/mp3_peer.py
                 $<TARGET_FILE:mp3-peer-info>)
add_test(NAME TagsPeerMutagen
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/tags_peer.py
                 $<TARGET_FILE:mp3-peer-info>)
# The scripts exit with 77 when a program they need or mutagen is missing.
set_tests_properties(Mp3PeerLameMutagen PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
set_tests_properties(TagsPeerMutagen PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
