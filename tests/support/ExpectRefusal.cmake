# cmake -DPROGRAM=... -DARGS="a;b" -DEXPECT=<regular expression> -P ExpectRefusal.cmake
# Passes when PROGRAM, run with ARGS, exits with a failure and prints EXPECT.
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} reported success:\n${out}")
endif()
if(NOT out MATCHES "${EXPECT}")
    message(FATAL_ERROR "${PROGRAM} failed (${rc}) without saying \"${EXPECT}\":\n${out}")
endif()
