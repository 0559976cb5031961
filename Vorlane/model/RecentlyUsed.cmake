# The desktop's shared recently-used file: its reader, the matching of its applications to
# installed desktop entries, the source of list entries and dates, and its careful writer.
target_sources(vorlane_model PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DesktopApplicationIndex.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DesktopApplicationIndex.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedEditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedEditor.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedFile.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedMetadata.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedMetadata.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedReader.h
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecentlyUsedSource.h
    ${CMAKE_CURRENT_LIST_DIR}/XbelBuilder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XbelBuilder.h
    ${CMAKE_CURRENT_LIST_DIR}/XbelScanner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XbelScanner.h
)
