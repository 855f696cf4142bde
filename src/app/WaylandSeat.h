// Whether the Wayland compositor the program is about to use has a seat (keyboard, pointer):
// Qt 6.4's Wayland text input needs one, and dies without it as soon as a field draws its caret.
#pragma once

enum class WaylandSeat { NotAsked, Present, Absent };

// Asks the compositor named by the environment, over a connection of its own, when Qt would use
// Wayland and leaves the input method to the platform; NotAsked otherwise, or when no compositor
// answers (Qt then fails or falls back as it would anyway).
WaylandSeat ProbeWaylandSeat();

// Before the application object is made: on a compositor without a seat no input-method module is
// loaded, as there is no keyboard to compose with. True when it was turned off.
bool AvoidInputMethodWithoutSeat();
