include(GoogleTest)
if(BRIMWELL_QT_WINDOW)
    find_package(Qt6 REQUIRED COMPONENTS Test)
endif()
if(CMAKE_CROSSCOMPILING)
    # GoogleTest for the target, built from the sources Debian's googletest package installs,
    # with its own warning settings rather than the project's -Werror.
    set(BRIMWELL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
    if(NOT EXISTS ${BRIMWELL_GTEST_SOURCE_DIR}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${BRIMWELL_GTEST_SOURCE_DIR}: "
                            "install Debian's googletest package")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    get_directory_property(brimwell_saved_options COMPILE_OPTIONS)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
    add_subdirectory(${BRIMWELL_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    set_directory_properties(PROPERTIES COMPILE_OPTIONS "${brimwell_saved_options}")
    foreach(lib gtest gtest_main gmock)
        if(NOT TARGET GTest::${lib})
            add_library(GTest::${lib} ALIAS ${lib})
        endif()
    endforeach()
else()
    find_package(GTest REQUIRED)
endif()

# brimwell_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [UI] [QT_APP]
#                    [WRAPPER <cmd...>])
# One test program, its cases registered with CTest. UI programs get a main that creates a
# QApplication on the offscreen platform unless QT_QPA_PLATFORM says otherwise; QT_APP marks a
# program that starts a Qt application object of its own.
#
# In a sanitizer build every program that starts no Qt application runs with LeakSanitizer on
# (ASAN_OPTIONS gains detect_leaks=1, which wins over the run's detect_leaks=0). Programs that
# start one keep it off: Qt's platform plugins and application object keep allocations until
# the process ends on purpose, and those would be reported as leaks.
function(brimwell_add_gtest name)
    cmake_parse_arguments(ARG "UI;QT_APP" "" "SOURCES;LIBS;WRAPPER" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    if(ARG_UI)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/ui_test_main.cpp)
        target_link_libraries(${name} PRIVATE brimwell_qt_host Qt6::Test GTest::gtest GTest::gmock ${ARG_LIBS})
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${ARG_LIBS})
    endif()
    if(ARG_WRAPPER)
        # gtest_discover_tests reads the emulator when it is called: it must be set first, so
        # that both the listing of the cases and every case run under the wrapper.
        set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${ARG_WRAPPER})
    endif()
    if(CMAKE_CROSSCOMPILING)
        # One CTest case per program: every case started on its own would start the
        # emulator (Wine) once per case.
        add_test(NAME ${name} COMMAND ${name})
    else()
        set(leak_check)
        if(BRIMWELL_SANITIZE AND NOT ARG_UI AND NOT ARG_QT_APP)
            set(leak_check ENVIRONMENT_MODIFICATION "ASAN_OPTIONS=string_append::detect_leaks=1")
        endif()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${leak_check})
    endif()
endfunction()
