# The thumbnail cache's key format: path and requested size in points.
target_sources(vorlane_model PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ThumbnailKey.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ThumbnailKey.h
)
