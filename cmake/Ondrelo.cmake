# Shared build helpers: warnings, libraries with export headers, tests.
include(GenerateExportHeader)

option(ONDRELO_WERROR "Treat compiler warnings as errors" OFF)

function(ondrelo_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(ONDRELO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# ondrelo_library(NAME <SHARED|STATIC> EXPORT_MACRO <macro> SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
# Builds a library with hidden symbols by default, an export header
# <include/ondrelo/<lower name>_export.h>, and no undefined symbols.
function(ondrelo_library name)
    cmake_parse_arguments(ARG "SHARED;STATIC;MODULE" "EXPORT_MACRO" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS;INCLUDE_DIRS" ${ARGN})
    if(ARG_STATIC)
        set(kind STATIC)
    elseif(ARG_MODULE)
        set(kind MODULE)
    else()
        set(kind SHARED)
    endif()
    add_library(${name} ${kind} ${ARG_SOURCES})
    ondrelo_warnings(${name})
    set_target_properties(${name} PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON
        POSITION_INDEPENDENT_CODE ON)
    string(TOLOWER ${name} lower)
    set(export_dir ${CMAKE_CURRENT_BINARY_DIR}/export)
    if(ARG_EXPORT_MACRO)
        generate_export_header(${name}
            EXPORT_MACRO_NAME ${ARG_EXPORT_MACRO}
            EXPORT_FILE_NAME ${export_dir}/ondrelo/${lower}_export.h)
    else()
        generate_export_header(${name}
            EXPORT_FILE_NAME ${export_dir}/ondrelo/${lower}_export.h)
    endif()
    target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${export_dir}> ${ARG_INCLUDE_DIRS})
    # clang links its sanitizer runtimes into programs only: in the fuzz
    # build a shared library finds them when it is loaded.
    if(NOT kind STREQUAL "STATIC" AND NOT ONDRELO_FUZZ)
        target_link_options(${name} PRIVATE -Wl,--no-undefined)
    endif()
    if(ARG_PUBLIC_LIBS)
        target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS})
    endif()
    if(ARG_PRIVATE_LIBS)
        target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_LIBS})
    endif()
endfunction()

# ondrelo_test(NAME SOURCES ... LIBS ... [ENVIRONMENT ...])
# A GoogleTest executable whose cases are registered with CTest one by one.
function(ondrelo_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    ondrelo_warnings(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} OndTestSupport GTest::gtest GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "ONDRELO_TEST_DATA=${CMAKE_CURRENT_SOURCE_DIR};${ARG_ENVIRONMENT}")
endfunction()

# ondrelo_module_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...]
#                        [EXTRA_EXPORTS symbol ...] [NO_INSTALL])
# An in-process component library: a module that the component layer loads
# at run time by class identifier. Only its four entry points
# (DllGetClassObject, DllCanUnloadNow, DllRegisterServer, DllUnregisterServer)
# are visible, plus EXTRA_EXPORTS for test libraries; it is installed beside
# the program's other libraries, where the post-install registration finds it.
function(ondrelo_module_library name)
    cmake_parse_arguments(ARG "NO_INSTALL" "" "EXTRA_EXPORTS;SOURCES;PUBLIC_LIBS;PRIVATE_LIBS;INCLUDE_DIRS"
        ${ARGN})
    ondrelo_library(${name} MODULE SOURCES ${ARG_SOURCES} PUBLIC_LIBS ${ARG_PUBLIC_LIBS}
        PRIVATE_LIBS ${ARG_PRIVATE_LIBS} INCLUDE_DIRS ${ARG_INCLUDE_DIRS})
    set(symbols DllGetClassObject DllCanUnloadNow DllRegisterServer DllUnregisterServer
        ${ARG_EXTRA_EXPORTS})
    list(JOIN symbols "; " globals)
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.exports)
    file(WRITE ${script} "{ global: ${globals}; local: *; };\n")
    target_link_options(${name} PRIVATE -Wl,--version-script=${script})
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${script})
    if(NOT ARG_NO_INSTALL)
        install(TARGETS ${name} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/ondrelo)
    endif()
endfunction()

# ondrelo_wizard_scripts(FILES ...)
# A wizard's shipped runtime scripts and data files: copied to the build's
# scripts folder (the development store's scriptspath) and installed into
# the installation's scripts folder.
function(ondrelo_wizard_scripts)
    cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
    foreach(file ${ARG_FILES})
        get_filename_component(abs ${file} ABSOLUTE)
        get_filename_component(name ${file} NAME)
        configure_file(${abs} ${CMAKE_BINARY_DIR}/scripts/${name} COPYONLY)
        install(FILES ${abs} DESTINATION ${CMAKE_INSTALL_DATADIR}/ondrelo/scripts)
    endforeach()
endfunction()
