// How work beside the window leaves the window's thread the processor first.
#pragma once

namespace qh {

// Lowers the calling thread's scheduling priority a little, for good: while the window is being
// built, a neighborhood loads on other threads, and on a machine of two cores they would take
// half of the window's time before its first frame. Once the window waits, the processor is the
// load's all the same. On Linux the threads the caller starts afterwards inherit the priority;
// on Windows only the caller's own thread is lowered. Does nothing where no such setting exists.
void LowerThreadPriority();

}  // namespace qh
