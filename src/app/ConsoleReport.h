#pragma once
// The report of a headless run on the console of whoever started the program.

#include "common/RunReport.h"

namespace vx::app {

// Writes each line to the standard output the program was given (a file or a pipe when the
// caller redirected it), else to the console of the parent process, attached on the first
// line. Without either, lines go nowhere.
ReportWriter ParentConsoleWriter();

}  // namespace vx::app
