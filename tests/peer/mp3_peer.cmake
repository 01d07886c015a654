# MP3 reading held against real files: lame encodes them, mutagen reads them,
# and mp3-peer-info prints what Mp3Info makes of them.
add_executable(mp3-peer-info ${CMAKE_CURRENT_LIST_DIR}/Mp3PeerInfo.cpp)
target_link_libraries(mp3-peer-info PRIVATE cricklet_core)
add_test(NAME Mp3PeerLameMutagen
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/mp3_peer.py
                 $<TARGET_FILE:mp3-peer-info>)
# The script exits with 77 when lame or mutagen is missing.
set_tests_properties(Mp3PeerLameMutagen PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
