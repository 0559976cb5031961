# Warnings on everywhere; -Werror where CI asks for it.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow
                    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor> $<$<COMPILE_LANGUAGE:CXX>:-Wold-style-cast>)
if(VORLANE_WERROR)
    add_compile_options(-Werror)
endif()

if(VORLANE_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(VORLANE_FUZZ)
    # Everything the fuzzers reach is instrumented for coverage and checked by the sanitizers.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# Keep Qt's keywords out of the way of other libraries' names (GLib's signals, for one).
add_compile_definitions(QT_NO_KEYWORDS QT_NO_URL_CAST_FROM_STRING)
# A unity build includes each source into a generated one, so GCC takes types from a source's
# anonymous namespace used by its own classes for types leaking out of a header.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-subobject-linkage>)
endif()
