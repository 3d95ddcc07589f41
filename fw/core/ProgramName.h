#pragma once

namespace fw {

// The name the program was started as (the file name of its executable, without the folder),
// which begins every line the framework writes on standard error, as Unix programs do. It comes
// from the process itself, so it holds from the first instruction on, before and without a
// QApplication.
const char* ProgramName() noexcept;

}  // namespace fw
