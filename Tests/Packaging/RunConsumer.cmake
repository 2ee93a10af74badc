# Installs the build into a scratch prefix (or takes PREFIX, already filled, e.g. from unpacked
# packages), builds Examples/Consumer against it with find_package and with pkg-config, and runs
# both results. An external platform lives elsewhere: PLATFORM_PREFIX is where the consumer
# finds it, PLATFORM_LIBDIRS where the programs load it from.
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
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()
# A cross build builds the consumer for its target and runs it under its emulator.
if(TOOLCHAIN)
  set(toolchain -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
  set(pkgConfigLibdir PKG_CONFIG_LIBDIR=/usr/lib/${ARCH}/pkgconfig:/usr/share/pkgconfig)
endif()
set(libraryPath ${prefix}/${LIBDIR} ${PLATFORM_LIBDIRS})
string(REPLACE ";" ":" libraryPath "${libraryPath}")
# Through the environment: a list would not survive as one argument.
set(prefixPath ${prefix} ${PLATFORM_PREFIX})
string(REPLACE ";" ":" prefixPath "${prefixPath}")
run(${CMAKE_COMMAND} -E env CMAKE_PREFIX_PATH=${prefixPath}
    ${CMAKE_COMMAND} -S ${SOURCE_DIR}/Examples/Consumer -B ${WORK_DIR}/consumer -G Ninja ${toolchain}
    -DCMAKE_BUILD_RPATH=${prefix}/${LIBDIR}
    # A sanitised build's libraries need the same runtime in the consumer.
    "-DCMAKE_CXX_FLAGS=${CONSUMER_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CONSUMER_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libraryPath} ${EMULATOR} ${WORK_DIR}/consumer/quor-consumer)

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
run(${CXX} -std=c++17 ${consumerFlags} ${SOURCE_DIR}/Examples/Consumer/main.cpp ${pkgFlags}
    -o ${WORK_DIR}/quor-consumer-pc)
run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${libraryPath} ${EMULATOR} ${WORK_DIR}/quor-consumer-pc)
