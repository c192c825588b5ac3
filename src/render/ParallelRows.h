#pragma once

#include <functional>

// Runs work(firstRow, lastRow) over the rows first..last, split into contiguous parts
// on up to `parts` threads (the calling thread takes the first part), and returns when
// every part is done. work must not throw, and parts must touch separate memory.
void ForRowsInParallel(int first, int last, int parts, const std::function<void(int, int)>& work);

// How many threads large pixel work is shared between: the processors, at most 8.
int PixelThreads();
