# Titles, artists and times of real files made by other programs (lame,
# ffmpeg, flac, id3v2, mutagen) held against what mutagen reads from them.
add_executable(song-peer-info ${CMAKE_CURRENT_LIST_DIR}/SongPeerInfo.cpp)
target_link_libraries(song-peer-info PRIVATE cricklet_core)
add_test(NAME TagsPeerMutagen
         COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/tags_peer.py
                 $<TARGET_FILE:song-peer-info>)
# The script exits with 77 when one of the programs it needs is missing.
set_tests_properties(TagsPeerMutagen PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
