# Runs COMMAND (a list; under EMULATOR where set) and compares what it prints on standard
# output with the file EXPECTED; a difference fails with diff's report.
execute_process(COMMAND ${EMULATOR} ${COMMAND}
  OUTPUT_VARIABLE actual ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${COMMAND} exited with ${status}:\n${errors}")
endif()
file(READ "${EXPECTED}" expected)
if(NOT actual STREQUAL expected)
  get_filename_component(name "${EXPECTED}" NAME)
  file(WRITE "${WORK_DIR}/${name}" "${actual}")
  execute_process(COMMAND diff -u "${EXPECTED}" "${WORK_DIR}/${name}")
  message(FATAL_ERROR "${COMMAND} printed other lines than ${EXPECTED} (- expected, + printed)")
endif()
