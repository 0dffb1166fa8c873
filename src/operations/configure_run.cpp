// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/configure_run.h"

#include "link/text_format.h"

namespace orgalink::operations {

// The order matters: the store is linked last, so the device code reaches
// only the engine, and the settings block goes to the log named here.
void ConfigureRun(RunContext& run, store::AppliStore& store,
                  const settings::RunSettings& settings) {
  link::LinkEngine& engine = run.engine;
  SetDeviceCode(run, settings.deviceCode);
  engine.Link().SetComPort(settings.comPort);
  engine.Link().SetBaudRate(settings.baudRate);
  SetAppliMode(run, settings.appliMode);
  run.fileName = settings.fileName;
  run.safety = {};
  run.safety.archive = settings.safetyArchive;
  engine.Log().SetFileName(settings.logFileName);
  engine.Link().SetEchoBack(settings.echoBack != 0);
  run.fileScramble = settings.fileScramble != 0;
  engine.SetTimeouts(settings.toCommand, settings.toDataPacket, settings.toMultiplier);
  engine.Link().SetQuietWindow(settings.quietWindow);
  run.telephone.weights = settings.sortTable;
  run.telephone.incoming = settings.codeTable;
  run.telephone.minRecords = settings.bkTelRecordsMin;
  run.store = &store;
  engine.Log().Line(
      link::Format("===== Start Settings =====\nRunMode=%d\nDeviceCode=%d\nCOMPort=%d\n"
                   "BaudRate=%s\nAppliMode=%s\nFileName=%s\nLogFileName=%s\nEchoBack=%d\n"
                   "FileScramble=%d\nTOCommand=%ld\nTODataPacket=%ld\nTOMultiplier=%ld\n"
                   "===== End Settings =====\n\n",
                   ToInt(settings.runMode), settings.deviceCode, settings.comPort,
                   settings.baudRate.c_str(), settings.appliMode.c_str(), settings.fileName.c_str(),
                   settings.logFileName.c_str(), settings.echoBack, settings.fileScramble,
                   settings.toCommand, settings.toDataPacket, settings.toMultiplier),
      true);
}

void ConfigureSearchLink(link::LinkEngine& engine, const settings::RunSettings& settings) {
  engine.SetDeviceCode(settings.deviceCode);
  engine.Link().SetBaudRate(settings.baudRate);
  engine.Log().SetFileName(settings.logFileName);
  engine.Link().SetEchoBack(settings.echoBack != 0);
}

}  // namespace orgalink::operations
