// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace orgalink::gui {

// The whole program: one copy at a time, the required files, then the main
// window until the user closes it. Started with an archive, the program is
// its viewer until that closes, unless the user asks for the main window
// from it. Returns the exit status.
int RunProgram(int argc, char** argv);

}  // namespace orgalink::gui
