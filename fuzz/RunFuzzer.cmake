# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the seed corpus, then fuzzes for a bounded time. Any crash, sanitizer
# report or hang makes the fuzzer exit non-zero and fails the test.
file(REMOVE_RECURSE ${WORKDIR})
file(MAKE_DIRECTORY ${WORKDIR}/corpus)
execute_process(COMMAND ${SEEDER} ${WORKDIR}/seeds RESULT_VARIABLE seeded)
if(NOT seeded EQUAL 0)
    message(FATAL_ERROR "seed corpus could not be written")
endif()
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=65536 -timeout=10 -rss_limit_mb=2048
            -print_final_stats=1 ${WORKDIR}/corpus ${WORKDIR}/seeds
    WORKING_DIRECTORY ${WORKDIR}
    RESULT_VARIABLE fuzzed)
if(NOT fuzzed EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a failure (exit ${fuzzed}); see crash-* in ${WORKDIR}")
endif()
