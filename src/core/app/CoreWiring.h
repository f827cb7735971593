#pragma once

// The one place where the core's parts are connected to each other: the link hands the bytes it
// receives, each character of console text and its opened and lost events up to the handshake; the
// handshake sends through the link; the simulated controller learns which reply the handshake
// expects; the teach pad's learned and dropped lines reach the project's route. The program wires the core
// once at start-up; ResetCore wires the fresh objects again.
void WireCore();

// Starts the core over from the state of a fresh program, wired: every single-instance object (the
// link, the handshake, the project, the settings profile, the macro set, the teach pad, the command
// registry, the application hooks, ...) is destroyed and made anew. The one reset of the tests; the
// installed screen and the settings store's file are left as they are.
void ResetCore();
