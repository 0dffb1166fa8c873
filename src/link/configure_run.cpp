#include "link/configure_run.h"

#include "link/text_format.h"

namespace orgalink::link {

void ConfigureRun(LinkEngine& engine, store::AppliStore& store, const RunSettings& settings) {
  engine.SetDeviceCode(settings.deviceCode);
  engine.SetComPort(settings.comPort);
  engine.SetBaudRate(settings.baudRate);
  engine.SetAppliMode(settings.appliMode);
  engine.SetFileName(settings.fileName);
  engine.SetLogFileName(settings.logFileName);
  engine.SetEchoBack(settings.echoBack != 0);
  engine.SetFileScramble(settings.fileScramble != 0);
  engine.SetTimeouts(settings.toCommand, settings.toDataPacket, settings.toMultiplier);
  engine.SetTables(settings.sortTable, settings.codeTable);
  engine.SetBKTelRecordsMin(settings.bkTelRecordsMin);
  engine.SetStore(&store);
  engine.Log(
      Format("===== Start Settings =====\nRunMode=%d\nDeviceCode=%d\nCOMPort=%d\n"
             "BaudRate=%s\nAppliMode=%s\nFileName=%s\nLogFileName=%s\nEchoBack=%d\n"
             "FileScramble=%d\nTOCommand=%ld\nTODataPacket=%ld\nTOMultiplier=%ld\n"
             "===== End Settings =====\n\n",
             settings.runMode, settings.deviceCode, settings.comPort, settings.baudRate.c_str(),
             settings.appliMode.c_str(), settings.fileName.c_str(), settings.logFileName.c_str(),
             settings.echoBack, settings.fileScramble, settings.toCommand, settings.toDataPacket,
             settings.toMultiplier),
      true);
}

}  // namespace orgalink::link
