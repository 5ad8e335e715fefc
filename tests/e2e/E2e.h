#pragma once

// Support for driving the real orlivex.scr the way the screen-saver host does, all in one include:
// starting it, its windows, the screen, real input and the saver fixture.
#include "awt/Screen.h"
#include "tests/support/E2eInput.h"
#include "tests/support/E2eProcess.h"
#include "tests/support/E2eScreen.h"
#include "tests/support/E2eWindows.h"
#include "tests/support/SaverFixture.h"

