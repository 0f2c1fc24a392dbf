// SPDX-License-Identifier: GPL-3.0-or-later
#include "reduce/EncoderProcess.h"

#include <QProcess>

#include "reduce/RunProgress.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

namespace mirelune {

void PrepareEncoderProcess(QProcess& process) {
    // Only what the encoder says on its error output can explain a failure;
    // its standard output is nobody's business.
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setInputChannelMode(QProcess::ManagedInputChannel);
#ifdef Q_OS_WIN
    // The encoder is a console program; its output is captured, so no
    // console window may open for it.
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments* args) { args->flags |= CREATE_NO_WINDOW; });
#endif
#ifdef Q_OS_LINUX
    // The encoder gets SIGTERM when its parent dies, killed outright or not,
    // and removes its temporary file as for any SIGTERM. The system sends it
    // when the thread that started the encoder ends: that is the thread of
    // the event loop all reductions run on, which ends with the program. A
    // parent that died before the request took effect is seen by the child
    // as a changed parent id; that child never becomes the encoder.
    const pid_t starter = ::getpid();
    process.setChildProcessModifier([starter] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != starter) {
            ::_exit(kStartFailureCode);
        }
    });
#endif
}

void StopEncoder(QProcess& process) {
    process.terminate();
    if (!process.waitForFinished(2000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

}  // namespace mirelune
