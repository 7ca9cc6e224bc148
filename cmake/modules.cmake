# Each module of the program (calc, design, report, ui, app, tools) is seen by
# the others through its public headers alone, so the layers of the program
# hold because the build holds them: report cannot include ui/, and calc's
# internals are seen only inside calc and by its tests.
#
#   lanshi_headers(<folder> [INTERNAL <header>...])
#
# makes two interface libraries: <folder>_headers, an include directory in
# which "<folder>/x.h" finds each header of the folder but the INTERNAL ones,
# and <folder>_internals, in which it finds the INTERNAL ones. The headers
# stay where they are; the directories hold links to them, made again at
# every configure, and a header added to the folder makes CMake configure
# again.
function(lanshi_headers folder)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "INTERNAL")
    set(source ${PROJECT_SOURCE_DIR}/${folder})
    set(public ${PROJECT_BINARY_DIR}/include/${folder})
    set(internal ${PROJECT_BINARY_DIR}/include/${folder}-internals)
    file(REMOVE_RECURSE ${public} ${internal})
    file(MAKE_DIRECTORY ${public}/${folder} ${internal}/${folder})
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${source} ${source}/*.h)
    foreach(header IN LISTS arg_INTERNAL)
        if(NOT header IN_LIST headers)
            message(FATAL_ERROR "${folder}/${header} is named internal but does not exist")
        endif()
    endforeach()
    foreach(header IN LISTS headers)
        if(header IN_LIST arg_INTERNAL)
            set(into ${internal}/${folder})
        else()
            set(into ${public}/${folder})
        endif()
        file(CREATE_LINK ${source}/${header} ${into}/${header} SYMBOLIC COPY_ON_ERROR)
    endforeach()
    add_library(${folder}_headers INTERFACE)
    target_include_directories(${folder}_headers INTERFACE ${public})
    add_library(${folder}_internals INTERFACE)
    target_include_directories(${folder}_internals INTERFACE ${internal})
endfunction()
