#pragma once

// Hands the free pages of the heap back to the system. The C library keeps freed
// small blocks for reuse, so a mask whose rows were rebuilt by a fill over a large
// photograph leaves tens of megabytes resident that nothing uses: called after such
// work and before a new photograph is read, it keeps the program's peak near its
// real needs.
void ReturnFreeMemory();
