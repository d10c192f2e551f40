# Makes the release package: a zip holding one folder with the game, the
# README as README.txt and the licence as LICENSE.txt, both with Windows
# line endings. The zip is named after the version in resources/version.h;
# the game gets the file name that its version resource gives.
#   cmake -DEXE=build/keltrim.exe -DOUT=build [-DSUFFIX=-x86_64] -P cmake/MakeDist.cmake
cmake_minimum_required(VERSION 3.25)

get_filename_component(source_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT EXE OR NOT EXISTS "${EXE}")
    message(FATAL_ERROR "MakeDist: EXE names no built game: '${EXE}'")
endif()
if(NOT OUT)
    message(FATAL_ERROR "MakeDist: OUT (the folder for the zip) is not set")
endif()

file(READ "${source_dir}/resources/version.h" version_header)
function(version_define name out)
    if(NOT version_header MATCHES "#define ${name} \"([^\"]+)\"")
        message(FATAL_ERROR "MakeDist: resources/version.h defines no ${name}")
    endif()
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
version_define(KELTRIM_VERSION_TEXT version)
version_define(KELTRIM_PRODUCT_NAME product)
version_define(KELTRIM_EXE_NAME exe_name)

string(TOLOWER "${product}" package)
string(REPLACE " " "-" package "${package}")
set(package "${package}-${version}${SUFFIX}")
get_filename_component(out_dir "${OUT}" ABSOLUTE)
set(zip "${out_dir}/${package}.zip")
set(staging "${out_dir}/dist-staging/${package}")
set(folder "${staging}/${product}")

# Text files for Notepad: CRLF line ends, whatever the checkout had.
function(copy_as_windows_text from to)
    file(READ "${from}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${to}" "${text}")
endfunction()

file(REMOVE_RECURSE "${staging}")
file(MAKE_DIRECTORY "${folder}")
file(COPY_FILE "${EXE}" "${folder}/${exe_name}")
copy_as_windows_text("${source_dir}/README.md" "${folder}/README.txt")
copy_as_windows_text("${source_dir}/LICENSE" "${folder}/LICENSE.txt")

# Every entry carries the game's build time, so the same game gives the
# same zip.
file(TIMESTAMP "${EXE}" built "%Y-%m-%d %H:%M:%S" UTC)
file(REMOVE "${zip}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip "--mtime=${built} UTC" "${product}"
    WORKING_DIRECTORY "${staging}"
    RESULT_VARIABLE status)
file(REMOVE_RECURSE "${out_dir}/dist-staging")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "MakeDist: could not write ${zip}")
endif()
message(STATUS "release package: ${zip}")
