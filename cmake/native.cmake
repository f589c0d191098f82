# Native build: the byte-level modules under AddressSanitizer and UndefinedBehaviorSanitizer,
# their GoogleTest suite, the libFuzzer target of the translation loader, and the key tool.
set(ZELKOR_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

set(ZELKOR_BYTELEVEL_ABS)
foreach(source ${ZELKOR_BYTELEVEL_SOURCES})
    list(APPEND ZELKOR_BYTELEVEL_ABS ${CMAKE_SOURCE_DIR}/${source})
endforeach()

add_library(zelkor_bytes STATIC ${ZELKOR_BYTELEVEL_ABS})
target_include_directories(zelkor_bytes PUBLIC src res)
target_compile_options(zelkor_bytes PRIVATE ${ZELKOR_WARNINGS} ${ZELKOR_SANITIZE} -g)
target_link_options(zelkor_bytes PUBLIC ${ZELKOR_SANITIZE})

add_subdirectory(tools/lngkey)

if(ZELKOR_TESTS)
    enable_testing()
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE ${ZELKOR_SANITIZE})
    target_compile_options(gtest_main PRIVATE ${ZELKOR_SANITIZE})

    file(GLOB native_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*_test.cpp)
    add_executable(native_tests ${native_tests} ${CMAKE_SOURCE_DIR}/tests/native/native_statics.cpp)
    target_compile_options(native_tests PRIVATE ${ZELKOR_WARNINGS} ${ZELKOR_SANITIZE} -g)
    target_link_libraries(native_tests PRIVATE zelkor_bytes gtest_main)
    add_test(NAME native.sanitized COMMAND native_tests --gtest_output=xml:${CMAKE_BINARY_DIR}/results/native.xml)
    set_tests_properties(native.sanitized PROPERTIES ENVIRONMENT "ZELKOR_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/CMakeLists.txt)
        add_subdirectory(tests/fuzz)
    endif()
endif()
