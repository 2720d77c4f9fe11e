#pragma once

namespace base {

// Has the C library keep the memory the program frees for its next use
// rather than hand it back to the system at once. A search read to its end
// or a request list makes and frees thousands of row values each time;
// memory handed back and faulted in again at the next read costs more than
// reading the rows. Called once at start-up by each program (and by the
// benchmarks, which measure the program's work as it runs).
void KeepFreedMemory();

} // namespace base
