# Installs the build into a scratch prefix (or takes PREFIX, already filled, e.g. from unpacked
# packages), builds the programs of Examples/ against it with find_package, and one of them with
# pkg-config, and runs them all. An external platform lives elsewhere: PLATFORM_PREFIX is where
# the examples find it, PLATFORM_LIBDIRS where the programs load it from.
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed (${result}): ${ARGN}")
  endif()
endfunction()

if(PREFIX)
  set(prefix ${PREFIX})
else()
  set(prefix ${WORK_DIR}/prefix)
  # The install script itself: "cmake --install" is younger than the oldest CMake we support.
  run(${CMAKE_COMMAND} -DCMAKE_INSTALL_PREFIX=${prefix} -P ${BUILD_DIR}/cmake_install.cmake)
endif()
# A cross build builds the examples for its target and runs it under its emulator.
# Otherwise it builds them with the build's own compiler.
if(TOOLCHAIN)
  set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
  set(pkgConfigLibdir PKG_CONFIG_LIBDIR=/usr/lib/${ARCH}/pkgconfig:/usr/share/pkgconfig)
else()
  set(toolchain -DCMAKE_CXX_COMPILER=${CXX})
endif()
# The programs run in an empty environment. A RELOCATABLE install needs no library path: its
# libraries find one another, as a user's install under any prefix does. Unpacked packages and
# a build for the system's directories carry no RUNPATH (the loader looks there), and an
# external platform lies apart.
set(libraryPath ${PLATFORM_LIBDIRS})
if(PREFIX OR NOT RELOCATABLE)
  list(INSERT libraryPath 0 ${prefix}/${LIBDIR})
endif()
string(REPLACE ";" ":" libraryPath "${libraryPath}")
set(cleanRun env -i LD_LIBRARY_PATH=${libraryPath} ${EMULATOR})
# Through the environment: a list would not survive as one argument.
set(prefixPath ${prefix} ${PLATFORM_PREFIX})
string(REPLACE ";" ":" prefixPath "${prefixPath}")
run(${CMAKE_COMMAND} -E env CMAKE_PREFIX_PATH=${prefixPath}
    ${CMAKE_COMMAND} -S ${SOURCE_DIR}/Examples -B ${WORK_DIR}/examples -G Ninja ${toolchain}
    -DCMAKE_BUILD_RPATH=${prefix}/${LIBDIR}
    # A sanitised build's libraries need the same runtime in the examples.
    "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/examples)
foreach(example conversion ids requests configuration)
  run(${cleanRun} ${WORK_DIR}/examples/quor-example-${example})
endforeach()
# The app's test against the test kit: GoogleTest is there wherever this runs.
if(NOT EXISTS ${WORK_DIR}/examples/setpoint-test)
  message(FATAL_ERROR "the app test of Examples/AppTest was not built: GoogleTest not found")
endif()
run(${cleanRun} ${WORK_DIR}/examples/setpoint-test)

# The same source through pkg-config, as a project without CMake would build it.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig ${pkgConfigLibdir}
          pkg-config --cflags --libs quorobjectmodel
  OUTPUT_VARIABLE pkgFlags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know quorobjectmodel under ${prefix}")
endif()
separate_arguments(pkgFlags UNIX_COMMAND "${pkgFlags}")
separate_arguments(consumerFlags UNIX_COMMAND "${CONSUMER_FLAGS}")
# With an RPATH of its own to the library, as a program outside CMake would have it.
run(${CXX} -std=c++17 ${consumerFlags} ${SOURCE_DIR}/Examples/Conversion/main.cpp ${pkgFlags}
    -Wl,-rpath,${prefix}/${LIBDIR} -o ${WORK_DIR}/quor-example-conversion-pc)
run(${cleanRun} ${WORK_DIR}/quor-example-conversion-pc)
# The app test too, with the test kit's and GoogleTest's pkg-config names.
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig ${pkgConfigLibdir}
          pkg-config --cflags --libs quorsimulateddsc gtest
  OUTPUT_VARIABLE pkgFlags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know quorsimulateddsc and gtest under ${prefix}")
endif()
separate_arguments(pkgFlags UNIX_COMMAND "${pkgFlags}")
run(${CXX} -std=c++17 ${consumerFlags} ${SOURCE_DIR}/Examples/AppTest/Setpoint.cpp
    ${SOURCE_DIR}/Examples/AppTest/SetpointTest.cpp ${pkgFlags}
    -Wl,-rpath,${prefix}/${LIBDIR} -o ${WORK_DIR}/setpoint-test-pc)
run(${cleanRun} ${WORK_DIR}/setpoint-test-pc --gtest_brief=1)
if(NOT PREFIX)
  run(${cleanRun} ${prefix}/${BINDIR}/quor-om encode 9.001 21.5)
endif()
