# SPDX-FileCopyrightText: 2026 Korvane contributors
#
# SPDX-License-Identifier: MIT

# Each library exposes only its own headers to what links it: a library's headers are linked,
# one by one, into an include directory of its own under the build tree, as <folder>/<header>.
# A file that includes "cipher/transform.h" compiles only when it links korvane_cipher, so a
# dependency against the layering fails to compile instead of creeping in.
function(korvane_expose_headers target folder)
    get_target_property(sources ${target} SOURCES)
    get_target_property(source_dir ${target} SOURCE_DIR)
    set(include_root "${CMAKE_BINARY_DIR}/include/${target}")
    file(REMOVE_RECURSE "${include_root}")
    file(MAKE_DIRECTORY "${include_root}/${folder}")
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.h$")
            get_filename_component(header "${source}" NAME)
            file(CREATE_LINK "${source_dir}/${source}" "${include_root}/${folder}/${header}"
                 SYMBOLIC COPY_ON_ERROR)
        endif()
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE "${include_root}")
    else()
        target_include_directories(${target} PUBLIC "${include_root}")
    endif()
endfunction()
