// orgalink-gui: the dialog program for backing up and restoring the organizer.

#include "program.h"

int main(int argc, char** argv) {
  return orgalink::gui::RunProgram(argc, argv);
}
