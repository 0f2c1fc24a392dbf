// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QProcess;

namespace mirelune {

// Sets up a process that will run the encoder: only its error output is
// read, no console window opens for it, and on Linux it dies with the
// program that started it, killed outright or not, so none runs on with
// nobody to take its result.
void PrepareEncoderProcess(QProcess& process);

// SIGTERM first: the encoder then removes the temporary file it writes
// beside the result. SIGKILL only for one that does not end.
void StopEncoder(QProcess& process);

}  // namespace mirelune
