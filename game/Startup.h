#pragma once

// The process's path from its entry to the event loop and back to the exit status.
namespace game {

// The process entry: runtime start, initialisers, start-up and event loop, finalisers, exit.
// Returns the process's exit status: the runtime's exit code, or 0 when an exception escapes the
// runtime's start, the initialisers, the unhandled-exception routine, the finalisers or the exit.
int main(int argc, char** argv, char** envp);

// Start-up, the event loop, and the hand-off of an escaping exception to the unhandled-exception
// routine. Raises only what that routine itself raises.
void _Main();
void _EarlyStartup();
void _InitFileTypes();
void _NewAppInstance();
void _ApplicationAddMenuHandlers();
void _LateStartup();
void _MakeDefaultView();

}  // namespace game
