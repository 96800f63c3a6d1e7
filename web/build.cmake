# The browser build: the demo as WebAssembly drawing with WebGL 2, without threads, for Debian's
# Emscripten (scripts/build-web.sh configures it with emcmake and OMBRA_MPG123_PREFIX set to the
# libmpg123 that scripts/build-web-libraries.sh built). It makes ombra.js, ombra.wasm and the
# page, index.html, side by side.
set(OMBRA_MPG123_PREFIX "" CACHE PATH "Where libmpg123 for WebAssembly is installed")
if(NOT EXISTS ${OMBRA_MPG123_PREFIX}/lib/libmpg123.a)
    message(FATAL_ERROR "OMBRA_MPG123_PREFIX must name libmpg123's prefix for WebAssembly")
endif()

# -O2 rather than CMake's -O3: as fast here, and smaller.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG")

# The command line is the desktop's alone: the page has none.
list(REMOVE_ITEM CORE_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/app/options.cpp)

# C++ exceptions (the soundtrack's and the frame list's errors) and the SSE min and max of the
# backdrop, as WebAssembly's SIMD.
set(WEB_COMPILE_OPTIONS -fexceptions -msimd128 -msse2)
set(WEB_LINK_OPTIONS
    -fexceptions
    -sUSE_WEBGL2=1 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB
    -sENVIRONMENT=web -sINVOKE_RUN=0 -sEXIT_RUNTIME=0
    -sEXPORTED_FUNCTIONS=_main,_ombra_key
    -sEXPORTED_RUNTIME_METHODS=callMain,FS
    -O2 -lGL -lglut -lopenal)

add_library(ombra_core STATIC ${CORE_SOURCES})
target_include_directories(ombra_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}
    ${CMAKE_CURRENT_SOURCE_DIR}/web/include ${OMBRA_MPG123_PREFIX}/include)
target_compile_definitions(ombra_core PUBLIC OMBRA_VERSION="${PROJECT_VERSION}")
target_compile_options(ombra_core PUBLIC ${WEB_COMPILE_OPTIONS})
target_link_libraries(ombra_core PUBLIC ${OMBRA_MPG123_PREFIX}/lib/libmpg123.a)

add_executable(ombra web/main.cpp web/frame_exact.cpp web/page_calls.cpp)
target_link_libraries(ombra PRIVATE ombra_core)
target_link_options(ombra PRIVATE ${WEB_LINK_OPTIONS})
set_target_properties(ombra PROPERTIES SUFFIX .js)

# The page beside them, copied again whenever it changes.
add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/index.html
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/web/page.html
            ${CMAKE_CURRENT_BINARY_DIR}/index.html
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/web/page.html)
add_custom_target(page ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/index.html)
