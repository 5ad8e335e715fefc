#pragma once

#include <windows.h>

#include <string>

// Real X input for the program under test. Each call throws std::runtime_error when its input does not
// arrive.
namespace e2e {

// Runs xdotool with these arguments (Wine starts Unix programs directly) and waits until it is done.
void xdotool(const std::string& arguments);
// The xdotool arguments that move the pointer to x, y: X puts the virtual screen's corner at 0,0.
std::string mouseMove(int x, int y);
// Moves the pointer to x, y by a real move (away and back) and waits until the system has it there.
void movePointer(int x, int y);
// Clicks the middle of window once the pointer would find it there.
void click(HWND window);

}  // namespace e2e
