# The include rules of the tree (scripts/check-layers.sh): layers include only
# downwards, and the platform-free code never sees windows.h. Checked when the
# project is configured, so a stray include fails the build early; the test
# command runs the same script.
find_program(MOSAIKON_BASH bash)
if(MOSAIKON_BASH)
  execute_process(COMMAND ${MOSAIKON_BASH} ${PROJECT_SOURCE_DIR}/scripts/check-layers.sh ${PROJECT_SOURCE_DIR}
    RESULT_VARIABLE layer_result OUTPUT_VARIABLE layer_output ERROR_VARIABLE layer_output)
  if(NOT layer_result EQUAL 0)
    message(FATAL_ERROR "Include rules broken:\n${layer_output}")
  endif()
endif()
