# The WebAssembly build takes Debian's header-only libraries (nlohmann-json,
# fast_float, {fmt}) from the build machine. Only their own folders are put on
# the include path, through links in the build tree: /usr/include as a whole
# would bring glibc's headers in front of Emscripten's.
set(LANSHI_HOST_INCLUDE ${CMAKE_BINARY_DIR}/host-include)
file(MAKE_DIRECTORY ${LANSHI_HOST_INCLUDE})
foreach(library nlohmann fast_float fmt)
    find_path(LANSHI_HOST_${library} ${library} PATHS /usr/include NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH)
    if(NOT LANSHI_HOST_${library})
        message(FATAL_ERROR "web: /usr/include/${library} is missing (scripts/install-deps web)")
    endif()
    file(CREATE_LINK ${LANSHI_HOST_${library}}/${library} ${LANSHI_HOST_INCLUDE}/${library}
         SYMBOLIC)
endforeach()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${LANSHI_HOST_INCLUDE})
add_library(FastFloat::fast_float INTERFACE IMPORTED)
target_include_directories(FastFloat::fast_float SYSTEM INTERFACE ${LANSHI_HOST_INCLUDE})
add_library(fmt::fmt-header-only INTERFACE IMPORTED)
target_include_directories(fmt::fmt-header-only SYSTEM INTERFACE ${LANSHI_HOST_INCLUDE})
target_compile_definitions(fmt::fmt-header-only INTERFACE FMT_HEADER_ONLY=1)
