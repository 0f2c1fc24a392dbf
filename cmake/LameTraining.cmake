# SPDX-License-Identifier: GPL-3.0-or-later
# Trains the instrumented LAME for the profile-guided build: makes a fixed set
# of sources with our tone generator and the plain LAME build, then runs the
# training encoder over them one at a time, in a fixed order, as a job runs
# the encoder (-h -m s -b KBPS). Serial runs in a fixed order give the same
# counts on every build on one machine.
#
#   cmake -DMAKE_TONE=... -DMAKE_SAMPLE=... -DENCODER=... -DWORK_DIR=...
#         -DPROFILE_DIR=... -DSTAMP=... -P LameTraining.cmake
foreach(var MAKE_TONE MAKE_SAMPLE ENCODER WORK_DIR PROFILE_DIR STAMP)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "LameTraining.cmake needs -D${var}=")
    endif()
endforeach()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_QUIET)
    if(NOT status EQUAL 0)
        string(REPLACE ";" " " command "${ARGN}")
        message(FATAL_ERROR "LAME training: '${command}' failed (${status})")
    endif()
endfunction()

# Counts from an earlier training would add to these.
file(REMOVE_RECURSE ${PROFILE_DIR} ${WORK_DIR})
file(MAKE_DIRECTORY ${PROFILE_DIR} ${WORK_DIR})

# name | seconds rate channels frequency | make_sample's options | bitrates to encode at.
# Stereo, joint, dual and mono; MPEG-1, 2 and 2.5 rates; CBR and VBR
# sources; low bitrates that make LAME resample and bitrates that do not.
# About 16 s of CPU in all.
set(sources
    "stereo-44k|60 44100 2 330|-b 320 -m s|128 96 32"
    "joint-44k|60 44100 2 392|-b 192 -m j|128 320"
    "vbr-48k|40 48000 2 440|-V 2|128 64"
    "dual-32k|30 32000 2 494|-b 128 -m d|96"
    "mono-44k|60 44100 1 523|-b 128 -m m|128 48"
    "joint-22k|30 22050 2 587|-b 80 -m j|64 32"
    "mono-16k|30 16000 1 659|-b 48 -m m|32"
    "joint-24k|30 24000 2 698|-b 96 -m j|160"
    "stereo-11k|30 11025 2 784|-b 32 -m s|32"
    "mono-8k|30 8000 1 880|-b 24 -m m|40")
foreach(source IN LISTS sources)
    string(REPLACE "|" ";" fields "${source}")
    list(GET fields 0 name)
    list(GET fields 1 tone)
    list(GET fields 2 options)
    list(GET fields 3 bitrates)
    separate_arguments(tone)
    separate_arguments(options)
    separate_arguments(bitrates)
    set(wav ${WORK_DIR}/${name}.wav)
    set(mp3 ${WORK_DIR}/${name}.mp3)
    run(${MAKE_TONE} ${wav} ${tone})
    run(${MAKE_SAMPLE} --quiet ${options} ${wav} ${mp3})
    foreach(kbps IN LISTS bitrates)
        run(${ENCODER} -h -m s -b ${kbps} ${mp3} ${WORK_DIR}/out.mp3)
    endforeach()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
file(TOUCH ${STAMP})
