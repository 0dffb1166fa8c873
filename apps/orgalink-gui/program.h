#pragma once

namespace orgalink::gui {

// The whole program: one copy at a time, the required files, then the main
// window until the user closes it. Returns the exit status.
int RunProgram(int argc, char** argv);

}  // namespace orgalink::gui
