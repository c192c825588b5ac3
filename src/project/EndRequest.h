#pragma once

// A request to end the program: a signal at logout or shutdown, noted by its
// handler. Work that waits (for a catalogue server that does not answer) looks at
// it and stops waiting, so that the program can end at every moment.
namespace EndRequest {

// Notes the signal; safe to call from a signal handler.
void Note(int signal) noexcept;

// The signal noted, or 0 when the program was not asked to end.
int Signal() noexcept;

// Forgets the request (for tests that end a program's work more than once).
void Clear() noexcept;

} // namespace EndRequest
