// How the program asks the C library to manage its memory.
#pragma once

namespace qh {

// The program reads and writes packages of tens of megabytes again and again: each save reads the
// neighborhood's package whole, walks it and writes it. The C library's allocator gives a block
// that large a fresh mapping of its own and hands it back to the system when it is freed, so each
// read first waits for the system to clear every page the bytes will land on. Asked here to keep
// such blocks in its heap, the allocator gives the memory a save freed to the next save, and gives
// free memory back to the system only beyond a limit. Called once, first thing in main; does
// nothing where the C library has no such setting.
void ReuseLargeBlocks();

}  // namespace qh
