# Runs the probe on one worksheet and compares its output with the expected text.
get_filename_component(dir ${CASE} DIRECTORY)
get_filename_component(name ${CASE} NAME_WE)
set(args "")
if(EXISTS ${dir}/${name}.args)
  file(READ ${dir}/${name}.args args_text)
  string(STRIP "${args_text}" args_text)
  # Files that belong to the case (a worksheet for --then) are named relative to its folder.
  string(REPLACE "@CASE_DIR@" "${dir}" args_text "${args_text}")
  separate_arguments(args UNIX_COMMAND "${args_text}")
endif()
execute_process(COMMAND ${PROBE} ${args} ${CASE}
  WORKING_DIRECTORY ${WORKDIR}
  OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "probe exited with ${rc}\n${out}")
endif()
file(READ ${dir}/${name}.expected expected)
if(NOT out STREQUAL expected)
  file(WRITE ${WORKDIR}/${name}.actual "${out}")
  message(FATAL_ERROR "probe output differs for ${name}\n--- expected\n${expected}\n--- actual\n${out}")
endif()
